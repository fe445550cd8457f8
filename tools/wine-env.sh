# Sourced by the run, test and screenshot scripts: a display, the Japanese locale and a prepared
# Wine prefix. Usage: source tools/wine-env.sh PREFIX_DIR [DPI]
# DPI (default 96) is the resolution that a new prefix gives its screen: 144 shows the program as
# a display at 150 % does.
# Afterwards wine_stop ends the prefix's wineserver and any Xvfb this file started, and
# wine_virtual_display names that Xvfb's display (empty when a display was already there).

export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
export WINEPREFIX=$(realpath -m "$1")
_tavelin_dpi=${2:-96}

_tavelin_xvfb_pid=
wine_virtual_display=
if [ -z "${DISPLAY:-}" ]; then
    for n in $(seq 90 140); do
        [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] && continue
        Xvfb :$n -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
        _tavelin_xvfb_pid=$!
        export DISPLAY=:$n
        wine_virtual_display=:$n
        for _ in $(seq 50); do [ -e /tmp/.X11-unix/X$n ] && break; sleep 0.1; done
        break
    done
fi

# Dialogs close far sooner inside a virtual desktop than under a bare Xvfb, and
# Windows does not hide names that start with a dot, so the prefix must not either.
if [ ! -f "$WINEPREFIX/.tavelin-ready" ]; then
    echo "Making the Wine prefix $WINEPREFIX (once; it takes about 15 s)" >&2
    mkdir -p "$WINEPREFIX"
    wineboot -i </dev/null >/dev/null 2>&1
    # The window's fonts are named as on a Japanese Windows; the IPA fonts stand in for them.
    # Wine reads the screen's resolution from LogPixels when a process starts.
    { printf '\xff\xfe'; { cat; printf '\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\n"LogPixels"=dword:%08x\n' \
        "$_tavelin_dpi"; } | iconv -f UTF-8 -t UTF-16LE; } >"$WINEPREFIX/tavelin.reg" <<'REG'
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Wine]
"ShowDotFiles"="Y"

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="Default"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"Default"="1024x768"

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"ＭＳ ゴシック"="IPAGothic"
"ＭＳ Ｐゴシック"="IPAPGothic"
"MS Gothic"="IPAGothic"
"MS PGothic"="IPAPGothic"
"MS UI Gothic"="IPAPGothic"
REG
    wine regedit /S "$WINEPREFIX/tavelin.reg" </dev/null >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.tavelin-ready"
fi

# Wine draws the caption buttons with glyphs of its Marlett font, and finds that font only in the
# prefix's own font folder; without it the buttons show the letters "0 1 r".
if [ ! -f "$WINEPREFIX/drive_c/windows/Fonts/marlett.ttf" ] && [ -f /usr/share/wine/fonts/marlett.ttf ]; then
    cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
fi

# Started once with its output detached, Wine's helper processes do not hold the caller's
# pipes open, and each later start is quick.
wineserver -p </dev/null >/dev/null 2>&1
wine cmd /c exit </dev/null >/dev/null 2>&1

wine_stop() {
    wineserver -k 2>/dev/null || true
    [ -n "$_tavelin_xvfb_pid" ] && kill "$_tavelin_xvfb_pid" 2>/dev/null || true
}

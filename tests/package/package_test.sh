#!/usr/bin/env bash
# Builds the release package with tools/package.sh and checks it as a Windows user meets it:
# exactly the executable, the guide and the licence; a guide and a licence that Notepad opens
# right, the guide naming every text the program shows; an executable that takes no DLL from
# beside itself and that, unzipped into a fresh folder of the Wine prefix, starts, shows its
# window and writes Tavelin.ini beside itself when closed.
# Usage: package_test.sh SOURCE_DIR START_AND_CLOSE_EXE WORK_DIR   (inside a prepared Wine prefix)
set -euo pipefail
src=$1 helper=$2 work=$3
: "${WINEPREFIX:?run inside the Wine prefix that tools/test.sh prepares}"
zip=Tavelin-1.00-win-x64.zip
failures=0
fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}

rm -rf "$work/dist"
"$src/tools/package.sh" "$work/dist" >/dev/null

entries=$(cd "$work/dist" && cmake -E tar tf "$zip" | sort | tr '\n' ' ')
[ "$entries" = "LICENSE.txt Tavelin.exe Tavelin.txt " ] || fail "the package holds [$entries]"

unpacked=$(mktemp -d "$WINEPREFIX/drive_c/tavelin-package.XXXXXX")
trap 'rm -rf "$unpacked"' EXIT
(cd "$unpacked" && cmake -E tar xf "$work/dist/$zip")

guide=$unpacked/Tavelin.txt
[ "$(head -c 3 "$guide" | od -An -tx1 | tr -d ' ')" = efbbbf ] || fail "the guide does not start with a UTF-8 BOM"
iconv -f UTF-8 -t UTF-8 "$guide" >/dev/null 2>&1 || fail "the guide is not valid UTF-8"
for text in "$guide" "$unpacked/LICENSE.txt"; do
    bare_lf=$(grep -c $'[^\r]$\|^$' "$text" || true)
    [ "$bare_lf" = 0 ] || fail "$(basename "$text") has $bare_lf lines that do not end in CRLF"
done
cmp -s <(tr -d '\r' <"$unpacked/LICENSE.txt") "$src/LICENSE" || fail "the packaged LICENSE.txt differs from the repository's LICENSE"

# Every Japanese text of the program (menu commands without their "&", status texts, messages,
# captions, headers, fonts) must appear in the guide, so that it cannot fall behind the program.
guide_text=$(tr -d '\r' <"$guide")
while IFS= read -r text; do
    [[ $guide_text == *"$text"* ]] || fail "the guide does not mention \"$text\""
done < <(
    cd "$src"
    {
        LC_ALL=C.UTF-8 grep -ohP 'L"(?:[^"\\]|\\.)*"' app/*.cpp app/*.h tree/*.cpp listing/*.cpp settings/*.cpp ui/*.cpp
        LC_ALL=C.UTF-8 grep -ohP '(POPUP|MENUITEM) "[^"]*"' res/tavelin.rc
    } | LC_ALL=C.UTF-8 grep -P '[^\x00-\x7f]' | sed -E 's/^[A-Z]* ?L?"//; s/"$//; s/&//g' | sort -u
)

# The executable takes no DLL from beside itself: it imports only DLLs that Windows always loads
# from System32 (its KnownDLLs) and comctl32, which the manifest takes side by side, and its
# load configuration sends the search for their own imports to System32 (DependentLoadFlags =
# LOAD_LIBRARY_SEARCH_SYSTEM32, two bytes at offset 78).
exe=$unpacked/Tavelin.exe
headers=$(x86_64-w64-mingw32-objdump -p "$exe")
allowed=" advapi32 clbcatq combase comdlg32 coml2 difxapi gdi32 gdiplus imagehlp imm32 kernel32 msctf msvcrt
          normaliz nsi ole32 oleaut32 psapi rpcrt4 sechost setupapi shcore shell32 shlwapi user32 wldap32 ws2_32
          comctl32 "
while read -r dll; do
    name=$(tr '[:upper:]' '[:lower:]' <<<"${dll%.[dD][lL][lL]}")
    [[ $allowed == *[[:space:]]"$name"[[:space:]]* ]] || fail "Tavelin.exe imports $dll, which Windows may load from beside it"
done < <(grep -oP 'DLL Name: \K\S+' <<<"$headers")
base=$(awk '/^ImageBase/ {print $2}' <<<"$headers")
read -r config config_size < <(awk '/Load Configuration Directory/ {print $3, $4}' <<<"$headers")
flags=
if ((0x$config != 0 && 0x$config_size >= 80)); then
    at=$((0x$base + 0x$config + 78))
    flags=$(x86_64-w64-mingw32-objdump -s --start-address=$at --stop-address=$((at + 2)) "$exe" | awk 'END {print $2}')
fi
[ "$flags" = 0008 ] || fail "Tavelin.exe has no load configuration whose DependentLoadFlags is 0x800 (found [$flags])"

wine "$helper" "C:\\$(basename "$unpacked")\\Tavelin.exe" 'C:\windows' || fail "the unpacked program"
[ -f "$unpacked/Tavelin.ini" ] || fail "no Tavelin.ini beside the unpacked executable"

((failures == 0)) && echo "the package holds $entries and starts from a fresh folder"
exit $((failures != 0))

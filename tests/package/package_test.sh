#!/usr/bin/env bash
# Builds the release package with tools/package.sh and checks it as a Windows user meets it:
# exactly the executable, the guide and the licence; a guide and a licence that Notepad opens
# right, the guide naming every text the program shows; and an executable that, unzipped into a
# fresh folder of the Wine prefix, starts, shows its window and writes Tavelin.ini beside itself
# when closed.
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

wine "$helper" "C:\\$(basename "$unpacked")\\Tavelin.exe" 'C:\windows' || fail "the unpacked program"
[ -f "$unpacked/Tavelin.ini" ] || fail "no Tavelin.ini beside the unpacked executable"

((failures == 0)) && echo "the package holds $entries and starts from a fresh folder"
exit $((failures != 0))

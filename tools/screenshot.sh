#!/usr/bin/env bash
# Saves a screenshot of Tavelin. Without --display it builds Tavelin, starts it under Wine in a
# fresh Xvfb and waits for its window; with --display it takes the screen of a display that
# already runs it (the one tools/run.sh names). --dpi gives the fresh Xvfb's screen that resolution
# (96 unless told; 144 shows Tavelin as a display at 150 % does), each in a Wine prefix of its own.
# Usage: tools/screenshot.sh [--display :N | --dpi DPI] [output.png] [seconds to wait]
set -euo pipefail
display=
dpi=96
case "${1:-}" in
    --display) display=$2 && shift 2 ;;
    --dpi) dpi=$2 && shift 2 ;;
esac
# The output is named from where the script was called.
out=$(realpath -m "${1:-$(dirname "$0")/../build/tavelin.png}")
wait=${2:-6}
cd "$(dirname "$0")/.."
source tools/require.sh
require_packages

# The screen less what lies around the program: Xvfb's black beyond Wine's desktop, then the
# desktop around the window.
save_screen() {
    import -window root -trim +repage -trim +repage "$out"
    echo "saved $out"
}

if [ -n "$display" ]; then
    DISPLAY=$display save_screen
    exit 0
fi

require_writable build
cmake --preset windows >/dev/null
cmake --build --preset windows --target Tavelin
unset DISPLAY
# A prefix takes its screen's resolution when it is made.
if [ "$dpi" = 96 ]; then
    source tools/wine-env.sh build/run-prefix
else
    source tools/wine-env.sh "build/run-prefix-$dpi" "$dpi"
fi
trap wine_stop EXIT
wine build/windows/Tavelin.exe </dev/null >/dev/null 2>&1 &
sleep "$wait"
save_screen

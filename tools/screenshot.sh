#!/usr/bin/env bash
# Saves a screenshot of Tavelin. Without --display it builds Tavelin, starts it under Wine in a
# fresh Xvfb and waits for its window; with --display it takes the screen of a display that
# already runs it (the one tools/run.sh names).
# Usage: tools/screenshot.sh [--display :N] [output.png] [seconds to wait]
set -euo pipefail
display=
if [ "${1:-}" = --display ]; then
    display=$2
    shift 2
fi
# The output is named from where the script was called.
out=$(realpath -m "${1:-$(dirname "$0")/../build/tavelin.png}")
wait=${2:-6}
cd "$(dirname "$0")/.."
source tools/require.sh
require_packages imagemagick

if [ -n "$display" ]; then
    DISPLAY=$display import -window root "$out"
    echo "saved $out"
    exit 0
fi

require_writable build
cmake --preset windows >/dev/null
cmake --build --preset windows --target Tavelin
unset DISPLAY
source tools/wine-env.sh build/run-prefix
trap wine_stop EXIT
wine build/windows/Tavelin.exe </dev/null >/dev/null 2>&1 &
sleep "$wait"
import -window root "$out"
echo "saved $out"

#!/usr/bin/env bash
# Starts Tavelin under Wine in a fresh Xvfb, waits for its window and saves a screenshot.
# Usage: tools/screenshot.sh [output.png] [seconds to wait]
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-build/tavelin.png}")
wait=${2:-6}
tools/install-deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target Tavelin
unset DISPLAY
source tools/wine-env.sh build/run-prefix
trap wine_stop EXIT
wine build/windows/Tavelin.exe </dev/null >/dev/null 2>&1 &
sleep "$wait"
import -window root "$out"
echo "saved $out"

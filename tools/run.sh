#!/usr/bin/env bash
# Builds Tavelin.exe and starts it under Wine with the Japanese locale (under Xvfb when there is
# no display). The prefix is kept between runs in build/run-prefix.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target Tavelin
source tools/wine-env.sh build/run-prefix
trap wine_stop EXIT
wine build/windows/Tavelin.exe

#!/usr/bin/env bash
# Builds Tavelin.exe and starts it under Wine with the Japanese locale (under Xvfb when there is
# no display). The prefix is kept between runs in build/run-prefix.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/require.sh
require_packages
require_writable build
cmake --preset windows >/dev/null
cmake --build --preset windows --target Tavelin
source tools/wine-env.sh build/run-prefix
trap wine_stop EXIT
if [ -n "$wine_virtual_display" ]; then
    cat <<MSG
Tavelin runs on the virtual display $wine_virtual_display (Xvfb): there is no display here, so no
window appears on this screen.
  screenshot:  $(tavelin_path_for_caller tools/screenshot.sh) --display $wine_virtual_display tavelin.png
  stop:        Ctrl+C here, or from another shell:  WINEPREFIX=$WINEPREFIX wineserver -k
MSG
fi
wine build/windows/Tavelin.exe

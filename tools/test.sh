#!/usr/bin/env bash
# Builds everything and runs every test: the portable logic natively with sanitizers, then the
# Windows build under Wine in a fresh prefix inside the build tree (the release package's test
# among them).
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/require.sh
require_packages
require_writable build

cmake --preset native >/dev/null
cmake --build --preset native
ctest --preset native -j2

# The scan's and the copy's threads under ThreadSanitizer.
cmake --preset tsan >/dev/null
cmake --build --preset tsan
ctest --preset tsan

cmake --preset windows >/dev/null
cmake --build --preset windows

rm -rf build/windows/wineprefix build/windows/wineprefix-144
source tools/wine-env.sh build/windows/wineprefix
trap wine_stop EXIT
ctest --preset windows "$@"

#!/usr/bin/env bash
# Builds one benchmark and runs it under Wine, from any folder; it prints its own figures.
# Usage: tools/bench.sh NAME [arguments]   NAME: a benchmark of bench/, e.g. tree_bench (see
# doc/benchmarks.md); only this script builds them.
set -euo pipefail
name=${1:?usage: tools/bench.sh NAME [arguments]}
shift
cd "$(dirname "$0")/.."
[ -f "bench/$name.cpp" ] || { echo "no benchmark bench/$name.cpp" >&2; exit 1; }
source tools/require.sh
require_packages
require_writable build
[ -f build/windows/build.ninja ] || cmake --preset windows >/dev/null
cmake --build --preset windows --target "$name"
source tools/wine-env.sh build/windows/prefix-bench
trap wine_stop EXIT
wine "build/windows/bench/$name.exe" "$@"

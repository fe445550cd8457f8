#!/usr/bin/env bash
# Builds the release package: Tavelin-1.00-win-x64.zip holding Tavelin.exe, the Japanese guide
# and the licence, nothing else. Users unzip it anywhere; the settings file is written beside the
# executable.
# Usage: tools/package.sh [output folder]   (dist/ of the repository when not given)
set -euo pipefail
out_dir=$(realpath -m "${1:-$(dirname "$0")/../dist}")
cd "$(dirname "$0")/.."
source tools/require.sh
require_packages
require_writable build
[ -f build/windows/build.ninja ] || cmake --preset windows >/dev/null
cmake --build --preset windows --target Tavelin

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cp build/windows/Tavelin.exe doc/Tavelin.txt "$stage/"
# Windows opens a file without an extension with nothing, and Notepad of old shows LF-only text
# as one line.
sed 's/\r*$/\r/' LICENSE >"$stage/LICENSE.txt"
# The static runtimes bring their debug information along; users have no use for it.
x86_64-w64-mingw32-strip "$stage/Tavelin.exe"

zip=Tavelin-1.00-win-x64.zip
(cd "$stage" && cmake -E tar cf "$zip" --format=zip Tavelin.exe Tavelin.txt LICENSE.txt)
mkdir -p "$out_dir"
mv "$stage/$zip" "$out_dir/$zip"
echo "built $(tavelin_path_for_caller "$out_dir/$zip") ($(stat -c %s "$out_dir/$zip") bytes)"

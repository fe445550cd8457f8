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
# One commit, one zip, byte for byte: strip writes the commit's time (or a given
# SOURCE_DATE_EPOCH) into the executable's header in place of the time of day, every file carries
# that time, the same mode and no owner, and the names go in in a fixed order.
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || stat -c %Y LICENSE)}
# The static runtimes bring their debug information along; users have no use for it.
x86_64-w64-mingw32-strip "$stage/Tavelin.exe"

files=(Tavelin.exe Tavelin.txt LICENSE.txt)
zip=Tavelin-1.00-win-x64.zip
(
    cd "$stage"
    chmod 644 "${files[@]}"
    touch -d "@$SOURCE_DATE_EPOCH" "${files[@]}"
    # -X: no owner and no extra times; a zip's times are local ones, hence TZ.
    TZ=UTC zip -q -X -D "$zip" "${files[@]}"
)
mkdir -p "$out_dir"
mv "$stage/$zip" "$out_dir/$zip"
echo "built $(tavelin_path_for_caller "$out_dir/$zip") ($(stat -c %s "$out_dir/$zip") bytes)"

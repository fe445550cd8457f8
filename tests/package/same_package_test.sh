#!/usr/bin/env bash
# Two packages of one commit, made some seconds apart, are equal byte for byte.
# Usage: same_package_test.sh SOURCE_DIR WORK_DIR
set -euo pipefail
src=$1 work=$2/same-package
zip=Tavelin-1.00-win-x64.zip
rm -rf "$work" && mkdir -p "$work" && cd "$work"
"$src/tools/package.sh" first >/dev/null
sleep 2 # a zip keeps times in steps of two seconds
"$src/tools/package.sh" second >/dev/null
cmp first/$zip second/$zip || { echo "FAILED: two packages of one commit differ"; exit 1; }
echo "two packages of one commit are equal"

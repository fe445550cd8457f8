#!/usr/bin/env bash
# The test command goes on to the Windows build and tests when a native test fails, and then
# fails at the end naming what failed. With stand-ins for CMake, ctest, dpkg and Wine.
# Usage: test_command_test.sh SOURCE_DIR
set -euo pipefail
work=$(mktemp -d) && trap 'rm -rf "$work"' EXIT
mkdir "$work/repo" "$work/bin" && cp -r "$1/tools" "$work/repo/"
stand_in() { printf '#!/bin/sh\n%s\n' "$2" >"$work/bin/$1" && chmod +x "$work/bin/$1"; }
stand_in dpkg-query 'echo "install ok installed"'
stand_in cmake 'exit 0'
stand_in ctest "echo \"\$*\" >>'$work/ran'; case \"\$*\" in *native*) exit 1;; esac"
stand_in wineboot 'mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"'
stand_in wine 'exit 0'
stand_in wineserver 'exit 0'
out=$(PATH=$work/bin:$PATH DISPLAY=:0 bash "$work/repo/tools/test.sh" 2>&1) &&
    { echo "FAILED: passed although a native test failed: $out"; exit 1; }
grep -q -- '--preset windows' "$work/ran" || { echo "FAILED: no Windows tests after the native failure: $out"; exit 1; }
[[ $out == *"FAILED: native tests"* && $out != *"Windows tests,"* ]] || { echo "FAILED, the summary: $out"; exit 1; }
echo "the Windows tests run after a native failure, and the command fails naming it"

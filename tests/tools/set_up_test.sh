#!/usr/bin/env bash
# The set-up as an ordinary user meets it on a machine that lacks a package: at a terminal the
# root step runs through sudo (here one that refuses); without one the script stops with the
# command to run as root. Usage: set_up_test.sh SOURCE_DIR   (as root: again without root's id)
set -euo pipefail
((EUID != 0)) || exec unshare --user bash "$0" "$@"
fake=$(mktemp -d) && trap 'rm -rf "$fake"' EXIT
printf '#!/bin/sh\nfor p; do :; done\n[ "$p" = imagemagick ] || echo "install ok installed"\n' >"$fake/dpkg-query"
printf '#!/bin/sh\necho "$*" >%q/asked\nexit 1\n' "$fake" >"$fake/sudo"
printf 'cd %q && PATH=%q:$PATH && source tools/require.sh && require_packages\n' "$1" "$fake" >"$fake/run"
chmod +x "$fake/dpkg-query" "$fake/sudo"
out=$(setsid -w bash "$fake/run" </dev/null 2>&1) && { echo "FAILED: went on without imagemagick"; exit 1; }
[[ $out == *imagemagick*"sudo "*tools/install-deps.sh* && ! -e $fake/asked ]] || { echo "FAILED, no terminal: $out"; exit 1; }
out=$(script -qec "bash $fake/run" /dev/null </dev/null 2>&1) && { echo "FAILED: went on at a terminal"; exit 1; }
[[ $(cat "$fake/asked") == tools/install-deps.sh && $out == *"did not install"* ]] || { echo "FAILED, terminal: $out"; exit 1; }
echo "the root step: through sudo at a terminal, named without one"

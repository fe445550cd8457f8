#!/usr/bin/env bash
# The set-up as an ordinary user meets it on a machine that lacks a package: at a terminal the
# root step runs through sudo (here one that refuses), and the script then says that sudo refused
# and what an administrator runs as root; without a terminal it stops with both commands.
# Usage: set_up_test.sh SOURCE_DIR
# As root it runs again without root's id: in a user namespace, or where the machine refuses one
# (a chroot, a container) as nobody; it is skipped (77) when neither is possible.
set -euo pipefail
if ((EUID == 0)); then
    unshare --user true 2>/dev/null && exec unshare --user bash "$0" "$@"
    # Nobody may not reach the checkout (under root's home, say): a copy of the scripts it reads.
    copy=$(mktemp -d) && trap 'rm -rf "$copy"' EXIT
    mkdir "$copy/tools" && cp "$1/tools/require.sh" "$1/tools/install-deps.sh" "$copy/tools/" && cp "$0" "$copy/"
    chmod -R a+rX "$copy"
    as_nobody=(setpriv --reuid=65534 --regid=65534 --clear-groups --)
    "${as_nobody[@]}" true 2>/dev/null || { echo "SKIPPED: root can neither make a user namespace nor become nobody"; exit 77; }
    HOME=$copy "${as_nobody[@]}" bash "$copy/set_up_test.sh" "$copy"
    exit
fi
fake=$(mktemp -d) && trap 'rm -rf "$fake"' EXIT
printf '#!/bin/sh\nfor p; do :; done\n[ "$p" = imagemagick ] || echo "install ok installed"\n' >"$fake/dpkg-query"
printf '#!/bin/sh\necho "$*" >>%q/asked\nexit 1\n' "$fake" >"$fake/sudo"
printf 'cd %q && PATH=%q:$PATH && source tools/require.sh && require_packages\n' "$1" "$fake" >"$fake/run"
chmod +x "$fake/dpkg-query" "$fake/sudo"
as_root="su - -c '$(realpath "$1")/tools/install-deps.sh'"
out=$(setsid -w bash "$fake/run" </dev/null 2>&1) && { echo "FAILED: went on without imagemagick"; exit 1; }
[[ $out == *imagemagick*"sudo "*tools/install-deps.sh*"$as_root"* && ! -e $fake/asked ]] ||
    { echo "FAILED, no terminal: $out"; exit 1; }
out=$(script -qec "bash $fake/run" /dev/null </dev/null 2>&1) && { echo "FAILED: went on at a terminal"; exit 1; }
[[ $(cat "$fake/asked") == -v && $out == *"sudo refused"*"$as_root"* ]] || { echo "FAILED, terminal: $out"; exit 1; }
echo "the root step: through sudo at a terminal, by su for an administrator when sudo refuses"

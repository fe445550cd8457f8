#!/usr/bin/env bash
# The one step that needs root: installs what tools/run.sh, tools/test.sh and
# tools/screenshot.sh use on Debian, and the Japanese locale. Quick when everything is there.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/require.sh

if ((EUID != 0)); then
    echo "Installing packages needs root." >&2
    tavelin_root_steps >&2
    exit 1
fi

mapfile -t missing < <(tavelin_missing_packages "${tavelin_packages[@]}")
if ((${#missing[@]})); then
    echo "Installing ${#missing[@]} packages and what they depend on: ${missing[*]}"
    echo "(on a fresh Debian 12 this downloads a few hundred MB; apt shows its progress below)"
    apt-get update
    DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}"
fi

if ! tavelin_has_japanese_locale; then
    echo "Generating the ja_JP.UTF-8 locale"
    sed -i 's/^# *ja_JP.UTF-8 UTF-8/ja_JP.UTF-8 UTF-8/' /etc/locale.gen
    grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' >>/etc/locale.gen
    locale-gen
fi
echo "Everything Tavelin needs is installed."

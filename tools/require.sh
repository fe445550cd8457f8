# Sourced by the scripts that build, run or test Tavelin, from the repository root.
# require_packages: returns when everything they use is installed. As root it installs what is
# missing. Anyone else is told what is missing; at a terminal the root step then runs through
# sudo, which asks for the password; otherwise, or when that fails, the script stops with the
# commands to run, rather than letting apt fail on its lock file.
# require_writable DIR: stops with the fix when files of another user (root, most likely) in DIR
# would make the build fail.

tavelin_packages=(
    g++ cmake ninja-build libgtest-dev googletest # native build and tests
    g++-mingw-w64-x86-64                          # the Windows build
    wine wine64 fonts-wine xvfb                   # running it, with or without a display
    locales fonts-ipafont                         # the Japanese locale and fonts
    imagemagick                                   # tools/screenshot.sh
    zip                                           # tools/package.sh
)

tavelin_missing_packages() {
    local p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || echo "$p"
    done
}

tavelin_has_japanese_locale() {
    locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'
}

# The scripts change to the repository root; a command they print is for the caller's folder:
# relative when the path lies below it, absolute otherwise.
tavelin_path_for_caller() {
    local path
    path=$(realpath --relative-to="${OLDPWD:-$PWD}" "$1")
    if [[ $path == ..* ]]; then
        path=$(realpath "$1")
    elif [[ $path != */* ]]; then
        path=./$path
    fi
    echo "$path"
}

tavelin_everything_installed() {
    local missing
    mapfile -t missing < <(tavelin_missing_packages "${tavelin_packages[@]}")
    ((${#missing[@]} == 0)) && tavelin_has_japanese_locale
}

# How to run the root step, after a line that says why: with sudo from the caller's folder where
# sudo is there and has not refused; for an administrator, after "su -", which starts in root's
# home, by the absolute path, so that it runs as printed wherever the clone is.
# Usage: tavelin_root_steps [refused]
tavelin_root_steps() {
    if [ "${1:-}" = refused ]; then
        echo "sudo refused. An administrator installs it once as root with this command, as it stands:"
    elif ! command -v sudo >/dev/null; then
        echo "There is no sudo here. An administrator installs it once as root with this command:"
    else
        echo "Install it once as root:"
        echo "  sudo $(tavelin_path_for_caller tools/install-deps.sh)"
        echo "or, where sudo is not yours to use, an administrator runs:"
    fi
    echo "  su - -c '$(realpath tools/install-deps.sh)'"
}

require_packages() {
    tavelin_everything_installed && return 0
    if ((EUID == 0)); then
        tools/install-deps.sh
        return 0
    fi
    local missing
    mapfile -t missing < <(tavelin_missing_packages "${tavelin_packages[@]}")
    {
        echo "Tavelin needs what is not installed yet:"
        ((${#missing[@]})) && echo "  packages: ${missing[*]}"
        tavelin_has_japanese_locale || echo "  the ja_JP.UTF-8 locale"
    } >&2
    # Only someone at a terminal can give sudo a password: sudo reads it from the controlling
    # terminal, which a job or "su -c" does not have even when its input is one.
    # sudo -v first, so that a refusal (not in the sudoers file, a wrong password) is told apart
    # from an installation that failed.
    local refused=
    if { true </dev/tty; } 2>/dev/null && command -v sudo >/dev/null; then
        echo "Installing it now as root: sudo asks for your password." >&2
        if ! sudo -v; then
            refused=refused
        elif sudo tools/install-deps.sh && tavelin_everything_installed; then
            return 0
        else
            echo "That did not install it." >&2
        fi
    fi
    {
        tavelin_root_steps $refused
        echo "Then run this again as yourself."
    } >&2
    exit 1
}

require_writable() {
    local dir=$1 stuck
    [ -e "$dir" ] && ((EUID != 0)) || return 0
    stuck=$(find "$dir" -maxdepth 2 ! -user "$EUID" -print -quit)
    [ -z "$stuck" ] && return 0
    {
        echo "$(realpath "$stuck") belongs to $(stat -c %U "$stuck"), left by an earlier run as that user,"
        echo "so this run cannot write into it. Remove the folder once and run this again:"
        if command -v sudo >/dev/null; then
            echo "  sudo rm -rf $(tavelin_path_for_caller "$dir")"
        else
            echo "  su - -c 'rm -rf $(realpath "$dir")'"
        fi
    } >&2
    exit 1
}

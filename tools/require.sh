# Sourced by the scripts that build, run or test Tavelin, from the repository root.
# require_packages [extra package...]: returns when everything they use is installed. As root it
# installs what is missing; as anyone else it names what is missing and the one command that
# installs it, and exits, rather than letting apt fail on its lock file.
# require_writable DIR: stops with the fix when files of another user (root, most likely) in DIR
# would make the build fail.

tavelin_packages=(
    g++ cmake ninja-build libgtest-dev googletest # native build and tests
    g++-mingw-w64-x86-64                          # the Windows build
    wine wine64 fonts-wine xvfb                   # running it, with or without a display
    locales fonts-ipafont                         # the Japanese locale and fonts
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

require_packages() {
    local missing
    mapfile -t missing < <(tavelin_missing_packages "${tavelin_packages[@]}" "$@")
    if ((${#missing[@]} == 0)) && tavelin_has_japanese_locale; then
        return 0
    fi
    if ((EUID == 0)); then
        tools/install-deps.sh "$@"
        return 0
    fi
    {
        echo "Tavelin needs what is not installed yet:"
        ((${#missing[@]})) && echo "  packages: ${missing[*]}"
        tavelin_has_japanese_locale || echo "  the ja_JP.UTF-8 locale"
        echo "Install it once as root, then run this again as yourself:"
        echo "  sudo $(tavelin_path_for_caller tools/install-deps.sh)${*:+ $*}"
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
        echo "  sudo rm -rf $(tavelin_path_for_caller "$dir")"
    } >&2
    exit 1
}

#!/usr/bin/env bash
# Builds what the tests need and runs every test: the portable logic natively with sanitizers,
# then the Windows build under Wine in a fresh prefix inside the build tree (the release package's
# tests among them). A failed step does not stop the ones after it that can still run; the script
# fails at the end and names the steps that failed. Arguments go to the Windows tests' ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/require.sh
require_packages
require_writable build

failed=()
# step NAME COMMAND...: runs the command and notes a failure; returns its status. A line at least
# every 50 s, so that a long compile or test on a busy machine never looks like a hang.
step() {
    local name=$1 line pending= status=0
    shift
    echo "== $name"
    local start=$SECONDS
    # ctest writes a test's name before it runs and the result after: a part line waits for its end.
    "$@" 2>&1 | while true; do
        if IFS= read -r -t 50 line; then
            echo "$pending$line"
            pending=
        elif (($? > 128)); then
            pending+=$line
            echo "   ... $name: still running ($((SECONDS - start)) s)"
        else
            [ -z "$pending$line" ] || echo "$pending$line"
            break
        fi
    done || status=${PIPESTATUS[0]}
    ((status == 0)) || failed+=("$name")
    return "$status"
}

cmake --preset native >/dev/null
if step "native build" cmake --build --preset native; then
    step "native tests" ctest --preset native -j2 || true
fi

# The scan's and the copy's threads under ThreadSanitizer.
cmake --preset tsan >/dev/null
if step "ThreadSanitizer build" cmake --build --preset tsan; then
    step "ThreadSanitizer tests" ctest --preset tsan || true
fi

cmake --preset windows >/dev/null
if step "Windows build" cmake --build --preset windows; then
    rm -rf build/windows/wineprefix build/windows/wineprefix-144
    source tools/wine-env.sh build/windows/wineprefix
    trap wine_stop EXIT
    step "Windows tests" ctest --preset windows "$@" || true
fi

if ((${#failed[@]})); then
    echo "FAILED: $(printf '%s, ' "${failed[@]}" | sed 's/, $//')" >&2
    exit 1
fi
echo "Every test passed."

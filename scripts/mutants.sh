#!/usr/bin/env bash
# Plants known faults in src/, one at a time, and tells which tests catch each: a check on the
# sharpness of the tests for whoever changes them. Not part of CI (it rebuilds once per fault).
#
#   bash scripts/mutants.sh [--unit] [NAME...]
#
# Each fault is a patch in scripts/mutants/ (NAME.patch, made with `git diff` against src/). The
# script builds in build-mutants/, applies the patch, builds, runs the tests (only the unit and
# widget tests with --unit), records the tests that failed, and takes the patch back out. A fault
# is caught when at least one test fails; one that no longer applies or no longer builds is
# reported as such, so a stale patch never passes for a caught fault.
set -uo pipefail
cd "$(dirname "$0")/.."

labels=()
if [ "${1:-}" = "--unit" ]; then
    labels=(-L unit)
    shift
fi
if ! git diff --quiet -- src; then
    echo "mutants: src/ has uncommitted changes; commit or stash them first" >&2
    exit 2
fi

patches=()
if [ $# -eq 0 ]; then
    patches=(scripts/mutants/*.patch)
else
    for name in "$@"; do patches+=("scripts/mutants/$name.patch"); done
fi

build=build-mutants
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DMIROSTA_BUILD_TESTS=ON >/dev/null ||
    exit 2
cmake --build "$build" >/dev/null || { echo "mutants: the unchanged tree does not build" >&2; exit 2; }

# End-to-end tests need an X server; start a private one unless only unit tests run.
if [ ${#labels[@]} -eq 0 ] && [ -z "${DISPLAY:-}" ]; then
    display=150
    while [ -e "/tmp/.X11-unix/X${display}" ]; do display=$((display + 1)); done
    Xvfb ":${display}" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    trap 'kill "$xvfb_pid" 2>/dev/null' EXIT
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${display}" ] && break; sleep 0.1; done
    export DISPLAY=":${display}"
fi

caught=0
missed=0
broken=0
printf '%-34s %-7s %s\n' fault result "tests that catch it"
for patch in "${patches[@]}"; do
    name=$(basename "$patch" .patch)
    if ! git apply "$patch" 2>/dev/null; then
        printf '%-34s %-7s %s\n' "$name" STALE "the patch no longer applies"
        broken=$((broken + 1))
        continue
    fi
    if ! cmake --build "$build" >/dev/null 2>&1; then
        result=STALE
        tests="the fault no longer builds"
        broken=$((broken + 1))
    else
        rm -f "$build/Testing/Temporary/LastTestsFailed.log"
        (cd "$build" && ctest "${labels[@]}" -j2 >/dev/null 2>&1)
        tests=$(sed 's/^[0-9]*://' "$build/Testing/Temporary/LastTestsFailed.log" 2>/dev/null |
            tr '\n' ' ')
        if [ -n "$tests" ]; then
            result=caught
            caught=$((caught + 1))
        else
            result=MISSED
            tests="-"
            missed=$((missed + 1))
        fi
    fi
    git apply -R "$patch"
    printf '%-34s %-7s %s\n' "$name" "$result" "$tests"
done
cmake --build "$build" >/dev/null 2>&1
echo "caught ${caught}, missed ${missed}, stale ${broken}, of ${#patches[@]}"
[ "$missed" -eq 0 ] && [ "$broken" -eq 0 ]

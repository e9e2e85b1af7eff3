#!/usr/bin/env bash
# Sets up, builds and runs every test: unit and widget tests on Qt's offscreen platform, end-to-end
# tests of the real program under an Xvfb server that this script starts and stops, and a short run
# of each fuzz target where clang is installed.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DMIROSTA_BUILD_TESTS=ON \
    -DMIROSTA_BUILD_BENCH=ON >/dev/null
cmake --build build

# Fuzzers, when clang 14 is there to build them: each runs 20 seconds over its seed corpus. New
# inputs go to a scratch folder in the fuzz build, never into the repository; a crash fails.
if command -v clang++-14 >/dev/null 2>&1; then
    cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++-14 -DMIROSTA_FUZZ=ON \
        -DMIROSTA_BUILD_TESTS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build build-fuzz --target mirosta_fuzz
    for source in fuzz/fuzz_*.cpp; do
        target=$(basename "$source" .cpp)
        run="build-fuzz/fuzz-run/$target"
        rm -rf "$run" && mkdir -p "$run/corpus"
        if ! "build-fuzz/fuzz/$target" -max_total_time=20 -artifact_prefix="$run/" \
            "$run/corpus" "fuzz/corpus/$target" >"$run/log" 2>&1; then
            tail -n 40 "$run/log" >&2
            echo "fuzz: $target failed; its log and the failing input are in $run" >&2
            exit 1
        fi
        echo "fuzz: $target: $(sed -n 's/^Done \([0-9]*\) runs.*/\1/p' "$run/log") executions"
    done
else
    echo "fuzz: clang++-14 not found; fuzzers not run"
fi

# A private X server for the end-to-end tests, on the first free display number.
display=99
while [ -e "/tmp/.X${display}-lock" ] || [ -e "/tmp/.X11-unix/X${display}" ]; do
    display=$((display + 1))
done
Xvfb ":${display}" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true' EXIT
for _ in $(seq 50); do
    [ -e "/tmp/.X11-unix/X${display}" ] && break
    sleep 0.1
done
export DISPLAY=":${display}"

ctest --test-dir build --output-on-failure

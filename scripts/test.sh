#!/usr/bin/env bash
# Sets up, builds and runs every test: unit and widget tests on Qt's offscreen platform, end-to-end
# tests of the real program under an Xvfb server that this script starts and stops.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DMIROSTA_BUILD_TESTS=ON \
    -DMIROSTA_BUILD_BENCH=ON >/dev/null
cmake --build build

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

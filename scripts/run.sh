#!/usr/bin/env bash
# Sets up, builds and starts Mirosta. Its data files (a.bz, ts.ini) live beside build/mirosta.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build --target mirosta
exec ./build/mirosta

#!/usr/bin/env bash
# Builds and tests the Windows program under Wine: cross-builds it with its unit and widget suite
# (scripts/windows/build.sh --tests, which first builds Qt for Windows when it is not cached), runs
# the suite under Wine on Qt's offscreen platform, then the smoke of the real mirosta.exe and of
# the installer under Wine on Qt's windows platform, on an X server of its own.
set -euo pipefail
source "$(dirname "$0")/env.sh"

bash "$win_here/build.sh" --tests
wine_prefix
wineserver -k 2>/dev/null || true

say "the unit and widget suite under Wine"
ctest --test-dir "$win_build" --output-on-failure -L unit

say "the smoke of mirosta.exe and its installer under Wine"
/usr/bin/python3 -B "$win_root/tests/windows/smoke.py" "$win_build/stage" \
    "$win_build/mirosta-$win_version-win64-installer.exe"
wineserver -k 2>/dev/null || true
say "done"

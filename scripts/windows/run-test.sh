#!/usr/bin/env bash
# Runs one cross-built Qt Test program under Wine: CTest's emulator for the Windows build
# (CMAKE_CROSSCOMPILING_EMULATOR). Under Wine a Qt Test program's output never reaches the
# terminal, so the program writes it to a file, which is printed here; the exit status is the
# program's. The DLLs come from Qt's and the mingw runtime's folders; the offscreen platform reads
# its fonts from one flat folder of the system's CJK and Latin fonts. Wine passes no QT_ variable
# of the Unix environment on, so a batch file sets them.
set -uo pipefail
source "$(dirname "$0")/env.sh"
exe=$1
shift

fonts="$win_cache/fonts"
if [ ! -d "$fonts" ]; then
    mkdir -p "$fonts"
    for font in /usr/share/fonts/truetype/wqy/wqy-zenhei.ttc \
        /usr/share/fonts/truetype/arphic/uming.ttc /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf; do
        [ -f "$font" ] && ln -sf "$font" "$fonts/"
    done
fi
wine_prefix
export WINEPATH="$(wine_path "$win_qt/bin");$(wine_path "${win_mingw_dlls[0]}");$(wine_path "${win_mingw_dlls[1]}")"

out=$(mktemp --suffix=.txt)
batch=$(mktemp --suffix=.bat)
{
    echo "@set QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}"
    echo "@set QT_QPA_FONTDIR=$(wine_path "$fonts")"
    printf '@"%s"' "$(wine_path "$exe")"
    for arg in "$@"; do printf ' "%s"' "$arg"; done
    echo " -o \"$(wine_path "$out"),txt\""
    echo "@exit /b %ERRORLEVEL%"
} | sed 's/$/\r/' >"$batch"
# Now and then, under load, Wine fails to start the program at all ("Application could not be
# started"): it then wrote nothing, and it is started once more. A program that ran and failed has
# written its report and is not run again.
for attempt in 1 2; do
    "$wine64" cmd /c "$(wine_path "$batch")"
    status=$?
    [ "$status" -eq 0 ] || [ -s "$out" ] && break
    echo "run-test: Wine did not start $(basename "$exe") (attempt $attempt)" >&2
    sleep 2
done
tr -d '\r' <"$out"
rm -f "$out" "$batch"
exit $status

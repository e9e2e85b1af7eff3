# Shared by the Windows scripts (sourced): where the cross-built Qt and Wine's prefix live, and
# Wine's settings. Wine runs from a private prefix that is made once and reused; the Mono and Gecko
# prompts are turned off (they would download, which cannot succeed offline), and so is Wine's
# debug output.
win_here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
win_root=$(cd "$win_here/../.." && pwd)
win_cache=${MIROSTA_CACHE:-$HOME/.cache/mirosta}
win_qt=$(bash "$win_here/build-qt.sh" --print)
win_build="$win_root/build-win"
win_mingw_dlls=(/usr/lib/gcc/x86_64-w64-mingw32/12-posix /usr/x86_64-w64-mingw32/lib)
win_version=$(sed -n 's/^project(Mirosta VERSION \([0-9.]*\).*/\1/p' "$win_root/CMakeLists.txt")

export WINEPREFIX=${MIROSTA_WINEPREFIX:-$win_cache/wine}
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree=;mshtml="
export WINEARCH=win64
wine64=/usr/lib/wine/wine64

# Progress lines with the seconds since the script began.
start=$(date +%s)
say() { echo "windows [$(($(date +%s) - start))s]: $*"; }

# Makes Wine's prefix when there is none yet (about ten seconds). Wine draws the frames of some
# windows itself, in Tahoma, which has no Chinese: a CJK font stands in for it, so that captions
# such as 数据提示 read right in screenshots.
wine_prefix() {
    if [ ! -f "$WINEPREFIX/mirosta-prefix" ]; then
        echo "windows: making Wine's prefix in $WINEPREFIX"
        mkdir -p "$WINEPREFIX"
        wineboot -i >/dev/null 2>&1
        "$wine64" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Tahoma \
            /d 'AR PL UMing CN' /f >/dev/null 2>&1
        touch "$WINEPREFIX/mirosta-prefix"
    fi
}

# Z:\... for a Unix path, as Wine sees it.
wine_path() {
    local path
    path=$(readlink -f "$1")
    echo "Z:${path//\//\\}"
}

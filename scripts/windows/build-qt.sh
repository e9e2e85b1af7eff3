#!/usr/bin/env bash
# Cross-builds Qt's qtbase for 64-bit Windows from Debian's own qt6-base source package, as shared
# libraries, into a cache folder outside the work tree. The result is reused for as long as the
# Qt version and the configure flags below stay the same: a stamp file in the install folder holds
# both, and a build whose stamp matches is left alone.
#
#   bash scripts/windows/build-qt.sh          # builds when the cache is missing or stale
#   bash scripts/windows/build-qt.sh --print  # prints the install folder and exits
#
# The cache lives in ${MIROSTA_CACHE:-~/.cache/mirosta}. About 15 minutes on two cores.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cache=${MIROSTA_CACHE:-$HOME/.cache/mirosta}
version=6.4.2

flags=(
    -release -shared
    -xplatform win32-g++ -device-option CROSS_COMPILE=x86_64-w64-mingw32- -qt-host-path /usr
    -nomake examples -nomake tests -no-pkg-config -no-opengl -no-vulkan -no-dbus
    -no-ssl -no-openssl -no-schannel -no-icu -no-glib -no-zstd -no-libjpeg -no-gif
    -qt-zlib -qt-libpng -qt-freetype -qt-harfbuzz -qt-pcre -qt-doubleconversion -qt-libmd4c
    -no-feature-sql -no-feature-xml -no-feature-concurrent
    -no-feature-tabletevent -no-feature-direct2d1_1 -no-feature-brotli -no-feature-androiddeployqt
)
# Source changes applied before configuring, named in the stamp:
# - pcre2-nojit: QRegularExpression keeps its JIT stack in a thread_local object; with mingw its
#   destructor runs after the thread's emulated TLS has been freed, so a thread that matched a
#   regular expression crashes as it ends and the program then hangs at exit. Without the JIT no
#   such stack is ever made (PCRE2's interpreter is fast enough for the program's short patterns).
patches="pcre2-nojit"
stamp_text="qtbase ${version} ${flags[*]} patches: ${patches}"
key=$(printf '%s' "$stamp_text" | sha1sum | cut -c1-12)
prefix="$cache/qt6-win64-$version-$key"
toolchain="$cache/mingw-posix-toolchain.cmake"

if [ "${1:-}" = "--print" ]; then
    echo "$prefix"
    exit 0
fi

start=$(date +%s)
say() { echo "build-qt [$(( $(date +%s) - start ))s]: $*"; }

# Qt's own texts in Chinese, from Debian's qt6-translations-l10n (the same for every system), where
# a Qt installed on Windows keeps them.
add_translations() {
    if [ ! -f "$prefix/translations/qtbase_zh_CN.qm" ]; then
        bash "$here/../setup.sh"
        install -D -m 644 /usr/share/qt6/translations/qtbase_zh_CN.qm \
            "$prefix/translations/qtbase_zh_CN.qm"
    fi
}

if [ -f "$prefix/mirosta-qt.stamp" ] && [ "$(cat "$prefix/mirosta-qt.stamp")" = "$stamp_text" ]; then
    add_translations
    say "Qt $version for Windows is cached in $prefix"
    exit 0
fi

say "Qt $version for Windows is not in the cache ($prefix): building it from Debian's source, about 15 to 25 minutes on two idle cores"
bash "$here/../setup.sh" --windows
mkdir -p "$cache"

# The toolchain file stays at a fixed path: the installed Qt remembers it.
cat >"$toolchain" <<'TC'
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(CMAKE_C_COMPILER   x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER  x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
TC

src_root="$cache/src"
source_dir=$(find "$src_root" -maxdepth 1 -type d -name "qt6-base-$version*" 2>/dev/null | head -n 1 || true)
if [ -z "$source_dir" ] || [ ! -x "$source_dir/configure" ]; then
    say "fetching Debian's qt6-base source package"
    rm -rf "$src_root" && mkdir -p "$src_root"
    (cd "$src_root" && apt-get source -qq qt6-base)
    source_dir=$(find "$src_root" -maxdepth 1 -type d -name "qt6-base-*" | head -n 1)
fi
[ -x "$source_dir/configure" ] || { echo "build-qt: no qtbase source in $src_root" >&2; exit 1; }
found=$(basename "$source_dir")
case "$found" in
    qt6-base-"$version"*) ;;
    *) echo "build-qt: Debian serves $found, expected $version" >&2; exit 1 ;;
esac

pcre_cmake="$source_dir/src/3rdparty/pcre2/CMakeLists.txt"
if ! grep -q "mirosta: pcre2-nojit" "$pcre_cmake"; then
    say "patching: PCRE2 without its JIT"
    printf '\n# mirosta: pcre2-nojit\nqt_internal_extend_target(BundledPcre2 CONDITION WIN32 DEFINES PCRE2_DISABLE_JIT)\n' >>"$pcre_cmake"
fi

build="$cache/qt6-win64-build"
rm -rf "$build" "$prefix" && mkdir -p "$build"
cd "$build"
say "configuring ($found, log in $build/configure.log)"
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
"$source_dir/configure" -prefix "$prefix" "${flags[@]}" \
    -- -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DQT_HOST_PATH_CMAKE_DIR="/usr/lib/$multiarch/cmake" \
    >configure.log 2>&1 || { tail -n 40 configure.log >&2; exit 1; }
say "building (log in $build/build.log)"
cmake --build . --parallel "$(nproc)" >build.log 2>&1 || { grep -m 20 -B2 -A8 'error' build.log >&2; exit 1; }
say "installing into $prefix"
cmake --install . >install.log 2>&1 || { tail -n 40 install.log >&2; exit 1; }
add_translations
printf '%s' "$stamp_text" >"$prefix/mirosta-qt.stamp"
cd "$cache" && rm -rf "$build"
say "done: Qt $version for Windows in $prefix ($(du -sh "$prefix" | cut -f1)), built in $((($(date +%s) - start) / 60)) minutes"

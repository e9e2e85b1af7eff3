#!/usr/bin/env bash
# Builds Mirosta for 64-bit Windows on Debian: the portable zip and the NSIS installer.
#
#   bash scripts/windows/build.sh            # build-win/mirosta-<version>-win64-portable.zip
#                                            # and build-win/mirosta-<version>-win64-installer.exe
#   bash scripts/windows/build.sh --tests    # also cross-builds the unit and widget suite
#
# Installs the cross toolchain, Wine and NSIS when missing (scripts/setup.sh --windows), builds Qt
# for Windows when it is not cached yet (scripts/windows/build-qt.sh, about 15 to 25 minutes on two
# cores), cross-builds the program against it, gathers the DLLs it needs from their import tables
# (there is no windeployqt for a cross build) into build-win/stage, and packs that folder twice.
set -euo pipefail
source "$(dirname "$0")/env.sh"
tests=OFF
[ "${1:-}" = "--tests" ] && tests=ON

bash "$win_root/scripts/setup.sh" --windows
if ! bash "$win_here/build-qt.sh"; then
    echo "windows: building Qt for Windows failed" >&2
    exit 1
fi

say "cross-building the program (tests $tests) in $win_build"
# A build folder made against another Qt (its version or flags changed) is made afresh.
toolchain="$win_qt/lib/cmake/Qt6/qt.toolchain.cmake"
if [ -f "$win_build/CMakeCache.txt" ] &&
    ! grep -qxF "CMAKE_TOOLCHAIN_FILE:FILEPATH=$toolchain" "$win_build/CMakeCache.txt"; then
    rm -rf "$win_build"
fi
cmake -S "$win_root" -B "$win_build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_CROSSCOMPILING_EMULATOR="$win_here/run-test.sh" \
    -DMIROSTA_BUILD_TESTS=$tests -DMIROSTA_BUILD_BENCH=OFF >"$win_build.configure.log" 2>&1 ||
    { tail -n 30 "$win_build.configure.log" >&2; exit 1; }
rm -f "$win_build.configure.log"
cmake --build "$win_build" --parallel 2

# The stage: mirosta.exe, every DLL it loads (found again in each DLL found), the plug-ins Qt
# loads by name, and Qt's own Chinese texts. Windows' own DLLs are not found in these folders and
# stay out.
say "gathering the DLLs"
stage="$win_build/stage"
rm -rf "$stage" && mkdir -p "$stage/platforms" "$stage/styles" "$stage/translations"
cp "$win_build/mirosta.exe" "$stage/"
cp "$win_qt/plugins/platforms/qwindows.dll" "$stage/platforms/"
cp "$win_qt/plugins/styles/qwindowsvistastyle.dll" "$stage/styles/"
cp "$win_qt/translations/qtbase_zh_CN.qm" "$stage/translations/"
search=("$win_qt/bin" "${win_mingw_dlls[@]}")
pending=("$stage/mirosta.exe" "$stage/platforms/qwindows.dll" "$stage/styles/qwindowsvistastyle.dll")
while [ ${#pending[@]} -gt 0 ]; do
    file=${pending[0]}
    pending=("${pending[@]:1}")
    for dll in $(x86_64-w64-mingw32-objdump -p "$file" | sed -n 's/^\s*DLL Name: //p'); do
        [ -e "$stage/$dll" ] && continue
        for dir in "${search[@]}"; do
            if [ -f "$dir/$dll" ]; then
                cp "$dir/$dll" "$stage/"
                pending+=("$stage/$dll")
                break
            fi
        done
    done
done
# Debian's mingw runtime DLLs carry their debug information.
find "$stage" -name '*.dll' -o -name '*.exe' | xargs x86_64-w64-mingw32-strip --strip-unneeded

zip="$win_build/mirosta-$win_version-win64-portable.zip"
installer="$win_build/mirosta-$win_version-win64-installer.exe"
say "packing $(basename "$zip")"
rm -f "$zip"
(cd "$stage" && zip -q -r -9 -X "$zip" .)

# The uninstaller removes exactly the files the installer put there, never the user's data.
say "making $(basename "$installer")"
files="$win_build/installed-files.nsh"
(cd "$stage" && find . -type f | sed 's|^\./||; s|/|\\|g' | sort |
    sed 's|.*|Delete "$INSTDIR\\&"|' >"$files"
 find . -mindepth 1 -type d | sed 's|^\./||; s|/|\\|g' | sort -r |
    sed 's|.*|RMDir "$INSTDIR\\&"|' >>"$files")
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$win_version" -DSTAGE="$stage" -DFILES="$files" \
    -DOUTFILE="$installer" "$win_root/packaging/windows/mirosta.nsi"

say "done: $zip ($(du -h "$zip" | cut -f1)), $installer ($(du -h "$installer" | cut -f1))"

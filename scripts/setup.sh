#!/usr/bin/env bash
# Installs every package that building, running and testing Mirosta needs and that is missing.
# Debian/Ubuntu; runs apt-get as root or through sudo. Safe to run again: it installs nothing when
# everything is there. With --windows it also installs the cross toolchain, Wine and NSIS for the
# Windows build, and a deb-src entry so that Debian's qt6-base source can be fetched.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins qt6-translations-l10n libgl-dev
    libbenchmark-dev libclang-rt-14-dev
    xvfb xauth x11-utils xdotool imagemagick faketime poppler-utils
    dbus-daemon at-spi2-core python3 python3-pyatspi python3-xlib
    fonts-wqy-zenhei fonts-arphic-uming
)
windows=0
if [ "${1:-}" = "--windows" ]; then
    windows=1
    packages+=(
        g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev binutils-mingw-w64-x86-64
        wine wine64 fonts-wine nsis dpkg-dev zip unzip xclip
    )
fi

as_root=()
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || as_root=(false)
    [ "${as_root[*]:-}" = false ] || as_root=(sudo)
fi

# apt-get source needs a deb-src entry for the archive apt already uses.
need_update=0
if [ "$windows" -eq 1 ] && ! grep -rqs '^Types:.*deb-src\|^deb-src ' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    main_src=/etc/apt/sources.list.d/debian.sources
    if [ -f "$main_src" ]; then
        sed -n '/^Types: deb$/,/^$/p' "$main_src" | sed 's/^Types: deb$/Types: deb-src/' |
            "${as_root[@]}" tee /etc/apt/sources.list.d/mirosta-deb-src.sources >/dev/null
    else
        grep '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' |
            "${as_root[@]}" tee /etc/apt/sources.list.d/mirosta-deb-src.list >/dev/null
    fi
    need_update=1
fi

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
    [ "$status" = "installed" ] || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ] && [ "$need_update" -eq 0 ]; then
    exit 0
fi
if [ "${as_root[*]:-}" = false ]; then
    echo "setup: need root or sudo to install ${missing[*]}" >&2
    exit 1
fi

export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
if [ ${#missing[@]} -gt 0 ]; then
    echo "setup: installing ${missing[*]}"
    "${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

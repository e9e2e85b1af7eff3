#!/usr/bin/env bash
# Installs every package that building, running and testing Mirosta needs and that is missing.
# Debian/Ubuntu; runs apt-get as root or through sudo. Safe to run again: it installs nothing when
# everything is there.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libgl-dev
    libbenchmark-dev libclang-rt-14-dev
    xvfb xauth x11-utils xdotool imagemagick faketime
    dbus-daemon at-spi2-core python3 python3-pyatspi python3-xlib
    fonts-wqy-zenhei fonts-arphic-uming
)

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
    [ "$status" = "installed" ] || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "setup: installing ${missing[*]}"
as_root=()
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "setup: need root or sudo to install ${missing[*]}" >&2; exit 1; }
    as_root=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"

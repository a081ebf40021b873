#!/bin/bash
# Installs every Debian package the project needs, or only the packages
# named; quick when all are there.
#   deps.sh [PACKAGE...]
set -euo pipefail

PACKAGES=(
    cmake ninja-build pkg-config g++ clang libclang-rt-14-dev dpkg-dev
    libx11-dev libxext-dev libxrandr-dev libxdamage-dev libgtk-3-dev libasound2-dev libfluidsynth-dev libpng-dev libpulse-dev libsystemd-dev
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    g++-mingw-w64-i686 binutils-mingw-w64-i686 mingw-w64-i686-dev nsis
    wine wine32 wine64
    xvfb xauth x11-utils x11-xserver-utils xdotool imagemagick
    xserver-xorg-core xserver-xorg-video-dummy
    fluidsynth timgm6mb-soundfont sox xscreensaver
    pulseaudio pulseaudio-utils pipewire pipewire-pulse wireplumber dbus
    libwayland-dev libwayland-bin wayland-protocols sway grim wtype swayidle foot
    weston mutter xdg-desktop-portal xdg-desktop-portal-wlr xdg-desktop-portal-gtk libxss-dev xwayland
)

SUDO=""
if [ "$(id -u)" != 0 ]; then
    SUDO=sudo
fi

if [ $# -gt 0 ]; then
    PACKAGES=("$@")
elif ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
    NEED_UPDATE=1
fi

missing=()
for package in "${PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed"; then
        missing+=("$package")
    fi
done

if [ ${#missing[@]} -eq 0 ] && [ -z "${NEED_UPDATE:-}" ]; then
    exit 0
fi

echo "Installing: ${missing[*]}"
# A mirror in the middle of a sync fails an index now and then: try again,
# and go on with the indexes there are if it keeps failing.
for attempt in 1 2 3; do
    if $SUDO apt-get update -qq; then
        break
    fi
    if [ $attempt = 3 ]; then
        echo "deps.sh: the package indexes could not all be updated; installing from those there are" >&2
    else
        sleep 20
    fi
done
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"

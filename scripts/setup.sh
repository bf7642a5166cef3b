#!/usr/bin/env bash
# Installs what zorvel needs from Debian's packages (only what is missing),
# then configures and builds it in build/. Safe to run again: a second run
# installs nothing and rebuilds only what changed.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  cmake ninja-build g++ pkgconf
  qt6-base-dev qt6-multimedia-dev qt6-qpa-plugins qt6-wayland libgl-dev libxcb1-dev
  libx11-dev libxext-dev libxss-dev
  fonts-liberation fontconfig
  xvfb xauth xdotool x11-utils dbus-daemon
)

scripts/install-missing.sh "${packages[@]}"

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build

#!/usr/bin/env bash
# Installs what building, running and testing Horolux needs on Debian 12.
set -euo pipefail
SUDO=""
if [ "$(id -u)" != 0 ]; then SUDO="sudo"; fi
packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev libx11-dev libgl-dev libpulse-dev libsndfile1-dev
  libbenchmark-dev
  clang libclang-rt-14-dev
  xvfb xauth x11-utils xdotool xdg-utils imagemagick faketime strace openbox trayer
  pulseaudio pulseaudio-utils
  dbus-daemon at-spi2-core # the accessibility bus the screen-reader test reads
  dpkg-dev desktop-file-utils appstream
  netbase
  weston xwayland qt6-wayland
  fonts-dejavu-core fonts-liberation
  xinetd rdate # a time server we did not write, and a client to compare with
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

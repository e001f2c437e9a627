#!/usr/bin/env bash
# Installs every Debian package needed to build, test and run ZELTA SCU.
# Idempotent: packages already present are not touched and apt-get update runs
# only when something is missing.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  qt6-base-dev libgl-dev
  libgstreamer1.0-dev libgstreamer-plugins-base1.0-dev
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-bad
  gstreamer1.0-libav gstreamer1.0-tools gstreamer1.0-x
  libzip-dev libx11-dev libxrandr-dev libsqlite3-dev
  libgtest-dev libgmock-dev
  xvfb xauth xdotool x11-apps x11-utils imagemagick openbox
  weston xwayland qt6-wayland
  zip unzip fonts-wine fonts-dejavu-core fonts-dejavu-extra
  binutils-mingw-w64-i686
  desktop-file-utils appstream
  clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"

#!/usr/bin/env bash
# Installs every Debian package needed to build, test and run ZELTA SCU, on Debian 12 or 13.
# Idempotent: packages already present are not touched and apt-get update runs
# only when something is missing. A name that differs between releases is taken
# from what the system has or offers, not from the release's name.
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
  debootstrap
  clang
)

installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q '^install ok installed$'
}

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
updated=no
update_once() {
  if [ "$updated" = no ]; then
    $sudo apt-get update -qq
    updated=yes
  fi
}

missing=()
for p in "${packages[@]}"; do
  installed "$p" || missing+=("$p")
done

# The fuzz targets' runtime (libFuzzer and the sanitizers) of the clang that `clang` is: the
# installed one's major version, else that of the clang-N the clang package depends on.
clang_major=""
if installed clang && command -v clang >/dev/null; then
  clang_major="$(clang --version | sed -n 's/.*clang version \([0-9][0-9]*\).*/\1/p' | head -n 1)"
fi
if [ -z "$clang_major" ]; then
  update_once
  clang_major="$(apt-cache depends clang | sed -n 's/^ *Depends: clang-\([0-9][0-9]*\)$/\1/p' | head -n 1)"
fi
if [ -z "$clang_major" ]; then
  echo "install-deps.sh: cannot tell which clang this system has or offers" >&2
  exit 1
fi
installed "libclang-rt-$clang_major-dev" || missing+=("libclang-rt-$clang_major-dev")

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
update_once
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"

#!/bin/sh
# Installs what the build, the game and the tests need on Debian 12, then configures and builds.
# Usage: tools/setup.sh BUILD_DIR [extra cmake arguments]
set -eu

PACKAGES="cmake g++ make pkg-config ccache
libsdl2-dev libsdl2-ttf-dev libsdl2-mixer-dev libfontconfig-dev libfreetype-dev
libjpeg62-turbo-dev libzip-dev zlib1g-dev libdeflate-dev libgtest-dev libgmock-dev libbenchmark-dev
fonts-liberation fonts-dejavu-core timgm6mb-soundfont
xdg-utils xvfb xauth x11-apps x11-utils xdotool imagemagick openbox
libpng-dev desktop-file-utils appstream dpkg-dev
clang libclang-rt-dev"

missing=""
for p in $PACKAGES; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
  echo "Installing:$missing"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing
fi

BUILD_DIR=${1:-build}
shift || true
cmake -S "$(dirname "$0")/.." -B "$BUILD_DIR" "$@"
cmake --build "$BUILD_DIR" -j"$(nproc)"

#!/usr/bin/env bash
# Installs what is missing (Debian 12, as root), builds, then plays or tests.
#   bash build.sh play   build and start the game
#   bash build.sh test   build and run the whole test suite
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev libsqlcipher-dev sqlcipher
  libsdl2-mixer-dev timgm6mb-soundfont
  fonts-arphic-uming fonts-wqy-zenhei
  xvfb xauth xdotool imagemagick openbox xclip x11-utils poppler-utils
  dbus-daemon at-spi2-core python3-pyatspi
)

install_missing() {
  local missing=()
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

build() {
  [ -f build/build.ninja ] || cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
  cmake --build build
}

case "${1:-}" in
  play)
    install_missing
    build
    exec build/bin/vexa-sudoku
    ;;
  test)
    install_missing
    build
    QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy \
      ctest --test-dir build --output-on-failure -j2
    ;;
  *)
    echo "usage: bash build.sh play|test" >&2
    exit 2
    ;;
esac

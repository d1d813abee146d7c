#!/usr/bin/env bash
# Installs what is missing (Debian 12, as root), builds, then plays or tests.
#   bash build.sh play   build and start the game
#   bash build.sh test   build and run the whole test suite under the
#                        sanitizers, the fuzzers, and the sound's tests
#                        under ThreadSanitizer
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev libsqlcipher-dev sqlcipher libcups2-dev libxcb1-dev libxtst-dev
  libsdl2-dev libfluidsynth-dev timgm6mb-soundfont pulseaudio pulseaudio-utils
  fonts-arphic-uming fonts-wqy-zenhei
  xvfb xauth xdotool imagemagick openbox xclip x11-utils poppler-utils
  xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils
  cups-daemon cups-client
  clang libclang-rt-14-dev
  desktop-file-utils appstream dpkg-dev file lintian groff-base man-db strace
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

# The configure lines are kept once, as the presets of CMakePresets.json.
build() {
  [ -f build/build.ninja ] || cmake --preset default
  cmake --build --preset default
}

# One job at a time runs in the background with its output in a log, shown
# only when it fails.
background() {
  local log=$1
  shift
  bg_log=$log
  "$@" >"$log" 2>&1 &
  bg_pid=$!
}

failed=()
finish_background() {
  if wait "$bg_pid"; then
    tail -n 8 "$bg_log"
    return 0
  fi
  failed+=("$1")
  echo "--- $1 failed; the end of $bg_log:"
  tail -n 80 "$bg_log"
  return 1
}

report() {
  if [ ${#failed[@]} -gt 0 ]; then
    echo "=== FAILED: ${failed[*]}"
    exit 1
  fi
  echo "=== All passed: the test suite under the sanitizers, the fuzzers, the sound under ThreadSanitizer"
}

case "${1:-}" in
  play)
    install_missing
    build
    exec build/bin/vexa-sudoku
    ;;
  test)
    install_missing
    # One build, sanitized: on the two cores of the build machine a second,
    # plain build of everything would double the time, and the sanitized
    # suite checks all the plain one does and more.
    echo "=== The sanitized build (build-asan/)"
    cmake --preset asan >/dev/null
    cmake --build --preset asan
    echo "=== The whole test suite under AddressSanitizer and UBSan, with the fuzzers beside it"
    # The suite spends most of its time waiting on the X server, the audio
    # device and the clock, so the fuzzers, niced, get the idle cores; three
    # at a time, the five targets take two rounds, no longer than the suite.
    background build-asan/fuzz.log env VEXA_FUZZ_JOBS=3 nice -n 15 tools/fuzz/run-fuzzers.sh 30
    ctest --preset asan || failed+=("test suite")
    finish_background "fuzzers" || true
    # The sound works on threads of its own beside the window's: its tests
    # run once more under ThreadSanitizer, which needs a build of its own,
    # of just what they link.
    echo "=== The sound's tests under ThreadSanitizer (build-tsan/)"
    cmake --preset tsan >/dev/null
    cmake --build --preset tsan
    ctest --preset tsan || failed+=("sound under ThreadSanitizer")
    report
    ;;
  *)
    echo "usage: bash build.sh play|test" >&2
    exit 2
    ;;
esac

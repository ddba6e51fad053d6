#!/usr/bin/env bash
# Installs the Debian packages that are missing, then configures and builds.
# Usage: scripts/setup.sh [program|all|packages] [build-dir]   (default: all build/release)
#   program   what building and running the program needs; builds the program only
#   all       that, and what the tests and benchmarks need; builds everything
#   packages  installs what "all" does, builds nothing (for scripts with a build of their own)
# Once everything is installed and built, a run only checks: no apt, no sudo, no reconfiguring.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
what=${1:-all}
build=${2:-$here/build/release}
# shellcheck source=packages.sh source-path=SCRIPTDIR
. "$here/scripts/packages.sh"

# Names without version numbers, known on Debian 12, Debian 13 and Ubuntu 24.04.
program_packages=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev
  libsdl2-dev libsdl2-mixer-dev libpng-dev libjpeg-dev zlib1g-dev
  # the device window's X11 state, outline and monitors, on Qt's own X connection
  libxcb1-dev libxcb-shape0-dev libxcb-randr0-dev
  qt6-wayland  # native Wayland sessions
  fonts-liberation2  # "Arial" for the dialogs: same metrics, so the texts fit their labels
  fonts-dejavu-core  # the lettering of the skin, manual pages and program pictures
)
test_packages=(
  libgtest-dev libgmock-dev libbenchmark-dev
  clang-format                  # the source is checked against .clang-format
  xvfb xdotool imagemagick      # end-to-end tests: a private X server, real input, screenshots
  desktop-file-utils appstream  # validators of the menu entry and the metainfo
  file                          # CPack finds the binaries of the Debian package with it
  openbox tint2 weston xwayland x11-utils  # end-to-end tests on real desktops: window manager, panel, compositor, xprop
  x11-xserver-utils             # end-to-end tests of monitors and dot densities: xrandr, xrdb
)

case $what in
program)
  ensure_packages "${program_packages[@]}"
  configure release "$build"
  # Also in a folder configured for the tests: only the program and its folder's content.
  cmake --build "$build" -j"$(nproc)" --target torchwheel
  ;;
all)
  ensure_packages "${program_packages[@]}" "${test_packages[@]}"
  # A folder first set up by the run command has the tests and benchmarks switched off.
  configure tests "$build" '^TORCHWHEEL_(TESTS|BENCH):BOOL=OFF'
  cmake --build "$build" -j"$(nproc)"
  ;;
packages)
  ensure_packages "${program_packages[@]}" "${test_packages[@]}"
  ;;
*)
  echo "usage: setup.sh [program|all|packages] [build-dir]" >&2
  exit 2
  ;;
esac

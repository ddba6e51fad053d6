#!/usr/bin/env bash
# Builds the program's Debian package, <build-dir>/torchwheel_<version>_<arch>.deb. Install it
# with `sudo apt install ./torchwheel_*.deb`. With --check it also installs lintian and fails on
# its errors (without, lintian runs only if it is installed).
# Usage: scripts/package.sh [--check] [build-dir]   (default: build/release)
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
check=no
if [ "${1:-}" = --check ]; then
    check=yes
    shift
fi
build=${1:-$here/build/release}
"$here/scripts/setup.sh" program "$build"
# shellcheck source=packages.sh source-path=SCRIPTDIR
. "$here/scripts/packages.sh"
# CPack finds the binaries with `file`; dpkg-shlibdeps (dpkg-dev) turns their libraries into
# Depends.
ensure_packages file dpkg-dev
[ $check = no ] || ensure_packages lintian
cd "$build"
rm -f torchwheel_*.deb
cpack --config CPackConfig.cmake
deb=$(echo torchwheel_*.deb)
if command -v lintian >/dev/null; then
    lintian --fail-on error "$deb"
else
    echo "package.sh: lintian is not installed; the package was not checked" >&2
fi
echo "$build/$deb"

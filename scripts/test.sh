#!/usr/bin/env bash
# Sets everything up, then runs the whole test suite headless (Qt offscreen; end-to-end tests
# under their own Xvfb server).
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$here/build/release
"$here/scripts/setup.sh" all "$build"
# shellcheck source=packages.sh source-path=SCRIPTDIR
. "$here/scripts/packages.sh"
headless
cd "$build"
ctest --output-on-failure -j"$(nproc)" --timeout 600

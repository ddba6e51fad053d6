#!/usr/bin/env bash
# Installs and builds what the program needs, then starts the simulator with its default skin.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$here/build/release
"$here/scripts/setup.sh" program "$build"
# The skin and the samples are found relative to the working directory: start in the program folder.
cd "$build/program"
exec ./torchwheel "$@"

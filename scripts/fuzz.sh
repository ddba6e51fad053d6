#!/usr/bin/env bash
# Fuzzes one of the picture decoders or the INI reader with libFuzzer: installs Clang and its
# fuzzer runtime (only this script needs them), builds build/fuzz with Clang, starts the corpus
# from the target's own seeds and runs until stopped or until a libFuzzer limit is reached.
# Usage: scripts/fuzz.sh bmp|png|jpeg|ini [libFuzzer options]   e.g. -max_total_time=600
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
target=${1:?usage: fuzz.sh bmp|png|jpeg|ini [libFuzzer options]}
shift
build=$here/build/fuzz
"$here/scripts/setup.sh" packages
# shellcheck source=packages.sh source-path=SCRIPTDIR
. "$here/scripts/packages.sh"
ensure_packages clang libclang-rt-dev
if [ ! -f "$build/CMakeCache.txt" ]; then
    CXX=clang++ cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DTORCHWHEEL_FUZZ=ON -DTORCHWHEEL_BENCH=OFF
fi
cmake --build "$build" -j"$(nproc)" --target "fuzz_$target" "fuzz_${target}_replay"
corpus=$build/corpus/$target
if [ ! -d "$corpus" ]; then
    mkdir -p "$corpus"
    "$build/tests/fuzz/fuzz_${target}_replay" --write-corpus "$corpus"
fi
exec "$build/tests/fuzz/fuzz_$target" "$corpus" "$@"

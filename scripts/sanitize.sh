#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer and runs the whole test
# suite in that build, headless like scripts/test.sh. Any report fails the test it happens in.
# Usage: scripts/sanitize.sh [build-dir]   (default: build/sanitize; CXX=clang++ for Clang)
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$here/build/sanitize}
"$here/scripts/setup.sh" packages
# GCC brings its sanitizer runtimes; Clang's come in a package of their own.
if [[ ${CXX:-} == *clang* ]]; then
    # shellcheck source=packages.sh source-path=SCRIPTDIR
    . "$here/scripts/packages.sh"
    ensure_packages clang libclang-rt-dev
fi

# shellcheck source=packages.sh source-path=SCRIPTDIR
. "$here/scripts/packages.sh"
# Benchmarks measure speed, which the sanitizers distort; the preset leaves them out.
configure sanitize "$build"
grep -q '^TORCHWHEEL_SANITIZE:BOOL=ON' "$build/CMakeCache.txt" || {
    echo "sanitize.sh: $build is not a sanitizer build (TORCHWHEEL_SANITIZE is off)" >&2
    exit 1
}
cmake --build "$build" -j"$(nproc)"

# Leaks inside the system's libraries (fontconfig, D-Bus, the X and audio client libraries) are
# theirs, not ours; ours are still reported.
suppressions=$build/lsan.supp
cat >"$suppressions" <<'EOF'
leak:libfontconfig
leak:libdbus
leak:libxcb
leak:libX11
leak:libpulse
leak:libasound
leak:libSDL2
EOF
# No strict_string_checks: with it the strndup interceptor reads past the bounded names that
# libxkbcommon-x11 copies, and every program on an X server aborts before its window appears.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:check_initialization_order=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$suppressions:print_suppressions=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
headless
cd "$build"
ctest --output-on-failure -j"$(nproc)" --timeout 900

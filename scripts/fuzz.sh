#!/usr/bin/env bash
# Fuzzes the readers of untrusted bytes with libFuzzer. Installs only what that needs (Clang, its
# fuzzer runtime, CMake and the libraries the fuzzed readers link), builds the fuzz targets alone
# in build/fuzz with Clang and starts each corpus from the target's own seeds.
# Usage: scripts/fuzz.sh <target> [libFuzzer options]   runs one target until stopped or until a
#                                                       libFuzzer limit, e.g. -max_total_time=600
#        scripts/fuzz.sh all [seconds]                  runs every target in turn (60 s each),
#                                                       a line each; fails when one found anything
# Targets: bmp png jpeg ini wav settings. What a target finds is kept in build/fuzz/findings.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
target=${1:?usage: fuzz.sh <target> [libFuzzer options] | fuzz.sh all [seconds]}
shift
build=$here/build/fuzz
# shellcheck source=packages.sh source-path=SCRIPTDIR
. "$here/scripts/packages.sh"
ensure_packages clang libclang-rt-dev cmake make \
    libpng-dev libjpeg-dev zlib1g-dev libsdl2-dev libsdl2-mixer-dev
configure fuzz "$build" '^TORCHWHEEL_FUZZ:BOOL=OFF'
bin=$build/tests/fuzz

# The target's corpus, with its seeds (re)written into it.
corpus() {
    mkdir -p "$build/corpus/$1"
    "$bin/fuzz_$1_replay" --write-corpus "$build/corpus/$1"
    echo "$build/corpus/$1"
}

# A hang, or an allocation far beyond what the small limits of the targets allow, is a finding.
# The operands of comparisons count as coverage too, so that the fuzzer closes in on the checks.
options=(-timeout=10 -rss_limit_mb=2048 -malloc_limit_mb=64 -use_value_profile=1)

if [ "$target" != all ]; then
    cmake --build "$build" -j"$(nproc)" --target "fuzz_$target" "fuzz_${target}_replay"
    mkdir -p "$build/findings/$target"
    exec "$bin/fuzz_$target" "$(corpus "$target")" "${options[@]}" \
        -artifact_prefix="$build/findings/$target/" "$@"
fi

seconds=${1:-60}
cmake --build "$build" -j"$(nproc)"
mkdir -p "$build/logs"
printf '%-9s %12s %8s %9s %9s\n' target runs runs/s coverage findings
failed=0
for replayer in "$bin"/fuzz_*_replay; do
    t=${replayer#"$bin"/fuzz_}
    t=${t%_replay}
    found=$build/findings/$t
    log=$build/logs/$t.log
    mkdir -p "$found"
    stamp=$(mktemp)
    "$bin/fuzz_$t" "$(corpus "$t")" "${options[@]}" -artifact_prefix="$found/" \
        -max_total_time="$seconds" -print_final_stats=1 >"$log" 2>&1 || true
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
    coverage=$(grep -oE 'cov: [0-9]+' "$log" | tail -n 1 | cut -d' ' -f2)
    findings=$(find "$found" -type f -newer "$stamp" | wc -l)
    rm -f "$stamp"
    # libFuzzer stops at its first finding; one that stopped without leaving one failed as well.
    if [ "$findings" -eq 0 ] && ! grep -q '^Done [0-9]* runs' "$log"; then findings=1; fi
    printf '%-9s %12s %8s %9s %9s\n' "$t" "${runs:-?}" "${rate:-?}" "${coverage:-?}" "$findings"
    if [ "$findings" -gt 0 ]; then
        failed=1
        echo "          see $log and $found" >&2
    fi
done
exit "$failed"

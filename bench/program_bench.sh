#!/usr/bin/env bash
# Measures the real program under Xvfb: start-up to the first painted frame, CPU use while idle
# in the clock and while a game runs, peak memory, and how far timer steps land from their
# scheduled time over a start sequence and a minute of play, memory across full-screen toggles;
# then idle CPU once more with a (virtual) gamepad attached, which the program polls.
# Usage: bench/program_bench.sh [build-dir]     (default: build/release; build it first)
# BENCH_SCREEN sizes the X screen (default 1280x1024); BENCH_SETTINGS adds stored settings, e.g.
# 'FullscreenMode=1\nZoom=0' for full screen fitted to it; variables Qt reads (QT_SCALE_FACTOR)
# reach the program.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$here/build/release}
program="$build/program"
[ -x "$program/torchwheel" ] || { echo "build the program first: scripts/setup.sh" >&2; exit 1; }

work=$(mktemp -d)
trap 'kill $pid $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
# shellcheck source=../scripts/xvfb.sh source-path=SCRIPTDIR
. "$here/scripts/xvfb.sh"
start_xvfb "$work" "${BENCH_SCREEN:-1280x1024}"
display=$DISPLAY xvfb=$XVFB_PID

mkdir -p "$work/config/Velvane"
settings=${BENCH_SETTINGS:-}
case $settings in *FullscreenMode=*) ;; *) settings="FullscreenMode=0\n$settings" ;; esac
printf '[General]\nSoundMode=0\nSplashScreen=0\n%b\n' "$settings" > "$work/config/Velvane/Qzorvalt50.conf"
trace="$work/trace.txt"
hz=$(getconf CLK_TCK)
cpu_ticks() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
now_ms() { date +%s%3N; }

start_program() {  # extra environment assignments
    rm -f "$trace"
    (cd "$program" && env DISPLAY="$display" XDG_CONFIG_HOME="$work/config" SDL_AUDIODRIVER=dummy \
      QT_QPA_PLATFORM=xcb TORCHWHEEL_TRACE="$trace" "$@" ./torchwheel) 2>/dev/null & pid=$!
    until grep -q '^first-paint' "$trace" 2>/dev/null; do sleep 0.01; done
}

start=$(now_ms)
start_program
painted=$(now_ms)
echo "start-up to first painted frame: $((painted - start)) ms (wall, from exec)"

key() { DISPLAY=$display xdotool key "$@"; }
ui_ns() { cut -d' ' -f1 "/proc/$pid/task/$pid/schedstat"; }  # the user-interface thread
measure_cpu() {  # seconds label
    local t0 c0 c1 u0 u1
    c0=$(cpu_ticks); u0=$(ui_ns); t0=$(now_ms); sleep "$1"; c1=$(cpu_ticks); u1=$(ui_ns)
    local ms=$(( $(now_ms) - t0 ))
    awk -v c=$((c1 - c0)) -v u=$((u1 - u0)) -v hz="$hz" -v ms="$ms" -v l="$2" 'BEGIN {
        printf "CPU %s: %.2f %% of one core (user-interface thread %.2f %%)\n",
               l, 100 * (c / hz) / (ms / 1000), 100 * (u / 1e6) / ms }'
}

key 5; sleep 0.3; key 3; sleep 1
measure_cpu 10 "idle in the clock, no gamepad"
: > "$trace.mark"; lines_before=$(wc -l < "$trace")
key 1
measure_cpu 60 "while a game runs (unattended, about a minute)"
echo "peak memory: $(awk '/VmHWM/ {print $2, $3}' "/proc/$pid/status")"

tail -n +"$((lines_before + 1))" "$trace" | awk '$1 == "fire" { print $4 - $3 }' | sort -n > "$work/late.txt"
n=$(wc -l < "$work/late.txt")
if [ "$n" -gt 0 ]; then
  median=$(awk -v n="$n" 'NR == int((n + 1) / 2) { print; exit }' "$work/late.txt")
  worst=$(tail -1 "$work/late.txt")
  echo "timer steps: $n, lateness median ${median} ms, worst ${worst} ms"
fi

# Every full-screen toggle reloads the skin; the pictures of the one it replaces must go.
rss() { awk '/VmRSS/ {print $2, $3}' "/proc/$pid/status"; }
key F12; sleep 0.5; after_one=$(rss)
for _ in $(seq 49); do key F12; sleep 0.2; done
sleep 0.5
echo "resident memory after 1 full-screen toggle: $after_one, after 50: $(rss)"

kill "$pid"; wait "$pid" 2>/dev/null || true
start_program TORCHWHEEL_VIRTUAL_GAMEPAD=1
# The pad lies still: after 10 s it is polled at its resting pace.
key 5; sleep 0.3; key 3; sleep 11
measure_cpu 10 "idle in the clock, one gamepad attached"

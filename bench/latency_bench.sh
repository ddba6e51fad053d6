#!/usr/bin/env bash
# What a player feels: key press to the changed segment on the screen, and key press to the sound
# leaving the program, on the real program with the default sound driver choice. The program runs
# on a private Xvfb and plays into a private PulseAudio server whose only sink is a null sink; the
# probe (bench/latency_probe.cpp) presses the arrows during a game, reads the juggler's pixels back
# from the X server and records the sink's monitor. Every sample but the step is replaced by
# silence in a copy of the program folder, so that the only sound a press can cause is the step.
# Usage: bench/latency_bench.sh [build-dir] [presses]    (default: build/release, 60)
# PULSE_LATENCY_MSEC in the environment is handed to the program (the server latency it asks for).
# BENCH_SERVER=pipewire runs PipeWire (with its PulseAudio front and WirePlumber) instead of
# PulseAudio; the program's default driver order then reaches it through SDL's pipewire driver.
# BENCH_FULLSCREEN=1 plays in full screen instead of the window. BENCH_BUSY=1 keeps one core busy
# with a loop of the benchmark's own, for at most ten minutes, stopped when the benchmark ends.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$here/build/release}
presses=${2:-60}

# The benchmark's own tools, not needed by the program or the tests.
server=${BENCH_SERVER:-pulseaudio}
extra=(pulseaudio)
[ "$server" = pipewire ] && extra=(pipewire pipewire-pulse wireplumber dbus)
# shellcheck source=../scripts/packages.sh
. "$here/scripts/packages.sh"
ensure_packages xvfb xdotool "${extra[@]}" pulseaudio-utils sox libxtst-dev libpulse-dev
cmake -S "$here" -B "$build" -DTORCHWHEEL_BENCH=ON >/dev/null  # run.sh leaves the benchmarks out
cmake --build "$build" -j"$(nproc)" --target torchwheel torchwheel_assets latency_probe >/dev/null

work=$(mktemp -d)
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$work"' EXIT

cp -r "$build/program" "$work/program"
for wav in "$work"/program/Sound/*.wav; do
    [ "$(basename "$wav")" = Step.wav ] && continue
    sox "$wav" "$work/silent.wav" vol 0 && mv "$work/silent.wav" "$wav"
done

# shellcheck source=../scripts/xvfb.sh source-path=SCRIPTDIR
. "$here/scripts/xvfb.sh"
start_xvfb "$work" 1280x1024
display=$DISPLAY
pids+=("$XVFB_PID")

export XDG_RUNTIME_DIR="$work/run" HOME="$work"
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
if [ "$server" = pipewire ]; then
    pipewire >/dev/null 2>&1 & pids+=($!)
    sleep 0.5
    pipewire-pulse >/dev/null 2>&1 & pids+=($!)
    dbus-run-session -- wireplumber >/dev/null 2>&1 & pids+=($!)
    for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
    pactl load-module module-null-sink sink_name=bench >/dev/null
    sleep 1
else
    pulseaudio -n --daemonize=no --log-level=debug --log-time=1 --exit-idle-time=-1 --system=no \
        -L module-native-protocol-unix -L "module-null-sink sink_name=bench" \
        --log-target=file:"$work/pulse.log" 2>/dev/null & pids+=($!)
    for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
fi
pactl set-default-sink bench

mkdir -p "$work/config/Velvane"
printf '[General]\nSoundMode=0\nSplashScreen=0\nFullscreenMode=%d\n' "${BENCH_FULLSCREEN:-0}" \
    > "$work/config/Velvane/Qzorvalt50.conf"
trace="$work/trace.txt"
(cd "$work/program" && DISPLAY=$display XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=xcb \
  TORCHWHEEL_TRACE="$trace" exec ./torchwheel) 2>/dev/null & pid=$!; pids+=($pid)
until grep -q '^first-paint' "$trace" 2>/dev/null; do sleep 0.05; done
sleep 0.5
if [ "${BENCH_BUSY:-0}" = 1 ]; then
    timeout 600 sh -c 'while :; do :; done' & pids+=($!)
fi
echo "server: $server, sound: $(pactl list sink-inputs | grep -o -E '(application.name|client.api|node.latency) = "[^"]*"' | tr '\n' ' ')" \
     "PULSE_LATENCY_MSEC: ${PULSE_LATENCY_MSEC:-none}"
echo "full screen: ${BENCH_FULLSCREEN:-0}, a core kept busy: ${BENCH_BUSY:-0}, load: $(cut -d' ' -f1-3 /proc/loadavg)"
DISPLAY=$display xdotool key 5
sleep 0.5

# The juggler's body at positions 1 and 2 (Image45 and Image53), on the screen; in full screen
# the device is centred in the window.
eval "$(DISPLAY=$display xdotool getwindowfocus getwindowgeometry --shell)"
rect() {
    awk -v s="[Image$1]" -v x="$X" -v y="$Y" -v ww="$WIDTH" -v wh="$HEIGHT" 'BEGIN { IGNORECASE = 1 }
        /^GameWidth=/ { gw = substr($0, 11) } /^GameHeight=/ { gh = substr($0, 12) }
        $0 == s { on = 1; next } /^\[/ { on = 0 }
        on && /^Left=/ { l = substr($0, 6) } on && /^Top=/ { t = substr($0, 5) }
        on && /^Width=/ { w = substr($0, 7) } on && /^Height=/ { h = substr($0, 8) }
        END { printf "%d,%d,%d,%d", x + int((ww - gw) / 2) + l, y + int((wh - gh) / 2) + t, w, h }
    ' "$work/program/Config.ini"
}
DISPLAY=$display "$build/bench/latency_probe" "$presses" "$(rect 45)" "$(rect 53)" bench.monitor \
    "$trace"
if [ "$server" = pulseaudio ]; then
    echo "underruns the server reported: $(grep -c "Implicit underrun" "$work/pulse.log" || true)"
    [ -z "${BENCH_LOG:-}" ] || cp "$work/pulse.log" "$BENCH_LOG"
else
    # The xruns of the program's stream and of the sink since they began (pw-top's ERR column),
    # read from the last screen pw-top draws on a terminal of its own.
    timeout 2 script -qfc pw-top /dev/null 2>/dev/null | sed 's/\x1b\[[0-9;?]*[a-zA-Z]/\n/g; s/\r//g' |
        awk '/^ *[RSIC] +[0-9]+ / && / Audio/ { stream = $9 } /^ *[RSIC] +[0-9]+ .* bench *$/ { sink = $9 }
             END { printf "xruns the server reported: stream %s, sink %s\n", stream, sink }' || true
fi

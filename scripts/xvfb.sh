# shellcheck shell=bash
# The one way to start a private X server, and helpers for running the program on it; sourced by
# the install test, scripts/screenshots.sh and the benchmarks that run the real program. Needs
# Xvfb, xdotool and ImageMagick's import.

# start_xvfb <work-dir> <width>x<height>: starts Xvfb on a free display (it picks one itself and
# reports it, so parallel runs never collide), sets DISPLAY and XVFB_PID.
start_xvfb() {
    local work=$1 size=$2 fdfile=$1/xvfb.display
    : >"$fdfile"
    # -br: a black root, so that see-through parts of a window show black, never the key colour
    Xvfb -displayfd 3 -screen 0 "${size}x24" -br -nolisten tcp 3>"$fdfile" >"$work/xvfb.log" 2>&1 &
    XVFB_PID=$!
    for _ in $(seq 100); do
        if [ -s "$fdfile" ]; then
            DISPLAY=:$(tr -d '[:space:]' <"$fdfile")
            export DISPLAY
            return 0
        fi
        kill -0 "$XVFB_PID" 2>/dev/null || break
        sleep 0.1
    done
    echo "Xvfb did not start:" >&2
    cat "$work/xvfb.log" >&2
    return 1
}

# stop_pid <pid>: asks a process to end, then insists after two seconds.
stop_pid() {
    local pid=$1
    kill "$pid" 2>/dev/null || return 0
    for _ in $(seq 20); do
        kill -0 "$pid" 2>/dev/null || return 0
        sleep 0.1
    done
    kill -9 "$pid" 2>/dev/null || true
}

# wait_for_device_window <pid> <seconds>: prints the id of the device window once it is mapped
# and placed on the screen (it stands off-screen until the simulator starts).
wait_for_device_window() {
    # shellcheck disable=SC2034  # WINDOW, HEIGHT, SCREEN: set by the eval, unused here
    local pid=$1 seconds=$2 id X Y WIDTH HEIGHT WINDOW SCREEN
    for _ in $(seq $((seconds * 4))); do
        kill -0 "$pid" 2>/dev/null || {
            echo "the program ended before its window appeared" >&2
            return 1
        }
        for id in $(xdotool search --onlyvisible --name '^Torchwheel \(' 2>/dev/null); do
            eval "$(xdotool getwindowgeometry --shell "$id")"
            if [ "$X" -ge 0 ] && [ "$Y" -ge 0 ] && [ "$WIDTH" -gt 1 ]; then
                echo "$id"
                return 0
            fi
        done
        sleep 0.25
    done
    echo "no device window on the screen after $seconds s" >&2
    return 1
}

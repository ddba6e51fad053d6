#!/usr/bin/env bash
# Takes the README's screenshots of the built program on a private X server, with settings of its
# own (the user's are not touched), and writes them to docs/screenshots/:
#   windowed-closed.png   the shaped window, device closed (see-through parts transparent)
#   fullscreen-all.png    full screen, the device opened: every segment lit (scaled down)
#   windowed-game-a.png   the shaped window during game A
#   lcd-plain.png, lcd-real.png   the screen during game A in the LCD looks "Plain" and "Real"
#   (10 %), cut out of the shaped window and shown at twice the size
# Usage: scripts/screenshots.sh [build-dir]   (default: build/release, built by scripts/test.sh)
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$here/build/release}
program=$build/program
out=$here/docs/screenshots
# shellcheck source=xvfb.sh source-path=SCRIPTDIR
. "$here/scripts/xvfb.sh"
[ -x "$program/torchwheel" ] || {
    echo "screenshots.sh: build the program first (scripts/test.sh or scripts/setup.sh)" >&2
    exit 1
}

work=$(mktemp -d "${TMPDIR:-/tmp}/torchwheel-shots.XXXXXX")
XVFB_PID="" app=""
cleanup() {
    [ -n "$app" ] && stop_pid "$app"
    [ -n "$XVFB_PID" ] && stop_pid "$XVFB_PID"
    rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$out" "$work/config/Velvane" "$work/runtime"
chmod 700 "$work/runtime"
start_xvfb "$work" 1280x800

# start <fullscreen 0|1> [LCD look 0|1]: starts the program from its folder with a fresh store,
# straight into the closed device, and focuses its window (there is no window manager to do it).
start() {
    printf '[General]\nSoundMode=2\nSplashScreen=0\nFullscreenMode=%s\nLcdLook=%s\n' "$1" \
        "${2:-0}" >"$work/config/Velvane/Qzorvalt50.conf"
    (
        cd "$program"
        exec env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY XDG_CONFIG_HOME="$work/config" \
            XDG_RUNTIME_DIR="$work/runtime" SDL_AUDIODRIVER=dummy ./torchwheel
    ) >"$work/program.log" 2>&1 &
    app=$!
    window=$(wait_for_device_window "$app" 30)
    eval "$(xdotool getwindowgeometry --shell "$window")"
    xdotool windowfocus --sync "$window"
    sleep 1
}
stop() {
    stop_pid "$app"
    app=""
}
press() {
    xdotool keydown "$1"
    sleep 0.2
    xdotool keyup "$1"
}
set_root() {
    convert -size 16x16 "xc:$1" "$work/root.png"
    display -window root "$work/root.png" 2>/dev/null || true
}

# 256 colours without dithering keep the pictures small enough for a repository.
small=(-strip -dither None -colors 256)

# outline: what differs between the window over a black and over a white desktop is see-through.
# Taken on the closed device (nothing moves); the opened device has the same outline.
outline() {
    local crop="${WIDTH}x${HEIGHT}+$X+$Y"
    set_root white
    import -window root -crop "$crop" +repage "$work/on-white.png"
    set_root black
    import -window root -crop "$crop" +repage "$work/on-black.png"
    convert "$work/on-black.png" "$work/on-white.png" -compose difference -composite \
        -colorspace gray -threshold 0 -negate "$work/outline.png"
}
# shaped <name>: the window over a black desktop, its see-through parts made transparent.
shaped() {
    import -window root -crop "${WIDTH}x${HEIGHT}+$X+$Y" +repage "$work/shot.png"
    convert "$work/shot.png" "$work/outline.png" -alpha off -compose copy_opacity -composite \
        "${small[@]}" "PNG8:$out/$1.png"
}

# play: opens the device and plays game A for a few steps.
play() {
    press 5 # ACL opens the closed device
    sleep 1
    press 1 # GAME A: the start sequence, then the game
    sleep 5
    press Right
    sleep 0.6
}
# screen <name>: the LCD of the default skin, at twice its size without smoothing.
screen() {
    import -window root -crop 420x300+$((X + 180))+$((Y + 52)) +repage "$work/lcd.png"
    convert "$work/lcd.png" -filter point -resize 200% "${small[@]}" "PNG8:$out/$1.png"
}

start 0
outline
shaped windowed-closed
play
shaped windowed-game-a
screen lcd-plain
stop

start 0 1
play
screen lcd-real
stop

start 1
press 5
sleep 1
import -window root "$work/screen.png"
convert "$work/screen.png" -resize 50% "${small[@]}" "PNG8:$out/fullscreen-all.png"
stop
ls -l "$out"

#!/usr/bin/env bash
# Starts the real program under Xvfb on hostile skins, sample folders and settings files, and
# reports for each how long it took until a window of the program (the device or a message) was
# on the screen, and the peak memory of the run. Goal: a few seconds and well under 1 GB each.
# Usage: [CASES="..."] bench/hostile_bench.sh [build-dir]   (default: build/release)
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-$here/build/release}
program="$build/program"
[ -x "$program/torchwheel" ] || { echo "build the program first: scripts/setup.sh" >&2; exit 1; }
command -v /usr/bin/time >/dev/null || { echo "needs /usr/bin/time (package time)" >&2; exit 1; }

work=$(mktemp -d)
xvfb= pid=
# An interrupted run must not leave the program of the current case behind.
trap '[ -n "$pid" ] && kill -KILL "$pid" 2>/dev/null; [ -n "$xvfb" ] && kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
# shellcheck source=../scripts/xvfb.sh source-path=SCRIPTDIR
. "$here/scripts/xvfb.sh"
start_xvfb "$work" 1920x1080
display=$DISPLAY xvfb=$XVFB_PID

# An 8-bit run-length bitmap of a few bytes a row.
rle_bmp() {  # file width height
    python3 - "$@" <<'EOF'
import struct, sys
path, w, h = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
row = bytearray([1, 0])
left = w - 1
while left > 0:
    row += bytes([min(left, 255), 1]); left -= 255
data = bytes(row + b"\0\0") * h + b"\0\1"
pal = bytes([0, 0, 0, 0, 10, 40, 200, 0])
off = 14 + 40 + len(pal)
hdr = b"BM" + struct.pack("<IHHI", off + len(data), 0, 0, off)
hdr += struct.pack("<IiiHHIIiiII", 40, w, h, 1, 8, 1, len(data), 2835, 2835, 2, 0)
open(path, "wb").write(hdr + pal + data)
EOF
}
# Whether a window of the process is on the screen: the device window stands off-screen until the
# simulator has started, and a message box stands in the middle of the screen.
on_screen() {  # pid
    local w
    for w in $(DISPLAY=$display xdotool search --onlyvisible --pid "$1" 2>/dev/null); do
        DISPLAY=$display xdotool getwindowgeometry "$w" |
            awk '/Position/ { split($2, p, ","); exit !(p[1] >= 0 && p[2] >= 0) }' && return 0
    done
    return 1
}
set_key() {  # key value: every line "key=..." of Config.ini
    sed -i "s/^$1=.*/$1=$2/" Config.ini
}

case_setup() {  # name: prepares the current folder (a copy of the program folder) and settings
    case $1 in
    step-fifo) rm Sound/Step.wav; mkfifo Sound/Step.wav ;;
    step-dev-zero) ln -sf /dev/zero Sound/Step.wav ;;
    step-1GB) truncate -s 1G Sound/Step.wav ;;
    all-samples-sparse-1GB) for f in Sound/*.wav; do truncate -s 1G "$f"; done ;;
    rle-2048-everywhere) rle_bmp Graphics/Skin/big.bmp 2048 2048; set_key Filename big.bmp ;;
    rle-8192-everywhere) rle_bmp Graphics/Skin/big.bmp 8192 8192; set_key Filename big.bmp ;;
    picture-at-limit-beside-skin)
        rle_bmp Graphics/Skin/limit.bmp 4096 4096
        sed -i '0,/^Filename=.*/s//Filename=limit.bmp/' Config.ini ;;
    budget-filled)  # three pictures at the per-picture limit: more than one load may hold
        for n in 1 2 3; do rle_bmp Graphics/Skin/limit$n.bmp 4096 4096; done
        for n in 1 2 3; do sed -i "0,/^Filename=im_/s//Filename=limit$n.bmp\n;im_/" Config.ini; done ;;
    backdrop-4K-fullscreen)
        rle_bmp Graphics/Backdrop/4k.bmp 3840 2160; set_key BackdropFile 4k.bmp
        sed -i 's/^FullscreenMode=0/FullscreenMode=1/' "$settings" ;;
    game-size-30000) set_key GameWidth 30000; set_key GameHeight 30000 ;;
    game-size-2^24) set_key GameWidth 16777216; set_key GameHeight 16777216 ;;
    manual-size-2^24) set_key ManualWidth 16777216; set_key ManualHeight 16777216 ;;
    settings-10MB-line) head -c 10485760 /dev/zero | tr '\0' j | sed 's/^/junk=/' >> "$settings" ;;
    config-2MB) { echo ";"; head -c 2097152 /dev/zero | tr '\0' ';'; echo; } >> Config.ini ;;
    esac
}

printf '%-30s %12s %12s\n' case "window (ms)" "peak (MB)"
all="step-fifo step-dev-zero step-1GB all-samples-sparse-1GB rle-2048-everywhere rle-8192-everywhere
    picture-at-limit-beside-skin budget-filled backdrop-4K-fullscreen game-size-30000 game-size-2^24
    manual-size-2^24 settings-10MB-line config-2MB"
for name in ${CASES:-$all}; do  # CASES: some of these only
    run="$work/$name"
    cp -a "$program" "$run"
    mkdir -p "$run/config/Velvane"
    settings="$run/config/Velvane/Qzorvalt50.conf"
    printf '[General]\nSoundMode=0\nSplashScreen=0\nFullscreenMode=0\n' > "$settings"
    (cd "$run" && case_setup "$name")
    start=$(date +%s%3N)
    (cd "$run" && DISPLAY=$display XDG_CONFIG_HOME="$run/config" SDL_AUDIODRIVER=dummy \
        QT_QPA_PLATFORM=xcb exec /usr/bin/time -v -o "$run/time.txt" ./torchwheel) \
        >/dev/null 2>&1 & timer=$!
    shown=
    for _ in $(seq 300); do  # up to 30 s
        pid=$(pgrep -P "$timer" -x torchwheel || true)
        if [ -n "$pid" ] && on_screen "$pid"; then shown=$(( $(date +%s%3N) - start )); break; fi
        sleep 0.1
    done
    sleep 2  # the peak of the settled program, not only of its start
    [ -n "$pid" ] && kill -KILL "$pid" 2>/dev/null || true
    wait "$timer" 2>/dev/null || true
    pid=
    peak=$(awk -F': ' '/Maximum resident/ { printf "%.0f", $2 / 1024 }' "$run/time.txt")
    printf '%-30s %12s %12s\n' "$name" "${shown:-none in 30 s}" "$peak"
    rm -rf "$run"
done

#!/usr/bin/env bash
# Installs the built program to temporary prefixes and uses it the way a user would: validates
# the desktop files, uninstalls, and starts a moved installation through a symbolic link from
# another working directory on its own X server, then judges a screenshot of the device. Also
# builds the Debian package and checks what it holds and depends on.
#   install_test.sh <build-dir> <source-dir> <skin_preview> <screenshot_check>
set -euo pipefail
build=$1 source=$2 preview=$3 check=$4
id=org.example.Torchwheel
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=../../scripts/xvfb.sh source-path=SCRIPTDIR
. "$here/../../scripts/xvfb.sh"

work=$(mktemp -d "${TMPDIR:-/tmp}/torchwheel-install.XXXXXX")
manifest=$build/install_manifest.txt
XVFB_PID="" app=""
# The test's own installs must not replace the manifest of the user's real one.
[ -f "$manifest" ] && cp -p "$manifest" "$work/user-manifest.txt"
cleanup() {
    [ -n "$app" ] && stop_pid "$app"
    [ -n "$XVFB_PID" ] && stop_pid "$XVFB_PID"
    if [ -f "$work/user-manifest.txt" ]; then cp -p "$work/user-manifest.txt" "$manifest"; else rm -f "$manifest"; fi
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
install_to() {
    cmake --install "$build" --prefix "$1" >"$work/install.log" 2>&1 || {
        cat "$work/install.log" >&2
        fail "cmake --install to $1"
    }
}
validate() {
    desktop-file-validate "$1/share/applications/$id.desktop" || fail "desktop entry under $1"
    appstreamcli validate --no-net "$1/share/metainfo/$id.metainfo.xml" || fail "metainfo under $1"
}

# --- a prefix with a blank: the desktop entry quotes the launcher's path ---
spaced="$work/spaced prefix"
install_to "$spaced"
validate "$spaced"
exec_line=$(grep '^Exec=' "$spaced/share/applications/$id.desktop")
[ "$exec_line" = "Exec=\"$spaced/bin/torchwheel\"" ] || fail "desktop entry runs $exec_line"

# --- layout of a plain prefix ---
prefix=$work/prefix
install_to "$prefix"
validate "$prefix"
program=$prefix/lib/torchwheel
for f in lib/torchwheel/Config.ini lib/torchwheel/Readme.txt lib/torchwheel/Whatsnew.txt \
    lib/torchwheel/Sound/Beep1.wav lib/torchwheel/Graphics/Manual/12.bmp \
    share/icons/hicolor/scalable/apps/$id.svg share/doc/torchwheel/copyright; do
    [ -f "$prefix/$f" ] || fail "$f is not installed"
done
[ -x "$prefix/bin/torchwheel" ] || fail "no launcher in bin/"
[ -x "$program/torchwheel" ] || fail "the binary is not in the program folder"
[ "$(find "$program/Sound" -name '*.wav' | wc -l)" -eq 11 ] || fail "the Sound folder does not hold the 11 samples"
grep -qx "Exec=$prefix/bin/torchwheel" "$prefix/share/applications/$id.desktop" ||
    fail "the desktop entry does not run the installed launcher"
grep -qx "Icon=$id" "$prefix/share/applications/$id.desktop" || fail "desktop entry icon name"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" \
    "$prefix/share/metainfo/$id.metainfo.xml" || fail "metainfo does not name the desktop entry"
pngs=0
for icon in "$prefix"/share/icons/hicolor/*x*/apps/"$id".png; do
    [ -f "$icon" ] || continue
    size=$(basename "$(dirname "$(dirname "$icon")")")
    [ "$(identify -format '%wx%h' "$icon")" = "$size" ] || fail "$icon is not $size"
    pngs=$((pngs + 1))
done
[ "$pngs" -ge 2 ] || fail "only $pngs PNG icon sizes installed"

# --- uninstall leaves nothing of the program behind ---
cp "$manifest" "$work/manifest.txt"
"$source/packaging/uninstall.sh" "$work/manifest.txt" >/dev/null
left=$(find "$prefix" -type f)
[ -z "$left" ] || fail "uninstall left files behind: $left"
[ ! -e "$program" ] || fail "uninstall left the program folder"

# --- the Debian package: what it installs, and Depends from the binary's libraries ---
cpack --config "$build/CPackConfig.cmake" -B "$work/deb" >"$work/cpack.log" 2>&1 || {
    cat "$work/cpack.log" >&2
    fail "cpack could not build the Debian package"
}
deb=$(echo "$work"/deb/torchwheel_*.deb)
[ -f "$deb" ] || fail "cpack made no torchwheel_*.deb"
dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|; s|/$||' >"$work/deb-files.txt"
# whatever the umask of the build: folders rwxr-xr-x, everything owned by root
odd=$(dpkg-deb -c "$deb" | awk '($1 ~ /^d/ && $1 != "drwxr-xr-x") || $2 != "root/root"')
[ -z "$odd" ] || fail "the package has odd folder modes or owners: $odd"
for f in /usr/games/torchwheel /usr/lib/torchwheel/torchwheel /usr/lib/torchwheel/Config.ini \
    /usr/lib/torchwheel/Graphics/Manual/12.bmp /usr/share/applications/$id.desktop \
    /usr/share/metainfo/$id.metainfo.xml /usr/share/icons/hicolor/scalable/apps/$id.svg \
    /usr/share/icons/hicolor/48x48/apps/$id.png /usr/share/doc/torchwheel/copyright \
    /usr/share/doc/torchwheel/changelog.gz /usr/share/man/man6/torchwheel.6.gz; do
    grep -qxF "$f" "$work/deb-files.txt" || fail "the package lacks $f"
done
[ "$(grep -c '^/usr/lib/torchwheel/Sound/.*\.wav$' "$work/deb-files.txt")" -eq 11 ] ||
    fail "the package does not hold the 11 samples"
outside=$(grep -v '^/usr\(/\|$\)' "$work/deb-files.txt" || true)
[ -z "$outside" ] || fail "the package installs outside /usr: $outside"
mkdir "$work/unpacked"
dpkg-deb -x "$deb" "$work/unpacked"
grep -qx 'Exec=/usr/games/torchwheel' "$work/unpacked/usr/share/applications/$id.desktop" ||
    fail "the package's menu entry does not run /usr/games/torchwheel"
file "$work/unpacked/usr/lib/torchwheel/torchwheel" | grep -q ', stripped' ||
    fail "the packaged binary is not stripped"
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6widgets6 libqt6gui6 libsdl2-mixer-2.0-0 libsdl2-2.0-0 libpng16-16 libjpeg \
    fonts-liberation2; do
    [[ $depends == *"$lib"* ]] || fail "Depends lacks $lib: $depends"
done
[[ $depends != *-dev* ]] || fail "Depends names development packages: $depends"
if command -v lintian >/dev/null; then
    # errors fail the test; warnings are only shown
    lintian --fail-on error "$deb" >&2 || fail "lintian reports errors"
fi

# --- a moved installation, started through a link from another working directory ---
moved="$work/moved prefix"
mv "$spaced" "$moved"
mkdir -p "$work/elsewhere" "$work/home/bin" "$work/config/Velvane" "$work/runtime"
chmod 700 "$work/runtime"
ln -s "$moved/bin/torchwheel" "$work/home/bin/torchwheel"
# windowed, straight into the closed device: a stored driver and no splash screen
printf '[General]\nSoundMode=2\nSplashScreen=0\nFullscreenMode=0\n' \
    >"$work/config/Velvane/Qzorvalt50.conf"
find "$moved/lib/torchwheel" | sort >"$work/program-before.txt"

start_xvfb "$work" 1280x800 || fail "no X server"
(
    cd "$work/elsewhere"
    exec env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY -u XDG_SESSION_TYPE HOME="$work/home" \
        XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" SDL_AUDIODRIVER=dummy \
        "$work/home/bin/torchwheel"
) >"$work/program.log" 2>&1 &
app=$!
window=$(wait_for_device_window "$app" 60) || {
    cat "$work/program.log" >&2
    fail "the installed program shows no device window"
}
eval "$(xdotool getwindowgeometry --shell "$window")"

"$preview" "$moved/lib/torchwheel" "$work/reference.png" closed >/dev/null 2>&1 ||
    fail "skin_preview could not compose the default skin"
[ "$(identify -format '%wx%h' "$work/reference.png")" = "${WIDTH}x$HEIGHT" ] ||
    fail "the window is ${WIDTH}x$HEIGHT, not the default skin's game area"
# The first frames may still be on their way: look again for a few seconds before judging.
passed=no
for _ in $(seq 20); do
    import -window root "$work/screen.png"
    if "$check" "$work/screen.png" "$work/reference.png" "$X" "$Y" 2>"$work/check.log"; then
        passed=yes
        break
    fi
    sleep 0.5
done
if [ "$passed" != yes ]; then
    cp "$work/screen.png" "$PWD/install_test_failure.png" 2>/dev/null || true
    cat "$work/check.log" "$work/program.log" >&2
    fail "the device window does not show the default skin (screenshot: $PWD/install_test_failure.png)"
fi
cat "$work/check.log"

kill -0 "$app" 2>/dev/null || fail "the program ended on its own"
stop_pid "$app"
app=""
grep -qx 'Key1=2' "$work/config/Velvane/Qzorvalt50.conf" ||
    fail "the settings were not kept in \$XDG_CONFIG_HOME/Velvane/Qzorvalt50.conf"
find "$moved/lib/torchwheel" | sort | cmp -s - "$work/program-before.txt" ||
    fail "the program wrote into its program folder"
echo "installed, validated, uninstalled, and started from a moved prefix: ok"

#!/usr/bin/env bash
# The desktop entry names the launcher by its full path; a prefix with blanks, quotes, $, \, `
# or % must still give an Exec line that desktop environments split back into that one path.
#   desktop_entry_test.sh <source-dir>
# shellcheck disable=SC2016  # the $ and ` in the test paths are meant literally
set -euo pipefail
source=$1
work=$(mktemp -d "${TMPDIR:-/tmp}/torchwheel-desktop.XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# write_entry <launcher path>: writes the entry as an install would
write_entry() {
    rm -rf "$work/out"
    cmake -DTORCHWHEEL_APP_ID=org.example.Torchwheel \
        -DTORCHWHEEL_DESKTOP_TEMPLATE="$source/packaging/org.example.Torchwheel.desktop.in" \
        -DTORCHWHEEL_DESKTOP_STAGING="$work/stage" -DTORCHWHEEL_LAUNCHER="$1" \
        -DTORCHWHEEL_APPLICATIONS_DIR="$work/out" \
        -P "$source/packaging/desktop_entry.cmake" >/dev/null 2>&1
}
# entry_for <launcher path>: writes and validates the entry, prints its file name
entry_for() {
    write_entry "$1" || fail "no entry written for $1"
    local entry=$work/out/org.example.Torchwheel.desktop
    desktop-file-validate "$entry" || fail "invalid entry for $1"
    echo "$entry"
}

# A plain path is written as it is.
entry=$(entry_for /opt/games/bin/torchwheel)
grep -qx 'Exec=/opt/games/bin/torchwheel' "$entry" || fail "plain path: $(grep ^Exec "$entry")"

# Reserved characters: the argument is quoted, ", `, $ and \ are escaped inside the quotes, and
# then every \ once more as the value is a string; % is doubled as it starts field codes.
entry=$(entry_for '/home/a b/$x "q" 50%/c\d/`e`/bin/torchwheel')
expected='Exec="/home/a b/\\$x \\"q\\" 50%%/c\\\\d/\\`e\\`/bin/torchwheel"'
[ "$(grep '^Exec=' "$entry")" = "$expected" ] || fail "quoted path: $(grep ^Exec "$entry")"
# TryExec is a plain string: only \ is escaped.
expected='TryExec=/home/a b/$x "q" 50%/c\\d/`e`/bin/torchwheel'
[ "$(grep '^TryExec=' "$entry")" = "$expected" ] || fail "TryExec: $(grep ^TryExec "$entry")"

# A line break cannot be written into an entry at all: the install stops instead.
if write_entry "$(printf '/a\nb/torchwheel')"; then
    fail "a launcher path with a line break was accepted"
fi
[ ! -e "$work/out" ] || fail "an entry was written for a launcher path with a line break"
echo "desktop entry quoting: ok"

# shellcheck shell=bash
# Sourced by the set-up scripts. ensure_packages <name>...: installs those of the named Debian
# packages that are not installed yet, with sudo unless root. When all of them are there it
# touches neither apt nor sudo, so a second run needs no password and no network. The names must
# be real packages: dpkg never reports a virtual one as installed.
ensure_packages() {
    local missing=() p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -gt 0 ] || return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        command -v sudo >/dev/null || {
            echo "Installing needs root or sudo; as root: apt-get install ${missing[*]}" >&2
            return 1
        }
        sudo=(sudo)
    fi
    "${sudo[@]}" apt-get update -qq
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
        -o DPkg::Lock::Timeout=600 "${missing[@]}"
}

# configure <preset> <build-dir> [cache-line-regex]: configures the folder from a preset of
# CMakePresets.json unless it already is configured, and again when its cache has a line that
# matches the regex (a setting that must change, e.g. the tests switched off by the run command).
configure() {
    local preset=$1 build=$2 stale=${3:-}
    if [ -f "$build/CMakeCache.txt" ] && { [ -z "$stale" ] || ! grep -qE "$stale" "$build/CMakeCache.txt"; }; then
        return 0
    fi
    cmake -S "$(dirname "${BASH_SOURCE[0]}")/.." --preset "$preset" -B "$build"
}

# The Qt tests draw without a screen; SDL plays into nothing unless told otherwise.
headless() {
    export QT_QPA_PLATFORM=offscreen
    export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
}

#!/usr/bin/env bash
# Removes what `cmake --install` put in place, as listed in the build folder's
# install_manifest.txt, then the folders of the program folder and of its documents that are
# left empty. Folders shared with other programs (bin/, share/applications/, the icon theme) are
# left alone.
#   packaging/uninstall.sh <build-dir>|<install_manifest.txt>
set -euo pipefail
manifest=${1:?usage: uninstall.sh <build-dir>|<install_manifest.txt>}
[ -d "$manifest" ] && manifest=$manifest/install_manifest.txt
[ -f "$manifest" ] || {
    echo "uninstall.sh: no $manifest (nothing was installed from this build folder)" >&2
    exit 1
}

in_program_folder() {
    case $1 in
    */lib/torchwheel | */lib/torchwheel/* | */share/doc/torchwheel) return 0 ;;
    esac
    return 1
}

program_dirs=()
while IFS= read -r file || [ -n "$file" ]; do
    [ -n "$file" ] || continue
    if [ -e "$file" ] || [ -L "$file" ]; then
        rm -f -- "$file"
        echo "removed $file"
    fi
    if in_program_folder "${file%/*}"; then program_dirs+=("${file%/*}"); fi
done <"$manifest"

# Deepest first, up to and including the program folder and the documents folder.
if [ ${#program_dirs[@]} -gt 0 ]; then
    printf '%s\n' "${program_dirs[@]}" | sort -u -r | while IFS= read -r dir; do
        while in_program_folder "$dir" && rmdir -- "$dir" 2>/dev/null; do
            if [[ $dir == */lib/torchwheel || $dir == */share/doc/torchwheel ]]; then break; fi
            dir=${dir%/*}
        done
    done
fi

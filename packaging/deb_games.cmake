# Run by CPack on the staged files of the Debian package, before they are packed: Debian keeps
# the commands of games in /usr/games, so the launcher moves there and the menu entry is written
# again to name it. The launcher finds the program folder from its own place, so it needs no
# change.
set(usr "${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")
file(MAKE_DIRECTORY "${usr}/games")
file(CHMOD "${usr}/games" PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
     GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
file(RENAME "${usr}/bin/torchwheel" "${usr}/games/torchwheel")
file(REMOVE_RECURSE "${usr}/bin")

set(TORCHWHEEL_APP_ID "${CPACK_TORCHWHEEL_APP_ID}")
set(TORCHWHEEL_DESKTOP_TEMPLATE "${CPACK_TORCHWHEEL_PACKAGING}/${TORCHWHEEL_APP_ID}.desktop.in")
set(TORCHWHEEL_DESKTOP_STAGING "${CPACK_TOPLEVEL_DIRECTORY}/desktop")
set(TORCHWHEEL_LAUNCHER "${CPACK_PACKAGING_INSTALL_PREFIX}/games/torchwheel")
set(TORCHWHEEL_APPLICATIONS_DIR "${usr}/share/applications")
# The paths above are already inside the staging folder. The entry written by the install goes
# first: file(INSTALL) would keep it if both were written within the same second.
unset(ENV{DESTDIR})
file(REMOVE "${TORCHWHEEL_APPLICATIONS_DIR}/${TORCHWHEEL_APP_ID}.desktop")
include("${CPACK_TORCHWHEEL_PACKAGING}/desktop_entry.cmake")

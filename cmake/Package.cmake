# A Debian package of what `cmake --install` puts in place, under /usr:
#   cpack --config <build>/CPackConfig.cmake   (scripts/package.sh does it with its checks)
# Depends is worked out by dpkg-shlibdeps from the libraries the binary links, plus what the
# program needs but does not link.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME torchwheel)
set(CPACK_PACKAGE_VENDOR Velvane)
set(CPACK_PACKAGE_CONTACT "Torchwheel Simulator developers <torchwheel@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "simulator of the Torchwheel handheld LCD game")
# Lines of the extended description stay under 80 characters, as Debian wants.
set(CPACK_PACKAGE_DESCRIPTION
    "A juggler on a unicycle keeps three torches in the air while burning drops
run along two rows above him. The simulator shows a photograph-like picture of
the device whose screen, like the real LCD, only switches pre-drawn segments on
and off, driven by timers as the device's firmware would. Game A, game B, their
high scores, chance time and the clock are there; the keys are yours to choose,
and every picture comes from an editable skin.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_PREFIX /usr)
# The desktop entry is written at install time with the launcher's final path: install with
# DESTDIR into the staging folder so that the prefix seen then is /usr.
set(CPACK_SET_DESTDIR ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://example.org/sim/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The dialogs' "Arial" (metric-compatible Liberation Sans) is looked up by name, not linked.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2 | fonts-liberation")
# Qt's Wayland platform, loaded at run time: needed on a Wayland desktop without XWayland.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-wayland)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Folders as Debian wants them whatever the umask of whoever builds (often 002 for users).
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
    GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
# The launcher goes to /usr/games, as in every Debian game (section "games").
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/packaging/deb_games.cmake)
set(CPACK_TORCHWHEEL_APP_ID ${TORCHWHEEL_APP_ID})
set(CPACK_TORCHWHEEL_PACKAGING ${PROJECT_SOURCE_DIR}/packaging)
include(CPack)

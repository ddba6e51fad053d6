# Runs at install time (included from an install(CODE) block): writes the desktop entry with the
# absolute path of the installed launcher, then installs it. The path is only known now, since
# `cmake --install --prefix` may choose another prefix than the one configured. An absolute Exec
# keeps the menu entry working after a first install to ~/.local, when ~/.local/bin is not yet
# on the session's PATH.
#
# In:  TORCHWHEEL_APP_ID, TORCHWHEEL_DESKTOP_TEMPLATE, TORCHWHEEL_DESKTOP_STAGING (a build folder),
#      TORCHWHEEL_LAUNCHER (absolute path of the installed launcher), TORCHWHEEL_APPLICATIONS_DIR.

if(TORCHWHEEL_LAUNCHER MATCHES "[\n\r\t]")
    message(FATAL_ERROR "The launcher path cannot go into a desktop entry: ${TORCHWHEEL_LAUNCHER}")
endif()

# Exec is a command line: an argument with a reserved character is quoted, and inside the quotes
# ", `, $ and \ are escaped. Every value then escapes \ once more as a string, and % is a field
# code prefix.
set(exec "${TORCHWHEEL_LAUNCHER}")
string(REPLACE "%" "%%" exec "${exec}")
if(exec MATCHES "[] \"'\\\\<>~|&;$*?#()`[]")
    string(REPLACE "\\" "\\\\" exec "${exec}")
    string(REPLACE "\"" "\\\"" exec "${exec}")
    string(REPLACE "`" "\\`" exec "${exec}")
    string(REPLACE "$" "\\$" exec "${exec}")
    set(exec "\"${exec}\"")
endif()
string(REPLACE "\\" "\\\\" exec "${exec}")
string(REPLACE "\\" "\\\\" tryexec "${TORCHWHEEL_LAUNCHER}")

set(TORCHWHEEL_DESKTOP_EXEC "${exec}")
set(TORCHWHEEL_DESKTOP_TRYEXEC "${tryexec}")
set(staged "${TORCHWHEEL_DESKTOP_STAGING}/${TORCHWHEEL_APP_ID}.desktop")
configure_file("${TORCHWHEEL_DESKTOP_TEMPLATE}" "${staged}" @ONLY)
# file(INSTALL) honours DESTDIR and records the file in install_manifest.txt.
file(INSTALL DESTINATION "${TORCHWHEEL_APPLICATIONS_DIR}" TYPE FILE FILES "${staged}")

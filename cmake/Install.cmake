# Installing like a desktop program.
#
#   <prefix>/lib/torchwheel/         the program folder as built: the binary beside Config.ini,
#                                    Graphics/, Sound/ and the documents. It stays in one piece
#                                    because Config.ini is looked up beside the program file and
#                                    the pictures and samples below the working directory; it is
#                                    under lib/ because it holds a binary (never in share/).
#   <prefix>/bin/torchwheel          a launcher that changes into that folder and starts the binary
#   <prefix>/share/applications/     desktop entry
#   <prefix>/share/metainfo/         AppStream metainfo
#   <prefix>/share/icons/hicolor/    icons, PNG sizes and scalable SVG
#   <prefix>/share/doc/torchwheel/   copyright and changelog, as a Debian package has them
#
# Everything installed is listed in install_manifest.txt; packaging/uninstall.sh removes it.
include(GNUInstallDirs)

set(TORCHWHEEL_APP_ID org.example.Torchwheel)
# Plain lib/, not the multiarch CMAKE_INSTALL_LIBDIR: the folder is the program's own.
set(TORCHWHEEL_INSTALL_PROGRAM_DIR lib/torchwheel)
set(_packaging ${PROJECT_SOURCE_DIR}/packaging)
set(_staging ${CMAKE_BINARY_DIR}/packaging)

# --- program folder ---
# Qt's project setup asks for an $ORIGIN-relative install RPATH, but the binary links only system
# libraries and the build leaves no RPATH entry to rewrite, which makes the install fail.
set_target_properties(torchwheel PROPERTIES INSTALL_RPATH "")
install(TARGETS torchwheel RUNTIME DESTINATION ${TORCHWHEEL_INSTALL_PROGRAM_DIR})
# The folder's content is produced by the assets target; copying the folder takes whatever
# documents and pictures it holds without a second list of them here.
install(DIRECTORY ${TORCHWHEEL_PROGRAM_DIR}/ DESTINATION ${TORCHWHEEL_INSTALL_PROGRAM_DIR}
        PATTERN torchwheel EXCLUDE)

# --- launcher ---
# With relative install folders the launcher finds the program folder from its own place, so a
# prefix that is moved after installing still works; absolute folders are written as they are.
if(IS_ABSOLUTE "${CMAKE_INSTALL_BINDIR}")
    string(REPLACE "'" "'\\''" _quoted "${CMAKE_INSTALL_PREFIX}/${TORCHWHEEL_INSTALL_PROGRAM_DIR}")
    set(TORCHWHEEL_LAUNCHER_PROGRAM_DIR "'${_quoted}'")
else()
    file(RELATIVE_PATH _relative /prefix/${CMAKE_INSTALL_BINDIR}
         /prefix/${TORCHWHEEL_INSTALL_PROGRAM_DIR})
    set(TORCHWHEEL_LAUNCHER_PROGRAM_DIR "\"$bindir/${_relative}\"")
endif()
configure_file(${_packaging}/torchwheel.in ${_staging}/torchwheel @ONLY)
install(PROGRAMS ${_staging}/torchwheel DESTINATION ${CMAKE_INSTALL_BINDIR})

# --- desktop entry (written at install time, when the final prefix is known) ---
if(IS_ABSOLUTE "${CMAKE_INSTALL_BINDIR}")
    set(_launcher "${CMAKE_INSTALL_BINDIR}/torchwheel")
else()
    set(_launcher "\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/torchwheel")
endif()
if(IS_ABSOLUTE "${CMAKE_INSTALL_DATADIR}")
    set(_applications "${CMAKE_INSTALL_DATADIR}/applications")
else()
    set(_applications "\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/applications")
endif()
install(CODE "
    set(TORCHWHEEL_APP_ID \"${TORCHWHEEL_APP_ID}\")
    set(TORCHWHEEL_DESKTOP_TEMPLATE \"${_packaging}/org.example.Torchwheel.desktop.in\")
    set(TORCHWHEEL_DESKTOP_STAGING \"${_staging}/at-install\")
    set(TORCHWHEEL_LAUNCHER \"${_launcher}\")
    set(TORCHWHEEL_APPLICATIONS_DIR \"${_applications}\")
    include(\"${_packaging}/desktop_entry.cmake\")
")

# --- AppStream metainfo ---
configure_file(${_packaging}/org.example.Torchwheel.metainfo.xml.in
               ${_staging}/${TORCHWHEEL_APP_ID}.metainfo.xml @ONLY)
install(FILES ${_staging}/${TORCHWHEEL_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# --- icons ---
# Rendered by the assets target (torchwheel_icons): PNG sizes and the scalable drawing.
install(DIRECTORY ${CMAKE_BINARY_DIR}/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons
        OPTIONAL)

# --- copyright, changelog and manual page ---
# Compressed as Debian wants them (gzip -9n: no name, no time). Written when configuring, so
# that an install needs no build target beyond the program.
foreach(_doc changelog torchwheel.6)
  configure_file(${_packaging}/${_doc}.in ${_staging}/${_doc} @ONLY)
  execute_process(COMMAND gzip -9nc ${_staging}/${_doc} OUTPUT_FILE ${_staging}/${_doc}.gz
                  COMMAND_ERROR_IS_FATAL ANY)
endforeach()
install(FILES ${_packaging}/copyright ${_staging}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${_staging}/torchwheel.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

include(${CMAKE_CURRENT_LIST_DIR}/Package.cmake)

# Installing the game into a standard layout (any prefix, any DESTDIR):
#
#   bin/                          morvane, morvane-solve, morvane-drive
#   lib/morvane/                  morvane_sound.so, the cues' sound module,
#                                 loaded by the game from ../lib/morvane
#   share/morvane/                the WAV cues and Morvane.chm, found by the
#                                 game as ../share/morvane from its program
#   share/applications/           APP_ID.desktop
#   share/metainfo/               APP_ID.metainfo.xml
#   share/icons/hicolor/*/apps/   APP_ID.svg and APP_ID.png at 8 sizes
#   share/man/man6/               the three programs' manual pages
#
# `cmake --build BUILD --target uninstall` removes what the last install
# put down, as listed in BUILD/install_manifest.txt.

include(GNUInstallDirs)

set(MORVANE_DATA_DIR ${CMAKE_INSTALL_DATADIR}/morvane)
set(MORVANE_ICON_SIZES 16 22 24 32 48 64 128 256)

install(TARGETS morvane morvane-solve morvane-drive RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS morvane_sound LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}/morvane)

list(TRANSFORM MORVANE_CUES PREPEND ${MORVANE_ASSETS_DIR}/ OUTPUT_VARIABLE cue_files)
install(FILES ${cue_files} ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/Morvane.chm
        DESTINATION ${MORVANE_DATA_DIR})

set(data ${PROJECT_SOURCE_DIR}/data)
# The desktop entry names the program by its full path, so that menus start
# it whatever PATH holds (/usr/games is not on every PATH). The path is the
# one the install goes to, prefix and all, so it is written when installing:
# `cmake --install --prefix` may name another prefix than the configured one.
set(desktop_entry ${CMAKE_BINARY_DIR}/${MORVANE_APP_ID}.desktop)
if(IS_ABSOLUTE "${CMAKE_INSTALL_BINDIR}")
  set(program_path "${CMAKE_INSTALL_BINDIR}/morvane")
else()
  set(program_path "\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/morvane")
endif()
install(CODE "
  set(MORVANE_EXEC \"${program_path}\")
  if(MORVANE_EXEC MATCHES \" \")
    set(MORVANE_EXEC \"\\\"\${MORVANE_EXEC}\\\"\")
  endif()
  configure_file(\"${data}/${MORVANE_APP_ID}.desktop.in\" \"${desktop_entry}\" @ONLY)
")
install(FILES ${desktop_entry} DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${data}/${MORVANE_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${data}/icons/${MORVANE_APP_ID}.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size IN LISTS MORVANE_ICON_SIZES)
  install(FILES ${data}/icons/${size}/${MORVANE_APP_ID}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/man/morvane.6 ${PROJECT_SOURCE_DIR}/man/morvane-solve.6
              ${PROJECT_SOURCE_DIR}/man/morvane-drive.6
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

if(NOT TARGET uninstall)
  add_custom_target(uninstall
    COMMAND ${CMAKE_COMMAND} -P ${PROJECT_SOURCE_DIR}/cmake/Uninstall.cmake
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
    COMMENT "Removing the installed files listed in install_manifest.txt"
    VERBATIM)
endif()

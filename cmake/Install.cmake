# `cmake --install build --prefix P` (DESTDIR honoured): the program folder whole as P/lib/scorvane, a
# link P/bin/scorvane to its executable, and what desktops look for under P/share. The program finds
# its folder through its executable's real path, so it runs the same through the link.
set(SCORVANE_INSTALL_FOLDER lib/scorvane)

install(TARGETS scorvane RUNTIME DESTINATION ${SCORVANE_INSTALL_FOLDER})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/Files DESTINATION ${SCORVANE_INSTALL_FOLDER})
# Installed.txt marks the folder as shared by every user: each one's settings go to their own folder.
install(FILES ${PROJECT_SOURCE_DIR}/resources/Versioni.txt ${PROJECT_SOURCE_DIR}/resources/Installed.txt
        DESTINATION ${SCORVANE_INSTALL_FOLDER})
install(CODE [[
  set(folder "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/bin")
  file(MAKE_DIRECTORY "${folder}")
  message(STATUS "Installing: ${folder}/scorvane -> ../lib/scorvane/scorvane")
  file(CREATE_LINK ../lib/scorvane/scorvane "${folder}/scorvane" SYMBOLIC)
  list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${folder}/scorvane")
]])

install(FILES ${PROJECT_SOURCE_DIR}/resources/scorvane.desktop DESTINATION share/applications)
install(FILES ${PROJECT_SOURCE_DIR}/resources/scorvane.metainfo.xml DESTINATION share/metainfo)
install(DIRECTORY ${SCORVANE_ICON_FOLDER}/ DESTINATION share/icons/hicolor)

# How the game is installed (`cmake --install build --prefix P`, DESTDIR honoured) and packaged for
# Debian (`make package`, or `cpack -G DEB` in the build folder). Included by the top CMakeLists.
#
#   P/bin/quiltora                                      the game
#   P/share/quiltora/data/                              its data folder, found from bin/ at run time
#   P/share/doc/quiltora/                               README.md, the documents it links
#                                                       (docs/: the manuals, the screenshots),
#                                                       the font's licence
#   P/share/applications/com.velkaro.Quiltora.desktop   the desktop's menu entry
#   P/share/icons/hicolor/NxN/apps/com.velkaro.Quiltora.png   its icon (48, 64, 128, 256)
#   P/share/metainfo/com.velkaro.Quiltora.metainfo.xml  what software centres show
#
# The game writes nothing below P: the player's files go to the per-user folder.
include(GNUInstallDirs)

set(QUILTORA_APP_ID com.velkaro.Quiltora)
set(QUILTORA_DATA_DEST ${CMAKE_INSTALL_DATADIR}/quiltora)
# Where the pictures of docs/screenshots/ are published, for the software centres (AppStream takes
# only web addresses). A reserved name that never resolves until the game has a site of its own.
set(QUILTORA_SCREENSHOT_URL "https://quiltora.invalid/screenshots" CACHE STRING
    "Web folder holding the pictures of docs/screenshots/")

# The installed game finds its data from its own folder, so the install can be moved as a whole.
file(RELATIVE_PATH QUILTORA_INSTALLED_DATA ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_DATADIR}/quiltora/data)
target_compile_definitions(quiltora_engine_system PRIVATE QUILTORA_INSTALLED_DATA="${QUILTORA_INSTALLED_DATA}")

install(TARGETS quiltora RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data DESTINATION ${QUILTORA_DATA_DEST})
install(FILES ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_SOURCE_DIR}/data/fonts/DejaVu-LICENSE.txt
        DESTINATION ${CMAKE_INSTALL_DOCDIR})
# What the README links to, beside it as in the source tree, so that its links work where it is
# installed.
install(DIRECTORY ${CMAKE_SOURCE_DIR}/docs DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${CMAKE_CURRENT_LIST_DIR}/${QUILTORA_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
foreach(size 48 64 128 256)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/icons/${size}x${size}/${QUILTORA_APP_ID}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
configure_file(${CMAKE_CURRENT_LIST_DIR}/${QUILTORA_APP_ID}.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/${QUILTORA_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/${QUILTORA_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The Debian package: the same tree below /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quiltora)
set(CPACK_PACKAGE_VENDOR Velkaro)
set(CPACK_PACKAGE_CONTACT "Velkaro <games@velkaro.invalid>" CACHE STRING "The Debian package's maintainer")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "A colour picture-logic puzzle")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Each level hides a small picture in a grid of covered tiles. Numbers beside every row and\n\
above every column tell, colour by colour, how many tiles of that colour lie there in unbroken\n\
runs; from them you work out which tiles to uncover and which to cross out. Between levels the\n\
score is spent on buildings for your own kingdom, and a map of one hundred levels leads from\n\
5 x 5 one-colour pictures to 20 x 15 boards in three colours.")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Its dependencies are found when the package is made (PackageDepends.cmake).
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/PackageDepends.cmake)
set(CPACK_QUILTORA_EXECUTABLE ${CMAKE_BINARY_DIR}/quiltora)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
include(CPack)

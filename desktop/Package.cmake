# `cpack -G DEB` in the build folder makes vexa-sudoku_<version>_<arch>.deb:
# the install of Install.cmake under /usr (the program folder in
# /usr/lib/vexa-sudoku, read-only to players, who keep their files in
# their own data folder), plus the AppStream metainfo that software
# centres read. Its Depends are those of the libraries the program links
# (dpkg-shlibdeps) and what it loads at run time without linking it.

# Fixed for good: software centres know the game by it.
set(VEXA_APPSTREAM_ID example.lumbrook.VexaSudoku)
set(VEXA_RELEASE_DATE 2026-12-08)
configure_file(${CMAKE_CURRENT_LIST_DIR}/vexa-sudoku.metainfo.xml.in
  ${CMAKE_BINARY_DIR}/desktop/${VEXA_APPSTREAM_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/desktop/${VEXA_APPSTREAM_ID}.metainfo.xml DESTINATION share/metainfo)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vexa-sudoku)
set(CPACK_PACKAGE_VENDOR "Lumbrook Studio")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Lumbrook Studio <vexa@lumbrook.example>" CACHE STRING
  "Maintainer of the Debian package")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Sudoku game with a Simplified Chinese interface")
set(CPACK_PACKAGE_DESCRIPTION [[
Pick a difficulty, start a game and fill the empty cells with the mouse or
the keyboard; the game marks wrong cells red, announces a right board with
its time and keeps lifetime statistics. Games can be saved and continued;
hints, printing, pictures of the board and background music round it off.]])
# The menu entry and the link in bin/ name the installed program by its
# path under /usr, so the install runs with DESTDIR into CPack's staging
# folder rather than with the staging folder as its prefix.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${VEXA_WEB_ADDRESS})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded by name, not linked: SDL and FluidSynth when a sound first plays,
# SQLCipher with the puzzle bank, CUPS for printing, the General MIDI sounds
# for the tunes and the fonts that "宋体" falls back to.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "libsdl2-2.0-0, libfluidsynth3, libsqlcipher0, libcups2, timgm6mb-soundfont, fonts-arphic-uming, fonts-wqy-zenhei")
include(CPack)

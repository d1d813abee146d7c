# `cpack -G DEB` in the build folder makes vexa-sudoku_<version>_<arch>.deb:
# the install of Install.cmake under /usr (the program folder in
# /usr/lib/vexa-sudoku, read-only to players, who keep their files in
# their own data folder; the command /usr/games/vexa-sudoku), plus the
# AppStream metainfo that software centres read and the copyright and
# changelog in /usr/share/doc/vexa-sudoku. Debian 12's lintian accepts it
# without an error or a warning (the install test checks). Its Depends
# are those of the libraries the program links (dpkg-shlibdeps) and what it
# loads at run time without linking it.

# Fixed for good: software centres know the game by it.
set(VEXA_APPSTREAM_ID example.lumbrook.VexaSudoku)
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
# Loaded by name, not linked: SDL when a sound first plays, SQLCipher with
# the puzzle bank, CUPS for printing; each at the least version that has
# every function the game looks up in it (from the libraries' symbols
# files: SDL_TLSCleanup came with 2.0.16). FluidSynth is linked by the tune
# renderer and found by dpkg-shlibdeps. Then the General MIDI sounds for
# the tunes and the fonts that "宋体" falls back to.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "libsdl2-2.0-0 (>= 2.0.16), libsqlcipher0 (>= 1.1.9), libcups2 (>= 1.4.0), timgm6mb-soundfont, fonts-arphic-uming, fonts-wqy-zenhei")

# What Debian wants in /usr/share/doc of every package: the copyright in
# its machine-readable format and, for a package made by the game's own
# makers (native), a changelog in Debian's format, compressed. The licence
# in the copyright file is the one the game's 版权声明 window shows
# (FormCopyright): a change to one is a change to both.
configure_file(${CMAKE_CURRENT_LIST_DIR}/copyright.in ${CMAKE_BINARY_DIR}/desktop/copyright @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/desktop/copyright DESTINATION share/doc/vexa-sudoku)

# The changelog's date, as RFC 2822 has it, from the release day: the
# weekday by Sakamoto's method.
string(REGEX MATCH "^([0-9][0-9][0-9][0-9])-([0-9][0-9])-([0-9][0-9])$" vexa_date "${VEXA_RELEASE_DATE}")
if(NOT vexa_date)
  message(FATAL_ERROR "VEXA_RELEASE_DATE must read YYYY-MM-DD, not \"${VEXA_RELEASE_DATE}\"")
endif()
math(EXPR vexa_year "${CMAKE_MATCH_1}")
math(EXPR vexa_month "1${CMAKE_MATCH_2} - 100")
math(EXPR vexa_day "1${CMAKE_MATCH_3} - 100")
set(vexa_month_offsets 0 3 2 5 0 3 5 1 4 6 2 4)
set(vexa_month_names Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
set(vexa_day_names Sun Mon Tue Wed Thu Fri Sat)
math(EXPR vexa_index "${vexa_month} - 1")
list(GET vexa_month_offsets ${vexa_index} vexa_offset)
list(GET vexa_month_names ${vexa_index} vexa_month_name)
set(vexa_y ${vexa_year})
if(vexa_month LESS 3)
  math(EXPR vexa_y "${vexa_year} - 1")
endif()
math(EXPR vexa_weekday "(${vexa_y} + ${vexa_y} / 4 - ${vexa_y} / 100 + ${vexa_y} / 400 + ${vexa_offset} + ${vexa_day}) % 7")
list(GET vexa_day_names ${vexa_weekday} vexa_day_name)
set(VEXA_RELEASE_RFC2822 "${vexa_day_name}, ${CMAKE_MATCH_3} ${vexa_month_name} ${vexa_year} 00:00:00 +0000")

set(vexa_changelog ${CMAKE_BINARY_DIR}/desktop/doc/changelog)
configure_file(${CMAKE_CURRENT_LIST_DIR}/changelog.in ${CMAKE_BINARY_DIR}/desktop/changelog @ONLY)
add_custom_command(OUTPUT ${vexa_changelog}.gz
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_BINARY_DIR}/desktop/changelog ${vexa_changelog}
  COMMAND ${VEXA_GZIP} -9nf ${vexa_changelog}
  DEPENDS ${CMAKE_BINARY_DIR}/desktop/changelog
  COMMENT "Compressing the Debian changelog"
  VERBATIM)
add_custom_target(vexa_changelog ALL DEPENDS ${vexa_changelog}.gz)
install(FILES ${vexa_changelog}.gz DESTINATION share/doc/vexa-sudoku)
include(CPack)

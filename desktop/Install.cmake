# What `cmake --install build --prefix DIR` lays out:
#   DIR/lib/vexa-sudoku/     the program folder: the executable and its
#                            runtime files, exactly as in build/bin
#   DIR/games/vexa-sudoku    a relative symbolic link to the executable,
#                            where the FHS and Debian put games
#   DIR/share/applications/vexa-sudoku.desktop
#   DIR/share/icons/hicolor/<n>x<n>/apps/vexa-sudoku.png
#   DIR/share/man/man6/vexa-sudoku.6.gz
# The program looks for its files beside its own resolved path, so the
# program folder runs wherever it is copied, and through the link.
set(VEXA_INSTALL_PROGRAM_DIR lib/vexa-sudoku)

# The build tree's run path is dropped; libraries linked from outside the
# system's folders (a Qt of one's own) are still found.
set_target_properties(vexa-sudoku vexa-tune-render PROPERTIES INSTALL_RPATH "" INSTALL_RPATH_USE_LINK_PATH ON)
install(TARGETS vexa-sudoku vexa-tune-render RUNTIME DESTINATION ${VEXA_INSTALL_PROGRAM_DIR})
install(DIRECTORY ${VEXA_DATA_DIR}/ DESTINATION ${VEXA_INSTALL_PROGRAM_DIR})
get_filename_component(vexa_bank_subdir ${VEXA_BANK_NAME} DIRECTORY)
install(FILES ${VEXA_BANK} DESTINATION ${VEXA_INSTALL_PROGRAM_DIR}/${vexa_bank_subdir})

# Made at install time, under the prefix given then.
install(CODE [[
  set(vexa_link "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/games/vexa-sudoku")
  message(STATUS "Installing: ${vexa_link} -> ../lib/vexa-sudoku/vexa-sudoku")
  file(MAKE_DIRECTORY "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/games")
  file(REMOVE "${vexa_link}")
  file(CREATE_LINK "../lib/vexa-sudoku/vexa-sudoku" "${vexa_link}" SYMBOLIC)
  list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${vexa_link}")
]])

# The menu entry names the installed program by its absolute path, known
# only when installing: `cmake --install --prefix` overrides the prefix the
# build was configured with.
install(CODE "
  set(VEXA_DESKTOP_TEMPLATE [[${CMAKE_CURRENT_LIST_DIR}/vexa-sudoku.desktop.in]])
  set(VEXA_DESKTOP_STAGING [[${CMAKE_BINARY_DIR}/desktop]])
")
install(SCRIPT ${CMAKE_CURRENT_LIST_DIR}/InstallDesktopEntry.cmake)
install(DIRECTORY ${CMAKE_CURRENT_LIST_DIR}/icons/ DESTINATION share/icons)

# The manual page, compressed as Debian wants it: at the highest level and
# without a time stamp, so that the same page makes the same file.
find_program(VEXA_GZIP gzip REQUIRED)
set(vexa_man_page ${CMAKE_BINARY_DIR}/desktop/man/vexa-sudoku.6)
configure_file(${CMAKE_CURRENT_LIST_DIR}/vexa-sudoku.6.in ${CMAKE_BINARY_DIR}/desktop/vexa-sudoku.6 @ONLY)
add_custom_command(OUTPUT ${vexa_man_page}.gz
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_BINARY_DIR}/desktop/vexa-sudoku.6 ${vexa_man_page}
  COMMAND ${VEXA_GZIP} -9nf ${vexa_man_page}
  DEPENDS ${CMAKE_BINARY_DIR}/desktop/vexa-sudoku.6
  COMMENT "Compressing the manual page"
  VERBATIM)
add_custom_target(vexa_man_page ALL DEPENDS ${vexa_man_page}.gz)
install(FILES ${vexa_man_page}.gz DESTINATION share/man/man6)

# Installs the build into a scratch prefix, as `cmake --install` does for a
# packager, and checks the result: the program folder holds the same files
# as build/bin, the link in games/ reaches the executable, the menu entry
# names the installed path, the icons, the manual page and the copyright
# are there, no run path leads back into the build, and the installed copy
# starts, keeping its files in the program folder while it may write there
# and in the user's data folder when it may not.
#   cmake -DVEXA_BUILD_DIR=... -DVEXA_BIN_DIR=... -DVEXA_SOURCE_DIR=...
#         -DVEXA_SCRATCH=... -P check_install.cmake
cmake_minimum_required(VERSION 3.25)

include(${CMAKE_CURRENT_LIST_DIR}/InstalledChecks.cmake)

# A space in the prefix, so that the Exec line must be quoted.
set(prefix "${VEXA_SCRATCH}/Vexa Sudoku")
set(program_dir "${prefix}/lib/vexa-sudoku")
set(link "${prefix}/games/vexa-sudoku")
file(REMOVE_RECURSE "${VEXA_SCRATCH}")
file(MAKE_DIRECTORY "${VEXA_SCRATCH}")

execute_process(COMMAND ${CMAKE_COMMAND} --install "${VEXA_BUILD_DIR}" --prefix "${prefix}"
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${rc}):\n${out}")
endif()

# The program folder is build/bin, file for file, less what a game that ran
# there wrote.
function(runtime_files folder out_var)
  file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE "${folder}" "${folder}/*")
  set(written setting grade save updateinfo.htm)
  set(kept)
  foreach(f IN LISTS files)
    get_filename_component(name "${f}" NAME)
    if(NOT f IN_LIST written AND NOT name MATCHES "^\\.vexa-probe-")
      list(APPEND kept "${f}")
    endif()
  endforeach()
  list(SORT kept)
  set(${out_var} "${kept}" PARENT_SCOPE)
endfunction()
runtime_files("${VEXA_BIN_DIR}" built)
runtime_files("${program_dir}" installed)
if(NOT "problem/problem.dbs" IN_LIST built OR NOT "vexa-sudoku" IN_LIST built)
  fail("build/bin lacks the program or its puzzle bank")
endif()
foreach(f IN LISTS built)
  if(NOT f IN_LIST installed)
    fail("missing from the installed program folder: ${f}")
  elseif(NOT f STREQUAL "vexa-sudoku")
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${VEXA_BIN_DIR}/${f}" "${program_dir}/${f}"
      RESULT_VARIABLE differ)
    if(NOT differ EQUAL 0)
      fail("the installed copy differs from build/bin: ${f}")
    endif()
  endif()
endforeach()
foreach(f IN LISTS installed)
  if(NOT f IN_LIST built)
    fail("installed but not in build/bin: ${f}")
  endif()
endforeach()
execute_process(COMMAND test -x "${program_dir}/vexa-sudoku" RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  fail("the installed program is not executable")
endif()

# games/vexa-sudoku: a relative link, so that the prefix can move.
if(IS_SYMLINK "${link}")
  file(READ_SYMLINK "${link}" target)
  if(NOT target STREQUAL "../lib/vexa-sudoku/vexa-sudoku")
    fail("games/vexa-sudoku points at ${target}")
  endif()
  file(REAL_PATH "${link}" resolved)
  file(REAL_PATH "${program_dir}/vexa-sudoku" program)
  if(NOT resolved STREQUAL program)
    fail("games/vexa-sudoku resolves to ${resolved}")
  endif()
else()
  fail("games/vexa-sudoku is not a symbolic link")
endif()
foreach(doc share/man/man6/vexa-sudoku.6.gz share/doc/vexa-sudoku/copyright share/doc/vexa-sudoku/changelog.gz)
  if(NOT EXISTS "${prefix}/${doc}")
    fail("missing ${prefix}/${doc}")
  endif()
endforeach()

# The menu entry.
set(desktop "${prefix}/share/applications/vexa-sudoku.desktop")
if(EXISTS "${desktop}")
  file(READ "${desktop}" entry)
  # TryExec names the file, unquoted; Exec is a command line.
  foreach(expected "Exec=\"${prefix}/games/vexa-sudoku\"" "TryExec=${prefix}/games/vexa-sudoku"
      "Icon=vexa-sudoku" "Name=Vexa Sudoku"
      "Name[zh_CN]=数独" "Type=Application" "Terminal=false")
    string(FIND "\n${entry}" "\n${expected}\n" at)
    if(at EQUAL -1)
      fail("the menu entry lacks the line ${expected}")
    endif()
  endforeach()
  # Apart, since a semicolon would split the list above.
  string(FIND "\n${entry}" "\nCategories=Game;LogicGame;\n" at)
  if(at EQUAL -1)
    fail("the menu entry lacks the line Categories=Game;LogicGame;")
  endif()
  find_program(validate desktop-file-validate)
  if(validate)
    execute_process(COMMAND ${validate} "${desktop}" RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
    if(NOT rc EQUAL 0 OR NOT out STREQUAL "")
      fail("desktop-file-validate: ${out}")
    endif()
  else()
    message(STATUS "desktop-file-validate not found; the menu entry's syntax is not checked")
  endif()
else()
  fail("no menu entry at ${desktop}")
endif()

# The icons, each a PNG of its own size (width and height at bytes 16-23).
foreach(size 16 24 32 48 64 128 256)
  set(icon "${prefix}/share/icons/hicolor/${size}x${size}/apps/vexa-sudoku.png")
  if(EXISTS "${icon}")
    file(READ "${icon}" header OFFSET 16 LIMIT 8 HEX)
    math(EXPR side "${size}" OUTPUT_FORMAT HEXADECIMAL)
    string(REGEX REPLACE "^0x" "" side "${side}")
    string(LENGTH "${side}" digits)
    math(EXPR pad "8 - ${digits}")
    string(REPEAT "0" ${pad} zeros)
    if(NOT header STREQUAL "${zeros}${side}${zeros}${side}")
      fail("${icon} is not a ${size} x ${size} picture")
    endif()
  else()
    fail("missing icon ${icon}")
  endif()
endforeach()

# No run path may lead into the build or source tree.
find_program(readelf readelf)
if(readelf)
  execute_process(COMMAND ${readelf} -d "${program_dir}/vexa-sudoku" RESULT_VARIABLE rc OUTPUT_VARIABLE dynamic)
  if(NOT rc EQUAL 0)
    fail("readelf cannot read the installed program")
  endif()
  string(REGEX MATCHALL "\\((RPATH|RUNPATH)\\)[^\n]*" paths "${dynamic}")
  foreach(path IN LISTS paths)
    foreach(tree "${VEXA_BUILD_DIR}" "${VEXA_SOURCE_DIR}")
      string(FIND "${path}" "${tree}" at)
      if(NOT at EQUAL -1)
        fail("the installed program keeps a run path into ${tree}: ${path}")
      endif()
    endforeach()
  endforeach()
else()
  message(STATUS "readelf not found; run paths are not checked")
endif()

set(home "${VEXA_SCRATCH}/home")
start_installed("${link}" "${home}")
expect_written("${program_dir}" "${home}/.local/share/vexa-sudoku" "a writable install")
file(REMOVE "${program_dir}/setting" "${program_dir}/grade")

# A system-wide install: the program folder belongs to someone else.
start_as_player("${link}" "${program_dir}" "${VEXA_SCRATCH}/system-home")

finish_checks("${VEXA_SCRATCH}" "installation")

# What the install and the package checks share: collecting failures and
# starting an installed copy of the game, also as a player who may not
# write into its program folder.

# Every failed check is reported and the script goes on, so one run shows
# them all; any of them makes it end with an error.
function(fail message)
  message(SEND_ERROR "${message}")
  set_property(GLOBAL APPEND PROPERTY vexa_failures "${message}")
endfunction()

# The installed copy starts through `link`; with VEXA_REPORT_STARTUP it
# ends once its splash is drawn, after the main window has loaded. Any
# further arguments run it as another user.
function(start_installed link home)
  set(runtime "${home}/runtime")
  file(MAKE_DIRECTORY "${runtime}")
  file(CHMOD "${runtime}" DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
  execute_process(
    COMMAND ${ARGN} ${CMAKE_COMMAND} -E env --unset=XDG_DATA_HOME --unset=DISPLAY "HOME=${home}"
      "XDG_RUNTIME_DIR=${runtime}" QT_QPA_PLATFORM=offscreen SDL_AUDIODRIVER=dummy VEXA_REPORT_STARTUP=1
      "${link}"
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 60)
  if(NOT rc EQUAL 0 OR NOT out MATCHES "splash-visible-ms")
    fail("the installed program did not start (${rc}):\n${out}\n${err}")
  endif()
endfunction()

# The files a game writes at its first start lie in `kept`, none in
# `avoided`.
function(expect_written kept avoided what)
  foreach(name setting grade)
    if(NOT EXISTS "${kept}/${name}")
      fail("${what} did not keep ${name} in ${kept}")
    endif()
    if(EXISTS "${avoided}/${name}")
      fail("${what} wrote ${name} into ${avoided}")
    endif()
  endforeach()
endfunction()

# Starts the game installed at `link` as a player to whom `program_dir`
# is read-only, and checks that his files went to his own data folder
# under `home`. Root writes anywhere, so root runs the program as nobody;
# anyone else has the folder made read-only for the while.
function(start_as_player link program_dir home)
  file(MAKE_DIRECTORY "${home}")
  execute_process(COMMAND id -u OUTPUT_VARIABLE uid OUTPUT_STRIP_TRAILING_WHITESPACE)
  set(runner)
  if(uid STREQUAL "0")
    find_program(setpriv setpriv)
    if(NOT setpriv)
      message(STATUS "root without setpriv: the read-only install is not started")
      return()
    endif()
    file(MAKE_DIRECTORY "${home}/runtime")
    execute_process(COMMAND chown -R 65534:65534 "${home}")
    set(runner ${setpriv} --reuid=65534 --regid=65534 --clear-groups)
    execute_process(COMMAND ${runner} test -x "${link}" -a -w "${home}" RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
      message(STATUS "nobody cannot reach ${link}: the read-only install is not started")
      return()
    endif()
  else()
    file(CHMOD "${program_dir}" DIRECTORY_PERMISSIONS OWNER_READ OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
      WORLD_READ WORLD_EXECUTE)
  endif()
  start_installed("${link}" "${home}" ${runner})
  expect_written("${home}/.local/share/vexa-sudoku" "${program_dir}" "a read-only install")
  if(NOT uid STREQUAL "0")
    file(CHMOD "${program_dir}" DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
      GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  endif()
endfunction()

# Ends the script: with an error naming the count if a check failed (the
# scratch folder is then kept for a look), else quietly cleaning up.
function(finish_checks scratch what)
  get_property(failures GLOBAL PROPERTY vexa_failures)
  list(LENGTH failures count)
  if(count GREATER 0)
    message(FATAL_ERROR "${count} ${what} check(s) failed; the scratch files are left in ${scratch}")
  endif()
  if(NOT VEXA_KEEP_SCRATCH)
    file(REMOVE_RECURSE "${scratch}")
  endif()
  message(STATUS "${what} checked")
endfunction()

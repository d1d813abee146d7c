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
# ends once its splash is drawn, after the main window has loaded.
#   RUNNER cmd...     runs it through cmd (as another user)
#   XVFB              on an X server of its own, as on a desktop, instead
#                     of Qt's offscreen platform
#   PROGRAM_DIR dir   checks that it read its pictures and mouse pointers
#                     from dir, the program folder the link leads to
function(start_installed link home)
  cmake_parse_arguments(PARSE_ARGV 2 arg "XVFB" "PROGRAM_DIR" "RUNNER")
  set(runtime "${home}/runtime")
  file(MAKE_DIRECTORY "${runtime}")
  file(CHMOD "${runtime}" DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
  set(env ${CMAKE_COMMAND} -E env --unset=XDG_DATA_HOME --unset=XDG_CACHE_HOME --unset=QT_QPA_PLATFORM
    "HOME=${home}" "XDG_RUNTIME_DIR=${runtime}" SDL_AUDIODRIVER=dummy VEXA_REPORT_STARTUP=1)
  set(around)
  if(arg_XVFB)
    find_program(xvfb Xvfb)
    find_program(strace strace)
    if(NOT xvfb OR NOT strace)
      fail("Xvfb (package xvfb) and strace are needed to start the installed game on an X server")
      return()
    endif()
    # strace tells which files the game opened: its data, found through
    # the link, or nothing where it looked.
    set(opened "${home}/opened")
    set(around bash ${CMAKE_CURRENT_LIST_DIR}/on-xvfb.sh ${strace} -f -qq -e trace=open,openat -o "${opened}")
    # LeakSanitizer cannot run under ptrace; a sanitized build's leaks are
    # the rest of the suite's to find.
    set(asan_options "detect_leaks=0")
    if(NOT "$ENV{ASAN_OPTIONS}" STREQUAL "")
      set(asan_options "$ENV{ASAN_OPTIONS}:detect_leaks=0")
    endif()
    list(APPEND env "ASAN_OPTIONS=${asan_options}")
  else()
    list(APPEND env --unset=DISPLAY QT_QPA_PLATFORM=offscreen)
  endif()
  execute_process(COMMAND ${arg_RUNNER} ${around} ${env} "${link}"
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 60)
  if(NOT rc EQUAL 0 OR NOT out MATCHES "splash-visible-ms")
    fail("the installed program did not start (${rc}):\n${out}\n${err}")
    return()
  endif()
  if(arg_PROGRAM_DIR)
    file(REAL_PATH "${arg_PROGRAM_DIR}" folder)
    file(STRINGS "${opened}" lines)
    foreach(data pictures/splash interface/black/start1 ico/pen)
      set(read OFF)
      foreach(line IN LISTS lines)
        string(FIND "${line}" "\"${folder}/${data}\"" at)
        if(NOT at EQUAL -1 AND NOT line MATCHES "= -1 ")
          set(read ON)
        endif()
      endforeach()
      if(NOT read)
        fail("the installed program did not read ${folder}/${data}")
      endif()
    endforeach()
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
# anyone else has the folder made read-only for the while. Further
# arguments go to start_installed (XVFB, PROGRAM_DIR).
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
    set(runner RUNNER ${setpriv} --reuid=65534 --regid=65534 --clear-groups)
    execute_process(COMMAND ${setpriv} --reuid=65534 --regid=65534 --clear-groups test -x "${link}" -a -w "${home}"
      RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
      message(STATUS "nobody cannot reach ${link}: the read-only install is not started")
      return()
    endif()
  else()
    file(CHMOD "${program_dir}" DIRECTORY_PERMISSIONS OWNER_READ OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
      WORLD_READ WORLD_EXECUTE)
  endif()
  start_installed("${link}" "${home}" ${ARGN} ${runner})
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

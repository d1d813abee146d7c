# Makes the Debian package with CPack, as a packager would, and checks it:
# its file name, control fields and contents, the menu entry, the AppStream
# metainfo and the manual page inside it, what Debian's lintian says of it
# (where lintian is installed: not one error or warning), and an install
# into a scratch root (with dpkg where the check runs as root, else
# unpacked by dpkg-deb), from which the game starts through
# /usr/games/vexa-sudoku on an X server, finds its data in its program
# folder and keeps the player's files in his own data folder.
#   cmake -DVEXA_BUILD_DIR=... -DVEXA_CPACK=... -DVEXA_VERSION=... -DVEXA_APPSTREAM_ID=...
#         -DVEXA_SCRATCH=... -P check_package.cmake
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/InstalledChecks.cmake)

file(REMOVE_RECURSE "${VEXA_SCRATCH}")
file(MAKE_DIRECTORY "${VEXA_SCRATCH}")

execute_process(COMMAND "${VEXA_CPACK}" -G DEB -B "${VEXA_SCRATCH}/out" --config "${VEXA_BUILD_DIR}/CPackConfig.cmake"
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cpack failed (${rc}):\n${out}")
endif()
execute_process(COMMAND dpkg --print-architecture OUTPUT_VARIABLE arch OUTPUT_STRIP_TRAILING_WHITESPACE)
set(deb "${VEXA_SCRATCH}/out/vexa-sudoku_${VEXA_VERSION}_${arch}.deb")
if(NOT EXISTS "${deb}")
  message(FATAL_ERROR "cpack made no ${deb}:\n${out}")
endif()

# Control fields.
function(expect_field name expected)
  execute_process(COMMAND dpkg-deb -f "${deb}" ${name} OUTPUT_VARIABLE value OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT value STREQUAL expected)
    fail("${name}: \"${value}\", not \"${expected}\"")
  endif()
endfunction()
expect_field(Package vexa-sudoku)
expect_field(Version "${VEXA_VERSION}")
expect_field(Architecture "${arch}")
expect_field(Section games)
# What the program and its renderer link, found by dpkg-shlibdeps, and
# what it loads by name at run time, at a version that has what it uses.
execute_process(COMMAND dpkg-deb -f "${deb}" Depends OUTPUT_VARIABLE depends OUTPUT_STRIP_TRAILING_WHITESPACE)
foreach(package libc6 libqt6widgets6 libqt6printsupport6 libqt6network6 libsqlcipher0 libsdl2-2.0-0 libfluidsynth3
    libcups2 libxcb1 timgm6mb-soundfont fonts-arphic-uming fonts-wqy-zenhei)
  if(NOT ", ${depends}," MATCHES ", ${package}[ ,]")
    fail("Depends lacks ${package}: ${depends}")
  endif()
endforeach()
foreach(package libsdl2-2.0-0 libsqlcipher0 libcups2 libfluidsynth3)
  if(NOT ", ${depends}," MATCHES ", ${package} \\(>= [0-9][^)]*\\)[ ,]")
    fail("Depends names ${package} without its least version: ${depends}")
  endif()
endforeach()

# Contents: everything under /usr and owned by root, the program folder
# as the build lays it out but without any file a game writes.
execute_process(COMMAND dpkg-deb -c "${deb}" OUTPUT_VARIABLE listing)
string(REPLACE "\n" ";" entries "${listing}")
set(paths)
foreach(entry IN LISTS entries)
  if(entry STREQUAL "")
    continue()
  endif()
  if(NOT entry MATCHES " root/root ")
    fail("not owned by root: ${entry}")
  endif()
  string(REGEX REPLACE "^.* \\./" "/" path "${entry}")
  list(APPEND paths "${path}")
  if(NOT path MATCHES "^/(usr/.*)?$" OR path MATCHES "/vexa-sudoku/(setting|grade|save|updateinfo\\.htm)$")
    fail("does not belong in the package: ${path}")
  endif()
endforeach()
foreach(path /usr/lib/vexa-sudoku/vexa-sudoku /usr/lib/vexa-sudoku/problem/problem.dbs
    /usr/lib/vexa-sudoku/help/index.html /usr/lib/vexa-sudoku/ico/pen
    "/usr/games/vexa-sudoku -> ../lib/vexa-sudoku/vexa-sudoku" /usr/share/applications/vexa-sudoku.desktop
    /usr/share/icons/hicolor/16x16/apps/vexa-sudoku.png /usr/share/icons/hicolor/256x256/apps/vexa-sudoku.png
    /usr/share/metainfo/${VEXA_APPSTREAM_ID}.metainfo.xml /usr/share/man/man6/vexa-sudoku.6.gz
    /usr/share/doc/vexa-sudoku/copyright /usr/share/doc/vexa-sudoku/changelog.gz)
  if(NOT path IN_LIST paths)
    fail("missing from the package: ${path}")
  endif()
endforeach()
# A game's command lies in /usr/games alone.
if("/usr/bin/" IN_LIST paths)
  fail("the package has /usr/bin/ beside /usr/games/")
endif()

# Debian's own checker, as the archive and packagers run it. An override
# would go into usr/share/lintian/overrides/vexa-sudoku, each with the
# reason on the line above it.
find_program(lintian lintian)
if(lintian)
  execute_process(COMMAND ${lintian} --fail-on error,warning "${deb}"
    RESULT_VARIABLE rc OUTPUT_VARIABLE said ERROR_VARIABLE complaints)
  if(NOT rc EQUAL 0 OR said MATCHES "(^|\n)[EW]: ")
    fail("lintian (${rc}):\n${said}${complaints}")
  endif()
else()
  message(STATUS "lintian not found: the package is not checked against Debian's policy")
endif()

# The menu entry and the metainfo as installed.
set(tree "${VEXA_SCRATCH}/tree")
execute_process(COMMAND dpkg-deb -x "${deb}" "${tree}" RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "dpkg-deb cannot unpack ${deb}")
endif()
file(READ "${tree}/usr/share/applications/vexa-sudoku.desktop" entry)
if(NOT entry MATCHES "\nExec=/usr/games/vexa-sudoku\n" OR NOT entry MATCHES "\nTryExec=/usr/games/vexa-sudoku\n")
  fail("the menu entry does not start /usr/games/vexa-sudoku:\n${entry}")
endif()
set(metainfo "${tree}/usr/share/metainfo/${VEXA_APPSTREAM_ID}.metainfo.xml")
file(READ "${metainfo}" meta)
foreach(expected "<name>Vexa Sudoku</name>" "<name xml:lang=\"zh-CN\">数独</name>" "<caption>The menu</caption>"
    "<caption xml:lang=\"zh-CN\">菜单</caption>" "<launchable type=\"desktop-id\">vexa-sudoku.desktop</launchable>"
    "<release version=\"${VEXA_VERSION}\"")
  string(FIND "${meta}" "${expected}" at)
  if(at EQUAL -1)
    fail("the metainfo lacks ${expected}")
  endif()
endforeach()
find_program(appstreamcli appstreamcli)
if(appstreamcli)
  # Without the network: the screenshots lie on the game's web site.
  execute_process(COMMAND ${appstreamcli} validate --no-net "${metainfo}"
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0)
    fail("appstreamcli validate:\n${out}")
  endif()
else()
  fail("appstreamcli (package appstream) is needed to validate the metainfo")
endif()

# Installed by dpkg into a root of its own where the check runs as root,
# else as dpkg-deb unpacked it. The dependencies are this system's, not
# that root's.
execute_process(COMMAND id -u OUTPUT_VARIABLE uid OUTPUT_STRIP_TRAILING_WHITESPACE)
if(uid STREQUAL "0")
  set(root "${VEXA_SCRATCH}/root")
  file(MAKE_DIRECTORY "${root}/var/lib/dpkg/info" "${root}/var/lib/dpkg/updates" "${root}/var/lib/dpkg/triggers")
  file(TOUCH "${root}/var/lib/dpkg/status" "${root}/var/lib/dpkg/available")
  execute_process(COMMAND dpkg "--root=${root}" --force-depends -i "${deb}"
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0)
    fail("dpkg -i failed (${rc}):\n${out}")
  endif()
  execute_process(COMMAND dpkg-query "--admindir=${root}/var/lib/dpkg" -W -f=\${Status} vexa-sudoku
    OUTPUT_VARIABLE status)
  if(NOT status STREQUAL "install ok installed")
    fail("dpkg does not list the package as installed: ${status}")
  endif()
else()
  message(STATUS "not root: the package is unpacked by dpkg-deb, not installed by dpkg")
  set(root "${tree}")
endif()

# The manual page as `man 6 vexa-sudoku` reads it there, without a word
# from groff.
find_program(man man)
if(man)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C.UTF-8 MANWIDTH=80
      ${man} --warnings -E UTF-8 "--manpath=${root}/usr/share/man" 6 vexa-sudoku
    RESULT_VARIABLE rc OUTPUT_VARIABLE page ERROR_VARIABLE groff)
  if(NOT rc EQUAL 0 OR NOT groff STREQUAL "")
    fail("man 6 vexa-sudoku (${rc}):\n${groff}")
  endif()
  foreach(expected "vexa-sudoku - " "\nOPTIONS\n" "--help" "--version" "\nFILES\n" "\nENVIRONMENT\n")
    string(FIND "${page}" "${expected}" at)
    if(at EQUAL -1)
      fail("the manual page lacks ${expected}:\n${page}")
    endif()
  endforeach()
else()
  fail("man (package man-db) is needed to read the manual page")
endif()

# The command answers without a display, with the package's version.
execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=QT_QPA_PLATFORM LANG=C
    "${root}/usr/games/vexa-sudoku" --version
  RESULT_VARIABLE rc OUTPUT_VARIABLE said ERROR_VARIABLE complaints TIMEOUT 30)
if(NOT rc EQUAL 0 OR NOT said MATCHES " ${VEXA_VERSION}\n")
  fail("/usr/games/vexa-sudoku --version (${rc}):\n${said}${complaints}")
endif()

# /usr/lib/vexa-sudoku belongs to root: the player's files go to his own
# data folder, while the game reads its own from the program folder it
# reaches through the link in /usr/games.
start_as_player("${root}/usr/games/vexa-sudoku" "${root}/usr/lib/vexa-sudoku" "${VEXA_SCRATCH}/player" XVFB
  PROGRAM_DIR "${root}/usr/lib/vexa-sudoku")

finish_checks("${VEXA_SCRATCH}" "package")

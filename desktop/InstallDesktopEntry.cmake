# Run by `cmake --install` (see Install.cmake): writes the menu entry with
# the installed program's absolute path in Exec and TryExec and installs it.
get_filename_component(vexa_prefix "${CMAKE_INSTALL_PREFIX}" ABSOLUTE)
set(vexa_exec "${vexa_prefix}/games/vexa-sudoku")
# TryExec names a file, not a command line: only the escapes every string
# in a desktop file takes.
string(REPLACE [[\]] [[\\]] VEXA_DESKTOP_TRYEXEC "${vexa_exec}")

# Exec takes a command line: a path with a space or a shell character is
# quoted, with \ " ` $ escaped inside the quotes; % starts a field code and
# is doubled. The value as a whole then escapes its backslashes once more,
# as every string in a desktop file does.
string(REPLACE "%" "%%" vexa_exec "${vexa_exec}")
if(vexa_exec MATCHES [=[[ 	"'\><~|&;$*?#()`]]=])
  string(REPLACE [[\]] [[\\]] vexa_exec "${vexa_exec}")
  string(REPLACE [["]] [[\"]] vexa_exec "${vexa_exec}")
  string(REPLACE [[`]] [[\`]] vexa_exec "${vexa_exec}")
  string(REPLACE [[$]] [[\$]] vexa_exec "${vexa_exec}")
  set(vexa_exec "\"${vexa_exec}\"")
endif()
string(REPLACE [[\]] [[\\]] VEXA_DESKTOP_EXEC "${vexa_exec}")

configure_file("${VEXA_DESKTOP_TEMPLATE}" "${VEXA_DESKTOP_STAGING}/vexa-sudoku.desktop" @ONLY)
file(INSTALL DESTINATION "${CMAKE_INSTALL_PREFIX}/share/applications" TYPE FILE
  FILES "${VEXA_DESKTOP_STAGING}/vexa-sudoku.desktop")

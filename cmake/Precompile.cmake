# Precompiled Qt headers. Parsing Qt's headers is about half of the time
# spent compiling each file, so the Qt Core code shares one precompiled set
# (made by vexa_core) and the widget code another (made by vexa_ui). The
# macros that differ between targets (QT_*_LIB, the test folders, the
# version) appear in none of these headers, so one set serves them all.
option(VEXA_PCH "Precompile the Qt headers" ON)

set(VEXA_PCH_CORE <QtCore/QtCore> <array> <functional> <memory> <optional>)
set(VEXA_PCH_WIDGETS ${VEXA_PCH_CORE} <QtGui/QtGui> <QtWidgets/QtWidgets>)

# SDL's flags define _DEFAULT_SOURCE and _XOPEN_SOURCE, which change the
# system headers, so the sound library cannot share either set; it is too
# small to be worth a set of its own. The tune renderer uses no Qt at all.
set(VEXA_PCH_NONE vexa_media vexa-tune-render)

# True in OUT when TARGET links Qt Widgets, directly or through our own
# libraries.
function(vexa_links_widgets target out)
  set(found OFF)
  get_target_property(libs ${target} LINK_LIBRARIES)
  foreach(lib IN LISTS libs)
    string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" lib "${lib}")
    if(lib STREQUAL "Qt6::Widgets")
      set(found ON)
    elseif(TARGET ${lib} AND lib MATCHES "^vexa_")
      vexa_links_widgets(${lib} sub)
      if(sub)
        set(found ON)
      endif()
    endif()
    if(found)
      break()
    endif()
  endforeach()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

function(vexa_collect_targets dir out)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(sub IN LISTS subdirs)
    vexa_collect_targets(${sub} more)
    list(APPEND targets ${more})
  endforeach()
  set(${out} ${targets} PARENT_SCOPE)
endfunction()

# CMake lists the generated header of a precompiled set among the sources
# of each target that uses it, and moc would then parse all of Qt for
# every target, for nothing: the set declares no classes of its own.
function(vexa_precompile target from)
  target_precompile_headers(${target} REUSE_FROM ${from})
  get_target_property(dir ${from} BINARY_DIR)
  set_source_files_properties(${dir}/CMakeFiles/${from}.dir/cmake_pch.hxx
    TARGET_DIRECTORY ${target} PROPERTIES SKIP_AUTOGEN ON)
endfunction()

# Gives every library, test and benchmark of the given folders the set that
# fits what it links.
function(vexa_precompile_all)
  if(NOT VEXA_PCH)
    return()
  endif()
  target_precompile_headers(vexa_core PRIVATE ${VEXA_PCH_CORE})
  target_precompile_headers(vexa_ui PRIVATE ${VEXA_PCH_WIDGETS})
  foreach(target vexa_core vexa_ui)
    get_target_property(dir ${target} BINARY_DIR)
    set_source_files_properties(${dir}/CMakeFiles/${target}.dir/cmake_pch.hxx
      TARGET_DIRECTORY ${target} PROPERTIES SKIP_AUTOGEN ON)
  endforeach()
  # A set that does not fit is otherwise dropped in silence, and the build
  # quietly takes twice as long.
  target_compile_options(vexa_core PRIVATE -Winvalid-pch)
  target_compile_options(vexa_ui PRIVATE -Winvalid-pch)
  foreach(dir IN LISTS ARGN)
    vexa_collect_targets(${CMAKE_SOURCE_DIR}/${dir} targets)
    foreach(target IN LISTS targets)
      get_target_property(type ${target} TYPE)
      if(target STREQUAL "vexa_core" OR target STREQUAL "vexa_ui" OR target IN_LIST VEXA_PCH_NONE
         OR NOT (type STREQUAL "STATIC_LIBRARY" OR type STREQUAL "EXECUTABLE"))
        continue()
      endif()
      vexa_links_widgets(${target} widgets)
      if(widgets)
        vexa_precompile(${target} vexa_ui)
      else()
        vexa_precompile(${target} vexa_core)
      endif()
      target_compile_options(${target} PRIVATE -Winvalid-pch)
      if(type STREQUAL "STATIC_LIBRARY")
        set_target_properties(${target} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 8)
      endif()
    endforeach()
  endforeach()
endfunction()

# cmake -DSOURCE_ROOT=<src> -P CheckLibraryIncludes.cmake
# Each folder below src/ is one library, and its files include only what that library may use:
#   core       core/
#   ports      core/ ports/
#   compat     core/ ports/ compat/
#   platform   core/ ports/ platform/
#   rules      core/ ports/ compat/ rules/
#   windows    core/ ports/ rules/ windows/
#   app        anything
#   player     nothing of the program
# Within rules/ and windows/, only the app area includes that library's app/: the areas it
# composes never reach back up. Fails naming every include that breaks a rule.
cmake_policy(VERSION 3.25)
if(NOT IS_DIRECTORY "${SOURCE_ROOT}")
  message(FATAL_ERROR "No source folder at ${SOURCE_ROOT}")
endif()

set(libraries core ports compat platform rules windows app player)
set(allowed_core core)
set(allowed_ports core ports)
set(allowed_compat core ports compat)
set(allowed_platform core ports platform)
set(allowed_rules core ports compat rules)
set(allowed_windows core ports rules windows)
set(allowed_app ${libraries})
set(allowed_player "")

set(faults "")
set(checked 0)
foreach(library IN LISTS libraries)
  file(GLOB_RECURSE files "${SOURCE_ROOT}/${library}/*.h" "${SOURCE_ROOT}/${library}/*.cpp")
  foreach(file IN LISTS files)
    math(EXPR checked "${checked} + 1")
    file(RELATIVE_PATH shown "${SOURCE_ROOT}" "${file}")
    string(REGEX MATCH "^${library}/([^/]+)/" in_area "${shown}")
    set(area "${CMAKE_MATCH_1}")
    file(STRINGS "${file}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
    foreach(line IN LISTS lines)
      if(NOT line MATCHES "#[ \t]*include[ \t]*[<\"](([a-z]+)/[^>\"]*)")
        continue()
      endif()
      set(name "${CMAKE_MATCH_1}")
      set(target "${CMAKE_MATCH_2}")
      if(NOT target IN_LIST libraries)
        continue()
      endif()
      if(NOT target IN_LIST allowed_${library})
        list(APPEND faults "${shown} includes ${name}: ${library}/ may not include ${target}/")
      elseif(in_area AND NOT area STREQUAL "app" AND name MATCHES "^${library}/app/")
        list(APPEND faults "${shown} includes ${name}: only the app area includes app/")
      endif()
    endforeach()
  endforeach()
endforeach()

if(faults)
  list(JOIN faults "\n  " text)
  message(FATAL_ERROR "Includes across the libraries' layering:\n  ${text}")
endif()
message(STATUS "Libraries: ${checked} files, every include within the layering")

# cmake -DSOURCE_ROOT=<src> -P CheckAreaIncludes.cmake
# Fails when a file of an area below the application includes anything from app/. The main
# window composes those areas; were one of them to reach back up, the two would depend on each
# other and neither could be built or tested alone.
cmake_policy(VERSION 3.25)
if(NOT IS_DIRECTORY "${SOURCE_ROOT}")
  message(FATAL_ERROR "No source folder at ${SOURCE_ROOT}")
endif()

set(lower_areas common components perf platform player sched settings ui nettime net)
set(faults "")
set(checked 0)
foreach(area IN LISTS lower_areas)
  file(GLOB_RECURSE files "${SOURCE_ROOT}/${area}/*.h" "${SOURCE_ROOT}/${area}/*.cpp")
  foreach(file IN LISTS files)
    math(EXPR checked "${checked} + 1")
    file(STRINGS "${file}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]app/")
    foreach(line IN LISTS lines)
      string(REGEX MATCH "app/[^>\"]*" name "${line}")
      file(RELATIVE_PATH shown "${SOURCE_ROOT}" "${file}")
      list(APPEND faults "${shown} includes ${name}")
    endforeach()
  endforeach()
endforeach()

if(faults)
  list(JOIN faults "\n  " text)
  message(FATAL_ERROR "Only the application may include app/:\n  ${text}")
endif()
message(STATUS "Areas below the application: ${checked} files, none includes app/")

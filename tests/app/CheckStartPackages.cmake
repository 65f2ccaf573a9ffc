# The start command installs none of the tests' tools, nor anything bringing one along (as apt
# tells for a fresh machine, when it can). Input: DEPS, the folder of the package lists.
cmake_minimum_required(VERSION 3.25)
foreach(name start test)
  file(STRINGS ${DEPS}/${name}.sh lines)
  list(TRANSFORM lines REPLACE "#.*|packages\\+=\\(|\\)" "")
  string(REGEX MATCHALL "[^ \t;]+" ${name} "${lines}")
endforeach()
# Named too, so that moving one from the test list to the start list is caught.
list(APPEND test clang openbox weston pulseaudio strace faketime xinetd rdate lintian libbenchmark-dev)
set(installed ${start})
execute_process(COMMAND apt-get -s -o Dir::State::status=/dev/null install
                        --no-install-recommends ${start}
                RESULT_VARIABLE rc OUTPUT_VARIABLE simulation ERROR_QUIET)
if(rc EQUAL 0)
  string(REGEX MATCHALL "\nInst [^ ]+" brought "\n${simulation}")
  list(TRANSFORM brought REPLACE "\nInst " "")
  list(APPEND installed ${brought})
endif()
foreach(package IN LISTS test)
  if(package IN_LIST installed)
    message(FATAL_ERROR "the start command installs ${package}, which only the tests need")
  endif()
endforeach()
message(STATUS "start packages ok")

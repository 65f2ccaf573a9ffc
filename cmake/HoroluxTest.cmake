# horolux_add_test(NAME SOURCES a.cpp ... [LIBS ...] [HELPERS target ...] [GUI] [BUS] [TIMEOUT s])
# Builds one Qt Test executable and registers it with CTest. Every test gets its own
# HOME and XDG folders, a pinned time zone and locale, so nothing touches the real user's files.
# Every test links the doubles. Each program named in HELPERS is built before the test, and
# its path reaches the code as <TARGET>_BIN (upper case, '-' as '_'): horolux-play gives
# HOROLUX_PLAY_BIN. BUS runs the test on a session bus of its own (dbus-run-session), for it and
# the programs it starts.
function(horolux_add_test name)
  cmake_parse_arguments(T "GUI;BUS" "TIMEOUT" "SOURCES;LIBS;HELPERS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE Qt6::Test ${T_LIBS} horolux_test_support)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
  foreach(helper IN LISTS T_HELPERS)
    string(TOUPPER "${helper}_BIN" macro)
    string(REPLACE "-" "_" macro "${macro}")
    target_compile_definitions(${name} PRIVATE ${macro}="$<TARGET_FILE:${helper}>")
    add_dependencies(${name} ${helper})
  endforeach()
  if(T_BUS)
    add_test(NAME ${name} COMMAND dbus-run-session -- $<TARGET_FILE:${name}>)
  else()
    add_test(NAME ${name} COMMAND ${name})
  endif()
  set(home ${CMAKE_BINARY_DIR}/testhome/${name})
  file(MAKE_DIRECTORY ${home})
  set(env
    "HOME=${home}"
    "XDG_CONFIG_HOME=${home}/config"
    "XDG_DATA_HOME=${home}/data"
    "XDG_RUNTIME_DIR=${home}/run"
    # Sounds go to a server the test starts itself, or nowhere; never to the machine's own.
    "PULSE_SERVER=unix:${home}/run/no-sound-server"
    # The clock is never set through the machine's time service; a test starts its own bus.
    "DBUS_SYSTEM_BUS_ADDRESS=unix:path=${home}/run/no-system-bus"
    # Nor do reminders reach the desktop's notifications.
    "DBUS_SESSION_BUS_ADDRESS=unix:path=${home}/run/no-session-bus"
    "TZ=Europe/London"
    "LANG=C.UTF-8"
    "LC_ALL=C.UTF-8"
    "HOROLUX_SOURCE_DIR=${PROJECT_SOURCE_DIR}"
    "HOROLUX_BINARY_DIR=${CMAKE_BINARY_DIR}")
  if(T_GUI)
    list(APPEND env "QT_QPA_PLATFORM=offscreen")
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "${env}" TIMEOUT ${T_TIMEOUT})
endfunction()

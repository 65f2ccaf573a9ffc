# Installs the built tree into PREFIX and checks it holds exactly what the desktop needs:
# the clock with the program module it loads and its player in libexec, the desktop entry, its
# metadata, the icons, the manual page, licence and changelog, and the uninstall script; and
# that the installed clock runs. Input: BUILD_DIR, PREFIX, APP_ID, VERSION.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${rc}")
endif()

set(expected
  bin/horolux
  libexec/horolux/horolux-play
  libexec/horolux/libhorolux.so
  share/applications/${APP_ID}.desktop
  share/metainfo/${APP_ID}.metainfo.xml
  share/dbus-1/interfaces/org.horolux.Horolux.xml
  share/icons/hicolor/scalable/apps/${APP_ID}.svg
  share/man/man1/horolux.1.gz
  share/man/de/man1/horolux.1.gz
  share/man/fr/man1/horolux.1.gz
  share/doc/horolux/copyright
  share/doc/horolux/changelog.gz
  share/horolux/uninstall.cmake)
foreach(size 16 22 24 32 48 64 128 256)
  list(APPEND expected share/icons/hicolor/${size}x${size}/apps/${APP_ID}.png)
endforeach()
list(SORT expected)
file(GLOB_RECURSE found RELATIVE ${PREFIX} ${PREFIX}/*)
list(SORT found)
if(NOT found STREQUAL expected)
  string(REPLACE ";" "\n  " found_lines "${found}")
  string(REPLACE ";" "\n  " expected_lines "${expected}")
  message(FATAL_ERROR "installed:\n  ${found_lines}\nexpected:\n  ${expected_lines}")
endif()

execute_process(COMMAND ${PREFIX}/bin/horolux --version OUTPUT_VARIABLE out RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT out STREQUAL "horolux ${VERSION}\n")
  message(FATAL_ERROR "installed horolux --version gave ${rc}: ${out}")
endif()
file(REMOVE_RECURSE ${PREFIX})
message(STATUS "install layout ok")

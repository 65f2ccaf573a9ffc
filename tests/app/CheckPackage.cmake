# Builds the Debian package into OUT and checks what a fresh system needs of it: the libraries
# found in the binaries, what is only used at run time (Qt's X11 plugin, the services list),
# exactly the installed files, and lintian at --pedantic. An install from source into PREFIX
# made before the package build must still uninstall itself and nothing else: the package build
# once rewrote the list the uninstall step read with the package's own paths in /usr.
# Input: CPACK_CONFIG, OUT, APP_ID, BUILD_DIR, PREFIX, LINTIAN.
file(REMOVE_RECURSE ${OUT} ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE rc OUTPUT_QUIET)
execute_process(COMMAND ${CMAKE_CPACK_COMMAND} --config ${CPACK_CONFIG} -B ${OUT}
                RESULT_VARIABLE cpack_rc OUTPUT_VARIABLE log ERROR_VARIABLE log)
file(GLOB deb ${OUT}/horolux_*.deb)
if(NOT rc EQUAL 0 OR NOT cpack_rc EQUAL 0 OR NOT deb)
  message(FATAL_ERROR "install (${rc}) or cpack (${cpack_rc}) failed:\n${log}")
endif()

execute_process(COMMAND dpkg-deb -f ${deb} Depends OUTPUT_VARIABLE depends)
foreach(needed qt6-qpa-plugins netbase libqt6widgets6 libqt6gui6 libqt6core6 libpulse0
        libsndfile1 libx11-6)
  if(NOT depends MATCHES "(^|, )${needed}( |,|\n|$)")
    message(FATAL_ERROR "Depends lacks ${needed}: ${depends}")
  endif()
endforeach()

include(${CMAKE_CURRENT_LIST_DIR}/InstalledFiles.cmake)
list(TRANSFORM installed_files PREPEND usr/)
list(SORT installed_files)
execute_process(COMMAND dpkg-deb -x ${deb} ${OUT}/root)
file(GLOB_RECURSE files RELATIVE ${OUT}/root ${OUT}/root/*)
list(SORT files)
if(NOT files STREQUAL installed_files)
  message(FATAL_ERROR "the package holds:\n  ${files}\nexpected:\n  ${installed_files}")
endif()

# Lintian does not compare the changelog's latest entry with the package's version.
execute_process(COMMAND dpkg-deb -f ${deb} Version OUTPUT_VARIABLE version
                OUTPUT_STRIP_TRAILING_WHITESPACE)
execute_process(COMMAND gzip -dc ${OUT}/root/usr/share/doc/horolux/changelog.gz
                OUTPUT_VARIABLE changelog)
if(NOT changelog MATCHES "^horolux \\(${version}\\) ")
  message(FATAL_ERROR "the changelog's latest entry is not version ${version}")
endif()

# A justified exception goes in an override file the package installs, with its reason.
execute_process(COMMAND ${LINTIAN} --pedantic --fail-on error,warning,pedantic ${deb}
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "lintian (${rc}):\n${out}")
endif()

set(uninstall ${PREFIX}/share/horolux/uninstall.cmake)
file(STRINGS ${uninstall} named REGEX "\\[==\\[")
foreach(line IN LISTS named)
  string(FIND "${line}" "[==[${PREFIX}/" at)
  if(at LESS 0)
    message(FATAL_ERROR "the uninstall step names a file outside ${PREFIX}: ${line}")
  endif()
endforeach()
execute_process(COMMAND ${CMAKE_COMMAND} -P ${uninstall} RESULT_VARIABLE rc)
file(GLOB_RECURSE left LIST_DIRECTORIES true RELATIVE ${PREFIX} ${PREFIX}/*)
list(FILTER left INCLUDE REGEX "horolux")
if(NOT rc EQUAL 0 OR left)
  message(FATAL_ERROR "the uninstall step (${rc}) left ${left}")
endif()
file(REMOVE_RECURSE ${OUT} ${PREFIX})
message(STATUS "package ok: ${depends}")

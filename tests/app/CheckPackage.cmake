# Installs into PREFIX, then builds the Debian package into OUT (which once made the uninstall
# step name the package's files) and checks what a fresh system needs of it (the libraries, Qt's
# X11 plugin, the services list), its files, changelog, lintian, and the uninstall step.
# Input: CPACK_CONFIG, OUT, BUILD_DIR, PREFIX, LINTIAN.
file(REMOVE_RECURSE ${OUT} ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX} OUTPUT_QUIET)
execute_process(COMMAND ${CMAKE_CPACK_COMMAND} --config ${CPACK_CONFIG} -B ${OUT}
                RESULT_VARIABLE rc OUTPUT_VARIABLE log ERROR_VARIABLE log)
file(GLOB deb ${OUT}/horolux_*.deb)
if(NOT rc EQUAL 0 OR NOT deb)
  message(FATAL_ERROR "cpack failed (${rc}):\n${log}")
endif()

execute_process(COMMAND dpkg-deb -f ${deb} Depends OUTPUT_VARIABLE depends)
foreach(needed qt6-qpa-plugins netbase libqt6widgets6 libqt6gui6 libqt6core6 libpulse0
        libsndfile1 libx11-6)
  if(NOT depends MATCHES "(^|, )${needed}( |,|\n|$)")
    message(FATAL_ERROR "Depends lacks ${needed}: ${depends}")
  endif()
endforeach()

# The package holds what an install puts into its prefix, but for the uninstall script.
file(GLOB_RECURSE installed RELATIVE ${PREFIX} ${PREFIX}/*)
list(REMOVE_ITEM installed share/horolux/uninstall.cmake)
list(TRANSFORM installed PREPEND usr/)
execute_process(COMMAND dpkg-deb -x ${deb} ${OUT}/root)
file(GLOB_RECURSE files RELATIVE ${OUT}/root ${OUT}/root/*)
if(NOT files STREQUAL installed)
  message(FATAL_ERROR "the package holds:\n  ${files}\nthe install:\n  ${installed}")
endif()
# Lintian does not compare the changelog's latest entry with the package's version.
execute_process(COMMAND dpkg-deb -f ${deb} Version OUTPUT_VARIABLE version
                OUTPUT_STRIP_TRAILING_WHITESPACE)
execute_process(COMMAND gzip -dc ${OUT}/root/usr/share/doc/horolux/changelog.gz OUTPUT_VARIABLE changelog)
if(NOT changelog MATCHES "^horolux \\(${version}\\) ")
  message(FATAL_ERROR "the changelog's latest entry is not ${version}")
endif()
# A justified exception goes in an override file the package installs, with its reason.
execute_process(COMMAND ${LINTIAN} --pedantic --fail-on error,warning,pedantic ${deb}
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "lintian (${rc}):\n${out}")
endif()
# Checked before it runs, as this test may run as root.
file(READ ${PREFIX}/share/horolux/uninstall.cmake uninstall)
string(REPLACE "[==[${PREFIX}/" "" outside "${uninstall}")
if(outside MATCHES "\\[==\\[[^\n]*")
  message(FATAL_ERROR "the uninstall step names ${CMAKE_MATCH_0}, outside ${PREFIX}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -P ${PREFIX}/share/horolux/uninstall.cmake)
file(GLOB_RECURSE left LIST_DIRECTORIES true RELATIVE ${PREFIX} ${PREFIX}/*)
list(FILTER left INCLUDE REGEX "horolux")
if(left)
  message(FATAL_ERROR "the uninstall step left ${left}")
endif()
file(REMOVE_RECURSE ${OUT} ${PREFIX})
message(STATUS "package ok: ${depends}")

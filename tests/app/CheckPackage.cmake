# Builds the Debian package into OUT and checks what a fresh system needs of it: the libraries
# found in the binaries, Qt's X11 plugin that is only loaded at run time, and the files.
# Input: CPACK_CONFIG, OUT, APP_ID.
file(REMOVE_RECURSE ${OUT})
execute_process(COMMAND ${CMAKE_CPACK_COMMAND} --config ${CPACK_CONFIG} -B ${OUT}
                RESULT_VARIABLE rc OUTPUT_VARIABLE log ERROR_VARIABLE log)
file(GLOB deb ${OUT}/horolux_*.deb)
if(NOT rc EQUAL 0 OR NOT deb)
  message(FATAL_ERROR "cpack failed (${rc}):\n${log}")
endif()

execute_process(COMMAND dpkg-deb -f ${deb} Depends OUTPUT_VARIABLE depends)
foreach(needed qt6-qpa-plugins libqt6widgets6 libqt6gui6 libqt6core6 libpulse0 libsndfile1 libx11-6)
  if(NOT depends MATCHES "(^|, )${needed}( |,|\n|$)")
    message(FATAL_ERROR "Depends lacks ${needed}: ${depends}")
  endif()
endforeach()

execute_process(COMMAND dpkg-deb -c ${deb} OUTPUT_VARIABLE files)
foreach(file ./usr/bin/horolux ./usr/bin/horolux-play ./usr/lib/horolux/libhorolux.so
        ./usr/share/applications/${APP_ID}.desktop ./usr/share/metainfo/${APP_ID}.metainfo.xml
        ./usr/share/icons/hicolor/scalable/apps/${APP_ID}.svg
        ./usr/share/icons/hicolor/48x48/apps/${APP_ID}.png)
  string(FIND "${files}" " ${file}\n" at)
  if(at LESS 0)
    message(FATAL_ERROR "${file} is not in the package:\n${files}")
  endif()
endforeach()
file(REMOVE_RECURSE ${OUT})
message(STATUS "package ok: ${depends}")

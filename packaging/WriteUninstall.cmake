# Run at the end of `cmake --install`: writes <prefix>/share/horolux/uninstall.cmake, which
# removes the files this install and earlier ones put into the prefix, then the folders that
# are only ours once empty. A staged install (DESTDIR: the package build, a distribution's) is
# not where the files stay, so it leaves no script.
# Input: HOROLUX_OWN_DIRS, relative to the prefix; the script goes into the last one.
if(NOT "$ENV{DESTDIR}" STREQUAL "")
  return()
endif()
set(dirs "")
foreach(dir IN LISTS HOROLUX_OWN_DIRS)
  cmake_path(ABSOLUTE_PATH dir BASE_DIRECTORY "${CMAKE_INSTALL_PREFIX}")
  list(APPEND dirs "${dir}")
endforeach()
list(GET dirs -1 script_dir)
set(script "${script_dir}/uninstall.cmake")
# What an earlier install listed stays listed: a file a newer version no longer installs.
set(files "")
if(EXISTS "${script}")
  file(STRINGS "${script}" files REGEX "^  \\[==\\[")
  list(TRANSFORM files REPLACE "^  \\[==\\[(.*)\\]==\\].*$" "\\1")
endif()
list(APPEND files ${CMAKE_INSTALL_MANIFEST_FILES} "${script}")
list(REMOVE_DUPLICATES files)
list(SORT files)
list(JOIN files "]==]\n  [==[" file_lines)
list(JOIN dirs "]==]\n   [==[" dir_lines)
file(WRITE "${script}" "\
# Removes what `cmake --install` put into ${CMAKE_INSTALL_PREFIX}: cmake -P ${script}
foreach(file IN ITEMS
  [==[${file_lines}]==])
  file(REMOVE \"\${file}\")
endforeach()
foreach(dir IN ITEMS
   [==[${dir_lines}]==])
  file(GLOB left \"\${dir}/*\")
  if(IS_DIRECTORY \"\${dir}\" AND NOT left)
    file(REMOVE_RECURSE \"\${dir}\")
  endif()
endforeach()
")
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${script}")
message(STATUS "Uninstall with: cmake -P ${script}")

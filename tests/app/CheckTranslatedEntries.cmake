# The desktop entry and the metadata speak every language the help has pages in (a folder with
# its own pages.txt), so that a new translation cannot leave the menus' entry behind.
# Input: SOURCE, the project's folder; APP_ID.
cmake_minimum_required(VERSION 3.25)
file(GLOB lists RELATIVE ${SOURCE}/resources/help ${SOURCE}/resources/help/*/pages.txt)
if(NOT lists)
  message(FATAL_ERROR "no translated help found")
endif()
foreach(list IN LISTS lists)
  string(REPLACE "/pages.txt" "" lang "${list}")
  foreach(key Name GenericName Comment)
    file(STRINGS ${SOURCE}/packaging/${APP_ID}.desktop found REGEX "^${key}\\[${lang}\\]=.")
    if(NOT found)
      message(SEND_ERROR "the desktop entry has no ${key}[${lang}]")
    endif()
  endforeach()
  foreach(tag name summary)
    file(STRINGS ${SOURCE}/packaging/${APP_ID}.metainfo.xml found
         REGEX "<${tag} xml:lang=\"${lang}\">[^<]")
    if(NOT found)
      message(SEND_ERROR "the metadata has no ${tag} in ${lang}")
    endif()
  endforeach()
endforeach()

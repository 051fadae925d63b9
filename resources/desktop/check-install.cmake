# Installs the "desktop" component into a scratch prefix and checks what a desktop finds there:
# the metainfo's launchable entry (appstreamcli validate-tree) and the entry's Icon in every
# hicolor size, each PNG as large as its folder says.
# cmake -DBUILD_DIR=... -DPREFIX=... -DAPPSTREAMCLI=... -DICON_SIZES=16,22,... -P check-install.cmake
cmake_minimum_required(VERSION 3.25)

if(NOT APPSTREAMCLI)
  find_program(found_appstreamcli appstreamcli)
  if(NOT found_appstreamcli)
    message(FATAL_ERROR "appstreamcli not found: run tools/install-deps")
  endif()
  set(APPSTREAMCLI ${found_appstreamcli})
endif()

file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --component desktop --prefix ${PREFIX}
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "installing the desktop component failed:\n${out}")
endif()

execute_process(COMMAND ${APPSTREAMCLI} validate-tree --no-net ${PREFIX}
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "appstreamcli validate-tree ${PREFIX}:\n${out}")
endif()

file(GLOB entries ${PREFIX}/share/applications/*.desktop)
list(LENGTH entries count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "expected one desktop entry, found: ${entries}")
endif()
file(STRINGS ${entries} icon REGEX "^Icon=")
string(REGEX REPLACE "^Icon=" "" icon "${icon}")
if(icon STREQUAL "")
  message(FATAL_ERROR "${entries} has no Icon=")
endif()

set(themes ${PREFIX}/share/icons/hicolor)
if(NOT EXISTS ${themes}/scalable/apps/${icon}.svg)
  message(FATAL_ERROR "missing ${themes}/scalable/apps/${icon}.svg")
endif()
string(REPLACE "," ";" ICON_SIZES "${ICON_SIZES}")
foreach(size IN LISTS ICON_SIZES)
  set(png ${themes}/${size}x${size}/apps/${icon}.png)
  if(NOT EXISTS ${png})
    message(FATAL_ERROR "missing ${png}")
  endif()
  # Width and height are the big-endian words at bytes 16 and 20 of the IHDR chunk.
  file(READ ${png} header HEX OFFSET 16 LIMIT 8)
  string(SUBSTRING "${header}" 0 8 w)
  string(SUBSTRING "${header}" 8 8 h)
  math(EXPR width "0x${w}")
  math(EXPR height "0x${h}")
  if(NOT width EQUAL size OR NOT height EQUAL size)
    message(FATAL_ERROR "${png} is ${width}x${height}")
  endif()
endforeach()

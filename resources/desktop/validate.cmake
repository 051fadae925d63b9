# Runs desktop-file-validate and appstreamcli on the desktop entry and the metainfo file.
# cmake -DDESKTOP_FILE_VALIDATE=... -DAPPSTREAMCLI=... -DDESKTOP_FILE=... -DMETAINFO_FILE=... -P validate.cmake
cmake_minimum_required(VERSION 3.25)

foreach(tool DESKTOP_FILE_VALIDATE APPSTREAMCLI)
  if(NOT ${tool})
    string(TOLOWER ${tool} name)
    string(REPLACE "_" "-" name ${name})
    find_program(found_${tool} ${name})
    if(NOT found_${tool})
      message(FATAL_ERROR "${name} not found: run tools/install-deps")
    endif()
    set(${tool} ${found_${tool}})
  endif()
endforeach()

# desktop-file-validate exits 0 on warnings, so any line it prints (hints aside) is a failure.
execute_process(COMMAND ${DESKTOP_FILE_VALIDATE} --no-hints ${DESKTOP_FILE}
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT result EQUAL 0 OR NOT out STREQUAL "")
  message(FATAL_ERROR "desktop-file-validate ${DESKTOP_FILE}:\n${out}")
endif()

# appstreamcli fails on errors and warnings; infos differ between its versions and pass.
execute_process(COMMAND ${APPSTREAMCLI} validate --no-net ${METAINFO_FILE}
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "appstreamcli validate ${METAINFO_FILE}:\n${out}")
endif()

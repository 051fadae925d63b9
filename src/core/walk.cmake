# Scan targets, the recursive walk and the window side of a scan.
list(APPEND VASTEL_ENGINE_SOURCES
  core/TreeWalk.cpp
  core/DriveEntries.cpp
)
list(APPEND VASTEL_UI_SOURCES
  core/DriveList.cpp
  core/TfrmAddNewFolder.cpp
  core/TfrmWildCard.cpp
  core/ScanSession.cpp
)

list(APPEND VASTEL_PLATFORM_SOURCES
  platform/Trash.cpp
  platform/FolderHandle.cpp
  platform/FileRemoval.cpp
)

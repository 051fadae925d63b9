# Folder reading, the walk's entry reader with its stamp cache, and wildcard matching.
list(APPEND VASTEL_PLATFORM_SOURCES
  platform/Wildcard.cpp
  platform/FolderReader.cpp
  platform/CoarseClock.cpp
  platform/LocalStamps.cpp
  platform/WalkEntry.cpp
)

# Reading files by their exact path bytes and PE version resources (platform); the desktop's
# file icons need QtGui, so they go with the windows.
list(APPEND VASTEL_PLATFORM_SOURCES
  platform/NativeFile.cpp
  platform/PeVersion.cpp
)
list(APPEND VASTEL_UI_SOURCES
  platform/FileIcons.cpp
)

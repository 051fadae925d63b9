# Reading files by their exact path bytes, PE version resources and the desktop's file icons.
list(APPEND VASTEL_PLATFORM_SOURCES
  platform/NativeFile.cpp
  platform/PeVersion.cpp
  platform/FileIcons.cpp
)

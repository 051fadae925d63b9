list(APPEND VASTEL_PLATFORM_SOURCES
  platform/Paths.cpp
  platform/NativePath.cpp
  platform/IniFile.cpp
  platform/Volumes.cpp
  platform/DirEntry.cpp
  platform/PackedStamp.cpp
  platform/FileTypes.cpp
  platform/SystemFolders.cpp
  platform/SoftwareRegistry.cpp
  platform/Shell.cpp
  platform/Dialogs.cpp
  platform/ScriptedDialogs.cpp
)
list(APPEND VASTEL_UI_SOURCES
  platform/WidgetDialogs.cpp
)

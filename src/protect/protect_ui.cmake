# Safe Harbor and file-type windows.
list(APPEND VASTEL_UI_SOURCES
  protect/FolderListModel.cpp
  protect/TabbedListDelegate.cpp
  protect/TfrmEditFolder.cpp
  protect/TfrmNoDelete.cpp
  protect/TfrmNoDeleteBuild.cpp
  protect/FileTypeListWindow.cpp
  protect/TfrmKeepFiles.cpp
  protect/TfrmTempFiles.cpp
  protect/TfrmSelectExtension.cpp
)

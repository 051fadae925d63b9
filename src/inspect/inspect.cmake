# File inspection: string extraction, version lines and the viewer's file access (engine),
# the viewer control and the viewer and details windows (ui).
list(APPEND VASTEL_ENGINE_SOURCES
  inspect/ExtractStrings.cpp
  inspect/VersionInfoLines.cpp
  inspect/FileBlocks.cpp
  inspect/LineIndex.cpp
  inspect/LineCounter.cpp
  inspect/TextLines.cpp
  inspect/FileSearch.cpp
  inspect/LineLayout.cpp
)
list(APPEND VASTEL_UI_SOURCES
  inspect/FileViewer.cpp
)
list(APPEND VASTEL_UI_SOURCES
  inspect/FileIcon.cpp
  inspect/TfrmView.cpp
  inspect/TfrmDetails.cpp
)

# The duplicate and file-hog finder window.
list(APPEND VASTEL_UI_SOURCES
  finders/NumberSpin.cpp
  finders/TfrmDup.cpp
  finders/TfrmDupLayout.cpp
)

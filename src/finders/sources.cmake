list(APPEND VASTEL_UI_SOURCES
  finders/TfrmDupCompare.cpp
)

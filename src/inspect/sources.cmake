list(APPEND VASTEL_UI_SOURCES
  inspect/TFindDlg.cpp
)

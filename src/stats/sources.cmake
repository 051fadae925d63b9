list(APPEND VASTEL_UI_SOURCES
  stats/TfrmStatistics.cpp
)

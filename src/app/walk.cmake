# vastel-scan walk
list(APPEND VASTEL_SCAN_SOURCES
  app/ScanWalk.cpp
)

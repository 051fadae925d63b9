# vastel-scan dups and hogs
list(APPEND VASTEL_SCAN_SOURCES
  app/ScanDups.cpp
)

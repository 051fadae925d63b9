# vastel-scan strings, vastel-scan version
list(APPEND VASTEL_SCAN_SOURCES
  app/ScanInspect.cpp
)

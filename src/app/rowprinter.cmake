# The row printer that every vastel-scan sub-command writes its lines with.
list(APPEND VASTEL_SCAN_SOURCES
  app/RowPrinter.cpp
)

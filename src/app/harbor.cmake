# vastel-scan harbor: the Safe Harbor membership test for scripts.
list(APPEND VASTEL_SCAN_SOURCES app/ScanHarbor.cpp)

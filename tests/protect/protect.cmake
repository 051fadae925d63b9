# Safe Harbor engine: entries, lists, folders.txt, membership, registry walk, file-type rows.
vastel_gtest(protect_engine_tests
  protect/FolderEntryTest.cpp
  protect/FolderListTest.cpp
  protect/SafeHarborTest.cpp
  protect/FolderListFileTest.cpp
  protect/RegistryFolderScanTest.cpp
  protect/FileTypeRowsTest.cpp
)

# The Safe Harbor window and its folder editor.
vastel_qtest(protect_nodelete_tests protect/NoDeleteWindowTest.cpp)

# The protected and temporary file-type windows and the type picker.
vastel_qtest(protect_typelist_tests protect/TypeListWindowsTest.cpp)

# vastel-scan harbor, run as a script would run it.
vastel_gtest(protect_scan_harbor_tests protect/ScanHarborTest.cpp)
add_dependencies(protect_scan_harbor_tests vastel-scan)
target_compile_definitions(protect_scan_harbor_tests PRIVATE
  VASTEL_SCAN_BIN="$<TARGET_FILE:vastel-scan>")

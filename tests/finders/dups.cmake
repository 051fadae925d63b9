# The duplicate and file-hog finder's engine and vastel-scan dups / hogs.
vastel_gtest(finders_dup_engine_tests finders/DupFinderTest.cpp)
add_dependencies(finders_dup_engine_tests vastel-scan)
target_compile_definitions(finders_dup_engine_tests PRIVATE
  VASTEL_SCAN_PATH="$<TARGET_FILE:vastel-scan>")
# The finder's column table: cell texts and typed sort keys of its records.
vastel_gtest(finders_dup_columns_tests finders/DupColumnsTest.cpp)

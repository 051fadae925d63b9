# The recursive walk, its targets and vastel-scan walk.
vastel_gtest(core_walk_tests
  core/WalkEngineTest.cpp
  core/WalkTargetsEngineTest.cpp
  core/WalkScanCommandTest.cpp
  core/WalkStampsTest.cpp
)
add_dependencies(core_walk_tests vastel-scan)
target_compile_definitions(core_walk_tests PRIVATE
  VASTEL_SCAN_PATH="$<TARGET_FILE:vastel-scan>")

# The window side of a scan, shown working in a finder-like test window.
vastel_qtest(core_walk_window_tests core/WalkWindowTest.cpp)

# The drive list, the folder list and pattern dialogs and the stand-by window.
vastel_qtest(core_walk_targets_tests core/WalkTargetsTest.cpp)

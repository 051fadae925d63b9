# The walk against a bare getdents64 + statx walk, find and du (bench/walk/run.sh), and the
# walk inside a window against the headless one.
add_executable(vastel-bench-bare-walk walk/BareWalk.cpp)
add_executable(vastel-bench-walk-window walk/WalkWindowBench.cpp)
target_link_libraries(vastel-bench-walk-window PRIVATE vastel_ui)

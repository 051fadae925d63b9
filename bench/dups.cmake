# The duplicate and file-hog finder against the bare walk (bench/dups/run.sh).
add_executable(vastel-bench-dup-phases dups/DupPhasesBench.cpp)
target_link_libraries(vastel-bench-dup-phases PRIVATE vastel_engine)
add_executable(vastel-bench-dup-window dups/DupWindowBench.cpp)
target_link_libraries(vastel-bench-dup-window PRIVATE vastel_ui)

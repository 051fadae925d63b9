# The duplicate and file-hog finder against the bare walk (bench/dups/run.sh).
add_executable(vastel-bench-dup-phases dups/DupPhasesBench.cpp)
target_link_libraries(vastel-bench-dup-phases PRIVATE vastel_engine)
add_executable(vastel-bench-dup-window dups/DupWindowBench.cpp)
target_link_libraries(vastel-bench-dup-window PRIVATE vastel_ui)
# Heap per row of the finder's grid: cell texts against records with the column table.
add_executable(vastel-bench-dup-grid-memory dups/DupGridMemoryBench.cpp)
target_link_libraries(vastel-bench-dup-grid-memory PRIVATE vastel_engine)

# The file viewer on big files: open, jumps, scrolling, line count, search and memory.
add_executable(viewer_bench inspect/ViewerBench.cpp)
target_link_libraries(viewer_bench PRIVATE vastel_ui)

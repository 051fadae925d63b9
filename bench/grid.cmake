# Sorting a million-row result grid by number, date and text.
add_executable(grid_sort_bench grid/GridSortBench.cpp)
target_link_libraries(grid_sort_bench PRIVATE vastel_engine)

# Result grid model, grid sorting and report printing.
vastel_gtest(core_grid_sort_tests
  core/gridSortTest.cpp
)
vastel_qtest(core_grid_model_tests core/gridModelTest.cpp)
vastel_qtest(core_grid_print_tests core/gridPrintTest.cpp)

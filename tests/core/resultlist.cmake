# Marks, totals and row actions of the result windows, and the painting of their grids.
vastel_qtest(core_result_list_tests core/ResultListTest.cpp)

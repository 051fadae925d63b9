# The duplicate and file-hog finder window.
vastel_qtest(finders_dup_window_tests finders/DupWindowTest.cpp)

# Not a test: shows the window after a scan, to look at it under Xvfb.
add_executable(dup_showcase finders/DupShowcase.cpp)
target_link_libraries(dup_showcase PRIVATE vastel_ui)

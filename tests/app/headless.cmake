# vastel-scan loads no GUI library: not linked, not pulled in by another library, not loaded at run.
add_test(NAME app_headless_scan_tests
         COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/app/headless_scan_test.sh $<TARGET_FILE:vastel-scan>)
vastel_set_test_env(app_headless_scan_tests)

# The set-up check: tools/check-setup passes on this build's cache with tools/install-deps, and
# fails on copies of the script with a package taken out and on small made-up caches.
add_test(NAME tools_check_setup_tests
         COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/tools/check_setup_test.sh
                 ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR})
vastel_set_test_env(tools_check_setup_tests)

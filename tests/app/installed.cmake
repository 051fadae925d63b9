# The installed tree, run from a temporary DESTDIR: vastel-scan, and vastel to its launcher.
add_test(NAME app_installed_program_tests
         COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/app/installed_program_test.sh
                 ${CMAKE_BINARY_DIR} ${CMAKE_INSTALL_PREFIX})
vastel_set_test_env(app_installed_program_tests)

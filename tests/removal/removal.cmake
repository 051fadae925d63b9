# The archiving as the review runs it, in a process of its own (another user, a size limit).
add_executable(removal_archive_helper removal/ArchiveHelper.cpp)
target_link_libraries(removal_archive_helper PRIVATE vastel_engine)

vastel_gtest(removal_engine_tests
  removal/RemovalTestSupport.cpp
  removal/TrashTest.cpp
  removal/FileRemovalTest.cpp
  removal/ArchiveTest.cpp
  removal/ReviewRemovalTest.cpp
  removal/TreeRemovalTest.cpp
  removal/RemovalTotalsTest.cpp
)
add_dependencies(removal_engine_tests removal_archive_helper)
target_compile_definitions(removal_engine_tests PRIVATE
  REMOVAL_ARCHIVE_HELPER="$<TARGET_FILE:removal_archive_helper>")

# Slow (a 4 GiB member is compressed and verified), so it has a test of its own.
vastel_gtest(removal_large_file_tests
  removal/RemovalTestSupport.cpp
  removal/LargeFileTest.cpp
)
set_tests_properties(removal_large_file_tests PROPERTIES TIMEOUT 900)

vastel_qtest(removal_review_tests removal/ReallyDeleteTest.cpp removal/RemovalTestSupport.cpp)
vastel_qtest(removal_deldirectory_tests removal/DelDirectoryTest.cpp removal/RemovalTestSupport.cpp)
vastel_qtest(removal_zipoptions_tests removal/ZipOptionsTest.cpp)

# Not a test: shows the windows in their states, to look at them under Xvfb.
add_executable(removal_showcase removal/RemovalShowcase.cpp)
target_link_libraries(removal_showcase PRIVATE vastel_ui)

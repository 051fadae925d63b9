# Archiving as the deletion review does it, against `zip -6 -q` on the same files.
add_executable(vastel-bench-removal-archive ${CMAKE_CURRENT_LIST_DIR}/removal/ArchiveBench.cpp)
target_link_libraries(vastel-bench-removal-archive PRIVATE vastel_engine)

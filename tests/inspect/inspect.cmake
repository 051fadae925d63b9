# File inspection: string extraction, the PE version reader and version lines, the viewer's
# line rules, search and layout; vastel-scan strings and version.
vastel_gtest(inspect_engine_tests
  inspect/ExtractStringsTest.cpp
  inspect/PeVersionTest.cpp
  inspect/PeFixture.cpp
  inspect/TextLinesTest.cpp
  inspect/FileSearchTest.cpp
  inspect/LineLayoutTest.cpp
)

vastel_gtest(inspect_scan_tests inspect/ScanInspectTest.cpp inspect/PeFixture.cpp)
target_compile_definitions(inspect_scan_tests PRIVATE
  VASTEL_SCAN_PROGRAM="$<TARGET_FILE:vastel-scan>")
add_dependencies(inspect_scan_tests vastel-scan)

# The PE version reader's fuzz target: built, never run by ctest. With clang it is a libFuzzer
# program (run it on a corpus folder for a few minutes); otherwise a replay program under the
# address and undefined-behaviour sanitizers for inputs given as arguments.
set(inspect_fuzz_sources
  inspect/fuzz/PeVersionFuzz.cpp
  ${CMAKE_SOURCE_DIR}/src/platform/PeVersion.cpp
  ${CMAKE_SOURCE_DIR}/src/platform/NativeFile.cpp)
if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  add_executable(inspect_pe_fuzz ${inspect_fuzz_sources})
  target_compile_options(inspect_pe_fuzz PRIVATE -fsanitize=fuzzer,address,undefined -g -O1)
  target_link_options(inspect_pe_fuzz PRIVATE -fsanitize=fuzzer,address,undefined)
else()
  add_executable(inspect_pe_fuzz ${inspect_fuzz_sources})
  target_compile_definitions(inspect_pe_fuzz PRIVATE VASTEL_FUZZ_REPLAY)
  target_compile_options(inspect_pe_fuzz PRIVATE -fsanitize=address,undefined -g -O1)
  target_link_options(inspect_pe_fuzz PRIVATE -fsanitize=address,undefined)
endif()
target_include_directories(inspect_pe_fuzz PRIVATE ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(inspect_pe_fuzz PRIVATE Qt6::Core)
set_target_properties(inspect_pe_fuzz PROPERTIES AUTOMOC OFF)

# The viewer window and its control; the details window.
vastel_qtest(inspect_viewer_tests inspect/ViewerTest.cpp)
vastel_qtest(inspect_details_tests inspect/DetailsTest.cpp inspect/PeFixture.cpp)

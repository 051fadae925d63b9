# The Safe Harbor's membership test over 20,000 entries, and the registry build on this machine.
add_executable(bench_safe_harbor protect/SafeHarborBench.cpp)
target_link_libraries(bench_safe_harbor PRIVATE vastel_engine)

add_executable(bench_harbor_build protect/HarborBuildBench.cpp)
target_link_libraries(bench_harbor_build PRIVATE vastel_engine)

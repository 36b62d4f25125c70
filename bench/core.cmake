# Benchmarks of the eclipse core: one computed series (Auto and ELP2000),
# one canon series, the Besselian elements alone.
add_executable(bench_core ${CMAKE_CURRENT_LIST_DIR}/bench_core.cpp)
target_link_libraries(bench_core PRIVATE nodalis_core benchmark::benchmark)

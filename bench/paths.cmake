# Benchmarks of the polynomial elements and the paths: a series' paths, the
# catalogue's paths file.
add_executable(bench_paths ${CMAKE_CURRENT_LIST_DIR}/bench_paths.cpp)
target_link_libraries(bench_paths PRIVATE nodalis_core benchmark::benchmark)

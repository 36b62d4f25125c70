# Benchmarks of the local circumstances at a place: one eclipse, a series,
# the catalogue.
add_executable(bench_local ${CMAKE_CURRENT_LIST_DIR}/bench_local.cpp)
target_link_libraries(bench_local PRIVATE nodalis_core benchmark::benchmark)

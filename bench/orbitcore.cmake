# orbitcore benchmarks: _planetinfo at new dates (complete-Earth Sun, reduced
# planets), repeated calls for one date, and the parts (VSOP87, nutation).
add_executable(orbitcore_bench ${CMAKE_CURRENT_LIST_DIR}/orbitcore_bench.cpp)
target_link_libraries(orbitcore_bench PRIVATE orbitcore_internal benchmark::benchmark)

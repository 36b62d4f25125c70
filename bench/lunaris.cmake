# lunaris benchmarks: _clunaris at a new date each call (with its light-time
# step), and its parts.
add_executable(lunaris_bench ${CMAKE_CURRENT_LIST_DIR}/lunaris_bench.cpp)
target_link_libraries(lunaris_bench PRIVATE lunaris_internal benchmark::benchmark)

# Benchmarks of the world map: a series' paths and map at screen size, a
# redraw, the 300 dpi file.
add_executable(bench_map ${CMAKE_CURRENT_LIST_DIR}/bench_map.cpp)
target_link_libraries(bench_map PRIVATE nodalis_draw benchmark::benchmark)

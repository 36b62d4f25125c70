# Benchmarks of the series diagram: a screen redraw and a 600 dpi export.
add_executable(bench_graphics ${CMAKE_CURRENT_LIST_DIR}/bench_graphics.cpp)
target_link_libraries(bench_graphics PRIVATE nodalis_draw benchmark::benchmark)

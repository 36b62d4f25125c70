# Main window: creation to shown window, and a Saros +1 step to new table and
# diagram (offscreen platform).
add_executable(bench_mainwin ${CMAKE_CURRENT_LIST_DIR}/bench_mainwin.cpp)
target_link_libraries(bench_mainwin PRIVATE nodalis_mainwin Qt6::Test benchmark::benchmark)

# Speed of orbitcore's lunar series (one evaluation; with light time).
add_executable(bench_moon ${CMAKE_CURRENT_LIST_DIR}/bench_moon.cpp)
target_link_libraries(bench_moon PRIVATE orbitcore_internal benchmark::benchmark)

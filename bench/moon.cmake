# Speed of orbitcore's lunar series (one evaluation; with light time).
add_executable(bench_moon ${CMAKE_CURRENT_LIST_DIR}/bench_moon.cpp)
target_link_libraries(bench_moon PRIVATE orbitcore_internal benchmark::benchmark)
if(EXISTS ${PROJECT_SOURCE_DIR}/ephem/orbitcore.h)
  target_compile_definitions(bench_moon PRIVATE MOON_BENCH_HAVE_EXPORTS=1)
endif()

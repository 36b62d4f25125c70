# nodalis_core: the program's Qt-free core — text helpers (via nodalis_utils),
# shared series state, member lines, series builder, canon reader, result
# table, Saros search — and nodalis-cli, the headless face of the program.
set(NODALIS_CORE_SOURCES
  ${CMAKE_CURRENT_SOURCE_DIR}/SeriesState.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/MemberLine.cpp)
if(NODALIS_HAVE_EPHEM)
  list(APPEND NODALIS_CORE_SOURCES
    ${CMAKE_CURRENT_SOURCE_DIR}/SeriesBuilder.cpp)
endif()

add_library(nodalis_core STATIC ${NODALIS_CORE_SOURCES})
target_include_directories(nodalis_core PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(nodalis_core PUBLIC nodalis_astro nodalis_utils)

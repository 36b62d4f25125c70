# nodalis_core: the program's Qt-free core — text helpers (via nodalis_utils),
# shared series state, member lines, series builder, canon reader, result
# table, Saros search — and nodalis-cli, the headless face of the program.
set(NODALIS_CORE_SOURCES
  ${CMAKE_CURRENT_SOURCE_DIR}/SeriesState.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/MemberLine.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/CanonParse.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/CliArgs.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/SeriesTable.cpp)
if(NODALIS_HAVE_EPHEM)
  list(APPEND NODALIS_CORE_SOURCES
    ${CMAKE_CURRENT_SOURCE_DIR}/SeriesBuilder.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/CanonReader.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/SarosSearch.cpp)
endif()

add_library(nodalis_core STATIC ${NODALIS_CORE_SOURCES})
target_include_directories(nodalis_core PUBLIC ${CMAKE_CURRENT_SOURCE_DIR} ${PROJECT_SOURCE_DIR})
target_link_libraries(nodalis_core PUBLIC nodalis_astro nodalis_utils)

if(NODALIS_HAVE_EPHEM)
  add_executable(nodalis-cli ${CMAKE_CURRENT_SOURCE_DIR}/nodalis_cli.cpp)
  target_link_libraries(nodalis-cli PRIVATE nodalis_core)
endif()

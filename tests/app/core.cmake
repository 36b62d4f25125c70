# Tests of the program's Qt-free core: text helpers, member lines, series
# builder, canon reader, result table, Saros search, nodalis-cli.
nodalis_add_gtest(test_core_text
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_utils.cpp
          ${CMAKE_CURRENT_LIST_DIR}/test_member_line.cpp
  LIBS nodalis_core)

# Places as users give them, the settings file's place, the status text.
nodalis_add_gtest(test_core_place
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_local_place.cpp
  LIBS nodalis_core
  DATA ${PROJECT_SOURCE_DIR}/tests/astro/data)

nodalis_add_gtest(test_core_table
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_table.cpp
  LIBS nodalis_core)

# Series, canon and the catalogue.
nodalis_add_gtest(test_core_series
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_series.cpp
          ${CMAKE_CURRENT_LIST_DIR}/test_canon.cpp
          ${CMAKE_CURRENT_LIST_DIR}/test_catalog.cpp
  LIBS nodalis_core PkgConfig::ERFA)
# Hostile canon files: bounded work, checked by a generous time-out
# (the time itself is measured by bench_core).
nodalis_add_gtest(test_core_canon_bounds
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_canon_bounds.cpp
  LIBS nodalis_core
  TIMEOUT 30)
# nodalis-cli end to end; the circumstances and the catalogue against the
# canon rows of the astronomy tests' fixture (forkpty for the terminal).
nodalis_add_gtest(test_core_cli
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_cli.cpp
          ${CMAKE_CURRENT_LIST_DIR}/test_cli_catalog.cpp
          ${CMAKE_CURRENT_LIST_DIR}/test_cli_failures.cpp
          ${CMAKE_CURRENT_LIST_DIR}/test_cli_geo.cpp
          ${CMAKE_CURRENT_LIST_DIR}/test_cli_place.cpp
  LIBS nodalis_core util)
target_compile_definitions(test_core_cli PRIVATE NODALIS_CLI_PATH="$<TARGET_FILE:nodalis-cli>")
add_dependencies(test_core_cli nodalis-cli)

# nodalis-cli's path files read back as GeoJSON and KML (Qt's JSON and XML
# readers).
nodalis_add_gtest(test_core_geo_files
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_geo_files.cpp
  LIBS Qt6::Core QT Core)
target_compile_definitions(test_core_geo_files PRIVATE NODALIS_CLI_PATH="$<TARGET_FILE:nodalis-cli>")
add_dependencies(test_core_geo_files nodalis-cli)

# Replays the fuzz corpus and a few thousand seeded random inputs.
nodalis_add_gtest(test_core_fuzz_replay
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_fuzz_replay.cpp
          ${PROJECT_SOURCE_DIR}/tools/fuzz/fuzz_targets.cpp
  LIBS nodalis_core nodalis_settings nodalis_cliargs
  DATA ${PROJECT_SOURCE_DIR}/tools/fuzz/corpus)
target_include_directories(test_core_fuzz_replay PRIVATE ${PROJECT_SOURCE_DIR}/tools/fuzz)

# The eclipse steps from 128 dates of the supported range: the neighbour in
# time, the canon's inside -1999 ... 3000 (about half a minute).
nodalis_add_gtest(test_core_eclipse_step
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_eclipse_step.cpp
  LIBS nodalis_core
  TIMEOUT 600)

# The Saros search over about 230 numbers from two clocks: the title always
# carries the number asked for (about a minute; its speed is bench_core's).
nodalis_add_gtest(test_core_saros_sweep
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_saros_sweep.cpp
  LIBS nodalis_core
  TIMEOUT 1500)

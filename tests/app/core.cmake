# Tests of the program's Qt-free core: text helpers, member lines, series
# builder, canon reader, result table, Saros search, nodalis-cli.
set(_core_data "${CMAKE_CURRENT_LIST_DIR}/data")
nodalis_add_gtest(test_core_text
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_utils.cpp
          ${CMAKE_CURRENT_LIST_DIR}/test_member_line.cpp
  LIBS nodalis_core)
target_compile_definitions(test_core_text PRIVATE CORE_TEST_DATA_DIR="${_core_data}")

# Tests of orbitcore's lunar series: table format and telling rows, accuracy
# against the complete ELP 2000-82B (committed fixture), Meeus' example,
# light time and absurd dates.
nodalis_add_gtest(test_moon_series
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_moon_tables.cpp
          ${CMAKE_CURRENT_LIST_DIR}/test_moon_position.cpp
  LIBS orbitcore_internal)
target_compile_definitions(test_moon_series PRIVATE
  MOON_TEST_DATA_DIR="${CMAKE_CURRENT_LIST_DIR}/data")

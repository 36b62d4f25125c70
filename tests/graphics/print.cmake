# Print dialog, preview and printed output.
nodalis_add_gtest(print_layout_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/PrintLayoutTest.cpp
  LIBS nodalis_printlayout)

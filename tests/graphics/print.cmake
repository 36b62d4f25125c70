# Print dialog, preview and printed output.
nodalis_add_gtest(print_layout_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/PrintLayoutTest.cpp
  LIBS nodalis_printlayout)

nodalis_add_gtest(print_dialog_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/PrintControlTest.cpp ${CMAKE_CURRENT_LIST_DIR}/gui_main.cpp
  LIBS nodalis_print nodalis_graphwin Qt6::Test GUI)
target_compile_definitions(print_dialog_test PRIVATE NODALIS_TEST_WIDGETS)

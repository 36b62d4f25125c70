# Print dialog, preview and printed output.
nodalis_add_gtest(print_layout_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_print_layout.cpp
  LIBS nodalis_printlayout)

nodalis_add_gtest(print_dialog_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_print_control.cpp
  LIBS nodalis_print nodalis_graphwin Qt6::Test QT Widgets)

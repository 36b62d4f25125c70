# Print dialog, preview and printed output.
nodalis_add_gtest(print_layout_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_print_layout.cpp
  LIBS nodalis_printlayout)

if(TARGET nodalis_print)
  nodalis_add_gtest(print_dialog_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_print_control.cpp
    LIBS nodalis_print Qt6::Test QT Widgets)
  # Printing from the graph window, when it is built.
  if(TARGET nodalis_graphwin)
    target_link_libraries(print_dialog_test PRIVATE nodalis_graphwin)
    target_compile_definitions(print_dialog_test PRIVATE NODALIS_HAVE_GRAPHWIN)
  endif()
endif()

# Print dialog, preview and printed output.
nodalis_add_gtest(print_layout_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_print_layout.cpp
  LIBS nodalis_printlayout)

nodalis_add_gtest(print_dialog_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_print_control.cpp
  LIBS nodalis_print nodalis_graphwin Qt6::Test QT Widgets)
# The preview on a high-resolution screen: device pixel ratio 2.
add_test(NAME PrintTest.PreviewIsDrawnAtTheScreensPixelRatio_ScaleFactor2
  COMMAND print_dialog_test --gtest_filter=PrintTest.PreviewIsDrawnAtTheScreensPixelRatio)
set_tests_properties(PrintTest.PreviewIsDrawnAtTheScreensPixelRatio_ScaleFactor2 PROPERTIES
  LABELS print_dialog_test ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_SCALE_FACTOR=2")

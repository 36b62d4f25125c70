# Tests of the date and period dialog (offscreen).
nodalis_add_gtest(test_date_form
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_date_form.cpp
  LIBS nodalis_dialogs Qt6::Test QT Widgets)

# The command line's value readers (dates, numbers), against ERFA's calendar.
nodalis_add_gtest(test_cli_args
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_cli_args.cpp
  LIBS nodalis_cliargs PkgConfig::ERFA)

# The print dialog (TPrintControl) with its preview, and the page arithmetic
# it shares with the graph window's print command.
#
# nodalis_printlayout: the page arithmetic alone, free of Qt (reads the margin
# field with the program's number parser from nodalis_utils).
add_library(nodalis_printlayout STATIC ${CMAKE_CURRENT_LIST_DIR}/PrintLayout.cpp)
target_include_directories(nodalis_printlayout PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(nodalis_printlayout PUBLIC nodalis_utils)

# nodalis_print: the dialog and the print command.
add_library(nodalis_print STATIC ${CMAKE_CURRENT_LIST_DIR}/PrintControlU.cpp)
target_link_libraries(nodalis_print PUBLIC nodalis_printlayout nodalis_draw
  Qt6::Widgets Qt6::PrintSupport)

# The graph window's "Drucken" command runs the dialog.
if(TARGET nodalis_graphwin)
  target_link_libraries(nodalis_graphwin PUBLIC nodalis_print)
endif()

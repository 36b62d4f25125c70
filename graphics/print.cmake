# The print dialog (TPrintControl) with its preview, and the page arithmetic
# it shares with the graph window's print command.
add_library(nodalis_printlayout STATIC PrintLayout.cpp)
target_include_directories(nodalis_printlayout PUBLIC ${PROJECT_SOURCE_DIR})

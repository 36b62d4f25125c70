# Drawing layer, series diagram and diagram-to-file (nodalis_draw, no
# widgets), and the graph window (nodalis_graphwin, Widgets).
add_library(nodalis_draw STATIC
  ${CMAKE_CURRENT_LIST_DIR}/Canvas.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GDIext.cpp
)
target_include_directories(nodalis_draw PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(nodalis_draw PUBLIC Qt6::Gui Qt6::PrintSupport Qt6::Svg)

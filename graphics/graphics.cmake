# Drawing layer, series diagram and diagram-to-file (nodalis_draw: QtGui,
# QtPrintSupport, QtSvg, no widgets), and the graph window (nodalis_graphwin).
set(_gfx ${CMAKE_CURRENT_LIST_DIR})
add_library(nodalis_draw STATIC
  ${_gfx}/Canvas.cpp
  ${_gfx}/GDIext.cpp
  ${_gfx}/DiagramFile.cpp
)
target_include_directories(nodalis_draw PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(nodalis_draw PUBLIC Qt6::Gui Qt6::PrintSupport Qt6::Svg)

# The diagram reads the series through the program's core.
if(TARGET nodalis_core)
  target_sources(nodalis_draw PRIVATE ${_gfx}/SeriesDiagram.cpp ${_gfx}/DiagramExport.cpp)
  target_link_libraries(nodalis_draw PUBLIC nodalis_core)

  add_library(nodalis_graphwin STATIC ${_gfx}/GrafikForm.cpp ${_gfx}/GrafikForm.h)
  set_target_properties(nodalis_graphwin PROPERTIES AUTOMOC ON)
  target_link_libraries(nodalis_graphwin PUBLIC nodalis_draw Qt6::Widgets)
endif()

# nodalis-cli --diagram: the command-line tool (app/) draws through
# nodalis_draw when the graphics are built.
if(TARGET nodalis-cli AND TARGET nodalis_core)
  target_link_libraries(nodalis-cli PRIVATE nodalis_draw)
  target_compile_definitions(nodalis-cli PRIVATE NODALIS_HAVE_DRAW=1)
endif()

# Drawing layer, series diagram and diagram-to-file (nodalis_draw: QtGui,
# QtPrintSupport, QtSvg, no widgets), the graph window (nodalis_graphwin) and
# the diagram module of nodalis-cli (nodalis-diagram).
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

# nodalis-cli --diagram: the command-line tool (app/) draws through the
# module libnodalis-diagram.so (nodalis_draw with its own copy of the core),
# which it loads only for --diagram: without it the tool starts without Qt.
if(TARGET nodalis-cli AND TARGET nodalis_core)
  add_library(nodalis-diagram MODULE ${_gfx}/DiagramModule.cpp)
  target_link_libraries(nodalis-diagram PRIVATE nodalis_draw)
  set_target_properties(nodalis-diagram PROPERTIES
    CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON
    LINK_DEPENDS ${_gfx}/diagram_module.map)
  # Only the entry is exported, and the module binds its own copy of the
  # core to itself.
  target_link_options(nodalis-diagram PRIVATE -Wl,--no-undefined -Wl,-Bsymbolic
    -Wl,--version-script=${_gfx}/diagram_module.map)
  target_sources(nodalis-cli PRIVATE ${PROJECT_SOURCE_DIR}/app/DiagramLoader.cpp)
  target_link_libraries(nodalis-cli PRIVATE ${CMAKE_DL_LIBS})
  target_compile_definitions(nodalis-cli PRIVATE NODALIS_HAVE_DRAW=1)
  add_dependencies(nodalis-cli nodalis-diagram)
endif()

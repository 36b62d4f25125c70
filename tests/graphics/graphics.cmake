# Tests of the drawing layer, the series diagram and the graph window.
set(_gfxt ${CMAKE_CURRENT_LIST_DIR})
nodalis_add_gtest(graphics_layer_test
  SOURCES ${_gfxt}/test_layer.cpp
  LIBS nodalis_draw QT Gui)
nodalis_add_gtest(graphics_diagram_test
  SOURCES ${_gfxt}/test_diagram.cpp
  LIBS nodalis_draw QT Gui)
nodalis_add_gtest(graphics_file_test
  SOURCES ${_gfxt}/test_diagram_file.cpp
  LIBS nodalis_draw QT Gui)
nodalis_add_gtest(graphics_window_test
  SOURCES ${_gfxt}/test_window.cpp
  LIBS nodalis_graphwin Qt6::Test QT Widgets)
nodalis_add_gtest(graphics_cli_test
  SOURCES ${_gfxt}/test_cli_diagram.cpp ${_gfxt}/test_cli_map.cpp
  LIBS Qt6::Gui QT Gui)
target_compile_definitions(graphics_cli_test PRIVATE
  NODALIS_CLI_PATH="$<TARGET_FILE:nodalis-cli>")
add_dependencies(graphics_cli_test nodalis-cli)

# nodalis-cli needs no Qt library at start; the diagram module exports only
# its entry; without the module the table still comes out and --diagram
# fails with a message.
add_test(NAME nodalis_cli_starts_without_qt
  COMMAND ${CMAKE_COMMAND} -DCLI=$<TARGET_FILE:nodalis-cli>
          -DMODULE=$<TARGET_FILE:nodalis-diagram>
          -P ${CMAKE_CURRENT_LIST_DIR}/scripts/check_cli_libraries.cmake)
add_test(NAME nodalis_cli_without_diagram_module
  COMMAND ${CMAKE_COMMAND} -DCLI=$<TARGET_FILE:nodalis-cli>
          -DWORK=${CMAKE_CURRENT_BINARY_DIR}
          -P ${CMAKE_CURRENT_LIST_DIR}/scripts/check_cli_without_module.cmake)

# The graph window on a real X server under a window manager (Xvfb and
# openbox, driven with xdotool; ctest counts it as skipped where those are
# not installed).
nodalis_add_test_program(test_x11_graph_window
  SOURCES ${_gfxt}/test_x11_graph_window.cpp
  LIBS nodalis_graphwin Qt6::Test QT Widgets)
add_test(NAME X11GraphWindow COMMAND bash ${PROJECT_SOURCE_DIR}/tests/app/run_under_xvfb.sh --wm
         $<TARGET_FILE:test_x11_graph_window>)
set_tests_properties(X11GraphWindow PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 300)

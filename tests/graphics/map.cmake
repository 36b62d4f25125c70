# Tests of the world map: its geometry and the series on it (free of Qt),
# its pixels (through the drawing layer).
set(_mapt ${CMAKE_CURRENT_LIST_DIR})
nodalis_add_gtest(graphics_map_geometry_test
  SOURCES ${_mapt}/test_map_geometry.cpp ${_mapt}/test_series_map.cpp
  LIBS nodalis_map)
nodalis_add_gtest(graphics_map_test
  SOURCES ${_mapt}/test_world_map.cpp
  LIBS nodalis_draw QT Gui)

# The map window on a real X server under openbox (Xvfb, xdotool; counted
# as skipped where those are not installed).
nodalis_add_test_program(test_x11_map_window
  SOURCES ${_mapt}/test_x11_map_window.cpp
  LIBS nodalis_graphwin Qt6::Test QT Widgets)
add_test(NAME X11MapWindow COMMAND bash ${PROJECT_SOURCE_DIR}/tests/app/run_under_xvfb.sh --wm
         $<TARGET_FILE:test_x11_map_window>)
set_tests_properties(X11MapWindow PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 300)

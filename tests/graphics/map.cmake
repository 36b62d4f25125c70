# Tests of the world map: its geometry and the series on it (free of Qt),
# its pixels (through the drawing layer).
set(_mapt ${CMAKE_CURRENT_LIST_DIR})
nodalis_add_gtest(graphics_map_geometry_test
  SOURCES ${_mapt}/test_map_geometry.cpp ${_mapt}/test_series_map.cpp
  LIBS nodalis_map)
nodalis_add_gtest(graphics_map_test
  SOURCES ${_mapt}/test_world_map.cpp
  LIBS nodalis_draw QT Gui)

# Tests of the drawing layer, the series diagram and the graph window.
if(TARGET nodalis_draw)
  set(_gfx ${CMAKE_CURRENT_LIST_DIR})
  nodalis_add_gtest(graphics_layer_test
    SOURCES ${_gfx}/layer_test.cpp ${_gfx}/gui_main.cpp
    LIBS nodalis_draw GUI)
endif()

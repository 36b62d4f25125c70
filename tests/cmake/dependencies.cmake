# A configuration with one dependency hidden stops with a message naming it
# and its Debian package (scripts/missing_dependency.cmake, one throwaway build
# folder a case).
add_test(NAME configure_stops_on_missing_dependency
  COMMAND ${CMAKE_COMMAND} -DSOURCE=${PROJECT_SOURCE_DIR}
          -DWORK=${CMAKE_CURRENT_BINARY_DIR}/missing_dependency
          -DC_COMPILER=${CMAKE_C_COMPILER} -DCXX_COMPILER=${CMAKE_CXX_COMPILER}
          -P ${CMAKE_CURRENT_LIST_DIR}/scripts/missing_dependency.cmake)
set_tests_properties(configure_stops_on_missing_dependency PROPERTIES TIMEOUT 300)

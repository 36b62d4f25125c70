# A configuration with one dependency hidden stops with a message naming it
# and its Debian package (scripts/missing_dependency.cmake, one throwaway build
# folder a case).
add_test(NAME configure_stops_on_missing_dependency
  COMMAND ${CMAKE_COMMAND} -DSOURCE=${PROJECT_SOURCE_DIR}
          -DWORK=${CMAKE_CURRENT_BINARY_DIR}/missing_dependency
          -DC_COMPILER=${CMAKE_C_COMPILER} -DCXX_COMPILER=${CMAKE_CXX_COMPILER}
          -P ${CMAKE_CURRENT_LIST_DIR}/scripts/missing_dependency.cmake)
set_tests_properties(configure_stops_on_missing_dependency PROPERTIES TIMEOUT 300)

# A long double other than the 80-bit x87 format stops the configuration,
# and the eclipse headers refuse to compile (scripts/long_double_check.cmake).
add_test(NAME build_refuses_other_long_double
  COMMAND ${CMAKE_COMMAND} -DSOURCE=${PROJECT_SOURCE_DIR}
          -DWORK=${CMAKE_CURRENT_BINARY_DIR}/long_double_check
          -DC_COMPILER=${CMAKE_C_COMPILER} -DCXX_COMPILER=${CMAKE_CXX_COMPILER}
          -P ${CMAKE_CURRENT_LIST_DIR}/scripts/long_double_check.cmake)
set_tests_properties(build_refuses_other_long_double PROPERTIES TIMEOUT 120)

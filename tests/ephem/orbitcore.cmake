# orbitcore tests: white-box tests of the internal routines (linked against
# the static orbitcore_internal), tests of the six exports (linked against
# liborbitcore.so) and a check of the exported symbol list.
nodalis_add_gtest(orbitcore_internal_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/test_support.h
    ${CMAKE_CURRENT_LIST_DIR}/test_time_scales.cpp
    ${CMAKE_CURRENT_LIST_DIR}/test_vsop87.cpp
    ${CMAKE_CURRENT_LIST_DIR}/test_corrections.cpp
    ${CMAKE_CURRENT_LIST_DIR}/test_pluto.cpp
    ${CMAKE_CURRENT_LIST_DIR}/test_simd_builds.cpp
  LIBS orbitcore_internal PkgConfig::ERFA)

nodalis_add_gtest(orbitcore_exports_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/test_support.h
    ${CMAKE_CURRENT_LIST_DIR}/test_exports.cpp
  LIBS orbitcore)

# The shared library exports exactly the six C functions.
add_test(NAME orbitcore_exported_symbols
  COMMAND ${CMAKE_COMMAND} -DLIB=$<TARGET_FILE:orbitcore>
          -P ${CMAKE_CURRENT_LIST_DIR}/scripts/check_exports.cmake)

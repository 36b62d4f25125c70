# orbitcore tests: white-box tests of the internal routines (linked against
# the static orbitcore_internal), tests of the six exports (linked against
# liborbitcore.so) and a check of the exported symbol list.
nodalis_add_gtest(orbitcore_internal_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/test_support.h
    ${CMAKE_CURRENT_LIST_DIR}/time_scales_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/vsop87_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/corrections_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/pluto_test.cpp
    ${CMAKE_CURRENT_LIST_DIR}/simd_builds_test.cpp
  LIBS orbitcore_internal PkgConfig::ERFA)
# The fixtures of this folder. ERFA is a test-only reference (nutation,
# obliquity, sidereal time).
target_compile_definitions(orbitcore_internal_tests PRIVATE
  ORBITCORE_TEST_DATA_DIR="${CMAKE_CURRENT_LIST_DIR}/data")

nodalis_add_gtest(orbitcore_exports_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/test_support.h
    ${CMAKE_CURRENT_LIST_DIR}/exports_test.cpp
  LIBS orbitcore)

# The shared library exports exactly the six C functions.
add_test(NAME orbitcore_exported_symbols
  COMMAND ${CMAKE_COMMAND} -DLIB=$<TARGET_FILE:orbitcore>
          -P ${CMAKE_CURRENT_LIST_DIR}/scripts/check_exports.cmake)

# Tests of the program's astronomy units (nodalis_astro).
nodalis_add_gtest(test_astro_basics
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_trigonom_matlib.cpp
          ${CMAKE_CURRENT_LIST_DIR}/test_timlib.cpp
          ${CMAKE_CURRENT_LIST_DIR}/test_saros_number.cpp
  LIBS nodalis_astro PkgConfig::ERFA)

# Eclipse computation against the NASA canon.
nodalis_add_gtest(test_astro_eclipse
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_eclipse.cpp
          ${CMAKE_CURRENT_LIST_DIR}/test_circumstances.cpp
          ${CMAKE_CURRENT_LIST_DIR}/test_canon_elements.cpp
  LIBS nodalis_astro)

# Polynomial Besselian elements and the paths on the ground, against the
# canon's elements and published path tables.
nodalis_add_gtest(test_astro_paths
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_bessel_polynomial_fit.cpp
          ${CMAKE_CURRENT_LIST_DIR}/test_eclipse_paths.cpp
  LIBS nodalis_astro)

# Local circumstances at a place, against published city tables and the
# canon's elements.
nodalis_add_gtest(test_astro_local
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_local_circumstances.cpp
  LIBS nodalis_astro)

# Tests of orbitcore's lunar series: table format and telling rows, its
# truncation against the complete series of the same construction (committed
# fixture), ELP 2000-82B at J2000, Meeus' example, light time and absurd
# dates, and the evaluation against a term-by-term walk of the streams.
nodalis_add_gtest(test_moon_series
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_moon_tables.cpp
          ${CMAKE_CURRENT_LIST_DIR}/test_moon_position.cpp
          ${CMAKE_CURRENT_LIST_DIR}/test_moon_evaluation.cpp
  LIBS orbitcore_internal)

# The compact series against lunaris (ELP 2000-82B at PREC 5e-5" with the
# canon's tidal acceleration), the program's other Moon, through its one
# export: the two part by the difference of their mean longitudes.
nodalis_add_gtest(test_moon_lunaris
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_moon_lunaris.cpp
  LIBS orbitcore_internal lunaris)

# The Moon through the library's exports (body 1011).
nodalis_add_gtest(test_moon_export
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_moon_export.cpp
  LIBS orbitcore_internal)

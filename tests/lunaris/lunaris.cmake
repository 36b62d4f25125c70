# lunaris tests: the ELP 2000-82B evaluation (white box, static archive,
# against ERFA where it has the same quantity) and the shared library's one
# export.
nodalis_add_gtest(lunaris_elp82b_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_elp82b.cpp
          ${CMAKE_CURRENT_LIST_DIR}/test_clunaris.cpp
          ${CMAKE_CURRENT_LIST_DIR}/test_elp82b_evaluation.cpp
  LIBS lunaris_internal PkgConfig::ERFA)

# The shared library as the program loads it: symbols and bad dates.
find_program(LUNARIS_NM nm REQUIRED)
find_program(LUNARIS_READELF readelf REQUIRED)
nodalis_add_gtest(lunaris_abi_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_abi.cpp
  LIBS lunaris)
target_compile_definitions(lunaris_abi_test PRIVATE
  LUNARIS_SO_PATH="$<TARGET_FILE:lunaris>"
  LUNARIS_NM_PATH="${LUNARIS_NM}"
  LUNARIS_READELF_PATH="${LUNARIS_READELF}")

# lunaris tests: the ELP 2000-82B evaluation (white box, static archive) and
# the shared library's one export.
if(TARGET lunaris)
  nodalis_add_gtest(lunaris_elp82b_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_elp82b.cpp
            ${CMAKE_CURRENT_LIST_DIR}/test_clunaris.cpp
            ${CMAKE_CURRENT_LIST_DIR}/test_elp82b_evaluation.cpp
    LIBS lunaris_internal)
  target_include_directories(lunaris_elp82b_test PRIVATE ${PROJECT_SOURCE_DIR})
  if(NOT DEFINED LUNARIS_ERFA_LIBRARY)
    find_library(LUNARIS_ERFA_LIBRARY erfa)
    find_path(LUNARIS_ERFA_INCLUDE erfa.h)
  endif()
  if(LUNARIS_ERFA_LIBRARY AND LUNARIS_ERFA_INCLUDE)
    target_include_directories(lunaris_elp82b_test PRIVATE ${LUNARIS_ERFA_INCLUDE})
    target_link_libraries(lunaris_elp82b_test PRIVATE ${LUNARIS_ERFA_LIBRARY})
    target_compile_definitions(lunaris_elp82b_test PRIVATE LUNARIS_TEST_HAVE_ERFA=1)
  endif()
  if(TARGET orbitcore_nutation)
    target_compile_definitions(lunaris_elp82b_test PRIVATE LUNARIS_TEST_HAVE_NUTATION=1)
  endif()

  # The shared library as the program loads it: symbols and bad dates.
  find_program(LUNARIS_NM nm)
  find_program(LUNARIS_READELF readelf)
  nodalis_add_gtest(lunaris_abi_test
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_abi.cpp
    LIBS lunaris)
  target_compile_definitions(lunaris_abi_test PRIVATE
    LUNARIS_SO_PATH="$<TARGET_FILE:lunaris>"
    LUNARIS_NM_PATH="${LUNARIS_NM}"
    LUNARIS_READELF_PATH="${LUNARIS_READELF}")
endif()

# Lists the dynamic symbols defined by liborbitcore.so (nm -D --defined-only)
# and fails unless they are exactly the six exports.
include(${CMAKE_CURRENT_LIST_DIR}/../../defined_symbols.cmake)
defined_symbols(${LIB} found)
set(want _aberrat_aux _calcplanet _eclipticobliquity _jddtojdb
         _localsiderealtime _planetinfo)
if(NOT "${found}" STREQUAL "${want}")
  message(FATAL_ERROR "exported symbols\n  want: ${want}\n  got:  ${found}")
endif()
message(STATUS "exports: ${found}")

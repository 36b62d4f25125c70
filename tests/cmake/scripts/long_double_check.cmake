# A compiler whose long double is not the 80-bit x87 format is refused, both
# by the configuration (with a message naming the format) and by the
# static_assert of astro/MATLIB.h. GCC's -mlong-double-64 stands in for such
# a platform (its long double is then IEEE double, LDBL_MANT_DIG 53). Run as
#   cmake -DSOURCE=<root> -DWORK=<folder> -DC_COMPILER=cc -DCXX_COMPILER=c++
#         -P tests/cmake/scripts/long_double_check.cmake
set(_failed "")
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

# 1. The configuration stops before it looks for any dependency.
execute_process(
  COMMAND ${CMAKE_COMMAND} -S ${SOURCE} -B ${WORK}/build
          -DCMAKE_C_COMPILER=${C_COMPILER} -DCMAKE_CXX_COMPILER=${CXX_COMPILER}
          -DCMAKE_CXX_FLAGS=-mlong-double-64
  OUTPUT_VARIABLE _out ERROR_VARIABLE _err RESULT_VARIABLE _rc)
string(REGEX REPLACE "[ \t\r\n]+" " " _text "${_err}")
if(_rc EQUAL 0)
  list(APPEND _failed "configured with a 64-bit long double (want a failure)")
elseif(NOT _text MATCHES "Unsupported platform: .*80-bit x87 extended format \\(LDBL_MANT_DIG == 64\\)")
  list(APPEND _failed "configuration message: ${_text}")
else()
  message(STATUS "configuration refused: ${_text}")
endif()

# 2. The header refuses to compile, for a build that bypasses the check.
file(WRITE ${WORK}/uses_matlib.cpp "#include \"astro/MATLIB.h\"\nint main() { return 0; }\n")
function(_compile_matlib out_rc out_err)
  execute_process(
    COMMAND ${CXX_COMPILER} -std=c++20 ${ARGN} -fsyntax-only -I${SOURCE} ${WORK}/uses_matlib.cpp
    OUTPUT_VARIABLE _out ERROR_VARIABLE _err RESULT_VARIABLE _rc)
  set(${out_rc} ${_rc} PARENT_SCOPE)
  set(${out_err} "${_err}" PARENT_SCOPE)
endfunction()
_compile_matlib(_rc _err -mlong-double-64)
if(_rc EQUAL 0 OR NOT _err MATCHES "80-bit x87 extended format")
  list(APPEND _failed "astro/MATLIB.h compiled with -mlong-double-64: ${_err}")
endif()
_compile_matlib(_rc _err)
if(NOT _rc EQUAL 0)
  list(APPEND _failed "astro/MATLIB.h did not compile with the native long double: ${_err}")
endif()
file(REMOVE_RECURSE ${WORK})

if(_failed)
  list(JOIN _failed "\n  " _report)
  message(FATAL_ERROR "long double check:\n  ${_report}")
endif()

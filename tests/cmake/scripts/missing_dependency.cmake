# Configures the source tree SOURCE in throwaway folders below WORK, each
# time with one dependency hidden, and checks that the configuration fails
# and that its message names the dependency and the Debian package.  Run as
#   cmake -DSOURCE=<root> -DWORK=<folder> -DC_COMPILER=cc -DCXX_COMPILER=c++
#         -P tests/cmake/scripts/missing_dependency.cmake
# Each case: a name; how it is hidden (a CMake argument, or ENV:NAME=VALUE
# for the environment); the words the message must hold.
set(_cases
  "qt|-DCMAKE_DISABLE_FIND_PACKAGE_Qt6=ON|Qt6,qt6-base-dev"
  "qt-svg|-DCMAKE_DISABLE_FIND_PACKAGE_Qt6Svg=ON|Svg,qt6-svg-dev"
  "gtest|-DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON|GTest,libgtest-dev"
  "benchmark|-DCMAKE_DISABLE_FIND_PACKAGE_benchmark=ON|benchmark,libbenchmark-dev"
  "python|-DCMAKE_DISABLE_FIND_PACKAGE_Python3=ON|Python3,python3"
  "erfa|ENV:PKG_CONFIG_LIBDIR=/nonexistent|erfa,liberfa-dev")

set(_failed "")
foreach(_case IN LISTS _cases)
  string(REPLACE "|" ";" _parts "${_case}")
  list(GET _parts 0 _name)
  list(GET _parts 1 _hide)
  list(GET _parts 2 _words)
  string(REPLACE "," ";" _words "${_words}")
  set(_dir ${WORK}/${_name})
  file(REMOVE_RECURSE ${_dir})
  set(_env "")
  set(_arg "")
  if(_hide MATCHES "^ENV:(.*)$")
    set(_env ${CMAKE_MATCH_1})
  else()
    set(_arg ${_hide})
  endif()
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env ${_env}
            ${CMAKE_COMMAND} -S ${SOURCE} -B ${_dir}
            -DCMAKE_C_COMPILER=${C_COMPILER} -DCMAKE_CXX_COMPILER=${CXX_COMPILER} ${_arg}
    OUTPUT_VARIABLE _out ERROR_VARIABLE _err RESULT_VARIABLE _rc)
  file(REMOVE_RECURSE ${_dir})
  # CMake wraps its messages; the words are looked for in one line.
  string(REGEX REPLACE "[ \t\r\n]+" " " _text "${_err}")
  set(_missing "")
  foreach(_w IN LISTS _words)
    string(FIND "${_text}" "${_w}" _at)
    if(_at LESS 0)
      list(APPEND _missing "${_w}")
    endif()
  endforeach()
  if(_rc EQUAL 0)
    list(APPEND _failed "${_name}: configured although ${_hide} (want a failure)")
  elseif(_missing OR NOT _text MATCHES "Missing dependency")
    list(APPEND _failed "${_name}: message want ${_words}, got: ${_text}")
  else()
    string(REGEX MATCH "Missing dependency:.* apt-get install [a-z0-9][a-z0-9 .+-]*[a-z0-9]" _said "${_text}")
    message(STATUS "${_name}: ${_said}")
  endif()
endforeach()

if(_failed)
  list(JOIN _failed "\n  " _report)
  message(FATAL_ERROR "configuration with a dependency hidden:\n  ${_report}")
endif()

# nodalis-cli starts without Qt: none of the libraries it needs at start
# (readelf -d, NEEDED) is a Qt library; the diagram module it loads for
# --diagram, --map and the GIS files exports its three entries and nothing else
# (nm -D --defined-only).
execute_process(COMMAND readelf -d ${CLI} OUTPUT_VARIABLE out RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "readelf failed on ${CLI}")
endif()
string(REGEX MATCHALL "\\(NEEDED\\)[^\n]*\\[[^]]*\\]" needed "${out}")
foreach(line ${needed})
  if(line MATCHES "Qt")
    message(FATAL_ERROR "nodalis-cli needs a Qt library at start: ${line}")
  endif()
endforeach()
message(STATUS "nodalis-cli needs: ${needed}")

include(${CMAKE_CURRENT_LIST_DIR}/../../defined_symbols.cmake)
defined_symbols(${MODULE} found)
if(NOT "${found}" STREQUAL "nodalis_write_file;nodalis_write_series_diagram;nodalis_write_series_map")
  message(FATAL_ERROR "diagram module exports\n  want: nodalis_write_file;nodalis_write_series_diagram;nodalis_write_series_map\n  got:  ${found}")
endif()

# nodalis-cli without its diagram module beside it (a copy of the program
# with its two libraries only): the table still comes out, and --diagram
# ends with exit code 1 and a message naming the missing module.
set(dir ${WORK}/cli_without_module)
file(REMOVE_RECURSE ${dir})
file(MAKE_DIRECTORY ${dir})
file(COPY ${CLI} DESTINATION ${dir})
get_filename_component(bin ${CLI} DIRECTORY)
get_filename_component(name ${CLI} NAME)
# Every name of the two libraries (the SONAME with its version included).
file(GLOB libs ${bin}/liborbitcore.so* ${bin}/liblunaris.so*)
foreach(lib ${libs})
  get_filename_component(libname ${lib} NAME)
  file(CREATE_LINK ${lib} ${dir}/${libname} SYMBOLIC)
endforeach()
execute_process(COMMAND ${dir}/${name} --jd 2460000.5 --saros 145 --format csv
                        --diagram ${dir}/s145.png
  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE rc)
file(REMOVE_RECURSE ${dir})
if(NOT rc EQUAL 1)
  message(FATAL_ERROR "exit code want 1, got ${rc}\n${err}")
endif()
if(NOT out MATCHES "^no,jd_tdt,")
  message(FATAL_ERROR "the table is missing:\n${out}")
endif()
if(NOT err MATCHES "Diagrammausgabe nicht verf.*libnodalis-diagram.so")
  message(FATAL_ERROR "message want the missing module, got: ${err}")
endif()
message(STATUS "without module: ${err}")

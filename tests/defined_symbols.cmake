# defined_symbols(LIB OUT): the dynamic symbols that the shared object LIB
# defines (nm -D --defined-only), sorted, into the list OUT.  For the test
# scripts that check what a library exports.
function(defined_symbols lib out)
  execute_process(COMMAND nm -D --defined-only ${lib}
    OUTPUT_VARIABLE text RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "nm failed on ${lib}")
  endif()
  string(REGEX MATCHALL "[^\n]+" lines "${text}")
  set(found "")
  foreach(line ${lines})
    string(REGEX REPLACE "^[0-9a-fA-F]* *[A-Za-z] " "" sym "${line}")
    list(APPEND found ${sym})
  endforeach()
  list(SORT found)
  set(${out} "${found}" PARENT_SCOPE)
endfunction()

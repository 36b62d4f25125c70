# nodalis_add_c_library(<name> BUILDING <macro> MAP <version script>
#                       [OBJECTS <generator expressions...>] [LIBS <libraries...>])
#
# One of the tree's C-ABI libraries (orbitcore, lunaris), built from the
# *.cpp of the calling folder and of its generated/ folder.  One
# compilation, two faces:
#   <name>_obj       the objects: hidden visibility, <macro> defined, products
#                    rounded (-ffp-contract=off: no contraction of a * b + c
#                    into a fused multiply-add where the instruction set has
#                    one, so the last bits are the same on every machine);
#   <name>           the shared library the program links: only the symbols
#                    of the version script are exported, no undefined ones;
#   <name>_internal  a static archive of the same objects, for the white-box
#                    tests and the benchmarks.
# OBJECTS: further objects linked into both faces; LIBS: libraries both link.
function(nodalis_add_c_library name)
  cmake_parse_arguments(L "" "BUILDING;MAP" "OBJECTS;LIBS" ${ARGN})
  file(GLOB _sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp
       ${CMAKE_CURRENT_SOURCE_DIR}/generated/*.cpp)
  add_library(${name}_obj OBJECT ${_sources})
  set_target_properties(${name}_obj PROPERTIES
    CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
  target_include_directories(${name}_obj PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_compile_definitions(${name}_obj PRIVATE ${L_BUILDING})
  target_compile_options(${name}_obj PRIVATE -ffp-contract=off)

  set(_objects $<TARGET_OBJECTS:${name}_obj> ${L_OBJECTS})
  set(_map ${CMAKE_CURRENT_SOURCE_DIR}/${L_MAP})
  add_library(${name} SHARED ${_objects})
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_options(${name} PRIVATE -Wl,--no-undefined -Wl,--version-script=${_map})
  set_target_properties(${name} PROPERTIES LINK_DEPENDS ${_map})
  target_link_libraries(${name} PRIVATE ${L_LIBS})

  add_library(${name}_internal STATIC ${_objects})
  target_include_directories(${name}_internal PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${name}_internal PUBLIC ${L_LIBS})
endfunction()

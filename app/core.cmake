# nodalis_core: the program's Qt-free core — text helpers (via nodalis_utils),
# shared series state, member lines, series builder, canon reader, result
# table, Saros search — and nodalis-cli, the headless face of the program.
set(NODALIS_CORE_SOURCES
  ${CMAKE_CURRENT_SOURCE_DIR}/SeriesState.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/MemberLine.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/CanonParse.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/CliArgs.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/SeriesTable.cpp)
if(NODALIS_HAVE_EPHEM)
  list(APPEND NODALIS_CORE_SOURCES
    ${CMAKE_CURRENT_SOURCE_DIR}/SeriesBuilder.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/CanonReader.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/SarosSearch.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/CatalogRow.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/EclipseCatalog.cpp)
endif()

add_library(nodalis_core STATIC ${NODALIS_CORE_SOURCES})
target_include_directories(nodalis_core PUBLIC ${CMAKE_CURRENT_SOURCE_DIR} ${PROJECT_SOURCE_DIR})
target_link_libraries(nodalis_core PUBLIC nodalis_astro nodalis_utils)

# Settings file with profile-file semantics (Qt-free; used by the windows).
add_library(nodalis_settings STATIC ${CMAKE_CURRENT_SOURCE_DIR}/PIniFile.cpp)
target_include_directories(nodalis_settings PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(nodalis_settings PUBLIC nodalis_utils)

if(NODALIS_HAVE_EPHEM)
  add_executable(nodalis-cli ${CMAKE_CURRENT_SOURCE_DIR}/nodalis_cli.cpp)
  target_link_libraries(nodalis-cli PRIVATE nodalis_core)
endif()

# libFuzzer targets (configure with CXX=clang++ -DNODALIS_FUZZ=ON): the text
# and file readers compiled with coverage and sanitizers, one executable per
# target.
if(NODALIS_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(WARNING "NODALIS_FUZZ needs clang (CXX=clang++): fuzz targets skipped")
  else()
    set(_fuzz_dir ${PROJECT_SOURCE_DIR}/tools/fuzz)
    set(_fuzz_sources
      ${_fuzz_dir}/fuzz_targets.cpp
      ${PROJECT_SOURCE_DIR}/app/Utils.cpp
      ${PROJECT_SOURCE_DIR}/app/SafeFile.cpp
      ${PROJECT_SOURCE_DIR}/app/PIniFile.cpp
      ${PROJECT_SOURCE_DIR}/app/MemberLine.cpp
      ${PROJECT_SOURCE_DIR}/app/CanonParse.cpp
      ${PROJECT_SOURCE_DIR}/app/CliArgs.cpp
      ${PROJECT_SOURCE_DIR}/astro/TIMLIB.cpp
      ${PROJECT_SOURCE_DIR}/astro/BesselRec.cpp
      ${PROJECT_SOURCE_DIR}/astro/Trigonom.cpp
      ${PROJECT_SOURCE_DIR}/astro/MATLIB.cpp)
    foreach(_t ExtractReal MemberLine CanonLine CliArgs SettingsFile CanonFile)
      string(TOLOWER ${_t} _name)
      add_executable(fuzz_${_name} ${_fuzz_dir}/fuzz_main.cpp ${_fuzz_sources})
      target_include_directories(fuzz_${_name} PRIVATE
        ${_fuzz_dir} ${PROJECT_SOURCE_DIR}/app ${PROJECT_SOURCE_DIR}/astro)
      target_compile_definitions(fuzz_${_name} PRIVATE NODALIS_FUZZ_TARGET=${_t})
      target_compile_options(fuzz_${_name} PRIVATE -g -fsanitize=fuzzer,address,undefined)
      target_link_options(fuzz_${_name} PRIVATE -fsanitize=fuzzer,address,undefined)
    endforeach()
  endif()
endif()

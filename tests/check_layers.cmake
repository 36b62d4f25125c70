# The program's folders use only the layers below them (docs/architecture.md),
# the two libraries only themselves (lunaris shares some of orbitcore's
# kernels and its nutation), and every #include names its file from
# the source root. Run as
#   cmake -DROOT=<source root> -P tests/check_layers.cmake
# Each entry: a folder, then the prefixes (folders or single headers) its
# files may include, separated by commas. The folders of _qt_free include
# no Qt header (<Q...>, <Qt...>) either.
set(_core "app/base/,astro/,app/core/")
set(_layers
  "ephem|ephem/"
  "ephem/generated|ephem/"
  "ephem/cli|ephem/orbitcore.h"
  "lunaris|lunaris/,ephem/"
  "lunaris/generated|lunaris/"
  "app/base|app/base/"
  "app/qt|app/base/,app/qt/"
  "astro|app/base/,astro/,ephem/orbitcore.h,lunaris/lunaris.h"
  "app/core|${_core}"
  "graphics/map|${_core},graphics/map/"
  "graphics/map/generated|graphics/map/"
  "graphics/draw|${_core},app/qt/,graphics/map/,graphics/draw/"
  "graphics/windows|${_core},app/qt/,graphics/map/,graphics/draw/,graphics/windows/"
  "dialogs|app/base/,app/qt/,astro/,dialogs/"
  "app/cli|${_core},app/cli/,graphics/draw/DiagramModule.h"
  "app/gui|${_core},app/qt/,graphics/map/,graphics/draw/,graphics/windows/,dialogs/,app/gui/")

set(_qt_free ephem ephem/generated ephem/cli lunaris lunaris/generated
    app/base astro app/core graphics/map graphics/map/generated app/cli)

set(_bad "")
foreach(_dir IN LISTS _qt_free)
  file(GLOB _files "${ROOT}/${_dir}/*.cpp" "${ROOT}/${_dir}/*.h")
  foreach(_file IN LISTS _files)
    file(STRINGS "${_file}" _qt REGEX "^[ \t]*#[ \t]*include[ \t]+<Q")
    foreach(_line IN LISTS _qt)
      file(RELATIVE_PATH _rel "${ROOT}" "${_file}")
      string(STRIP "${_line}" _line)
      list(APPEND _bad "${_rel}: ${_line} (a folder free of Qt)")
    endforeach()
  endforeach()
endforeach()
foreach(_layer IN LISTS _layers)
  string(FIND "${_layer}" "|" _bar)
  string(SUBSTRING "${_layer}" 0 ${_bar} _dir)
  math(EXPR _from "${_bar} + 1")
  string(SUBSTRING "${_layer}" ${_from} -1 _allowed)
  string(REPLACE "," ";" _allowed "${_allowed}")
  file(GLOB _files "${ROOT}/${_dir}/*.cpp" "${ROOT}/${_dir}/*.h")
  foreach(_file IN LISTS _files)
    file(STRINGS "${_file}" _includes REGEX "^[ \t]*#[ \t]*include[ \t]+\"")
    foreach(_line IN LISTS _includes)
      string(REGEX REPLACE "^[^\"]*\"([^\"]*)\".*$" "\\1" _name "${_line}")
      set(_ok FALSE)
      foreach(_prefix IN LISTS _allowed)
        string(FIND "${_name}" "${_prefix}" _at)
        if(_at EQUAL 0)
          set(_ok TRUE)
        endif()
      endforeach()
      if(NOT _ok)
        file(RELATIVE_PATH _rel "${ROOT}" "${_file}")
        list(APPEND _bad "${_rel}: ${_name}")
      endif()
    endforeach()
  endforeach()
endforeach()

if(_bad)
  list(JOIN _bad "\n  " _text)
  message(FATAL_ERROR "includes against the layers (or not from the source root):\n  ${_text}")
endif()

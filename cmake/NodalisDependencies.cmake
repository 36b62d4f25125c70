# How the build looks for what it needs. A dependency that is missing stops
# the configuration with one message naming it and the Debian package that
# provides it; nothing is left out quietly. Macros, so that what the
# packages define lands in the caller's scope.

# nodalis_require_package(<name> <debian packages> [find_package arguments...])
#   find_package(<name> ...); when <name> or one of its COMPONENTS is not
#   found, a fatal error naming it (or the first component missing) and the
#   packages.
macro(nodalis_require_package name debian)
  find_package(${name} ${ARGN})
  cmake_parse_arguments(_req "" "" "COMPONENTS" ${ARGN})
  # The first component not found: a package stops looking at it.
  set(_missing "")
  foreach(_c IN LISTS _req_COMPONENTS)
    if(NOT _missing AND NOT ${name}${_c}_FOUND AND NOT ${name}_${_c}_FOUND)
      set(_missing ${_c})
    endif()
  endforeach()
  if(NOT ${name}_FOUND OR _missing)
    set(_what "${name}")
    if(_missing)
      set(_what "${name} (component ${_missing})")
    endif()
    message(FATAL_ERROR "Missing dependency: ${_what} not found. "
      "On Debian 12 install it with: apt-get install ${debian}")
  endif()
endmacro()

# nodalis_require_pkg_config(<prefix> <module> <debian package>)
#   pkg_check_modules(<prefix> IMPORTED_TARGET <module>), the target
#   PkgConfig::<prefix>; when the module is not found, a fatal error naming
#   it and the package.
macro(nodalis_require_pkg_config prefix module debian)
  pkg_check_modules(${prefix} QUIET IMPORTED_TARGET GLOBAL ${module})
  if(NOT ${prefix}_FOUND)
    message(FATAL_ERROR "Missing dependency: ${module} not found by pkg-config "
      "(${module}.pc). On Debian 12 install it with: apt-get install ${debian}")
  endif()
endmacro()

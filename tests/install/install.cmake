# The installed tree: cmake --install into a temporary prefix, then the two
# programs, the diagram module and a small C program built against the
# installed orbitcore through pkg-config, all run from there
# (install_test.sh; skipped, exit 77, without pkg-config or a C compiler).
set(_install_flags "")
if(NODALIS_SANITIZE)
  # A program linking the sanitized libraries needs the sanitizer runtime.
  set(_install_flags "-fsanitize=address,undefined")
endif()
add_test(NAME install_prefix
  COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/install_test.sh
          ${CMAKE_COMMAND} ${CMAKE_BINARY_DIR} $<TARGET_FILE:nodalis-cli>
          ${CMAKE_INSTALL_BINDIR} ${CMAKE_INSTALL_LIBDIR} ${CMAKE_INSTALL_DATADIR}
          ${CMAKE_INSTALL_MANDIR} ${CMAKE_C_COMPILER} "${_install_flags}"
          ${CMAKE_CURRENT_LIST_DIR}/orbitcore_user.c)
set_tests_properties(install_prefix PROPERTIES
  SKIP_RETURN_CODE 77 TIMEOUT 300
  ENVIRONMENT "QT_QPA_PLATFORM=offscreen")

# The README and docs/ against the tree: the README's two set-up commands are
# what CI runs first, and every page and picture it links exists
# (check_docs.py); --help of nodalis-cli against its manual page.
add_test(NAME readme_setup_matches_ci
  COMMAND Python3::Interpreter ${CMAKE_CURRENT_LIST_DIR}/check_docs.py ${PROJECT_SOURCE_DIR} setup)
add_test(NAME docs_linked_from_readme
  COMMAND Python3::Interpreter ${CMAKE_CURRENT_LIST_DIR}/check_docs.py ${PROJECT_SOURCE_DIR} links)
# --help and the manual page list the same options in the same order, and
# the commands the README and docs/ show use only those.
add_test(NAME cli_help_matches_manual
  COMMAND Python3::Interpreter ${CMAKE_CURRENT_LIST_DIR}/check_docs.py ${PROJECT_SOURCE_DIR} options
          $<TARGET_FILE:nodalis-cli>)

# Every committed generated file (tables and test fixtures) is written again
# by the command in its header, from the inputs with the SHA-256 recorded
# there, into a temporary folder and compared byte for byte
# (tools/check_generated.py; skipped, exit 77, where the data sets beside
# the repository are absent).
add_test(NAME generated_files_reproduce
  COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/tools/check_generated.py)
set_tests_properties(generated_files_reproduce PROPERTIES
  SKIP_RETURN_CODE 77 TIMEOUT 300)

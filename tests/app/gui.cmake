# Tests of the settings file, the single instance and the main window.
nodalis_add_gtest(test_settings_file
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_settings_file.cpp
  LIBS nodalis_settings)

add_executable(oneinstance_probe ${CMAKE_CURRENT_LIST_DIR}/oneinstance_probe.cpp)
target_link_libraries(oneinstance_probe PRIVATE nodalis_oneinstance)
nodalis_add_gtest(test_one_instance
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_one_instance.cpp
  LIBS nodalis_oneinstance QT Core)
target_compile_definitions(test_one_instance PRIVATE
  ONEINST_PROBE_PATH="$<TARGET_FILE:oneinstance_probe>")
add_dependencies(test_one_instance oneinstance_probe)

# The main window: driven offscreen (also against nodalis-cli), its German
# texts, and captions and keys on a real X server (Xvfb) with real key events
# (xdotool; ctest counts that test as skipped where those are not installed).
nodalis_add_gtest(test_main_window
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_main_window.cpp
  LIBS nodalis_mainwin Qt6::Test QT Widgets)
target_compile_definitions(test_main_window PRIVATE
  NODALIS_CLI_PATH="$<TARGET_FILE:nodalis-cli>")
add_dependencies(test_main_window nodalis-cli)

nodalis_add_gtest(test_german_ui
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_german_ui.cpp
  LIBS nodalis_mainwin Qt6::PrintSupport Qt6::Test QT Widgets)

nodalis_add_test_program(test_x11_keys
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_x11_keys.cpp
  LIBS nodalis_mainwin Qt6::Test QT Widgets)
add_test(NAME X11Keys COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/run_under_xvfb.sh
         $<TARGET_FILE:test_x11_keys>)
set_tests_properties(X11Keys PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 300)

nodalis_add_gtest(test_nodalis_instances
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/test_nodalis_instances.cpp
  LIBS nodalis_oneinstance Qt6::Core QT Core)
target_compile_definitions(test_nodalis_instances PRIVATE
  NODALIS_PROGRAM_PATH="$<TARGET_FILE:nodalis>")
add_dependencies(test_nodalis_instances nodalis)


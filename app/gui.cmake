# The program's windows: settings file, single instance, main window and the
# executable `nodalis`. Included by app/CMakeLists.txt when NODALIS_GUI is on.
find_package(Qt6 REQUIRED COMPONENTS Core Gui Widgets Network)

# Settings file with profile-file semantics (Qt-free).
add_library(nodalis_settings STATIC ${CMAKE_CURRENT_LIST_DIR}/PIniFile.cpp)
target_include_directories(nodalis_settings PUBLIC ${CMAKE_CURRENT_LIST_DIR})

# Single instance over a local socket.
add_library(nodalis_oneinstance STATIC ${CMAKE_CURRENT_LIST_DIR}/OneInstance.cpp)
target_include_directories(nodalis_oneinstance PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(nodalis_oneinstance PUBLIC Qt6::Core Qt6::Network)
set_target_properties(nodalis_oneinstance PROPERTIES AUTOMOC ON)

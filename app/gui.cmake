# The program's windows: single instance, main window and the executable
# `nodalis` (the settings file is in core.cmake). Included by
# app/CMakeLists.txt when NODALIS_GUI is on.
find_package(Qt6 REQUIRED COMPONENTS Core Gui Widgets Network)

# Single instance over a local socket.
add_library(nodalis_oneinstance STATIC ${CMAKE_CURRENT_LIST_DIR}/OneInstance.cpp)
target_include_directories(nodalis_oneinstance PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(nodalis_oneinstance PUBLIC Qt6::Core Qt6::Network)
set_target_properties(nodalis_oneinstance PROPERTIES AUTOMOC ON)

# Application name, German locale and Qt's German translations.
add_library(nodalis_germanui STATIC ${CMAKE_CURRENT_LIST_DIR}/AppSetup.cpp)
target_include_directories(nodalis_germanui PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(nodalis_germanui PUBLIC Qt6::Core)

# The main window and the program. They need the series core with the
# ephemeris libraries, and the date dialog; the graph window joins when the
# graphics are in the tree (graphics/ is configured after app/, so its
# target is checked by its sources here).
if(TARGET nodalis_core AND NODALIS_HAVE_EPHEM
   AND EXISTS ${PROJECT_SOURCE_DIR}/app/SarosSearch.h
   AND EXISTS ${PROJECT_SOURCE_DIR}/app/CanonReader.h
   AND EXISTS ${PROJECT_SOURCE_DIR}/app/SeriesTable.h
   AND EXISTS ${PROJECT_SOURCE_DIR}/dialogs/DateFormU.cpp)
  add_library(nodalis_mainwin STATIC
    ${CMAKE_CURRENT_LIST_DIR}/NodalisU.cpp ${CMAKE_CURRENT_LIST_DIR}/NodalisU.h)
  set_target_properties(nodalis_mainwin PROPERTIES AUTOMOC ON)
  target_include_directories(nodalis_mainwin PUBLIC ${CMAKE_CURRENT_LIST_DIR})
  target_link_libraries(nodalis_mainwin PUBLIC
    nodalis_core nodalis_dialogs nodalis_settings nodalis_oneinstance nodalis_germanui
    Qt6::Widgets)
  if(EXISTS ${PROJECT_SOURCE_DIR}/graphics/GrafikForm.cpp
     AND EXISTS ${PROJECT_SOURCE_DIR}/graphics/SeriesDiagram.cpp)
    target_link_libraries(nodalis_mainwin PUBLIC nodalis_graphwin)
    target_compile_definitions(nodalis_mainwin PUBLIC NODALIS_HAVE_GRAPHWIN=1)
  endif()

  add_executable(nodalis ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
  target_link_libraries(nodalis PRIVATE nodalis_mainwin)
endif()

# The plug-in frame: the four exports' rules, the host callback, and the session every
# plug-in serves its client with.
add_library(pluginframe STATIC
  ${CMAKE_CURRENT_LIST_DIR}/exports.cpp
  ${CMAKE_CURRENT_LIST_DIR}/hostlink.cpp
  ${CMAKE_CURRENT_LIST_DIR}/servicename.cpp
  ${CMAKE_CURRENT_LIST_DIR}/session.cpp
  ${CMAKE_CURRENT_LIST_DIR}/session_intake.cpp
)
target_link_libraries(pluginframe PUBLIC mediaproto foundation)

set(TOLVANU_PLUGIN_DEF ${CMAKE_CURRENT_LIST_DIR}/plugin.def CACHE INTERNAL "")

# tolvanu_plugin(<name> SOURCES ... [LIBS ...] [DEF file] [OUTPUT_DIRECTORY dir])
# A plug-in library <name>.dll / <name>.so, exporting only the entry points: on Windows those
# the .def file names (the four by default), elsewhere those marked TOLVANU_EXPORT. Static
# libraries linked in stay private to the plug-in. Output goes to bin/ unless told otherwise.
function(tolvanu_plugin name)
  cmake_parse_arguments(P "" "DEF;OUTPUT_DIRECTORY" "SOURCES;LIBS" ${ARGN})
  add_library(${name} SHARED ${P_SOURCES})
  target_link_libraries(${name} PRIVATE ${P_LIBS})
  set_target_properties(${name} PROPERTIES PREFIX "")
  if(P_OUTPUT_DIRECTORY)
    set_target_properties(${name} PROPERTIES
      LIBRARY_OUTPUT_DIRECTORY ${P_OUTPUT_DIRECTORY}
      RUNTIME_OUTPUT_DIRECTORY ${P_OUTPUT_DIRECTORY})
  endif()
  if(WIN32)
    if(NOT P_DEF)
      set(P_DEF ${TOLVANU_PLUGIN_DEF})
    endif()
    target_sources(${name} PRIVATE ${P_DEF})
  else()
    set_target_properties(${name} PROPERTIES CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
    target_link_options(${name} PRIVATE -Wl,--exclude-libs,ALL)
  endif()
endfunction()

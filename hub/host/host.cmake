# The plug-in host: loads the plug-in libraries beside the program and routes sessions to them.
tolvanu_sources(hubhost_sources ${CMAKE_CURRENT_LIST_DIR})
add_library(hubhost STATIC ${hubhost_sources})
target_link_libraries(hubhost PUBLIC foundation)

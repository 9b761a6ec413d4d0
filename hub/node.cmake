# The discovery and session protocol node: the rules without sockets and their port adapter.
# Its sources sit in hub/node/, out of reach of the hub folder's own glob.
tolvanu_sources(hubnode_sources ${CMAKE_CURRENT_LIST_DIR}/node)
add_library(hubnode STATIC ${hubnode_sources})
target_link_libraries(hubnode PUBLIC foundation)

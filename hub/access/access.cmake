# Access control: the check of a client's "open" against the security level, the accepted
# devices and the user's answer. Its sources sit in hub/access/, out of reach of the hub
# folder's own glob.
tolvanu_sources(hubaccess_sources ${CMAKE_CURRENT_LIST_DIR})
add_library(hubaccess STATIC ${hubaccess_sources})
target_link_libraries(hubaccess PUBLIC foundation)

# Platform selection: sources named *_win32.cpp build only for Windows,
# *_posix.cpp only elsewhere; everything else is portable.
if(WIN32)
  set(TOLVANU_PLATFORM_SUFFIX win32)
  set(TOLVANU_OTHER_SUFFIX posix)
  add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
  # No runtime DLLs next to the programs: Wine (and users) would need them.
  add_link_options(-static -static-libgcc -static-libstdc++)
  # Programs of this build (tests included) run under Wine in the build tree's prefix.
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/scripts/wine-run --prefix ${CMAKE_BINARY_DIR}/wineprefix)
else()
  set(TOLVANU_PLATFORM_SUFFIX posix)
  set(TOLVANU_OTHER_SUFFIX win32)
endif()

# tolvanu_sources(<out-var> <dir>): the portable and this platform's sources of a folder.
function(tolvanu_sources out dir)
  file(GLOB all CONFIGURE_DEPENDS ${dir}/*.cpp)
  list(FILTER all EXCLUDE REGEX "_${TOLVANU_OTHER_SUFFIX}\\.cpp$")
  set(${out} ${all} PARENT_SCOPE)
endfunction()

# tolvanu_sources_of(<out-var> <dir>...): the same over several folders.
function(tolvanu_sources_of out)
  set(result)
  foreach(dir ${ARGN})
    tolvanu_sources(part ${dir})
    list(APPEND result ${part})
  endforeach()
  set(${out} ${result} PARENT_SCOPE)
endfunction()

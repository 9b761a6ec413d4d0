# Cross toolchain for the same Windows sources built for x86_64, for machines that cannot
# run 32-bit code (mingw-w64, posix threads).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TOOLCHAIN_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)

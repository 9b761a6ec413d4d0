# GoogleTest is compiled from Debian's sources by each build, so the
# sanitizer and cross builds get a matching library.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

include(GoogleTest)

# Parsing GoogleTest's headers is most of a test source's compile time: they are parsed once
# per build, into a precompiled header every test program's sources share. Its owner is a
# program so that it is compiled as the test programs are (position-independent executable).
add_executable(testheaders EXCLUDE_FROM_ALL ${CMAKE_SOURCE_DIR}/tests/testheaders.cpp)
target_link_libraries(testheaders PRIVATE GTest::gtest GTest::gmock)
target_precompile_headers(testheaders PRIVATE <gtest/gtest.h>)

# Test programs gain nothing from the optimised build's -O3 but its compile time.
set(TOLVANU_TEST_OPTIONS $<$<CONFIG:Release>:-O0>)
target_compile_options(testheaders PRIVATE ${TOLVANU_TEST_OPTIONS})

function(tolvanu_test_headers target)
  target_precompile_headers(${target} REUSE_FROM testheaders)
  target_compile_options(${target} PRIVATE ${TOLVANU_TEST_OPTIONS})
endfunction()

if(WIN32)
  # One Wine prefix per build tree, brought up once before the tests and
  # its wineserver ended after them, also when tests fail. The program makes
  # it a prefix of its own kind (32- or 64-bit).
  set(TOLVANU_WINE_RUN ${CMAKE_SOURCE_DIR}/scripts/wine-run --prefix ${CMAKE_BINARY_DIR}/wineprefix)
  add_test(NAME wine-prefix-up COMMAND ${TOLVANU_WINE_RUN} --up $<TARGET_FILE:Tolvanu>)
  add_test(NAME wine-prefix-down COMMAND ${TOLVANU_WINE_RUN} --down)
  set_tests_properties(wine-prefix-up PROPERTIES FIXTURES_SETUP wine TIMEOUT 180)
  set_tests_properties(wine-prefix-down PROPERTIES FIXTURES_CLEANUP wine TIMEOUT 60)
endif()

# tolvanu_unit_test(<name> SOURCES ... LIBS ...): one GoogleTest program.
# Natively every case is its own ctest test; under Wine the whole program
# is one test, since each Wine start costs half a second.
function(tolvanu_unit_test name)
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} testenv GTest::gtest GTest::gtest_main GTest::gmock)
  tolvanu_test_headers(${name})
  if(WIN32)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine TIMEOUT ${T_TIMEOUT}
      ENVIRONMENT "TOLVANU_BUILD_DIR=${CMAKE_BINARY_DIR}")
  else()
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
      PROPERTIES TIMEOUT ${T_TIMEOUT} ENVIRONMENT "TOLVANU_BUILD_DIR=${CMAKE_BINARY_DIR}")
  endif()
endfunction()

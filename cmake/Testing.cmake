# Test helpers shared by every directory.
#
# cardinit_test(<name> SOURCES <files...> [LIBS <targets...>] [WRAP <command...>]
#               [LABELS <labels...>] [TIMEOUT <seconds>] [RESOURCE_LOCK <names...>])
#
# Builds a GoogleTest executable <name> for the side being built and registers
# it with ctest. In the target build the test runs under Wine in the build's own
# prefix (set up once by the "wineprefix" fixture); in the native build it runs
# directly, under the sanitizers. WRAP puts a command in front, for example a
# script that starts a device simulator on a pty and links it to a COM port:
# the wrapper gets the whole command line (with "wine" in the target build)
# after its own arguments and a "--".
#
# Tests that show top-level windows take the "desktop" lock: the windows of
# all Wine programs share one desktop, and a window shown by one test takes
# the activation from another test's window.

set(CARDINIT_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix CACHE PATH "Wine prefix used by the tests")
set(CARDINIT_WINE wine CACHE STRING "Wine loader used to run target programs")

if(CARDINIT_TARGET AND BUILD_TESTING)
  # The prefix is made once; each test run then starts one persistent Wine
  # server for the prefix (detached from ctest's output, so that no test's
  # output pipe stays open for the server's lifetime) and stops it at the end.
  add_test(NAME wineprefix
           COMMAND ${CMAKE_SOURCE_DIR}/tools/wineprefix.sh --start-server ${CARDINIT_WINEPREFIX})
  set_tests_properties(wineprefix PROPERTIES FIXTURES_SETUP wineprefix TIMEOUT 600)
  add_test(NAME wineserver_stop
           COMMAND ${CMAKE_SOURCE_DIR}/tools/wineprefix.sh --stop-server ${CARDINIT_WINEPREFIX})
  set_tests_properties(wineserver_stop PROPERTIES FIXTURES_CLEANUP wineprefix TIMEOUT 120)
endif()

# The environment every target-side program needs under Wine.
set(CARDINIT_WINE_ENV
    WINEPREFIX=${CARDINIT_WINEPREFIX}
    WINEDEBUG=-all
    WINEDLLOVERRIDES=mscoree,mshtml=)

function(cardinit_test name)
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS;WRAP;LABELS;RESOURCE_LOCK" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  if(T_WRAP)
    set(wrap ${T_WRAP} --)
  else()
    set(wrap)
  endif()
  if(CARDINIT_TARGET)
    add_test(NAME ${name} COMMAND ${wrap} ${CARDINIT_WINE} $<TARGET_FILE:${name}>)
    set_tests_properties(${name} PROPERTIES
      FIXTURES_REQUIRED wineprefix
      ENVIRONMENT "${CARDINIT_WINE_ENV}")
  else()
    add_test(NAME ${name} COMMAND ${wrap} $<TARGET_FILE:${name}>)
    set_tests_properties(${name} PROPERTIES
      ENVIRONMENT "ASAN_OPTIONS=detect_leaks=1:abort_on_error=0;UBSAN_OPTIONS=print_stacktrace=1")
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT})
  if(T_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}")
  endif()
  if(T_RESOURCE_LOCK)
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK "${T_RESOURCE_LOCK}")
  endif()
endfunction()

# cardinit_wine_command(<name> COMMAND <exe> <args...> [WRAP <command...>])
# registers a non-GoogleTest target-side program (a benchmark smoke run, say)
# as a ctest test with the Wine environment.
function(cardinit_wine_command name)
  cmake_parse_arguments(T "" "TIMEOUT" "COMMAND;WRAP" ${ARGN})
  if(T_WRAP)
    set(wrap ${T_WRAP} --)
  else()
    set(wrap)
  endif()
  add_test(NAME ${name} COMMAND ${wrap} ${CARDINIT_WINE} ${T_COMMAND})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wineprefix
    ENVIRONMENT "${CARDINIT_WINE_ENV}" TIMEOUT ${T_TIMEOUT})
endfunction()

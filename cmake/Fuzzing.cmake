# The fuzz build: every library instrumented for libFuzzer's coverage
# (-fsanitize=fuzzer-no-link), on top of ASan and UBSan; the fuzz targets
# in tests/fuzz link libFuzzer's driver (-fsanitize=fuzzer). Only clang
# has libFuzzer: with another compiler, or a clang without its runtime, the
# option is switched off with a note.
include(CheckCXXSourceCompiles)

if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(STATUS "CARDINIT_FUZZ needs clang (the compiler is ${CMAKE_CXX_COMPILER_ID}): fuzz targets not built")
  set(CARDINIT_FUZZ OFF CACHE BOOL "" FORCE)
  return()
endif()

set(CMAKE_REQUIRED_FLAGS -fsanitize=fuzzer)
set(CMAKE_REQUIRED_LINK_OPTIONS -fsanitize=fuzzer)
check_cxx_source_compiles([[
#include <cstddef>
#include <cstdint>
extern "C" int LLVMFuzzerTestOneInput(const uint8_t*, size_t) { return 0; }
]] CARDINIT_HAVE_LIBFUZZER)
unset(CMAKE_REQUIRED_FLAGS)
unset(CMAKE_REQUIRED_LINK_OPTIONS)
if(NOT CARDINIT_HAVE_LIBFUZZER)
  message(STATUS "CARDINIT_FUZZ: clang links no libFuzzer (libclang-rt-dev missing?): fuzz targets not built")
  set(CARDINIT_FUZZ OFF CACHE BOOL "" FORCE)
  return()
endif()

add_compile_options(-fsanitize=fuzzer-no-link)

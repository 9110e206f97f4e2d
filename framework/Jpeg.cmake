# libjpeg for the target, built from Debian's libjpeg-turbo source tree that
# tools/setup.sh unpacks into deps/ (never committed): static, without
# SIMD, with the same mingw toolchain. The library is taken from its build
# tree (the headers from the install step).
include(ExternalProject)
set(jpeg_source ${CMAKE_SOURCE_DIR}/deps/libjpeg-turbo)
set(jpeg_prefix ${CMAKE_BINARY_DIR}/libjpeg)
ExternalProject_Add(libjpeg_build
  SOURCE_DIR ${jpeg_source}
  PREFIX ${jpeg_prefix}
  INSTALL_DIR ${jpeg_prefix}/install
  CMAKE_ARGS
    -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/mingw-i686.cmake
    -DCMAKE_BUILD_TYPE=Release
    -DCMAKE_INSTALL_PREFIX=<INSTALL_DIR>
    -DCMAKE_INSTALL_LIBDIR=lib
    -DWITH_SIMD=0 -DENABLE_SHARED=0 -DENABLE_STATIC=1
    -DWITH_TURBOJPEG=0 -DWITH_JAVA=0 -DREQUIRE_SIMD=0
    -DCMAKE_POLICY_VERSION_MINIMUM=3.5
  BUILD_BYPRODUCTS ${jpeg_prefix}/src/libjpeg_build-build/libjpeg.a
  UPDATE_COMMAND ""
  TEST_COMMAND "")
file(MAKE_DIRECTORY ${jpeg_prefix}/install/include)
add_library(framework_jpeg STATIC IMPORTED GLOBAL)
set_target_properties(framework_jpeg PROPERTIES
  IMPORTED_LOCATION ${jpeg_prefix}/src/libjpeg_build-build/libjpeg.a
  INTERFACE_INCLUDE_DIRECTORIES ${jpeg_prefix}/install/include)
add_dependencies(framework_jpeg libjpeg_build)

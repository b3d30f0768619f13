# Third-party libraries, all from Debian packages.
#
# Native: GoogleTest, SQLite, zlib and minizip from their -dev packages.
# mingw:  zlib from libz-mingw-w64-dev; minizip compiled here from Debian's zlib
#         source package (scripts/deps fetches it with apt-get source into
#         .deps/zlib); GoogleTest compiled from the sources of Debian's
#         googletest package under /usr/src/googletest.

set(POM_DEPS_DIR "${CMAKE_SOURCE_DIR}/.deps" CACHE PATH "Where scripts/deps unpacks source packages")

if(POM_WINDOWS)
  set(ZLIB_USE_STATIC_LIBS ON)  # link libz.a into the one self-contained .exe
  find_package(ZLIB REQUIRED)
  file(GLOB POM_ZLIB_SRC LIST_DIRECTORIES true "${POM_DEPS_DIR}/zlib/contrib/minizip")
  if(NOT POM_ZLIB_SRC)
    message(FATAL_ERROR "minizip sources missing: run scripts/deps (expects ${POM_DEPS_DIR}/zlib)")
  endif()
  add_library(pom_minizip STATIC
    ${POM_ZLIB_SRC}/unzip.c ${POM_ZLIB_SRC}/ioapi.c ${POM_ZLIB_SRC}/iowin32.c)
  target_include_directories(pom_minizip SYSTEM PUBLIC ${POM_ZLIB_SRC})
  target_compile_options(pom_minizip PRIVATE -w)
  target_link_libraries(pom_minizip PUBLIC ZLIB::ZLIB)
  add_library(pom::minizip ALIAS pom_minizip)

  if(POM_TESTS)
    set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    # googletest's own build defines the GTest:: aliases.
  endif()
else()
  find_package(ZLIB REQUIRED)
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(MINIZIP REQUIRED IMPORTED_TARGET minizip)
  add_library(pom::minizip ALIAS PkgConfig::MINIZIP)
  find_package(SQLite3 REQUIRED)
  find_package(Threads REQUIRED)
  if(POM_TESTS)
    find_package(GTest REQUIRED)
  endif()
endif()

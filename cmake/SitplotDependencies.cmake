# SPDX-License-Identifier: Apache-2.0
# Every third-party library comes from the system (Debian -dev packages).
find_package(PkgConfig REQUIRED)
find_package(Freetype REQUIRED)
find_package(RapidJSON REQUIRED)
pkg_check_modules(GLU REQUIRED IMPORTED_TARGET glu)
pkg_check_modules(TINYXML REQUIRED IMPORTED_TARGET tinyxml)
pkg_check_modules(JSONCPP REQUIRED IMPORTED_TARGET jsoncpp)
# SQLCipher, not libsqlite3: the store needs the sqlite3_key codec entry point,
# and both must never be linked into one process.
pkg_check_modules(SQLCIPHER REQUIRED IMPORTED_TARGET sqlcipher)
pkg_check_modules(MARIADB REQUIRED IMPORTED_TARGET libmariadb)

if(NOT TARGET RapidJSON::RapidJSON)
  add_library(RapidJSON::RapidJSON INTERFACE IMPORTED)
  set_target_properties(RapidJSON::RapidJSON PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES "${RAPIDJSON_INCLUDE_DIRS}")
endif()

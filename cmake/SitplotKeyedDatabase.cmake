# SPDX-License-Identifier: Apache-2.0
# Keyed symbol library files built from SQL text with the sqlcipher shell.
#
# SITPLOT_LIBRARY_KEY is the key the SQLite engine opens every library file
# with, read from its one definition in the engine's LibraryKey.h.
#
# sitplot_keyed_database(<output> [KEY <key>] SCRIPTS <script>...): builds
# output from the scripts, in order, under the library key unless another is
# given (an empty key leaves the file unencrypted).
include_guard(DIRECTORY)

find_program(SITPLOT_SQLCIPHER_SHELL sqlcipher REQUIRED)

set(_sitplot_library_key_header
  ${PROJECT_SOURCE_DIR}/markstore/store/internal/markstore_internal/LibraryKey.h)
set(_sitplot_make_keyed_database ${CMAKE_CURRENT_LIST_DIR}/SitplotMakeKeyedDatabase.cmake)

file(STRINGS ${_sitplot_library_key_header} _key_line
  REGEX "^inline constexpr char kLibraryKey\\[\\] = \"[^\"]*\";$")
list(LENGTH _key_line _key_lines)
if(NOT _key_lines EQUAL 1)
  message(FATAL_ERROR "${_sitplot_library_key_header}: expected one definition of kLibraryKey")
endif()
string(REGEX REPLACE "^[^\"]*\"([^\"]*)\".*$" "\\1" SITPLOT_LIBRARY_KEY "${_key_line}")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_sitplot_library_key_header})

function(sitplot_keyed_database output)
  cmake_parse_arguments(D "" "KEY" "SCRIPTS" ${ARGN})
  set(depends ${D_SCRIPTS} ${_sitplot_make_keyed_database})
  if(NOT DEFINED D_KEY AND NOT "KEY" IN_LIST D_KEYWORDS_MISSING_VALUES)
    set(D_KEY ${SITPLOT_LIBRARY_KEY})
    list(APPEND depends ${_sitplot_library_key_header})
  endif()
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -DSHELL=${SITPLOT_SQLCIPHER_SHELL} -DKEY=${D_KEY}
            -DOUTPUT=${output} "-DSCRIPTS=${D_SCRIPTS}" -P ${_sitplot_make_keyed_database}
    DEPENDS ${depends}
    COMMENT "Building keyed symbol library ${output}"
    VERBATIM)
endfunction()

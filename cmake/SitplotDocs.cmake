# SPDX-License-Identifier: Apache-2.0
# The API reference: Doxygen over the public headers of geomkit (with the path
# module and the version header) and markstore, with docs/mainpage.md as its
# front page. `cmake --build build --target docs` writes build/docs/html;
# Doxygen warnings fail the target. The target exists only when Doxygen is
# found; SITPLOT_BUILD_DOCS builds it with every build (and then requires
# Doxygen). The reference is installed under share/doc/sitplot when it has
# been built. A project that adds sitplot with add_subdirectory gets the
# target only with SITPLOT_BUILD_DOCS.
if(NOT SITPLOT_IS_TOP_LEVEL AND NOT SITPLOT_BUILD_DOCS)
  return()
endif()
if(SITPLOT_BUILD_DOCS)
  find_package(Doxygen REQUIRED)
else()
  find_package(Doxygen QUIET)
endif()
if(NOT DOXYGEN_FOUND)
  message(STATUS "Doxygen not found: no docs target")
  return()
endif()

# The public header folders are the build-tree include folders that the two
# libraries publish to their users.
set(SITPLOT_DOCS_DIRS "")
foreach(lib geomkit markstore)
  get_target_property(dirs ${lib} INTERFACE_INCLUDE_DIRECTORIES)
  foreach(d IN LISTS dirs)
    if(d MATCHES "^\\$<BUILD_INTERFACE:(.+)>$")
      list(APPEND SITPLOT_DOCS_DIRS ${CMAKE_MATCH_1})
    endif()
  endforeach()
endforeach()
list(REMOVE_DUPLICATES SITPLOT_DOCS_DIRS)

set(SITPLOT_DOCS_OUTPUT ${PROJECT_BINARY_DIR}/docs)
list(JOIN SITPLOT_DOCS_DIRS " " SITPLOT_DOCS_STRIP)
set(SITPLOT_DOCS_INPUT "${PROJECT_SOURCE_DIR}/docs/mainpage.md ${SITPLOT_DOCS_STRIP}")
configure_file(${PROJECT_SOURCE_DIR}/docs/Doxyfile.in ${SITPLOT_DOCS_OUTPUT}/Doxyfile @ONLY)

set(docs_all "")
if(SITPLOT_BUILD_DOCS)
  set(docs_all ALL)
endif()
add_custom_target(docs ${docs_all}
  COMMAND ${CMAKE_COMMAND} -E remove_directory ${SITPLOT_DOCS_OUTPUT}/html
  COMMAND Doxygen::doxygen ${SITPLOT_DOCS_OUTPUT}/Doxyfile
  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
  COMMENT "Writing the API reference to ${SITPLOT_DOCS_OUTPUT}/html"
  VERBATIM)

install(DIRECTORY ${SITPLOT_DOCS_OUTPUT}/html/ DESTINATION ${CMAKE_INSTALL_DOCDIR}/html
  COMPONENT dev OPTIONAL)

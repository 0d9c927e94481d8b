# SPDX-License-Identifier: Apache-2.0
# The configured version header <sitplot/version.h>. Both libraries reach it
# through geomkit's public include folders (markstore links geomkit), and it
# is installed beside the other public headers.
set(SITPLOT_GENERATED_INCLUDE_DIR ${PROJECT_BINARY_DIR}/include)
configure_file(${PROJECT_SOURCE_DIR}/cmake/version.h.in
  ${SITPLOT_GENERATED_INCLUDE_DIR}/sitplot/version.h @ONLY)
target_include_directories(geomkit PUBLIC $<BUILD_INTERFACE:${SITPLOT_GENERATED_INCLUDE_DIR}>)
install(FILES ${SITPLOT_GENERATED_INCLUDE_DIR}/sitplot/version.h
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/sitplot COMPONENT dev)

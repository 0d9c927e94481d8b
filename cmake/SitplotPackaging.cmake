# SPDX-License-Identifier: Apache-2.0
# What `cmake --install` puts beside the libraries for their users, and the
# Debian packages that CPack makes of the installed tree.
#
# Install components (every install() names one):
#   geomkit    libgeomkit.so.1           -> package libgeomkit1
#   markstore  libmarkstore.so.1         -> package libmarkstore1
#   dev        headers, libX.so links, CMake package, pkg-config files and
#              the API reference when it was built -> package libsitplot-dev
#   tools      the programs              -> package sitplot-tools

# CMake package (sitplot::geomkit, sitplot::markstore) with its version file:
# find_package(sitplot 1.0) accepts any 1.x from 1.0 on.
set(SITPLOT_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/sitplot)

install(EXPORT sitplotTargets NAMESPACE sitplot:: DESTINATION ${SITPLOT_CMAKE_DIR} COMPONENT dev)
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/sitplotConfig.cmake.in
  ${PROJECT_BINARY_DIR}/sitplotConfig.cmake INSTALL_DESTINATION ${SITPLOT_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/sitplotConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/sitplotConfig.cmake ${PROJECT_BINARY_DIR}/sitplotConfigVersion.cmake
  DESTINATION ${SITPLOT_CMAKE_DIR} COMPONENT dev)

# The .pc files find their prefix relative to their own folder.
file(RELATIVE_PATH PC_PREFIX_FROM_PCFILEDIR /${CMAKE_INSTALL_LIBDIR}/pkgconfig /)
string(REGEX REPLACE "/$" "" PC_PREFIX_FROM_PCFILEDIR "${PC_PREFIX_FROM_PCFILEDIR}")
foreach(pc geomkit markstore)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/${pc}.pc.in ${PROJECT_BINARY_DIR}/${pc}.pc @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/${pc}.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT dev)
endforeach()

# A project that adds sitplot with add_subdirectory does its own packaging.
if(NOT SITPLOT_IS_TOP_LEVEL)
  return()
endif()

# Debian packages: `cmake --build build --target package` writes one .deb per
# component into the build folder. The libraries' runtime packages carry
# their soname in the name; the dependencies on system libraries are read
# from the binaries (dpkg-shlibdeps), those between the packages of one
# release pin the same version.
# Each package carries the copyright file that Debian policy asks for: our
# licence and that of the code compiled in from third_party/.
foreach(pair geomkit:libgeomkit1 markstore:libmarkstore1 dev:libsitplot-dev tools:sitplot-tools)
  string(REPLACE ":" ";" pair ${pair})
  list(GET pair 0 component)
  list(GET pair 1 package)
  install(FILES ${PROJECT_SOURCE_DIR}/cmake/debian-copyright RENAME copyright
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${package} COMPONENT ${component})
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME sitplot)
set(CPACK_PACKAGE_VENDOR "sitplot developers")
set(CPACK_PACKAGE_CONTACT "sitplot developers <sitplot@localhost>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/packages)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL geomkit markstore dev tools)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
# dpkg-shlibdeps looks at one package at a time: it finds the libraries of
# the sibling packages in the build tree, and the component dependencies
# above pin them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS "")
foreach(lib geomkit markstore)
  get_target_property(dir ${lib} LIBRARY_OUTPUT_DIRECTORY)
  if(NOT dir)
    get_target_property(dir ${lib} BINARY_DIR)
  endif()
  list(APPEND CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${dir})
endforeach()

set(sitplot_so ${PROJECT_VERSION_MAJOR})

# Descriptions: the first line is the package's synopsis, the rest its
# extended description (an empty summary keeps CPack from putting the
# project's description in front of every package's own).
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "")
set(CPACK_COMPONENT_GEOMKIT_DESCRIPTION "sitplot geometry kit (shared library)
Geometry value types, text-encoding utilities, plotting measures, Bezier
curves and arrow heads, offset lines, polygon tessellation, glyph outlines,
normals, globe and camera conversions, and the path module.")
set(CPACK_DEBIAN_GEOMKIT_PACKAGE_NAME libgeomkit${sitplot_so})
set(CPACK_DEBIAN_GEOMKIT_PACKAGE_SECTION libs)

set(CPACK_COMPONENT_MARKSTORE_DESCRIPTION "sitplot symbol model and symbol library store (shared library)
Symbols made of drawing units, and the symbol library store (a keyed
SQLite file or a MySQL server behind one manager interface).")
set(CPACK_DEBIAN_MARKSTORE_PACKAGE_NAME libmarkstore${sitplot_so})
set(CPACK_DEBIAN_MARKSTORE_PACKAGE_SECTION libs)
set(CPACK_COMPONENT_MARKSTORE_DEPENDS geomkit)

set(CPACK_COMPONENT_DEV_DESCRIPTION "sitplot development files
Headers of geomkit and markstore, the CMake package sitplot
(find_package(sitplot)), the pkg-config modules geomkit and markstore,
and the API reference when it was built.")
set(CPACK_DEBIAN_DEV_PACKAGE_NAME libsitplot-dev)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_COMPONENT_DEV_DEPENDS geomkit markstore)

set(CPACK_COMPONENT_TOOLS_DESCRIPTION "sitplot programs
sitconv: batch conversion of situation XML documents into JSON and GeoJSON.
symlib: browse, search, render and publish a symbol library.
The programs expect a GBK locale (LC_ALL=zh_CN.GBK).")
set(CPACK_DEBIAN_TOOLS_PACKAGE_NAME sitplot-tools)
set(CPACK_DEBIAN_TOOLS_PACKAGE_SECTION utils)
set(CPACK_COMPONENT_TOOLS_DEPENDS geomkit markstore)

include(CPack)

# Installs the CMake package (sitplot::geomkit, sitplot::markstore) and the
# pkg-config files geomkit.pc and markstore.pc.
set(SITPLOT_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/sitplot)

install(EXPORT sitplotTargets NAMESPACE sitplot:: DESTINATION ${SITPLOT_CMAKE_DIR})
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/sitplotConfig.cmake.in
  ${PROJECT_BINARY_DIR}/sitplotConfig.cmake INSTALL_DESTINATION ${SITPLOT_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/sitplotConfigVersion.cmake
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/sitplotConfig.cmake ${PROJECT_BINARY_DIR}/sitplotConfigVersion.cmake
  DESTINATION ${SITPLOT_CMAKE_DIR})

# The .pc files find their prefix relative to their own folder.
file(RELATIVE_PATH PC_PREFIX_FROM_PCFILEDIR /${CMAKE_INSTALL_LIBDIR}/pkgconfig /)
string(REGEX REPLACE "/$" "" PC_PREFIX_FROM_PCFILEDIR "${PC_PREFIX_FROM_PCFILEDIR}")
foreach(pc geomkit markstore)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/${pc}.pc.in ${PROJECT_BINARY_DIR}/${pc}.pc @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/${pc}.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
endforeach()

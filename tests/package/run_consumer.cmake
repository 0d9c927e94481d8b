# SPDX-License-Identifier: Apache-2.0
# Builds and runs the consumer of tests/package against an installed sitplot,
# three ways: through find_package(sitplot 1.0), through pkg-config, and as a
# program that links markstore alone (-lmarkstore, no geomkit), which only
# starts when the installed libmarkstore finds libgeomkit by itself.
#
#   cmake -DBUILD_DIR=<build tree> -DCONSUMER_DIR=... -DWORK_DIR=... -DCXX=... -P run_consumer.cmake
#       installs the build tree into WORK_DIR/prefix first and builds against
#       that prefix (it also runs the installed sitconv once);
#   cmake -DSYSTEM=ON -DCONSUMER_DIR=... -DWORK_DIR=... -DCXX=... -P run_consumer.cmake
#       builds against what is installed in the system folders (/usr), with
#       no search paths given.
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "failed (${rc}): ${ARGN}\n${out}\n${err}")
  endif()
  set(run_output "${out}" PARENT_SCOPE)
endfunction()

# Runs a consumer program and checks that it reports the expected version.
function(run_consumer program version)
  run(${program})
  if(NOT run_output STREQUAL "sitplot ${version}\n")
    message(FATAL_ERROR "${program} printed '${run_output}', expected 'sitplot ${version}'")
  endif()
  string(STRIP "${run_output}" said)
  message(STATUS "${program}: ${said}")
endfunction()

set(cmake_args "")
set(link_args "")
if(SYSTEM)
  set(prefix /usr)
else()
  set(prefix ${WORK_DIR}/prefix)
  file(STRINGS ${BUILD_DIR}/CMakeCache.txt libdir REGEX "^CMAKE_INSTALL_LIBDIR:")
  string(REGEX REPLACE "^[^=]*=" "" libdir "${libdir}")
  run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})
  foreach(f ${libdir}/libgeomkit.so ${libdir}/libmarkstore.so bin/sitconv
            include/geomkit/geomkit.h include/markstore/markstore.h include/sitplot/version.h
            ${libdir}/pkgconfig/geomkit.pc ${libdir}/pkgconfig/markstore.pc
            ${libdir}/cmake/sitplot/sitplotConfig.cmake ${libdir}/cmake/sitplot/sitplotConfigVersion.cmake)
    if(NOT EXISTS ${prefix}/${f})
      message(FATAL_ERROR "installed tree lacks ${f}")
    endif()
  endforeach()
  list(APPEND cmake_args -DCMAKE_PREFIX_PATH=${prefix})
  set(ENV{PKG_CONFIG_PATH} ${prefix}/${libdir}/pkgconfig)
  # The program's own run path names the prefix's library folder only; the
  # libraries find each other through theirs.
  set(link_args -L${prefix}/${libdir} -Wl,-rpath,${prefix}/${libdir})

  # The installed program starts from the prefix (empty batch).
  file(MAKE_DIRECTORY ${prefix}/bin/source)
  run(${prefix}/bin/sitconv)
endif()

# CMake package: find_package(sitplot 1.0), linking sitplot::markstore only.
run(${CMAKE_COMMAND} -S ${CONSUMER_DIR} -B ${WORK_DIR}/cmake-build ${cmake_args}
    -DCMAKE_CXX_COMPILER=${CXX} -DCMAKE_BUILD_TYPE=Release)
string(REGEX MATCH "sitplot ([0-9.]+) from" found "${run_output}")
set(cmake_version ${CMAKE_MATCH_1})
run(${CMAKE_COMMAND} --build ${WORK_DIR}/cmake-build)
run_consumer(${WORK_DIR}/cmake-build/consumer "${cmake_version}")

# pkg-config.
execute_process(COMMAND pkg-config --modversion markstore
  OUTPUT_VARIABLE pc_version RESULT_VARIABLE rc OUTPUT_STRIP_TRAILING_WHITESPACE)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "pkg-config does not know markstore")
endif()
if(NOT pc_version STREQUAL cmake_version)
  message(FATAL_ERROR "pkg-config reports ${pc_version}, the CMake package ${cmake_version}")
endif()
execute_process(COMMAND pkg-config --cflags --libs markstore
  OUTPUT_VARIABLE flags RESULT_VARIABLE rc OUTPUT_STRIP_TRAILING_WHITESPACE)
separate_arguments(flags UNIX_COMMAND "${flags}")
run(${CXX} -std=c++17 ${CONSUMER_DIR}/main.cpp -DSITPLOT_EXPECTED_VERSION="${pc_version}"
    ${flags} ${link_args} -o ${WORK_DIR}/consumer-pc)
run_consumer(${WORK_DIR}/consumer-pc "${pc_version}")

# markstore alone: no -lgeomkit on the command line.
execute_process(COMMAND pkg-config --cflags markstore
  OUTPUT_VARIABLE cflags OUTPUT_STRIP_TRAILING_WHITESPACE)
separate_arguments(cflags UNIX_COMMAND "${cflags}")
run(${CXX} -std=c++17 ${CONSUMER_DIR}/main.cpp -DMARKSTORE_ONLY -DSITPLOT_EXPECTED_VERSION="${pc_version}"
    ${cflags} ${link_args} -lmarkstore -o ${WORK_DIR}/consumer-markstore)
run_consumer(${WORK_DIR}/consumer-markstore "${pc_version}")

# SPDX-License-Identifier: Apache-2.0
# Checks of sitconv's outputs by outside tools: the JSON outputs against the
# published schema (python3-jsonschema) and the GeoJSON outputs read back by
# GDAL (gdal-bin). Each converts the golden documents, the samples and a few
# generated ones itself.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
find_program(SITPLOT_OGR2OGR ogr2ogr REQUIRED)
foreach(check schema gdal)
  add_test(NAME sitconv_outputs_${check}
    COMMAND Python3::Interpreter ${CMAKE_CURRENT_LIST_DIR}/check_outputs.py ${check}
            $<TARGET_FILE:sitconv> ${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR}/sitconv-check-${check})
  set_tests_properties(sitconv_outputs_${check} PROPERTIES ENVIRONMENT "${SITPLOT_TEST_ENV}" TIMEOUT 300)
endforeach()

# The command-line tests open the sample library and report the version.
if(TARGET sitconv_tests)
  add_dependencies(sitconv_tests symbol_library_sample store_test_databases sitconv)
  target_compile_definitions(sitconv_tests PRIVATE SITPLOT_PROJECT_VERSION="${PROJECT_VERSION}"
    SITPLOT_TEST_DATABASE_DIR="${test_databases}")
endif()

# SPDX-License-Identifier: Apache-2.0
# Builds a keyed symbol library file from SQL scripts with the sqlcipher shell:
#   cmake -DSHELL=sqlcipher -DKEY=... -DOUTPUT=file.db -DSCRIPTS="a.sql;b.sql" -P SitplotMakeKeyedDatabase.cmake
# The file is rebuilt from scratch; any SQL error fails the build.
foreach(var SHELL KEY OUTPUT SCRIPTS)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "SitplotMakeKeyedDatabase.cmake: ${var} is not set")
  endif()
endforeach()

set(input "${OUTPUT}.sql")
file(WRITE "${input}" "PRAGMA key = '${KEY}';\n")
foreach(script IN LISTS SCRIPTS)
  file(READ "${script}" text)
  file(APPEND "${input}" "${text}\n")
endforeach()

file(REMOVE "${OUTPUT}")
execute_process(COMMAND "${SHELL}" -bail "${OUTPUT}"
  INPUT_FILE "${input}"
  RESULT_VARIABLE result
  OUTPUT_VARIABLE out
  ERROR_VARIABLE err)
if(NOT result EQUAL 0 OR NOT err STREQUAL "")
  file(REMOVE "${OUTPUT}")
  message(FATAL_ERROR "SitplotMakeKeyedDatabase.cmake: building ${OUTPUT} failed (${result}): ${err}")
endif()
file(REMOVE "${input}")

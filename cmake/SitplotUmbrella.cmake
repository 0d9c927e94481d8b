# SPDX-License-Identifier: Apache-2.0
# Writes an umbrella header that includes every public header found in the
# given folders, so that adding a header never needs a hand-kept list.
#   sitplot_umbrella(OUTPUT file GUARD NAME HEADERS h1 h2 ...)
function(sitplot_umbrella)
  cmake_parse_arguments(U "" "OUTPUT;GUARD;TITLE" "HEADERS" ${ARGN})
  set(body "")
  list(SORT U_HEADERS)
  foreach(h IN LISTS U_HEADERS)
    string(APPEND body "#include <${h}>\n")
  endforeach()
  file(CONFIGURE OUTPUT "${U_OUTPUT}" CONTENT
"// ${U_TITLE}
// Generated at configure time: includes every public header of the library.
#ifndef ${U_GUARD}
#define ${U_GUARD}

${body}
#endif
" @ONLY)
endfunction()

# Lists public headers of a folder as include paths relative to it.
function(sitplot_public_headers out dir)
  file(GLOB_RECURSE abs CONFIGURE_DEPENDS RELATIVE "${dir}" "${dir}/*.h")
  set(${out} ${abs} PARENT_SCOPE)
endfunction()

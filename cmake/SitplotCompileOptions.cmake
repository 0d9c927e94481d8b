# SPDX-License-Identifier: Apache-2.0
# Compiler settings shared by every target of the project.
#
# Single-precision roundings are part of the results (stored symbols are
# compared against them), so the geometry must be compiled without fused
# multiply-add contraction and without GCC's SLP vectorizer, which at -O2 can
# keep a pair of float products in double registers and drop their rounding.
#
# CColor has virtual accessors and, by design of its layout, no virtual
# destructor; clang warns wherever a container destroys one, so that warning
# is off.
add_library(sitplot_compile_options INTERFACE)
target_compile_options(sitplot_compile_options INTERFACE
  -Wall -Wextra
  $<$<BOOL:${SITPLOT_WERROR}>:-Werror>
  $<$<CXX_COMPILER_ID:Clang>:-Wno-delete-non-abstract-non-virtual-dtor>
  -ffp-contract=off
  $<$<CXX_COMPILER_ID:GNU>:-fno-tree-slp-vectorize>)

# Library code spells every narrowing to float as a cast (each one is a
# deliberate single-precision rounding) and never hides a name of an
# enclosing scope. Tests and tools are not held to this.
add_library(sitplot_library_warnings INTERFACE)
target_compile_options(sitplot_library_warnings INTERFACE -Wfloat-conversion -Wshadow)

# Instrumented code that clang's sanitizers must skip (third-party faults):
# cmake/sanitizer-ignorelist.txt.
set(_san_ignore "")
if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  set(_san_ignore -fsanitize-ignorelist=${CMAKE_CURRENT_LIST_DIR}/sanitizer-ignorelist.txt)
endif()

if(SITPLOT_SANITIZE)
  set(_san -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_compile_options(${_san} ${_san_ignore})
  add_link_options(${_san})
endif()

# Applies the shared settings to a target without exporting the helper
# target. Library targets (shared, static, object: the libraries, the path
# module, the converter's stages) also get the stricter library warnings.
function(sitplot_target_defaults target)
  target_link_libraries(${target} PRIVATE $<BUILD_INTERFACE:sitplot_compile_options>)
  get_target_property(type ${target} TYPE)
  if(type MATCHES "^(SHARED|STATIC|OBJECT|MODULE)_LIBRARY$")
    target_link_libraries(${target} PRIVATE $<BUILD_INTERFACE:sitplot_library_warnings>)
  endif()
endfunction()

# Fuzzing builds instrument the libraries too, so that the fuzzers see their
# branches and not only the harness. Every undefined behaviour is fatal, as
# in the sanitizer build.
if(SITPLOT_BUILD_FUZZERS)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "SITPLOT_BUILD_FUZZERS needs clang (libFuzzer): configure with CXX=clang++")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined ${_san_ignore})
  add_link_options(-fsanitize=address,undefined)
endif()

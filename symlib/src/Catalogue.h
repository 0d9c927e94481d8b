// SPDX-License-Identifier: Apache-2.0
// The static web catalogue of a symbol library: one self-contained
// index.html (no network access, no external assets) with the category
// tree, a live search box and every symbol as an inline SVG thumbnail,
// rendered lazily as it scrolls into view.
#ifndef SYMLIB_CATALOGUE_H
#define SYMLIB_CATALOGUE_H

#include "Library.h"

#include <cstddef>
#include <string>

namespace symlib {

// Writes DIR/index.html for one library (every library when lib is 0),
// creating DIR when missing. False with a one-line reason; *symbols gets the
// number of symbols written.
bool WriteCatalogue(Library& library, int lib, const std::string& dir, std::size_t* symbols,
                    std::string* why);

}  // namespace symlib

#endif

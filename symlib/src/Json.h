// SPDX-License-Identifier: Apache-2.0
// A small JSON writer for symlib's outputs. Strings must be UTF-8; "<", ">"
// and "&" are written as \u escapes so that the text can sit inside an HTML
// <script> element.
#ifndef SYMLIB_JSON_H
#define SYMLIB_JSON_H

#include <string>

namespace symlib {

// The JSON string literal of a UTF-8 text, quotes included.
std::string JsonString(const std::string& utf8);
// A number as JSON (non-finite values as null).
std::string JsonNumber(double value);

}  // namespace symlib

#endif

// SPDX-License-Identifier: Apache-2.0
// Attribute access shared by the converter's readers: a missing attribute
// reads as the empty text; numbers follow the C conversions (atoi, atoll,
// atof: leading blanks skipped, parsing stops at the first character that
// does not fit, 0 when there is no number).
#ifndef SITCONV_LEGACY_XMLTEXT_H
#define SITCONV_LEGACY_XMLTEXT_H

#include <geomkit/UtilityFunctions.h>

#include <tinyxml.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace HQ {
namespace legacy {
namespace xml {

// NUL bytes appended to a text before TinyXML parses it. TinyXML 2.6 takes
// the length of a UTF-8 character from its lead byte and steps over that many
// bytes even when the terminating NUL is among them, so a text that ends
// inside a multibyte character (a cut or corrupt file) made it read past the
// end of the buffer. With this padding it steps at most three bytes into
// NULs and stops there.
const size_t kParsePadding = 8;

// Parses text with TinyXML, encoding unknown (taken from a byte-order mark or
// the declaration). Parse errors are not examined: the callers walk whatever
// elements were built.
inline void parseDocument(TiXmlDocument& doc, const std::string& text) {
    std::string padded;
    padded.reserve(text.size() + kParsePadding);
    padded = text;
    padded.append(kParsePadding, '\0');
    doc.Parse(padded.c_str(), nullptr, TIXML_ENCODING_UNKNOWN);
}

inline const char* attr(const TiXmlElement* e, const char* name) {
    const char* v = e->Attribute(name);
    return v != nullptr ? v : "";
}
// The attribute text turned from UTF-8 into the local code page; empty when
// the attribute is missing or the text has no code-page form.
inline std::string ansiAttr(const TiXmlElement* e, const char* name) {
    return CHQGS_UtilityFunctions::UTF8ToANSI(attr(e, name));
}
inline bool has(const TiXmlElement* e, const char* name) { return e->Attribute(name) != nullptr; }
inline bool named(const TiXmlElement* e, const char* name) {
    return e != nullptr && std::strcmp(e->Value(), name) == 0;
}
// True exactly when the text is "TRUE" (case-sensitive).
inline bool isTrue(const char* text) { return std::strcmp(text, "TRUE") == 0; }
inline bool isTrue(const std::string& text) { return text == "TRUE"; }

inline int toInt(const char* text) { return std::atoi(text); }
inline double toColour(const char* text) { return static_cast<double>(std::atoll(text)); }
inline double toDouble(const char* text) { return std::atof(text); }

}  // namespace xml
}  // namespace legacy
}  // namespace HQ

#endif

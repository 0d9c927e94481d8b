// SPDX-License-Identifier: Apache-2.0
// Parsing limits of situation documents, checked on the text before the XML
// reader sees it. The reader recurses once per nesting level (a document
// nested deep enough overflows the stack) and compares every attribute of
// an element with those before it (time grows with the square of the
// count). Real documents nest about ten levels and carry a few dozen
// attributes per element; the limits are far above that and far below what
// the stack or the time would notice.
#ifndef SITCONV_XMLLIMITS_H
#define SITCONV_XMLLIMITS_H

#include <string>

namespace HQ {

const int kMaxXmlDepth = 1000;
const int kMaxXmlAttributes = 1000;

// True when text stays within both limits; otherwise false with why set
// ("nested deeper than 1000 elements at line 12", ...). The scan follows
// the reader's view of the markup: comments, CDATA sections, declarations
// and quoted attribute values do not open elements. It may count more than
// the reader builds (after an error the reader stops), never less.
bool withinXmlLimits(const std::string& text, std::string& why);

}  // namespace HQ

#endif

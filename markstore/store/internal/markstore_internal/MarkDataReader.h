// SPDX-License-Identifier: Apache-2.0
// The mark data reader as the engines call it: the data text given by its
// bounds (it may hold NUL bytes), and a conversion applied to each text the
// drawing holds (font names and texts), one text at a time.
#ifndef MARKSTORE_INTERNAL_MARKDATAREADER_H
#define MARKSTORE_INTERNAL_MARKDATAREADER_H

#include <string>

namespace HQ {

class CHQGS_Symbol;

// Converts one text read from the data text; null: texts are kept as read.
using MarkTextConversion = std::string (*)(const std::string& text);

// As ParseMarkData (markstore/MarkData.h) on the text [begin, end), with
// convert applied to every font name and text. A text that the conversion
// empties is empty on its own unit; the rest of the drawing is unaffected.
// The parser set-up is made once per thread and reused by later calls.
bool ParseMarkDataText(CHQGS_Symbol* symbol, const char* begin, const char* end, MarkTextConversion convert);

}  // namespace HQ

#endif

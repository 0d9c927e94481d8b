// SPDX-License-Identifier: Apache-2.0
// Names shared by the symbol reader and writer: operation types, display
// types, the dashed line type and the accepted font families.
#ifndef SITCONV_SYMBOLNAMES_H
#define SITCONV_SYMBOLNAMES_H

namespace HQ {

const int kOperTypeCount = 4;
extern const char* const kOperTypeNames[kOperTypeCount];  // code 0-3

const int kDisplayTypeCount = 14;
extern const char* const kDisplayTypeNames[kDisplayTypeCount];  // code 0-13
// Written for a display type outside 0-13.
const int kFallbackDisplayType = 8;  // "SCREEN_HALFPIXEL"

// The line type whose dashes are described by a length and an interval.
const int kDashLineType = 2;

// The accepted font families as GBK bytes, and the one that replaces any
// other family.
const int kFontFamilyCount = 3;
extern const char* const kFontFamilies[kFontFamilyCount];
extern const char* const kDefaultFontFamily;

}  // namespace HQ

#endif

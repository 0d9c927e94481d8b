// SPDX-License-Identifier: Apache-2.0
// UTF-16 code units: the constants and helpers shared by the code-page
// conversions and the UTF-8 codec of CHQGS_UtilityFunctions.
#ifndef GEOMKIT_SRC_UTF16UNITS_H
#define GEOMKIT_SRC_UTF16UNITS_H

#include <cstdint>
#include <string>

namespace HQ {
namespace utf16 {

constexpr wchar_t kReplacement = 0xFFFD;
constexpr std::uint32_t kByteOrderMark = 0xFEFF;
constexpr std::uint32_t kFirstAstral = 0x10000;  // first code point that needs a surrogate pair
constexpr std::uint32_t kLastCodePoint = 0x10FFFF;
constexpr std::uint32_t kHighSurrogate = 0xD800;
constexpr std::uint32_t kLowSurrogate = 0xDC00;
constexpr std::uint32_t kSurrogateMask = 0xFC00;  // selects the 6 bits that tell high from low

inline bool IsHighSurrogate(std::uint32_t u) { return (u & kSurrogateMask) == kHighSurrogate; }
inline bool IsLowSurrogate(std::uint32_t u) { return (u & kSurrogateMask) == kLowSurrogate; }

// Appends a code point as UTF-16: a supplementary-plane character becomes
// a surrogate pair, anything else one unit.
inline void AppendUtf16(std::wstring& out, std::uint32_t c) {
    if (c >= kFirstAstral && c <= kLastCodePoint) {
        out.push_back(static_cast<wchar_t>(kHighSurrogate + ((c - kFirstAstral) >> 10)));
        out.push_back(static_cast<wchar_t>(kLowSurrogate + (c & 0x3FF)));
    } else {
        out.push_back(static_cast<wchar_t>(c));
    }
}

}  // namespace utf16
}  // namespace HQ

#endif

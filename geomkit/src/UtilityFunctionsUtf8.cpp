// SPDX-License-Identifier: Apache-2.0
// UTF-8 codec members of CHQGS_UtilityFunctions: UTF-8 to and from UTF-16
// wide strings, and the display width and sequence length of UTF-8 text.
#include <geomkit/UtilityFunctions.h>

#include "Utf16Units.h"

#include <cctype>
#include <cstdint>

namespace HQ {

namespace {

using namespace utf16;

// Sequence length of a UTF-8 lead byte as used by the display width count:
// every byte that cannot start a multi-byte sequence (ASCII, continuation
// bytes, C0/C1 and F5-FF) counts as a one-byte character.
int Utf8TableLength(unsigned char b) {
    if (b < 0xC2) return 1;
    if (b <= 0xDF) return 2;
    if (b <= 0xEF) return 3;
    if (b <= 0xF4) return 4;
    return 1;
}

}  // namespace

std::wstring CHQGS_UtilityFunctions::UTF8ToUnicode(const std::string& utf8) {
    const unsigned char* s = reinterpret_cast<const unsigned char*>(utf8.data());
    const std::size_t n = utf8.size();
    std::wstring out;
    out.reserve(n);

    std::size_t i = 0;
    // Exactly one leading byte-order mark disappears: the encoded EF BB BF
    // prefix (only when more text follows it), or else a U+FEFF that is the
    // first character decoded.
    bool dropLeadingFeff = true;
    if (n > 3 && s[0] == 0xEF && s[1] == 0xBB && s[2] == 0xBF) {
        i = 3;
        dropLeadingFeff = false;
    }
    auto emit = [&](std::uint32_t c) {
        if (dropLeadingFeff) {
            dropLeadingFeff = false;
            if (c == kByteOrderMark) return;
        }
        AppendUtf16(out, c);
    };

    int pending = 0;            // continuation bytes still expected
    std::uint32_t value = 0;    // value gathered so far
    std::uint32_t minimum = 0;  // smallest value this sequence length may encode
    std::size_t leadPos = 0;    // position of the current sequence's lead byte
    while (i < n) {
        const unsigned char b = s[i];
        if (pending == 0) {
            leadPos = i;
            if (b < 0x80) {
                emit(b);
            } else if ((b & 0xE0) == 0xC0) {
                pending = 1, value = b & 0x1Fu, minimum = 0x80;
            } else if ((b & 0xF0) == 0xE0) {
                pending = 2, value = b & 0x0Fu, minimum = 0x800;
            } else if ((b & 0xF8) == 0xF0) {
                pending = 3, value = b & 0x07u, minimum = kFirstAstral;
            } else {
                emit(kReplacement);  // stray continuation byte or F8-FF
            }
            ++i;
        } else if ((b & 0xC0) == 0x80) {
            value = (value << 6) | (b & 0x3Fu);
            ++i;
            if (--pending == 0) {
                if (value >= kFirstAstral && value <= kLastCodePoint) {
                    emit(value);  // becomes a surrogate pair
                } else if (value < minimum) {
                    emit(kReplacement);  // overlong form
                } else if (value <= 0xD7FF || (value >= 0xE000 && value <= 0xFFFD)) {
                    emit(value);
                } else {
                    emit(kReplacement);  // surrogate, U+FFFE, U+FFFF or beyond U+10FFFF
                }
            }
        } else {
            // A sequence cut short: one replacement, then look again at
            // everything after its lead byte.
            emit(kReplacement);
            pending = 0;
            i = leadPos + 1;
        }
    }
    // Text ending inside a sequence: one replacement per byte left over.
    if (pending != 0)
        for (std::size_t k = leadPos; k < n; ++k) emit(kReplacement);
    return out;
}

std::string CHQGS_UtilityFunctions::UnicodeToUTF8(const std::wstring& wide) {
    std::string out;
    out.reserve(wide.size() * 3);
    const std::size_t n = wide.size();
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint32_t u = static_cast<std::uint32_t>(wide[i]);
        if (u == 0) break;  // a U+0000 unit ends the text
        if (u < 0x80) {
            out.push_back(static_cast<char>(u));
            continue;
        }
        if (u < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (u >> 6)));
            out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
            continue;
        }
        std::uint32_t c = u;
        if (IsHighSurrogate(u) && i + 1 < n && IsLowSurrogate(static_cast<std::uint32_t>(wide[i + 1]))) {
            c = ((u - kHighSurrogate) << 10) + (static_cast<std::uint32_t>(wide[i + 1]) - kLowSurrogate) +
                kFirstAstral;
            ++i;
        }
        // A 32-bit wchar_t can hold values that no UTF-8 sequence encodes.
        if (c > kLastCodePoint) c = kReplacement;
        if (c > 0xFFFF) {
            out.push_back(static_cast<char>(0xF0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

double CHQGS_UtilityFunctions::getUTF8Size(const char* text) {
    constexpr double kNarrowWidth = 0.5;  // an ASCII character is half as wide as a CJK one
    constexpr double kWideWidth = 1.0;
    if (text == nullptr) return 0.0;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);

    // Leading byte-order marks, the noncharacters U+FFFE/U+FFFF and blanks.
    while (*p != 0) {
        if (p[0] == 0xEF &&
            ((p[1] == 0xBB && p[2] == 0xBF) || (p[1] == 0xBF && (p[2] == 0xBE || p[2] == 0xBF)))) {
            p += 3;
        } else if (std::isspace(*p) || *p == '\n' || *p == '\r') {
            ++p;
        } else {
            break;
        }
    }

    double total = 0.0;
    while (*p != 0) {
        const int len = Utf8TableLength(*p);
        total += len == 1 ? kNarrowWidth : kWideWidth;
        // A text cut inside a multi-byte sequence: the started character
        // counts as one wide character and the walk ends at the terminator.
        for (int k = 0; k < len; ++k) {
            if (*p == 0) return total;
            ++p;
        }
    }
    return total;
}

const char* CHQGS_UtilityFunctions::getUTF8Size(const char* p, int* len) {
    const int l = p == nullptr ? 0 : Utf8TableLength(static_cast<unsigned char>(*p));
    if (len != nullptr) *len = l;
    return p == nullptr ? p : p + l;
}

}  // namespace HQ

// SPDX-License-Identifier: Apache-2.0
// Hexadecimal parsing and colour packing members of CHQGS_UtilityFunctions.
#include <geomkit/UtilityFunctions.h>

#include <cstdint>

namespace HQ {

int CHQGS_UtilityFunctions::HexadecimalToDecimalism(std::string hex) {
    std::uint32_t value = 0;  // wraps: only the last eight digits survive
    std::uint32_t digit = 0;
    for (const char ch : hex) {
        if (ch >= 'A' && ch <= 'F')
            digit = static_cast<std::uint32_t>(ch - 'A' + 10);
        else if (ch >= 'a' && ch <= 'f')
            digit = static_cast<std::uint32_t>(ch - 'a' + 10);
        else if (ch >= '0' && ch <= '9')
            digit = static_cast<std::uint32_t>(ch - '0');
        // any other byte repeats the previous digit
        value = value * 16 + digit;
    }
    return static_cast<int>(value);
}

unsigned int CHQGS_UtilityFunctions::RGBAToInt(const unsigned int& r, const unsigned int& g,
                                               const unsigned int& b, const unsigned int& a) {
    const std::uint32_t packed =
        (static_cast<std::uint32_t>(r) << 24) | (static_cast<std::uint32_t>(g) << 16) |
        ((static_cast<std::uint32_t>(b) << 8) & 0xFFFFu) | (static_cast<std::uint32_t>(a) & 0xFFFFu);
    return packed;
}

void CHQGS_UtilityFunctions::RGBAToInt(const unsigned int& r, const unsigned int& g, const unsigned int& b,
                                       const unsigned int& a, unsigned int& packed) {
    packed = RGBAToInt(r, g, b, a);
}

void CHQGS_UtilityFunctions::IntToRGBA(const unsigned int& packed, unsigned int& r, unsigned int& g,
                                       unsigned int& b, unsigned int& a) {
    const std::uint32_t c = packed;  // read once: packed may alias an output
    a = c & 0xFFu;
    b = (c >> 8) & 0xFFu;
    g = (c >> 16) & 0xFFu;
    r = (c >> 24) & 0xFFu;
}

}  // namespace HQ

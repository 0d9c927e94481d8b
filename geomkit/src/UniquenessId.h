// SPDX-License-Identifier: Apache-2.0
// Internal: the mixing step of CHQGS_UtilityFunctions::CreateUniquenessID,
// kept apart from the clock and the C generator so that it can be checked
// with fixed draws.
#ifndef GEOMKIT_SRC_UNIQUENESSID_H
#define GEOMKIT_SRC_UNIQUENESSID_H

#include <climits>
#include <cstdint>

namespace HQ {
namespace detail {

// Mixes four rand() draws (r1 first) into a non-negative identifier. Every
// draw contributes its low two bytes; the sum is formed in 32-bit
// two's-complement arithmetic and its absolute value returned.
inline int UniquenessIdFromDraws(int r1, int r2, int r3, int r4) {
    auto lo = [](int r) { return static_cast<std::uint32_t>(r) & 0xFFu; };
    auto hi = [](int r) { return (static_cast<std::uint32_t>(r) >> 8) & 0xFFu; };
    const std::uint32_t b0 = lo(r4), b1 = hi(r4);
    const std::uint32_t b2 = lo(r3), b3 = hi(r3);
    const std::uint32_t b4 = lo(r2), b5 = hi(r2);
    const std::uint32_t b6 = lo(r1), b7 = hi(r1);

    const std::uint32_t h = ((((((b6 * 16 + b4) * 4 + b0) * 16 + b2) * 4 + b1) * 16 + b5) * 4 + b7) * 4 + b3;
    // Unsigned arithmetic wraps exactly like the 32-bit signed sum would.
    const std::uint32_t sum = 8 * h + 19 * (b3 % 19) + 17 * (b7 % 17) + 23 * (b5 % 23) + 13 * (b1 % 13) +
                              3 * (b2 % 3) + 11 * (b0 % 11) + 7 * (b4 % 7) + 5 * (b6 % 5);
    const std::int32_t v = static_cast<std::int32_t>(sum);
    // |INT_MIN| has no 32-bit form; answer the nearest value that has one so
    // that an identifier is never negative.
    if (v == INT_MIN) return INT_MAX;
    return v < 0 ? -v : v;
}

}  // namespace detail
}  // namespace HQ

#endif

// SPDX-License-Identifier: Apache-2.0
// Angle constants of the plotting measures and globe conversions. They are
// the single-precision roundings of pi/180, 180/pi, pi and 2*pi, held in
// doubles: stored symbols were computed with them, so they must not be
// replaced by the exact values.
#ifndef GEOMKIT_SRC_MEASURECONSTANTS_H
#define GEOMKIT_SRC_MEASURECONSTANTS_H

#include <cmath>

namespace HQ {
namespace measure {

constexpr double kDegF = 0.01745329238474369;   // float(pi / 180)
constexpr double kRadF = 57.2957763671875;      // float(180 / pi)
constexpr double kPiF = 3.1415927410125732;     // float(pi)
constexpr double kTwoPiF = 6.2831854820251465;  // float(2 pi)

static_assert(static_cast<double>(static_cast<float>(kDegF)) == kDegF, "kDegF must be a float value");
static_assert(static_cast<double>(static_cast<float>(kRadF)) == kRadF, "kRadF must be a float value");
static_assert(static_cast<double>(static_cast<float>(kPiF)) == kPiF, "kPiF must be a float value");
static_assert(static_cast<double>(static_cast<float>(kTwoPiF)) == kTwoPiF, "kTwoPiF must be a float value");

// Rounds a double to the nearest float and widens it back. Written as a
// function so that each deliberate rounding is visible where it happens.
inline double RoundF(double v) { return static_cast<double>(static_cast<float>(v)); }

// Divides the vector (x, y) by its length rounded to single precision and
// returns that length; a zero vector stays as it is.
inline double DivideByLengthF(double& x, double& y) {
    const double len = RoundF(std::sqrt(x * x + y * y));
    if (len != 0.0) {
        x /= len;
        y /= len;
    }
    return len;
}

}  // namespace measure
}  // namespace HQ

#endif

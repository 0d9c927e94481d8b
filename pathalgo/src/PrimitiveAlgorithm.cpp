// SPDX-License-Identifier: Apache-2.0
#include <pathalgo/PrimitiveAlgorithm.h>

#include "Tolerances.h"

#include <cmath>

namespace HQ {

CPrimitiveAlgorithm::~CPrimitiveAlgorithm() = default;

namespace {

// Angles closer than kAngleToleranceDeg to 0, 90, 180, 270, 360 or a
// multiple of 5 degrees count as that angle.
using tolerance::kAngleToleranceDeg;
// Single-precision values the results are defined with (stored symbols were
// computed with them): 0.2f and 0.017453f widened to double.
constexpr double kOneFifthF = 0.20000000298023224;
constexpr double kDegToRadF = 0.01745299994945526;
// Nudges (angle - 90 q) / 5 over its floor when rounding left it just below.
constexpr double kTableIndexNudge = 0.001;
constexpr int kTableRows = 19;

// sin and cos of 0, 5, ..., 90 degrees, correctly rounded.
const double kSinCos5[kTableRows][2] = {
    {0.0, 1.0},                                 // 0
    {0.08715574274765818, 0.9961946980917455},  // 5
    {0.17364817766693036, 0.984807753012208},   // 10
    {0.25881904510252074, 0.9659258262890683},  // 15
    {0.3420201433256687, 0.9396926207859084},   // 20
    {0.42261826174069944, 0.9063077870366499},  // 25
    {0.5, 0.8660254037844386},                  // 30
    {0.573576436351046, 0.8191520442889918},    // 35
    {0.6427876096865394, 0.766044443118978},    // 40
    {0.7071067811865476, 0.7071067811865476},   // 45
    {0.766044443118978, 0.6427876096865394},    // 50
    {0.8191520442889918, 0.573576436351046},    // 55
    {0.8660254037844386, 0.5},                  // 60
    {0.9063077870366499, 0.42261826174069944},  // 65
    {0.9396926207859084, 0.3420201433256687},   // 70
    {0.9659258262890683, 0.25881904510252074},  // 75
    {0.984807753012208, 0.17364817766693036},   // 80
    {0.9961946980917455, 0.08715574274765818},  // 85
    {1.0, 0.0},                                 // 90
};

bool Near(double a, double b) { return std::fabs(a - b) < kAngleToleranceDeg; }

}  // namespace

void SinCosDegrees(double a, double& sinValue, double& cosValue) {
    // Bring the angle into [0, 360]; values within the tolerance of 0 or 360
    // are left for the exact cases below.
    if ((std::fabs(a) >= kAngleToleranceDeg && a < 0) ||
        (std::fabs(a - 360.0) >= kAngleToleranceDeg && a > 360.0)) {
        a = a - std::floor(a * (1.0 / 360.0)) * 360.0;
    }

    if (Near(a, 0.0) || Near(a, 360.0)) {
        sinValue = 0.0;
        cosValue = 1.0;
        return;
    }
    if (Near(a, 90.0)) {
        sinValue = 1.0;
        cosValue = 0.0;
        return;
    }
    if (Near(a, 180.0)) {
        sinValue = 0.0;
        cosValue = -1.0;
        return;
    }
    if (Near(a, 270.0)) {
        sinValue = -1.0;
        cosValue = 0.0;
        return;
    }

    if (std::fabs(a - 5.0 * std::floor(a * kOneFifthF)) < kAngleToleranceDeg) {
        const double q = std::floor(a * (1.0 / 90.0));
        const double k = std::floor((a - 90.0 * q) * kOneFifthF + kTableIndexNudge);
        // Only huge angles, whose normalisation lost all precision, can land
        // outside the table; they take the general formula below.
        if (k >= 0.0 && k < kTableRows) {
            const double s = kSinCos5[static_cast<int>(k)][0];
            const double c = kSinCos5[static_cast<int>(k)][1];
            if (q == 1.0) {
                sinValue = c;
                cosValue = -s;
            } else if (q == 2.0) {
                sinValue = -s;
                cosValue = -c;
            } else if (q == 3.0) {
                sinValue = -c;
                cosValue = s;
            } else {
                sinValue = s;
                cosValue = c;
            }
            return;
        }
    }

    sinValue = std::sin(a * kDegToRadF);
    cosValue = std::cos(a * kDegToRadF);
}

}  // namespace HQ

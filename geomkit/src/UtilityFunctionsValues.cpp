// SPDX-License-Identifier: Apache-2.0
// Value helper members of CHQGS_UtilityFunctions: NaN tests and point-list
// reversal.
#include <geomkit/UtilityFunctions.h>

namespace HQ {

bool CHQGS_UtilityFunctions::IsNan(float v) { return v != v; }

bool CHQGS_UtilityFunctions::IsNan(double v) { return v != v; }

std::vector<CHQ_Point2D> CHQGS_UtilityFunctions::ReversePoint(const std::vector<CHQ_Point2D>& pts) {
    return std::vector<CHQ_Point2D>(pts.rbegin(), pts.rend());
}

}  // namespace HQ

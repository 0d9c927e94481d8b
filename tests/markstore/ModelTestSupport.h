// SPDX-License-Identifier: Apache-2.0
// Helpers shared by the symbol model tests.
#ifndef TESTS_MARKSTORE_MODELTESTSUPPORT_H
#define TESTS_MARKSTORE_MODELTESTSUPPORT_H

#include <markstore/SymbolUnit.h>

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace HQ {
namespace modeltest {

// Points sampled from a path carry the path's single-precision angle factor,
// which moves them by about 1e-5 relative; geometry checks allow this much.
const double kGeomTol = 1e-2;

inline ::testing::AssertionResult Near(const CHQ_Point2D& actual, double x, double y, double tol = kGeomTol) {
    if (std::fabs(actual.x - x) <= tol && std::fabs(actual.y - y) <= tol)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << actual.x << ", " << actual.y << ") is not within " << tol
                                         << " of (" << x << ", " << y << ")";
}

inline ::testing::AssertionResult SamePoints(const std::vector<CHQ_Point2D>& actual,
                                             const std::vector<CHQ_Point2D>& expected) {
    if (actual.size() != expected.size())
        return ::testing::AssertionFailure() << actual.size() << " points instead of " << expected.size();
    for (std::size_t i = 0; i < actual.size(); ++i) {
        if (actual[i].x != expected[i].x || actual[i].y != expected[i].y)
            return ::testing::AssertionFailure()
                   << "point " << i << " is (" << actual[i].x << ", " << actual[i].y << "), expected ("
                   << expected[i].x << ", " << expected[i].y << ")";
    }
    return ::testing::AssertionSuccess();
}

// Field-by-field equality of two attribute records.
inline ::testing::AssertionResult SameAttr(const CHQGS_SymbolUnitAttr& a, const CHQGS_SymbolUnitAttr& b) {
    bool same = a.Style == b.Style && a.LineStyle == b.LineStyle && a.LineWidth == b.LineWidth &&
                a.IsClose == b.IsClose && a.IsOutline == b.IsOutline && a.FillStyle == b.FillStyle &&
                a.IsLineStyleFixedness == b.IsLineStyleFixedness &&
                a.IsColorFixedness == b.IsColorFixedness && a.IsNotFill == b.IsNotFill &&
                a.IsSpare == b.IsSpare && a.SpareA == b.SpareA && a.SpareB == b.SpareB;
    for (int i = 0; i < 4; ++i)
        same = same && a.LineColor[i] == b.LineColor[i] && a.OutlineColor[i] == b.OutlineColor[i] &&
               a.FillColor[i] == b.FillColor[i];
    if (same) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "attribute records differ";
}

}  // namespace modeltest
}  // namespace HQ

#endif

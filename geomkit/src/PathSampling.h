// SPDX-License-Identifier: Apache-2.0
// Sampling of a drawing path into point lists, shared by the plotting
// mathematics and the primitive utilities.
#ifndef GEOMKIT_SRC_PATHSAMPLING_H
#define GEOMKIT_SRC_PATHSAMPLING_H

#include <geomkit/Point2D.h>
#include <pathalgo/PrimitiveAlgorithmPath.h>

#include <vector>

namespace HQ {
namespace pathsampling {

// The points at t = 0, step, 2 step, ... while t < 1, with t accumulated in
// single precision, then the point at 1; with exchange, each point comes back
// as (y, x). A step below kMinStep (0 and negative steps included, and NaN)
// answers an empty list: a single-precision t would stop growing before 1.
constexpr double kMinStep = 1.0 / 16777216.0;  // 2^-24, one float ulp just below 1

inline std::vector<CHQ_Point2D> ByStep(CPrimitiveAlgorithmPath& path, double step, bool exchange) {
    std::vector<CHQ_Point2D> pts;
    if (!(step >= kMinStep)) return pts;
    const auto add = [&pts, exchange](const CHQ_Point2D& p) {
        pts.push_back(exchange ? CHQ_Point2D(p.y, p.x) : p);
    };
    float t = 0.0f;
    do {
        add(path.PointAtPercent(t));
        const float next = static_cast<float>(t + step);
        if (!(next > t)) break;  // cannot happen for step >= kMinStep; never loop forever
        t = next;
    } while (t < 1.0f);
    add(path.PointAtPercent(1.0));
    return pts;
}

// The 101 points at t = 0, 0.01, ..., 0.99 (t accumulated in double) and 1:
// the polyline that stands for a path in the percent positions.
inline std::vector<CHQ_Point2D> Hundredths(CPrimitiveAlgorithmPath& path) {
    constexpr double kStep = 0.01;
    std::vector<CHQ_Point2D> pts;
    pts.reserve(101);
    for (double t = 0.0; t < 1.0; t += kStep) pts.push_back(path.PointAtPercent(t));
    pts.push_back(path.PointAtPercent(1.0));
    return pts;
}

}  // namespace pathsampling
}  // namespace HQ

#endif

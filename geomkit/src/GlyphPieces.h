// SPDX-License-Identifier: Apache-2.0
// The three points a glyph outline takes from one curved piece, computed
// without building a path.
//
// The outline walk flattens every curved piece as a one-segment path with
// step 0.5: the points at fractions 0, 1/2 and 1 of the path's length, or
// the path's current position three times when the length is not positive.
// For a path of one cubic segment of finite positive length L, the fraction
// f maps to the segment parameter (f - 0) / (L / L - 0) = f exactly, so the
// three points are the cubic at t = 0, 0.5 and 1. The length itself (a
// 250-chord polyline) only decides whether it is positive, and it is as soon
// as one chord is: the chords are visited in the path's order and the walk
// stops at the first chord of positive length. With every coordinate at most
// kExactLimit in magnitude no chord length and no sum of them can overflow,
// so "positive" cannot turn into "infinite" (which the path would answer
// with (0, 0) points); beyond that limit these functions decline and the
// caller takes the path.
//
// The arithmetic below repeats the path's: the quadratic-to-cubic control
// points, the Bernstein evaluation and the chord parameters, in the same
// order and precision, so that every point comes out with the same bits.
#ifndef GEOMKIT_SRC_GLYPHPIECES_H
#define GEOMKIT_SRC_GLYPHPIECES_H

#include <geomkit/Point2D.h>
#include <pathalgo/BezierCurveAlgorithm.h>

#include <cmath>
#include <vector>

namespace HQ {
namespace glyphpieces {

constexpr double kExactLimit = 1e100;

inline bool WithinLimit(const CHQ_Point2D& p) {
    return std::fabs(p.x) <= kExactLimit && std::fabs(p.y) <= kExactLimit;
}

// The cubic's point at t, as CBezierCurveAlgorithm::Evaluate computes x and
// y (z is 0 for every glyph point and plays no part in them).
inline CHQ_Point2D Evaluate(const CHQ_Point2D& p0, const CHQ_Point2D& p1, const CHQ_Point2D& p2,
                            const CHQ_Point2D& p3, double t) {
    if (!(t >= 0.0)) t = 0.0;
    if (t > 1.0) t = 1.0;
    const double mt = 1.0 - t;
    const double b0 = mt * mt * mt;
    const double b1 = 3.0 * mt * mt * t;
    const double b2 = 3.0 * mt * t * t;
    const double b3 = t * t * t;
    return CHQ_Point2D(b0 * p0.x + b1 * p1.x + b2 * p2.x + b3 * p3.x,
                       b0 * p0.y + b1 * p1.y + b2 * p2.y + b3 * p3.y);
}

// Whether the cubic's measured length (CBezierCurveAlgorithm::GetLength) is
// positive: some chord between consecutive length samples is longer than 0.
inline bool HasLength(const CHQ_Point2D& p0, const CHQ_Point2D& p1, const CHQ_Point2D& p2,
                      const CHQ_Point2D& p3) {
    double t = 0.0;
    CHQ_Point2D prev = Evaluate(p0, p1, p2, p3, t);
    for (int i = 0; i < CBezierCurveAlgorithm::kLengthChords; ++i) {
        t += CBezierCurveAlgorithm::kLengthStep;
        const CHQ_Point2D next = Evaluate(p0, p1, p2, p3, t);
        const double dx = next.x - prev.x;
        const double dy = next.y - prev.y;
        // The chord is sqrt(dx² + dy² + 0²), positive exactly when this is.
        if (dx * dx + dy * dy > 0.0) return true;
        prev = next;
    }
    return false;
}

// Appends the three points of the cubic piece pen -> c1 -> c2 -> end.
// False (nothing appended) when a coordinate is beyond kExactLimit or not a
// number.
inline bool AppendCubic(std::vector<CHQ_Point2D>& out, const CHQ_Point2D& pen, const CHQ_Point2D& c1,
                        const CHQ_Point2D& c2, const CHQ_Point2D& end) {
    if (!WithinLimit(pen) || !WithinLimit(c1) || !WithinLimit(c2) || !WithinLimit(end)) return false;
    if (HasLength(pen, c1, c2, end)) {
        out.push_back(Evaluate(pen, c1, c2, end, 0.0));
        out.push_back(Evaluate(pen, c1, c2, end, 0.5));
        out.push_back(Evaluate(pen, c1, c2, end, 1.0));
    } else {
        // A path of length 0 stays at its current position, the end.
        out.push_back(end);
        out.push_back(end);
        out.push_back(end);
    }
    return true;
}

// Appends the three points of the quadratic piece pen -> c -> end, raised to
// a cubic as CPrimitiveAlgorithmPath::QuadTo does (which adds nothing when
// all three points are equal: the path then stays at the pen).
inline bool AppendQuad(std::vector<CHQ_Point2D>& out, const CHQ_Point2D& pen, const CHQ_Point2D& c,
                       const CHQ_Point2D& end) {
    if (pen.x == c.x && pen.y == c.y && c.x == end.x && c.y == end.y) {
        out.push_back(pen);
        out.push_back(pen);
        out.push_back(pen);
        return true;
    }
    const CHQ_Point2D c1((2.0 * c.x + pen.x) / 3.0, (2.0 * c.y + pen.y) / 3.0);
    const CHQ_Point2D c2((2.0 * c.x + end.x) / 3.0, (2.0 * c.y + end.y) / 3.0);
    return AppendCubic(out, pen, c1, c2, end);
}

}  // namespace glyphpieces
}  // namespace HQ

#endif

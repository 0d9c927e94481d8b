// SPDX-License-Identifier: Apache-2.0
// Arrow heads and the named line types, which turn key points into Bezier
// chains (P0, C, C, P1, ...) for the curve sampler.
//
// The single-precision steps below are deliberate: stored symbols were
// computed with them, so every rounding stays where it is.
#include <geomkit/MathUtilityFunctions.h>

#include "MeasureConstants.h"

#include <cmath>
#include <cstddef>

namespace HQ {

using measure::DivideByLengthF;
using measure::RoundF;

namespace {

CHQ_Point2D Add(const CHQ_Point2D& p, const CHQ_Point2D& v) { return CHQ_Point2D(p.x + v.x, p.y + v.y); }

// Arrow proportions in units of w: head length, notch depth, half width.
constexpr double kHeadLength = 12.0;
constexpr double kNotchDepth = 8.0;
constexpr double kHalfWidth = 2.5;
// A two-point line shorter than the head becomes the head: notch and half
// width as fractions of its length.
constexpr double kShortNotch = 0.6;
constexpr double kShortHalfWidth = 0.25;

// One third and two thirds as the line-type arms use them (the latter is
// 2/3 in single precision).
constexpr double kThird = 0.33333334;
constexpr double kTwoThirdsF = 0.6666666865348816;

// Turn of the third ring vertex of a two-point closed line: 270 degrees
// clockwise, i.e. 90 degrees counterclockwise.
constexpr double kRingTurnDeg = 270.0;

}  // namespace

std::vector<CHQ_Point2D> CHQGS_MathUtilityFunctions::ComputeArrowPointsType(
    const std::vector<CHQ_Point2D>& pts, double w) {
    const std::size_t n = pts.size();
    if (n < 2) return std::vector<CHQ_Point2D>();
    const CHQ_Point2D& tip = pts[n - 1];
    const CHQ_Point2D& prev = pts[n - 2];
    const double len = ComputeDistance(tip, prev);

    CHQ_Point2D notch;
    std::vector<CHQ_Point2D> barbs;
    if (n != 2 || kHeadLength * w <= len) {
        notch = ComputeRightPoint(tip, prev, kNotchDepth * w);
        const CHQ_Point2D base = ComputeRightPoint(tip, prev, kHeadLength * w);
        barbs = ComputeLRPt(tip, base, static_cast<float>(kHalfWidth * w));
    } else {
        notch = ComputeRightPoint(tip, prev, kShortNotch * len);
        barbs = ComputeLRPt(tip, prev, static_cast<float>(kShortHalfWidth * len));
    }
    return {tip, barbs[0], notch, barbs[1]};
}

std::vector<CHQ_Point2D> CHQGS_MathUtilityFunctions::LineType_2_0_0(const std::vector<CHQ_Point2D>& pts) {
    const std::size_t n = pts.size();
    if (n < 2) return std::vector<CHQ_Point2D>();

    // Offsets of the control points before (incoming) and after (outgoing)
    // each key point.
    std::vector<CHQ_Point2D> in(n), out(n);
    for (std::size_t i = 1; i + 1 < n; ++i) {
        const double a = RoundF(ComputeDistance(pts[i - 1], pts[i]));
        const double b = RoundF(ComputeDistance(pts[i + 1], pts[i]));
        double tx = pts[i - 1].x - pts[i + 1].x, ty = pts[i - 1].y - pts[i + 1].y;
        DivideByLengthF(tx, ty);
        in[i] = CHQ_Point2D(tx * a / 3.0, ty * a / 3.0);
        out[i] = CHQ_Point2D(-(tx * b / 3.0), -(ty * b / 3.0));
    }
    if (n == 2) {
        out[0] = CHQ_Point2D((pts[1].x - pts[0].x) / 3.0, (pts[1].y - pts[0].y) / 3.0);
        in[1] = CHQ_Point2D((pts[0].x - pts[1].x) / 3.0, (pts[0].y - pts[1].y) / 3.0);
    } else {
        out[0] = ComputeControlPoint_2_0_0(pts[0], pts[1], pts[2]);
        in[n - 1] = ComputeControlPoint_2_0_0(pts[n - 1], pts[n - 2], pts[n - 3]);
    }

    std::vector<CHQ_Point2D> chain;
    chain.reserve(3 * n - 2);
    chain.push_back(pts[0]);
    for (std::size_t j = 0; j + 1 < n; ++j) {
        chain.push_back(Add(pts[j], out[j]));
        chain.push_back(Add(pts[j + 1], in[j + 1]));
        chain.push_back(pts[j + 1]);
    }
    return chain;
}

std::vector<CHQ_Point2D> CHQGS_MathUtilityFunctions::LineType_2_0_1(const std::vector<CHQ_Point2D>& pts) {
    const std::size_t n = pts.size();
    if (n < 2) return std::vector<CHQ_Point2D>();
    if (n == 2) return {pts[0], pts[0], pts[1], pts[1]};

    std::vector<CHQ_Point2D> chain(3 * n - 2);
    CHQ_Point2D firstIncoming, lastOutgoing;
    for (std::size_t i = 1; i + 1 < n; ++i) {
        const std::vector<CHQ_Point2D> c = ComputeControlPoint(pts[i - 1], pts[i], pts[i + 1]);
        chain[3 * i - 1] = c[0];
        chain[3 * i] = pts[i];
        chain[3 * i + 1] = c[1];
        if (i == 1) firstIncoming = c[0];
        if (i == n - 2) lastOutgoing = c[1];
    }
    chain[0] = pts[0];
    chain[1] = ComputeControlPointA(firstIncoming, pts[0], pts[1]);
    chain[3 * n - 4] = ComputeControlPointA(lastOutgoing, pts[n - 1], pts[n - 2]);
    chain[3 * n - 3] = pts[n - 1];
    return chain;
}

std::vector<CHQ_Point2D> CHQGS_MathUtilityFunctions::LineType_2_1_3(const std::vector<CHQ_Point2D>& pts) {
    std::vector<CHQ_Point2D> r = LineType_2_0_1(pts);
    const std::size_t m = r.size();
    if (m < 4) return r;
    // Straight last segment.
    r[m - 2] = r[m - 1];
    r[m - 3] = r[m - 4];
    const std::size_t n = pts.size();
    if (n > 2) {
        // The incoming arm of the last interior vertex follows the last
        // segment's direction, two thirds of the previous segment long.
        double ux = pts[n - 1].x - pts[n - 2].x, uy = pts[n - 1].y - pts[n - 2].y;
        DivideByLengthF(ux, uy);
        const double d = RoundF(ComputeDistance(pts[n - 2], pts[n - 3]));
        const double arm = 2.0 / 3.0 * d;
        r[m - 5] = CHQ_Point2D(r[m - 4].x - arm * ux, r[m - 4].y - arm * uy);
    }
    return r;
}

std::vector<CHQ_Point2D> CHQGS_MathUtilityFunctions::LineType_2_0_2(const std::vector<CHQ_Point2D>& pts) {
    const std::size_t n = pts.size();
    // A single point is a ring of one vertex: its control points fall on it.
    if (n == 0) return std::vector<CHQ_Point2D>();

    std::vector<CHQ_Point2D> ring = pts;
    if (n == 2) {
        // Third vertex: P1 turned a quarter counterclockwise about the
        // midpoint (270 * PI_F / 180 is the turn of 4.71238911151886 rad).
        ring.push_back(PointRotate(pts[1], ComputeCenterPos(pts[0], pts[1]), kRingTurnDeg));
    }
    const std::size_t k = ring.size();

    std::vector<CHQ_Point2D> chain(3 * k + 1);
    for (std::size_t i = 0; i < k; ++i) {
        const CHQ_Point2D& before = ring[(i + k - 1) % k];
        const CHQ_Point2D& after = ring[(i + 1) % k];
        const std::vector<CHQ_Point2D> c = ComputeControlPoint(before, ring[i], after);
        if (i == 0) {
            chain[0] = ring[0];
            chain[1] = c[1];
            chain[3 * k - 1] = c[0];
            chain[3 * k] = ring[0];
        } else {
            chain[3 * i - 1] = c[0];
            chain[3 * i] = ring[i];
            chain[3 * i + 1] = c[1];
        }
    }
    return chain;
}

void CHQGS_MathUtilityFunctions::LineType_2_1_6(const std::vector<CHQ_Point2D>& pts,
                                                std::vector<CHQ_Point2D>& out) {
    const std::size_t n = pts.size();
    if (n < 3) return;
    out.reserve(out.size() + 3 * n - 2);

    const CHQ_Point2D& p0 = pts[0];
    const CHQ_Point2D& p1 = pts[1];
    const CHQ_Point2D& p2 = pts[2];
    const CHQ_Point2D centre = ComputeCenterPos(std::vector<CHQ_Point2D>{p0, p1, p2});

    out.push_back(p0);
    {
        // Start arm: a third of the first segment, turned by the angle at P0
        // between the centroid and P2, towards the outside of the bend.
        const double a = RoundF(GetIntersectingAngle(p0, centre, p2));
        const double d = RoundF(ComputeDistance(p0, p1));
        const CHQ_Point2D r = ComputeRightPoint(p0, p1, d * kThird);
        const double s = RoundF((p2.x - p0.x) * (p1.y - p0.y) - (p2.y - p0.y) * (p1.x - p0.x));
        out.push_back(PointRotate(r, p0, s <= 0.0 ? a : -a));
    }
    for (std::size_t i = 1; i + 2 < n; ++i) {
        const CHQ_Point2D& before = pts[i - 1];
        const CHQ_Point2D& at = pts[i];
        const CHQ_Point2D& after = pts[i + 1];
        // Both arms are turned by half the supplement of the vertex angle, in
        // opposite senses, so that they line up into one tangent.
        const double a = RoundF(GetIntersectingAngle(at, before, after));
        const double half = (180.0 - a) * 0.5;

        const double d1 = ComputeDistance(before, at);
        const CHQ_Point2D r1 = ComputeRightPoint(at, before, d1 * kThird);
        const double s1 = RoundF((before.x - at.x) * (after.y - at.y) - (before.y - at.y) * (after.x - at.x));
        out.push_back(PointRotate(r1, at, s1 < 0.0 ? -half : half));
        out.push_back(at);

        const double d2 = ComputeDistance(at, after);
        const CHQ_Point2D r2 = ComputeRightPoint(at, after, d2 * kThird);
        const double s2 =
            RoundF((after.x - before.x) * (at.y - before.y) - (after.y - before.y) * (at.x - before.x));
        out.push_back(PointRotate(r2, at, s2 < 0.0 ? half : -half));
    }
    // Straight last segment; the incoming arm of the last interior vertex
    // follows it.
    const CHQ_Point2D& last = pts[n - 1];
    const CHQ_Point2D& at = pts[n - 2];
    const double d = RoundF(ComputeDistance(pts[n - 3], at));
    out.push_back(ComputeLeftPoint(at, last, d * kTwoThirdsF));
    out.push_back(at);
    out.push_back(at);
    out.push_back(last);
    out.push_back(last);
}

std::vector<CHQ_Point2D> CHQGS_MathUtilityFunctions::LineType_3_0_0(const std::vector<CHQ_Point2D>& pts) {
    return ComputeCtrPointsOfKidney(pts);
}

}  // namespace HQ

// SPDX-License-Identifier: Apache-2.0
// Bezier chains and their control points: sampling (single and double
// precision), smooth control points around a vertex and the kidney outline.
//
// The single-precision steps below are deliberate: stored symbols were
// computed with them, so every rounding stays where it is.
#include <geomkit/MathUtilityFunctions.h>

#include "MeasureConstants.h"
#include "Tolerances.h"

#include <cmath>
#include <cstddef>

namespace HQ {

using measure::DivideByLengthF;
using measure::kPiF;
using measure::RoundF;
using tolerance::kCoordinateTolerance;
using tolerance::kShortSegment;

namespace {

double Length(double x, double y) { return std::sqrt(x * x + y * y); }

// Power-basis coefficients of one cubic segment, one coordinate, in the
// precision T (float or double): the inputs are converted to T first.
template <typename T>
struct Cubic {
    T a0, a1, a2, a3;

    T At(T t) const {
        const T t2 = t * t;
        const T t3 = t2 * t;
        return a0 + a1 * t + a2 * t2 + a3 * t3;
    }
    T End() const { return a0 + a1 + a2 + a3; }
};

template <typename T>
Cubic<T> Coefficients(double p0, double p1, double p2, double p3) {
    const T f0 = static_cast<T>(p0), f1 = static_cast<T>(p1);
    const T f2 = static_cast<T>(p2), f3 = static_cast<T>(p3);
    const T three = 3, six = 6;
    return {f0, three * f1 - three * f0, three * f0 - six * f1 + three * f2,
            three * f1 - f0 - three * f2 + f3};
}

// Samples every whole segment of a Bezier chain in the precision T: per
// segment `perSegment` points at t = 0, dt, 2 dt, ... with t accumulated in
// T; once t overshoots 1 the segment's end point is emitted instead.
template <typename T>
std::vector<CHQ_Point2D> SampleChain(const std::vector<CHQ_Point2D>& pts, int steps, std::size_t perSegment) {
    std::vector<CHQ_Point2D> out;
    const std::size_t count = pts.size();
    const T dt = static_cast<T>(1.0 / steps);
    out.reserve((count - 1) / 3 * perSegment);
    for (std::size_t i = 0; i + 3 < count; i += 3) {
        const Cubic<T> cx = Coefficients<T>(pts[i].x, pts[i + 1].x, pts[i + 2].x, pts[i + 3].x);
        const Cubic<T> cy = Coefficients<T>(pts[i].y, pts[i + 1].y, pts[i + 2].y, pts[i + 3].y);
        T t = 0;
        for (std::size_t k = 0; k < perSegment; ++k) {
            if (t > static_cast<T>(1)) {
                out.emplace_back(cx.End(), cy.End());
            } else {
                out.emplace_back(cx.At(t), cy.At(t));
            }
            t += dt;
        }
    }
    return out;
}

}  // namespace

std::vector<CHQ_Point2D> CHQGS_MathUtilityFunctions::CalcBezierCurve(const std::vector<CHQ_Point2D>& pts,
                                                                     int steps) {
    if (pts.size() < 4) return std::vector<CHQ_Point2D>();
    if (steps < 1) steps = 1;
    // Single precision; both end points of every segment.
    return SampleChain<float>(pts, steps, static_cast<std::size_t>(steps) + 1);
}

std::list<CHQ_Point2D> CHQGS_MathUtilityFunctions::CalcBezierCurve(const std::list<CHQ_Point2D>&, int) {
    return std::list<CHQ_Point2D>();
}

std::vector<CHQ_Point2D> CHQGS_MathUtilityFunctions::ComputeBeizerPts(const std::vector<CHQ_Point2D>& pts,
                                                                      int steps) {
    if (pts.size() < 4 || steps <= 0) return std::vector<CHQ_Point2D>();
    // Double precision; the end point of a segment is not emitted.
    return SampleChain<double>(pts, steps, static_cast<std::size_t>(steps));
}

std::vector<CHQ_Point2D> CHQGS_MathUtilityFunctions::ComputeControlPoint(const CHQ_Point2D& a,
                                                                         const CHQ_Point2D& b,
                                                                         const CHQ_Point2D& c) {
    const double dA = Length(a.x - b.x, a.y - b.y);
    const double dC = Length(c.x - b.x, c.y - b.y);
    const double dAC = RoundF(Length(c.x - a.x, c.y - a.y));
    if (dA <= kCoordinateTolerance || dC <= kCoordinateTolerance) {
        // A neighbour sits on b: plain one-third points.
        return {CHQ_Point2D(b.x + (a.x - b.x) / 3.0, b.y + (a.y - b.y) / 3.0),
                CHQ_Point2D(b.x + (c.x - b.x) / 3.0, b.y + (c.y - b.y) / 3.0)};
    }
    if (dAC <= kCoordinateTolerance) return {b, b};  // the path folds straight back

    const double theta = ComputeNipAngle(b, a, c);
    const bool aIsNear = !(dC < dA);
    const CHQ_Point2D& nearPt = aIsNear ? a : c;
    const CHQ_Point2D& farPt = aIsNear ? c : a;
    const double dn = aIsNear ? dA : dC;
    const double df = aIsNear ? dC : dA;

    // Length of the far control arm: a cosine blend between 1/3 and 5/9 of
    // df (for theta = 0) depending on how unequal the two arms are.
    const double k = theta >= 45.0 ? (195.0 - theta) / 300.0 : (120.0 - theta) / 150.0;
    const double t = k * df;  // > 0: k lies in (0, 0.8] and df > kCoordinateTolerance
    double len;
    if (dn <= t) {
        len = ((450.0 - theta) / 810.0) * df - std::cos((dn / t) * kPiF) * ((180.0 - theta) / 810.0) * df;
    } else {
        len = std::cos(((dn - t) / (df - t)) * kPiF) * ((180.0 - theta) / 810.0) * df +
              ((450.0 - theta) / 810.0) * df;
    }

    // Turn of the arm away from the chord near -> far. len >= df / 3, so q
    // exceeds 1 only by rounding (equal arms, e.g. evenly spaced points on a
    // straight line); it is clamped to 1 (no turn). Replacing it by 0 would
    // turn the arm a quarter, across the line.
    const double q = (df / 3.0) / len;
    double beta = std::acos(q > 1.0 ? 1.0 : q) * 180.0 / kPiF;
    const double side =
        RoundF((farPt.y - nearPt.y) * (b.x - nearPt.x) - (b.y - nearPt.y) * (farPt.x - nearPt.x));
    if (side < 0.0) beta = 360.0 - beta;

    const double scale = len / dAC;
    const CHQ_Point2D arm(RoundF(b.x + scale * (farPt.x - nearPt.x)),
                          RoundF(b.y + scale * (farPt.y - nearPt.y)));
    const CHQ_Point2D farCtrl = PointRotate(arm, b, beta);
    const CHQ_Point2D nearCtrl(b.x + (b.x - farCtrl.x) * dn / df, b.y + (b.y - farCtrl.y) * dn / df);
    if (dA <= dC) return {nearCtrl, farCtrl};
    return {farCtrl, nearCtrl};
}

CHQ_Point2D CHQGS_MathUtilityFunctions::ComputeControlPointA(const CHQ_Point2D& a, const CHQ_Point2D& b,
                                                             const CHQ_Point2D& c) {
    const double l1 = RoundF(Length(c.x - b.x, c.y - b.y));
    const double l2 = RoundF(Length(a.x - c.x, a.y - c.y));
    if (l1 <= kShortSegment || l2 <= kShortSegment) return b;
    const CHQ_Point2D p(b.x + (c.x - b.x) * l2 / l1, b.y + (c.y - b.y) * l2 / l1);
    // Turn by the angle at c, damped by 1.6.
    double f = RoundF(ComputeNipAngle(c, a, b)) / 1.6;
    if (RoundF((a.x - b.x) * (c.y - b.y) - (a.y - b.y) * (c.x - b.x)) < 0.0) f = 360.0 - f;
    return PointRotate(p, b, f);
}

CHQ_Point2D CHQGS_MathUtilityFunctions::ComputeControlPoint_2_0_0(const CHQ_Point2D& p1,
                                                                  const CHQ_Point2D& p2,
                                                                  const CHQ_Point2D& p3) {
    if (std::fabs(p1.x - p3.x) <= kCoordinateTolerance && std::fabs(p1.y - p3.y) <= kCoordinateTolerance)
        return CHQ_Point2D(0.0, 0.0);

    double ux = p3.x - p1.x, uy = p3.y - p1.y;
    DivideByLengthF(ux, uy);
    double vx = p2.x - p1.x, vy = p2.y - p1.y;
    const double lv = DivideByLengthF(vx, vy);
    // A dot product slightly outside [-1, 1] gives NaN, which falls through
    // every range below to the (0, 0) answer, as theta = 0 or pi would.
    const double theta = RoundF(std::acos(ux * vx + uy * vy));
    const double cr = vx * uy - vy * ux;

    // Angle limits 90, 135 and 180 degrees, turns 15 and 5 degrees, and the
    // arm factors 0.3, 0.26 and 0.22, all in single precision.
    constexpr double kRightF = 1.5707963705062866;
    constexpr double kThreeEighthsF = 2.356194496154785;
    constexpr double kPiLimitF = 3.1415927410125732;
    constexpr double kTurn15F = 0.2617993950843811;
    constexpr double kTurn5F = 0.0872664675116539;
    double phi, factor;
    if (theta > 0.0 && theta <= kRightF) {
        phi = theta / 1.2;
        factor = 0.30000001192092896;
    } else if (theta > kRightF && theta < kThreeEighthsF) {
        phi = theta - kTurn15F;
        factor = 0.25999999046325684;
    } else if (theta >= kThreeEighthsF && theta < kPiLimitF) {
        phi = theta - kTurn5F;
        factor = 0.2199999988079071;
    } else {
        return CHQ_Point2D(0.0, 0.0);
    }
    if (cr > 0.0) phi = -phi;

    const double rx = RoundF(std::cos(phi) * vx - std::sin(phi) * vy);
    const double ry = RoundF(std::sin(phi) * vx + std::cos(phi) * vy);
    const double arm = lv * factor;
    return CHQ_Point2D(arm * rx, arm * ry);
}

std::vector<CHQ_Point2D> CHQGS_MathUtilityFunctions::ComputeBezierCtrPointFs(
    const std::vector<CHQ_Point2D>& pts) {
    if (pts.size() != 3) return std::vector<CHQ_Point2D>();

    // Order the vertices: Q0, Q1 are the ends of the longest side, in a fixed
    // turning sense towards the remaining vertex Q2.
    const float s01 = static_cast<float>(ComputeDistance(pts[0], pts[1]));
    const float s02 = static_cast<float>(ComputeDistance(pts[0], pts[2]));
    const float s12 = static_cast<float>(ComputeDistance(pts[1], pts[2]));
    std::size_t ia = 1, ib = 2, ic = 0;
    if (s01 > s02 && s01 > s12) {
        ia = 0, ib = 1, ic = 2;
    } else if (s02 > s01 && s02 > s12) {
        ia = 0, ib = 2, ic = 1;
    }
    const CHQ_Point2D& pa = pts[ia];
    const CHQ_Point2D& pb = pts[ib];
    const CHQ_Point2D& pc = pts[ic];
    const double side = RoundF((pc.x - pa.x) * (pb.y - pa.y) - (pc.y - pa.y) * (pb.x - pa.x));
    const CHQ_Point2D q0 = side <= 0.0 ? pa : pb;
    const CHQ_Point2D q1 = side <= 0.0 ? pb : pa;
    const CHQ_Point2D q2 = pc;

    const float d01 = static_cast<float>(ComputeDistance(q0, q1));
    const float d02 = static_cast<float>(ComputeDistance(q0, q2));
    const float d12 = static_cast<float>(ComputeDistance(q1, q2));

    // Turn of the arms at each vertex: 90 degrees minus half the inner angle.
    const double alpha0 = 90.0 - RoundF(GetIntersectingAngle(q0, q1, q2)) / 2.0;
    const double alpha1 = 90.0 - RoundF(GetIntersectingAngle(q1, q0, q2)) / 2.0;
    const double alpha2 = 90.0 - RoundF(GetIntersectingAngle(q2, q1, q0)) / 2.0;

    const CHQ_Point2D mid = ComputeCenterPos(q0, q1);
    const float h = static_cast<float>(ComputeDistance(q2, mid));

    const CHQ_Point2D k1 = PointRotate(ComputeLeftPoint(q0, q1, d02 / 3.0f), q0, alpha0);
    const CHQ_Point2D k2 = PointRotate(ComputeRightPoint(q0, q1, d01 / 4.0f), q0, alpha0);
    const CHQ_Point2D k3 = PointRotate(ComputeRightPoint(q2, q0, d02 / 3.0f), q2, alpha2);
    const CHQ_Point2D k4 = PointRotate(ComputeLeftPoint(q2, q0, d12 / 3.0f), q2, alpha2);
    const CHQ_Point2D k5 = PointRotate(ComputeRightPoint(q1, q2, d12 / 3.0f), q1, alpha1);
    const CHQ_Point2D k6 = PointRotate(ComputeLeftPoint(q1, q2, d01 / 4.0f), q1, alpha1);

    // The bulge opposite Q2: N beyond the midpoint, flanked by E1 and E2.
    const CHQ_Point2D n = ComputeLeftPoint(mid, q2, h / 10.0f);
    const std::vector<CHQ_Point2D> w = ComputeLeftRightPointF(mid, q0, d01 / 6.0f);
    const double dx = RoundF(n.x - mid.x), dy = RoundF(n.y - mid.y);
    const CHQ_Point2D e1(w[0].x + dx, w[0].y + dy);
    const CHQ_Point2D e2(w[1].x + dx, w[1].y + dy);

    return {n, e2, k2, q0, k1, k3, q2, k4, k5, q1, k6, e1, n};
}

std::vector<CHQ_Point2D> CHQGS_MathUtilityFunctions::ComputeCtrPointsOfKidney(
    const std::vector<CHQ_Point2D>& pts) {
    if (pts.size() == 3) return ComputeBezierCtrPointFs(pts);
    if (pts.size() != 2) return std::vector<CHQ_Point2D>();

    const CHQ_Point2D& p0 = pts[0];
    const CHQ_Point2D& p1 = pts[1];
    const float d = static_cast<float>(ComputeDistance(p0, p1));
    if (d <= kCoordinateTolerance) return std::vector<CHQ_Point2D>();
    // Apex of the isosceles triangle on p0p1 with 36 degree base angles
    // (0.6283185482025146 is 36 degrees in radians, single precision).
    const float halfBaseTan = static_cast<float>(std::tan(0.6283185482025146));
    const float height = halfBaseTan * d * 0.5f;
    const CHQ_Point2D mid = ComputeCenterPos(p0, p1);
    const CHQ_Point2D apex = ComputeLPt(p0, mid, height);
    return ComputeBezierCtrPointFs({p0, p1, apex});
}

}  // namespace HQ

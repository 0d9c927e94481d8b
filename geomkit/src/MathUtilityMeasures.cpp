// SPDX-License-Identifier: Apache-2.0
// Scalar and point measures of the plotting mathematics: distances, centres,
// angles, derived points, rotations, lines and point location. Where a value is rounded to single precision
// the rounding is part of the result (see MeasureConstants.h); keep every RoundF and every float variable
// exactly where it is.
#include <geomkit/MathUtilityFunctions.h>

#include "MeasureConstants.h"
#include "Tolerances.h"

#include <algorithm>
#include <cmath>

namespace HQ {

using measure::kDegF;
using measure::kPiF;
using measure::kRadF;
using measure::kTwoPiF;
using measure::RoundF;
using tolerance::kCoordinateTolerance;

namespace {

// Direction p -> q scaled to length 1, or the zero vector q - p when the two
// points are the same.
CHQ_Point2D UnitDirection(const CHQ_Point2D& p, const CHQ_Point2D& q) {
    const double dx = q.x - p.x, dy = q.y - p.y;
    const double len = std::sqrt(dx * dx + dy * dy);
    if (len > 0.0) return CHQ_Point2D(dx / len, dy / len);
    return CHQ_Point2D(dx, dy);
}

bool Coincide(const CHQ_Point2D& a, const CHQ_Point2D& b) {
    return std::fabs(a.x - b.x) <= kCoordinateTolerance && std::fabs(a.y - b.y) <= kCoordinateTolerance;
}

double Clamp1(double c) { return std::max(-1.0, std::min(1.0, c)); }

// The line through two points in the form of CoefficientsOfDualisticOnceEqu;
// a line whose points coincide gets A = B = C = 0.
void LineCoefficients(const CHQ_Point2D& p, const CHQ_Point2D& q, double& A, double& B, double& C) {
    A = B = C = 0.0;
    CHQGS_MathUtilityFunctions::CoefficientsOfDualisticOnceEqu(p.x, p.y, q.x, q.y, A, B, C);
}

// Intersection (x, y) of the infinite lines a1a2 and b1b2; false when they
// are parallel or one of them is a single point.
bool LineIntersection(const CHQ_Point2D& a1, const CHQ_Point2D& a2, const CHQ_Point2D& b1,
                      const CHQ_Point2D& b2, double& x, double& y) {
    double A1, B1, C1, A2, B2, C2;
    LineCoefficients(a1, a2, A1, B1, C1);
    LineCoefficients(b1, b2, A2, B2, C2);
    const double det = A1 * B2 - A2 * B1;
    if (std::fabs(det) <= kCoordinateTolerance) return false;
    x = (B1 * C2 - B2 * C1) / det;
    y = std::fabs(B1) <= kCoordinateTolerance ? -(A2 * x + C2) / B2 : -(A1 * x + C1) / B1;
    return true;
}

bool WithinRange(double v, double a, double b) { return std::min(a, b) <= v && v <= std::max(a, b); }

}  // namespace

// ---- Unit conversion and comparison ----------------------------------------

double CHQGS_MathUtilityFunctions::DegreeToRadian(double degrees) { return degrees * kDegF; }

double CHQGS_MathUtilityFunctions::RadianToDegree(double radians) { return radians * kRadF; }

bool CHQGS_MathUtilityFunctions::EqualFuzzy(double a, double b, double tol) {
    return std::fabs(a - b) <= tol;
}

// ---- Distances and centres ---------------------------------------------------

double CHQGS_MathUtilityFunctions::ComputeDistance(const CHQ_Point2D& p, const CHQ_Point2D& q) {
    const double dx = q.x - p.x, dy = q.y - p.y;
    return std::sqrt(dx * dx + dy * dy);
}

double CHQGS_MathUtilityFunctions::ComputeDistance(const CHQ_Point3D& p, const CHQ_Point3D& q) {
    const double dx = q.x - p.x, dy = q.y - p.y;
    return std::sqrt(dx * dx + dy * dy);
}

double CHQGS_MathUtilityFunctions::ComputeDistance(const std::vector<CHQ_Point2D>& pts) {
    double total = 0.0;
    for (size_t i = 1; i < pts.size(); ++i) total += ComputeDistance(pts[i - 1], pts[i]);
    return total;
}

CHQ_Point2D CHQGS_MathUtilityFunctions::ComputeCenterPos(const CHQ_Point2D& p, const CHQ_Point2D& q) {
    return CHQ_Point2D((p.x + q.x) * 0.5, (p.y + q.y) * 0.5);
}

CHQ_Point2D CHQGS_MathUtilityFunctions::ComputeCenterPos(const std::vector<CHQ_Point2D>& pts) {
    // Running sums kept in single precision: each addition is done in double
    // and rounded back to float.
    float sx = 0.0f, sy = 0.0f;
    for (const CHQ_Point2D& p : pts) {
        sx = static_cast<float>(sx + p.x);
        sy = static_cast<float>(sy + p.y);
    }
    // An empty list divides 0 by 0 (NaN) in the original arithmetic; say so
    // explicitly rather than dividing.
    if (pts.empty()) return CHQ_Point2D(std::nan(""), std::nan(""));
    const float n = static_cast<float>(pts.size());
    return CHQ_Point2D(sx / n, sy / n);
}

CHQ_Point2D CHQGS_MathUtilityFunctions::ComputeCircleCentre(const CHQ_Point2D& a, const CHQ_Point2D& b,
                                                            const CHQ_Point2D& c) {
    const double s = a.y - c.y;
    const double t = a.y - b.y;
    const double e = a.x * a.x - b.x * b.x + a.y * a.y - b.y * b.y;
    const double f = a.x * a.x - c.x * c.x + a.y * a.y - c.y * c.y;
    const double g = 2.0 * s * (a.x - b.x);
    const double h = 2.0 * t * (a.x - c.x);
    const double x = (s * e - t * f) / (g - h);
    const double y = ((a.x - c.x) * e - (a.x - b.x) * f) / (h - g);
    return CHQ_Point2D(x, y);
}

double CHQGS_MathUtilityFunctions::ptToLineDis(const CHQ_Point2D& p, const CHQ_Point2D& a,
                                               const CHQ_Point2D& b, CHQ_Point2D& foot) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double dd = dx * dx + dy * dy;
    // A line through one point only has no direction: its foot is that point
    // (instead of 0/0).
    const double k = dd > 0.0 ? (dx * (p.x - a.x) + dy * (p.y - a.y)) / dd : 0.0;
    foot = CHQ_Point2D(a.x + k * dx, a.y + k * dy);
    return ComputeDistance(foot, p);
}

// ---- Points derived from a segment -------------------------------------------

CHQ_Point2D CHQGS_MathUtilityFunctions::ComputeRatioPoint(const CHQ_Point2D& p, const CHQ_Point2D& q,
                                                          double dist) {
    if (dist <= 0.0) return p;
    return ComputeRightPoint(p, q, dist);
}

CHQ_Point2D CHQGS_MathUtilityFunctions::ComputeRightPoint(const CHQ_Point2D& p, const CHQ_Point2D& q,
                                                          double dist) {
    const CHQ_Point2D u = UnitDirection(p, q);
    return CHQ_Point2D(p.x + dist * u.x, p.y + dist * u.y);
}

CHQ_Point2D CHQGS_MathUtilityFunctions::ComputeLeftPoint(const CHQ_Point2D& p, const CHQ_Point2D& q,
                                                         double dist) {
    const CHQ_Point2D u = UnitDirection(p, q);
    return CHQ_Point2D(p.x - dist * u.x, p.y - dist * u.y);
}

CHQ_Point2D CHQGS_MathUtilityFunctions::ComputeRatioPointF(const CHQ_Point2D& p, const CHQ_Point2D& q,
                                                           double k) {
    return CHQ_Point2D((p.x + k * q.x) / (1.0 + k), (p.y + k * q.y) / (1.0 + k));
}

CHQ_Point2D CHQGS_MathUtilityFunctions::ComputeLinePoint(const CHQ_Point2D& p, const CHQ_Point2D& q,
                                                         double r) {
    const double len = ComputeDistance(p, q);
    if (len <= kCoordinateTolerance) return p;
    const double lambda = r / len;
    return CHQ_Point2D((p.x + lambda * q.x) / (1.0 + lambda), (p.y + lambda * q.y) / (1.0 + lambda));
}

CHQ_Point2D CHQGS_MathUtilityFunctions::CircleOnPoint(const CHQ_Point2D& c, double rx, double ry,
                                                      double angleDeg) {
    const double a = angleDeg * kDegF;
    return CHQ_Point2D(c.x + rx * std::cos(a), c.y + ry * std::sin(a));
}

std::vector<CHQ_Point2D> CHQGS_MathUtilityFunctions::ComputeLRPt(const CHQ_Point2D& p, const CHQ_Point2D& q,
                                                                 float w) {
    // A quarter turn by this literal (slightly less than pi/2), as the
    // stored shapes were built with it.
    const double kQuarterTurn = 1.5707963;
    const CHQ_Point2D u = UnitDirection(p, q);
    const double vx = static_cast<double>(w) * u.x, vy = static_cast<double>(w) * u.y;
    const double ca = std::cos(kQuarterTurn), sa = std::sin(kQuarterTurn);
    const double rx = ca * vx - sa * vy;
    const double ry = ca * vy + sa * vx;
    return {CHQ_Point2D(q.x + rx, q.y + ry), CHQ_Point2D(q.x - rx, q.y - ry)};
}

CHQ_Point2D CHQGS_MathUtilityFunctions::ComputeLPt(const CHQ_Point2D& p, const CHQ_Point2D& q, float w) {
    return ComputeLRPt(p, q, w)[0];
}

CHQ_Point2D CHQGS_MathUtilityFunctions::ComputeRPt(const CHQ_Point2D& p, const CHQ_Point2D& q, float w) {
    return ComputeLRPt(p, q, w)[1];
}

void CHQGS_MathUtilityFunctions::ComputeLRPoint(const CHQ_Point2D& p, const CHQ_Point2D& q, float w,
                                                CHQ_Point2D& first, CHQ_Point2D& second) {
    const double wd = w;
    CHQ_Point2D a, b;
    if (std::fabs(p.y - q.y) <= kCoordinateTolerance) {
        a = CHQ_Point2D(q.x, q.y - wd);
        b = CHQ_Point2D(q.x, q.y + wd);
    } else if (std::fabs(p.x - q.x) <= kCoordinateTolerance) {
        a = CHQ_Point2D(q.x - wd, q.y);
        b = CHQ_Point2D(q.x + wd, q.y);
    } else {
        double nx = q.y - p.y, ny = p.x - q.x;
        const double len = std::sqrt(nx * nx + ny * ny);
        nx /= len;
        ny /= len;
        a = CHQ_Point2D(q.x + wd * nx, q.y + wd * ny);
        b = CHQ_Point2D(q.x - wd * nx, q.y - wd * ny);
    }
    const float s = static_cast<float>((q.y - p.y) * (a.x - p.x) - (a.y - p.y) * (q.x - p.x));
    if (s > 0.0f) {
        first = a;
        second = b;
    } else {
        first = b;
        second = a;
    }
}

std::vector<CHQ_Point2D> CHQGS_MathUtilityFunctions::ComputeLeftRightPointF(const CHQ_Point2D& p,
                                                                            const CHQ_Point2D& q,
                                                                            double dist) {
    CHQ_Point2D c1, c2;
    if (std::fabs(p.y - q.y) <= kCoordinateTolerance) {
        c1 = CHQ_Point2D(p.x - dist, p.y);
        c2 = CHQ_Point2D(p.x + dist, p.y);
    } else {
        const double k = (p.x - q.x) / (p.y - q.y);
        const double t = std::sqrt(dist * dist / (k * k + 1.0));
        c1 = CHQ_Point2D(p.x + k * t, p.y + t);
        c2 = CHQ_Point2D(p.x - k * t, p.y - t);
    }
    if (ComputeDistance(c2, q) > ComputeDistance(c1, q)) return {c2, c1};
    return {c1, c2};
}

// ---- Angles --------------------------------------------------------------------

double CHQGS_MathUtilityFunctions::GetAngle(const CHQ_Point2D& p, const CHQ_Point2D& q) {
    const double len = ComputeDistance(p, q);
    if (len <= kCoordinateTolerance) return 0.0;
    // The ratio cannot exceed 1 in exact arithmetic; the clamp only keeps
    // asin away from NaN for extreme magnitudes.
    if (p.y > q.y) return std::asin(Clamp1((p.x - q.x) / len)) * 180.0 / kPiF - 180.0;
    return std::asin(Clamp1((q.x - p.x) / len)) * 180.0 / kPiF;
}

double CHQGS_MathUtilityFunctions::GetAngleEx(const CHQ_Point2D& p, const CHQ_Point2D& q) {
    double a = std::atan2(q.y - p.y, q.x - p.x);
    if (a < 0.0) a += kTwoPiF;
    return a * kRadF;
}

double CHQGS_MathUtilityFunctions::GetAngleEx(const CHQ_Point2D& a, const CHQ_Point2D& b,
                                              const CHQ_Point2D& c) {
    const double opposite = ComputeDistance(a, b);
    const double adjacent = ComputeDistance(b, c);
    // Three equal points would give atan(0/0): no angle, answer 0.
    if (opposite == 0.0 && adjacent == 0.0) return 0.0;
    return std::atan(opposite / adjacent) * kRadF;
}

double CHQGS_MathUtilityFunctions::GetIntersectingAngle(const CHQ_Point2D& o, const CHQ_Point2D& p,
                                                        const CHQ_Point2D& q) {
    if (Coincide(o, p) || Coincide(q, o) || Coincide(p, q)) return 0.0;
    const float ux = static_cast<float>(q.x - o.x), uy = static_cast<float>(q.y - o.y);
    const float vx = static_cast<float>(p.x - o.x), vy = static_cast<float>(p.y - o.y);
    const float dot = ux * vx + uy * vy;
    const float lu = std::sqrt(ux * ux + uy * uy);
    const float lv = std::sqrt(vx * vx + vy * vy);
    const double c = Clamp1(static_cast<double>(dot) / (static_cast<double>(lv) * static_cast<double>(lu)));
    // The arc cosine and its product with RAD_F are both single precision:
    // that is what makes a right angle exactly 90 (and not 89.999995).
    const float radians = static_cast<float>(std::acos(c));
    return static_cast<float>(radians * kRadF);
}

double CHQGS_MathUtilityFunctions::ComputeNipAngle(const CHQ_Point2D& o, const CHQ_Point2D& p,
                                                   const CHQ_Point2D& q) {
    const float ux = static_cast<float>(p.x - o.x), uy = static_cast<float>(p.y - o.y);
    const float vx = static_cast<float>(q.x - o.x), vy = static_cast<float>(q.y - o.y);
    const float dot = ux * vx + uy * vy;
    const float lu = std::sqrt(ux * ux + uy * uy);
    const float lv = std::sqrt(vx * vx + vy * vy);
    const float lengths = lu * lv;
    if (lengths <= kCoordinateTolerance) return 0.0;
    const double c = Clamp1(static_cast<double>(dot) / static_cast<double>(lengths));
    return RoundF(std::acos(c) * 180.0 / kPiF);
}

double CHQGS_MathUtilityFunctions::JudgePointPos(const CHQ_Point2D& p, const CHQ_Point2D& a,
                                                 const CHQ_Point2D& b) {
    return RoundF((b.y - a.y) * (p.x - a.x) - (p.y - a.y) * (b.x - a.x));
}

// ---- Rotations -------------------------------------------------------------------

CHQ_Point2D CHQGS_MathUtilityFunctions::RotatePoint(const CHQ_Point2D& c, const CHQ_Point2D& v,
                                                    double angleDeg) {
    const double r = std::sqrt(v.x * v.x + v.y * v.y);
    double a = std::atan2(v.y, v.x);
    if (a < 0.0) a += kTwoPiF;
    // Back and forth through degrees with the single-precision factors.
    const double turned = a * kRadF * kDegF + angleDeg * kDegF;
    return CHQ_Point2D(c.x + r * std::cos(turned), c.y + r * std::sin(turned));
}

CHQ_Point2D CHQGS_MathUtilityFunctions::PointRotate(CHQ_Point2D p, CHQ_Point2D c, double angleDeg) {
    const double dx = p.x - c.x, dy = p.y - c.y;
    const double a = angleDeg * kPiF / 180.0;
    const double ca = std::cos(a), sa = std::sin(a);
    const float x = static_cast<float>(ca * dx + sa * dy + c.x);
    const float y = static_cast<float>(ca * dy - sa * dx + c.y);
    return CHQ_Point2D(x, y);
}

// ---- Lines ---------------------------------------------------------------------------

void CHQGS_MathUtilityFunctions::CoefficientsOfDualisticOnceEqu(double x1, double y1, double x2, double y2,
                                                                double& A, double& B, double& C) {
    const bool sameX = std::fabs(x1 - x2) <= kCoordinateTolerance;
    const bool sameY = std::fabs(y1 - y2) <= kCoordinateTolerance;
    if (sameX && sameY) return;
    if (sameY) {
        A = 0.0;
        B = 1.0;
        C = -(y1 + y2) / 2.0;
        return;
    }
    const double k = (x1 - x2) / (y1 - y2);
    A = 1.0;
    B = -k;
    C = -(x1 - k * y1);
}

bool CHQGS_MathUtilityFunctions::IntersectLines(CHQ_Point2D& out, const CHQ_Point2D& a1,
                                                const CHQ_Point2D& a2, const CHQ_Point2D& b1,
                                                const CHQ_Point2D& b2) {
    double x, y;
    if (!LineIntersection(a1, a2, b1, b2, x, y)) return false;
    out = CHQ_Point2D(x, y);
    return true;
}

bool CHQGS_MathUtilityFunctions::IntersectLinesSegment(CHQ_Point2D& out, const CHQ_Point2D& a1,
                                                       const CHQ_Point2D& a2, const CHQ_Point2D& b1,
                                                       const CHQ_Point2D& b2) {
    double x, y;
    if (!LineIntersection(a1, a2, b1, b2, x, y)) return false;
    out.x = x;
    if (!WithinRange(x, a1.x, a2.x) || !WithinRange(x, b1.x, b2.x)) return false;
    // The x test alone accepts any point of the infinite line for a vertical
    // segment; check its y-range too (with the coincidence tolerance, since y
    // comes from the other line's equation).
    const auto verticalMisses = [y](const CHQ_Point2D& s1, const CHQ_Point2D& s2) {
        return std::fabs(s1.x - s2.x) <= kCoordinateTolerance &&
               !WithinRange(y, std::min(s1.y, s2.y) - kCoordinateTolerance,
                            std::max(s1.y, s2.y) + kCoordinateTolerance);
    };
    if (verticalMisses(a1, a2) || verticalMisses(b1, b2)) return false;
    out.y = y;
    return true;
}

// ---- Point location --------------------------------------------------------------------

bool CHQGS_MathUtilityFunctions::IsPointOnLine(const CHQ_Point2D& pt, const std::vector<CHQ_Point2D>& line,
                                               double tol) {
    if (line.size() < 2) return false;
    const double nearVertex = 2.0 * tol;
    const double cosTol = tol * 0.01;
    for (size_t i = 0; i + 1 < line.size(); ++i) {
        const CHQ_Point2D& a = line[i];
        const CHQ_Point2D& b = line[i + 1];
        if (std::fabs(pt.x - a.x) <= nearVertex && std::fabs(pt.y - a.y) <= nearVertex) return true;
        if (std::fabs(pt.x - b.x) <= nearVertex && std::fabs(pt.y - b.y) <= nearVertex) return true;
        const double ax = pt.x - a.x, ay = pt.y - a.y;
        const double bx = pt.x - b.x, by = pt.y - b.y;
        const double lengths = std::sqrt(ax * ax + ay * ay) * std::sqrt(bx * bx + by * by);
        // pt exactly on a vertex: on the line (the cosine would be 0/0).
        if (lengths == 0.0) return true;
        const double c = (ax * bx + ay * by) / lengths;
        if (std::fabs(c + 1.0) <= cosTol) return true;
    }
    return false;
}

bool CHQGS_MathUtilityFunctions::IsPointOnPolygon(const CHQ_Point2D& pt,
                                                  const std::vector<CHQ_Point2D>& polygon) {
    bool inside = false;
    if (polygon.empty()) return inside;
    size_t j = polygon.size() - 1;
    for (size_t i = 0; i < polygon.size(); j = i++) {
        const CHQ_Point2D& pi = polygon[i];
        const CHQ_Point2D& pj = polygon[j];
        if (pi.y > pt.y && pt.y >= pj.y && (pi.x - pj.x) * (pt.y - pj.y) > (pt.x - pj.x) * (pi.y - pj.y))
            inside = !inside;
        if (pj.y > pt.y && pt.y >= pi.y && (pt.x - pj.x) * (pi.y - pj.y) > (pi.x - pj.x) * (pt.y - pj.y))
            inside = !inside;
    }
    return inside;
}

// ---- Lists ----------------------------------------------------------------------------------

std::vector<CHQ_Point2D> CHQGS_MathUtilityFunctions::ReversePoint(const std::vector<CHQ_Point2D>& pts) {
    return std::vector<CHQ_Point2D>(pts.rbegin(), pts.rend());
}

}  // namespace HQ

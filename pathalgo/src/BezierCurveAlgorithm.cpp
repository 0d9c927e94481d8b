// SPDX-License-Identifier: Apache-2.0
#include <pathalgo/BezierCurveAlgorithm.h>

#include "Tolerances.h"

#include <cassert>
#include <cmath>

namespace HQ {

namespace {

// Parameters within kParameterTolerance of 0 or 1 are accepted (and clamped)
// without complaint: the length sampling overshoots 1 by about 7e-16.
using tolerance::kParameterTolerance;

[[maybe_unused]] bool fuzzyCompare(double a, double b) { return std::fabs(a - b) <= kParameterTolerance; }

double Distance(const CHQ_Point3D& a, const CHQ_Point3D& b) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double dz = b.z - a.z;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

}  // namespace

constexpr int CBezierCurveAlgorithm::kLengthChords;
constexpr double CBezierCurveAlgorithm::kLengthStep;

CBezierCurveAlgorithm::CBezierCurveAlgorithm(const CHQ_Point3D& p0, const CHQ_Point3D& p1,
                                             const CHQ_Point3D& p2, const CHQ_Point3D& p3)
    : p0_(p0), p1_(p1), p2_(p2), p3_(p3) {
    ComputeLength();
}

CBezierCurveAlgorithm::CBezierCurveAlgorithm(double x0, double y0, double x1, double y1, double x2, double y2,
                                             double x3, double y3)
    : p0_(x0, y0, 0.0), p1_(x1, y1, 0.0), p2_(x2, y2, 0.0), p3_(x3, y3, 0.0) {
    ComputeLength();
}

void CBezierCurveAlgorithm::ComputeLength() {
    // A fixed polyline of 251 samples; t advances by repeated addition, so the
    // last sample sits at 1.0000000000000007 and is clamped to 1.
    double t = 0.0;
    CHQ_Point3D prev = Evaluate(t);
    double length = 0.0;
    for (int i = 0; i < kLengthChords; ++i) {
        t += kLengthStep;
        const CHQ_Point3D next = Evaluate(t);
        length += Distance(prev, next);
        prev = next;
    }
    length_ = length;
}

CHQ_Point3D CBezierCurveAlgorithm::Evaluate(double t) const {
    assert((0 < t || fuzzyCompare(0., t)) && (t < 1. || fuzzyCompare(1.0, t)));
    if (!(t >= 0.0)) t = 0.0;  // also NaN
    if (t > 1.0) t = 1.0;
    const double mt = 1.0 - t;
    const double b0 = mt * mt * mt;
    const double b1 = 3.0 * mt * mt * t;
    const double b2 = 3.0 * mt * t * t;
    const double b3 = t * t * t;
    return CHQ_Point3D(b0 * p0_.x + b1 * p1_.x + b2 * p2_.x + b3 * p3_.x,
                       b0 * p0_.y + b1 * p1_.y + b2 * p2_.y + b3 * p3_.y,
                       b0 * p0_.z + b1 * p1_.z + b2 * p2_.z + b3 * p3_.z);
}

CHQ_Point2D CBezierCurveAlgorithm::PointAt(double t) const {
    const CHQ_Point3D p = Evaluate(t);
    return CHQ_Point2D(p.x, p.y);
}

std::unique_ptr<CPrimitiveAlgorithm> CBezierCurveAlgorithm::Clone() const {
    return std::make_unique<CBezierCurveAlgorithm>(*this);
}

}  // namespace HQ

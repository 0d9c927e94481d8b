// SPDX-License-Identifier: Apache-2.0
#include <pathalgo/CircleAlgorithm.h>

#include <algorithm>
#include <cmath>

namespace HQ {

namespace {
// 2 pi as the circumference factor of the arc length.
constexpr double kTwoPi = 6.283185307179586;
constexpr double kFullTurn = 360.0;
}  // namespace

CCircleAlgorithm::CCircleAlgorithm(double cx, double cy, double radius)
    : cx_(cx), cy_(cy), radius_(std::fabs(radius)) {}

void CCircleAlgorithm::SetCenter(double cx, double cy) {
    cx_ = cx;
    cy_ = cy;
}

void CCircleAlgorithm::SetRadius(double radius) { radius_ = std::fabs(radius); }

void CCircleAlgorithm::SetAngles(double startAngle, double sweepAngle) {
    startAngle_ = startAngle;
    sweepAngle_ = sweepAngle;
}

double CCircleAlgorithm::GetLength() const {
    // Arcs shaped by the path sweep clockwise (negative sweep); their length
    // still counts positively towards the path's total.
    return radius_ * kTwoPi * (std::fabs(sweepAngle_) / kFullTurn);
}

CHQ_Point2D CCircleAlgorithm::PointAt(double t) const {
    const double end = startAngle_ + sweepAngle_;
    const double lo = std::min(startAngle_, end);
    const double hi = std::max(startAngle_, end);
    const double angle = hi - (hi - lo) * t;
    double s = 0.0, c = 0.0;
    SinCosDegrees(angle, s, c);
    return CHQ_Point2D(cx_ + radius_ * c, cy_ + radius_ * s);
}

std::unique_ptr<CPrimitiveAlgorithm> CCircleAlgorithm::Clone() const {
    return std::make_unique<CCircleAlgorithm>(*this);
}

}  // namespace HQ

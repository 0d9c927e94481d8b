// SPDX-License-Identifier: Apache-2.0
#include <pathalgo/EllipticAlgorithm.h>
#include <pathalgo/PrimitiveAlgorithmPath.h>

#include <algorithm>

namespace HQ {

constexpr double CEllipticAlgorithm::kKappa;

CEllipticAlgorithm::CEllipticAlgorithm(double cx, double cy, double ry, double rx, double rotation)
    : cx_(cx), cy_(cy), ry_(ry), rx_(rx), rotation_(rotation) {
    SinCosDegrees(rotation_, sinRotation_, cosRotation_);
    rotated_ = true;

    // The bounding box, sides put in order so that negative extents mirror.
    const PathRect box(cx - rx, cy - ry, 2.0 * rx, 2.0 * ry);
    const double x = box.left;
    const double y = box.top;
    const double w = box.width;
    const double h = box.height;
    const double w2 = w / 2.0;
    const double h2 = h / 2.0;
    const double k = kKappa;

    const CHQ_Point2D q[13] = {
        {x + w, y + h2},                                                      // largest x
        {x + w, y + h2 + h2 * k}, {x + w2 + w2 * k, y + h}, {x + w2, y + h},  // largest y
        {x + w2 - w2 * k, y + h}, {x, y + h2 + h2 * k},     {x, y + h2},      // smallest x
        {x, y + h2 - h2 * k},     {x + w2 - w2 * k, y},     {x + w2, y},      // smallest y
        {x + w2 + w2 * k, y},     {x + w, y + h2 - h2 * k}, {x + w, y + h2},  // back at the start
    };
    curves_.reserve(4);
    for (int i = 0; i < 4; ++i) {
        const CHQ_Point2D* c = &q[3 * i];
        curves_.emplace_back(c[0].x, c[0].y, c[1].x, c[1].y, c[2].x, c[2].y, c[3].x, c[3].y);
    }
    double length = 0.0;
    for (const CBezierCurveAlgorithm& curve : curves_) length += curve.GetLength();
    length_ = length;
}

CHQ_Point2D CEllipticAlgorithm::PointAt(double t) const {
    // Each quarter of the parameter range is one curve, whatever its length.
    const double u = t >= 0.0 ? std::min(1.0, t) : 0.0;  // NaN counts as 0 too
    if (u < 0.25) return curves_[0].PointAt(4.0 * u);
    if (u < 0.5) return curves_[1].PointAt(4.0 * (u - 0.25));
    if (u < 0.75) return curves_[2].PointAt(4.0 * (u - 0.5));
    return curves_[3].PointAt(4.0 * (u - 0.75));
}

std::unique_ptr<CPrimitiveAlgorithm> CEllipticAlgorithm::Clone() const {
    return std::make_unique<CEllipticAlgorithm>(*this);
}

}  // namespace HQ

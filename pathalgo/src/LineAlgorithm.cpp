// SPDX-License-Identifier: Apache-2.0
#include <pathalgo/LineAlgorithm.h>

#include <cmath>

namespace HQ {

CLineAlgorithm::CLineAlgorithm(double x1, double y1, double x2, double y2)
    : x1_(x1), y1_(y1), x2_(x2), y2_(y2), dx_(x1 - x2), dy_(y1 - y2) {
    length_ = std::sqrt(dx_ * dx_ + dy_ * dy_);
}

CLineAlgorithm::CLineAlgorithm(const CHQ_Point2D& start, const CHQ_Point2D& end)
    : CLineAlgorithm(start.x, start.y, end.x, end.y) {}

CHQ_Point2D CLineAlgorithm::PointAt(double t) const {
    if (t >= 1.0) return CHQ_Point2D(x2_, y2_);
    // Divide the segment in the ratio t : (1 - t); k + 1 = 1 / (1 - t) is
    // never 0 for t < 1.
    const double k = t / (1.0 - t);
    return CHQ_Point2D((k * x2_ + x1_) / (k + 1.0), (k * y2_ + y1_) / (k + 1.0));
}

std::unique_ptr<CPrimitiveAlgorithm> CLineAlgorithm::Clone() const {
    return std::make_unique<CLineAlgorithm>(*this);
}

}  // namespace HQ

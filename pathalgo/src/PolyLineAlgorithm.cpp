// SPDX-License-Identifier: Apache-2.0
#include <pathalgo/PolyLineAlgorithm.h>

namespace HQ {

void CPolyLineAlgorithm::AddLine(const CLineAlgorithm& line) {
    lines_.push_back(line);
    length_ += line.GetLength();
}

CHQ_Point2D CPolyLineAlgorithm::PointAt(double t) const {
    if (lines_.empty()) return CHQ_Point2D();
    if (length_ == 0.0) return lines_.front().PointAt(0.0);

    // The running sum repeats the additions of AddLine in the same order, so
    // the last fraction is exactly 1.
    double acc = 0.0;
    double prev = 0.0;
    for (const CLineAlgorithm& line : lines_) {
        acc += line.GetLength();
        const double frac = acc / length_;
        if (frac >= t) {
            const double span = frac - prev;
            const double local = span == 0.0 ? 0.0 : (t - prev) / span;
            return line.PointAt(local);
        }
        prev = frac;
    }
    return CHQ_Point2D();
}

std::unique_ptr<CPrimitiveAlgorithm> CPolyLineAlgorithm::Clone() const {
    return std::make_unique<CPolyLineAlgorithm>(*this);
}

}  // namespace HQ

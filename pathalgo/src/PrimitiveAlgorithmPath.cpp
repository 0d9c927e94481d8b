// SPDX-License-Identifier: Apache-2.0
#include <pathalgo/PrimitiveAlgorithmPath.h>

#include <cmath>
#include <utility>

namespace HQ {

PathRect::PathRect(double x, double y, double w, double h) : left(x), top(y), right(x + w), bottom(y + h) {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    width = right - left;
    height = bottom - top;
}

CPrimitiveAlgorithmPath::CPrimitiveAlgorithmPath() = default;

CPrimitiveAlgorithmPath::CPrimitiveAlgorithmPath(const CPrimitiveAlgorithmPath& other)
    : pending_(other.pending_ ? other.pending_->Clone() : nullptr), current_(other.current_) {
    elements_.reserve(other.elements_.size());
    for (const auto& element : other.elements_) {
        if (element) elements_.push_back(element->Clone());
    }
}

CPrimitiveAlgorithmPath& CPrimitiveAlgorithmPath::operator=(const CPrimitiveAlgorithmPath& other) {
    if (this != &other) {
        CPrimitiveAlgorithmPath copy(other);
        *this = std::move(copy);
    }
    return *this;
}

CPrimitiveAlgorithmPath::CPrimitiveAlgorithmPath(CPrimitiveAlgorithmPath&& other) noexcept
    : pending_(std::move(other.pending_)), elements_(std::move(other.elements_)), current_(other.current_) {
    other.elements_.clear();
    other.current_ = CHQ_Point2D();
}

CPrimitiveAlgorithmPath& CPrimitiveAlgorithmPath::operator=(CPrimitiveAlgorithmPath&& other) noexcept {
    if (this != &other) {
        pending_ = std::move(other.pending_);
        elements_ = std::move(other.elements_);
        current_ = other.current_;
        other.elements_.clear();
        other.current_ = CHQ_Point2D();
    }
    return *this;
}

CPrimitiveAlgorithmPath::~CPrimitiveAlgorithmPath() = default;

CPrimitiveAlgorithmPath* CPrimitiveAlgorithmPath::Clone() const { return new CPrimitiveAlgorithmPath(*this); }

void CPrimitiveAlgorithmPath::ClosePending() {
    if (pending_) elements_.push_back(std::move(pending_));
}

const CPrimitiveAlgorithm* CPrimitiveAlgorithmPath::GetElement(std::size_t index) const {
    return index < elements_.size() ? elements_[index].get() : nullptr;
}

void CPrimitiveAlgorithmPath::MoveTo(double x, double y) {
    ClosePending();
    current_ = CHQ_Point2D(x, y);
}

void CPrimitiveAlgorithmPath::MoveTo(const CHQ_Point2D& p) { MoveTo(p.x, p.y); }

void CPrimitiveAlgorithmPath::LineTo(double x, double y) {
    if (pending_ && pending_->GetPrimitiveType() != Primitive_PolyLine) {
        // An arc being shaped ends here; the new point is only moved to.
        ClosePending();
        current_ = CHQ_Point2D(x, y);
        return;
    }
    if (!pending_) pending_ = std::make_unique<CPolyLineAlgorithm>();
    static_cast<CPolyLineAlgorithm*>(pending_.get())->AddLine(CLineAlgorithm(current_.x, current_.y, x, y));
    current_ = CHQ_Point2D(x, y);
}

void CPrimitiveAlgorithmPath::LineTo(const CHQ_Point2D& p) { LineTo(p.x, p.y); }

void CPrimitiveAlgorithmPath::CubicTo(const CHQ_Point2D& c1, const CHQ_Point2D& c2, const CHQ_Point2D& end) {
    elements_.push_back(std::make_unique<CBezierCurveAlgorithm>(current_.x, current_.y, c1.x, c1.y, c2.x,
                                                                c2.y, end.x, end.y));
    current_ = end;
}

void CPrimitiveAlgorithmPath::QuadTo(const CHQ_Point2D& c, const CHQ_Point2D& end) {
    if (current_.x == c.x && current_.y == c.y && c.x == end.x && c.y == end.y) return;
    const CHQ_Point2D c1((2.0 * c.x + current_.x) / 3.0, (2.0 * c.y + current_.y) / 3.0);
    const CHQ_Point2D c2((2.0 * c.x + end.x) / 3.0, (2.0 * c.y + end.y) / 3.0);
    CubicTo(c1, c2, end);
}

void CPrimitiveAlgorithmPath::AddEllipse(const PathRect& rect) {
    AddEllipse((rect.left + rect.right) / 2.0, (rect.top + rect.bottom) / 2.0, rect.width / 2.0,
               rect.height / 2.0);
}

void CPrimitiveAlgorithmPath::AddEllipse(const CHQ_Point2D& centre, double rx, double ry) {
    AddEllipse(centre.x, centre.y, rx, ry);
}

void CPrimitiveAlgorithmPath::AddEllipse(double x, double y, double rx, double ry) {
    ClosePending();
    // The ellipse takes the half extent along y before the one along x.
    auto ellipse = std::make_unique<CEllipticAlgorithm>(x, y, ry, rx, 0.0);
    current_ = ellipse->PointAt(1.0);
    elements_.push_back(std::move(ellipse));
}

void CPrimitiveAlgorithmPath::ArcMoveTo(const PathRect& rect, double angle) {
    ClosePending();
    auto circle = std::make_unique<CCircleAlgorithm>((rect.left + rect.right) / 2.0,
                                                     (rect.top + rect.bottom) / 2.0, rect.width / 2.0);
    circle->SetAngles(-angle, 360.0);
    // Always the point at circle angle 360, i.e. (cx + radius, cy).
    current_ = circle->PointAt(-angle / 360.0);
    pending_ = std::move(circle);
}

void CPrimitiveAlgorithmPath::ArcTo(const PathRect& rect, double startAngle, double sweepAngle) {
    if (!pending_ || pending_->GetPrimitiveType() != Primitive_Circle) return;
    auto* circle = static_cast<CCircleAlgorithm*>(pending_.get());
    circle->SetCenter((rect.left + rect.right) / 2.0, (rect.top + rect.bottom) / 2.0);
    circle->SetRadius(rect.width / 2.0);
    circle->SetAngles(-startAngle, -sweepAngle);
    current_ = circle->PointAt(1.0);
}

double CPrimitiveAlgorithmPath::Length() {
    ClosePending();
    double total = 0.0;
    for (const auto& element : elements_) {
        if (element) total += element->GetLength();
    }
    return total;
}

CHQ_Point2D CPrimitiveAlgorithmPath::PointAtPercent(double f) {
    CHQ_Point2D answer;
    ClosePending();
    const double total = Length();
    // A path of length 0 has no point at any fraction (every frac below would
    // be 0/0).
    if (!(total > 0.0)) return answer;

    // The running sum repeats the additions of Length in the same order, so
    // the last fraction is exactly 1.
    double acc = 0.0;
    double prev = 0.0;
    for (const auto& element : elements_) {
        if (!element) continue;
        acc += element->GetLength();
        const double frac = acc / total;
        if (frac >= f) {
            const double span = frac - prev;
            // A leading zero-length segment (span 0, reached only for f <= 0)
            // answers its start; f below 0 answers the first segment's start
            // rather than a point outside the path.
            double local = span == 0.0 ? 0.0 : (f - prev) / span;
            if (local < 0.0) local = 0.0;
            answer = element->PointAt(local);
            break;
        }
        prev = frac;
    }
    return answer;
}

}  // namespace HQ

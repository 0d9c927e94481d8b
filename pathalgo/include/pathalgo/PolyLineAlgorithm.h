// SPDX-License-Identifier: Apache-2.0
// CPolyLineAlgorithm: straight lines gathered in the order they were added,
// measured and evaluated as one segment. The lines are held by value.
#include <pathalgo/PrimitiveAlgorithm.h>

#ifndef PATHALGO_POLYLINEALGORITHM_H
#define PATHALGO_POLYLINEALGORITHM_H

#include <cstddef>
#include <vector>

namespace HQ {

class GEOMKIT_API CPolyLineAlgorithm : public CPrimitiveAlgorithm {
public:
    CPolyLineAlgorithm() = default;

    // Copies the line to the end and adds its length to the total.
    void AddLine(const CLineAlgorithm& line);

    int GetPrimitiveType() const override { return Primitive_PolyLine; }
    // Sum of the line lengths, 0 when empty.
    double GetLength() const override { return length_; }
    // The point at fraction t of the total length, walking the lines in
    // order. No lines: (0, 0). Total length 0: the first line's start. A t
    // beyond every line's running fraction (t > 1): (0, 0).
    CHQ_Point2D PointAt(double t) const override;
    std::unique_ptr<CPrimitiveAlgorithm> Clone() const override;

    const std::vector<CLineAlgorithm>& GetLines() const { return lines_; }
    std::size_t GetLineCount() const { return lines_.size(); }

private:
    double length_ = 0.0;
    std::vector<CLineAlgorithm> lines_;
};

}  // namespace HQ

#endif  // PATHALGO_POLYLINEALGORITHM_H

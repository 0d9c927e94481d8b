// SPDX-License-Identifier: Apache-2.0
// CLineAlgorithm: a straight segment from a start point to an end point.
// A plain value: copy it freely.
#include <pathalgo/PrimitiveAlgorithm.h>

#ifndef PATHALGO_LINEALGORITHM_H
#define PATHALGO_LINEALGORITHM_H

namespace HQ {

class GEOMKIT_API CLineAlgorithm : public CPrimitiveAlgorithm {
public:
    // From the start (x1, y1) to the end (x2, y2); the length is computed here.
    CLineAlgorithm(double x1, double y1, double x2, double y2);
    CLineAlgorithm(const CHQ_Point2D& start, const CHQ_Point2D& end);

    int GetPrimitiveType() const override { return Primitive_Line; }
    double GetLength() const override { return length_; }
    // t >= 1 answers the end point exactly; otherwise the point dividing the
    // segment in the ratio t : (1 - t). t = 0 is the start point.
    CHQ_Point2D PointAt(double t) const override;
    std::unique_ptr<CPrimitiveAlgorithm> Clone() const override;

    CHQ_Point2D GetStart() const { return CHQ_Point2D(x1_, y1_); }
    CHQ_Point2D GetEnd() const { return CHQ_Point2D(x2_, y2_); }
    // Start minus end (the direction points from the end towards the start).
    double GetDx() const { return dx_; }
    double GetDy() const { return dy_; }

private:
    double x1_, y1_;
    double x2_, y2_;
    double dx_, dy_;
    double length_;
};

}  // namespace HQ

#endif  // PATHALGO_LINEALGORITHM_H

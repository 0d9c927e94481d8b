// SPDX-License-Identifier: Apache-2.0
// CEllipticAlgorithm: a whole axis-parallel ellipse, stored as four cubic
// Bezier quarters. It starts at the point of largest x, passes the point of
// largest y, then smallest x, then smallest y, and returns to the start.
#include <pathalgo/PrimitiveAlgorithm.h>

#ifndef PATHALGO_ELLIPTICALGORITHM_H
#define PATHALGO_ELLIPTICALGORITHM_H

#include <vector>

namespace HQ {

class GEOMKIT_API CEllipticAlgorithm : public CPrimitiveAlgorithm {
public:
    // Cubic control-point factor for a quarter ellipse.
    static constexpr double kKappa = 0.5522847498;

    // Note the order: the half extent along y comes before the one along x.
    // Negative extents mirror the box, giving the same ellipse. The rotation
    // (degrees) is stored with its sine and cosine but not applied to the
    // curves.
    CEllipticAlgorithm(double cx, double cy, double ry, double rx, double rotation);

    int GetPrimitiveType() const override { return Primitive_Elliptic; }
    // Sum of the four quarters' lengths.
    double GetLength() const override { return length_; }
    // The four quarters of [0, 1] map to the four curves whatever their
    // lengths; t below 0 (or NaN) gives the start, t above 1 the end.
    CHQ_Point2D PointAt(double t) const override;
    std::unique_ptr<CPrimitiveAlgorithm> Clone() const override;

    double GetCenterX() const { return cx_; }
    double GetCenterY() const { return cy_; }
    double GetRadiusX() const { return rx_; }
    double GetRadiusY() const { return ry_; }
    double GetRotation() const { return rotation_; }
    double GetSinRotation() const { return sinRotation_; }
    double GetCosRotation() const { return cosRotation_; }
    bool IsRotated() const { return rotated_; }
    const std::vector<CBezierCurveAlgorithm>& GetCurves() const { return curves_; }

private:
    double cx_, cy_;
    double ry_, rx_;
    double rotation_;
    double sinRotation_ = 0.0, cosRotation_ = 1.0;
    bool rotated_ = true;
    std::vector<CBezierCurveAlgorithm> curves_;
    double length_ = 0.0;
};

}  // namespace HQ

#endif  // PATHALGO_ELLIPTICALGORITHM_H

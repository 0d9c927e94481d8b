// SPDX-License-Identifier: Apache-2.0
// CBezierCurveAlgorithm: a cubic Bezier curve in three dimensions (curves
// built from 2-D points lie in z = 0). A plain value: copy it freely.
#include <pathalgo/PrimitiveAlgorithm.h>

#ifndef PATHALGO_BEZIERCURVEALGORITHM_H
#define PATHALGO_BEZIERCURVEALGORITHM_H

#include <geomkit/Point3D.h>

namespace HQ {

class GEOMKIT_API CBezierCurveAlgorithm : public CPrimitiveAlgorithm {
public:
    // Number of chords of the polyline that measures the length: samples at
    // t = 0, 0.004, 0.008, ... (251 of them, t advanced by repeated addition).
    static constexpr int kLengthChords = 250;
    static constexpr double kLengthStep = 0.004;

    // The length is measured here, once.
    CBezierCurveAlgorithm(const CHQ_Point3D& p0, const CHQ_Point3D& p1, const CHQ_Point3D& p2,
                          const CHQ_Point3D& p3);
    // From 2-D points given as x, y pairs; z = 0.
    CBezierCurveAlgorithm(double x0, double y0, double x1, double y1, double x2, double y2, double x3,
                          double y3);

    int GetPrimitiveType() const override { return Primitive_Bezier; }
    // Length of the 250-chord polyline through the samples (3-D distances).
    double GetLength() const override { return length_; }
    // x and y of Evaluate(t).
    CHQ_Point2D PointAt(double t) const override;
    std::unique_ptr<CPrimitiveAlgorithm> Clone() const override;

    // The point at parameter t in Bernstein form. t must lie in [0, 1] within
    // 1e-6; anything else is a caller error: builds without NDEBUG stop on an
    // assertion, other builds clamp t into [0, 1] (a NaN parameter counts as 0).
    CHQ_Point3D Evaluate(double t) const;

    const CHQ_Point3D& GetP0() const { return p0_; }
    const CHQ_Point3D& GetP1() const { return p1_; }
    const CHQ_Point3D& GetP2() const { return p2_; }
    const CHQ_Point3D& GetP3() const { return p3_; }

private:
    void ComputeLength();

    CHQ_Point3D p0_, p1_, p2_, p3_;
    double length_ = 0.0;
};

}  // namespace HQ

#endif  // PATHALGO_BEZIERCURVEALGORITHM_H

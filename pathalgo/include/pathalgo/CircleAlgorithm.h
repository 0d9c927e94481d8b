// SPDX-License-Identifier: Apache-2.0
// CCircleAlgorithm: a circular arc (a whole circle by default) given by its
// centre, radius, start angle and sweep, all angles in degrees.
#include <pathalgo/PrimitiveAlgorithm.h>

#ifndef PATHALGO_CIRCLEALGORITHM_H
#define PATHALGO_CIRCLEALGORITHM_H

namespace HQ {

class GEOMKIT_API CCircleAlgorithm : public CPrimitiveAlgorithm {
public:
    // A whole circle: start angle 0, sweep 360. The absolute value of the
    // radius is stored.
    CCircleAlgorithm(double cx, double cy, double radius);

    void SetCenter(double cx, double cy);
    // Stores the absolute value.
    void SetRadius(double radius);
    void SetAngles(double startAngle, double sweepAngle);

    int GetPrimitiveType() const override { return Primitive_Circle; }
    // radius * 2 pi * |sweep| / 360. The length of an arc swept clockwise
    // (negative sweep) is positive too.
    double GetLength() const override;
    // Runs from the larger of the two end angles (t = 0) to the smaller one
    // (t = 1), whatever the sign of the sweep; angles through SinCosDegrees.
    CHQ_Point2D PointAt(double t) const override;
    std::unique_ptr<CPrimitiveAlgorithm> Clone() const override;

    double GetCenterX() const { return cx_; }
    double GetCenterY() const { return cy_; }
    double GetRadius() const { return radius_; }
    double GetStartAngle() const { return startAngle_; }
    double GetSweepAngle() const { return sweepAngle_; }

private:
    double cx_, cy_;
    double radius_;
    double startAngle_ = 0.0;
    double sweepAngle_ = 360.0;
};

}  // namespace HQ

#endif  // PATHALGO_CIRCLEALGORITHM_H

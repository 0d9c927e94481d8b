// SPDX-License-Identifier: Apache-2.0
// CHQGS_Angle: an angle held as the unit vector of its direction (cos, sin).
// There is no range to normalise: adding and subtracting angles are
// rotations of that vector. Radians unless a name says degrees.
#ifndef GEOMKIT_ANGLE_H
#define GEOMKIT_ANGLE_H

#include <geomkit/GeomkitExport.h>

namespace HQ {

class GEOMKIT_API CHQGS_Angle {
public:
    // The angle 0: (cos, sin) = (1, 0).
    CHQGS_Angle();
    CHQGS_Angle(const CHQGS_Angle& other);
    CHQGS_Angle& operator=(const CHQGS_Angle& other);
    ~CHQGS_Angle();

    static CHQGS_Angle fromRadians(double r);
    // d * pi / 180 with pi = 3.141592653589793, then as fromRadians.
    static CHQGS_Angle fromDegrees(double d);

    // atan2(sin, cos) in (-pi, pi]; when normalize is nonzero a negative
    // result is raised by 2*pi so that it lies in [0, 2*pi).
    double toRadians(double normalize) const;
    // toRadians(normalize) * 180 / pi.
    double toDegrees(bool normalize) const;

    CHQGS_Angle operator+(const CHQGS_Angle& o) const;
    CHQGS_Angle operator-(const CHQGS_Angle& o) const;
    CHQGS_Angle& operator+=(const CHQGS_Angle& o);
    CHQGS_Angle& operator-=(const CHQGS_Angle& o);
    // Scales the angle taken in (-pi, pi]: 270 degrees times 2 gives 180.
    CHQGS_Angle operator*(double k) const;
    CHQGS_Angle& operator*=(double k);
    // Exact comparison of the stored components (no tolerance).
    bool operator==(const CHQGS_Angle& o) const;

    double cosValue() const { return m_cos; }
    double sinValue() const { return m_sin; }

private:
    explicit CHQGS_Angle(double radians);
    CHQGS_Angle(double c, double s, int /*raw*/);

    double m_cos;
    double m_sin;
};

}  // namespace HQ

#endif

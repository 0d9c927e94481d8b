// SPDX-License-Identifier: Apache-2.0
// CHQ_Point3D: a plain 3-D point (x, y, z in this order, nothing else).
#ifndef GEOMKIT_POINT3D_H
#define GEOMKIT_POINT3D_H

namespace HQ {

class CHQ_Point3D {
public:
    double x;
    double y;
    double z;

    constexpr CHQ_Point3D() : x(0.0), y(0.0), z(0.0) {}
    constexpr CHQ_Point3D(double px, double py, double pz) : x(px), y(py), z(pz) {}
};

}  // namespace HQ

#endif

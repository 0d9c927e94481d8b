// SPDX-License-Identifier: Apache-2.0
// CHQ_Point2D: a plain 2-D point. Its layout (x then y, nothing else) is part
// of the binary interface between geomkit and markstore, which pass vectors
// of points across library boundaries.
#ifndef GEOMKIT_POINT2D_H
#define GEOMKIT_POINT2D_H

namespace HQ {

class CHQ_Point2D {
public:
    double x;
    double y;

    constexpr CHQ_Point2D() : x(0.0), y(0.0) {}
    constexpr CHQ_Point2D(double px, double py) : x(px), y(py) {}
    // Points are never compared with ==; compare coordinates with a tolerance.
};

}  // namespace HQ

#endif

// SPDX-License-Identifier: Apache-2.0
// Great-circle measures of the plotting mathematics: bearings, distances,
// destinations, midpoints and circle centres on a sphere.
#include <geomkit/MathUtilityFunctions.h>
#include <geomkit/UtilityFunctions.h>

#include "MeasureConstants.h"

#include <cmath>

namespace HQ {

using measure::kDegF;
using measure::kRadF;
using measure::kTwoPiF;

double CHQGS_MathUtilityFunctions::Azimuth(double lon1, double lat1, double lon2, double lat2) {
    const double l1 = lon1 * kDegF, p1 = lat1 * kDegF;
    const double l2 = lon2 * kDegF, p2 = lat2 * kDegF;
    double theta = std::atan2(std::sin(l1 - l2) * std::cos(p2),
                              std::cos(p1) * std::sin(p2) - std::sin(p1) * std::cos(p2) * std::cos(l1 - l2));
    if (theta < 0.0) theta += kTwoPiF;
    return (kTwoPiF - theta) * kRadF;
}

double CHQGS_MathUtilityFunctions::bearing(double lat1, double lon1, double lat2, double lon2) {
    return std::atan2(
        std::sin(lon2 - lon1) * std::cos(lat2),
        std::cos(lat1) * std::sin(lat2) - std::sin(lat1) * std::cos(lat2) * std::cos(lon2 - lon1));
}

double CHQGS_MathUtilityFunctions::distance(double lat1, double lon1, double lat2, double lon2, double R) {
    const double sLat = std::sin((lat2 - lat1) / 2.0);
    const double sLon = std::sin((lon2 - lon1) / 2.0);
    const double a = sLat * sLat + std::cos(lat1) * std::cos(lat2) * sLon * sLon;
    return 2.0 * std::atan2(std::sqrt(a), std::sqrt(1.0 - a)) * R;
}

void CHQGS_MathUtilityFunctions::destination(double lat1, double lon1, double theta, double dist,
                                             double& lat2, double& lon2, double R) {
    const double delta = dist / R;
    lat2 = std::asin(std::sin(lat1) * std::cos(delta) + std::cos(lat1) * std::sin(delta) * std::cos(theta));
    lon2 = lon1 + std::atan2(std::sin(theta) * std::sin(delta) * std::cos(lat1),
                             std::cos(delta) - std::sin(lat1) * std::sin(lat2));
}

bool CHQGS_MathUtilityFunctions::sphericalMiddle(double lat1, double lon1, double lat2, double lon2,
                                                 double& lat, double& lon) {
    const CHQ_Point3D a = CHQGS_UtilityFunctions::SphericalToCartesian(lat1, lon1, 1.0);
    const CHQ_Point3D b = CHQGS_UtilityFunctions::SphericalToCartesian(lat2, lon2, 1.0);
    const CHQ_Point3D mean((a.x + b.x) / 2.0, (a.y + b.y) / 2.0, (a.z + b.z) / 2.0);
    const CHQ_Point3D s = CHQGS_UtilityFunctions::CartesianToSpherical(mean);
    lat = s.y;
    lon = s.z;
    return true;
}

bool CHQGS_MathUtilityFunctions::sphericalCircleCenter(double lat1, double lon1, double lat2, double lon2,
                                                       double lat3, double lon3, double& lat, double& lon) {
    const CHQ_Point3D p1 = CHQGS_UtilityFunctions::SphericalToCartesian(lat1, lon1, 1.0);
    const CHQ_Point3D p2 = CHQGS_UtilityFunctions::SphericalToCartesian(lat2, lon2, 1.0);
    const CHQ_Point3D p3 = CHQGS_UtilityFunctions::SphericalToCartesian(lat3, lon3, 1.0);
    const double ax = p2.x - p1.x, ay = p2.y - p1.y, az = p2.z - p1.z;
    const double bx = p3.x - p1.x, by = p3.y - p1.y, bz = p3.z - p1.z;
    CHQ_Point3D n(ay * bz - az * by, az * bx - ax * bz, ax * by - ay * bx);
    const double len = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
    if (len > 0.0) n = CHQ_Point3D(n.x / len, n.y / len, n.z / len);
    const double d = -(n.x * p1.x + n.y * p1.y + n.z * p1.z);
    if (n.x == 0.0 && n.y == 0.0 && n.z == 0.0) return false;
    // Make n point from the origin towards the plane of the three points.
    if (d > 0.0) n = CHQ_Point3D(-n.x, -n.y, -n.z);
    const CHQ_Point3D s = CHQGS_UtilityFunctions::CartesianToSpherical(n);
    lat = s.y;
    lon = s.z;
    return true;
}

}  // namespace HQ

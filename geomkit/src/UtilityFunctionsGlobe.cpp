// SPDX-License-Identifier: Apache-2.0
// Globe and camera conversions: spherical <-> Cartesian coordinates centred
// on the globe, camera distance <-> map scale, and the world matrix that
// places a locally built shape along a chord of the globe.
#include <geomkit/UtilityFunctions.h>

#include "MeasureConstants.h"

#include <algorithm>
#include <cmath>

namespace HQ {

using measure::kDegF;
using measure::kRadF;

namespace {

// The camera distance that corresponds to kScaleUnit, and that map scale.
constexpr double kCameraDistanceUnit = 13713380.0;
constexpr double kScaleUnit = 59337397.433;

// v scaled to length 1; a zero vector stays zero.
CHQ_Point3D Normalised(const CHQ_Point3D& v) {
    const double len = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    if (len > 0.0) return CHQ_Point3D(v.x / len, v.y / len, v.z / len);
    return v;
}

CHQ_Point3D Cross(const CHQ_Point3D& a, const CHQ_Point3D& b) {
    return CHQ_Point3D(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}

}  // namespace

CHQ_Point3D CHQGS_UtilityFunctions::SphericalToCartesian2(double latitude, double longitude, double radius) {
    const double c = std::cos(latitude) * radius;
    return CHQ_Point3D(std::cos(longitude) * c, std::sin(longitude) * c, std::sin(latitude) * radius);
}

CHQ_Point3D CHQGS_UtilityFunctions::SphericalToCartesian(double latitude, double longitude, double radius) {
    return SphericalToCartesian2(latitude * kDegF, longitude * kDegF, radius);
}

CHQ_Point3D CHQGS_UtilityFunctions::CartesianToSpherical2(const CHQ_Point3D& p) {
    const double r = std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z);
    if (r == 0.0) return CHQ_Point3D(0.0, 0.0, 0.0);
    const double x = p.x / r, y = p.y / r;
    // |z| <= 1 in exact arithmetic; the clamp only guards asin against
    // squares that underflowed.
    const double z = std::max(-1.0, std::min(1.0, p.z / r));
    return CHQ_Point3D(r, std::asin(z), std::atan2(y, x));
}

CHQ_Point3D CHQGS_UtilityFunctions::CartesianToSpherical(const CHQ_Point3D& p) {
    const CHQ_Point3D s = CartesianToSpherical2(p);
    return CHQ_Point3D(s.x, s.y * kRadF, s.z * kRadF);
}

double CHQGS_UtilityFunctions::CameraDis2MapScale(double cameraDistance) {
    return cameraDistance / kCameraDistanceUnit * kScaleUnit;
}

double CHQGS_UtilityFunctions::MapScale2CameraDis(double mapScale) {
    return mapScale / kScaleUnit * kCameraDistanceUnit;
}

CHQ_Matrix4 CHQGS_UtilityFunctions::ComputeAlgoMatrixWorld(const std::vector<CHQ_Point3D>& points) {
    if (points.size() < 2) return CHQ_Matrix4::IDENTITY;
    const CHQ_Point3D& f = points.front();
    const CHQ_Point3D& l = points.back();
    // Local x along the chord, local z radial at the chord's midpoint, local
    // y completing the frame.
    const CHQ_Point3D d = Normalised(CHQ_Point3D(l.x - f.x, l.y - f.y, l.z - f.z));
    const CHQ_Point3D u = Normalised(CHQ_Point3D((f.x + l.x) / 2.0, (f.y + l.y) / 2.0, (f.z + l.z) / 2.0));
    const CHQ_Point3D s = Normalised(Cross(u, d));
    const CHQ_Matrix4 rotation(d, s, u);
    CHQ_Matrix4 translation;
    translation.makeTrans(f.x, f.y, f.z);
    return translation.concatenate(rotation);
}

}  // namespace HQ

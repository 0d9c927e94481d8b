// SPDX-License-Identifier: Apache-2.0
// Small 3-D vector helpers shared by the mesh normals of
// CHQGS_MathUtilityFunctions and by NormalCalc.
#ifndef GEOMKIT_SRC_MESHVECTORS_H
#define GEOMKIT_SRC_MESHVECTORS_H

#include <geomkit/Point3D.h>

#include <cmath>
#include <cstddef>

namespace HQ {
namespace meshvec {

inline CHQ_Point3D Sub(const CHQ_Point3D& a, const CHQ_Point3D& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

inline CHQ_Point3D Cross(const CHQ_Point3D& a, const CHQ_Point3D& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

inline double Length(const CHQ_Point3D& v) { return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z); }

// Scales v to length 1 when its length is above 0.
inline CHQ_Point3D Normalised(const CHQ_Point3D& v) {
    const double len = Length(v);
    if (len > 0) return {v.x / len, v.y / len, v.z / len};
    return v;
}

inline bool InRange(int i, std::size_t size) { return i >= 0 && static_cast<std::size_t>(i) < size; }

}  // namespace meshvec
}  // namespace HQ

#endif

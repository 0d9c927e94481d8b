// SPDX-License-Identifier: Apache-2.0
// CHQ_Matrix4: a 4x4 matrix of doubles stored row by row (m[row][col]).
// Points are column vectors: p maps to M * (p, 1); the translation sits in
// the last column and the bottom row is the projective row.
#ifndef GEOMKIT_MATRIX4_H
#define GEOMKIT_MATRIX4_H

#include <geomkit/GeomkitExport.h>
#include <geomkit/Point3D.h>

namespace HQ {

class GEOMKIT_API CHQ_Matrix4 {
public:
    double m[4][4];

    // The identity matrix.
    constexpr CHQ_Matrix4() : m{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}} {}

    // Sixteen values given row by row: m00, m01, m02, m03, m10, ..., m33.
    constexpr CHQ_Matrix4(double m00, double m01, double m02, double m03, double m10, double m11, double m12,
                          double m13, double m20, double m21, double m22, double m23, double m30, double m31,
                          double m32, double m33)
        : m{{m00, m01, m02, m03}, {m10, m11, m12, m13}, {m20, m21, m22, m23}, {m30, m31, m32, m33}} {}

    // The three axes become the columns of the upper-left 3x3 block; the
    // translation column is zero and the bottom row is (0, 0, 0, 1).
    CHQ_Matrix4(const CHQ_Point3D& xAxis, const CHQ_Point3D& yAxis, const CHQ_Point3D& zAxis);

    CHQ_Matrix4(const CHQ_Matrix4&) = default;
    CHQ_Matrix4& operator=(const CHQ_Matrix4&) = default;
    CHQ_Matrix4& operator=(CHQ_Matrix4&&) = default;

    // The product this * b.
    CHQ_Matrix4 concatenate(const CHQ_Matrix4& b) const;
    CHQ_Matrix4 operator*(const CHQ_Matrix4& b) const;

    // Maps a point, dividing by the projective row's result (always, so a
    // bottom row of (0, 0, 0, 1) makes this a plain affine mapping).
    CHQ_Point3D operator*(const CHQ_Point3D& p) const;

    // Overwrites the matrix with the identity carrying the translation (x, y, z).
    void makeTrans(double x, double y, double z);

    // The full inverse by cofactors. A singular matrix is not detected: its
    // entries come back infinite or NaN.
    CHQ_Matrix4 inverse() const;

    static const CHQ_Matrix4 ZERO;
    static const CHQ_Matrix4 ZEROAFFINE;
    static const CHQ_Matrix4 IDENTITY;
    // Clip-space x, y in [-1, 1] to image coordinates in [0, 1], y downwards.
    static const CHQ_Matrix4 CLIPSPACE2DTOIMAGESPACE;
};

}  // namespace HQ

#endif

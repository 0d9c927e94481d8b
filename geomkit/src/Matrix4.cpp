// SPDX-License-Identifier: Apache-2.0
#include <geomkit/Matrix4.h>

namespace HQ {

// Constant-initialised (constexpr constructor), so they are usable before any
// other code of the library runs.
const CHQ_Matrix4 CHQ_Matrix4::ZERO(0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
const CHQ_Matrix4 CHQ_Matrix4::ZEROAFFINE(0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1);
const CHQ_Matrix4 CHQ_Matrix4::IDENTITY(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1);
const CHQ_Matrix4 CHQ_Matrix4::CLIPSPACE2DTOIMAGESPACE(0.5, 0, 0, 0.5, 0, -0.5, 0, 0.5, 0, 0, 1, 0, 0, 0, 0,
                                                       1);

CHQ_Matrix4::CHQ_Matrix4(const CHQ_Point3D& xAxis, const CHQ_Point3D& yAxis, const CHQ_Point3D& zAxis)
    : CHQ_Matrix4() {
    m[0][0] = xAxis.x;
    m[1][0] = xAxis.y;
    m[2][0] = xAxis.z;
    m[0][1] = yAxis.x;
    m[1][1] = yAxis.y;
    m[2][1] = yAxis.z;
    m[0][2] = zAxis.x;
    m[1][2] = zAxis.y;
    m[2][2] = zAxis.z;
}

CHQ_Matrix4 CHQ_Matrix4::concatenate(const CHQ_Matrix4& b) const {
    CHQ_Matrix4 r;
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col)
            r.m[row][col] = m[row][0] * b.m[0][col] + m[row][1] * b.m[1][col] + m[row][2] * b.m[2][col] +
                            m[row][3] * b.m[3][col];
    return r;
}

CHQ_Matrix4 CHQ_Matrix4::operator*(const CHQ_Matrix4& b) const { return concatenate(b); }

CHQ_Point3D CHQ_Matrix4::operator*(const CHQ_Point3D& p) const {
    const double w = 1.0 / (m[3][0] * p.x + m[3][1] * p.y + m[3][2] * p.z + m[3][3]);
    return CHQ_Point3D((m[0][0] * p.x + m[0][1] * p.y + m[0][2] * p.z + m[0][3]) * w,
                       (m[1][0] * p.x + m[1][1] * p.y + m[1][2] * p.z + m[1][3]) * w,
                       (m[2][0] * p.x + m[2][1] * p.y + m[2][2] * p.z + m[2][3]) * w);
}

void CHQ_Matrix4::makeTrans(double x, double y, double z) {
    *this = IDENTITY;
    m[0][3] = x;
    m[1][3] = y;
    m[2][3] = z;
}

CHQ_Matrix4 CHQ_Matrix4::inverse() const {
    const double m00 = m[0][0], m01 = m[0][1], m02 = m[0][2], m03 = m[0][3];
    const double m10 = m[1][0], m11 = m[1][1], m12 = m[1][2], m13 = m[1][3];
    const double m20 = m[2][0], m21 = m[2][1], m22 = m[2][2], m23 = m[2][3];
    const double m30 = m[3][0], m31 = m[3][1], m32 = m[3][2], m33 = m[3][3];

    // 2x2 minors of rows 2 and 3.
    double v0 = m20 * m31 - m21 * m30;
    double v1 = m20 * m32 - m22 * m30;
    double v2 = m20 * m33 - m23 * m30;
    double v3 = m21 * m32 - m22 * m31;
    double v4 = m21 * m33 - m23 * m31;
    double v5 = m22 * m33 - m23 * m32;

    // Cofactors of row 0.
    const double t00 = +(v5 * m11 - v4 * m12 + v3 * m13);
    const double t10 = -(v5 * m10 - v2 * m12 + v1 * m13);
    const double t20 = +(v4 * m10 - v2 * m11 + v0 * m13);
    const double t30 = -(v3 * m10 - v1 * m11 + v0 * m12);

    const double invDet = 1 / (t00 * m00 + t10 * m01 + t20 * m02 + t30 * m03);

    const double d00 = t00 * invDet;
    const double d10 = t10 * invDet;
    const double d20 = t20 * invDet;
    const double d30 = t30 * invDet;

    const double d01 = -(v5 * m01 - v4 * m02 + v3 * m03) * invDet;
    const double d11 = +(v5 * m00 - v2 * m02 + v1 * m03) * invDet;
    const double d21 = -(v4 * m00 - v2 * m01 + v0 * m03) * invDet;
    const double d31 = +(v3 * m00 - v1 * m01 + v0 * m02) * invDet;

    // 2x2 minors of rows 1 and 3.
    v0 = m10 * m31 - m11 * m30;
    v1 = m10 * m32 - m12 * m30;
    v2 = m10 * m33 - m13 * m30;
    v3 = m11 * m32 - m12 * m31;
    v4 = m11 * m33 - m13 * m31;
    v5 = m12 * m33 - m13 * m32;

    const double d02 = +(v5 * m01 - v4 * m02 + v3 * m03) * invDet;
    const double d12 = -(v5 * m00 - v2 * m02 + v1 * m03) * invDet;
    const double d22 = +(v4 * m00 - v2 * m01 + v0 * m03) * invDet;
    const double d32 = -(v3 * m00 - v1 * m01 + v0 * m02) * invDet;

    // 2x2 minors of rows 1 and 2.
    v0 = m21 * m10 - m20 * m11;
    v1 = m22 * m10 - m20 * m12;
    v2 = m23 * m10 - m20 * m13;
    v3 = m22 * m11 - m21 * m12;
    v4 = m23 * m11 - m21 * m13;
    v5 = m23 * m12 - m22 * m13;

    const double d03 = -(v5 * m01 - v4 * m02 + v3 * m03) * invDet;
    const double d13 = +(v5 * m00 - v2 * m02 + v1 * m03) * invDet;
    const double d23 = -(v4 * m00 - v2 * m01 + v0 * m03) * invDet;
    const double d33 = +(v3 * m00 - v1 * m01 + v0 * m02) * invDet;

    return CHQ_Matrix4(d00, d01, d02, d03, d10, d11, d12, d13, d20, d21, d22, d23, d30, d31, d32, d33);
}

}  // namespace HQ

// SPDX-License-Identifier: Apache-2.0
#include <geomkit/Angle.h>
#include <geomkit/Color.h>
#include <geomkit/Matrix4.h>
#include <geomkit/Point2D.h>
#include <geomkit/Point3D.h>

#include <gtest/gtest.h>

#include <cmath>
#include <type_traits>

using namespace HQ;

namespace {

void ExpectMatrixEq(const CHQ_Matrix4& a, const CHQ_Matrix4& b) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) EXPECT_EQ(a.m[r][c], b.m[r][c]) << "entry " << r << "," << c;
}

void ExpectPointNear(const CHQ_Point3D& p, double x, double y, double z, double tol = 1e-12) {
    EXPECT_NEAR(p.x, x, tol);
    EXPECT_NEAR(p.y, y, tol);
    EXPECT_NEAR(p.z, z, tol);
}

// A rotation by 90 degrees about z.
const CHQ_Matrix4 kRotZ90(0, -1, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1);

}  // namespace

TEST(ValueTypes, LayoutIsPlainFieldsOnly) {
    // Vectors of points cross library boundaries; nothing but the fields.
    static_assert(sizeof(CHQ_Point2D) == 2 * sizeof(double), "Point2D layout");
    static_assert(sizeof(CHQ_Point3D) == 3 * sizeof(double), "Point3D layout");
    static_assert(sizeof(CHQ_Matrix4) == 16 * sizeof(double), "Matrix4 layout");
    static_assert(std::is_trivially_copyable<CHQ_Point2D>::value, "Point2D copy");
    CHQ_Point3D p;
    EXPECT_EQ(p.x, 0.0);
    EXPECT_EQ(p.z, 0.0);
}

TEST(Matrix4, DefaultIsIdentityAndConstantsHoldTheirValues) {
    ExpectMatrixEq(CHQ_Matrix4(), CHQ_Matrix4::IDENTITY);
    EXPECT_EQ(CHQ_Matrix4::ZERO.m[3][3], 0.0);
    EXPECT_EQ(CHQ_Matrix4::ZEROAFFINE.m[3][3], 1.0);
    EXPECT_EQ(CHQ_Matrix4::ZEROAFFINE.m[0][0], 0.0);
    // Clip space corners (-1, 1) and (1, -1) land on image (0, 0) and (1, 1).
    ExpectPointNear(CHQ_Matrix4::CLIPSPACE2DTOIMAGESPACE * CHQ_Point3D(-1, 1, 0), 0, 0, 0);
    ExpectPointNear(CHQ_Matrix4::CLIPSPACE2DTOIMAGESPACE * CHQ_Point3D(1, -1, 0), 1, 1, 0);
}

TEST(Matrix4, SixteenValuesAreRowByRow) {
    CHQ_Matrix4 a(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16);
    EXPECT_EQ(a.m[0][3], 4.0);
    EXPECT_EQ(a.m[1][0], 5.0);
    EXPECT_EQ(a.m[3][3], 16.0);
    const double* flat = &a.m[0][0];
    for (int i = 0; i < 16; ++i) EXPECT_EQ(flat[i], i + 1.0);
}

TEST(Matrix4, AxesBecomeColumnsWithAffineRest) {
    CHQ_Matrix4 a(CHQ_Point3D(1, 2, 3), CHQ_Point3D(4, 5, 6), CHQ_Point3D(7, 8, 9));
    ExpectMatrixEq(a, CHQ_Matrix4(1, 4, 7, 0, 2, 5, 8, 0, 3, 6, 9, 0, 0, 0, 0, 1));
}

TEST(Matrix4, MakeTransMovesTheOrigin) {
    CHQ_Matrix4 t(kRotZ90);
    t.makeTrans(1, 2, 3);  // overwrites the rotation
    ExpectPointNear(t * CHQ_Point3D(0, 0, 0), 1, 2, 3);
    ExpectPointNear(t * CHQ_Point3D(1, 0, 0), 2, 2, 3);
}

TEST(Matrix4, ConcatenateIsNotCommutative) {
    CHQ_Matrix4 t;
    t.makeTrans(10, 0, 0);
    // Translation after rotation: the point is rotated, then moved.
    ExpectPointNear(t.concatenate(kRotZ90) * CHQ_Point3D(1, 0, 0), 10, 1, 0);
    // Rotation after translation: the moved point is rotated.
    ExpectPointNear((kRotZ90 * t) * CHQ_Point3D(1, 0, 0), 0, 11, 0);
}

TEST(Matrix4, PointMappingDividesByTheProjectiveRow) {
    CHQ_Matrix4 half(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 2);
    ExpectPointNear(half * CHQ_Point3D(2, 4, 6), 1, 2, 3, 0.0);
}

TEST(Matrix4, InverseUndoesTheMapping) {
    CHQ_Matrix4 t;
    t.makeTrans(3, -4, 5);
    const CHQ_Matrix4 m = t * kRotZ90 * CHQ_Matrix4(2, 0, 0, 0, 0, 3, 0, 0, 0, 0, 4, 0, 0, 0, 0, 1);
    const CHQ_Matrix4 id = m * m.inverse();
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) EXPECT_NEAR(id.m[r][c], r == c ? 1.0 : 0.0, 1e-12);
}

TEST(Matrix4, InverseOfSingularMatrixIsNonFinite) {
    const CHQ_Matrix4 inv = CHQ_Matrix4::ZERO.inverse();
    bool anyNonFinite = false;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) anyNonFinite |= !std::isfinite(inv.m[r][c]);
    EXPECT_TRUE(anyNonFinite);
}

TEST(Angle, ConversionsAndNormalisation) {
    EXPECT_NEAR(CHQGS_Angle::fromDegrees(90).toDegrees(false), 90.0, 1e-12);
    EXPECT_NEAR(CHQGS_Angle::fromDegrees(-90).toDegrees(true), 270.0, 1e-12);
    EXPECT_NEAR(CHQGS_Angle::fromDegrees(-90).toDegrees(false), -90.0, 1e-12);
    EXPECT_NEAR(CHQGS_Angle::fromDegrees(270).toRadians(0), -M_PI / 2, 1e-12);
    EXPECT_NEAR(CHQGS_Angle::fromDegrees(270).toRadians(1), 3 * M_PI / 2, 1e-12);
    const CHQGS_Angle zero;
    EXPECT_EQ(zero.cosValue(), 1.0);
    EXPECT_EQ(zero.sinValue(), 0.0);
}

TEST(Angle, ArithmeticRotatesTheDirection) {
    struct Case {
        double a, b, sum, diff;
    } cases[] = {
        {30, 60, 90, -30},
        {350, 20, 10, 330},
        {-45, 45, 0, 270},
        {180, 180, 0, 0},
    };
    for (const auto& c : cases) {
        const CHQGS_Angle a = CHQGS_Angle::fromDegrees(c.a), b = CHQGS_Angle::fromDegrees(c.b);
        CHQGS_Angle s = a, d = a;
        s += b;
        d -= b;
        EXPECT_NEAR(std::fmod((a + b).toDegrees(true) - c.sum + 720.0, 360.0), 0.0, 1e-9)
            << c.a << "+" << c.b;
        EXPECT_NEAR(std::fmod((a - b).toDegrees(true) - c.diff + 720.0, 360.0), 0.0, 1e-9)
            << c.a << "-" << c.b;
        EXPECT_TRUE(s == a + b);
        EXPECT_TRUE(d == a - b);
    }
}

TEST(Angle, ScalingTakesTheAngleInMinusPiToPi) {
    // 270 degrees is -90 before scaling: doubled it is -180, which is 180.
    EXPECT_NEAR(std::fabs((CHQGS_Angle::fromDegrees(270) * 2).toDegrees(false)), 180.0, 1e-9);
    CHQGS_Angle a = CHQGS_Angle::fromDegrees(30);
    a *= 3;
    EXPECT_NEAR(a.toDegrees(false), 90.0, 1e-9);
}

TEST(Angle, EqualityIsExact) {
    const CHQGS_Angle a = CHQGS_Angle::fromDegrees(0), b = CHQGS_Angle::fromDegrees(360);
    EXPECT_NE(a.sinValue(), b.sinValue());  // sin(2*pi) is not exactly 0
    EXPECT_FALSE(a == b);
    EXPECT_TRUE(a == CHQGS_Angle());
}

TEST(Color, PackedForms) {
    CColor c(0x11, 0x22, 0x33, 0x44);
    EXPECT_EQ(c.getBGR(), 0x332211u);
    EXPECT_EQ(c.getARGB(), 0x44112233u);
    CColor copy(c);
    EXPECT_EQ(copy.getARGB(), 0x44112233u);
    CColor assigned;
    assigned = c;
    EXPECT_EQ(assigned.getBGR(), 0x332211u);
}

// SPDX-License-Identifier: Apache-2.0
// Globe and camera conversions.
#include <geomkit/UtilityFunctions.h>

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using HQ::CHQ_Matrix4;
using HQ::CHQ_Point3D;
using U = HQ::CHQGS_UtilityFunctions;

namespace {

void ExpectNear3(const CHQ_Point3D& a, const CHQ_Point3D& e, double tol, const char* what) {
    EXPECT_NEAR(a.x, e.x, tol) << what;
    EXPECT_NEAR(a.y, e.y, tol) << what;
    EXPECT_NEAR(a.z, e.z, tol) << what;
}

CHQ_Point3D Sub(const CHQ_Point3D& a, const CHQ_Point3D& b) {
    return CHQ_Point3D(a.x - b.x, a.y - b.y, a.z - b.z);
}
double Dot(const CHQ_Point3D& a, const CHQ_Point3D& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
double Len(const CHQ_Point3D& a) { return std::sqrt(Dot(a, a)); }

// Column c of the upper-left 3x3 block.
CHQ_Point3D Column(const CHQ_Matrix4& m, int c) { return CHQ_Point3D(m.m[0][c], m.m[1][c], m.m[2][c]); }

}  // namespace

TEST(GlobeConversions, SphericalToCartesianInRadians) {
    const double pi = M_PI;
    struct Case {
        double lat, lon, r;
        CHQ_Point3D expected;
    } cases[] = {
        {0, 0, 2, CHQ_Point3D(2, 0, 0)},
        {0, pi / 2, 2, CHQ_Point3D(0, 2, 0)},
        {pi / 2, 1.234, 1, CHQ_Point3D(0, 0, 1)},
        {-pi / 2, 0, 3, CHQ_Point3D(0, 0, -3)},
        {pi / 4, pi, std::sqrt(2.0), CHQ_Point3D(-1, 0, 1)},
        {0.3, -0.7, 0, CHQ_Point3D(0, 0, 0)},
    };
    for (const Case& c : cases)
        ExpectNear3(U::SphericalToCartesian2(c.lat, c.lon, c.r), c.expected, 1e-12, "s2c");
}

TEST(GlobeConversions, CartesianToSphericalInRadians) {
    const double pi = M_PI;
    struct Case {
        CHQ_Point3D p;
        CHQ_Point3D expected;  // radius, latitude, longitude
    } cases[] = {
        {CHQ_Point3D(0, 0, 0), CHQ_Point3D(0, 0, 0)},
        {CHQ_Point3D(0, 0, -2), CHQ_Point3D(2, -pi / 2, 0)},
        {CHQ_Point3D(0, 0, 5), CHQ_Point3D(5, pi / 2, 0)},
        {CHQ_Point3D(3, 0, 0), CHQ_Point3D(3, 0, 0)},
        {CHQ_Point3D(-1, 0, 0), CHQ_Point3D(1, 0, pi)},
        {CHQ_Point3D(0, -4, 0), CHQ_Point3D(4, 0, -pi / 2)},
        {CHQ_Point3D(-1, 0, 1), CHQ_Point3D(std::sqrt(2.0), pi / 4, pi)},
        // Tiny vectors whose squares underflow must not produce NaN.
        {CHQ_Point3D(0, 0, 1e-170), CHQ_Point3D(0, 0, 0)},
    };
    for (const Case& c : cases) {
        const CHQ_Point3D s = U::CartesianToSpherical2(c.p);
        ExpectNear3(s, c.expected, 1e-12, "c2s");
        EXPECT_FALSE(std::isnan(s.x) || std::isnan(s.y) || std::isnan(s.z));
    }
    const CHQ_Point3D tiny = U::CartesianToSpherical2(CHQ_Point3D(1e-200, 0, 1e-170));
    EXPECT_FALSE(std::isnan(tiny.y) || std::isnan(tiny.z));
}

TEST(GlobeConversions, DegreeFormsUseSinglePrecisionFactors) {
    // Spherical to Cartesian in degrees multiplies by float(pi/180).
    const CHQ_Point3D p = U::SphericalToCartesian(45, 30, 1);
    const double la = 45 * 0.01745329238474369, lo = 30 * 0.01745329238474369;
    EXPECT_EQ(p.x, std::cos(lo) * (std::cos(la) * 1.0));
    EXPECT_EQ(p.y, std::sin(lo) * (std::cos(la) * 1.0));
    EXPECT_EQ(p.z, std::sin(la) * 1.0);
    // And back: only about seven significant digits survive.
    const CHQ_Point3D s = U::CartesianToSpherical(p);
    EXPECT_NEAR(s.x, 1.0, 1e-15);
    EXPECT_NEAR(s.y, 44.9999971806335, 1e-10);
    EXPECT_NEAR(s.z, 29.999998120422333, 1e-10);
    EXPECT_NE(s.y, 45.0);
    EXPECT_EQ(U::CartesianToSpherical(CHQ_Point3D(0, 0, 0)).y, 0.0);
    EXPECT_EQ(U::CartesianToSpherical(CHQ_Point3D(0, 0, -7)).y, -M_PI / 2 * 57.2957763671875);
}

TEST(GlobeConversions, CameraDistanceAndMapScale) {
    struct Case {
        double distance, scale;
    } cases[] = {
        {13713380.0, 59337397.433},
        {1000.0, 4326.970989865372},
        {0.0, 0.0},
    };
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(U::CameraDis2MapScale(c.distance), c.scale);
        EXPECT_DOUBLE_EQ(U::MapScale2CameraDis(c.scale), c.distance);
    }
    EXPECT_EQ(U::CameraDis2MapScale(13713380.0), 59337397.433);
    EXPECT_EQ(U::MapScale2CameraDis(59337397.433), 13713380.0);
}

TEST(GlobeWorldMatrix, FewerThanTwoPointsGiveIdentity) {
    for (const std::vector<CHQ_Point3D>& pts :
         {std::vector<CHQ_Point3D>(), std::vector<CHQ_Point3D>{CHQ_Point3D(1, 2, 3)}}) {
        const CHQ_Matrix4 m = U::ComputeAlgoMatrixWorld(pts);
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 4; ++c) EXPECT_EQ(m.m[r][c], r == c ? 1.0 : 0.0);
    }
}

TEST(GlobeWorldMatrix, PlacesTheLocalFrameAlongTheChord) {
    const double R = 6378137.0;
    struct Case {
        std::vector<CHQ_Point3D> pts;
    } cases[] = {
        {{U::SphericalToCartesian(10, 20, R), U::SphericalToCartesian(12, 25, R)}},
        {{U::SphericalToCartesian(-30, 170, R), U::SphericalToCartesian(-31, -175, R)}},
        // Only the first and last point count.
        {{CHQ_Point3D(R, 0, 0), CHQ_Point3D(0, 0, 5 * R), CHQ_Point3D(0, R, 0)}},
    };
    for (const Case& c : cases) {
        const CHQ_Point3D& f = c.pts.front();
        const CHQ_Point3D& l = c.pts.back();
        const CHQ_Matrix4 m = U::ComputeAlgoMatrixWorld(c.pts);
        // Orthonormal, right-handed rotation block (both points are at the
        // same distance from the centre, so the chord is perpendicular to
        // the radial direction at its midpoint).
        const CHQ_Point3D d = Column(m, 0), s = Column(m, 1), u = Column(m, 2);
        EXPECT_NEAR(Len(d), 1, 1e-12);
        EXPECT_NEAR(Len(s), 1, 1e-12);
        EXPECT_NEAR(Len(u), 1, 1e-12);
        EXPECT_NEAR(Dot(d, s), 0, 1e-12);
        EXPECT_NEAR(Dot(d, u), 0, 1e-12);
        EXPECT_NEAR(Dot(s, u), 0, 1e-12);
        const CHQ_Point3D dxs(d.y * s.z - d.z * s.y, d.z * s.x - d.x * s.z, d.x * s.y - d.y * s.x);
        ExpectNear3(dxs, u, 1e-12, "d x s = u");
        EXPECT_EQ(m.m[3][0], 0.0);
        EXPECT_EQ(m.m[3][3], 1.0);
        // Local origin -> first point; local x of the chord's length -> last
        // point; local z points away from the centre.
        ExpectNear3(m * CHQ_Point3D(0, 0, 0), f, 1e-6, "origin");
        ExpectNear3(m * CHQ_Point3D(Len(Sub(l, f)), 0, 0), l, 1e-6, "chord end");
        const CHQ_Point3D mid((f.x + l.x) / 2, (f.y + l.y) / 2, (f.z + l.z) / 2);
        EXPECT_GT(Dot(u, mid), 0.0);
    }
}

TEST(GlobeWorldMatrix, EqualPointsKeepOnlyTheRadialAxis) {
    const CHQ_Point3D f(0, 3, 4);
    const CHQ_Matrix4 m = U::ComputeAlgoMatrixWorld({f, f});
    ExpectNear3(Column(m, 0), CHQ_Point3D(0, 0, 0), 0.0, "d");
    ExpectNear3(Column(m, 1), CHQ_Point3D(0, 0, 0), 0.0, "s");
    ExpectNear3(Column(m, 2), CHQ_Point3D(0, 0.6, 0.8), 1e-15, "u");
    // Every local point lands on F plus its z component times u.
    ExpectNear3(m * CHQ_Point3D(7, -9, 5), CHQ_Point3D(0, 6, 8), 1e-12, "z only");
}

// SPDX-License-Identifier: Apache-2.0
// Plotting measures. Expected values written as long literals were computed
// independently with the same single-precision constants and roundings; they
// are compared exactly, so that a rounding that is dropped, added or moved
// shows up as a failure.
#include <geomkit/MathUtilityFunctions.h>

#include <gtest/gtest.h>

#include "GeometryTestSupport.h"

#include <cmath>
#include <limits>
#include <vector>

using HQ::CHQ_Point2D;
using HQ::CHQ_Point3D;
using M = HQ::CHQGS_MathUtilityFunctions;

namespace {

constexpr double kNear = 1e-9;  // for results that carry no deliberate rounding

using sitplot_test::IsFloat;

void ExpectPointNear(const CHQ_Point2D& actual, const CHQ_Point2D& expected, double tol, const char* what) {
    EXPECT_NEAR(actual.x, expected.x, tol) << what;
    EXPECT_NEAR(actual.y, expected.y, tol) << what;
}

}  // namespace

TEST(MeasuresDistances, PlaneDistancesAndLengths) {
    EXPECT_DOUBLE_EQ(M::ComputeDistance(CHQ_Point2D(1, 2), CHQ_Point2D(4, 6)), 5.0);
    EXPECT_EQ(M::ComputeDistance(CHQ_Point3D(1, 2, 3), CHQ_Point3D(1, 2, -40)), 0.0) << "z must be ignored";
    EXPECT_DOUBLE_EQ(M::ComputeDistance(CHQ_Point3D(0, 0, 7), CHQ_Point3D(3, 4, 0)), 5.0);

    struct Case {
        std::vector<CHQ_Point2D> pts;
        double length;
    } cases[] = {
        {{}, 0.0},
        {{CHQ_Point2D(5, 5)}, 0.0},
        {{CHQ_Point2D(0, 0), CHQ_Point2D(3, 4)}, 5.0},
        {{CHQ_Point2D(0, 0), CHQ_Point2D(3, 4), CHQ_Point2D(3, 4), CHQ_Point2D(3, 14)}, 15.0},
    };
    for (const Case& c : cases) EXPECT_DOUBLE_EQ(M::ComputeDistance(c.pts), c.length) << c.pts.size();
}

TEST(MeasuresDistances, CentresAreSummedInSinglePrecision) {
    ExpectPointNear(M::ComputeCenterPos(CHQ_Point2D(1, 2), CHQ_Point2D(4, -6)), CHQ_Point2D(2.5, -2), 0.0,
                    "pair");
    const CHQ_Point2D mean =
        M::ComputeCenterPos({CHQ_Point2D(0.1, 0.2), CHQ_Point2D(0.3, 0.4), CHQ_Point2D(1e7 + 0.3, 2.6)});
    // In double the mean x would be 3333333.5666...; float sums give .75.
    EXPECT_EQ(mean.x, 3333333.75);
    EXPECT_EQ(mean.y, 1.0666667222976685);
    const CHQ_Point2D empty = M::ComputeCenterPos(std::vector<CHQ_Point2D>());
    EXPECT_TRUE(std::isnan(empty.x) && std::isnan(empty.y));
}

TEST(MeasuresDistances, CircleCentre) {
    struct Case {
        CHQ_Point2D a, b, c, centre;
    } cases[] = {
        {CHQ_Point2D(1, 0), CHQ_Point2D(0, 1), CHQ_Point2D(-1, 0), CHQ_Point2D(0, 0)},
        {CHQ_Point2D(4, 5), CHQ_Point2D(6, 1), CHQ_Point2D(1, -4), CHQ_Point2D(1, 1)},
        {CHQ_Point2D(1, -4), CHQ_Point2D(4, 5), CHQ_Point2D(6, 1), CHQ_Point2D(1, 1)},
    };
    for (const Case& c : cases)
        ExpectPointNear(M::ComputeCircleCentre(c.a, c.b, c.c), c.centre, kNear, "centre");
    const CHQ_Point2D collinear =
        M::ComputeCircleCentre(CHQ_Point2D(0, 0), CHQ_Point2D(1, 1), CHQ_Point2D(2, 2));
    EXPECT_FALSE(std::isfinite(collinear.x) && std::isfinite(collinear.y));
}

TEST(MeasuresDistances, PointToLine) {
    struct Case {
        CHQ_Point2D p, a, b, foot;
        double dist;
    } cases[] = {
        {CHQ_Point2D(5, 3), CHQ_Point2D(0, 0), CHQ_Point2D(10, 0), CHQ_Point2D(5, 0), 3.0},
        // The foot is on the infinite line, not clamped to the segment.
        {CHQ_Point2D(-4, -2), CHQ_Point2D(0, 0), CHQ_Point2D(10, 0), CHQ_Point2D(-4, 0), 2.0},
        {CHQ_Point2D(0, 2), CHQ_Point2D(0, 0), CHQ_Point2D(2, 2), CHQ_Point2D(1, 1), std::sqrt(2.0)},
        // A line through one point: the foot is that point, not NaN.
        {CHQ_Point2D(3, 4), CHQ_Point2D(0, 0), CHQ_Point2D(0, 0), CHQ_Point2D(0, 0), 5.0},
    };
    for (const Case& c : cases) {
        CHQ_Point2D foot(-99, -99);
        EXPECT_NEAR(M::ptToLineDis(c.p, c.a, c.b, foot), c.dist, kNear);
        ExpectPointNear(foot, c.foot, kNear, "foot");
    }
}

TEST(MeasuresSegmentPoints, PointsAlongTheSegment) {
    enum Fn { Ratio, Right, Left, RatioF, LinePt };
    const CHQ_Point2D p(1, 1), q(4, 5);  // |q - p| = 5, direction (0.6, 0.8)
    struct Case {
        Fn fn;
        CHQ_Point2D p, q;
        double arg;
        CHQ_Point2D expected;
    } cases[] = {
        {Ratio, p, q, 10, CHQ_Point2D(7, 9)},  // beyond q
        {Ratio, p, q, 0, p},
        {Ratio, p, q, -3, p},
        {Right, p, q, -5, CHQ_Point2D(-2, -3)},
        {Right, p, p, 7, p},  // zero direction
        {Left, p, q, 5, CHQ_Point2D(-2, -3)},
        {Left, p, q, -5, q},
        {RatioF, CHQ_Point2D(0, 0), CHQ_Point2D(10, 20), 1, CHQ_Point2D(5, 10)},
        {RatioF, CHQ_Point2D(0, 0), CHQ_Point2D(10, 20), 3, CHQ_Point2D(7.5, 15)},
        {LinePt, p, q, 5, CHQ_Point2D(2.5, 3)},       // lambda = 1: midpoint
        {LinePt, p, q, 15, CHQ_Point2D(3.25, 4)},     // lambda = 3
        {LinePt, p, CHQ_Point2D(1, 1 + 5e-7), 4, p},  // shorter than 1e-6
    };
    for (const Case& c : cases) {
        CHQ_Point2D r;
        switch (c.fn) {
            case Ratio:
                r = M::ComputeRatioPoint(c.p, c.q, c.arg);
                break;
            case Right:
                r = M::ComputeRightPoint(c.p, c.q, c.arg);
                break;
            case Left:
                r = M::ComputeLeftPoint(c.p, c.q, c.arg);
                break;
            case RatioF:
                r = M::ComputeRatioPointF(c.p, c.q, c.arg);
                break;
            case LinePt:
                r = M::ComputeLinePoint(c.p, c.q, c.arg);
                break;
        }
        ExpectPointNear(r, c.expected, kNear, "segment point");
    }
}

TEST(MeasuresSegmentPoints, CircleOnPointUsesSinglePrecisionDegrees) {
    const CHQ_Point2D c(10, 20);
    ExpectPointNear(M::CircleOnPoint(c, 3, 2, 0), CHQ_Point2D(13, 20), 0.0, "0 deg");
    ExpectPointNear(M::CircleOnPoint(c, 3, 2, 90), CHQ_Point2D(10, 22), 1e-6, "90 deg");
    ExpectPointNear(M::CircleOnPoint(c, 3, 2, 180), CHQ_Point2D(7, 20), 1e-6, "180 deg");
    // DEG_F is slightly below pi/180: 180 degrees stop short, above the axis.
    EXPECT_EQ(M::CircleOnPoint(CHQ_Point2D(0, 0), 0, 1, 180).y, std::sin(3.1415926292538643));
    EXPECT_GT(M::CircleOnPoint(CHQ_Point2D(0, 0), 0, 1, 180).y, 0.0);
}

TEST(MeasuresSegmentPoints, SidePointsAcrossTheSegment) {
    struct Case {
        CHQ_Point2D p, q;
        float w;
        CHQ_Point2D left, right;  // y-up frame
    } cases[] = {
        {CHQ_Point2D(0, 0), CHQ_Point2D(10, 0), 2.0f, CHQ_Point2D(10, 2), CHQ_Point2D(10, -2)},
        {CHQ_Point2D(0, 0), CHQ_Point2D(0, 10), 1.0f, CHQ_Point2D(-1, 10), CHQ_Point2D(1, 10)},
        {CHQ_Point2D(10, 10), CHQ_Point2D(7, 6), 5.0f, CHQ_Point2D(11, 3), CHQ_Point2D(3, 9)},
        {CHQ_Point2D(3, -1), CHQ_Point2D(-1, -1), 0.5f, CHQ_Point2D(-1, -1.5), CHQ_Point2D(-1, -0.5)},
    };
    for (const Case& c : cases) {
        // ComputeLRPt: [left, right], turned by 1.5707963 rad (so only close).
        const std::vector<CHQ_Point2D> lr = M::ComputeLRPt(c.p, c.q, c.w);
        ASSERT_EQ(lr.size(), 2u);
        ExpectPointNear(lr[0], c.left, 1e-6, "ComputeLRPt left");
        ExpectPointNear(lr[1], c.right, 1e-6, "ComputeLRPt right");
        ExpectPointNear(M::ComputeLPt(c.p, c.q, c.w), lr[0], 0.0, "ComputeLPt");
        ExpectPointNear(M::ComputeRPt(c.p, c.q, c.w), lr[1], 0.0, "ComputeRPt");
        // ComputeLRPoint: first is the right-hand point.
        CHQ_Point2D first, second;
        M::ComputeLRPoint(c.p, c.q, c.w, first, second);
        ExpectPointNear(first, c.right, 1e-12, "ComputeLRPoint first");
        ExpectPointNear(second, c.left, 1e-12, "ComputeLRPoint second");
    }
    // The quarter turn is the literal 1.5707963, not pi/2: the x offset is
    // w * cos(1.5707963), about 5.4e-8 for w = 2.
    EXPECT_NEAR(M::ComputeLRPt(CHQ_Point2D(0, 0), CHQ_Point2D(10, 0), 2.0f)[0].x - 10.0,
                2 * std::cos(1.5707963), 1e-15);
    // The width is taken in single precision.
    EXPECT_EQ(M::ComputeLRPt(CHQ_Point2D(0, 0), CHQ_Point2D(0, 10), 0.1f)[1].x,
              static_cast<double>(0.1f) * std::sin(1.5707963));
}

TEST(MeasuresSegmentPoints, LeftRightPointsOnTheLine) {
    struct Case {
        CHQ_Point2D p, q;
        double dist;
        CHQ_Point2D away, towards;
    } cases[] = {
        {CHQ_Point2D(0, 0), CHQ_Point2D(0, 10), 3, CHQ_Point2D(0, -3), CHQ_Point2D(0, 3)},
        {CHQ_Point2D(0, 0), CHQ_Point2D(0, -10), 3, CHQ_Point2D(0, 3), CHQ_Point2D(0, -3)},
        {CHQ_Point2D(0, 0), CHQ_Point2D(10, 0), 2, CHQ_Point2D(-2, 0), CHQ_Point2D(2, 0)},
        {CHQ_Point2D(0, 0), CHQ_Point2D(-10, 0), 2, CHQ_Point2D(2, 0), CHQ_Point2D(-2, 0)},
        {CHQ_Point2D(1, 1), CHQ_Point2D(4, 5), 5, CHQ_Point2D(-2, -3), CHQ_Point2D(4, 5)},
    };
    for (const Case& c : cases) {
        const std::vector<CHQ_Point2D> r = M::ComputeLeftRightPointF(c.p, c.q, c.dist);
        ASSERT_EQ(r.size(), 2u);
        ExpectPointNear(r[0], c.away, kNear, "away from q");
        ExpectPointNear(r[1], c.towards, kNear, "towards q");
    }
}

TEST(MeasuresAngles, DirectionAngles) {
    struct Case {
        CHQ_Point2D p, q;
        double angle, angleEx;
    } cases[] = {
        {CHQ_Point2D(0, 0), CHQ_Point2D(0, 1), 0.0, 89.99999505843996},
        {CHQ_Point2D(0, 0), CHQ_Point2D(0, -1), -180.0, 269.999995193232},
        {CHQ_Point2D(0, 0), CHQ_Point2D(1, 1), 44.99999874776094, 44.99999752921998},
        {CHQ_Point2D(0, 0), CHQ_Point2D(1, -1), -224.99999874776094, 314.999992722452},
        {CHQ_Point2D(0, 0), CHQ_Point2D(-1, 0), -89.99999749552191, 179.99999011687993},
        {CHQ_Point2D(3, 3), CHQ_Point2D(3, 3), 0.0, 0.0},
    };
    for (const Case& c : cases) {
        // GetAngle divides by PI_F: 45 degrees come out as 44.99999874776094.
        EXPECT_EQ(M::GetAngle(c.p, c.q), c.angle) << c.q.x << "," << c.q.y;
        EXPECT_NEAR(M::GetAngleEx(c.p, c.q), c.angleEx, 1e-9) << c.q.x << "," << c.q.y;
    }
    EXPECT_EQ(M::GetAngleEx(CHQ_Point2D(0, 0), CHQ_Point2D(0, -1)), 269.999995193232);
    // A direction just below +x is raised by TWO_PI_F, just under 360.
    EXPECT_EQ(M::GetAngleEx(CHQ_Point2D(0, 0), CHQ_Point2D(1, -1e-9)), 359.9999901943762);

    // Three-point form: atan(|b - a| / |c - b|).
    EXPECT_NEAR(M::GetAngleEx(CHQ_Point2D(0, 0), CHQ_Point2D(0, 3), CHQ_Point2D(3, 3)), 45.0, 1e-5);
    EXPECT_NEAR(M::GetAngleEx(CHQ_Point2D(0, 0), CHQ_Point2D(0, 3), CHQ_Point2D(0, 3)), 90.0, 1e-5);
    EXPECT_EQ(M::GetAngleEx(CHQ_Point2D(2, 2), CHQ_Point2D(2, 2), CHQ_Point2D(2, 2)), 0.0);
}

TEST(MeasuresAngles, IntersectingAngleIsSinglePrecision) {
    const CHQ_Point2D o(0, 0), px(1, 0);
    struct Case {
        CHQ_Point2D o, p, q;
        double angle;
    } cases[] = {
        {o, px, CHQ_Point2D(0, -1), 90.0},  // a double product would give 89.99999505843996
        {o, px, CHQ_Point2D(0, 1), 90.0},   // no turning sense
        {o, px, CHQ_Point2D(-1, 0), 180.0},
        {o, px, CHQ_Point2D(5, 0), 0.0},
        {o, px, CHQ_Point2D(1, 1), 44.999996185302734},
        {CHQ_Point2D(0.3, 0.7), CHQ_Point2D(5.1, 2.9), CHQ_Point2D(-3.3, 8.8), 89.33892059326172},
        // The arc unit's start direction: centre (50, 50), straight up.
        {CHQ_Point2D(50, 50), CHQ_Point2D(51, 50), CHQ_Point2D(50, 150), 90.0},
        {CHQ_Point2D(50, 50), CHQ_Point2D(51, 50), CHQ_Point2D(150, 50), 0.0},
        // Two of the points coinciding (within 1e-6) give 0.
        {o, o, CHQ_Point2D(1, 1), 0.0},
        {o, px, CHQ_Point2D(5e-7, -5e-7), 0.0},
        {o, px, CHQ_Point2D(1, 1e-7), 0.0},
        {o, o, o, 0.0},
    };
    for (const Case& c : cases) {
        const double a = M::GetIntersectingAngle(c.o, c.p, c.q);
        EXPECT_EQ(a, c.angle) << c.q.x << "," << c.q.y;
        EXPECT_TRUE(IsFloat(a));
    }
    EXPECT_EQ(static_cast<int>(
                  M::GetIntersectingAngle(CHQ_Point2D(50, 50), CHQ_Point2D(51, 50), CHQ_Point2D(50, 150))),
              90);
}

TEST(MeasuresAngles, SideOfLineIsRoundedToSinglePrecision) {
    struct Case {
        CHQ_Point2D p, a, b;
        double side;
    } cases[] = {
        {CHQ_Point2D(0, -1), CHQ_Point2D(0, 0), CHQ_Point2D(1, 0), 1.0},  // right of a -> b
        {CHQ_Point2D(0, 1), CHQ_Point2D(0, 0), CHQ_Point2D(1, 0), -1.0},  // left
        {CHQ_Point2D(7, 0), CHQ_Point2D(0, 0), CHQ_Point2D(1, 0), 0.0},   // on it
        // In double this is -1.2199999999999998.
        {CHQ_Point2D(0.1, 0.7), CHQ_Point2D(0.3, 0.2), CHQ_Point2D(1.9, 2.3), -1.2200000286102295},
    };
    for (const Case& c : cases) EXPECT_EQ(M::JudgePointPos(c.p, c.a, c.b), c.side);
}

TEST(MeasuresRotations, PointRotateRoundsBothCoordinates) {
    struct Case {
        CHQ_Point2D p, c;
        double angle;
        CHQ_Point2D expected;  // in double the results would differ from these
    } cases[] = {
        {CHQ_Point2D(1, 0), CHQ_Point2D(0, 0), 90, CHQ_Point2D(-4.371138828673793e-08, -1.0)},
        {CHQ_Point2D(10.3, -4.7), CHQ_Point2D(1.25, 2.5), 33.3,
         CHQ_Point2D(4.8610920906066895, -8.486469268798828)},
        {CHQ_Point2D(123456.789, 987.654), CHQ_Point2D(100.1, 200.2), -47.5,
         CHQ_Point2D(82858.09375, 91680.2890625)},
    };
    for (const Case& c : cases) {
        const CHQ_Point2D r = M::PointRotate(c.p, c.c, c.angle);
        EXPECT_EQ(r.x, c.expected.x);
        EXPECT_EQ(r.y, c.expected.y);
        EXPECT_TRUE(IsFloat(r.x) && IsFloat(r.y));
    }
}

TEST(MeasuresRotations, RotatePointTurnsTheOtherWay) {
    struct Case {
        CHQ_Point2D c, v;
        double angle;
        CHQ_Point2D expected;
    } cases[] = {
        {CHQ_Point2D(0, 0), CHQ_Point2D(1, 0), 90, CHQ_Point2D(0, 1)},
        {CHQ_Point2D(5, 5), CHQ_Point2D(0, -2), 90, CHQ_Point2D(7, 5)},
        {CHQ_Point2D(5, 5), CHQ_Point2D(3, 4), 180, CHQ_Point2D(2, 1)},
        {CHQ_Point2D(1, 2), CHQ_Point2D(0, 0), 45, CHQ_Point2D(1, 2)},
    };
    for (const Case& c : cases)
        ExpectPointNear(M::RotatePoint(c.c, c.v, c.angle), c.expected, 1e-5, "rotate");
    // RotatePoint is counterclockwise, PointRotate clockwise.
    const CHQ_Point2D ccw = M::RotatePoint(CHQ_Point2D(0, 0), CHQ_Point2D(3, 1), 30);
    const CHQ_Point2D cw = M::PointRotate(CHQ_Point2D(3, 1), CHQ_Point2D(0, 0), -30);
    ExpectPointNear(ccw, cw, 1e-5, "opposite senses");
}

TEST(MeasuresLines, LineCoefficients) {
    struct Case {
        double x1, y1, x2, y2, A, B, C;
    } cases[] = {
        {0, 2, 5, 2, 0, 1, -2},  // horizontal
        {0, 2, 5, 2 + 5e-7, 0, 1, -2.00000025},
        {3, 0, 3, 9, 1, 0, -3},  // vertical: x = 3
        {0, 0, 2, 1, 1, -2, 0},  // x = 2y
        {1, 1, 3, 2, 1, -2, 1},  // x - 2y + 1 = 0
    };
    for (const Case& c : cases) {
        double A = 9, B = 9, C = 9;
        M::CoefficientsOfDualisticOnceEqu(c.x1, c.y1, c.x2, c.y2, A, B, C);
        EXPECT_NEAR(A, c.A, kNear);
        EXPECT_NEAR(B, c.B, kNear);
        EXPECT_NEAR(C, c.C, kNear);
        EXPECT_NEAR(A * c.x1 + B * c.y1 + C, 0.0, 1e-6);
    }
    double A = 7, B = 8, C = 9;
    M::CoefficientsOfDualisticOnceEqu(1, 1, 1 + 1e-7, 1 - 1e-7, A, B, C);
    EXPECT_EQ(A, 7);
    EXPECT_EQ(B, 8);
    EXPECT_EQ(C, 9);
}

TEST(MeasuresLines, Intersections) {
    struct Case {
        CHQ_Point2D a1, a2, b1, b2;
        bool lines;     // IntersectLines
        bool segments;  // IntersectLinesSegment
        CHQ_Point2D at;
    } cases[] = {
        {CHQ_Point2D(0, 0), CHQ_Point2D(4, 4), CHQ_Point2D(0, 4), CHQ_Point2D(4, 0), true, true,
         CHQ_Point2D(2, 2)},
        {CHQ_Point2D(0, 0), CHQ_Point2D(1, 1), CHQ_Point2D(0, 4), CHQ_Point2D(1, 3), true, false,
         CHQ_Point2D(2, 2)},
        // Vertical with horizontal, crossing inside both.
        {CHQ_Point2D(3, -5), CHQ_Point2D(3, 5), CHQ_Point2D(0, 1), CHQ_Point2D(9, 1), true, true,
         CHQ_Point2D(3, 1)},
        // The horizontal line passes above the vertical segment: the lines
        // meet, the segments do not (the x-ranges alone would say they do).
        {CHQ_Point2D(3, -5), CHQ_Point2D(3, 5), CHQ_Point2D(0, 8), CHQ_Point2D(9, 8), true, false,
         CHQ_Point2D(3, 8)},
        {CHQ_Point2D(0, 8), CHQ_Point2D(9, 8), CHQ_Point2D(3, -5), CHQ_Point2D(3, 5), true, false,
         CHQ_Point2D(3, 8)},
        // Touching at an end point counts.
        {CHQ_Point2D(3, -5), CHQ_Point2D(3, 5), CHQ_Point2D(0, 5), CHQ_Point2D(9, 5), true, true,
         CHQ_Point2D(3, 5)},
        // Parallel, and a "line" whose two points coincide.
        {CHQ_Point2D(0, 0), CHQ_Point2D(4, 4), CHQ_Point2D(0, 1), CHQ_Point2D(4, 5), false, false,
         CHQ_Point2D()},
        {CHQ_Point2D(0, 0), CHQ_Point2D(4, 0), CHQ_Point2D(0, 1), CHQ_Point2D(4, 1), false, false,
         CHQ_Point2D()},
        {CHQ_Point2D(0, 0), CHQ_Point2D(4, 4), CHQ_Point2D(2, 0), CHQ_Point2D(2, 0), false, false,
         CHQ_Point2D()},
    };
    for (size_t i = 0; i < sizeof(cases) / sizeof(cases[0]); ++i) {
        const Case& c = cases[i];
        CHQ_Point2D out(-1, -1);
        EXPECT_EQ(M::IntersectLines(out, c.a1, c.a2, c.b1, c.b2), c.lines) << "case " << i;
        if (c.lines) ExpectPointNear(out, c.at, kNear, "line intersection");
        if (!c.lines) ExpectPointNear(out, CHQ_Point2D(-1, -1), 0.0, "untouched");

        CHQ_Point2D seg(-1, -1);
        EXPECT_EQ(M::IntersectLinesSegment(seg, c.a1, c.a2, c.b1, c.b2), c.segments) << "case " << i;
        if (c.segments) ExpectPointNear(seg, c.at, kNear, "segment intersection");
        // x is written whenever the lines meet, even when the segments miss.
        if (c.lines) {
            EXPECT_NEAR(seg.x, c.at.x, kNear) << "case " << i;
        }
    }
}

TEST(MeasuresLocation, PointOnPolyline) {
    const std::vector<CHQ_Point2D> line = {CHQ_Point2D(0, 0), CHQ_Point2D(10, 0), CHQ_Point2D(10, 10)};
    struct Case {
        CHQ_Point2D pt;
        double tol;
        bool on;
    } cases[] = {
        {CHQ_Point2D(5, 0), 0.1, true},
        {CHQ_Point2D(10, 5), 0.1, true},
        {CHQ_Point2D(10.15, 0.15), 0.1, true},  // within 2 tol of a vertex
        {CHQ_Point2D(10.25, 0), 0.1, false},
        {CHQ_Point2D(5, 0.5), 0.1, false},
        {CHQ_Point2D(5, 0.01), 0.1, true},  // cos = -0.99998, within 0.001 of -1
        {CHQ_Point2D(5, 0.5), 1.0, false},
        {CHQ_Point2D(15, 0), 0.1, false},  // on the extension, not between the ends
        {CHQ_Point2D(0, 0), 0.0, true},    // exactly a vertex
    };
    for (const Case& c : cases)
        EXPECT_EQ(M::IsPointOnLine(c.pt, line, c.tol), c.on) << c.pt.x << "," << c.pt.y;
    EXPECT_FALSE(M::IsPointOnLine(CHQ_Point2D(0, 0), {CHQ_Point2D(0, 0)}, 1.0));
    EXPECT_FALSE(M::IsPointOnLine(CHQ_Point2D(0, 0), {}, 1.0));
}

TEST(MeasuresLocation, PointInPolygonIsHalfOpen) {
    const std::vector<CHQ_Point2D> square = {CHQ_Point2D(0, 0), CHQ_Point2D(4, 0), CHQ_Point2D(4, 4),
                                             CHQ_Point2D(0, 4)};
    const std::vector<CHQ_Point2D> concave = {CHQ_Point2D(0, 0), CHQ_Point2D(6, 0), CHQ_Point2D(6, 6),
                                              CHQ_Point2D(3, 2), CHQ_Point2D(0, 6)};
    struct Case {
        const std::vector<CHQ_Point2D>* poly;
        CHQ_Point2D pt;
        bool inside;
    } cases[] = {
        {&square, CHQ_Point2D(2, 2), true},   {&square, CHQ_Point2D(5, 2), false},
        {&square, CHQ_Point2D(0, 0), true},    // lower-left corner
        {&square, CHQ_Point2D(4, 4), false},   // upper-right corner
        {&square, CHQ_Point2D(2, 0), true},    // lower edge
        {&square, CHQ_Point2D(2, 4), false},   // upper edge
        {&concave, CHQ_Point2D(3, 4), false},  // in the notch
        {&concave, CHQ_Point2D(1, 4), true},  {&concave, CHQ_Point2D(5, 4), true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(M::IsPointOnPolygon(c.pt, *c.poly), c.inside) << c.pt.x << "," << c.pt.y;
    EXPECT_FALSE(M::IsPointOnPolygon(CHQ_Point2D(0, 0), {}));
}

TEST(MeasuresGreatCircle, AzimuthUsesSinglePrecisionConstants) {
    struct Case {
        double lon1, lat1, lon2, lat2, azimuth;
    } cases[] = {
        {0, 0, 0, 1, 359.999990251672},     // due north: TWO_PI_F * RAD_F, not 0
        {0, 0, 1, 0, 89.99999505843996},    // due east
        {0, 0, 0, -1, 180.00000013479206},  // due south
        {0, 0, -1, 0, 269.999995193232},    // due west
        {116.4, 39.9, 121.5, 31.2, 152.97786459324783},
    };
    for (const Case& c : cases) EXPECT_NEAR(M::Azimuth(c.lon1, c.lat1, c.lon2, c.lat2), c.azimuth, 1e-9);
    EXPECT_EQ(M::Azimuth(0, 0, 0, 1), 6.2831854820251465 * 57.2957763671875);
}

TEST(MeasuresGreatCircle, BearingDistanceDestination) {
    const double pi = M_PI;
    EXPECT_NEAR(M::bearing(0, 0, 0.1, 0), 0.0, 1e-12);
    EXPECT_NEAR(M::bearing(0, 0, 0, 0.1), pi / 2, 1e-12);
    EXPECT_NEAR(M::bearing(0, 0, 0, -0.1), -pi / 2, 1e-12);
    EXPECT_NEAR(M::bearing(0, 0, -0.1, 0), pi, 1e-12);

    EXPECT_NEAR(M::distance(0, 0, 0, pi / 2, 1.0), pi / 2, 1e-12);
    EXPECT_NEAR(M::distance(0, 0, pi / 2, 0, 6371.0), 6371.0 * pi / 2, 1e-9);
    EXPECT_NEAR(M::distance(0.3, 0.2, 0.3, 0.2, 2.0), 0.0, 1e-12);
    EXPECT_NEAR(M::distance(0, 0, 0, pi, 1.0), pi, 1e-12);

    struct Case {
        double lat, lon, theta, dist, R;
    } cases[] = {{0.1, 0.2, 0.7, 500, 6371}, {-0.5, 2.0, -2.0, 0.3, 1}, {0.9, -1.0, 3.0, 1234, 6371}};
    for (const Case& c : cases) {
        double lat2 = 0, lon2 = 0;
        M::destination(c.lat, c.lon, c.theta, c.dist, lat2, lon2, c.R);
        EXPECT_NEAR(M::distance(c.lat, c.lon, lat2, lon2, c.R), c.dist, 1e-9 * c.R);
        EXPECT_NEAR(M::bearing(c.lat, c.lon, lat2, lon2), c.theta, 1e-9);
    }
}

TEST(MeasuresGreatCircle, MiddleAndSmallCircleCentre) {
    struct Mid {
        double lat1, lon1, lat2, lon2, lat, lon;
    } mids[] = {
        {0, 0, 0, 90, 0, 45},
        {0, 10, 60, 10, 30, 10},
        {45, -170, 45, 170, 45.43854585942494, 179.99999011687993},
    };
    for (const Mid& m : mids) {
        double lat = -1, lon = -1;
        EXPECT_TRUE(M::sphericalMiddle(m.lat1, m.lon1, m.lat2, m.lon2, lat, lon));
        EXPECT_NEAR(lat, m.lat, 0.01);
        EXPECT_NEAR(std::fabs(lon), m.lon, 1e-4);
    }

    struct Centre {
        double pts[6];
        double lat, lon;
    } centres[] = {
        {{60, 0, 60, 120, 60, -120}, 90, 0},
        {{60, -120, 60, 120, 60, 0}, 90, 0},  // reversed order: still the near pole
        {{10, 20, -10, 20, 0, 30}, 0, 20},
        {{-60, 0, -60, 100, -60, 200}, -90, 0},
    };
    for (const Centre& c : centres) {
        double lat = 0, lon = 0;
        ASSERT_TRUE(
            M::sphericalCircleCenter(c.pts[0], c.pts[1], c.pts[2], c.pts[3], c.pts[4], c.pts[5], lat, lon));
        EXPECT_NEAR(lat, c.lat, 1e-4);
        if (std::fabs(c.lat) < 89) {
            EXPECT_NEAR(lon, c.lon, 1e-4);
        }
    }
    double lat = 7, lon = 8;
    EXPECT_FALSE(M::sphericalCircleCenter(10, 20, 10, 20, 30, 40, lat, lon));
    EXPECT_EQ(lat, 7);
    EXPECT_EQ(lon, 8);
}

// SPDX-License-Identifier: Apache-2.0
// Segment kinds of the path module: lines, polylines, circles, cubic Bezier
// curves, ellipses, and the SinCosDegrees helper they share.
#include <pathalgo/PrimitiveAlgorithm.h>
#include <pathalgo/PrimitiveAlgorithmPath.h>

#include <gtest/gtest.h>

#include "GeometryTestSupport.h"

#include <cmath>
#include <limits>

using namespace HQ;

namespace {

using sitplot_test::kPi;
// Coordinates computed through a few roundings.
constexpr double kTol = 1e-12;

using sitplot_test::ExpectPoint;
void ExpectPoint(const CHQ_Point2D& p, double x, double y) { ExpectPoint(p, x, y, kTol); }

}  // namespace

TEST(SinCosDegrees, ExactAnglesTableAndFolding) {
    const double s45 = 0.7071067811865476, s60 = 0.8660254037844386;
    const double s5 = 0.08715574274765818, c5 = 0.9961946980917455;
    struct Case {
        double angle, sin, cos;
    } cases[] = {
        {0, 0, 1},          {90, 1, 0},
        {180, 0, -1},       {270, -1, 0},
        {360, 0, 1},        {450, 1, 0},
        {-90, -1, 0},       {720, 0, 1},
        {-360, 0, 1},       {5e-9, 0, 1},
        {-5e-9, 0, 1},      {360 + 5e-9, 0, 1},
        {90 - 5e-9, 1, 0},  {30, 0.5, s60},
        {45, s45, s45},     {60, s60, 0.5},
        {5, s5, c5},        {135, s45, -s45},
        {210, -0.5, -s60},  {300, -s60, 0.5},
        {-5, -s5, c5},      {365, s5, c5},
        {5 + 5e-9, s5, c5}, {185, -s5, -c5},
        {95, c5, -s5},      {4.999999999, s5, c5},
    };
    for (const Case& c : cases) {
        double s = 9, co = 9;
        SinCosDegrees(c.angle, s, co);
        EXPECT_EQ(s, c.sin) << "sin of " << c.angle;
        EXPECT_EQ(co, c.cos) << "cos of " << c.angle;
    }
}

TEST(SinCosDegrees, OtherAnglesUseTheSinglePrecisionFactor) {
    const double kFactor = static_cast<double>(0.017453f);
    ASSERT_EQ(kFactor, 0.01745299994945526);
    for (double a : {37.0, 1.0, 123.4, 359.0, 4.99999, 89.99999}) {
        double s = 0, c = 0;
        SinCosDegrees(a, s, c);
        EXPECT_EQ(s, std::sin(a * kFactor)) << a;
        EXPECT_EQ(c, std::cos(a * kFactor)) << a;
    }
    // Negative angles are brought into [0, 360) first.
    double s = 0, c = 0;
    SinCosDegrees(-37.0, s, c);
    EXPECT_EQ(s, std::sin(323.0 * kFactor));
    // The factor is not pi/180: 37 degrees is off in the fifth digit.
    SinCosDegrees(37.0, s, c);
    EXPECT_GT(std::fabs(s - std::sin(37.0 * kPi / 180.0)), 1e-6);
    EXPECT_NEAR(s, std::sin(37.0 * kPi / 180.0), 1e-4);
}

TEST(SinCosDegrees, HugeAndNonFiniteAnglesStayInBounds) {
    // Normalising these loses every digit; the answer must still come from
    // sane arithmetic, never from outside the table.
    const double inf = std::numeric_limits<double>::infinity();
    for (double a : {1e300, -1e300, 1e20, 7.5e17, -3.3e16, inf, -inf, std::nan("")}) {
        double s = 0, c = 0;
        SinCosDegrees(a, s, c);
        EXPECT_TRUE(!std::isfinite(s) || std::fabs(s) <= 1.0) << a;
        EXPECT_TRUE(!std::isfinite(c) || std::fabs(c) <= 1.0) << a;
    }
}

TEST(LineAlgorithm, PointsLengthAndDirection) {
    const CLineAlgorithm line(1, 2, 4, 6);
    EXPECT_EQ(line.GetPrimitiveType(), Primitive_Line);
    EXPECT_EQ(line.GetLength(), 5.0);
    EXPECT_EQ(line.GetDx(), -3.0);  // start minus end
    EXPECT_EQ(line.GetDy(), -4.0);
    struct Case {
        double t, x, y;
    } cases[] = {{0, 1, 2}, {1, 4, 6}, {0.5, 2.5, 4}, {0.25, 1.75, 3}, {7, 4, 6}, {-1, -2, -2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.t);
        ExpectPoint(line.PointAt(c.t), c.x, c.y);
    }
    const CHQ_Point2D end = line.PointAt(1.0);
    EXPECT_EQ(end.x, 4.0);  // the end point exactly
    EXPECT_EQ(end.y, 6.0);

    const CLineAlgorithm dot(3, 3, 3, 3);
    EXPECT_EQ(dot.GetLength(), 0.0);
    ExpectPoint(dot.PointAt(0.5), 3, 3);
}

TEST(PolyLineAlgorithm, WalksItsLinesByLength) {
    CPolyLineAlgorithm poly;
    ExpectPoint(poly.PointAt(0.5), 0, 0);  // no lines
    EXPECT_EQ(poly.GetLength(), 0.0);
    poly.AddLine(CLineAlgorithm(0, 0, 10, 0));
    poly.AddLine(CLineAlgorithm(10, 0, 10, 30));
    EXPECT_EQ(poly.GetPrimitiveType(), Primitive_PolyLine);
    EXPECT_EQ(poly.GetLength(), 40.0);
    EXPECT_EQ(poly.GetLineCount(), 2u);
    struct Case {
        double t, x, y;
    } cases[] = {{0, 0, 0}, {0.125, 5, 0}, {0.25, 10, 0}, {0.625, 10, 15}, {1, 10, 30}, {1.01, 0, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.t);
        ExpectPoint(poly.PointAt(c.t), c.x, c.y);
    }
}

TEST(PolyLineAlgorithm, ZeroLengthLinesNeverDivideByZero) {
    CPolyLineAlgorithm flat;
    flat.AddLine(CLineAlgorithm(2, 3, 2, 3));
    flat.AddLine(CLineAlgorithm(2, 3, 2, 3));
    for (double t : {0.0, 0.5, 1.0}) ExpectPoint(flat.PointAt(t), 2, 3);  // first line's start

    CPolyLineAlgorithm leading;  // a zero-length line before a real one
    leading.AddLine(CLineAlgorithm(1, 1, 1, 1));
    leading.AddLine(CLineAlgorithm(1, 1, 5, 1));
    ExpectPoint(leading.PointAt(0.0), 1, 1);
    ExpectPoint(leading.PointAt(0.5), 3, 1);
}

TEST(CircleAlgorithm, RunsFromTheLargerAngleToTheSmaller) {
    struct Case {
        double start, sweep, t, angle;
    } cases[] = {
        {0, 90, 0, 90},   {0, 90, 1, 0},        {0, -90, 0, 0},         {0, -90, 1, -90},
        {0, 90, 0.5, 45}, {-30, -90, 0, -30},   {-30, -90, 1, -120},    {0, 360, 0, 360},
        {0, 360, 1, 0},   {-90, -270, 1, -360}, {-90, -270, 0.5, -225},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.start << " " << c.sweep << " " << c.t);
        CCircleAlgorithm circle(5, 7, 2);
        circle.SetAngles(c.start, c.sweep);
        double s = 0, co = 0;
        SinCosDegrees(c.angle, s, co);
        ExpectPoint(circle.PointAt(c.t), 5 + 2 * co, 7 + 2 * s);
    }
}

TEST(CircleAlgorithm, LengthIsNeverNegative) {
    CCircleAlgorithm circle(0, 0, -3);  // the radius is stored as its absolute value
    EXPECT_EQ(circle.GetRadius(), 3.0);
    EXPECT_EQ(circle.GetPrimitiveType(), Primitive_Circle);
    EXPECT_NEAR(circle.GetLength(), 2 * kPi * 3, kTol);
    ExpectPoint(circle.PointAt(0), 3, 0);
    ExpectPoint(circle.PointAt(1), 3, 0);
    circle.SetAngles(-90, -270);  // as an arc shaped clockwise by the path
    EXPECT_NEAR(circle.GetLength(), 2 * kPi * 3 * 0.75, kTol);
    circle.SetRadius(-1);
    EXPECT_EQ(circle.GetRadius(), 1.0);
}

TEST(BezierCurveAlgorithm, EndpointsAndMidpoint) {
    const CBezierCurveAlgorithm curve(0, 0, 0, 4, 4, 4, 4, 0);
    EXPECT_EQ(curve.GetPrimitiveType(), Primitive_Bezier);
    EXPECT_EQ(curve.GetP3().z, 0.0);
    struct Case {
        double t, x, y;
    } cases[] = {{0, 0, 0}, {1, 4, 0}, {0.5, 2, 3}, {0.25, 0.625, 2.25}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.t);
        ExpectPoint(curve.PointAt(c.t), c.x, c.y);
    }
    // The length sampling overshoots 1 by rounding; that parameter is fine.
    ExpectPoint(curve.PointAt(1.0000000000000007), 4, 0);
}

TEST(BezierCurveAlgorithm, LengthIsMeasuredOn250Chords) {
    // Straight curves: the chords add up to the distance, in 3-D too.
    const CBezierCurveAlgorithm flat(0, 0, 1, 0, 2, 0, 3, 0);
    EXPECT_NEAR(flat.GetLength(), 3.0, 1e-12);
    const CBezierCurveAlgorithm spatial(CHQ_Point3D(0, 0, 0), CHQ_Point3D(1, 4.0 / 3, 4),
                                        CHQ_Point3D(2, 8.0 / 3, 8), CHQ_Point3D(3, 4, 12));
    EXPECT_NEAR(spatial.GetLength(), 13.0, 1e-12);

    // The sample parameters: 250 additions of 0.004 end just above 1.
    double t = 0;
    for (int i = 0; i < CBezierCurveAlgorithm::kLengthChords; ++i) t += CBezierCurveAlgorithm::kLengthStep;
    EXPECT_EQ(t, 1.0000000000000007);

    // A bent curve: the chord polyline is a little shorter than the curve and
    // depends on the chord count; 250 chords, not 200 or 300.
    const CBezierCurveAlgorithm bent(0, 0, 0, 40, 40, 40, 40, 0);
    auto chords = [&bent](int n) {
        double sum = 0;
        CHQ_Point2D prev = bent.PointAt(0);
        for (int i = 1; i <= n; ++i) {
            const CHQ_Point2D p = bent.PointAt(static_cast<double>(i) / n);
            sum += std::hypot(p.x - prev.x, p.y - prev.y);
            prev = p;
        }
        return sum;
    };
    EXPECT_NEAR(bent.GetLength(), chords(250), 1e-10);
    EXPECT_GT(std::fabs(bent.GetLength() - chords(200)), 1e-6);
    EXPECT_GT(std::fabs(bent.GetLength() - chords(300)), 1e-6);
}

#ifdef NDEBUG
TEST(BezierCurveAlgorithm, OutOfRangeParametersAreClamped) {
    const CBezierCurveAlgorithm curve(1, 2, 3, 5, 6, 5, 8, 2);
    ExpectPoint(curve.PointAt(-0.5), 1, 2);
    ExpectPoint(curve.PointAt(1.5), 8, 2);
    ExpectPoint(curve.PointAt(std::nan("")), 1, 2);
}
#else
TEST(BezierCurveAlgorithmDeathTest, OutOfRangeParameterAsserts) {
    const CBezierCurveAlgorithm curve(1, 2, 3, 5, 6, 5, 8, 2);
    const char* text =
        "\\(0 < t \\|\\| fuzzyCompare\\(0\\., t\\)\\) && \\(t < 1\\. \\|\\| fuzzyCompare\\(1\\.0, t\\)\\)";
    EXPECT_DEATH(curve.PointAt(1.01), text);
    EXPECT_DEATH(curve.PointAt(-0.01), text);
    // Within the tolerance: accepted and clamped.
    ExpectPoint(curve.PointAt(1 + 5e-7), 8, 2);
    ExpectPoint(curve.PointAt(-5e-7), 1, 2);
}
#endif

TEST(EllipticAlgorithm, UnitCircleQuarters) {
    const CEllipticAlgorithm e(0, 0, 1, 1, 0);
    EXPECT_EQ(e.GetPrimitiveType(), Primitive_Elliptic);
    struct Case {
        double t, x, y;
    } cases[] = {{0, 1, 0}, {0.25, 0, 1}, {0.5, -1, 0}, {0.75, 0, -1}, {1, 1, 0}, {-3, 1, 0}, {4, 1, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.t);
        ExpectPoint(e.PointAt(c.t), c.x, c.y);
    }
    // Four cubics approximate the circle to within 3e-4 of its radius.
    const CHQ_Point2D mid = e.PointAt(0.125);
    EXPECT_NEAR(std::hypot(mid.x, mid.y), 1.0, 3e-4);
    EXPECT_NEAR(e.GetLength(), 2 * kPi, 2e-3);
}

TEST(EllipticAlgorithm, FourCubicsThroughTheThirteenPoints) {
    // Third argument is the half extent along y, fourth along x.
    const double cx = 10, cy = 20, ry = 2, rx = 4, k = CEllipticAlgorithm::kKappa;
    const CEllipticAlgorithm e(cx, cy, ry, rx, 30);
    EXPECT_EQ(e.GetRadiusX(), 4.0);
    EXPECT_EQ(e.GetRadiusY(), 2.0);
    EXPECT_EQ(e.GetSinRotation(), 0.5);  // stored, never applied
    EXPECT_TRUE(e.IsRotated());
    const double x = 6, y = 18, w2 = 4, h2 = 2;
    const CHQ_Point2D q[13] = {
        {x + 8, y + h2}, {x + 8, y + h2 + h2 * k}, {x + w2 + w2 * k, y + 4},
        {x + w2, y + 4}, {x + w2 - w2 * k, y + 4}, {x, y + h2 + h2 * k},
        {x, y + h2},     {x, y + h2 - h2 * k},     {x + w2 - w2 * k, y},
        {x + w2, y},     {x + w2 + w2 * k, y},     {x + 8, y + h2 - h2 * k},
        {x + 8, y + h2},
    };
    ASSERT_EQ(e.GetCurves().size(), 4u);
    double sum = 0;
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        const CBezierCurveAlgorithm& c = e.GetCurves()[i];
        const CHQ_Point3D* p[4] = {&c.GetP0(), &c.GetP1(), &c.GetP2(), &c.GetP3()};
        for (int j = 0; j < 4; ++j) {
            EXPECT_EQ(p[j]->x, q[3 * i + j].x) << "point " << j;
            EXPECT_EQ(p[j]->y, q[3 * i + j].y) << "point " << j;
            EXPECT_EQ(p[j]->z, 0.0);
        }
        sum += c.GetLength();
    }
    EXPECT_EQ(e.GetLength(), sum);
    // Ramanujan's perimeter of the 4 x 2 ellipse.
    const double hr = (rx - ry) * (rx - ry) / ((rx + ry) * (rx + ry));
    const double perimeter = kPi * (rx + ry) * (1 + 3 * hr / (10 + std::sqrt(4 - 3 * hr)));
    EXPECT_NEAR(e.GetLength(), perimeter, perimeter * 1e-3);
}

TEST(EllipticAlgorithm, NegativeExtentsMirrorTheBox) {
    const CEllipticAlgorithm pos(1, 1, 2, 3, 0), neg(1, 1, -2, -3, 0);
    EXPECT_NEAR(neg.GetLength(), pos.GetLength(), kTol);
    for (double t : {0.0, 0.1, 0.25, 0.6, 1.0}) {
        SCOPED_TRACE(t);
        const CHQ_Point2D a = pos.PointAt(t);
        ExpectPoint(neg.PointAt(t), a.x, a.y);
    }
    ExpectPoint(pos.PointAt(0), 4, 1);  // largest x first
    ExpectPoint(pos.PointAt(0.25), 1, 3);
}

TEST(PathRect, SidesAreOrdered) {
    struct Case {
        double x, y, w, h, left, top, right, bottom;
    } cases[] = {
        {0, 0, 10, 20, 0, 0, 10, 20},
        {5, 5, -10, 4, -5, 5, 5, 9},
        {5, 5, 4, -10, 5, -5, 9, 5},
        {1, 2, 0, 0, 1, 2, 1, 2},
    };
    for (const Case& c : cases) {
        const PathRect r(c.x, c.y, c.w, c.h);
        EXPECT_EQ(r.left, c.left);
        EXPECT_EQ(r.top, c.top);
        EXPECT_EQ(r.right, c.right);
        EXPECT_EQ(r.bottom, c.bottom);
        EXPECT_EQ(r.width, c.right - c.left);
        EXPECT_EQ(r.height, c.bottom - c.top);
    }
}

// SPDX-License-Identifier: Apache-2.0
// The drawing path: pending-element rules, lengths, points at fractions of
// the length, degenerate input and copying.
#include <pathalgo/PrimitiveAlgorithmPath.h>

#include <gtest/gtest.h>

#include "GeometryTestSupport.h"

#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace HQ;

namespace {

using sitplot_test::kPi;
constexpr double kTol = 1e-9;

using sitplot_test::ExpectPoint;
void ExpectPoint(const CHQ_Point2D& p, double x, double y) { ExpectPoint(p, x, y, kTol); }

// Element kinds in path order, then the pending one (0 when none).
std::vector<int> Kinds(const CPrimitiveAlgorithmPath& path) {
    std::vector<int> kinds;
    for (std::size_t i = 0; i < path.GetElementCount(); ++i)
        kinds.push_back(path.GetElement(i)->GetPrimitiveType());
    kinds.push_back(path.GetPendingElement() ? path.GetPendingElement()->GetPrimitiveType() : 0);
    return kinds;
}

const CCircleAlgorithm* PendingCircle(const CPrimitiveAlgorithmPath& path) {
    const CPrimitiveAlgorithm* p = path.GetPendingElement();
    return p && p->GetPrimitiveType() == Primitive_Circle ? static_cast<const CCircleAlgorithm*>(p) : nullptr;
}

}  // namespace

TEST(PrimitiveAlgorithmPath, PendingElementRules) {
    const PathRect r(0, 0, 100, 100);
    struct Case {
        std::string name;
        std::function<void(CPrimitiveAlgorithmPath&)> build;
        std::vector<int> kinds;  // elements, then the pending kind or 0
        double curX, curY;
    } cases[] = {
        {"new path", [](CPrimitiveAlgorithmPath&) {}, {0}, 0, 0},
        {"lines gather",
         [](CPrimitiveAlgorithmPath& p) {
             p.LineTo(1, 0);
             p.LineTo(1, 1);
             p.LineTo(0, 1);
         },
         {Primitive_PolyLine},
         0,
         1},
        {"move closes",
         [](CPrimitiveAlgorithmPath& p) {
             p.LineTo(1, 0);
             p.MoveTo(5, 5);
             p.LineTo(6, 5);
         },
         {Primitive_PolyLine, Primitive_PolyLine},
         6,
         5},
        {"cubic lands before the pending polyline",
         [](CPrimitiveAlgorithmPath& p) {
             p.LineTo(1, 0);
             p.CubicTo({2, 1}, {3, 1}, {4, 0});
         },
         {Primitive_Bezier, Primitive_PolyLine},
         4,
         0},
        {"quad is one cubic",
         [](CPrimitiveAlgorithmPath& p) {
             p.QuadTo({1, 1}, {2, 0});
         },
         {Primitive_Bezier, 0},
         2,
         0},
        {"degenerate quad appends nothing",
         [](CPrimitiveAlgorithmPath& p) {
             p.MoveTo(3, 3);
             p.QuadTo({3, 3}, {3, 3});
         },
         {0},
         3,
         3},
        {"ellipse closes",
         [](CPrimitiveAlgorithmPath& p) {
             p.LineTo(1, 0);
             p.AddEllipse(10, 10, 2, 1);
         },
         {Primitive_PolyLine, Primitive_Elliptic, 0},
         12,
         10},
        {"arc move starts a pending circle",
         [&r](CPrimitiveAlgorithmPath& p) { p.ArcMoveTo(r, 30); },
         {Primitive_Circle},
         100,
         50},
        {"arc then line: no line drawn",
         [&r](CPrimitiveAlgorithmPath& p) {
             p.ArcMoveTo(r, 0);
             p.LineTo(7, 8);
         },
         {Primitive_Circle, 0},
         7,
         8},
        {"arc then two lines",
         [&r](CPrimitiveAlgorithmPath& p) {
             p.ArcMoveTo(r, 0);
             p.LineTo(7, 8);
             p.LineTo(9, 9);
         },
         {Primitive_Circle, Primitive_PolyLine},
         9,
         9},
        {"arc to without a circle is ignored",
         [&r](CPrimitiveAlgorithmPath& p) {
             p.LineTo(2, 0);
             p.ArcTo(r, 0, 90);
         },
         {Primitive_PolyLine},
         2,
         0},
        {"arc move closes a polyline",
         [&r](CPrimitiveAlgorithmPath& p) {
             p.LineTo(2, 0);
             p.ArcMoveTo(r, 0);
         },
         {Primitive_PolyLine, Primitive_Circle},
         100,
         50},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CPrimitiveAlgorithmPath path;
        c.build(path);
        EXPECT_EQ(Kinds(path), c.kinds);
        ExpectPoint(path.CurrentPosition(), c.curX, c.curY);
        // Length closes whatever is pending.
        path.Length();
        EXPECT_EQ(path.GetPendingElement(), nullptr);
    }
}

TEST(PrimitiveAlgorithmPath, LineToOnANewPathStartsAtTheOrigin) {
    CPrimitiveAlgorithmPath path;
    path.LineTo(CHQ_Point2D(3, 4));
    EXPECT_EQ(path.Length(), 5.0);
    ExpectPoint(path.PointAtPercent(0), 0, 0);
    ExpectPoint(path.PointAtPercent(0.5), 1.5, 2);
}

TEST(PrimitiveAlgorithmPath, ArcAfterArcMoveIsClockwiseAndCurrentIsItsEnd) {
    const PathRect r(0, 0, 100, 100);
    CPrimitiveAlgorithmPath path;
    path.ArcMoveTo(r, 30);
    ASSERT_NE(PendingCircle(path), nullptr);
    EXPECT_EQ(PendingCircle(path)->GetStartAngle(), -30.0);
    EXPECT_EQ(PendingCircle(path)->GetSweepAngle(), 360.0);
    ExpectPoint(path.CurrentPosition(), 100, 50);

    path.ArcTo(r, 30, 90);
    const CCircleAlgorithm* circle = PendingCircle(path);
    ASSERT_NE(circle, nullptr);
    EXPECT_EQ(circle->GetStartAngle(), -30.0);
    EXPECT_EQ(circle->GetSweepAngle(), -90.0);
    const double h = 50 * std::sqrt(3.0) / 2;
    ExpectPoint(circle->PointAt(0), 50 + h, 25);  // circle angle -30
    ExpectPoint(circle->PointAt(1), 25, 50 - h);  // circle angle -120
    ExpectPoint(path.CurrentPosition(), 25, 50 - h);
    EXPECT_NEAR(path.Length(), 50 * kPi / 2, kTol);  // a quarter turn, counted positively
    ExpectPoint(path.PointAtPercent(0), 50 + h, 25);
    ExpectPoint(path.PointAtPercent(1), 25, 50 - h);
}

TEST(PrimitiveAlgorithmPath, ArcToReshapesCentreAndRadius) {
    CPrimitiveAlgorithmPath path;
    path.ArcMoveTo(PathRect(0, 0, 10, 10), 0);
    path.ArcTo(PathRect(100, 100, 40, 40), 90, 180);  // circle angles -90 to -270
    const CCircleAlgorithm* circle = PendingCircle(path);
    ASSERT_NE(circle, nullptr);
    EXPECT_EQ(circle->GetCenterX(), 120.0);
    EXPECT_EQ(circle->GetRadius(), 20.0);
    ExpectPoint(path.CurrentPosition(), 120, 120 + 20);  // -270 degrees
    ExpectPoint(path.PointAtPercent(0), 120, 100);       // -90 degrees
}

TEST(PrimitiveAlgorithmPath, QuadRaisedToCubic) {
    CPrimitiveAlgorithmPath path;
    path.MoveTo(0, 0);
    path.QuadTo({3, 6}, {6, 0});
    ASSERT_EQ(path.GetElementCount(), 1u);
    const auto* curve = static_cast<const CBezierCurveAlgorithm*>(path.GetElement(0));
    EXPECT_EQ(curve->GetP1().x, 2.0);
    EXPECT_EQ(curve->GetP1().y, 4.0);
    EXPECT_EQ(curve->GetP2().x, 4.0);
    EXPECT_EQ(curve->GetP2().y, 4.0);
    ExpectPoint(curve->PointAt(0.5), 3, 3);  // the quadratic's apex
    // Only all three points equal counts as degenerate.
    path.QuadTo({6, 0}, {6, 1});
    path.QuadTo({7, 7}, {6, 1});
    EXPECT_EQ(path.GetElementCount(), 3u);
}

TEST(PrimitiveAlgorithmPath, PointAtPercentOnEachSegmentKind) {
    struct Case {
        std::string name;
        std::function<void(CPrimitiveAlgorithmPath&)> build;
        double length;
        double x0, y0, xm, ym, x1, y1;  // at fractions 0, 0.5 and 1
        double tol, lengthTol;
    } cases[] = {
        {"polyline",
         [](CPrimitiveAlgorithmPath& p) {
             p.MoveTo(1, 1);
             p.LineTo(11, 1);
             p.LineTo(11, 11);
         },
         20, 1, 1, 11, 1, 11, 11, kTol, kTol},
        {"straight cubic",
         [](CPrimitiveAlgorithmPath& p) {
             p.MoveTo(1, 1);
             p.CubicTo({4, 1}, {7, 1}, {10, 1});
         },
         9, 1, 1, 5.5, 1, 10, 1, kTol, kTol},
        {"ellipse", [](CPrimitiveAlgorithmPath& p) { p.AddEllipse(CHQ_Point2D(5, 5), 2, 1); }, 9.6884, 7, 5,
         3, 5, 7, 5, kTol, 3e-3},
        {"ellipse from a rectangle", [](CPrimitiveAlgorithmPath& p) { p.AddEllipse(PathRect(3, 4, 4, 2)); },
         9.6884, 7, 5, 3, 5, 7, 5, kTol, 3e-3},
        {"half circle",
         [](CPrimitiveAlgorithmPath& p) {
             PathRect r(0, 0, 2, 2);
             p.ArcMoveTo(r, 0);
             p.ArcTo(r, 0, 180);
         },
         kPi, 2, 1, 1, 0, 0, 1, kTol, kTol},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CPrimitiveAlgorithmPath path;
        c.build(path);
        EXPECT_NEAR(path.Length(), c.length, c.lengthTol);
        ExpectPoint(path.PointAtPercent(0), c.x0, c.y0, c.tol);
        ExpectPoint(path.PointAtPercent(0.5), c.xm, c.ym, c.tol);
        ExpectPoint(path.PointAtPercent(1), c.x1, c.y1, c.tol);
        ExpectPoint(path.PointAtPercent(1.5), 0, 0, 0);
        ExpectPoint(path.PointAtPercent(std::nan("")), 0, 0, 0);
        ExpectPoint(path.PointAtPercent(-0.5), c.x0, c.y0, c.tol);  // the start, not beyond it
    }
}

TEST(PrimitiveAlgorithmPath, FractionsAcrossSegments) {
    CPrimitiveAlgorithmPath path;
    path.MoveTo(1, 1);
    path.LineTo(11, 1);  // 10
    path.MoveTo(11, 1);
    path.CubicTo({11, 11}, {11, 21}, {11, 31});  // 30, straight
    struct Case {
        double f, x, y;
    } cases[] = {{0, 1, 1}, {0.125, 6, 1}, {0.25, 11, 1}, {0.5, 11, 11}, {0.625, 11, 16}, {1, 11, 31}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.f);
        ExpectPoint(path.PointAtPercent(c.f), c.x, c.y);
    }
    const CHQ_Point2D end = path.PointAtPercent(1);
    EXPECT_EQ(end.x, 11.0);  // the last segment's PointAt(1), exactly
    EXPECT_EQ(end.y, 31.0);
}

TEST(PrimitiveAlgorithmPath, ZeroLengthSegments) {
    // Trailing zero-length segments are never reached by fraction 1.
    CPrimitiveAlgorithmPath trailing;
    trailing.LineTo(10, 0);
    trailing.MoveTo(50, 50);
    trailing.LineTo(50, 50);
    ExpectPoint(trailing.PointAtPercent(1), 10, 0);

    // A leading zero-length segment (a circle of radius 0) answers its start
    // at fraction 0 instead of evaluating 0/0.
    CPrimitiveAlgorithmPath leading;
    leading.ArcMoveTo(PathRect(5, 5, 0, 0), 30);
    leading.LineTo(5, 5);  // closes the circle, only moves
    leading.LineTo(15, 5);
    ExpectPoint(leading.PointAtPercent(0), 5, 5);
    ExpectPoint(leading.PointAtPercent(0.5), 10, 5);

    // A path of total length 0 answers (0, 0) everywhere.
    CPrimitiveAlgorithmPath flat;
    flat.MoveTo(3, 3);
    flat.LineTo(3, 3);
    flat.ArcMoveTo(PathRect(3, 3, 0, 0), 45);
    EXPECT_EQ(flat.Length(), 0.0);
    for (double f : {0.0, 0.5, 1.0}) ExpectPoint(flat.PointAtPercent(f), 0, 0, 0);

    CPrimitiveAlgorithmPath empty;
    EXPECT_EQ(empty.Length(), 0.0);
    ExpectPoint(empty.PointAtPercent(0), 0, 0, 0);
    EXPECT_EQ(empty.GetElement(0), nullptr);

    // A cubic whose points all coincide measures rounding noise at most and
    // answers finite points at or next to its point.
    CPrimitiveAlgorithmPath dot;
    dot.MoveTo(0.1, 0.7);
    dot.CubicTo({0.1, 0.7}, {0.1, 0.7}, {0.1, 0.7});
    EXPECT_LT(dot.Length(), 1e-12);
    for (double f : {0.0, 0.5, 1.0}) {
        const CHQ_Point2D p = dot.PointAtPercent(f);
        EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y));
    }
}

TEST(PrimitiveAlgorithmPath, ArcWithItsRadiiMeasuresEveryPart) {
    // An arc shaped clockwise, then the two radii of a sector: the arc's
    // length counts positively, so the fractions walk arc, then radii.
    const PathRect r(0, 0, 100, 100);
    CPrimitiveAlgorithmPath path;
    path.ArcMoveTo(r, 90);
    path.ArcTo(r, 90, 270);
    const CHQ_Point2D b = path.CurrentPosition();
    const CHQ_Point2D a = path.PointAtPercent(0);
    path.MoveTo(b);
    path.LineTo(50, 50);
    path.LineTo(a);
    const double arc = 50 * 2 * kPi * 0.75;
    EXPECT_NEAR(path.Length(), arc + 100, kTol);
    ExpectPoint(path.PointAtPercent(arc / (arc + 100)), b.x, b.y);
    ExpectPoint(path.PointAtPercent(1), a.x, a.y);
    ExpectPoint(a, 50, 0);
    ExpectPoint(b, 100, 50);
}

TEST(PrimitiveAlgorithmPath, CopiesAreDeepAndIndependent) {
    auto original = std::make_unique<CPrimitiveAlgorithmPath>();
    original->MoveTo(0, 0);
    original->CubicTo({1, 1}, {2, 1}, {3, 0});
    original->LineTo(10, 0);  // pending polyline

    CPrimitiveAlgorithmPath copy(*original);
    std::unique_ptr<CPrimitiveAlgorithmPath> clone(original->Clone());
    CPrimitiveAlgorithmPath assigned;
    assigned.LineTo(99, 99);
    assigned = *original;
    ASSERT_NE(copy.GetPendingElement(), nullptr);
    EXPECT_NE(copy.GetPendingElement(), original->GetPendingElement());
    EXPECT_NE(copy.GetElement(0), original->GetElement(0));

    const double length = original->Length();
    const CHQ_Point2D mid = original->PointAtPercent(0.5);
    original->LineTo(20, 0);
    original.reset();  // the copies must not share anything with it

    for (CPrimitiveAlgorithmPath* p : {&copy, clone.get(), &assigned}) {
        EXPECT_EQ(Kinds(*p), (std::vector<int>{Primitive_Bezier, Primitive_PolyLine}));
        ExpectPoint(p->CurrentPosition(), 10, 0);
        EXPECT_EQ(p->Length(), length);
        ExpectPoint(p->PointAtPercent(0.5), mid.x, mid.y, 0);
    }

    CPrimitiveAlgorithmPath moved(std::move(copy));
    EXPECT_EQ(moved.GetElementCount(), 2u);
    EXPECT_EQ(copy.GetElementCount(), 0u);  // NOLINT: a moved-from path is empty
    EXPECT_EQ(copy.Length(), 0.0);
    const CPrimitiveAlgorithmPath& self = assigned;  // through a reference: a deliberate self-assignment
    assigned = self;                                 // keeps the path
    EXPECT_EQ(assigned.GetElementCount(), 2u);
}

// SPDX-License-Identifier: Apache-2.0
// Percent positions on paths, and the sampling of paths by a step.
#include <geomkit/MathUtilityFunctions.h>
#include <geomkit/PrimitiveUtilityFunctions.h>
#include <pathalgo/PrimitiveAlgorithmPath.h>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

using HQ::CHQ_Point2D;
using HQ::CPrimitiveAlgorithmPath;
using HQ::PathRect;
using M = HQ::CHQGS_MathUtilityFunctions;
using P = HQ::CHQGS_PrimitiveUtilityFunctions;
using Line = std::vector<CHQ_Point2D>;

namespace {

// The polyline (0, 0) -> (10, 0) -> (10, 10) as a path.
CPrimitiveAlgorithmPath EllPath() {
    CPrimitiveAlgorithmPath path;
    path.MoveTo(0, 0);
    path.LineTo(10, 0);
    path.LineTo(10, 10);
    return path;
}

// A quarter circle of radius 50 about (50, 50).
CPrimitiveAlgorithmPath ArcPath() {
    CPrimitiveAlgorithmPath path;
    const PathRect r(0, 0, 100, 100);
    path.ArcMoveTo(r, 0);
    path.ArcTo(r, 0, 90);
    return path;
}

}  // namespace

TEST(PercentPath, PositionsOnASampledPath) {
    struct Case {
        std::vector<float> fractions;
        Line positions, directions;
        size_t pieces;
    } cases[] = {
        {{0.25f, 0.75f}, {CHQ_Point2D(5, 0), CHQ_Point2D(10, 5)}, {CHQ_Point2D(1, 0), CHQ_Point2D(0, 1)}, 3},
        {{0.0f, 1.0f}, {CHQ_Point2D(0, 0), CHQ_Point2D(10, 10)}, {CHQ_Point2D(1, 0), CHQ_Point2D(0, 1)}, 1},
        {{0.5f}, {CHQ_Point2D(10, 0)}, {CHQ_Point2D(0, 1)}, 2},
        {{0.333f, 2.0f},
         {CHQ_Point2D(6.66, 0), CHQ_Point2D(0, 0)},
         {CHQ_Point2D(1, 0), CHQ_Point2D(0, 0)},
         2},
    };
    for (const Case& c : cases) {
        CPrimitiveAlgorithmPath path = EllPath();
        Line positions, directions;
        const std::vector<Line> pieces = P::GetPercentPos(path, c.fractions, positions, directions);
        ASSERT_EQ(positions.size(), c.fractions.size());
        ASSERT_EQ(directions.size(), c.fractions.size());
        EXPECT_EQ(pieces.size(), c.pieces);
        for (size_t i = 0; i < positions.size(); ++i) {
            EXPECT_NEAR(positions[i].x, c.positions[i].x, 1e-5);
            EXPECT_NEAR(positions[i].y, c.positions[i].y, 1e-5);
            EXPECT_NEAR(directions[i].x, c.directions[i].x, 1e-6);
            EXPECT_NEAR(directions[i].y, c.directions[i].y, 1e-6);
        }
        // The path goes through the polyline algorithm on its 101 samples:
        // all pieces together hold them plus the inserted split points.
        size_t points = 0;
        for (const Line& piece : pieces) points += piece.size();
        EXPECT_GE(points, 101u);

        // The form without directions answers the same positions and pieces.
        Line positions2;
        EXPECT_EQ(P::GetPercentPos(path, c.fractions, positions2).size(), pieces.size());
        ASSERT_EQ(positions2.size(), positions.size());
        EXPECT_EQ(positions2[0].x, positions[0].x);

        CHQ_Point2D one(-1, -1);
        P::GetPercentPos(path, c.fractions[0], one);
        EXPECT_EQ(one.x, positions[0].x);
        EXPECT_EQ(one.y, positions[0].y);
    }
}

TEST(PercentPath, SamplesAreTheHundredths) {
    // On an arc the sampled polyline is the 101 points at t = k / 100; the
    // pieces of fractions 0 and 1 are exactly that polyline (ends rounded to
    // single precision).
    CPrimitiveAlgorithmPath path = ArcPath();
    Line positions, directions;
    const std::vector<Line> pieces = P::GetPercentPos(path, {0.0f, 1.0f}, positions, directions);
    ASSERT_EQ(pieces.size(), 1u);
    ASSERT_EQ(pieces[0].size(), 101u);
    double t = 0.0;
    for (size_t k = 1; k < 100; ++k) {
        t += 0.01;
        const CHQ_Point2D expected = path.PointAtPercent(t);
        EXPECT_EQ(pieces[0][k].x, expected.x) << k;
        EXPECT_EQ(pieces[0][k].y, expected.y) << k;
    }
    const CHQ_Point2D end = path.PointAtPercent(1.0);
    EXPECT_EQ(pieces[0][100].x, static_cast<double>(static_cast<float>(end.x)));
    // Every sample lies on the circle.
    for (const CHQ_Point2D& p : pieces[0]) EXPECT_NEAR(std::hypot(p.x - 50, p.y - 50), 50.0, 1e-4);
}

TEST(PercentPath, SamplingByStep) {
    enum Kind { ArcMath, ArcPrim, Circle, LineKind };
    struct Case {
        Kind kind;
        double step;
        size_t count;
        bool exchanged;
    } cases[] = {
        {ArcMath, 0.25, 5, true},
        {ArcPrim, 0.25, 5, true},
        {Circle, 0.25, 5, false},
        {LineKind, 0.25, 5, false},
        {ArcMath, 0.1, 11, true},
        {Circle, 0.3, 5, false},  // 0, .3, .6, .9, 1
        {ArcPrim, 1.0, 2, true},
        {Circle, 5.0, 2, false},
        // Steps with which a single-precision t never reaches 1: nothing.
        {ArcMath, 0.0, 0, true},
        {ArcPrim, -0.25, 0, true},
        {Circle, 1e-8, 0, false},
        {LineKind, std::numeric_limits<double>::quiet_NaN(), 0, false},
    };
    for (const Case& c : cases) {
        CPrimitiveAlgorithmPath path = ArcPath();
        Line pts;
        switch (c.kind) {
            case ArcMath:
                pts = M::calculatePointsOnPainterPathOfArc(path, c.step);
                break;
            case ArcPrim:
                pts = P::calculatePointsOnPainterPathOfArc(path, c.step);
                break;
            case Circle:
                pts = P::calculatePointsOnPainterPathofCircle(path, c.step);
                break;
            case LineKind:
                pts = P::calculatePointsOnPainterPathofLine(path, c.step);
                break;
        }
        ASSERT_EQ(pts.size(), c.count) << "kind " << c.kind << " step " << c.step;
        float t = 0.0f;
        for (size_t i = 0; i < pts.size(); ++i) {
            const CHQ_Point2D p = path.PointAtPercent(i + 1 == pts.size() ? 1.0 : t);
            t += c.step;
            const CHQ_Point2D expected = c.exchanged ? CHQ_Point2D(p.y, p.x) : p;
            EXPECT_EQ(pts[i].x, expected.x) << "kind " << c.kind << " point " << i;
            EXPECT_EQ(pts[i].y, expected.y) << "kind " << c.kind << " point " << i;
        }
    }
}

TEST(PercentPath, EmptyPathAnswersTheOrigin) {
    CPrimitiveAlgorithmPath path;
    Line positions, directions;
    const std::vector<Line> pieces = P::GetPercentPos(path, {0.5f}, positions, directions);
    ASSERT_EQ(positions.size(), 1u);
    EXPECT_EQ(positions[0].x, 0.0);
    EXPECT_EQ(positions[0].y, 0.0);
    EXPECT_EQ(directions[0].x, 0.0);
    // The 101 samples of an empty path are all (0, 0): one piece of them.
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_EQ(pieces[0].size(), 101u);
}

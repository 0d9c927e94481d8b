// SPDX-License-Identifier: Apache-2.0
// Arrow heads and the line types that turn key points into Bezier chains.
#include <geomkit/MathUtilityFunctions.h>

#include <gtest/gtest.h>

#include "GeometryTestSupport.h"

#include <cmath>
#include <functional>
#include <random>
#include <string>
#include <vector>

using namespace HQ;
using M = CHQGS_MathUtilityFunctions;

namespace {

using Pts = std::vector<CHQ_Point2D>;

using namespace sitplot_test;

Pts Type216(const Pts& in) {
    Pts out;
    M::LineType_2_1_6(in, out);
    return out;
}

struct Builder {
    const char* name;
    std::function<Pts(const Pts&)> build;
    // Expected chain length for n key points.
    std::function<std::size_t(std::size_t)> length;
    bool closed;
};

const std::vector<Builder>& Builders() {
    static const std::vector<Builder> builders{
        {"2_0_0", M::LineType_2_0_0, [](std::size_t n) { return n < 2 ? 0 : 3 * n - 2; }, false},
        {"2_0_1", M::LineType_2_0_1, [](std::size_t n) { return n < 2 ? 0 : 3 * n - 2; }, false},
        {"2_1_3", M::LineType_2_1_3, [](std::size_t n) { return n < 2 ? 0 : 3 * n - 2; }, false},
        {"2_1_6", Type216, [](std::size_t n) { return n < 3 ? 0 : 3 * n - 2; }, false},
        {"2_0_2", M::LineType_2_0_2, [](std::size_t n) { return n == 0   ? 0
                                                                : n == 2 ? 10
                                                                         : 3 * n + 1; },
         true},
        {"3_0_0", M::LineType_3_0_0, [](std::size_t n) { return n == 2 || n == 3 ? 13 : 0; }, true},
    };
    return builders;
}

// Sine of the angle between the two arms at chain position v; the arms
// of a smooth joint are opposite, so this is 0 and their dot product < 0.
void ExpectSmoothAt(const Pts& r, std::size_t before, std::size_t v, std::size_t after, double tol,
                    const std::string& what) {
    const double ax = r[before].x - r[v].x, ay = r[before].y - r[v].y;
    const double bx = r[after].x - r[v].x, by = r[after].y - r[v].y;
    const double la = std::hypot(ax, ay), lb = std::hypot(bx, by);
    if (la == 0.0 || lb == 0.0) return;
    EXPECT_NEAR((ax * by - ay * bx) / (la * lb), 0.0, tol) << what << " at " << v;
    EXPECT_LT(ax * bx + ay * by, 0.0) << what << " at " << v;
}

}  // namespace

TEST(ComputeArrowPointsType, HeadsOfTheStandardProportions) {
    struct Case {
        const char* what;
        Pts in;
        double w;
        Pts expected;  // tip, first barb, notch, second barb
    } cases[] = {
        {"standard head", {{0, 0}, {100, 0}}, 1, {{100, 0}, {88, -2.5}, {92, 0}, {88, 2.5}}},
        {"short two-point line", {{0, 0}, {100, 0}}, 10, {{100, 0}, {0, -25}, {40, 0}, {0, 25}}},
        {"exactly one head long", {{0, 0}, {120, 0}}, 10, {{120, 0}, {0, -25}, {40, 0}, {0, 25}}},
        {"three points never shorten",
         {{-50, 0}, {0, 0}, {10, 0}},
         1,
         {{10, 0}, {-2, -2.5}, {2, 0}, {-2, 2.5}}},
        {"upwards", {{0, 0}, {0, 100}}, 1, {{0, 100}, {2.5, 88}, {0, 92}, {-2.5, 88}}},
        {"last segment only",
         {{7, 7}, {0, 0}, {30, 40}},
         2,
         {{30, 40}, {15.6 + 4, 20.8 - 3}, {20.4, 27.2}, {15.6 - 4, 20.8 + 3}}},
    };
    for (const Case& c : cases) {
        const Pts r = M::ComputeArrowPointsType(c.in, c.w);
        ASSERT_EQ(r.size(), 4u) << c.what;
        for (std::size_t i = 0; i < 4; ++i)
            EXPECT_TRUE(PtNear(r[i], c.expected[i].x, c.expected[i].y, 1e-5)) << c.what << " " << i;
    }
}

TEST(ComputeArrowPointsType, TooFewPointsGiveNothing) {
    EXPECT_TRUE(M::ComputeArrowPointsType({}, 1).empty());
    EXPECT_TRUE(M::ComputeArrowPointsType({{3, 4}}, 1).empty());
}

TEST(LineTypes, ChainLengthsAndKeyPointPositions) {
    std::mt19937 rng(1);
    for (const Builder& b : Builders()) {
        for (std::size_t n : {0u, 1u, 2u, 3u, 4u, 7u, 25u}) {
            const Pts in = RandomPoints(rng, n);
            const Pts r = b.build(in);
            ASSERT_EQ(r.size(), b.length(n)) << b.name << " with " << n << " points";
            if (r.empty() || std::string(b.name) == "3_0_0") continue;
            // Key points sit at every third position, unchanged.
            for (std::size_t i = 0; i < n && 3 * i < r.size(); ++i)
                EXPECT_TRUE(Same(r[3 * i], in[i])) << b.name << " key point " << i;
            if (b.closed) {
                EXPECT_TRUE(Same(r.front(), r.back())) << b.name;
            }
        }
    }
}

TEST(LineTypes, TwoPointsGiveStraightChains) {
    const Pts in{{1, 2}, {7, 11}};
    const Pts r00 = M::LineType_2_0_0(in);
    ASSERT_EQ(r00.size(), 4u);
    EXPECT_TRUE(PtNear(r00[1], 3, 5, 1e-12));
    EXPECT_TRUE(PtNear(r00[2], 5, 8, 1e-12));
    for (const Pts& r : {M::LineType_2_0_1(in), M::LineType_2_1_3(in)}) {
        ASSERT_EQ(r.size(), 4u);
        EXPECT_TRUE(Same(r[0], in[0]) && Same(r[1], in[0]) && Same(r[2], in[1]) && Same(r[3], in[1]));
    }
}

TEST(LineTypes, InteriorJointsAreSmooth) {
    std::mt19937 rng(2);
    for (int trial = 0; trial < 100; ++trial) {
        const Pts in = RandomPoints(rng, 3 + trial % 6);
        const std::size_t n = in.size();
        const Pts r00 = M::LineType_2_0_0(in), r01 = M::LineType_2_0_1(in), r02 = M::LineType_2_0_2(in);
        const Pts r16 = Type216(in);
        for (std::size_t i = 1; i + 1 < n; ++i) {
            ExpectSmoothAt(r00, 3 * i - 1, 3 * i, 3 * i + 1, 1e-12, "2_0_0");
            ExpectSmoothAt(r01, 3 * i - 1, 3 * i, 3 * i + 1, 1e-12, "2_0_1");
            // Arms of 2_0_0: a third of the neighbouring segment.
            EXPECT_NEAR(Dist(r00[3 * i - 1], in[i]), Dist(in[i - 1], in[i]) / 3, 1e-5);
            EXPECT_NEAR(Dist(r00[3 * i + 1], in[i]), Dist(in[i + 1], in[i]) / 3, 1e-5);
        }
        // 2_1_6 turns its arms by single-precision angles: coarser.
        for (std::size_t i = 1; i + 2 < n; ++i)
            ExpectSmoothAt(r16, 3 * i - 1, 3 * i, 3 * i + 1, 1e-3, "2_1_6");
        for (std::size_t i = 1; i < n; ++i) ExpectSmoothAt(r02, 3 * i - 1, 3 * i, 3 * i + 1, 1e-12, "2_0_2");
        ExpectSmoothAt(r02, 3 * n - 1, 0, 1, 1e-12, "2_0_2 closing");
    }
}

TEST(LineType_2_0_1, ControlPointsAroundAVertex) {
    struct Case {
        const char* what;
        Pts in;
        CHQ_Point2D before, after;  // arms around the key point 1
    } cases[] = {
        // Equal arms at a right angle: the tangent is parallel to the chord,
        // each arm a third of the neighbouring segment long.
        {"symmetric",
         {{-10, 0}, {0, 10}, {10, 0}},
         {-10 * std::sqrt(2.0) / 3, 10},
         {10 * std::sqrt(2.0) / 3, 10}},
        {"next on vertex", {{0, 0}, {3, 3}, {3, 3}}, {2, 2}, {3, 3}},
        {"previous on vertex", {{4, 4}, {4, 4}, {10, 7}}, {4, 4}, {6, 5}},
        {"folds back", {{0, 0}, {5, 5}, {0, 0}}, {5, 5}, {5, 5}},
        // Evenly spaced on a straight line: the arm-length ratio rounds just
        // above 1 here and must still give arms along the line.
        {"straight, even", {{-19.25, 0}, {0, 0}, {19.25, 0}}, {-19.25 / 3, 0}, {19.25 / 3, 0}},
        {"straight, even, upwards", {{0, -36.25}, {0, 0}, {0, 36.25}}, {0, -36.25 / 3}, {0, 36.25 / 3}},
    };
    for (const Case& c : cases) {
        const Pts r = M::LineType_2_0_1(c.in);
        ASSERT_EQ(r.size(), 7u) << c.what;
        EXPECT_TRUE(PtNear(r[2], c.before.x, c.before.y, 1e-5)) << c.what;
        EXPECT_TRUE(PtNear(r[4], c.after.x, c.after.y, 1e-5)) << c.what;
    }
    // When the arm before P1 ends on P0, the end control point stays on P0.
    const Pts fold = M::LineType_2_0_1({{0, 0}, {5, 5}, {0, 0}});
    EXPECT_TRUE(Same(fold[1], fold[0]));
}

TEST(LineType_2_0_1, SymmetricVerticesGetArmsParallelToTheChord) {
    // Mirror-symmetric corners on a quarter-unit grid, among them cases where
    // rounding pushes the arm-length ratio above 1.
    int checked = 0;
    for (double x = 0.25; x <= 100; x += 1.75) {
        for (double y = -50; y <= 50; y += 0.75) {
            const Pts r = M::LineType_2_0_1({{-x, y}, {0, 0}, {x, y}});
            ASSERT_EQ(r.size(), 7u);
            EXPECT_LE(std::fabs(r[4].y), 1e-3 * std::fabs(r[4].x)) << x << ", " << y;
            EXPECT_GT(r[4].x, 0.0) << x << ", " << y;
            EXPECT_LT(r[2].x, 0.0) << x << ", " << y;
            ++checked;
        }
    }
    EXPECT_GT(checked, 7000);
}

TEST(LineType_2_0_1, FarArmIsRoundedAndArmsScaleWithTheirSegments) {
    std::mt19937 rng(4);
    for (int trial = 0; trial < 200; ++trial) {
        const Pts in = RandomPoints(rng, 3);
        const Pts r = M::LineType_2_0_1(in);
        const double dA = Dist(in[0], in[1]), dC = Dist(in[2], in[1]);
        // The arm towards the farther neighbour is turned with the rounding
        // rotation; the other arm is its opposite scaled by dn / df.
        const CHQ_Point2D& farArm = dA <= dC ? r[4] : r[2];
        const CHQ_Point2D& nearArm = dA <= dC ? r[2] : r[4];
        EXPECT_TRUE(IsFloat(farArm.x) && IsFloat(farArm.y));
        EXPECT_NEAR(Dist(nearArm, in[1]) / Dist(farArm, in[1]), std::min(dA, dC) / std::max(dA, dC), 1e-9);
        // Far arms lie between a third and 7/9 of their segments.
        const double far = Dist(farArm, in[1]) / std::max(dA, dC);
        EXPECT_GE(far, 1.0 / 3 - 1e-6);
        EXPECT_LE(far, 7.0 / 9 + 1e-6);
    }
}

TEST(LineType_2_1_3, DiffersOnlyInTheLastFivePositions) {
    std::mt19937 rng(8);
    for (std::size_t n : {2u, 3u, 4u, 6u, 10u}) {
        const Pts in = RandomPoints(rng, n);
        const Pts a = M::LineType_2_0_1(in), b = M::LineType_2_1_3(in);
        ASSERT_EQ(a.size(), b.size());
        const std::size_t m = b.size();
        for (std::size_t i = 0; i + 5 < m; ++i)
            EXPECT_TRUE(Same(a[i], b[i])) << n << " points, position " << i;
        EXPECT_TRUE(Same(b[m - 2], b[m - 1]));
        EXPECT_TRUE(Same(b[m - 3], b[m - 4]));
        if (n < 3) continue;
        // The incoming arm of the last interior vertex continues the last
        // segment backwards, two thirds of the segment before it long.
        const CHQ_Point2D& p = in[n - 2];
        const CHQ_Point2D& q = in[n - 1];
        const double d = Dist(p, in[n - 3]) * 2 / 3, l = Dist(p, q);
        EXPECT_TRUE(PtNear(b[m - 5], p.x - (q.x - p.x) / l * d, p.y - (q.y - p.y) / l * d, 1e-4));
    }
}

TEST(LineType_2_0_2, ClosedRings) {
    const Pts three = M::LineType_2_0_2({{0, 0}, {10, 0}, {5, 8}});
    ASSERT_EQ(three.size(), 10u);
    EXPECT_TRUE(Same(three.front(), three.back()));
    // Two points: the third vertex is P1 turned 90 degrees counterclockwise
    // about the midpoint.
    const Pts two = M::LineType_2_0_2({{0, 0}, {10, 0}});
    ASSERT_EQ(two.size(), 10u);
    EXPECT_TRUE(PtNear(two[6], 5, 5, 1e-6));
    EXPECT_TRUE(IsFloat(two[6].x) && IsFloat(two[6].y));
    const Pts slanted = M::LineType_2_0_2({{1, 1}, {3, 5}});
    EXPECT_TRUE(PtNear(slanted[6], 0, 4, 1e-6));
    // One point is a ring of one vertex: four copies of it, still closed.
    const Pts one = M::LineType_2_0_2({{1, 1}});
    ASSERT_EQ(one.size(), 4u);
    for (const CHQ_Point2D& p : one) EXPECT_TRUE(Same(p, {1, 1}));
    EXPECT_TRUE(M::LineType_2_0_2({}).empty());
}

TEST(LineType_2_1_6, AppendsAndBendsTheStartArm) {
    Pts out{{-1, -1}};
    M::LineType_2_1_6({{0, 0}, {10, 0}, {10, 10}}, out);
    ASSERT_EQ(out.size(), 8u);
    EXPECT_TRUE(PtNear(out[0], -1, -1, 0));  // earlier content stays
    EXPECT_TRUE(PtNear(out[1], 0, 0, 0));
    // Start arm: a third of P0P1, turned clockwise by the angle at P0
    // between the centroid (20/3, 10/3) and P2 (about 18.43 degrees).
    const double a = (45.0 - std::atan2(1.0, 2.0) * 180.0 / kPi) * kPi / 180.0;
    EXPECT_TRUE(PtNear(out[2], 10.0 / 3 * std::cos(a), -10.0 / 3 * std::sin(a), 1e-5));
    EXPECT_TRUE(IsFloat(out[2].x) && IsFloat(out[2].y));
    // Straight last segment: L, P1, P1, P2, P2 with L two thirds of P0P1
    // behind P1 along P1P2.
    EXPECT_TRUE(PtNear(out[3], 10, -20.0 / 3, 1e-5));
    EXPECT_TRUE(Same(out[4], {10, 0}) && Same(out[5], {10, 0}));
    EXPECT_TRUE(Same(out[6], {10, 10}) && Same(out[7], {10, 10}));

    Pts untouched{{4, 4}};
    M::LineType_2_1_6({{0, 0}, {1, 1}}, untouched);
    M::LineType_2_1_6({}, untouched);
    EXPECT_EQ(untouched.size(), 1u);
}

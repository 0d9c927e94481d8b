// SPDX-License-Identifier: Apache-2.0
// Bezier chain sampling, the turned control arm of the open line type and the
// kidney outline.
#include <geomkit/MathUtilityFunctions.h>

#include <gtest/gtest.h>

#include "GeometryTestSupport.h"

#include <cmath>
#include <random>
#include <vector>

using namespace HQ;
using M = CHQGS_MathUtilityFunctions;

namespace {

using Pts = std::vector<CHQ_Point2D>;

using namespace sitplot_test;

// Reference cubic by de Casteljau in double precision.
CHQ_Point2D Cubic(const CHQ_Point2D* p, double t) {
    auto lerp = [](const CHQ_Point2D& a, const CHQ_Point2D& b, double s) {
        return CHQ_Point2D(a.x + (b.x - a.x) * s, a.y + (b.y - a.y) * s);
    };
    const CHQ_Point2D a = lerp(p[0], p[1], t), b = lerp(p[1], p[2], t), c = lerp(p[2], p[3], t);
    return lerp(lerp(a, b, t), lerp(b, c, t), t);
}

}  // namespace

TEST(CalcBezierCurve, PointCounts) {
    struct Case {
        std::size_t points;
        int steps;
        std::size_t expected;
    } cases[] = {
        {0, 10, 0},  {3, 10, 0},  {4, 10, 11},  // one segment: both end points
        {7, 10, 22}, {5, 10, 11},               // a trailing incomplete segment is ignored
        {10, 4, 15}, {4, 0, 2},   {4, -5, 2},   // steps below 1 count as 1
        {4, 1, 2},   {31, 3, 40},
    };
    std::mt19937 rng(7);
    for (const Case& c : cases) {
        const Pts in = RandomPoints(rng, c.points);
        EXPECT_EQ(M::CalcBezierCurve(in, c.steps).size(), c.expected)
            << c.points << " points, steps " << c.steps;
    }
}

TEST(CalcBezierCurve, FollowsTheCubicInSinglePrecision) {
    std::mt19937 rng(11);
    for (int trial = 0; trial < 50; ++trial) {
        const int steps = 1 + trial % 17;
        const Pts in = RandomPoints(rng, 3 * (1 + trial % 4) + 1);
        const Pts out = M::CalcBezierCurve(in, steps);
        const std::size_t segments = (in.size() - 1) / 3;
        ASSERT_EQ(out.size(), segments * (steps + 1));
        const float dt = static_cast<float>(1.0 / steps);
        for (std::size_t s = 0; s < segments; ++s) {
            float t = 0.0f;
            for (int k = 0; k <= steps; ++k, t += dt) {
                const CHQ_Point2D& got = out[s * (steps + 1) + k];
                ASSERT_TRUE(IsFloat(got.x) && IsFloat(got.y)) << "not a single-precision value";
                const CHQ_Point2D want = Cubic(&in[3 * s], std::min(1.0f, t));
                // Single-precision coefficients of magnitude up to ~2000.
                EXPECT_TRUE(PtNear(got, want.x, want.y, 2e-3));
            }
            // Segment start is the key point rounded to single precision.
            EXPECT_EQ(out[s * (steps + 1)].x, static_cast<double>(static_cast<float>(in[3 * s].x)));
            EXPECT_EQ(out[s * (steps + 1)].y, static_cast<double>(static_cast<float>(in[3 * s].y)));
        }
        // A shared end point is emitted by both segments.
        for (std::size_t s = 1; s < segments; ++s)
            EXPECT_TRUE(
                PtNear(out[s * (steps + 1) - 1], out[s * (steps + 1)].x, out[s * (steps + 1)].y, 1e-4));
    }
}

TEST(CalcBezierCurve, SinglePrecisionParameterOvershootEmitsTheEndPoint) {
    // Ten single-precision steps of 0.1 add up to 1.0000001: the last sample
    // is the clamped end point a0 + a1 + a2 + a3, exactly (1, 1) here. A
    // double parameter (0.9999999999999999) or an unclamped one would miss it.
    const Pts in{{0, 0}, {0, 0}, {0, 0}, {1, 1}};
    const Pts out = M::CalcBezierCurve(in, 10);
    ASSERT_EQ(out.size(), 11u);
    EXPECT_EQ(out.back().x, 1.0);
    EXPECT_EQ(out.back().y, 1.0);
    // Inputs are taken in single precision.
    const Pts tenth{{0.1, 0.2}, {0.1, 0.2}, {0.1, 0.2}, {0.1, 0.2}};
    const Pts flat = M::CalcBezierCurve(tenth, 4);
    EXPECT_EQ(flat.front().x, static_cast<double>(0.1f));
    EXPECT_NE(flat.front().x, 0.1);
}

TEST(ComputeBeizerPts, CountsAndValues) {
    struct Case {
        std::size_t points;
        int steps;
        std::size_t expected;
    } cases[] = {
        {4, 10, 10}, {7, 10, 20}, {3, 10, 0}, {4, 0, 0}, {4, -2, 0}, {13, 1, 4}, {5, 6, 6},
    };
    std::mt19937 rng(3);
    for (const Case& c : cases) {
        const Pts in = RandomPoints(rng, c.points);
        const Pts out = M::ComputeBeizerPts(in, c.steps);
        ASSERT_EQ(out.size(), c.expected) << c.points << " points, steps " << c.steps;
        for (std::size_t j = 0; j < out.size(); ++j) {
            const std::size_t s = j / c.steps;
            const CHQ_Point2D want = Cubic(&in[3 * s], static_cast<double>(j % c.steps) / c.steps);
            EXPECT_TRUE(PtNear(out[j], want.x, want.y, 1e-9));
        }
        // The chain's last point is never emitted.
        for (const CHQ_Point2D& p : out) EXPECT_GT(Dist(p, in[3 * ((in.size() - 1) / 3)]), 1e-9);
    }
}

TEST(ComputeControlPoint_2_0_0, TurnAndArmByAngleRange) {
    // p1 at the origin, p3 on +x, p2 at `deg` degrees and distance 2. The arm
    // is p1->p2 turned counterclockwise by `turn` degrees, scaled by `factor`.
    struct Case {
        double deg, turn, factor;
    } cases[] = {
        {60, 50, 0.3},    {-60, -50, 0.3},     // up to 90: turn theta/1.2
        {90, 75, 0.3},                         // 90 itself belongs to the first range
        {120, 105, 0.26}, {-120, -105, 0.26},  // up to 135: theta - 15
        {160, 155, 0.22}, {-160, -155, 0.22},  // up to 180: theta - 5
        {135, 130, 0.22},
    };
    for (const Case& c : cases) {
        const double a = c.deg * kPi / 180.0;
        const CHQ_Point2D r =
            M::ComputeControlPoint_2_0_0({0, 0}, {2 * std::cos(a), 2 * std::sin(a)}, {10, 0});
        const double b = (c.deg + c.turn) * kPi / 180.0;
        EXPECT_TRUE(PtNear(r, 2 * c.factor * std::cos(b), 2 * c.factor * std::sin(b), 2e-6))
            << c.deg << " degrees";
    }
}

TEST(ComputeControlPoint_2_0_0, DegenerateInputsGiveZero) {
    const struct {
        CHQ_Point2D p1, p2, p3;
    } cases[] = {
        {{1, 1}, {5, 1}, {9, 1}},   // p2 on the ray p1->p3: angle 0
        {{1, 1}, {-5, 1}, {9, 1}},  // opposite ray: angle pi
        {{1, 1}, {4, 7}, {1, 1}},   // p1 and p3 coincide
        {{1, 1}, {4, 7}, {1.0000005, 0.9999995}},
        {{1, 1}, {1, 1}, {9, 3}},  // p2 on p1: no arm
    };
    for (const auto& c : cases) {
        const CHQ_Point2D r = M::ComputeControlPoint_2_0_0(c.p1, c.p2, c.p3);
        EXPECT_EQ(r.x, 0.0);
        EXPECT_EQ(r.y, 0.0);
    }
}

TEST(ComputeCtrPointsOfKidney, CountsOfInput) {
    struct Case {
        Pts in;
        std::size_t expected;
    } cases[] = {
        {{}, 0},
        {{{1, 1}}, 0},
        {{{0, 0}, {10, 0}}, 13},
        {{{3, 3}, {3, 3}}, 0},                  // coincident pair
        {{{3, 3}, {3.0000004, 3.0000004}}, 0},  // closer than the tolerance
        {{{0, 0}, {10, 0}, {4, 3}}, 13},
        {{{0, 0}, {10, 0}, {4, 3}, {1, 1}}, 0},
        {{{0, 0}, {10, 0}, {4, 3}, {1, 1}, {2, 2}}, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(M::ComputeCtrPointsOfKidney(c.in).size(), c.expected) << c.in.size() << " points";
        EXPECT_EQ(M::LineType_3_0_0(c.in).size(), c.expected) << c.in.size() << " points";
    }
}

TEST(ComputeCtrPointsOfKidney, ConcreteTriangle) {
    // Longest side (0,0)-(10,0); the third point (4,3) lies to its left, so
    // the chain runs N -> Q0 (0,0) -> Q2 (4,3) -> Q1 (10,0) -> N.
    const Pts k = M::ComputeCtrPointsOfKidney({{10, 0}, {4, 3}, {0, 0}});
    ASSERT_EQ(k.size(), 13u);
    EXPECT_TRUE(PtNear(k[3], 0, 0, 0));
    EXPECT_TRUE(PtNear(k[6], 4, 3, 0));
    EXPECT_TRUE(PtNear(k[9], 10, 0, 0));
    // N lies a tenth of |Q2 - M| beyond the midpoint M = (5, 0), away from Q2.
    EXPECT_TRUE(PtNear(k[0], 5.1, -0.3, 1e-6));
    EXPECT_TRUE(PtNear(k[12], 5.1, -0.3, 1e-6));
    // E1 and E2 flank N along the chord at a sixth of its length.
    EXPECT_TRUE(PtNear(k[1], 5.1 - 10.0 / 6.0, -0.3, 1e-6));
    EXPECT_TRUE(PtNear(k[11], 5.1 + 10.0 / 6.0, -0.3, 1e-6));
}

TEST(ComputeCtrPointsOfKidney, RoundOutlineProperties) {
    std::mt19937 rng(5);
    int checked = 0;
    for (int trial = 0; trial < 200; ++trial) {
        const Pts in = RandomPoints(rng, 3);
        const Pts k = M::ComputeCtrPointsOfKidney(in);
        ASSERT_EQ(k.size(), 13u);
        EXPECT_EQ(k.front().x, k.back().x);
        EXPECT_EQ(k.front().y, k.back().y);
        // The key points sit at 3, 6 and 9, each input once.
        for (const CHQ_Point2D& p : in) {
            int found = 0;
            for (int i : {3, 6, 9}) found += (k[i].x == p.x && k[i].y == p.y);
            EXPECT_EQ(found, 1);
        }
        // The turned arms are rounded to single precision.
        for (int i : {2, 4, 5, 7, 8, 10}) EXPECT_TRUE(IsFloat(k[i].x) && IsFloat(k[i].y)) << "arm " << i;
        // Smooth at every key point: the two arms are opposite, and the
        // tangent is perpendicular to the bisector of the inner angle, so
        // the outline bulges outwards at every vertex.
        const double minAngle = 5.0 * kPi / 180.0;
        bool thin = false;
        for (int v : {3, 6, 9}) {
            const CHQ_Point2D& q = k[v];
            const CHQ_Point2D& o1 = k[v == 3 ? 6 : 3];
            const CHQ_Point2D& o2 = k[v == 9 ? 6 : 9];
            const double ax = o1.x - q.x, ay = o1.y - q.y, bx = o2.x - q.x, by = o2.y - q.y;
            const double la = std::hypot(ax, ay), lb = std::hypot(bx, by);
            if (std::acos((ax * bx + ay * by) / (la * lb)) < minAngle) thin = true;
        }
        if (thin) continue;  // nearly degenerate triangles have ill-defined bisectors
        ++checked;
        for (int v : {3, 6, 9}) {
            const CHQ_Point2D& q = k[v];
            const CHQ_Point2D& o1 = k[v == 3 ? 6 : 3];
            const CHQ_Point2D& o2 = k[v == 9 ? 6 : 9];
            const double tx = k[v + 1].x - k[v - 1].x, ty = k[v + 1].y - k[v - 1].y;
            const double tl = std::hypot(tx, ty);
            const double c1x = k[v - 1].x - q.x, c1y = k[v - 1].y - q.y;
            const double c2x = k[v + 1].x - q.x, c2y = k[v + 1].y - q.y;
            EXPECT_NEAR((c1x * c2y - c1y * c2x) / (std::hypot(c1x, c1y) * std::hypot(c2x, c2y)), 0.0, 1e-5);
            const double bx = (o1.x - q.x) / Dist(o1, q) + (o2.x - q.x) / Dist(o2, q);
            const double by = (o1.y - q.y) / Dist(o1, q) + (o2.y - q.y) / Dist(o2, q);
            EXPECT_NEAR((tx * bx + ty * by) / (tl * std::hypot(bx, by)), 0.0, 1e-4) << "vertex " << v;
        }
    }
    EXPECT_GT(checked, 150);
}

TEST(ComputeCtrPointsOfKidney, TwoPointsGetAnApexToTheLeft) {
    const struct {
        CHQ_Point2D p0, p1;
    } cases[] = {{{0, 0}, {10, 0}}, {{3, -2}, {3, 8}}, {{-4, 6}, {20, -1}}};
    for (const auto& c : cases) {
        const Pts k = M::ComputeCtrPointsOfKidney({c.p0, c.p1});
        ASSERT_EQ(k.size(), 13u);
        const double d = Dist(c.p0, c.p1);
        const double h = std::tan(36.0 * kPi / 180.0) * d * 0.5;
        const double ux = (c.p1.x - c.p0.x) / d, uy = (c.p1.y - c.p0.y) / d;
        const CHQ_Point2D apex((c.p0.x + c.p1.x) * 0.5 - uy * h, (c.p0.y + c.p1.y) * 0.5 + ux * h);
        int apexFound = 0;
        for (int i : {3, 6, 9}) apexFound += Dist(k[i], apex) < 1e-5;
        EXPECT_EQ(apexFound, 1);
    }
}

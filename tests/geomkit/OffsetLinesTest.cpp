// SPDX-License-Identifier: Apache-2.0
// Offset polylines with mitred corners, the mirrored split and the removal of
// repeated vertices.
#include <geomkit/MathUtilityFunctions.h>

#include <gtest/gtest.h>

#include "GeometryTestSupport.h"

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

using namespace HQ;
using M = CHQGS_MathUtilityFunctions;

namespace {

using Pts = std::vector<CHQ_Point2D>;
using Line = std::vector<CHQ_Point3D>;

using namespace sitplot_test;

// Signed distance of p from the line a->b, positive on the left.
double LeftDistance(const CHQ_Point3D& p, const CHQ_Point3D& a, const CHQ_Point3D& b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    return (dx * (p.y - a.y) - dy * (p.x - a.x)) / std::hypot(dx, dy);
}

// A polyline whose corners turn by at most `maxTurnDeg` either way, with
// segments between 5 and 50 long.
Line RandomPolyline(std::mt19937& rng, std::size_t n, double maxTurnDeg) {
    std::uniform_real_distribution<double> len(5, 50), turn(-maxTurnDeg, maxTurnDeg), z(-3, 3);
    std::uniform_real_distribution<double> start(0, 2 * kPi);
    Line p{CHQ_Point3D(0, 0, z(rng))};
    double heading = start(rng);
    for (std::size_t i = 1; i < n; ++i) {
        const double l = len(rng);
        p.emplace_back(p.back().x + l * std::cos(heading), p.back().y + l * std::sin(heading), z(rng));
        heading += turn(rng) * kPi / 180;
    }
    return p;
}

Line Reversed(Line p) {
    std::reverse(p.begin(), p.end());
    return p;
}

}  // namespace

TEST(computerLeftPoint, Corners) {
    struct Case {
        const char* what;
        CHQ_Point3D a, b, c;
        float w;
        double ex, ey;
    } cases[] = {
        {"left turn: inside", {0, 0, 0}, {10, 0, 7}, {10, 10, 0}, 1, 9, 1},
        {"right turn: outside", {0, 0, 0}, {10, 0, 7}, {10, -10, 0}, 1, 11, 1},
        {"straight", {-10, 0, 0}, {0, 0, 7}, {10, 0, 0}, 2, 0, 2},
        {"straight downwards", {0, 10, 0}, {0, 0, 7}, {0, -10, 0}, 1, 1, 0},
        {"folds back", {0, 0, 0}, {10, 0, 7}, {0, 0, 0}, 1, 10, 1},
        {"previous on vertex", {10, 0, 0}, {10, 0, 7}, {20, 0, 0}, 1, 10, 1},
        {"all on one point", {3, 3, 0}, {3, 3, 7}, {3, 3, 0}, 1, 3, 3},
    };
    for (const Case& c : cases) {
        const CHQ_Point3D r = M::computerLeftPoint(c.a, c.b, c.c, c.w);
        EXPECT_TRUE(PtNear(r, c.ex, c.ey, 1e-6)) << c.what;
        EXPECT_EQ(r.z, 7.0) << c.what;
        // The right point is the left point of the reversed corner.
        const CHQ_Point3D l = M::computerLeftPoint(c.c, c.b, c.a, c.w);
        const CHQ_Point3D rr = M::computerRightPoint(c.a, c.b, c.c, c.w);
        EXPECT_EQ(rr.x, l.x);
        EXPECT_EQ(rr.y, l.y);
    }
}

TEST(computerLeftPoint, MitreOfSharpCornersIsCappedAtFiveWidths) {
    // Corners whose arms meet at `deg` degrees; below about 23 degrees the
    // mitre w / sin(deg / 2) would exceed 5w.
    struct Case {
        double deg;
        bool capped;
    } cases[] = {{2, true},   {10, true},  {20, true},  {22, true},
                 {24, false}, {30, false}, {60, false}, {120, false}};
    const float w = 1.5f;
    for (const Case& c : cases) {
        for (double sense : {1.0, -1.0}) {
            const double a = sense * c.deg * kPi / 180;
            const CHQ_Point3D r =
                M::computerLeftPoint({10, 0, 0}, {0, 0, 0}, {10 * std::cos(a), 10 * std::sin(a), 0}, w);
            const double d = std::hypot(r.x, r.y);
            const double mitre = w / std::sin(c.deg * kPi / 360);
            if (c.capped) {
                EXPECT_NEAR(d, w / 0.2f, 1e-5) << c.deg;
            } else {
                EXPECT_NEAR(d, mitre, 1e-5) << c.deg;
            }
            EXPECT_LE(d, 5 * w * (1 + 1e-6));
        }
    }
}

TEST(computerLeftPoints, StraightLines) {
    const Line line{{0, 0, 1}, {10, 0, 2}};
    const Line l = M::computerLeftPoints(line, 1, false), r = M::computerRightPoints(line, 1, false);
    ASSERT_EQ(l.size(), 2u);
    ASSERT_EQ(r.size(), 2u);
    EXPECT_TRUE(PtNear(l[0], 0, 1, 1e-12));
    EXPECT_TRUE(PtNear(l[1], 10, 1, 1e-12));
    EXPECT_TRUE(PtNear(r[0], 0, -1, 1e-12));
    EXPECT_TRUE(PtNear(r[1], 10, -1, 1e-12));
    EXPECT_EQ(l[0].z, 1.0);
    EXPECT_EQ(l[1].z, 2.0);
    EXPECT_TRUE(M::computerLeftPoints({{1, 1, 1}}, 1, false).empty());
    EXPECT_TRUE(M::computerRightPoints({}, 1, true).empty());
}

TEST(computerLeftPoints, ClosedRingUsesTheWrapAroundNeighbours) {
    const Line square{{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}};
    const Line in = M::computerLeftPoints(square, 1, true);
    const Line out = M::computerRightPoints(square, 1, true);
    const double inside[4][2] = {{1, 1}, {9, 1}, {9, 9}, {1, 9}};
    const double outside[4][2] = {{-1, -1}, {11, -1}, {11, 11}, {-1, 11}};
    ASSERT_EQ(in.size(), 4u);
    ASSERT_EQ(out.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(PtNear(in[i], inside[i][0], inside[i][1], 1e-6));
        EXPECT_TRUE(PtNear(out[i], outside[i][0], outside[i][1], 1e-6));
    }
    // Open, the same square gets straight ends.
    const Line open = M::computerLeftPoints(square, 1, false);
    EXPECT_TRUE(PtNear(open[0], 0, 1, 1e-6));
    EXPECT_TRUE(PtNear(open[3], 0, 9, 1e-6));
    // Two points closed are treated as open.
    const Line two = M::computerLeftPoints({{0, 0, 0}, {10, 0, 0}}, 1, true);
    EXPECT_TRUE(PtNear(two[0], 0, 1, 1e-12));
}

TEST(computerLeftPoints, OffsetsKeepTheWidthFromBothSegments) {
    std::mt19937 rng(13);
    for (int trial = 0; trial < 100; ++trial) {
        // Every fourth line runs straight; the others turn up to 150 degrees.
        const Line p = RandomPolyline(rng, 2 + trial % 9, trial % 4 == 0 ? 0 : 150);
        const float w = 0.5f + (trial % 7);
        for (bool closed : {false, true}) {
            const Line l = M::computerLeftPoints(p, w, closed);
            ASSERT_EQ(l.size(), p.size());
            const std::size_t n = p.size();
            const bool ring = closed && n >= 3;
            for (std::size_t i = 0; i < n; ++i) {
                EXPECT_EQ(l[i].z, p[i].z);
                const bool hasPrev = i > 0 || ring, hasNext = i + 1 < n || ring;
                const CHQ_Point3D& prev = i > 0 ? p[i - 1] : p[n - 1];
                const CHQ_Point3D& next = i + 1 < n ? p[i + 1] : p[0];
                if (hasPrev && hasNext) {
                    // Corners up to 150 degrees of turn stay below the cap;
                    // the closing corner of a ring may be sharper.
                    const double ax = prev.x - p[i].x, ay = prev.y - p[i].y;
                    const double bx = next.x - p[i].x, by = next.y - p[i].y;
                    const double cosine = (ax * bx + ay * by) / (std::hypot(ax, ay) * std::hypot(bx, by));
                    const double inner = std::acos(std::max(-1.0, std::min(1.0, cosine)));
                    if (inner < 25 * kPi / 180) continue;
                }
                if (hasPrev) {
                    EXPECT_NEAR(LeftDistance(l[i], prev, p[i]), w, 1e-5) << trial << " vertex " << i;
                }
                if (hasNext) {
                    EXPECT_NEAR(LeftDistance(l[i], p[i], next), w, 1e-5) << trial << " vertex " << i;
                }
                if (trial % 4 == 0) {
                    EXPECT_NEAR(std::hypot(l[i].x - p[i].x, l[i].y - p[i].y), w, 1e-9);
                }
            }
            // Right is left of the reversed line, point for point.
            const Line r = M::computerRightPoints(p, w, closed);
            const Line lr = Reversed(M::computerLeftPoints(Reversed(p), w, closed));
            for (std::size_t i = 0; i < n; ++i) {
                EXPECT_EQ(r[i].x, lr[i].x);
                EXPECT_EQ(r[i].y, lr[i].y);
            }
        }
    }
}

TEST(computeLRPts, CopiesTheOffsetsIntoArrays) {
    const CHQ_Point2D pts[] = {{0, 0}, {10, 0}, {10, 10}};
    CHQ_Point2D* left = nullptr;
    CHQ_Point2D* right = nullptr;
    int count = -1;
    M::computeLRPts(pts, 3, 0.1, left, right, count, false);
    ASSERT_EQ(count, 3);
    ASSERT_NE(left, nullptr);
    ASSERT_NE(right, nullptr);
    const Line line{{0, 0, 0}, {10, 0, 0}, {10, 10, 0}};
    const Line l = M::computerLeftPoints(line, 0.1f, false), r = M::computerRightPoints(line, 0.1f, false);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(left[i].x, l[i].x);
        EXPECT_EQ(left[i].y, l[i].y);
        EXPECT_EQ(right[i].x, r[i].x);
        EXPECT_EQ(right[i].y, r[i].y);
    }
    // The width is used in single precision.
    EXPECT_EQ(left[0].y, static_cast<double>(0.1f));
    delete[] left;
    delete[] right;

    struct Case {
        const CHQ_Point2D* pts;
        int n;
    } empty[] = {{pts, 0}, {pts, 1}, {pts, -4}, {nullptr, 3}};
    for (const Case& c : empty) {
        CHQ_Point2D stale;
        left = right = &stale;  // must be overwritten
        M::computeLRPts(c.pts, c.n, 1, left, right, count, true);
        EXPECT_EQ(count, 0);
        EXPECT_EQ(left, nullptr);
        EXPECT_EQ(right, nullptr);
    }
}

TEST(spiltTwoLine, MirrorsAcrossTheChord) {
    struct Case {
        const char* what;
        Pts in;
        double w;
        Pts first, second;
    } cases[] = {
        {"arch", {{0, 0}, {5, 5}, {10, 0}}, 1, {{0, -1}, {5, 5}, {10, -1}}, {{0, 1}, {5, -5}, {10, 1}}},
        {"reversed arch",
         {{10, 0}, {5, 5}, {0, 0}},
         1,
         {{10, 1}, {5, 5}, {0, 1}},
         {{10, -1}, {5, -5}, {0, -1}}},
        {"valley", {{0, 0}, {5, -5}, {10, 0}}, 2, {{0, -2}, {5, -5}, {10, -2}}, {{0, 2}, {5, 5}, {10, 2}}},
        {"interior point on the chord",
         {{0, 0}, {5, 0}, {10, 0}},
         1,
         {{0, -1}, {5, 1}, {10, -1}},
         {{0, 1}, {5, -1}, {10, 1}}},
        {"two points", {{0, 0}, {0, 4}}, 1, {{1, 0}, {1, 4}}, {{-1, 0}, {-1, 4}}},
    };
    for (const Case& c : cases) {
        Pts first, second;
        M::spiltTwoLine(c.in, c.w, first, second);
        ASSERT_EQ(first.size(), c.first.size()) << c.what;
        ASSERT_EQ(second.size(), c.second.size()) << c.what;
        for (std::size_t i = 0; i < first.size(); ++i) {
            EXPECT_TRUE(PtNear(first[i], c.first[i].x, c.first[i].y, 1e-6)) << c.what << " first " << i;
            EXPECT_TRUE(PtNear(second[i], c.second[i].x, c.second[i].y, 1e-6)) << c.what << " second " << i;
        }
    }
}

TEST(spiltTwoLine, RandomCurvesAreMirrored) {
    std::mt19937 rng(19);
    std::uniform_real_distribution<double> u(-100, 100), off(0.5, 40), along(0.05, 0.95);
    for (int trial = 0; trial < 100; ++trial) {
        const CHQ_Point2D s(u(rng), u(rng)), e(u(rng), u(rng));
        const double ex = e.x - s.x, ey = e.y - s.y, len = std::hypot(ex, ey);
        const double side = trial % 2 ? 1 : -1;
        Pts in{s};
        for (int i = 0; i < 1 + trial % 6; ++i) {
            const double t = along(rng), h = side * off(rng);
            in.emplace_back(s.x + t * ex - h * ey / len, s.y + t * ey + h * ex / len);
        }
        in.push_back(e);
        Pts first{{1e9, 1e9}}, second;  // appended to, not cleared
        M::spiltTwoLine(in, 1.5, first, second);
        ASSERT_EQ(first.size(), in.size() + 1);
        ASSERT_EQ(second.size(), in.size());
        for (std::size_t i = 1; i + 1 < in.size(); ++i) {
            EXPECT_EQ(first[i + 1].x, in[i].x);
            EXPECT_EQ(first[i + 1].y, in[i].y);
            // The mirror image: same foot on the chord, opposite side.
            const double t1 = ((in[i].x - s.x) * ex + (in[i].y - s.y) * ey) / (len * len);
            const double t2 = ((second[i].x - s.x) * ex + (second[i].y - s.y) * ey) / (len * len);
            EXPECT_NEAR(t1 * len, t2 * len, 1e-5);
            const double d1 = (ex * (in[i].y - s.y) - ey * (in[i].x - s.x)) / len;
            const double d2 = (ex * (second[i].y - s.y) - ey * (second[i].x - s.x)) / len;
            EXPECT_NEAR(d1, -d2, 1e-4);
        }
        // The end points move w off the chord, to opposite sides.
        for (std::size_t i : {std::size_t(0), in.size() - 1}) {
            const double d1 = (ex * (first[i + 1].y - s.y) - ey * (first[i + 1].x - s.x)) / len;
            const double d2 = (ex * (second[i].y - s.y) - ey * (second[i].x - s.x)) / len;
            EXPECT_NEAR(std::fabs(d1), 1.5, 1e-5);
            EXPECT_NEAR(d1, -d2, 1e-5);
        }
    }
}

TEST(spiltTwoLine, DegenerateInputsAppendNothing) {
    const Pts cases[] = {
        {},
        {{1, 1}},
        {{3, 3}, {8, 9}, {3, 3}},  // closed curve: no chord to mirror across
        {{3, 3}, {3, 3}},
    };
    for (const Pts& in : cases) {
        Pts first{{7, 7}}, second;
        M::spiltTwoLine(in, 1, first, second);
        EXPECT_EQ(first.size(), 1u);
        EXPECT_TRUE(second.empty());
    }
}

TEST(processVerts, DropsRepeatedVertices) {
    const CHQ_Point3D a(0, 0, 0), b(5, 5, 1), c(9, 0, 2);
    struct Case {
        const char* what;
        Line in, expected;
    } cases[] = {
        {"pairs of repeats", {a, a, b, b, c}, {a, b, c}},
        {"empty", {}, {}},
        {"single", {a}, {a}},
        {"two equal", {b, b}, {b}},
        {"nothing repeated", {a, b, c, a}, {a, b, c, a}},
        {"within tolerance", {a, {0.99e-5, 0, 0}, b}, {a, b}},
        {"beyond tolerance", {a, {2e-5, 0, 0}, b}, {a, {2e-5, 0, 0}, b}},
        // Each vertex is compared with the input vertex before it, so a slow
        // creep of tiny steps is dropped entirely.
        {"creep", {a, {0.8e-5, 0, 0}, {1.6e-5, 0, 0}, {2.4e-5, 0, 0}}, {a}},
        {"height counts", {a, {0, 0, 1}}, {a, {0, 0, 1}}},
    };
    for (const Case& c : cases) {
        const Line r = M::processVerts(c.in);
        ASSERT_EQ(r.size(), c.expected.size()) << c.what;
        for (std::size_t i = 0; i < r.size(); ++i) {
            EXPECT_EQ(r[i].x, c.expected[i].x) << c.what;
            EXPECT_EQ(r[i].y, c.expected[i].y) << c.what;
            EXPECT_EQ(r[i].z, c.expected[i].z) << c.what;
        }
    }
}

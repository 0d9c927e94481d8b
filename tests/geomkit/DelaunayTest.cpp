// SPDX-License-Identifier: Apache-2.0
#include <geomkit/Delaunay.h>

#include <gtest/gtest.h>

#include "GeometryTestSupport.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <random>
#include <vector>

using namespace HQ;

namespace {

using Pts = std::vector<CHQ_Point3D>;

double Cross(const CHQ_Point3D& a, const CHQ_Point3D& b, const CHQ_Point3D& c) {
    return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}

double PolygonArea(const Pts& p) { return std::fabs(sitplot_test::SignedArea(p)); }

// Proper crossing of the open segments ab and cd.
bool Crosses(const CHQ_Point3D& a, const CHQ_Point3D& b, const CHQ_Point3D& c, const CHQ_Point3D& d) {
    const double o1 = Cross(a, b, c), o2 = Cross(a, b, d), o3 = Cross(c, d, a), o4 = Cross(c, d, b);
    return ((o1 > 0 && o2 < 0) || (o1 < 0 && o2 > 0)) && ((o3 > 0 && o4 < 0) || (o3 < 0 && o4 > 0));
}

// Initialises a triangulator with the outline, triangulates it and reads the
// points and triangle indices back.
::testing::AssertionResult Triangulated(const Pts& outline, Pts& pts, std::vector<int>& idx) {
    CHQGS_Delaunay d;
    d.Init(outline);
    if (!d.Triangulate()) return ::testing::AssertionFailure() << "Triangulate failed";
    if (!d.Compute(pts, idx)) return ::testing::AssertionFailure() << "Compute failed";
    return ::testing::AssertionSuccess();
}

// A star-shaped outline around the origin: random radii at increasing
// angles, one in each of n equal sectors (so that no gap reaches half a
// turn and the outline is simple); wound either way.
Pts RandomOutline(std::mt19937& rng, int n, bool clockwise) {
    const double sector = 2 * std::acos(-1.0) / n;
    std::uniform_real_distribution<double> jitter(0, 0.9);
    std::uniform_real_distribution<double> radius(0.2, 1.0);
    Pts p;
    for (int i = 0; i < n; ++i) {
        const double a = sector * (i + jitter(rng));
        const double r = radius(rng);
        p.emplace_back(100 * r * std::cos(a), 100 * r * std::sin(a), 5.0);
    }
    if (clockwise) std::reverse(p.begin(), p.end());
    return p;
}

// The constrained Delaunay property, checked globally: no outline point that
// can be seen from inside a triangle lies inside that triangle's
// circumcircle. Visibility is tried from several inner points of the
// triangle; a sight line is blocked when it crosses an outline edge.
void ExpectConstrainedDelaunay(const Pts& outline, const Pts& pts, const std::vector<int>& idx) {
    for (std::size_t t = 0; t + 2 < idx.size(); t += 3) {
        const auto& a = pts[idx[t]];
        const auto& b = pts[idx[t + 1]];
        const auto& c = pts[idx[t + 2]];
        const double d = 2 * (a.x * (b.y - c.y) + b.x * (c.y - a.y) + c.x * (a.y - b.y));
        const double a2 = a.x * a.x + a.y * a.y, b2 = b.x * b.x + b.y * b.y, c2 = c.x * c.x + c.y * c.y;
        const double ux = (a2 * (b.y - c.y) + b2 * (c.y - a.y) + c2 * (a.y - b.y)) / d;
        const double uy = (a2 * (c.x - b.x) + b2 * (a.x - c.x) + c2 * (b.x - a.x)) / d;
        const double r2 = (a.x - ux) * (a.x - ux) + (a.y - uy) * (a.y - uy);
        const CHQ_Point3D probes[] = {
            {(a.x + b.x + c.x) / 3, (a.y + b.y + c.y) / 3, 0},
            {0.8 * a.x + 0.1 * b.x + 0.1 * c.x, 0.8 * a.y + 0.1 * b.y + 0.1 * c.y, 0},
            {0.1 * a.x + 0.8 * b.x + 0.1 * c.x, 0.1 * a.y + 0.8 * b.y + 0.1 * c.y, 0},
            {0.1 * a.x + 0.1 * b.x + 0.8 * c.x, 0.1 * a.y + 0.1 * b.y + 0.8 * c.y, 0},
        };
        for (int v = 0; v < static_cast<int>(pts.size()); ++v) {
            if (v == idx[t] || v == idx[t + 1] || v == idx[t + 2]) continue;
            const auto& p = pts[v];
            const double dist2 = (p.x - ux) * (p.x - ux) + (p.y - uy) * (p.y - uy);
            if (dist2 >= r2 * (1 - 1e-9)) continue;
            bool visible = false;
            for (const auto& from : probes) {
                bool blocked = false;
                for (std::size_t e = 0; e < outline.size() && !blocked; ++e)
                    blocked = Crosses(from, p, outline[e], outline[(e + 1) % outline.size()]);
                visible = visible || !blocked;
            }
            EXPECT_FALSE(visible) << "point " << v << " inside the circumcircle of triangle " << t / 3;
        }
    }
}

}  // namespace

TEST(Delaunay, RecordKeepsTheTriangulatorLayout) {
    // Pointers 8 bytes, ints 4, fields in the record's order: 14 pointers and
    // 11 ints with the padding C gives them.
    static_assert(sizeof(void*) == 8 && sizeof(int) == 4, "64-bit layout");
    EXPECT_EQ(offsetof(triangulateio, numberofpoints), 24u);
    EXPECT_EQ(offsetof(triangulateio, trianglelist), 32u);
    EXPECT_EQ(offsetof(triangulateio, numberoftriangles), 64u);
    EXPECT_EQ(offsetof(triangulateio, segmentlist), 80u);
    EXPECT_EQ(offsetof(triangulateio, holelist), 104u);
    EXPECT_EQ(offsetof(triangulateio, edgelist), 136u);
    EXPECT_EQ(offsetof(triangulateio, numberofedges), 160u);
    EXPECT_EQ(sizeof(triangulateio), 168u);
}

TEST(Delaunay, InitKeepsTheLastOfEqualPoints) {
    const CHQ_Point3D A(1, 2, 3), B(4, 5, 6), C(7, 8, 9);
    struct Case {
        const char* name;
        Pts in;
        Pts out;
        bool ready;
    } cases[] = {
        {"A B A C", {A, B, A, C}, {B, A, C}, true},
        {"three copies", {A, A, A}, {A}, false},
        {"same x y, other z", {A, {1, 2, 0}, B}, {A, {1, 2, 0}, B}, true},
        {"two distinct", {A, B, A}, {B, A}, false},
        {"nothing", {}, {}, false},
        {"negative zero equals zero", {{0, 0, 0}, B, {-0.0, 0, 0}, C}, {B, {-0.0, 0, 0}, C}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CHQGS_Delaunay d;
        const Pts r = d.Init(c.in);
        ASSERT_EQ(r.size(), c.out.size());
        for (std::size_t i = 0; i < r.size(); ++i) {
            EXPECT_EQ(r[i].x, c.out[i].x);
            EXPECT_EQ(r[i].y, c.out[i].y);
            EXPECT_EQ(r[i].z, c.out[i].z);
        }
        Pts pts{{1, 1, 1}};
        std::vector<int> idx{1};
        EXPECT_EQ(d.Compute(pts, idx), c.ready);
        // Right after Init nothing fills the output record: two empty lists;
        // when not ready the lists stay as they were.
        EXPECT_EQ(pts.size(), c.ready ? 0u : 1u);
        EXPECT_EQ(idx.size(), c.ready ? 0u : 1u);
    }
}

TEST(Delaunay, InitFillsTheInputRecord) {
    CHQGS_Delaunay d;
    d.Init({{1, 2, 3}, {4, 5, 6}, {1, 2, 3}, {7, 8, 9}});
    const triangulateio& in = d.GetInRecord();
    ASSERT_EQ(in.numberofpoints, 3);
    EXPECT_EQ(in.numberofpointattributes, 1);
    const double coords[] = {4, 5, 1, 2, 7, 8};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(in.pointlist[i], coords[i]);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(in.pointattributelist[i], 0.04);
    EXPECT_EQ(in.pointmarkerlist, nullptr);
    ASSERT_EQ(in.numberofsegments, 3);
    const int segments[] = {0, 1, 1, 2, 2, 0};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(in.segmentlist[i], segments[i]);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(in.segmentmarkerlist[i], 0);
    EXPECT_EQ(in.numberoftriangles, 0);
    EXPECT_EQ(in.trianglelist, nullptr);
    EXPECT_EQ(in.numberofholes, 0);
    EXPECT_EQ(in.numberofregions, 0);
    EXPECT_EQ(in.numberofedges, 0);
    const triangulateio& out = d.GetOutRecord();
    EXPECT_EQ(out.pointlist, nullptr);
    EXPECT_EQ(out.trianglelist, nullptr);
    EXPECT_EQ(out.numberofpoints + out.numberoftriangles + out.numberofsegments + out.numberofedges, 0);
}

TEST(Delaunay, ComputeBeforeInitAnswersFalse) {
    CHQGS_Delaunay d;
    Pts pts{{1, 1, 1}};
    std::vector<int> idx{4};
    EXPECT_FALSE(d.Compute(pts, idx));
    EXPECT_FALSE(d.Triangulate());
    EXPECT_EQ(pts.size(), 1u);
    EXPECT_EQ(idx.size(), 1u);
}

TEST(Delaunay, RandomOutlinesGiveConstrainedDelaunayTriangulations) {
    std::mt19937 rng(20240611);
    const int sizes[] = {3, 4, 5, 8, 13, 30, 60, 120};
    for (int n : sizes) {
        for (int round = 0; round < 6; ++round) {
            SCOPED_TRACE(testing::Message() << n << " points, round " << round);
            const Pts outline = RandomOutline(rng, n, round % 2 == 1);
            CHQGS_Delaunay d;
            ASSERT_EQ(d.Init(outline).size(), outline.size());
            ASSERT_TRUE(d.Triangulate());
            Pts pts;
            std::vector<int> idx;
            ASSERT_TRUE(d.Compute(pts, idx));
            ASSERT_EQ(pts.size(), outline.size());
            for (std::size_t i = 0; i < pts.size(); ++i) {
                EXPECT_EQ(pts[i].x, outline[i].x);
                EXPECT_EQ(pts[i].y, outline[i].y);
                EXPECT_EQ(pts[i].z, 0.0);
            }
            ASSERT_EQ(idx.size(), 3u * (n - 2));
            double area = 0;
            for (std::size_t t = 0; t < idx.size(); t += 3) {
                for (int k = 0; k < 3; ++k) ASSERT_TRUE(idx[t + k] >= 0 && idx[t + k] < n);
                const double c = Cross(pts[idx[t]], pts[idx[t + 1]], pts[idx[t + 2]]);
                EXPECT_GT(c, 0) << "triangle " << t / 3 << " is not counter-clockwise";
                area += c / 2;
            }
            // Triangles inside the outline only, and all of it covered.
            EXPECT_NEAR(area, PolygonArea(outline), 1e-9 * PolygonArea(outline));
            ExpectConstrainedDelaunay(outline, pts, idx);
        }
    }
}

TEST(Delaunay, ConvexOutlineWithCircleConflictIsFlipped) {
    // A long thin quadrilateral: cutting off the first corner gives the long
    // diagonal 1-3, whose triangles hold the other corners in their
    // circumcircles. The Delaunay answer uses the short diagonal 0-2.
    const Pts outline{{10, -1, 0}, {20, 0, 0}, {10, 1, 0}, {0, 0, 0}};
    Pts pts;
    std::vector<int> idx;
    ASSERT_TRUE(Triangulated(outline, pts, idx));
    ASSERT_EQ(idx.size(), 6u);
    for (std::size_t t = 0; t < 6; t += 3) {
        const bool has0 = std::count(idx.begin() + t, idx.begin() + t + 3, 0) == 1;
        const bool has2 = std::count(idx.begin() + t, idx.begin() + t + 3, 2) == 1;
        EXPECT_TRUE(has0 && has2) << "triangle " << t / 3 << " does not use the short diagonal";
    }
}

TEST(Delaunay, OutlinesThatAreNotSimplePolygonsAreNotTriangulated) {
    struct Case {
        const char* name;
        Pts outline;
    } cases[] = {
        {"bow tie", {{0, 0, 0}, {2, 2, 0}, {2, 0, 0}, {0, 2, 0}}},
        {"collinear", {{0, 0, 0}, {1, 1, 0}, {2, 2, 0}}},
        {"fold back", {{0, 0, 0}, {4, 0, 0}, {4, 4, 0}, {4, 2, 0}, {0, 4, 0}}},
        {"touching itself", {{0, 0, 0}, {4, 0, 0}, {4, 4, 0}, {2, 0, 0}, {0, 4, 0}}},
        {"not finite", {{0, 0, 0}, {1, 0, 0}, {std::nan(""), 1, 0}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CHQGS_Delaunay d;
        d.Init(c.outline);
        EXPECT_FALSE(d.Triangulate());
        Pts pts{{1, 1, 1}};
        std::vector<int> idx{0};
        EXPECT_TRUE(d.Compute(pts, idx));
        EXPECT_TRUE(pts.empty());
        EXPECT_TRUE(idx.empty());
    }
}

TEST(Delaunay, CollinearPointsOnEdgesStillCover) {
    // A square with extra points along its edges: flat corners are no ears,
    // but every point is still used and the area is covered.
    const Pts square{{0, 0, 0},   {1, 0, 0}, {2, 0, 0}, {3, 0, 0},
                     {3, 1.5, 0}, {3, 3, 0}, {0, 3, 0}, {0, 1, 0}};
    Pts pts;
    std::vector<int> idx;
    ASSERT_TRUE(Triangulated(square, pts, idx));
    double area = 0;
    for (std::size_t t = 0; t < idx.size(); t += 3) {
        const double c = Cross(pts[idx[t]], pts[idx[t + 1]], pts[idx[t + 2]]);
        EXPECT_GT(c, 0);
        area += c / 2;
    }
    EXPECT_NEAR(area, 9.0, 1e-12);
    EXPECT_EQ(idx.size(), 3u * (square.size() - 2));
    ExpectConstrainedDelaunay(square, pts, idx);
}

TEST(Delaunay, HostTriangulatorRecordsAreReadAndOwned) {
    // A host triangulator stores malloc'd arrays in the output record; the
    // object reads them (corner count as stored) and frees them.
    CHQGS_Delaunay d;
    d.Init({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}});
    triangulateio& out = d.GetOutRecord();
    out.numberofpoints = 3;
    out.pointlist = static_cast<double*>(std::malloc(6 * sizeof(double)));
    const double coords[] = {0, 0, 1, 0, 0, 1};
    std::copy(coords, coords + 6, out.pointlist);
    // One second-order triangle: three corners and three edge midpoints.
    out.numberoftriangles = 1;
    out.numberofcorners = 6;
    out.trianglelist = static_cast<int*>(std::malloc(6 * sizeof(int)));
    const int corners[] = {0, 1, 2, 5, 4, 3};
    std::copy(corners, corners + 6, out.trianglelist);
    out.holelist = d.GetInRecord().pointlist;  // shared with the input, freed once

    Pts pts;
    std::vector<int> idx;
    ASSERT_TRUE(d.Compute(pts, idx));
    ASSERT_EQ(pts.size(), 3u);
    EXPECT_EQ(pts[1].x, 1.0);
    EXPECT_EQ(idx, std::vector<int>(corners, corners + 6));
}

TEST(Delaunay, CopiesShareTheArraysSafely) {
    const Pts outline{{0, 0, 0}, {4, 0, 0}, {4, 4, 0}, {0, 4, 0}};
    std::vector<int> want;
    {
        CHQGS_Delaunay original;
        original.Init(outline);
        ASSERT_TRUE(original.Triangulate());
        Pts pts;
        ASSERT_TRUE(original.Compute(pts, want));

        CHQGS_Delaunay copy(original);
        CHQGS_Delaunay assigned;
        assigned.Init({{9, 9, 0}, {10, 9, 0}, {9, 10, 0}});  // its own arrays go
        assigned = original;
        EXPECT_EQ(copy.GetOutRecord().trianglelist, original.GetOutRecord().trianglelist);

        // The original starts over and goes away; the copies keep the data.
        original.Init({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}});
        ASSERT_TRUE(original.Triangulate());
        ASSERT_TRUE(original.Triangulate());  // again: the first output is kept for release
        { CHQGS_Delaunay gone(original); }
        std::vector<int> got;
        ASSERT_TRUE(copy.Compute(pts, got));
        EXPECT_EQ(got, want);
        ASSERT_TRUE(assigned.Compute(pts, got));
        EXPECT_EQ(got, want);
        const CHQGS_Delaunay& self = assigned;  // through a reference: a deliberate self assignment
        assigned = self;                        // changes nothing
        ASSERT_TRUE(assigned.Compute(pts, got));
        EXPECT_EQ(got, want);
    }
    // Under the address sanitizer every array above is freed exactly once.
}

TEST(Delaunay, TriangulateOutlineWithoutSegmentsUsesPointOrder) {
    double coords[] = {0, 0, 2, 0, 2, 2, 0, 2};
    triangulateio in{};
    in.pointlist = coords;
    in.numberofpoints = 4;
    triangulateio out{};
    ASSERT_TRUE(TriangulateOutline(in, out));
    EXPECT_EQ(out.numberoftriangles, 2);
    EXPECT_EQ(out.numberofcorners, 3);
    EXPECT_EQ(out.numberofsegments, 0);
    std::free(out.pointlist);
    std::free(out.trianglelist);

    // Segments that do not close one loop through every point.
    int segments[] = {0, 1, 1, 2, 2, 0, 3, 3};
    in.segmentlist = segments;
    in.numberofsegments = 4;
    EXPECT_FALSE(TriangulateOutline(in, out));
    EXPECT_EQ(out.trianglelist, nullptr);
    EXPECT_EQ(out.numberoftriangles, 0);
}

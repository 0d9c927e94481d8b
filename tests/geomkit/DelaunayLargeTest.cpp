// SPDX-License-Identifier: Apache-2.0
// Large outlines and refused inputs of the outline triangulator: the results
// contract (triangles inside only, the outline's edges kept, the constrained
// Delaunay property, full coverage) at sizes where a quadratic method would
// take seconds to minutes.
#include <geomkit/Delaunay.h>

#include <gtest/gtest.h>

#include "GeometryTestSupport.h"

#include <chrono>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <unordered_map>
#include <vector>

using namespace HQ;

namespace {

using Pts = std::vector<CHQ_Point3D>;

#if defined(__SANITIZE_ADDRESS__) || !defined(NDEBUG)
constexpr bool kFullSize = false;  // sanitizer and debug builds: smaller outlines
#else
constexpr bool kFullSize = true;
#endif

// A jagged star: n points at increasing angles with random radii.
Pts Star(std::mt19937& rng, int n) {
    std::uniform_real_distribution<double> jitter(0, 0.9), radius(0.05, 1.0);
    const double sector = 2 * sitplot_test::kPi / n;
    Pts p;
    for (int i = 0; i < n; ++i) {
        const double a = sector * (i + jitter(rng)), r = 1000 * radius(rng);
        p.emplace_back(r * std::cos(a), r * std::sin(a), 0);
    }
    return p;
}

// A wavy ring: a circle whose radius swings in and out many times, wound
// clockwise.
Pts Wavy(int n) {
    Pts p;
    for (int i = n - 1; i >= 0; --i) {
        const double a = 2 * sitplot_test::kPi * i / n;
        const double r = 500 + 60 * std::sin(a * 97);
        p.emplace_back(r * std::cos(a), r * std::sin(a), 0);
    }
    return p;
}

double Orient(const CHQ_Point3D& a, const CHQ_Point3D& b, const CHQ_Point3D& c) {
    return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}

// d strictly inside the circle through the counter-clockwise a, b, c by more
// than the rounding of the determinant.
bool InCircle(const CHQ_Point3D& a, const CHQ_Point3D& b, const CHQ_Point3D& c, const CHQ_Point3D& d) {
    const double adx = a.x - d.x, ady = a.y - d.y, bdx = b.x - d.x, bdy = b.y - d.y;
    const double cdx = c.x - d.x, cdy = c.y - d.y;
    const double al = adx * adx + ady * ady, bl = bdx * bdx + bdy * bdy, cl = cdx * cdx + cdy * cdy;
    const double det =
        al * (bdx * cdy - bdy * cdx) + bl * (cdx * ady - cdy * adx) + cl * (adx * bdy - ady * bdx);
    const double perm = al * (std::fabs(bdx * cdy) + std::fabs(bdy * cdx)) +
                        bl * (std::fabs(cdx * ady) + std::fabs(cdy * adx)) +
                        cl * (std::fabs(adx * bdy) + std::fabs(ady * bdx));
    return det > 1e-10 * perm;
}

std::uint64_t Key(int a, int b) {
    if (a > b) std::swap(a, b);
    return (static_cast<std::uint64_t>(a) << 32) | static_cast<std::uint32_t>(b);
}

// Checks the contract on the mesh: n - 2 counter-clockwise triangles whose
// areas sum to the outline's, every outline edge used by exactly one
// triangle, every other edge shared by two and locally Delaunay (which for a
// triangulation whose only constraints are its outline edges is the
// constrained Delaunay property).
void ExpectContract(const Pts& outline, const Pts& pts, const std::vector<int>& idx) {
    const int n = static_cast<int>(outline.size());
    ASSERT_EQ(static_cast<int>(pts.size()), n);
    ASSERT_EQ(idx.size(), 3u * (n - 2));
    double area = 0;
    std::unordered_map<std::uint64_t, std::vector<int>> owners;  // edge -> triangles
    for (std::size_t t = 0; t < idx.size(); t += 3) {
        for (int k = 0; k < 3; ++k) ASSERT_TRUE(idx[t + k] >= 0 && idx[t + k] < n);
        const double c = Orient(pts[idx[t]], pts[idx[t + 1]], pts[idx[t + 2]]);
        ASSERT_GT(c, 0) << "triangle " << t / 3;
        area += c / 2;
        for (int k = 0; k < 3; ++k)
            owners[Key(idx[t + k], idx[t + (k + 1) % 3])].push_back(static_cast<int>(t));
    }
    const double want = std::fabs(sitplot_test::SignedArea(outline));
    EXPECT_NEAR(area, want, 1e-9 * want);
    for (int i = 0; i < n; ++i) {
        auto it = owners.find(Key(i, (i + 1) % n));
        ASSERT_TRUE(it != owners.end()) << "outline edge " << i << " missing";
        EXPECT_EQ(it->second.size(), 1u) << "outline edge " << i;
    }
    int violations = 0;
    for (const auto& kv : owners) {
        const int a = static_cast<int>(kv.first >> 32), b = static_cast<int>(kv.first & 0xffffffffu);
        const bool onOutline = (b - a == 1) || (a == 0 && b == n - 1);
        if (onOutline) continue;
        ASSERT_EQ(kv.second.size(), 2u) << "inner edge " << a << "-" << b;
        const int t1 = kv.second[0], t2 = kv.second[1];
        int d = -1;
        for (int k = 0; k < 3; ++k)
            if (idx[t2 + k] != a && idx[t2 + k] != b) d = idx[t2 + k];
        if (InCircle(pts[idx[t1]], pts[idx[t1 + 1]], pts[idx[t1 + 2]], pts[d])) ++violations;
    }
    EXPECT_EQ(violations, 0);
}

}  // namespace

TEST(DelaunayLarge, LargeOutlinesKeepTheContract) {
    const int big = kFullSize ? 64000 : 8000;
    std::mt19937 rng(7);
    struct Case {
        const char* name;
        Pts outline;
    } cases[] = {{"jagged star", Star(rng, big)}, {"wavy ring, clockwise", Wavy(big)}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto start = std::chrono::steady_clock::now();
        CHQGS_Delaunay d;
        ASSERT_EQ(d.Init(c.outline).size(), c.outline.size());
        ASSERT_TRUE(d.Triangulate());
        Pts pts;
        std::vector<int> idx;
        ASSERT_TRUE(d.Compute(pts, idx));
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (kFullSize) {
            EXPECT_LT(seconds, 5.0) << "far beyond n log n";
        }
        ExpectContract(c.outline, pts, idx);
    }
}

TEST(DelaunayLarge, RefusedOutlinesFailCleanly) {
    const double inf = std::numeric_limits<double>::infinity();
    std::mt19937 rng(11);
    Pts crossingBig = Star(rng, 3000);
    std::swap(crossingBig[100], crossingBig[1600]);  // two long edges across the star
    Pts touchingBig = Star(rng, 3000);
    touchingBig[1500] = touchingBig[10];  // a repeated point far along the loop
    struct Case {
        const char* name;
        Pts outline;
        bool viaInit;  // Init drops repeated points; the raw record keeps them
    } cases[] = {
        {"infinite", {{0, 0, 0}, {1, 0, 0}, {inf, 1, 0}}, true},
        {"beyond the coordinate limit", {{0, 0, 0}, {1e61, 0, 0}, {0, 1, 0}}, true},
        {"at the coordinate limit", {{0, 0, 0}, {1e60, 0, 0}, {0, 1e60, 0}}, true},
        {"crossing, large", crossingBig, true},
        {"repeated point, large", touchingBig, false},
        {"point on an edge", {{0, 0, 0}, {4, 0, 0}, {4, 4, 0}, {2, 0, 0}, {0, 4, 0}}, true},
        {"repeated point", {{0, 0, 0}, {2, 0, 0}, {2, 2, 0}, {0, 0, 0}, {-2, 2, 0}, {-2, 0, 0}}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const bool accepted = std::string(c.name) == "at the coordinate limit";
        triangulateio out{};
        bool ok = false;
        if (c.viaInit) {
            CHQGS_Delaunay d;
            d.Init(c.outline);
            ok = d.Triangulate();
            if (!ok) {
                EXPECT_EQ(d.GetOutRecord().trianglelist, nullptr);
                EXPECT_EQ(d.GetOutRecord().numberoftriangles, 0);
            }
        } else {
            std::vector<double> coords;
            for (const auto& p : c.outline) {
                coords.push_back(p.x);
                coords.push_back(p.y);
            }
            triangulateio in{};
            in.pointlist = coords.data();
            in.numberofpoints = static_cast<int>(c.outline.size());
            ok = TriangulateOutline(in, out);
            EXPECT_EQ(out.trianglelist, nullptr);
            EXPECT_EQ(out.pointlist, nullptr);
        }
        EXPECT_EQ(ok, accepted);
    }
}

// SPDX-License-Identifier: Apache-2.0
#include <geomkit/UtilityTessellation.h>

#include <gtest/gtest.h>
#include <rapidjson/document.h>

#include "GeometryTestSupport.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

using namespace HQ;

namespace {

using Ring = std::vector<CHQ_Point3D>;

Ring Square(double x0, double y0, double size, bool ccw) {
    Ring r{{x0, y0, 0}, {x0 + size, y0, 0}, {x0 + size, y0 + size, 0}, {x0, y0 + size, 0}};
    if (!ccw) std::reverse(r.begin(), r.end());
    return r;
}

using sitplot_test::SignedArea;

// What a triangle list says about itself: its covered area, how its
// triangles face, and whether its indices can be trusted.
struct MeshStats {
    double area = 0;
    int positive = 0;
    int negative = 0;
};

MeshStats CheckMesh(const std::vector<CHQ_Point3D>& v, const std::vector<int>& idx) {
    MeshStats s;
    EXPECT_EQ(idx.size() % 3, 0u);
    for (int i : idx) {
        EXPECT_GE(i, 0);
        EXPECT_LT(i, static_cast<int>(v.size()));
        if (i < 0 || i >= static_cast<int>(v.size())) return s;
    }
    for (std::size_t t = 0; t + 2 < idx.size(); t += 3) {
        const auto& a = v[idx[t]];
        const auto& b = v[idx[t + 1]];
        const auto& c = v[idx[t + 2]];
        const double cross = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
        s.area += std::fabs(cross) / 2;
        if (cross > 0) ++s.positive;
        if (cross < 0) ++s.negative;
    }
    return s;
}

bool Tessellate(const std::vector<Ring>& rings, std::vector<CHQ_Point3D>& v, std::vector<int>& idx) {
    auto* t = CHQGS_UtilityTessellation::getInstance();
    t->init();
    for (const auto& r : rings) t->addContour(r);
    return t->tesselated(v, idx);
}

}  // namespace

TEST(Tessellation, SingletonIsOneObject) {
    EXPECT_NE(CHQGS_UtilityTessellation::getInstance(), nullptr);
    EXPECT_EQ(CHQGS_UtilityTessellation::getInstance(), CHQGS_UtilityTessellation::getInstance());
}

TEST(Tessellation, ShapesCoverTheirFilledArea) {
    // Pentagram of outer radius 1: under the positive rule the inner pentagon
    // (winding 2) is filled too, so the whole star is covered: five times
    // R * r * sin(36 deg) with the inner radius r = cos(72 deg) / cos(36 deg).
    const double pi = std::acos(-1.0);
    Ring star;
    for (int k = 0; k < 5; ++k) {
        const double a = pi / 2 + k * 4 * pi / 5;
        star.emplace_back(std::cos(a), std::sin(a), 0);
    }
    const double innerR = std::cos(2 * pi / 5) / std::cos(pi / 5);
    const double starArea = 5 * innerR * std::sin(pi / 5);

    Ring concave{{0, 0, 0}, {4, 0, 0}, {4, 4, 0}, {2, 1, 0}, {0, 4, 0}};  // an arrow head, area 16 - 6
    Ring quad{{0, 0, 0}, {3, 0, 0}, {3, 2, 0}, {0, 2, 0}};

    struct Case {
        const char* name;
        std::vector<Ring> rings;
        double area;
        int triangles;  // -1: not fixed by the shape
        bool combines;  // intersections add vertices
    } cases[] = {
        {"convex quadrilateral", {quad}, 6, 2, false},
        {"clockwise quadrilateral", {Ring(quad.rbegin(), quad.rend())}, 6, 2, false},
        {"concave pentagon", {concave}, 10, 3, false},
        {"square with opposite hole", {Square(0, 0, 10, true), Square(3, 3, 4, false)}, 100 - 16, 8, false},
        {"hole wound like the outer ring fills",
         {Square(0, 0, 10, true), Square(3, 3, 4, true)},
         100,
         -1,
         false},
        {"two separate squares", {Square(0, 0, 1, true), Square(5, 5, 2, true)}, 1 + 4, 4, false},
        {"self-intersecting star", {star}, starArea, -1, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<CHQ_Point3D> v;
        std::vector<int> idx;
        ASSERT_TRUE(Tessellate(c.rings, v, idx));
        const MeshStats s = CheckMesh(v, idx);
        // Intersection points are computed by the tessellator in its own
        // projected coordinates, which costs a few digits.
        const double relTol = c.combines ? 1e-6 : 1e-12;
        EXPECT_NEAR(s.area, c.area, relTol * c.area);
        if (c.triangles >= 0) {
            EXPECT_EQ(static_cast<int>(idx.size()), 3 * c.triangles);
        }
        // Strips and fans are converted with one facing for all triangles.
        EXPECT_TRUE(s.positive == 0 || s.negative == 0) << s.positive << " vs " << s.negative;
        const bool hasNewPoint = std::any_of(v.begin(), v.end(), [&](const CHQ_Point3D& p) {
            for (const auto& r : c.rings)
                for (const auto& q : r)
                    if (std::fabs(p.x - q.x) < 1e-12 && std::fabs(p.y - q.y) < 1e-12) return false;
            return true;
        });
        EXPECT_EQ(hasNewPoint, c.combines);
    }
}

TEST(Tessellation, TwoDimensionalContoursGetZeroZ) {
    auto* t = CHQGS_UtilityTessellation::getInstance();
    t->init();
    t->addContour(std::vector<CHQ_Point2D>{{0, 0}, {2, 0}, {2, 2}, {0, 2}});
    ASSERT_EQ(t->getContours().size(), 1u);
    EXPECT_EQ(t->getContours()[0][2].x, 2.0);
    EXPECT_EQ(t->getContours()[0][2].z, 0.0);
    std::vector<CHQ_Point3D> v;
    std::vector<int> idx;
    ASSERT_TRUE(t->tesselated(v, idx));
    for (const auto& p : v) EXPECT_EQ(p.z, 0.0);
    EXPECT_NEAR(CheckMesh(v, idx).area, 4.0, 1e-12);
}

TEST(Tessellation, StoredContoursAreUsedAgainUntilCleared) {
    auto* t = CHQGS_UtilityTessellation::getInstance();
    t->init();
    t->addContour(Square(0, 0, 10, true));
    t->addContour(Square(2, 2, 3, false));
    std::vector<CHQ_Point3D> v1, v2;
    std::vector<int> i1, i2;
    ASSERT_TRUE(t->tesselated(v1, i1));
    ASSERT_TRUE(t->tesselated(v2, i2));
    EXPECT_EQ(i1, i2);
    ASSERT_EQ(v1.size(), v2.size());
    for (std::size_t k = 0; k < v1.size(); ++k) {
        EXPECT_EQ(v1[k].x, v2[k].x);
        EXPECT_EQ(v1[k].y, v2[k].y);
    }

    // The one-contour form leaves the stored contours alone.
    std::vector<CHQ_Point3D> v3;
    std::vector<int> i3;
    ASSERT_TRUE(t->tesselated(Square(0, 0, 1, true), v3, i3));
    EXPECT_NEAR(CheckMesh(v3, i3).area, 1.0, 1e-12);
    EXPECT_EQ(t->getContours().size(), 2u);

    // A new contour joins the old ones.
    t->addContour(Square(20, 0, 1, true));
    ASSERT_TRUE(t->tesselated(v1, i1));
    EXPECT_NEAR(CheckMesh(v1, i1).area, 100 - 9 + 1, 1e-9);

    t->ClearContour();
    EXPECT_TRUE(t->getContours().empty());
    EXPECT_FALSE(t->tesselated(v1, i1));
}

TEST(Tessellation, NothingToFillAnswersFalseWithEmptyOutputs) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        const char* name;
        std::vector<Ring> rings;
    } cases[] = {
        {"no contour", {}},
        {"empty contour", {Ring{}}},
        {"two points", {Ring{{0, 0, 0}, {1, 1, 0}}}},
        {"collinear ring", {Ring{{0, 0, 0}, {1, 1, 0}, {2, 2, 0}, {1, 1, 0}}}},
        {"all points equal", {Ring{{3, 3, 0}, {3, 3, 0}, {3, 3, 0}}}},
        // Tessellator errors: coordinates beyond its limit, or not numbers.
        {"coordinate too large", {Ring{{0, 0, 0}, {1e200, 0, 0}, {0, 1, 0}}}},
        {"infinite coordinate", {Ring{{0, 0, 0}, {inf, 0, 0}, {0, 1, 0}}}},
        {"NaN coordinate", {Ring{{0, 0, 0}, {nan, 0, 0}, {0, 1, 0}}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<CHQ_Point3D> v{{9, 9, 9}};
        std::vector<int> idx{7, 7, 7};
        EXPECT_FALSE(Tessellate(c.rings, v, idx));
        EXPECT_TRUE(v.empty());
        EXPECT_TRUE(idx.empty());
    }
    // The tessellator still works after an error.
    std::vector<CHQ_Point3D> v;
    std::vector<int> idx;
    EXPECT_TRUE(Tessellate({Square(0, 0, 2, true)}, v, idx));
    EXPECT_NEAR(CheckMesh(v, idx).area, 4.0, 1e-12);
}

// A failed call writes one error line, however many vertices are at fault;
// degenerate input and success write none. Large rings take the
// constrained Delaunay path first and fall back to the system tessellator.
TEST(Tessellation, EachFailedCallWritesOneErrorLine) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    auto circle = [](int n, double r) {
        Ring ring;
        for (int k = 0; k < n; ++k)
            ring.emplace_back(r * std::cos(2 * sitplot_test::kPi * k / n),
                              r * std::sin(2 * sitplot_test::kPi * k / n), 0);
        return ring;
    };
    Ring largeNaN = circle(3000, 10);
    for (std::size_t k = 0; k < largeNaN.size(); k += 7) largeNaN[k].y = nan;
    struct Case {
        const char* name;
        std::vector<Ring> rings;
        bool ok;
        int lines;
        const char* text;  // expected in the line, if any
    } cases[] = {
        {"every vertex beyond the limit", {Square(1e200, 1e200, 1e199, true)}, false, 1, "Error: "},
        {"large ring beyond the limit", {circle(3000, 1e200)}, false, 1, "Error: "},
        {"NaN coordinates", {Ring{{nan, 0, 0}, {1, nan, 0}, {0, 1, nan}}}, false, 1, "not a finite number"},
        {"infinite coordinates",
         {Square(0, 0, 1, true), Ring{{inf, 0, 0}, {-inf, 1, 0}, {0, inf, 0}}},
         false,
         1,
         "not a finite number"},
        {"large ring with NaN", {largeNaN}, false, 1, "not a finite number"},
        {"collinear ring", {Ring{{0, 0, 0}, {1, 1, 0}, {2, 2, 0}}}, false, 0, nullptr},
        {"square", {Square(0, 0, 1, true)}, true, 0, nullptr},
        {"large ring", {circle(3000, 10)}, true, 0, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<CHQ_Point3D> v;
        std::vector<int> idx;
        ::testing::internal::CaptureStderr();
        const bool ok = Tessellate(c.rings, v, idx);
        const std::string err = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(ok, c.ok);
        EXPECT_EQ(v.empty(), !c.ok);
        int lines = 0;
        for (std::size_t at = err.find("CHQGS_UtilityTessellation Error: "); at != std::string::npos;
             at = err.find("CHQGS_UtilityTessellation Error: ", at + 1))
            ++lines;
        EXPECT_EQ(lines, c.lines) << err;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), c.lines) << err;
        if (c.text != nullptr) {
            EXPECT_NE(err.find(c.text), std::string::npos) << err;
        }
    }
}

// ---- Real-world outlines --------------------------------------------------

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// Rings of a fixture: [[[x, y], ...], ...], the first ring outer, the
// others holes. Rings are re-wound (outer counter-clockwise, holes
// clockwise) because the positive rule needs holes wound against the outer
// ring and the data does not promise a winding.
std::vector<Ring> LoadFixture(const std::string& name, double& expectedArea) {
    rapidjson::Document doc;
    const std::string text = ReadFile(std::string(SITPLOT_TESTDATA_DIR) + "/earcut/" + name + ".json");
    doc.Parse(text.c_str());
    std::vector<Ring> rings;
    expectedArea = 0;
    if (doc.HasParseError() || !doc.IsArray()) return rings;
    for (const auto& jr : doc.GetArray()) {
        Ring r;
        for (const auto& jp : jr.GetArray()) r.emplace_back(jp[0].GetDouble(), jp[1].GetDouble(), 0.0);
        const double a = SignedArea(r);
        const bool outer = rings.empty();
        if ((a > 0) != outer) std::reverse(r.begin(), r.end());
        expectedArea += outer ? std::fabs(a) : -std::fabs(a);
        rings.push_back(r);
    }
    return rings;
}

// Tessellates the fixture into v and idx and answers what Tessellate
// answered; a fixture that cannot be read fails the test and answers false.
bool TessellateFixture(const std::string& name, double& expectedArea, std::vector<CHQ_Point3D>& v,
                       std::vector<int>& idx) {
    const std::vector<Ring> rings = LoadFixture(name, expectedArea);
    EXPECT_FALSE(rings.empty()) << name;
    return !rings.empty() && Tessellate(rings, v, idx);
}

int ExpectedTriangles(const std::string& name) {
    rapidjson::Document doc;
    const std::string text = ReadFile(std::string(SITPLOT_TESTDATA_DIR) + "/earcut/expected.json");
    doc.Parse(text.c_str());
    if (doc.HasParseError() || !doc.HasMember("triangles") || !doc["triangles"].HasMember(name.c_str()))
        return -1;
    return doc["triangles"][name.c_str()].GetInt();
}

}  // namespace

TEST(Tessellation, RealWorldOutlinesAreCoveredExactly) {
    // Relative area tolerance for clean data: only rounding of the ring sums.
    constexpr double kClean = 1e-9;
    // simplified-us-border has nearly touching points where the tessellator
    // snaps; water's rings overlap a little, so the filled area under the
    // positive rule differs from the ring sum by the overlaps.
    constexpr double kNearlyTouching = 1e-7;
    constexpr double kOverlappingRings = 1e-4;
    struct Case {
        const char* name;
        double relTol;
        // A polygon with n points and h holes has n + 2h - 2 triangles in
        // any triangulation without added points; where the data is clean
        // the tessellator's count must equal the published one.
        bool countMatchesPublished;
    } cases[] = {
        {"building", kClean, true},
        {"dude", kClean, true},
        {"water2", kClean, false},
        {"water3", kClean, true},
        {"water3b", kClean, true},
        {"water4", kClean, false},
        {"water-huge3", kClean, false},
        {"water", kOverlappingRings, false},
        {"hilbert", kClean, true},
        {"eberly-3", kClean, true},
        {"eberly-6", kClean, false},
        {"hole-touching-outer", kClean, true},
        {"issue16", kClean, true},
        {"issue29", kClean, true},
        {"self-touching", kClean, true},
        {"touching-holes", kClean, true},
        {"shared-points", kClean, true},
        {"bad-diagonals", kClean, true},
        {"collinear-diagonal", kClean, false},
        {"simplified-us-border", kNearlyTouching, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        double expected = 0;
        std::vector<CHQ_Point3D> v;
        std::vector<int> idx;
        ASSERT_TRUE(TessellateFixture(c.name, expected, v, idx));
        const MeshStats s = CheckMesh(v, idx);
        EXPECT_NEAR(s.area, expected, c.relTol * expected);
        // Outer rings run counter-clockwise, so every triangle does too.
        EXPECT_EQ(s.negative, 0);
        if (c.countMatchesPublished) {
            EXPECT_EQ(static_cast<int>(idx.size() / 3), ExpectedTriangles(c.name));
        }
    }
}

TEST(Tessellation, DegenerateFixturesFillNothing) {
    // Zero-area rings, and holes of a single point, contribute no triangle.
    struct Case {
        const char* name;
        bool fills;
        double area;
    } cases[] = {
        {"degenerate", false, 0},
        {"empty-square", false, 0},
        {"steiner", true, 10000},  // a square whose "holes" are single points
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        double expected = 0;
        std::vector<CHQ_Point3D> v;
        std::vector<int> idx;
        EXPECT_EQ(TessellateFixture(c.name, expected, v, idx), c.fills);
        EXPECT_NEAR(CheckMesh(v, idx).area, c.area, 1e-9 * (1 + c.area));
    }
}

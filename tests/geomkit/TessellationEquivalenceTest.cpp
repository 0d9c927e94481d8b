// SPDX-License-Identifier: Apache-2.0
// The constrained Delaunay path of the tessellator against the system
// tessellator on the same contours: the same filled region under the
// positive winding rule, the same facing, and the switch between them.
#include <geomkit/UtilityTessellation.h>

#include <GL/glu.h>
#include <gtest/gtest.h>
#include <rapidjson/document.h>

#include "GeometryTestSupport.h"
// The large-input path is internal to the library (hidden symbols); the test
// compiles its own copy to run it on inputs of any size.
#include "TessellationLarge.cpp"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

using namespace HQ;

namespace {

using Ring = std::vector<CHQ_Point3D>;
using Tris = std::vector<CHQ_Point3D>;  // three corners per triangle

// ---- The system tessellator, driven directly --------------------------------

struct GluRun {
    Tris tris;
    std::vector<CHQ_Point3D> current;
    std::vector<std::vector<double>> combined;
};
GluRun* g_run = nullptr;

void GLAPIENTRY OnBegin(GLenum) { g_run->current.clear(); }
void GLAPIENTRY OnVertex(void* d) {
    const double* b = static_cast<const double*>(d);
    g_run->tris.emplace_back(b[0], b[1], b[2]);
}
void GLAPIENTRY OnEdgeFlag(GLboolean) {}  // forces plain triangles
void GLAPIENTRY OnCombine(GLdouble c[3], void**, GLfloat*, void** out) {
    g_run->combined.push_back({c[0], c[1], c[2]});
    *out = g_run->combined.back().data();
}

Tris GluTriangles(const std::vector<Ring>& rings) {
    GluRun run;
    run.combined.reserve(1 << 20);  // stable addresses
    g_run = &run;
    std::vector<std::vector<double>> blocks;
    for (const auto& r : rings)
        for (const auto& p : r) blocks.push_back({p.x, p.y, p.z});
    GLUtesselator* t = gluNewTess();
    gluTessCallback(t, GLU_TESS_BEGIN, reinterpret_cast<_GLUfuncptr>(&OnBegin));
    gluTessCallback(t, GLU_TESS_VERTEX, reinterpret_cast<_GLUfuncptr>(&OnVertex));
    gluTessCallback(t, GLU_TESS_EDGE_FLAG, reinterpret_cast<_GLUfuncptr>(&OnEdgeFlag));
    gluTessCallback(t, GLU_TESS_COMBINE, reinterpret_cast<_GLUfuncptr>(&OnCombine));
    gluTessProperty(t, GLU_TESS_WINDING_RULE, GLU_TESS_WINDING_POSITIVE);
    gluTessBeginPolygon(t, nullptr);
    std::size_t k = 0;
    for (const auto& r : rings) {
        gluTessBeginContour(t);
        for (std::size_t i = 0; i < r.size(); ++i, ++k) gluTessVertex(t, blocks[k].data(), blocks[k].data());
        gluTessEndContour(t);
    }
    gluTessEndPolygon(t);
    gluDeleteTess(t);
    g_run = nullptr;
    return run.tris;
}

Tris Expand(const std::vector<CHQ_Point3D>& v, const std::vector<int>& idx) {
    Tris t;
    for (int i : idx) t.push_back(v[i]);
    return t;
}

double Cross(const CHQ_Point3D& a, const CHQ_Point3D& b, const CHQ_Point3D& c) {
    return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}

struct Summary {
    double area = 0;
    int positive = 0, negative = 0;
};

Summary Summarise(const Tris& t) {
    Summary s;
    for (std::size_t i = 0; i + 2 < t.size(); i += 3) {
        const double c = Cross(t[i], t[i + 1], t[i + 2]);
        s.area += std::fabs(c) / 2;
        s.positive += c > 0;
        s.negative += c < 0;
    }
    return s;
}

// Winding number of the rings around p (crossings of a ray to +x).
int Winding(const std::vector<Ring>& rings, double x, double y) {
    int w = 0;
    for (const auto& r : rings)
        for (std::size_t i = 0; i < r.size(); ++i) {
            const auto& a = r[i];
            const auto& b = r[(i + 1) % r.size()];
            if (a.y <= y) {
                if (b.y > y && Cross(a, b, {x, y, 0}) > 0) ++w;
            } else if (b.y <= y && Cross(a, b, {x, y, 0}) < 0) {
                --w;
            }
        }
    return w;
}

bool Covered(const Tris& t, double x, double y) {
    const CHQ_Point3D p(x, y, 0);
    for (std::size_t i = 0; i + 2 < t.size(); i += 3) {
        const double c1 = Cross(t[i], t[i + 1], p), c2 = Cross(t[i + 1], t[i + 2], p),
                     c3 = Cross(t[i + 2], t[i], p);
        if ((c1 >= 0 && c2 >= 0 && c3 >= 0) || (c1 <= 0 && c2 <= 0 && c3 <= 0)) return true;
    }
    return false;
}

// Both paths fill the same region: equal areas, equal facing, and random
// probes covered by both or by neither, as the winding rule says (the
// plane's facing is the sign of the rings' total area).
void ExpectSameRegion(const std::vector<Ring>& rings, int probes = 150) {
    std::vector<CHQ_Point3D> v;
    std::vector<int> idx;
    ASSERT_EQ(tessellation::TessellateLarge(rings, v, idx), tessellation::LargeOutcome::Filled);
    const Tris cdt = Expand(v, idx);
    const Tris glu = GluTriangles(rings);
    const Summary a = Summarise(cdt), b = Summarise(glu);
    EXPECT_NEAR(a.area, b.area, 1e-9 * b.area);
    EXPECT_TRUE((a.negative == 0 && b.negative == 0) || (a.positive == 0 && b.positive == 0))
        << "facing differs: " << a.positive << "/" << a.negative << " against " << b.positive << "/"
        << b.negative;
    double total = 0, minX = 1e300, maxX = -1e300, minY = 1e300, maxY = -1e300;
    for (const auto& r : rings) {
        total += sitplot_test::SignedArea(r);
        for (const auto& p : r) {
            minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
            minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
        }
    }
    const int facing = total > 0 ? 1 : -1;
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> ux(minX, maxX), uy(minY, maxY);
    for (int i = 0; i < probes; ++i) {
        const double x = ux(rng), y = uy(rng);
        const bool filled = facing * Winding(rings, x, y) > 0;
        EXPECT_EQ(Covered(cdt, x, y), filled) << "probe (" << x << ", " << y << ")";
        EXPECT_EQ(Covered(glu, x, y), filled) << "probe (" << x << ", " << y << ")";
    }
}

Ring Star(int n, double inner, double outer, bool ccw, double cx = 0, double cy = 0) {
    Ring r;
    for (int i = 0; i < n; ++i) {
        const double a = 2 * sitplot_test::kPi * i / n, rad = (i % 2) ? inner : outer;
        r.emplace_back(cx + rad * std::cos(a), cy + rad * std::sin(a), 0);
    }
    if (!ccw) std::reverse(r.begin(), r.end());
    return r;
}

Ring Wavy(int n, double cx, double cy, double radius, bool ccw) {
    Ring r;
    for (int i = 0; i < n; ++i) {
        const double a = 2 * sitplot_test::kPi * i / n;
        const double rad = radius * (1 + 0.1 * std::sin(a * 53));
        r.emplace_back(cx + rad * std::cos(a), cy + rad * std::sin(a), 0);
    }
    if (!ccw) std::reverse(r.begin(), r.end());
    return r;
}

Ring Square(double x0, double y0, double s, bool ccw) {
    Ring r{{x0, y0, 0}, {x0 + s, y0, 0}, {x0 + s, y0 + s, 0}, {x0, y0 + s, 0}};
    if (!ccw) std::reverse(r.begin(), r.end());
    return r;
}

std::vector<Ring> Fixture(const std::string& name) {
    std::ifstream in(std::string(SITPLOT_TESTDATA_DIR) + "/earcut/" + name + ".json", std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    rapidjson::Document doc;
    doc.Parse(ss.str().c_str());
    std::vector<Ring> rings;
    if (doc.HasParseError() || !doc.IsArray()) return rings;
    for (const auto& jr : doc.GetArray()) {
        Ring r;
        for (const auto& jp : jr.GetArray()) r.emplace_back(jp[0].GetDouble(), jp[1].GetDouble(), 0.0);
        const bool outer = rings.empty();
        if ((sitplot_test::SignedArea(r) > 0) != outer) std::reverse(r.begin(), r.end());
        rings.push_back(r);
    }
    return rings;
}

}  // namespace

TEST(TessellationEquivalence, GeneratedShapesFillTheSameRegion) {
    std::vector<Ring> holes{Square(0, 0, 110, true)};
    for (int i = 0; i < 10; ++i)
        for (int j = 0; j < 10; ++j) holes.push_back(Square(2 + 11 * i, 2 + 11 * j, 8, false));
    struct Case {
        const char* name;
        std::vector<Ring> rings;
    } cases[] = {
        {"star 1k", {Star(1000, 30, 100, true)}},
        {"star 10k, clockwise", {Star(10000, 30, 100, false)}},
        {"wavy 5k", {Wavy(5000, 0, 0, 100, true)}},
        {"square with 100 holes", holes},
        {"nested rings, same way (inner filled twice)",
         {Wavy(800, 0, 0, 100, true), Wavy(600, 0, 0, 40, true)}},
        {"nested rings, opposite (hole)", {Wavy(800, 0, 0, 100, true), Wavy(600, 0, 0, 40, false)}},
        {"three nested, alternating",
         {Square(-50, -50, 100, true), Square(-30, -30, 60, false), Square(-10, -10, 20, true)}},
        {"two apart, clockwise", {Star(300, 5, 10, false, -20, 0), Star(300, 5, 10, false, 20, 0)}},
        {"hole alone outside",
         {Star(300, 5, 10, true, -20, 0), Star(300, 5, 10, false, 20, 0), Square(0, 0, 1, true)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ExpectSameRegion(c.rings);
    }
}

TEST(TessellationEquivalence, EarcutFixturesFillTheSameRegion) {
    // The fixtures whose rings are simple and disjoint; the others (touching
    // holes, shared points, points on another ring's edge) are refused by the
    // path and stay with the system tessellator, checked below.
    const char* simple[] = {"building", "dude", "hilbert", "issue16", "issue29", "eberly-6"};
    for (const char* name : simple) {
        SCOPED_TRACE(name);
        const auto rings = Fixture(name);
        ASSERT_FALSE(rings.empty());
        ExpectSameRegion(rings, 60);
    }
    const char* refused[] = {"hole-touching-outer",
                             "self-touching",
                             "touching-holes",
                             "shared-points",
                             "water3",
                             "water3b",
                             "water4",
                             "eberly-3",
                             "bad-diagonals",
                             "water2"};
    for (const char* name : refused) {
        SCOPED_TRACE(name);
        std::vector<CHQ_Point3D> v;
        std::vector<int> idx;
        EXPECT_EQ(tessellation::TessellateLarge(Fixture(name), v, idx), tessellation::LargeOutcome::NotTaken);
    }
}

TEST(TessellationEquivalence, InputsThePathRefuses) {
    const double nan = std::nan("");
    Ring bowTie{{0, 0, 0}, {2, 2, 0}, {2, 0, 0}, {0, 2, 0}};
    Ring tilted{{0, 0, 0}, {1, 0, 1}, {1, 1, 2}, {0, 1, 0}};
    struct Case {
        const char* name;
        std::vector<Ring> rings;
    } cases[] = {
        {"crossing edges", {bowTie}},
        {"points off one plane z", {tilted}},
        {"not finite", {{{0, 0, 0}, {1, 0, 0}, {nan, 1, 0}}}},
        {"no area in total", {Square(0, 0, 1, true), Square(5, 5, 1, false)}},
        {"overlapping rings", {Square(0, 0, 2, true), Square(1, 1, 2, true)}},
        {"nothing", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<CHQ_Point3D> v;
        std::vector<int> idx;
        EXPECT_EQ(tessellation::TessellateLarge(c.rings, v, idx), tessellation::LargeOutcome::NotTaken);
    }
    // A ring closed by repeating its first point, and repeated consecutive
    // points, are taken: they carry no edge.
    Ring closed = Square(0, 0, 2, true);
    closed.insert(closed.begin() + 2, closed[1]);
    closed.push_back(closed.front());
    std::vector<CHQ_Point3D> v;
    std::vector<int> idx;
    ASSERT_EQ(tessellation::TessellateLarge({closed}, v, idx), tessellation::LargeOutcome::Filled);
    EXPECT_NEAR(Summarise(Expand(v, idx)).area, 4.0, 1e-12);
    EXPECT_EQ(v.size(), 4u);
}

TEST(TessellationEquivalence, LargeInputGoesThroughTheSwitch) {
    // Below the switch the system tessellator runs (vertices repeated per
    // primitive); from the switch on, each vertex comes once.
    auto* t = CHQGS_UtilityTessellation::getInstance();
    for (int n : {200, static_cast<int>(tessellation::kLargeInputVertices) + 2}) {
        SCOPED_TRACE(n);
        t->init();
        t->addContour(Star(n, 30, 100, true));
        std::vector<CHQ_Point3D> v;
        std::vector<int> idx;
        ASSERT_TRUE(t->tesselated(v, idx));
        EXPECT_EQ(idx.size(), 3u * (n - 2));
        EXPECT_EQ(v.size() == static_cast<std::size_t>(n), n > 1000);
        EXPECT_NEAR(Summarise(Expand(v, idx)).area, Summarise(GluTriangles({Star(n, 30, 100, true)})).area,
                    1e-6);
    }
}

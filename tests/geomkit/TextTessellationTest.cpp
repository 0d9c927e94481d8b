// SPDX-License-Identifier: Apache-2.0
#include <geomkit/MathUtilityFunctions.h>
#include <geomkit/UtilityText.h>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

using namespace HQ;

namespace {

using Contours = std::vector<std::vector<CHQ_Point2D>>;
using Pts = std::vector<CHQ_Point3D>;

double Len(const CHQ_Point3D& v) { return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z); }

std::size_t TotalPoints(const Contours& c) {
    std::size_t n = 0;
    for (const auto& k : c) n += k.size();
    return n;
}

double TriangleArea(const Pts& v, const std::vector<int>& idx, std::size_t t) {
    const auto& a = v[idx[t]];
    const auto& b = v[idx[t + 1]];
    const auto& c = v[idx[t + 2]];
    return ((b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x)) / 2;
}

// Parts of a slab mesh: front face, back face, walls, as laid out by the
// extrusion (front vertices first, then back, then one wall per contour).
struct Slab {
    std::size_t k = 0;  // face vertices
    std::size_t faceIndices = 0;
};

Slab CheckSlab(const Contours& contours, double thickness, const Pts& v, const std::vector<int>& idx,
               const Pts& n) {
    Slab s;
    const double h = thickness / 2;
    const std::size_t total = TotalPoints(contours);
    EXPECT_EQ(n.size(), v.size());
    EXPECT_EQ(idx.size() % 3, 0u);
    EXPECT_EQ((v.size() - 2 * total) % 2, 0u);
    s.k = (v.size() - 2 * total) / 2;
    for (int i : idx) {
        EXPECT_GE(i, 0);
        EXPECT_LT(i, static_cast<int>(v.size()));
    }
    for (std::size_t i = 0; i < v.size(); ++i) {
        const double z = i < s.k ? h : i < 2 * s.k ? -h : v[i].z;
        EXPECT_EQ(v[i].z, z) << "vertex " << i;
        // Unit normals on the faces; on the walls too, except where every
        // neighbouring quad has no area (repeated contour points), which
        // leaves (0, 0, 0).
        const double len = Len(n[i]);
        if (i < 2 * s.k)
            EXPECT_NEAR(len, 1.0, 1e-9) << "vertex " << i;
        else
            EXPECT_TRUE(std::fabs(len - 1.0) < 1e-9 || len == 0.0)
                << "vertex " << i << " normal length " << len;
    }
    // Walls: ring at +h then the same ring at -h, per contour in order.
    std::size_t base = 2 * s.k;
    for (const auto& c : contours) {
        for (std::size_t i = 0; i < c.size(); ++i) {
            EXPECT_EQ(v[base + i].x, c[i].x);
            EXPECT_EQ(v[base + i].y, c[i].y);
            EXPECT_EQ(v[base + i].z, h);
            EXPECT_EQ(v[base + c.size() + i].x, c[i].x);
            EXPECT_EQ(v[base + c.size() + i].z, -h);
        }
        base += 2 * c.size();
    }
    return s;
}

}  // namespace

TEST(TextTessellation, TriangleSlabHasFacesAndClosedWall) {
    // A triangle contour of n = 3 points gives a face of one triangle
    // (k = 3), a back face, and a wall with the closed-wall indices
    // 0 4 1, 0 3 4, 1 5 2, 1 4 5, 2 5 3, 2 3 0 after the faces.
    const Contours tri{{{0, 0}, {4, 0}, {0, 3}}};
    Pts v, n;
    std::vector<int> idx;
    ASSERT_TRUE(CHQGS_MathUtilityFunctions::ComputeTextTessellation(tri, 2.0, v, idx, n));
    const Slab s = CheckSlab(tri, 2.0, v, idx, n);
    ASSERT_EQ(s.k, 3u);
    ASSERT_EQ(v.size(), 2 * 3 + 2 * 3u);
    ASSERT_EQ(idx.size(), 3u + 3u + 18u);
    // Front and back faces: the same triangle, turned opposite ways.
    EXPECT_EQ(idx[0], idx[3] - 3);
    EXPECT_EQ(idx[1], idx[5] - 3);
    EXPECT_EQ(idx[2], idx[4] - 3);
    EXPECT_NEAR(std::fabs(TriangleArea(v, idx, 0)), 6.0, 1e-12);
    EXPECT_EQ(n[0].z, -n[3].z);
    EXPECT_NEAR(std::fabs(n[0].z), 1.0, 1e-12);
    const int wall[] = {0, 4, 1, 0, 3, 4, 1, 5, 2, 1, 4, 5, 2, 5, 3, 2, 3, 0};
    for (int i = 0; i < 18; ++i) EXPECT_EQ(idx[6 + i], wall[i] + 6) << "wall index " << i;
    // Wall normals lie in the plane of the face.
    for (std::size_t i = 6; i < 12; ++i) EXPECT_NEAR(n[i].z, 0.0, 1e-12);
}

TEST(TextTessellation, ThicknessDecidesTheParts) {
    const Contours ring{{{0, 0}, {10, 0}, {10, 10}, {0, 10}}, {{3, 3}, {3, 7}, {7, 7}, {7, 3}}};
    struct Case {
        double thickness;
        bool solid;
    } cases[] = {{0.0, false}, {1e-6, false}, {2.0, true}, {-2.0, true}, {0.5, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.thickness);
        Pts v, n;
        std::vector<int> idx;
        ASSERT_TRUE(CHQGS_MathUtilityFunctions::ComputeTextTessellation(ring, c.thickness, v, idx, n));
        if (!c.solid) {
            ASSERT_FALSE(v.empty());
            double area = 0;
            for (std::size_t t = 0; t < idx.size(); t += 3) area += std::fabs(TriangleArea(v, idx, t));
            EXPECT_NEAR(area, 100 - 16, 1e-9);
            for (const auto& p : v) EXPECT_EQ(p.z, c.thickness / 2);
            EXPECT_EQ(n.size(), v.size());
            continue;
        }
        const Slab s = CheckSlab(ring, c.thickness, v, idx, n);
        // Vertex count: 2k + 2 x (total contour points).
        EXPECT_EQ(v.size(), 2 * s.k + 2 * TotalPoints(ring));
        // Faces of 8 triangles each, front and back; walls 6n per contour.
        EXPECT_EQ(idx.size(), 2 * 8 * 3 + 2 * 6 * 4u);
    }
}

TEST(TextTessellation, FaceOnlyKeepsTheTessellatorWinding) {
    const Contours sq{{{0, 0}, {2, 0}, {2, 2}, {0, 2}}};
    Pts fv, fn, sv, sn;
    std::vector<int> fi, si;
    ASSERT_TRUE(CHQGS_MathUtilityFunctions::ComputeTextTessellationFace(sq, 3.0, fv, fi, fn));
    ASSERT_TRUE(CHQGS_MathUtilityFunctions::ComputeTextTessellation(sq, 3.0, sv, si, sn));
    ASSERT_EQ(fi.size(), 6u);
    ASSERT_EQ(2 * fv.size() + 2 * 4, sv.size());
    for (const auto& p : fv) EXPECT_EQ(p.z, 1.5);
    for (std::size_t t = 0; t < 6; t += 3) {
        // The slab's front face is the face with two corners swapped.
        EXPECT_EQ(si[t], fi[t]);
        EXPECT_EQ(si[t + 1], fi[t + 2]);
        EXPECT_EQ(si[t + 2], fi[t + 1]);
    }
    for (std::size_t i = 0; i < fn.size(); ++i) {
        EXPECT_NEAR(fn[i].z, -sn[i].z, 1e-12);
        EXPECT_NEAR(std::fabs(fn[i].z), 1.0, 1e-12);
    }
}

TEST(TextTessellation, ShortContoursAndEmptyFaces) {
    struct Case {
        const char* name;
        Contours contours;
        bool ok;
        std::size_t vertices;  // for thickness 2
    } cases[] = {
        {"single point contour", {{{0, 0}, {1, 0}, {0, 1}}, {{5, 5}}}, false, 0},
        {"empty contour", {{}}, false, 0},
        {"no contours", {}, true, 0},
        // Two points make no face but a wall of one quad (open wall: 6 indices).
        {"two points", {{{0, 0}, {1, 0}}}, true, 4},
        {"collinear", {{{0, 0}, {1, 0}, {2, 0}}}, true, 6},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Pts v{{1, 1, 1}}, n{{1, 1, 1}};
        std::vector<int> idx{5};
        EXPECT_EQ(CHQGS_MathUtilityFunctions::ComputeTextTessellation(c.contours, 2.0, v, idx, n), c.ok);
        EXPECT_EQ(v.size(), c.vertices);
        EXPECT_EQ(n.size(), c.vertices);
        for (int i : idx) EXPECT_LT(i, static_cast<int>(v.size()));
        Pts fv{{1, 1, 1}}, fn;
        std::vector<int> fi{5};
        EXPECT_EQ(CHQGS_MathUtilityFunctions::ComputeTextTessellationFace(c.contours, 2.0, fv, fi, fn), c.ok);
        EXPECT_TRUE(fv.empty());
        EXPECT_TRUE(fi.empty());
    }
}

// A point or a thickness that is not a finite number would reach every
// vertex and normal of the mesh: both functions refuse it.
TEST(TextTessellation, NonFiniteInputAnswersFalse) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const Contours square{{{0, 0}, {4, 0}, {4, 4}, {0, 4}}};
    struct Case {
        const char* name;
        Contours contours;
        double thickness;
    } cases[] = {
        {"NaN x", {{{0, 0}, {4, 0}, {nan, 4}, {0, 4}}}, 2.0},
        {"infinite y in a second contour", {square[0], {{1, 1}, {2, inf}, {1, 2}}}, 2.0},
        {"two-point contour with -inf", {{{-inf, 0}, {1, 0}}}, 2.0},
        {"NaN thickness", square, nan},
        {"infinite thickness", square, inf},
        {"flat but NaN", {{{0, 0}, {nan, nan}, {0, 4}}}, 0.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Pts v{{1, 1, 1}}, n{{1, 1, 1}};
        std::vector<int> idx{5};
        EXPECT_FALSE(CHQGS_MathUtilityFunctions::ComputeTextTessellation(c.contours, c.thickness, v, idx, n));
        EXPECT_TRUE(v.empty() && idx.empty() && n.empty());
        Pts fv{{1, 1, 1}}, fn{{1, 1, 1}};
        std::vector<int> fi{5};
        EXPECT_FALSE(
            CHQGS_MathUtilityFunctions::ComputeTextTessellationFace(c.contours, c.thickness, fv, fi, fn));
        EXPECT_TRUE(fv.empty() && fi.empty() && fn.empty());
    }
    // The same square with finite values still makes its slab.
    Pts v, n;
    std::vector<int> idx;
    EXPECT_TRUE(CHQGS_MathUtilityFunctions::ComputeTextTessellation(square, 2.0, v, idx, n));
    EXPECT_EQ(v.size(), 2 * 4 + 2 * 4u);
}

TEST(TextTessellation, GlyphsExtrudeIntoClosedSlabs) {
    struct Case {
        const char* font;
        int size;
        wchar_t ch;
    } cases[] = {
        {"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", 64, L'O'},
        {"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", 64, L'B'},
        {"/usr/share/fonts/opentype/urw-base35/NimbusSans-Regular.otf", 64, L'g'},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.font);
        CHQGS_UtilityText text;
        ASSERT_TRUE(text.Load(c.font, c.size, c.size));
        const Contours glyph = text.LoadChar(c.ch);
        ASSERT_FALSE(glyph.empty());
        Pts v, n;
        std::vector<int> idx;
        ASSERT_TRUE(CHQGS_MathUtilityFunctions::ComputeTextTessellation(glyph, 128.0, v, idx, n));
        const Slab s = CheckSlab(glyph, 128.0, v, idx, n);
        EXPECT_GT(s.k, 0u);
        EXPECT_EQ(v.size(), 2 * s.k + 2 * TotalPoints(glyph));
        // Front normals point one way along z, back normals the other.
        for (std::size_t i = 0; i < s.k; ++i) {
            EXPECT_NEAR(std::fabs(n[i].z), 1.0, 1e-12);
            EXPECT_EQ(n[i].z, -n[s.k + i].z);
        }
    }
}

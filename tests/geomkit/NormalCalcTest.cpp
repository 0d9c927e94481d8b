// SPDX-License-Identifier: Apache-2.0
#include <geomkit/MathUtilityFunctions.h>
#include <geomkit/NormalCalc.h>

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace HQ;

namespace {

using Pts = std::vector<CHQ_Point3D>;

void ExpectDir(const CHQ_Point3D& n, double x, double y, double z, double tol = 1e-12) {
    const double len = std::sqrt(x * x + y * y + z * z);
    if (len > 0) {
        x /= len;
        y /= len;
        z /= len;
    }
    EXPECT_NEAR(n.x, x, tol);
    EXPECT_NEAR(n.y, y, tol);
    EXPECT_NEAR(n.z, z, tol);
}

std::vector<CColor> Colours(std::size_t n) {
    std::vector<CColor> c;
    for (std::size_t i = 0; i < n; ++i) c.emplace_back(static_cast<unsigned char>(i), 0, 0, 255);
    return c;
}

}  // namespace

// ---- ComputeNormals ----------------------------------------------------------

TEST(ComputeNormals, FlatSquareFacesOneWay) {
    const Pts square{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    const std::vector<int> idx{0, 1, 2, 0, 2, 3};
    struct Case {
        bool reverse;
        double z;
    } cases[] = {{false, 1}, {true, -1}};
    for (const auto& c : cases) {
        const Pts n = CHQGS_MathUtilityFunctions::ComputeNormals(square, idx, c.reverse);
        ASSERT_EQ(n.size(), 4u);
        for (const auto& v : n) ExpectDir(v, 0, 0, c.z);
    }
}

TEST(ComputeNormals, EqualFaceNormalIsNotAddedTwiceInARow) {
    // Vertex 0 is shared by triangles with the face normals given in order.
    // A face normal equal to the sum so far is skipped, so A, A, B gives the
    // direction of A + B while A, B, A gives 2A + B.
    const Pts p{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {-1, 0, 0}, {0, 0, 1}, {0, -1, 0}};
    const std::vector<int> faceA1{0, 1, 2};  // (0, 0, 1)
    const std::vector<int> faceA2{0, 2, 3};  // (0, 0, 1)
    const std::vector<int> faceB{0, 2, 4};   // (1, 0, 0)
    const std::vector<int> faceC{0, 5, 4};   // (-1, 0, 0)
    struct Case {
        const char* name;
        std::vector<std::vector<int>> faces;
        double x, y, z;
    } cases[] = {
        {"A A B", {faceA1, faceA2, faceB}, 1, 0, 1},
        {"A B A", {faceA1, faceB, faceA2}, 1, 0, 2},
        {"A A", {faceA1, faceA2}, 0, 0, 1},
        {"B C cancel", {faceB, faceC}, 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<int> idx;
        for (const auto& f : c.faces) idx.insert(idx.end(), f.begin(), f.end());
        const Pts n = CHQGS_MathUtilityFunctions::ComputeNormals(p, idx, false);
        ASSERT_EQ(n.size(), p.size());
        ExpectDir(n[0], c.x, c.y, c.z);
    }
}

TEST(ComputeNormals, BadTrianglesAreSkipped) {
    const Pts p{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {5, 5, 5}};
    struct Case {
        const char* name;
        std::vector<int> idx;
        bool vertex0Lit;
    } cases[] = {
        {"negative index", {0, -1, 2}, false},     {"index past the end", {0, 1, 4}, false},
        {"huge index", {0, 1, 1 << 30}, false},    {"partial triple", {0, 1}, false},
        {"degenerate triangle", {0, 0, 1}, false}, {"good after bad", {0, 1, 9, 0, 1, 2, 3, 3}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Pts n = CHQGS_MathUtilityFunctions::ComputeNormals(p, c.idx, false);
        ASSERT_EQ(n.size(), p.size());
        if (c.vertex0Lit)
            ExpectDir(n[0], 0, 0, 1);
        else
            ExpectDir(n[0], 0, 0, 0);
        ExpectDir(n[3], 0, 0, 0);  // never part of a proper triangle
    }
}

// ---- NormalCalc --------------------------------------------------------------

TEST(NormalCalc, PrimitivesExpandToSeparateTriangles) {
    // Points on the z = 0 plane wound counter-clockwise give +z normals.
    const Pts strip{{0, 0, 0}, {0, 1, 0}, {1, 0, 0}, {1, 1, 0}, {2, 0, 0}};
    const Pts fan{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {-1, 1, 0}};
    const Pts list{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 0}, {0, 1, 0}, {1, 0, 0}, {7, 7, 7}};
    struct Case {
        const char* name;
        int type;
        Pts positions;
        std::vector<int> indices;
        std::vector<int> corners;  // expected corners into positions, three per triangle
        std::vector<double> normalZ;
    } cases[] = {
        {"strip of four",
         NormalCalc::OT_TRIANGLE_STRIP,
         Pts(strip.begin(), strip.begin() + 4),
         {},
         {0, 1, 2, 1, 3, 2},
         {-1, -1}},
        {"strip through indices",
         NormalCalc::OT_TRIANGLE_STRIP,
         strip,
         {0, 1, 2, 3, 4},
         {0, 1, 2, 1, 3, 2, 2, 3, 4},
         {-1, -1, -1}},
        {"fan", NormalCalc::OT_TRIANGLE_FAN, fan, {}, {0, 1, 2, 0, 2, 3, 0, 3, 4}, {1, 1, 1}},
        {"list ignores a trailing vertex",
         NormalCalc::OT_TRIANGLE_LIST,
         list,
         {},
         {0, 1, 2, 3, 4, 5},
         {1, -1}},
        {"list through indices",
         NormalCalc::OT_TRIANGLE_LIST,
         list,
         {2, 1, 0, 0, 1, 2, 6},
         {2, 1, 0, 0, 1, 2},
         {-1, 1}},
        {"list skips bad indices",
         NormalCalc::OT_TRIANGLE_LIST,
         list,
         {0, 1, 7, -1, 1, 2, 0, 1, 2},
         {0, 1, 2},
         {1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto colours = Colours(c.positions.size());
        Pts outP, outN;
        std::vector<CColor> outC;
        ASSERT_TRUE(NormalCalc().calcNormal(c.type, c.positions, c.indices, colours, outP, outC, outN));
        ASSERT_EQ(outP.size(), c.corners.size());
        ASSERT_EQ(outC.size(), c.corners.size());
        ASSERT_EQ(outN.size(), c.corners.size());
        for (std::size_t k = 0; k < c.corners.size(); ++k) {
            const auto& want = c.positions[c.corners[k]];
            EXPECT_EQ(outP[k].x, want.x);
            EXPECT_EQ(outP[k].y, want.y);
            EXPECT_EQ(outC[k].m_rgba[0], c.corners[k]);
            ExpectDir(outN[k], 0, 0, c.normalZ[k / 3]);
        }
    }
}

TEST(NormalCalc, DegenerateTriangleRepeatsThePreviousNormal) {
    // Triangle 0 is flat in x = 0 (normal +x), triangle 1 collapses, triangle 2
    // collapses too but comes first in the second call.
    const Pts p{{0, 0, 0}, {0, 1, 0}, {0, 0, 1}, {2, 2, 2}, {2, 2, 2}, {3, 3, 3}};
    const auto colours = Colours(p.size());
    Pts outP, outN;
    std::vector<CColor> outC;
    ASSERT_TRUE(NormalCalc().calcNormal(4, p, {}, colours, outP, outC, outN));
    ASSERT_EQ(outN.size(), 6u);
    ExpectDir(outN[0], 1, 0, 0);
    ExpectDir(outN[5], 1, 0, 0);

    Pts outP2, outN2;
    std::vector<CColor> outC2;
    ASSERT_TRUE(NormalCalc().calcNormal(4, p, {3, 4, 5, 0, 1, 2}, colours, outP2, outC2, outN2));
    ExpectDir(outN2[0], 0, 0, 0);
    ExpectDir(outN2[3], 1, 0, 0);
}

TEST(NormalCalc, RejectedInputLeavesOutputsAlone) {
    const Pts tri{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    struct Case {
        const char* name;
        int type;
        Pts positions;
        std::vector<int> indices;
        std::size_t colours;
    } cases[] = {
        {"no positions", 4, {}, {0, 1, 2}, 0},
        {"no colours", 4, tri, {}, 0},
        {"colour count differs", 4, tri, {}, 4},
        {"two vertices", 4, Pts(tri.begin(), tri.begin() + 2), {}, 2},
        {"two indices", 4, tri, {0, 1}, 3},
        {"unknown type 3", 3, tri, {}, 3},
        {"unknown type 7", 7, tri, {}, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Pts outP{{9, 9, 9}}, outN{{8, 8, 8}};
        std::vector<CColor> outC{CColor(1, 2, 3, 4)};
        EXPECT_FALSE(
            NormalCalc().calcNormal(c.type, c.positions, c.indices, Colours(c.colours), outP, outC, outN));
        EXPECT_EQ(outP.size(), 1u);
        EXPECT_EQ(outC.size(), 1u);
        EXPECT_EQ(outN.size(), 1u);
    }
}

TEST(NormalCalc, OutputsAreAppendedTo) {
    const Pts tri{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    Pts outP{{9, 9, 9}}, outN{{8, 8, 8}};
    std::vector<CColor> outC{CColor(1, 2, 3, 4)};
    ASSERT_TRUE(NormalCalc().calcNormal(6, tri, {}, Colours(3), outP, outC, outN));
    ASSERT_EQ(outP.size(), 4u);
    EXPECT_EQ(outP[0].x, 9.0);
    EXPECT_EQ(outC[0].m_rgba[0], 1);
    EXPECT_EQ(outN[0].x, 8.0);
    ExpectDir(outN[1], 0, 0, 1);
}

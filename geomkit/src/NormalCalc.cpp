// SPDX-License-Identifier: Apache-2.0
// NormalCalc: triangle lists, strips and fans expanded into separate
// triangles with flat face normals.
#include <geomkit/NormalCalc.h>

#include "MeshVectors.h"
#include "Tolerances.h"

#include <cstddef>
#include <cstdint>

namespace HQ {

namespace {

using namespace meshvec;

// A patch normal (the cross product of two edges) shorter than
// kCoordinateTolerance comes from a degenerate triangle; such a triangle
// keeps the previous normal.
using tolerance::kCoordinateTolerance;

}  // namespace

bool NormalCalc::calcNormal(int operationType, const std::vector<CHQ_Point3D>& positions,
                            const std::vector<int>& indices, const std::vector<CColor>& colours,
                            std::vector<CHQ_Point3D>& outPositions, std::vector<CColor>& outColours,
                            std::vector<CHQ_Point3D>& outNormals) const {
    if (positions.empty() || colours.size() != positions.size()) return false;
    const std::size_t vertexCount = indices.empty() ? positions.size() : indices.size();
    if (vertexCount < 3) return false;
    // Index lists beyond int range cannot be addressed by the corner
    // arithmetic; they are far beyond any display mesh.
    if (vertexCount > static_cast<std::size_t>(INT32_MAX)) return false;
    const int primitives = calcNumPrimitives(operationType, static_cast<int>(vertexCount));
    if (primitives <= 0) return false;

    CHQ_Point3D normal(0, 0, 0);
    for (int k = 0; k < primitives; ++k) {
        int i0, i1, i2;
        if (!calcPrimitiveNormal(operationType, k, positions, indices, normal, i0, i1, i2)) continue;
        outPositions.push_back(positions[i0]);
        outPositions.push_back(positions[i1]);
        outPositions.push_back(positions[i2]);
        outColours.push_back(colours[i0]);
        outColours.push_back(colours[i1]);
        outColours.push_back(colours[i2]);
        outNormals.push_back(normal);
        outNormals.push_back(normal);
        outNormals.push_back(normal);
    }
    return true;
}

int NormalCalc::calcNumPrimitives(int operationType, int vertexCount) const {
    switch (operationType) {
        case OT_TRIANGLE_LIST:
            return vertexCount / 3;
        case OT_TRIANGLE_STRIP:
        case OT_TRIANGLE_FAN:
            return vertexCount - 2;
        default:
            return 0;
    }
}

void NormalCalc::calcPrimitiveVertexIndices(int operationType, int primitive, int& i0, int& i1,
                                            int& i2) const {
    const int k = primitive;
    switch (operationType) {
        case OT_TRIANGLE_LIST:
            i0 = 3 * k;
            i1 = 3 * k + 1;
            i2 = 3 * k + 2;
            break;
        case OT_TRIANGLE_STRIP:
            // Odd triangles of a strip swap their last two corners to keep
            // one facing.
            i0 = k;
            i1 = (k % 2 == 0) ? k + 1 : k + 2;
            i2 = (k % 2 == 0) ? k + 2 : k + 1;
            break;
        default:  // OT_TRIANGLE_FAN
            i0 = 0;
            i1 = k + 1;
            i2 = k + 2;
            break;
    }
}

void NormalCalc::mapVertexIndices(const std::vector<int>& indices, int i0, int i1, int i2, int& o0, int& o1,
                                  int& o2) const {
    if (indices.empty()) {
        o0 = i0;
        o1 = i1;
        o2 = i2;
        return;
    }
    o0 = indices[i0];
    o1 = indices[i1];
    o2 = indices[i2];
}

void NormalCalc::readVertexPosition(const std::vector<CHQ_Point3D>& positions, int i0, int i1, int i2,
                                    CHQ_Point3D& p0, CHQ_Point3D& p1, CHQ_Point3D& p2) const {
    p0 = positions[i0];
    p1 = positions[i1];
    p2 = positions[i2];
}

bool NormalCalc::calcPatchNormal(const CHQ_Point3D& p0, const CHQ_Point3D& p1, const CHQ_Point3D& p2,
                                 CHQ_Point3D& normal) const {
    const CHQ_Point3D n = Cross(Sub(p1, p0), Sub(p2, p0));
    const double len = Length(n);
    if (len < kCoordinateTolerance) return false;
    normal = Normalised(n);
    return true;
}

bool NormalCalc::calcPrimitiveNormal(int operationType, int primitive,
                                     const std::vector<CHQ_Point3D>& positions,
                                     const std::vector<int>& indices, CHQ_Point3D& normal, int& i0, int& i1,
                                     int& i2) const {
    int c0, c1, c2;
    calcPrimitiveVertexIndices(operationType, primitive, c0, c1, c2);
    mapVertexIndices(indices, c0, c1, c2, i0, i1, i2);
    if (!InRange(i0, positions.size()) || !InRange(i1, positions.size()) || !InRange(i2, positions.size()))
        return false;
    CHQ_Point3D p0, p1, p2;
    readVertexPosition(positions, i0, i1, i2, p0, p1, p2);
    calcPatchNormal(p0, p1, p2, normal);
    return true;
}

}  // namespace HQ

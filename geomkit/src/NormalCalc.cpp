#include <geomkit/MathUtilityFunctions.h>
#include <geomkit/NormalCalc.h>

#include "Tolerances.h"

#include <cmath>
#include <cstddef>
#include <cstdint>

namespace HQ {

namespace {

// A patch normal (the cross product of two edges) shorter than
// kCoordinateTolerance comes from a degenerate triangle; such a triangle
// keeps the previous normal.
using tolerance::kCoordinateTolerance;

CHQ_Point3D Sub(const CHQ_Point3D& a, const CHQ_Point3D& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }

CHQ_Point3D Cross(const CHQ_Point3D& a, const CHQ_Point3D& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

double Length(const CHQ_Point3D& v) { return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z); }

// Scales v to length 1 when its length is above 0.
CHQ_Point3D Normalised(const CHQ_Point3D& v) {
    const double len = Length(v);
    if (len > 0) return {v.x / len, v.y / len, v.z / len};
    return v;
}

bool InRange(int i, std::size_t size) { return i >= 0 && static_cast<std::size_t>(i) < size; }

}  // namespace

// ---- CHQGS_MathUtilityFunctions: mesh helpers ------------------------------

std::vector<CHQ_Point3D> CHQGS_MathUtilityFunctions::ComputeNormals(const std::vector<CHQ_Point3D>& points,
                                                                    const std::vector<int>& indices,
                                                                    bool reverse) {
    std::vector<CHQ_Point3D> normals(points.size(), CHQ_Point3D(0, 0, 0));
    for (std::size_t t = 0; t + 2 < indices.size(); t += 3) {
        const int i[3] = {indices[t], indices[t + 1], indices[t + 2]};
        if (!InRange(i[0], points.size()) || !InRange(i[1], points.size()) || !InRange(i[2], points.size()))
            continue;
        const CHQ_Point3D e1 = Sub(points[i[1]], points[i[0]]);
        const CHQ_Point3D e2 = Sub(points[i[2]], points[i[0]]);
        const CHQ_Point3D face = Normalised(reverse ? Cross(e2, e1) : Cross(e1, e2));
        for (int c = 0; c < 3; ++c) {
            CHQ_Point3D& n = normals[i[c]];
            // A sum that already equals this face's normal exactly does not
            // take it again, so coplanar neighbours do not outweigh others.
            if (n.x == face.x && n.y == face.y && n.z == face.z) continue;
            n.x += face.x;
            n.y += face.y;
            n.z += face.z;
        }
    }
    for (auto& n : normals) n = Normalised(n);
    return normals;
}

int* CHQGS_MathUtilityFunctions::CreatePlaneIndice(int n, int& count, bool closed) {
    if (n < 2) {
        count = 0;
        return nullptr;
    }
    int* out;
    int k = 0;
    if (!closed || n < 3) {
        count = 6 * n - 6;
        out = new int[count];
        for (int i = 0; i <= n - 2; ++i) {
            const int quad[6] = {i, n + i + 1, n + i, i, i + 1, n + i + 1};
            for (int v : quad) out[k++] = v;
        }
    } else {
        count = 6 * n;
        out = new int[count];
        for (int i = 0; i <= n - 2; ++i) {
            const int quad[6] = {i, n + i + 1, i + 1, i, n + i, n + i + 1};
            for (int v : quad) out[k++] = v;
        }
        const int closing[6] = {n - 1, 2 * n - 1, n, n - 1, n, 0};
        for (int v : closing) out[k++] = v;
    }
    return out;
}

// ---- NormalCalc ---------------------------------------------------------------

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

// SPDX-License-Identifier: Apache-2.0
// Mesh helper members of CHQGS_MathUtilityFunctions: smooth per-vertex
// normals of a triangle mesh and the side-wall indices between two rings.
#include <geomkit/MathUtilityFunctions.h>

#include "MeshVectors.h"

#include <cstddef>

namespace HQ {

using namespace meshvec;

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

}  // namespace HQ

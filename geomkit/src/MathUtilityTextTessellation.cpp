// SPDX-License-Identifier: Apache-2.0
// Text tessellation members of CHQGS_MathUtilityFunctions: glyph contours
// turned into a triangle mesh (a flat face or a slab with walls).
#include <geomkit/MathUtilityFunctions.h>
#include <geomkit/UtilityTessellation.h>

#include "Tolerances.h"

#include <cmath>
#include <memory>
#include <utility>

namespace HQ {

namespace {

// Half thicknesses at or below kCoordinateTolerance make a flat face without
// back or walls.
using tolerance::kCoordinateTolerance;

// Steps 1-3 shared by both mesh functions: the face triangulation F, T of
// the contours, or false for a contour of fewer than two points, a point or
// a thickness that is not a finite number (the mesh would carry it into
// every vertex and normal built from it).
bool TessellateFace(const std::vector<std::vector<CHQ_Point2D>>& contours, double thickness,
                    std::vector<CHQ_Point3D>& vertices, std::vector<int>& indices,
                    std::vector<CHQ_Point3D>& normals, std::vector<CHQ_Point3D>& face,
                    std::vector<int>& faceIdx) {
    vertices.clear();
    indices.clear();
    normals.clear();
    CHQGS_UtilityTessellation* tess = CHQGS_UtilityTessellation::getInstance();
    tess->init();
    if (!std::isfinite(thickness)) return false;
    for (const auto& c : contours) {
        if (c.size() < 2) return false;
        std::vector<CHQ_Point3D> c3;
        c3.reserve(c.size());
        for (const auto& p : c) {
            if (!std::isfinite(p.x) || !std::isfinite(p.y)) return false;
            c3.emplace_back(p.x, p.y, 0.0);
        }
        tess->addContour(c3);
    }
    tess->tesselated(face, faceIdx);
    return true;
}

void AppendAtZ(std::vector<CHQ_Point3D>& to, const std::vector<CHQ_Point3D>& from, double z) {
    for (const auto& p : from) to.emplace_back(p.x, p.y, z);
}

}  // namespace

bool CHQGS_MathUtilityFunctions::ComputeTextTessellation(
    const std::vector<std::vector<CHQ_Point2D>>& contours, double thickness,
    std::vector<CHQ_Point3D>& vertices, std::vector<int>& indices, std::vector<CHQ_Point3D>& normals) {
    std::vector<CHQ_Point3D> F;
    std::vector<int> T;
    if (!TessellateFace(contours, thickness, vertices, indices, normals, F, T)) return false;
    const double h = thickness * 0.5;
    const int k = static_cast<int>(F.size());

    // Front face: second and third corners of every triangle swapped, so
    // that it faces away from the back face.
    std::vector<int> front = T;
    for (std::size_t t = 0; t + 2 < front.size(); t += 3) std::swap(front[t + 1], front[t + 2]);
    AppendAtZ(vertices, F, h);
    indices.insert(indices.end(), front.begin(), front.end());
    const auto frontNormals = ComputeNormals(F, front, false);
    normals.insert(normals.end(), frontNormals.begin(), frontNormals.end());

    if (std::fabs(h) > kCoordinateTolerance) {
        AppendAtZ(vertices, F, -h);
        for (int i : T) indices.push_back(i + k);
        const auto backNormals = ComputeNormals(F, T, false);
        normals.insert(normals.end(), backNormals.begin(), backNormals.end());

        for (const auto& contour : CHQGS_UtilityTessellation::getInstance()->getContours()) {
            const int n = static_cast<int>(contour.size());
            std::vector<CHQ_Point3D> wall;
            wall.reserve(2 * contour.size());
            AppendAtZ(wall, contour, h);
            AppendAtZ(wall, contour, -h);
            int count = 0;
            std::unique_ptr<int[]> wallIdx(CreatePlaneIndice(n, count, true));
            const std::vector<int> wallIndices(wallIdx.get(), wallIdx.get() + count);
            const int base = static_cast<int>(vertices.size());
            vertices.insert(vertices.end(), wall.begin(), wall.end());
            for (int i : wallIndices) indices.push_back(i + base);
            const auto wallNormals = ComputeNormals(wall, wallIndices, true);
            normals.insert(normals.end(), wallNormals.begin(), wallNormals.end());
        }
    }
    return true;
}

bool CHQGS_MathUtilityFunctions::ComputeTextTessellationFace(
    const std::vector<std::vector<CHQ_Point2D>>& contours, double thickness,
    std::vector<CHQ_Point3D>& vertices, std::vector<int>& indices, std::vector<CHQ_Point3D>& normals) {
    std::vector<CHQ_Point3D> F;
    std::vector<int> T;
    if (!TessellateFace(contours, thickness, vertices, indices, normals, F, T)) return false;
    AppendAtZ(vertices, F, thickness * 0.5);
    indices = T;
    normals = ComputeNormals(F, T, false);
    return true;
}

}  // namespace HQ

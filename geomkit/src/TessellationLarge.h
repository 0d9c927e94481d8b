// SPDX-License-Identifier: Apache-2.0
// The large-input path of CHQGS_UtilityTessellation: simple contours
// triangulated through the constrained Delaunay library (CDT) under the same
// positive winding rule as the system tessellator.
#ifndef GEOMKIT_SRC_TESSELLATIONLARGE_H
#define GEOMKIT_SRC_TESSELLATIONLARGE_H

#include <geomkit/Point3D.h>

#include <cstddef>
#include <vector>

namespace HQ {
namespace tessellation {

// From this many contour points on, tesselated tries the constrained
// Delaunay path first (see UtilityTessellation.h for the measurement).
constexpr std::size_t kLargeInputVertices = 2000;

enum class LargeOutcome {
    NotTaken,  // the contours do not qualify: the system tessellator runs
    Filled,    // vertices and indices hold the triangles
};

// Triangulates the contours when they qualify: every point has the same z;
// after dropping repeated consecutive points (a ring closed by repeating its
// first point included) and contours left with fewer than three points, no
// two points are equal, no two edges cross, touch or overlap; coordinates
// are finite and at most 1e60 in magnitude; and the signed areas of the
// contours do not sum to zero (the plane's facing follows from that sum, as
// the system tessellator chooses it). Filled regions: the positive winding
// rule with respect to that facing. Output: each vertex used by a filled
// triangle once, in first use order, with the contours' z; three indices
// per triangle, counter-clockwise with respect to the facing (clockwise in
// x, y when the contours sum to a negative area). Filled with empty lists
// means the contours enclose nothing.
LargeOutcome TessellateLarge(const std::vector<std::vector<CHQ_Point3D>>& contours,
                             std::vector<CHQ_Point3D>& vertices, std::vector<int>& indices);

}  // namespace tessellation
}  // namespace HQ

#endif

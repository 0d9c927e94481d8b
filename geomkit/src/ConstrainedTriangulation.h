// SPDX-License-Identifier: Apache-2.0
// The constrained Delaunay triangulation behind the outline triangulator and
// the large-input path of the tessellator, on the vendored CDT library
// (third_party/CDT, header-only). Only geomkit's sources include this header:
// nothing of CDT reaches the public headers.
#ifndef GEOMKIT_SRC_CONSTRAINEDTRIANGULATION_H
#define GEOMKIT_SRC_CONSTRAINEDTRIANGULATION_H

#include "Tolerances.h"

#include <CDT.h>

#include <cmath>
#include <exception>
#include <vector>

namespace HQ {
namespace cdt {

using Triangulation = CDT::Triangulation<double>;
using Point = CDT::V2d<double>;

// True for a coordinate the triangulation accepts: finite, and small enough
// that its in-circle test cannot overflow.
inline bool AcceptedCoordinate(double v) {
    return std::isfinite(v) && std::fabs(v) <= tolerance::kTriangulationCoordinateLimit;
}

// Triangulates the points with the edges as constraints into t. Answers
// false when the edges are not those of simple, disjoint polygons: two
// points are equal (the library refuses them), two edges cross (refused),
// an edge runs through a point other than its ends or two edges overlap (the
// library would split or merge them; we refuse instead), or the library
// fails in any other way. Exact orientation and in-circle predicates make
// every one of these decisions exact. Time and memory grow as n log n for
// outlines (the library's constraint insertion walks only the triangles an
// edge crosses).
inline bool TriangulateSimple(const std::vector<Point>& points, const std::vector<CDT::Edge>& edges,
                              Triangulation& t) {
    try {
        t.insertVertices(points);
        t.insertEdges(edges);
    } catch (const std::exception&) {
        return false;
    }
    return t.pieceToOriginals.empty() && t.overlapCount.empty();
}

inline Triangulation MakeTriangulation() {
    return Triangulation(CDT::VertexInsertionOrder::Auto, CDT::IntersectingConstraintEdges::NotAllowed, 0.0);
}

}  // namespace cdt
}  // namespace HQ

#endif

// SPDX-License-Identifier: Apache-2.0
// Simple contours of many points through the constrained Delaunay library,
// with the winding number of every triangle found by one walk over the
// triangulation.
#include "TessellationLarge.h"

#include "ConstrainedTriangulation.h"

#include <cstdint>
#include <queue>
#include <unordered_map>

namespace HQ {
namespace tessellation {

LargeOutcome TessellateLarge(const std::vector<std::vector<CHQ_Point3D>>& contours,
                             std::vector<CHQ_Point3D>& vertices, std::vector<int>& indices) {
    vertices.clear();
    indices.clear();
    bool haveZ = false;
    double z = 0;
    std::vector<cdt::Point> pts;
    std::vector<CDT::Edge> edges;
    // Direction of each constraint edge: +1 when its contour runs from the
    // lower to the higher vertex index, -1 otherwise.
    std::unordered_map<CDT::Edge, std::int8_t> direction;
    double area2 = 0;
    for (const auto& c : contours) {
        for (const auto& p : c) {
            if (haveZ && !(p.z == z)) return LargeOutcome::NotTaken;
            haveZ = true;
            z = p.z;
            if (!cdt::AcceptedCoordinate(p.x) || !cdt::AcceptedCoordinate(p.y)) return LargeOutcome::NotTaken;
        }
        std::vector<cdt::Point> ring;
        ring.reserve(c.size());
        for (const auto& p : c)
            if (ring.empty() || ring.back().x != p.x || ring.back().y != p.y) ring.emplace_back(p.x, p.y);
        while (ring.size() > 1 && ring.back().x == ring.front().x && ring.back().y == ring.front().y)
            ring.pop_back();
        if (ring.size() < 3) continue;
        const auto base = static_cast<CDT::VertInd>(pts.size());
        const auto m = static_cast<CDT::VertInd>(ring.size());
        for (CDT::VertInd i = 0; i < m; ++i) {
            const cdt::Point& a = ring[i];
            const cdt::Point& b = ring[(i + 1) % m];
            area2 += a.x * b.y - b.x * a.y;
            const CDT::VertInd u = base + i, v = base + (i + 1) % m;
            edges.emplace_back(u, v);
            // The library numbers its own three enclosing vertices first.
            direction.emplace(CDT::Edge(u + 3, v + 3), u < v ? 1 : -1);
        }
        pts.insert(pts.end(), ring.begin(), ring.end());
    }
    if (pts.empty()) return LargeOutcome::NotTaken;
    if (!(area2 != 0)) return LargeOutcome::NotTaken;
    const int facing = area2 > 0 ? 1 : -1;

    cdt::Triangulation t = cdt::MakeTriangulation();
    if (!cdt::TriangulateSimple(pts, edges, t)) return LargeOutcome::NotTaken;

    // Winding numbers: 0 on the triangles at the enclosing vertices; across
    // an edge a -> b of a triangle (which lies left of it) into the
    // neighbour, the winding drops by one for a contour running a -> b and
    // rises by one for a contour running b -> a.
    const std::size_t nt = t.triangles.size();
    constexpr int kUnknown = INT32_MIN;
    std::vector<int> winding(nt, kUnknown);
    std::queue<CDT::TriInd> todo;
    for (CDT::TriInd i = 0; i < nt && todo.empty(); ++i)
        if (t.triangles[i].containsVertex(0)) {
            winding[i] = 0;
            todo.push(i);
        }
    while (!todo.empty()) {
        const CDT::TriInd i = todo.front();
        todo.pop();
        const CDT::Triangle& tri = t.triangles[i];
        for (int k = 0; k < 3; ++k) {
            const CDT::TriInd nb = tri.neighbors[k];
            if (nb == CDT::noNeighbor || winding[nb] != kUnknown) continue;
            const CDT::VertInd a = tri.vertices[k], b = tri.vertices[(k + 1) % 3];
            int w = winding[i];
            const auto it = direction.find(CDT::Edge(a, b));
            if (it != direction.end()) w -= (a < b) ? it->second : -it->second;
            winding[nb] = w;
            todo.push(nb);
        }
    }

    std::vector<int> outIndex(t.vertices.size(), -1);
    auto emit = [&](CDT::VertInd v) {
        if (outIndex[v] < 0) {
            outIndex[v] = static_cast<int>(vertices.size());
            vertices.emplace_back(t.vertices[v].x, t.vertices[v].y, z);
        }
        indices.push_back(outIndex[v]);
    };
    for (std::size_t i = 0; i < nt; ++i) {
        if (winding[i] == kUnknown || facing * winding[i] <= 0) continue;
        const CDT::Triangle& tri = t.triangles[i];
        emit(tri.vertices[0]);
        emit(tri.vertices[facing > 0 ? 1 : 2]);
        emit(tri.vertices[facing > 0 ? 2 : 1]);
    }
    return LargeOutcome::Filled;
}

}  // namespace tessellation
}  // namespace HQ

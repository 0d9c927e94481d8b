// SPDX-License-Identifier: Apache-2.0
// TriangulateOutline: constrained Delaunay triangulation of a closed outline
// on the vendored CDT library.
#include <geomkit/Delaunay.h>

#include "ConstrainedTriangulation.h"
#include "TriangleRecord.h"

#include <cstddef>
#include <vector>

namespace HQ {

namespace {

using namespace record;

// The loop order of the outline's points, from the segments; empty when the
// segments do not form one loop through every point.
std::vector<int> LoopOrder(const triangulateio& in) {
    const int n = in.numberofpoints;
    std::vector<int> order;
    if (in.numberofsegments == 0 || in.segmentlist == nullptr) {
        for (int i = 0; i < n; ++i) order.push_back(i);
        return order;
    }
    if (in.numberofsegments != n) return {};
    std::vector<std::vector<int>> adj(static_cast<std::size_t>(n));
    for (int s = 0; s < n; ++s) {
        const int a = in.segmentlist[2 * s], b = in.segmentlist[2 * s + 1];
        if (a < 0 || b < 0 || a >= n || b >= n || a == b) return {};
        adj[a].push_back(b);
        adj[b].push_back(a);
    }
    for (const auto& nb : adj)
        if (nb.size() != 2 || nb[0] == nb[1]) return {};
    int prev = -1, cur = 0;
    for (int step = 0; step < n; ++step) {
        order.push_back(cur);
        const int next = (adj[cur][0] != prev) ? adj[cur][0] : adj[cur][1];
        prev = cur;
        cur = next;
    }
    if (cur != 0) return {};
    std::vector<char> seen(static_cast<std::size_t>(n), 0);
    for (int v : order) {
        if (seen[v]) return {};
        seen[v] = 1;
    }
    return order;
}

}  // namespace

bool TriangulateOutline(const triangulateio& in, triangulateio& out) {
    ClearRecord(out);
    const int n = in.numberofpoints;
    if (n < 3 || in.pointlist == nullptr) return false;
    const std::vector<int> order = LoopOrder(in);
    if (order.empty()) return false;

    std::vector<cdt::Point> pts(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        pts[i] = cdt::Point(in.pointlist[2 * i], in.pointlist[2 * i + 1]);
        if (!cdt::AcceptedCoordinate(pts[i].x) || !cdt::AcceptedCoordinate(pts[i].y)) return false;
    }
    // A loop of no area (all points on one line) has no inside.
    double area2 = 0;
    for (std::size_t i = 0; i < order.size(); ++i) {
        const cdt::Point& a = pts[order[i]];
        const cdt::Point& b = pts[order[(i + 1) % order.size()]];
        area2 += a.x * b.y - b.x * a.y;
    }
    if (!(area2 != 0)) return false;

    std::vector<CDT::Edge> edges;
    edges.reserve(order.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        edges.emplace_back(static_cast<CDT::VertInd>(order[i]),
                           static_cast<CDT::VertInd>(order[(i + 1) % order.size()]));
    cdt::Triangulation t = cdt::MakeTriangulation();
    if (!cdt::TriangulateSimple(pts, edges, t)) return false;
    t.eraseOuterTriangles();
    // A simple polygon of n corners always has n - 2 triangles; anything else
    // means the library saw another shape than the loop.
    if (t.triangles.size() != static_cast<std::size_t>(n - 2) ||
        t.vertices.size() != static_cast<std::size_t>(n))
        return false;

    out.numberofpoints = n;
    out.pointlist = CopyArray(in.pointlist, 2 * static_cast<std::size_t>(n));
    if (in.pointattributelist != nullptr && in.numberofpointattributes > 0) {
        out.numberofpointattributes = in.numberofpointattributes;
        out.pointattributelist =
            CopyArray(in.pointattributelist,
                      static_cast<std::size_t>(n) * static_cast<std::size_t>(in.numberofpointattributes));
    }
    out.numberoftriangles = static_cast<int>(t.triangles.size());
    out.numberofcorners = 3;
    out.trianglelist = AllocArray<int>(3 * t.triangles.size());
    if (in.segmentlist != nullptr && in.numberofsegments > 0) {
        out.numberofsegments = in.numberofsegments;
        out.segmentlist = CopyArray(in.segmentlist, 2 * static_cast<std::size_t>(in.numberofsegments));
        out.segmentmarkerlist =
            CopyArray(in.segmentmarkerlist, static_cast<std::size_t>(in.numberofsegments));
    }
    const bool allocated = out.pointlist != nullptr && out.trianglelist != nullptr &&
                           (out.numberofpointattributes == 0 || out.pointattributelist != nullptr) &&
                           (out.numberofsegments == 0 || out.segmentlist != nullptr);
    if (!allocated) {
        FreeRecordArrays(out);
        return false;
    }
    // The library's triangles run counter-clockwise; after erasing the outer
    // ones its vertex indices are the input's.
    for (std::size_t k = 0; k < t.triangles.size(); ++k)
        for (int c = 0; c < 3; ++c)
            out.trianglelist[3 * k + c] = static_cast<int>(t.triangles[k].vertices[c]);
    return true;
}

}  // namespace HQ

// SPDX-License-Identifier: Apache-2.0
// The outline triangulator as it was before it ran on CDT (ear clipping,
// an all-pairs simplicity check and Lawson flips; quadratic), kept here only
// as the benchmark's anchor.
#ifndef SITPLOT_BENCH_LEGACYOUTLINE_H
#define SITPLOT_BENCH_LEGACYOUTLINE_H

#include <geomkit/Delaunay.h>

#include "TriangleRecord.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace legacy {

using namespace HQ;
using namespace HQ::record;

struct Pt {
    double x, y;
};

constexpr double kInCircleRelTol = 1e-12;

inline double Orient(const Pt& a, const Pt& b, const Pt& c) {
    return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}

// > 0 when d lies inside the circle through a, b, c (counter-clockwise),
// beyond the rounding error of the determinant.
inline bool InCircle(const Pt& a, const Pt& b, const Pt& c, const Pt& d) {
    const double adx = a.x - d.x, ady = a.y - d.y;
    const double bdx = b.x - d.x, bdy = b.y - d.y;
    const double cdx = c.x - d.x, cdy = c.y - d.y;
    const double alift = adx * adx + ady * ady;
    const double blift = bdx * bdx + bdy * bdy;
    const double clift = cdx * cdx + cdy * cdy;
    const double det =
        alift * (bdx * cdy - bdy * cdx) + blift * (cdx * ady - cdy * adx) + clift * (adx * bdy - ady * bdx);
    const double perm = alift * (std::fabs(bdx * cdy) + std::fabs(bdy * cdx)) +
                        blift * (std::fabs(cdx * ady) + std::fabs(cdy * adx)) +
                        clift * (std::fabs(adx * bdy) + std::fabs(ady * bdx));
    return det > kInCircleRelTol * perm;
}

inline bool OnSegment(const Pt& a, const Pt& b, const Pt& p) {
    return std::min(a.x, b.x) <= p.x && p.x <= std::max(a.x, b.x) && std::min(a.y, b.y) <= p.y &&
           p.y <= std::max(a.y, b.y);
}

inline int Sign(double v) { return (v > 0) - (v < 0); }

// True when the closed segments ab and cd share any point.
inline bool SegmentsTouch(const Pt& a, const Pt& b, const Pt& c, const Pt& d) {
    const int o1 = Sign(Orient(a, b, c)), o2 = Sign(Orient(a, b, d));
    const int o3 = Sign(Orient(c, d, a)), o4 = Sign(Orient(c, d, b));
    if (o1 != o2 && o3 != o4 && o1 != 0 && o2 != 0 && o3 != 0 && o4 != 0) return true;
    if (o1 == 0 && OnSegment(a, b, c)) return true;
    if (o2 == 0 && OnSegment(a, b, d)) return true;
    if (o3 == 0 && OnSegment(c, d, a)) return true;
    if (o4 == 0 && OnSegment(c, d, b)) return true;
    return false;
}

inline bool InTriangleClosed(const Pt& a, const Pt& b, const Pt& c, const Pt& p) {
    return Orient(a, b, p) >= 0 && Orient(b, c, p) >= 0 && Orient(c, a, p) >= 0;
}

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

// True when the loop is a simple polygon: no two edges share a point other
// than the common end of neighbouring edges, and neighbouring edges do not
// fold back onto each other.
bool IsSimple(const std::vector<Pt>& p) {
    const std::size_t n = p.size();
    for (std::size_t i = 0; i < n; ++i) {
        const Pt& a = p[i];
        const Pt& b = p[(i + 1) % n];
        const Pt& c = p[(i + 2) % n];
        // Neighbouring edges ab and bc fold back when c lies on ab's line
        // behind b's direction.
        if (Orient(a, b, c) == 0 && ((b.x - a.x) * (c.x - b.x) + (b.y - a.y) * (c.y - b.y)) <= 0)
            return false;
        for (std::size_t j = i + 2; j < n; ++j) {
            if (i == 0 && j == n - 1) continue;  // the last edge neighbours the first
            if (SegmentsTouch(a, b, p[j], p[(j + 1) % n])) return false;
        }
    }
    return true;
}

// Ear clipping of a counter-clockwise simple polygon (indices into p).
// Collinear leftovers (zero area) are dropped.
bool EarClip(const std::vector<Pt>& p, std::vector<int> ring, std::vector<std::array<int, 3>>& tris) {
    while (ring.size() > 3) {
        const std::size_t m = ring.size();
        bool clipped = false;
        for (std::size_t i = 0; i < m && !clipped; ++i) {
            const int ip = ring[(i + m - 1) % m], iv = ring[i], iq = ring[(i + 1) % m];
            if (Orient(p[ip], p[iv], p[iq]) <= 0) continue;
            bool empty = true;
            for (std::size_t j = 0; j < m && empty; ++j) {
                const int r = ring[j];
                if (r == ip || r == iv || r == iq) continue;
                if (InTriangleClosed(p[ip], p[iv], p[iq], p[r])) empty = false;
            }
            if (!empty) continue;
            tris.push_back({ip, iv, iq});
            ring.erase(ring.begin() + static_cast<std::ptrdiff_t>(i));
            clipped = true;
        }
        if (!clipped) {
            // Only a flat remainder may be left without an ear.
            for (std::size_t i = 0; i < m; ++i)
                if (Orient(p[ring[(i + m - 1) % m]], p[ring[i]], p[ring[(i + 1) % m]]) != 0) return false;
            return true;
        }
    }
    if (Orient(p[ring[0]], p[ring[1]], p[ring[2]]) > 0) tris.push_back({ring[0], ring[1], ring[2]});
    return true;
}

std::uint64_t EdgeKey(int a, int b) {
    if (a > b) std::swap(a, b);
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(a)) << 32) | static_cast<std::uint32_t>(b);
}

// Lawson flips: every edge that is not part of the outline is flipped while
// the point opposite across it lies inside a triangle's circumcircle. The
// result is the constrained Delaunay triangulation of the outline.
void MakeDelaunay(const std::vector<Pt>& p, const std::vector<int>& ring,
                  std::vector<std::array<int, 3>>& tris) {
    std::unordered_map<std::uint64_t, bool> constrained;
    for (std::size_t i = 0; i < ring.size(); ++i)
        constrained[EdgeKey(ring[i], ring[(i + 1) % ring.size()])] = true;

    // Edge -> the (at most two) triangles that use it.
    std::unordered_map<std::uint64_t, std::array<int, 2>> owners;
    auto addOwner = [&](int a, int b, int t) {
        auto it = owners.find(EdgeKey(a, b));
        if (it == owners.end())
            owners.emplace(EdgeKey(a, b), std::array<int, 2>{t, -1});
        else
            it->second[1] = t;
    };
    auto replaceOwner = [&](int a, int b, int from, int to) {
        auto& o = owners[EdgeKey(a, b)];
        if (o[0] == from)
            o[0] = to;
        else if (o[1] == from)
            o[1] = to;
    };
    for (int t = 0; t < static_cast<int>(tris.size()); ++t)
        for (int e = 0; e < 3; ++e) addOwner(tris[t][e], tris[t][(e + 1) % 3], t);

    std::vector<std::uint64_t> stack;
    for (const auto& kv : owners)
        if (kv.second[1] >= 0 && !constrained.count(kv.first)) stack.push_back(kv.first);

    // Each flip removes a violation for good with exact arithmetic; the cap
    // only guards against rounding making the flips go round in circles.
    const std::size_t maxFlips = 16 * tris.size() * tris.size() + 64;
    std::size_t flips = 0;
    while (!stack.empty() && flips < maxFlips) {
        const std::uint64_t key = stack.back();
        stack.pop_back();
        const auto it = owners.find(key);
        if (it == owners.end() || it->second[1] < 0) continue;
        const int t1 = it->second[0], t2 = it->second[1];
        const int ea = static_cast<int>(key >> 32), eb = static_cast<int>(key & 0xffffffffu);
        // Orient the edge as t1 walks it: t1 = (a, b, c), t2 = (b, a, d).
        int a = -1, b = -1, c = -1, d = -1;
        for (int e = 0; e < 3; ++e) {
            const int u = tris[t1][e], v = tris[t1][(e + 1) % 3];
            if ((u == ea && v == eb) || (u == eb && v == ea)) {
                a = u;
                b = v;
                c = tris[t1][(e + 2) % 3];
            }
        }
        for (int e = 0; e < 3; ++e) {
            const int w = tris[t2][e];
            if (w != ea && w != eb) d = w;
        }
        if (a < 0 || d < 0) continue;
        if (!InCircle(p[a], p[b], p[c], p[d])) continue;
        if (Orient(p[c], p[a], p[d]) <= 0 || Orient(p[d], p[b], p[c]) <= 0) continue;
        tris[t1] = {c, a, d};
        tris[t2] = {d, b, c};
        owners.erase(it);
        owners.emplace(EdgeKey(c, d), std::array<int, 2>{t1, t2});
        replaceOwner(a, d, t2, t1);
        replaceOwner(b, c, t1, t2);
        ++flips;
        for (const auto& e : {EdgeKey(a, d), EdgeKey(d, b), EdgeKey(b, c), EdgeKey(c, a)})
            if (!constrained.count(e)) stack.push_back(e);
    }
}

inline bool LegacyTriangulateOutline(const triangulateio& in, triangulateio& out) {
    ClearRecord(out);
    const int n = in.numberofpoints;
    if (n < 3 || in.pointlist == nullptr) return false;
    const std::vector<int> order = LoopOrder(in);
    if (order.empty()) return false;

    std::vector<Pt> pts(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        pts[i] = {in.pointlist[2 * i], in.pointlist[2 * i + 1]};
        if (!std::isfinite(pts[i].x) || !std::isfinite(pts[i].y)) return false;
    }
    std::vector<Pt> loop;
    loop.reserve(order.size());
    for (int v : order) loop.push_back(pts[v]);
    if (!IsSimple(loop)) return false;

    double area2 = 0;
    for (std::size_t i = 0; i < loop.size(); ++i) {
        const Pt& a = loop[i];
        const Pt& b = loop[(i + 1) % loop.size()];
        area2 += a.x * b.y - b.x * a.y;
    }
    if (!(area2 != 0)) return false;
    std::vector<int> ring = order;
    if (area2 < 0) std::reverse(ring.begin(), ring.end());

    std::vector<std::array<int, 3>> tris;
    if (!EarClip(pts, ring, tris) || tris.empty()) return false;
    MakeDelaunay(pts, ring, tris);

    out.numberofpoints = n;
    out.pointlist = CopyArray(in.pointlist, 2 * static_cast<std::size_t>(n));
    if (in.pointattributelist != nullptr && in.numberofpointattributes > 0) {
        out.numberofpointattributes = in.numberofpointattributes;
        out.pointattributelist =
            CopyArray(in.pointattributelist,
                      static_cast<std::size_t>(n) * static_cast<std::size_t>(in.numberofpointattributes));
    }
    out.numberoftriangles = static_cast<int>(tris.size());
    out.numberofcorners = 3;
    out.trianglelist = AllocArray<int>(3 * tris.size());
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
    for (std::size_t t = 0; t < tris.size(); ++t)
        for (int c = 0; c < 3; ++c) out.trianglelist[3 * t + c] = tris[t][c];
    return true;
}

}  // namespace legacy

#endif

// SPDX-License-Identifier: Apache-2.0
// Offset lines with mitred corners, the mirrored split of a curve across its
// chord, and removal of repeated vertices.
#include <geomkit/MathUtilityFunctions.h>

#include "MeasureConstants.h"
#include "Tolerances.h"

#include <cmath>
#include <cstddef>

namespace HQ {

using measure::RoundF;
using tolerance::kCoordinateTolerance;
using tolerance::kShortSegmentSquared;
using tolerance::kStraightSine;

namespace {

// Smallest sine of the half corner angle used for the mitre: caps the mitre
// of sharp corners at 5w (single precision, like the sine it replaces).
constexpr float kMinMitreSine = 0.2f;

void Normalise(double& x, double& y) {
    const double len = std::sqrt(x * x + y * y);
    if (len > 0.0) {
        x /= len;
        y /= len;
    }
}

CHQ_Point3D Mirror(const CHQ_Point3D& centre, const CHQ_Point3D& p) {
    return CHQ_Point3D(2.0 * centre.x - p.x, 2.0 * centre.y - p.y, 2.0 * centre.z - p.z);
}

}  // namespace

CHQ_Point3D CHQGS_MathUtilityFunctions::computerLeftPoint(const CHQ_Point3D& a, const CHQ_Point3D& b,
                                                          const CHQ_Point3D& c, float w) {
    double ux = a.x - b.x, uy = a.y - b.y;
    double vx = c.x - b.x, vy = c.y - b.y;
    Normalise(ux, uy);
    Normalise(vx, vy);
    const float cr = static_cast<float>(ux * vy - uy * vx);
    const float dt = static_cast<float>(ux * vx + uy * vy);

    if (std::fabs(cr) > kStraightSine) {
        // Mitre: along the bisector, w / sin(half angle) from the vertex.
        double mx = ux + vx, my = uy + vy;
        Normalise(mx, my);
        float s = static_cast<float>(std::fabs(mx * uy - my * ux));
        if (s < kMinMitreSine && dt > 0.0f) s = kMinMitreSine;
        const float scale = w / s;
        const double dx = mx * scale, dy = my * scale;
        if (cr >= 0.0f) return CHQ_Point3D(b.x - dx, b.y - dy, b.z);
        return CHQ_Point3D(b.x + dx, b.y + dy, b.z);
    }
    if (dt <= 0.0f) {
        // Straight through b: the left normal of the outgoing direction.
        return CHQ_Point3D(b.x + w * -vy, b.y + w * vx, b.z);
    }
    // The line folds back onto itself at b.
    return CHQ_Point3D(b.x + w * vy, b.y + w * -vx, b.z);
}

CHQ_Point3D CHQGS_MathUtilityFunctions::computerRightPoint(const CHQ_Point3D& a, const CHQ_Point3D& b,
                                                           const CHQ_Point3D& c, float w) {
    return computerLeftPoint(c, b, a, w);
}

namespace {

// Offsets every vertex with `side` (left or right point); open lines are
// extended at their ends by mirroring the neighbour through the end vertex.
template <typename SideFn>
std::vector<CHQ_Point3D> OffsetPolyline(const std::vector<CHQ_Point3D>& p, float w, bool closed,
                                        SideFn side) {
    std::vector<CHQ_Point3D> out;
    const std::size_t n = p.size();
    if (n < 2) return out;
    out.reserve(n);
    const bool ring = closed && n >= 3;
    out.push_back(side(ring ? p[n - 1] : Mirror(p[0], p[1]), p[0], p[1], w));
    for (std::size_t i = 1; i + 1 < n; ++i) out.push_back(side(p[i - 1], p[i], p[i + 1], w));
    out.push_back(side(p[n - 2], p[n - 1], ring ? p[0] : Mirror(p[n - 1], p[n - 2]), w));
    return out;
}

}  // namespace

std::vector<CHQ_Point3D> CHQGS_MathUtilityFunctions::computerLeftPoints(const std::vector<CHQ_Point3D>& pts,
                                                                        float w, bool closed) {
    return OffsetPolyline(pts, w, closed, &CHQGS_MathUtilityFunctions::computerLeftPoint);
}

std::vector<CHQ_Point3D> CHQGS_MathUtilityFunctions::computerRightPoints(const std::vector<CHQ_Point3D>& pts,
                                                                         float w, bool closed) {
    return OffsetPolyline(pts, w, closed, &CHQGS_MathUtilityFunctions::computerRightPoint);
}

void CHQGS_MathUtilityFunctions::computeLRPts(const CHQ_Point2D* pts, int n, double w, CHQ_Point2D*& left,
                                              CHQ_Point2D*& right, int& count, bool closed) {
    left = nullptr;
    right = nullptr;
    count = 0;
    if (pts == nullptr || n <= 0) return;
    std::vector<CHQ_Point3D> line;
    line.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) line.emplace_back(pts[i].x, pts[i].y, 0.0);
    const float wf = static_cast<float>(w);
    const std::vector<CHQ_Point3D> l = computerLeftPoints(line, wf, closed);
    const std::vector<CHQ_Point3D> r = computerRightPoints(line, wf, closed);
    if (l.empty()) return;
    count = static_cast<int>(l.size());
    left = new CHQ_Point2D[l.size()];
    right = new CHQ_Point2D[l.size()];
    for (std::size_t i = 0; i < l.size(); ++i) {
        left[i] = CHQ_Point2D(l[i].x, l[i].y);
        right[i] = CHQ_Point2D(r[i].x, r[i].y);
    }
}

void CHQGS_MathUtilityFunctions::spiltTwoLine(const std::vector<CHQ_Point2D>& pts, double w,
                                              std::vector<CHQ_Point2D>& first,
                                              std::vector<CHQ_Point2D>& second) {
    const std::size_t n = pts.size();
    if (n < 2) return;
    const CHQ_Point2D& s = pts[0];
    const CHQ_Point2D& e = pts[n - 1];
    const double ex = e.x - s.x, ey = e.y - s.y;
    const double chord2 = ex * ex + ey * ey;
    // Without a chord there is nothing to mirror across (and the projection
    // below would divide by zero).
    if (chord2 == 0.0) return;
    first.reserve(first.size() + n);
    second.reserve(second.size() + n);

    for (std::size_t i = 0; i < n; ++i) {
        const CHQ_Point2D& p = pts[i];
        if (i == 0) {
            const CHQ_Point2D a = ComputeLPt(e, s, static_cast<float>(w)),
                              b = ComputeRPt(e, s, static_cast<float>(w));
            first.push_back(s.y > e.y ? b : a);
            second.push_back(s.y > e.y ? a : b);
        } else if (i == n - 1) {
            const CHQ_Point2D a = ComputeLPt(s, e, static_cast<float>(w)),
                              b = ComputeRPt(s, e, static_cast<float>(w));
            first.push_back(s.y > e.y ? a : b);
            second.push_back(s.y > e.y ? b : a);
        } else {
            double c = RoundF(ey * (p.x - s.x) - ex * (p.y - s.y));
            if (e.y > s.y) c = -c;
            const double t = ((p.x - s.x) * ex + (p.y - s.y) * ey) / chord2;
            const CHQ_Point2D foot(s.x + t * ex, s.y + t * ey);
            const double d = ComputeDistance(foot, p);
            if (c < 0.0) {
                first.push_back(p);
                second.push_back(foot.y > s.y ? ComputeLPt(s, foot, static_cast<float>(d))
                                              : ComputeRPt(s, foot, static_cast<float>(d)));
            } else if (std::fabs(c) <= kCoordinateTolerance) {
                first.push_back(ComputeLPt(s, p, static_cast<float>(w)));
                second.push_back(ComputeRPt(s, p, static_cast<float>(w)));
            } else {
                first.push_back(p);
                second.push_back(foot.y > s.y ? ComputeRPt(s, foot, static_cast<float>(d))
                                              : ComputeLPt(s, foot, static_cast<float>(d)));
            }
        }
    }
}

std::vector<CHQ_Point3D> CHQGS_MathUtilityFunctions::processVerts(const std::vector<CHQ_Point3D>& pts) {
    if (pts.size() < 2) return pts;
    std::vector<CHQ_Point3D> out;
    out.reserve(pts.size());
    out.push_back(pts[0]);
    for (std::size_t i = 1; i < pts.size(); ++i) {
        const double dx = pts[i].x - pts[i - 1].x, dy = pts[i].y - pts[i - 1].y, dz = pts[i].z - pts[i - 1].z;
        if (dx * dx + dy * dy + dz * dz > kShortSegmentSquared) out.push_back(pts[i]);
    }
    return out;
}

}  // namespace HQ

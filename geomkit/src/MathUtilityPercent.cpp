// SPDX-License-Identifier: Apache-2.0
// Positions and travel directions at fractions of a polyline's length, the
// pieces of the polyline between them, and the sampling of an arc path.
#include <geomkit/MathUtilityFunctions.h>

#include "MeasureConstants.h"
#include "PathSampling.h"
#include "Tolerances.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>

namespace HQ {

using measure::RoundF;
using tolerance::kParameterTolerance;

namespace {

// The polyline with the cumulative fraction of each vertex: f[k] is the
// length from the first vertex to vertex k divided by the total length.
struct Walk {
    const std::vector<CHQ_Point2D>& pts;
    std::vector<double> f;
    double total = 0.0;
    // Number of leading fractions that are numbers: f[0 .. ordered) is
    // sorted, and no fraction is found beyond it.
    size_t ordered = 0;

    explicit Walk(const std::vector<CHQ_Point2D>& line) : pts(line), f(line.size(), 0.0) {
        // Cumulative lengths first, then divided by the total in place.
        for (size_t k = 1; k < line.size(); ++k) {
            const double dx = line[k].x - line[k - 1].x, dy = line[k].y - line[k - 1].y;
            f[k] = f[k - 1] + std::sqrt(dx * dx + dy * dy);
        }
        total = line.empty() ? 0.0 : f.back();
        // A line of length 0 gets NaN fractions, which no fraction matches.
        const double nan = std::numeric_limits<double>::quiet_NaN();
        for (double& v : f) v = total > 0.0 ? v / total : nan;
        // The fractions never decrease up to the first NaN (a NaN length or
        // an infinite total turns the rest of them into NaN).
        while (ordered < f.size() && !std::isnan(f[ordered])) ++ordered;
    }

    // The first vertex from which Locate, starting at vertex 0, stops for
    // fraction p: the first k with p <= f[k], or n when there is none.
    size_t FirstAtOrAbove(double p) const {
        const auto end = f.begin() + static_cast<std::ptrdiff_t>(ordered);
        const auto it = std::lower_bound(f.begin(), end, p);
        return it == end ? pts.size() : static_cast<size_t>(it - f.begin());
    }

    // Travel direction on the segment ending at vertex j, rounded to single
    // precision; (0, 0) for a segment of length 0 (or a line of one point).
    CHQ_Point2D Direction(size_t j) const {
        if (j == 0 || j >= pts.size()) return CHQ_Point2D();
        const double s = RoundF((f[j] - f[j - 1]) * total);
        if (!(s != 0.0) || !std::isfinite(s)) return CHQ_Point2D();
        return CHQ_Point2D(RoundF((pts[j].x - pts[j - 1].x) / s), RoundF((pts[j].y - pts[j - 1].y) / s));
    }

    // Searches fraction p from vertex w on. Vertices passed over are appended
    // to merged when it is given. Returns false when the search runs off the
    // end; otherwise sets the split point q (single precision) and the
    // travel direction there, and leaves w after a vertex that was hit.
    bool Locate(double p, size_t& w, std::vector<CHQ_Point2D>* merged, CHQ_Point2D& q,
                CHQ_Point2D& dir) const {
        const size_t n = pts.size();
        while (w < n) {
            if (p <= f[w]) {
                if (w > 0 && std::fabs(f[w] - p) > kParameterTolerance) {
                    const double span = f[w] - f[w - 1];
                    // span is 0 only on a zero-length segment reached by a
                    // fraction below the previous one; stay on its start.
                    const double t = span != 0.0 ? RoundF((p - f[w - 1]) / span) : 0.0;
                    const CHQ_Point2D& a = pts[w - 1];
                    const CHQ_Point2D& b = pts[w];
                    q = CHQ_Point2D(a.x + t * (b.x - a.x), a.y + t * (b.y - a.y));
                } else {
                    q = pts[w];
                    ++w;
                }
                q = CHQ_Point2D(RoundF(q.x), RoundF(q.y));
                dir = Direction(w < n ? w : n - 1);
                return true;
            }
            if (merged) merged->push_back(pts[w]);
            ++w;
        }
        return false;
    }
};

}  // namespace

std::vector<std::vector<CHQ_Point2D> > CHQGS_MathUtilityFunctions::GetPercentPos(
    const std::vector<CHQ_Point2D>& line, const std::vector<float>& fractions,
    std::vector<CHQ_Point2D>& positions, std::vector<CHQ_Point2D>& directions) {
    std::vector<std::vector<CHQ_Point2D> > pieces;
    if (fractions.empty()) return pieces;

    std::vector<CHQ_Point2D> pos(fractions.size()), dir(fractions.size());
    if (!line.empty()) {
        const Walk walk(line);
        std::vector<CHQ_Point2D> merged;  // the line with the split points inserted
        std::vector<size_t> splits;       // indices of the split points in merged
        merged.reserve(line.size() + fractions.size());
        size_t w = 0;
        double lastSplit = -std::numeric_limits<double>::infinity();
        for (size_t i = 0; i < fractions.size(); ++i) {
            const double p = fractions[i];
            if (!(p >= 0.0 && p <= 1.0)) continue;  // outside [0, 1] (or NaN): (0, 0)
            CHQ_Point2D q, d;
            if (p >= lastSplit && walk.Locate(p, w, &merged, q, d)) {
                merged.push_back(q);
                splits.push_back(merged.size() - 1);
                lastSplit = p;
            } else {
                // A fraction below an earlier one (or one the walk has
                // already passed): searched afresh from the start so that its
                // position lies on the line, but it does not split the line.
                // Binary search gives the vertex the walk from the start
                // would stop at.
                size_t fresh = walk.FirstAtOrAbove(p);
                if (!walk.Locate(p, fresh, nullptr, q, d)) continue;
            }
            pos[i] = q;
            dir[i] = d;
        }
        for (; w < line.size(); ++w) merged.push_back(line[w]);

        // The ends of the line are split points unless the first fraction
        // given is 0 or the last is 1 (those put a split point there
        // themselves). The test is on the fractions, not on where the splits
        // fell, so a last fraction that lands on the end vertex without being
        // 1 still closes the list with a one-point piece: with ascending
        // fractions inside [0, 1] piece i always lies between fractions i-1
        // and i. A line of length 0 (or of one point) splits nowhere and comes
        // back whole.
        const size_t last = merged.size() - 1;
        if (walk.total > 0.0) {
            if (fractions.front() != 0.0f) splits.insert(splits.begin(), 0);
            if (fractions.back() != 1.0f) splits.push_back(last);
        } else {
            if (splits.empty() || splits.front() != 0) splits.insert(splits.begin(), 0);
            if (splits.back() != last) splits.push_back(last);
        }

        for (size_t i = 0; i + 1 < splits.size(); ++i)
            pieces.emplace_back(merged.begin() + splits[i], merged.begin() + splits[i + 1] + 1);
    }
    positions.insert(positions.end(), pos.begin(), pos.end());
    directions.insert(directions.end(), dir.begin(), dir.end());
    return pieces;
}

void CHQGS_MathUtilityFunctions::GetPercentPos(const std::vector<CHQ_Point2D>& line, float fraction,
                                               CHQ_Point2D& position) {
    std::vector<CHQ_Point2D> positions, directions;
    GetPercentPos(line, std::vector<float>(1, fraction), positions, directions);
    position = positions.front();
}

std::vector<CHQ_Point2D> CHQGS_MathUtilityFunctions::calculatePointsOnPainterPathOfArc(
    CPrimitiveAlgorithmPath& path, double step) {
    return pathsampling::ByStep(path, step, true);
}

}  // namespace HQ

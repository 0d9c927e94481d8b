// SPDX-License-Identifier: Apache-2.0
// Percent positions set beside a plain linear walk over the cumulative
// fractions: the search for each fraction's segment must give the same bits
// for every kind of input (descending and repeated fractions, fractions
// outside [0, 1], zero-length segments, lines of length 0 or of infinite
// length).
#include <geomkit/MathUtilityFunctions.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

using HQ::CHQ_Point2D;
using M = HQ::CHQGS_MathUtilityFunctions;
using Line = std::vector<CHQ_Point2D>;
using Pieces = std::vector<Line>;

namespace {

double F32(double v) { return static_cast<double>(static_cast<float>(v)); }

struct Result {
    Pieces pieces;
    Line positions, directions;
};

// Every fraction walks the cumulative fractions vertex by vertex: in order
// from where the previous split stopped, or, for a fraction below the
// previous split, from the first vertex without splitting the line.
Result Reference(const Line& pts, const std::vector<float>& fractions) {
    Result r;
    if (fractions.empty()) return r;
    r.positions.assign(fractions.size(), CHQ_Point2D());
    r.directions.assign(fractions.size(), CHQ_Point2D());
    const size_t n = pts.size();
    if (n == 0) return r;
    std::vector<double> f(n, 0.0);
    for (size_t k = 1; k < n; ++k) {
        const double dx = pts[k].x - pts[k - 1].x, dy = pts[k].y - pts[k - 1].y;
        f[k] = f[k - 1] + std::sqrt(dx * dx + dy * dy);
    }
    const double total = f.back();
    for (double& v : f) v = total > 0.0 ? v / total : std::numeric_limits<double>::quiet_NaN();

    auto direction = [&](size_t j) {
        if (j == 0 || j >= n) return CHQ_Point2D();
        const double s = F32((f[j] - f[j - 1]) * total);
        if (!(s != 0.0) || !std::isfinite(s)) return CHQ_Point2D();
        return CHQ_Point2D(F32((pts[j].x - pts[j - 1].x) / s), F32((pts[j].y - pts[j - 1].y) / s));
    };
    auto locate = [&](double p, size_t& w, Line* merged, CHQ_Point2D& q, CHQ_Point2D& d) {
        for (; w < n; ++w) {
            if (!(p <= f[w])) {
                if (merged) merged->push_back(pts[w]);
                continue;
            }
            if (w > 0 && std::fabs(f[w] - p) > 1e-6) {
                const double span = f[w] - f[w - 1];
                const double t = span != 0.0 ? F32((p - f[w - 1]) / span) : 0.0;
                q = CHQ_Point2D(pts[w - 1].x + t * (pts[w].x - pts[w - 1].x),
                                pts[w - 1].y + t * (pts[w].y - pts[w - 1].y));
            } else {
                q = pts[w++];
            }
            q = CHQ_Point2D(F32(q.x), F32(q.y));
            d = direction(w < n ? w : n - 1);
            return true;
        }
        return false;
    };

    Line merged;
    std::vector<size_t> splits;
    size_t w = 0;
    double lastSplit = -std::numeric_limits<double>::infinity();
    for (size_t i = 0; i < fractions.size(); ++i) {
        const double p = fractions[i];
        if (!(p >= 0.0 && p <= 1.0)) continue;
        CHQ_Point2D q, d;
        if (p >= lastSplit && locate(p, w, &merged, q, d)) {
            merged.push_back(q);
            splits.push_back(merged.size() - 1);
            lastSplit = p;
        } else {
            size_t fresh = 0;
            if (!locate(p, fresh, nullptr, q, d)) continue;
        }
        r.positions[i] = q;
        r.directions[i] = d;
    }
    for (; w < n; ++w) merged.push_back(pts[w]);
    const size_t last = merged.size() - 1;
    if (total > 0.0) {
        if (fractions.front() != 0.0f) splits.insert(splits.begin(), 0);
        if (fractions.back() != 1.0f) splits.push_back(last);
    } else {
        if (splits.empty() || splits.front() != 0) splits.insert(splits.begin(), 0);
        if (splits.back() != last) splits.push_back(last);
    }
    for (size_t i = 0; i + 1 < splits.size(); ++i)
        r.pieces.emplace_back(merged.begin() + splits[i], merged.begin() + splits[i + 1] + 1);
    return r;
}

// Bit equality, so that -0 and 0 (and NaN payloads) count as different.
bool SameBits(const Line& a, const Line& b) {
    return a.size() == b.size() &&
           (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(a[0])) == 0);
}

void ExpectSameAsReference(const Line& line, const std::vector<float>& fractions, const std::string& what) {
    const Result want = Reference(line, fractions);
    Result got;
    got.pieces = M::GetPercentPos(line, fractions, got.positions, got.directions);
    EXPECT_TRUE(SameBits(got.positions, want.positions)) << what << ": positions";
    EXPECT_TRUE(SameBits(got.directions, want.directions)) << what << ": directions";
    ASSERT_EQ(got.pieces.size(), want.pieces.size()) << what;
    for (size_t i = 0; i < got.pieces.size(); ++i)
        EXPECT_TRUE(SameBits(got.pieces[i], want.pieces[i])) << what << ": piece " << i;
}

}  // namespace

TEST(PercentSearch, SameAsLinearWalkOnRandomInput) {
    std::mt19937 rng(20240517);
    std::uniform_real_distribution<double> coord(-500.0, 500.0);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    const float special[] = {0.0f,  1.0f,        -0.25f, 1.5f,
                             -0.0f, 0.99999994f, 1e-7f,  std::numeric_limits<float>::quiet_NaN()};
    enum Order { Ascending, Descending, Shuffled, Repeated, kOrders };
    for (int round = 0; round < 3000; ++round) {
        Line line(1 + rng() % 40);
        for (CHQ_Point2D& p : line) p = CHQ_Point2D(coord(rng), coord(rng));
        // Zero-length segments: runs of repeated vertices, at the ends too.
        if (round % 2 == 0)
            for (int k = 0; k < 3 && line.size() > 1; ++k) {
                const size_t at = rng() % (line.size() - 1);
                line[at + 1] = line[at];
            }
        // Vertices at exact quarters of the length meet fractions exactly.
        if (round % 7 == 0)
            line = {CHQ_Point2D(0, 0), CHQ_Point2D(1, 0), CHQ_Point2D(1, 0),
                    CHQ_Point2D(2, 0), CHQ_Point2D(3, 0), CHQ_Point2D(4, 0)};

        std::vector<float> fractions(1 + rng() % 12);
        for (float& f : fractions) {
            f = (rng() % 4 == 0) ? special[rng() % (sizeof(special) / sizeof(special[0]))] : unit(rng);
            if (round % 7 == 0 && rng() % 2 == 0) f = static_cast<float>(rng() % 5) * 0.25f;
        }
        switch (round % kOrders) {
            case Ascending:
                std::sort(fractions.begin(), fractions.end());
                break;
            case Descending:
                std::sort(fractions.rbegin(), fractions.rend());
                break;
            case Repeated:
                for (size_t i = 1; i < fractions.size(); i += 2) fractions[i] = fractions[i - 1];
                break;
            default:
                break;
        }
        ExpectSameAsReference(line, fractions, "round " + std::to_string(round));
        if (HasFailure()) break;
    }
}

TEST(PercentSearch, SameAsLinearWalkOnDegenerateLines) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::vector<float> fractions[] = {
        {1.0f, 0.75f, 0.5f, 0.25f, 0.0f},
        {0.0f, 0.5f, 0.5f, 0.25f, 1.0f, 0.0f},
        {0.9f, 1.5f, -1.0f, 0.1f},
    };
    const struct {
        const char* name;
        Line line;
    } lines[] = {
        {"length 0", {CHQ_Point2D(2, 2), CHQ_Point2D(2, 2), CHQ_Point2D(2, 2)}},
        {"one point", {CHQ_Point2D(2, 2)}},
        {"empty", {}},
        {"zero-length start and end",
         {CHQ_Point2D(0, 0), CHQ_Point2D(0, 0), CHQ_Point2D(4, 0), CHQ_Point2D(4, 3), CHQ_Point2D(4, 3)}},
        // An overflowing segment makes the total infinite: the fractions
        // before it are 0 and the rest are not numbers.
        {"infinite length",
         {CHQ_Point2D(0, 0), CHQ_Point2D(1, 0), CHQ_Point2D(1e300, 0), CHQ_Point2D(-1e300, 0)}},
        {"infinite vertex", {CHQ_Point2D(0, 0), CHQ_Point2D(1, 0), CHQ_Point2D(inf, 0), CHQ_Point2D(2, 0)}},
        {"NaN vertex", {CHQ_Point2D(0, 0), CHQ_Point2D(1, 0), CHQ_Point2D(nan, 0), CHQ_Point2D(2, 0)}},
    };
    for (const auto& l : lines)
        for (const auto& f : fractions) ExpectSameAsReference(l.line, f, l.name);
}

// Many descending fractions on a long line: every one after the first is
// searched from the start of the line.
TEST(PercentSearch, DescendingFractionsOnALongLine) {
    Line line;
    for (int i = 0; i <= 20000; ++i) line.emplace_back(i * 0.5, (i % 3) * 0.25);
    std::vector<float> fractions;
    for (int i = 1000; i >= 0; --i) fractions.push_back(static_cast<float>(i) / 1000.0f);
    ExpectSameAsReference(line, fractions, "descending");
}

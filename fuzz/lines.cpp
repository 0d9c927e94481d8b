// SPDX-License-Identifier: Apache-2.0
// The line builders (line types, arrow heads, Bezier chains), the offset
// lines and the percent positions on hostile points (NaN, infinities, 1e300,
// repeats) and hostile widths and fractions. Besides running clean, each
// answer must have the size its contract states: 3n - 2 chain points for n
// key points, one offset point per vertex, one position and direction per
// fraction, four points per arrow head.
#include <geomkit/MathUtilityFunctions.h>

#include "FuzzInput.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

using HQ::CHQ_Point2D;
using HQ::CHQ_Point3D;
using M = HQ::CHQGS_MathUtilityFunctions;

namespace {

void require(bool condition, const char* what) { FuzzRequire(condition, "lines", what); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    // At most 2,000 points and 2,000 fractions: enough for every branch,
    // and bounded so that one input stays quick.
    std::vector<CHQ_Point2D> pts;
    const unsigned n = in.below(2000);
    for (unsigned k = 0; k < n && !in.empty(); ++k) {
        if (!pts.empty() && in.byte() < 48) {
            pts.push_back(pts.back());
            continue;
        }
        const double x = in.fraction(), y = in.fraction();
        pts.emplace_back(x, y);
    }
    const double w = in.fraction();
    std::vector<float> fractions;
    const unsigned nf = in.below(2000);
    for (unsigned k = 0; k < nf && !in.empty(); ++k) fractions.push_back(static_cast<float>(in.fraction()));
    const size_t np = pts.size();

    const std::vector<CHQ_Point2D> arrow = M::ComputeArrowPointsType(pts, w);
    require(arrow.size() == (np >= 2 ? 4u : 0u), "an arrow head without four points");
    const std::vector<CHQ_Point2D> t200 = M::LineType_2_0_0(pts);
    const std::vector<CHQ_Point2D> t201 = M::LineType_2_0_1(pts);
    const std::vector<CHQ_Point2D> t213 = M::LineType_2_1_3(pts);
    if (np >= 3) {
        require(t200.empty() || t200.size() == 3 * np - 2, "LineType_2_0_0: not 3n - 2 points");
        require(t201.empty() || t201.size() == 3 * np - 2, "LineType_2_0_1: not 3n - 2 points");
        require(t213.empty() || t213.size() == 3 * np - 2, "LineType_2_1_3: not 3n - 2 points");
    }
    (void)M::LineType_2_0_2(pts);
    std::vector<CHQ_Point2D> chain;
    M::LineType_2_1_6(pts, chain);
    require(chain.size() == (np >= 3 ? 3 * np - 2 : 0u), "LineType_2_1_6: not 3n - 2 points");
    (void)M::LineType_3_0_0(std::vector<CHQ_Point2D>(pts.begin(), pts.begin() + std::min<size_t>(np, 3)));
    (void)M::CalcBezierCurve(chain, 1 + static_cast<int>(in.below(16)));
    (void)M::ComputeBeizerPts(chain, static_cast<int>(in.below(16)));

    std::vector<CHQ_Point3D> pts3;
    for (const CHQ_Point2D& p : pts) pts3.emplace_back(p.x, p.y, 0.0);
    const bool closed = in.flag();
    const float fw = static_cast<float>(w);
    const std::vector<CHQ_Point3D> left = M::computerLeftPoints(pts3, fw, closed);
    const std::vector<CHQ_Point3D> right = M::computerRightPoints(pts3, fw, closed);
    require(left.size() == (np >= 2 ? np : 0u) && right.size() == left.size(),
            "an offset line of another size");
    CHQ_Point2D* l = nullptr;
    CHQ_Point2D* r = nullptr;
    int count = -1;
    M::computeLRPts(pts.empty() ? nullptr : pts.data(), static_cast<int>(np), w, l, r, count, closed);
    require(count >= 0 && (count == 0) == (l == nullptr) && (count == 0) == (r == nullptr), "computeLRPts");
    delete[] l;
    delete[] r;
    std::vector<CHQ_Point2D> first, second;
    M::spiltTwoLine(pts, w, first, second);
    require(first.size() == second.size(), "spiltTwoLine: halves of different sizes");
    (void)M::processVerts(pts3);

    std::vector<CHQ_Point2D> positions, directions;
    const std::vector<std::vector<CHQ_Point2D>> pieces =
        M::GetPercentPos(pts, fractions, positions, directions);
    require(positions.size() == fractions.size() && directions.size() == fractions.size(),
            "GetPercentPos: not one position and direction per fraction");
    require(pieces.size() <= fractions.size() + 1, "GetPercentPos: more pieces than splits");
    if (!fractions.empty()) {
        CHQ_Point2D one;
        M::GetPercentPos(pts, fractions.back(), one);
    }
    return 0;
}

// SPDX-License-Identifier: Apache-2.0
// Percent positions: cost of GetPercentPos on polylines of growing size (it
// should grow linearly with the number of segments, for descending fractions
// too) and on paths (sampled at
// 101 points first, so roughly constant in the path's own size).
#include <geomkit/MathUtilityFunctions.h>
#include <geomkit/PrimitiveUtilityFunctions.h>
#include <pathalgo/PrimitiveAlgorithmPath.h>

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

using HQ::CHQ_Point2D;

namespace {

// A zigzag polyline of the given number of segments.
std::vector<CHQ_Point2D> Zigzag(int segments) {
    std::vector<CHQ_Point2D> pts;
    pts.reserve(segments + 1);
    for (int i = 0; i <= segments; ++i) pts.emplace_back(i * 3.0, (i % 2) * 4.0 + std::sin(i * 0.1));
    return pts;
}

const std::vector<float> kFractions = {0.1f, 0.25f, 0.5f, 0.75f, 0.9f};

void BM_PercentPolyline(benchmark::State& state) {
    const std::vector<CHQ_Point2D> line = Zigzag(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        std::vector<CHQ_Point2D> positions, directions;
        auto pieces = HQ::CHQGS_MathUtilityFunctions::GetPercentPos(line, kFractions, positions, directions);
        benchmark::DoNotOptimize(pieces.data());
        benchmark::ClobberMemory();
    }
    state.SetComplexityN(state.range(0));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_PercentPolyline)->Arg(10)->Arg(1000)->Arg(10000)->Arg(100000)->Complexity(benchmark::oN);

// The same fractions in descending order: every fraction after the first
// lies below the previous one and is searched again from the start of the
// line (a binary search over the cumulative fractions).
void BM_PercentPolylineDescending(benchmark::State& state) {
    const std::vector<CHQ_Point2D> line = Zigzag(static_cast<int>(state.range(0)));
    std::vector<float> fractions;
    for (int i = 1000; i > 0; --i) fractions.push_back(static_cast<float>(i) / 1000.0f);
    for (auto _ : state) {
        std::vector<CHQ_Point2D> positions, directions;
        auto pieces = HQ::CHQGS_MathUtilityFunctions::GetPercentPos(line, fractions, positions, directions);
        benchmark::DoNotOptimize(pieces.data());
        benchmark::ClobberMemory();
    }
    state.SetComplexityN(state.range(0));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_PercentPolylineDescending)
    ->Arg(10)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

void BM_PercentPolylineSingle(benchmark::State& state) {
    const std::vector<CHQ_Point2D> line = Zigzag(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        CHQ_Point2D p;
        HQ::CHQGS_MathUtilityFunctions::GetPercentPos(line, 0.5f, p);
        benchmark::DoNotOptimize(p);
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_PercentPolylineSingle)->Arg(10)->Arg(1000)->Arg(10000)->Arg(100000)->Complexity(benchmark::oN);

// A path of the given number of straight segments.
void BM_PercentPath(benchmark::State& state) {
    const std::vector<CHQ_Point2D> line = Zigzag(static_cast<int>(state.range(0)));
    HQ::CPrimitiveAlgorithmPath path;
    path.MoveTo(line[0]);
    for (size_t i = 1; i < line.size(); ++i) path.LineTo(line[i]);
    for (auto _ : state) {
        std::vector<CHQ_Point2D> positions, directions;
        auto pieces =
            HQ::CHQGS_PrimitiveUtilityFunctions::GetPercentPos(path, kFractions, positions, directions);
        benchmark::DoNotOptimize(pieces.data());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_PercentPath)->Arg(10)->Arg(1000)->Arg(100000)->Complexity();

}  // namespace

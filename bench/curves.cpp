// SPDX-License-Identifier: Apache-2.0
// Line-type builders, Bezier sampling and offset lines over 10 to 10,000 key
// points. All of them are linear in the number of points; the complexity
// fit reported by Google Benchmark should say O(N).
#include <geomkit/MathUtilityFunctions.h>

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

using namespace HQ;
using M = CHQGS_MathUtilityFunctions;

namespace {

// A wandering polyline: random headings with segments of 5 to 50 units.
std::vector<CHQ_Point2D> KeyPoints(std::size_t n) {
    std::mt19937 rng(42);
    std::uniform_real_distribution<double> len(5, 50), turn(-2.0, 2.0);
    std::vector<CHQ_Point2D> p{CHQ_Point2D(0, 0)};
    double heading = 0;
    for (std::size_t i = 1; i < n; ++i) {
        const double l = len(rng);
        p.emplace_back(p.back().x + l * std::cos(heading), p.back().y + l * std::sin(heading));
        heading += turn(rng);
    }
    return p;
}

template <std::vector<CHQ_Point2D> (*Build)(const std::vector<CHQ_Point2D>&)>
void BM_LineType(benchmark::State& state) {
    const std::vector<CHQ_Point2D> pts = KeyPoints(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(Build(pts));
    state.SetComplexityN(state.range(0));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_LineType_2_1_6(benchmark::State& state) {
    const std::vector<CHQ_Point2D> pts = KeyPoints(static_cast<std::size_t>(state.range(0)));
    std::vector<CHQ_Point2D> out;
    for (auto _ : state) {
        out.clear();
        M::LineType_2_1_6(pts, out);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetComplexityN(state.range(0));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// Samples the 2_0_1 chain of the key points with 10 steps per segment.
void BM_CalcBezierCurve(benchmark::State& state) {
    const std::vector<CHQ_Point2D> chain =
        M::LineType_2_0_1(KeyPoints(static_cast<std::size_t>(state.range(0))));
    for (auto _ : state) benchmark::DoNotOptimize(M::CalcBezierCurve(chain, 10));
    state.SetComplexityN(state.range(0));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_ComputeBeizerPts(benchmark::State& state) {
    const std::vector<CHQ_Point2D> chain =
        M::LineType_2_0_1(KeyPoints(static_cast<std::size_t>(state.range(0))));
    for (auto _ : state) benchmark::DoNotOptimize(M::ComputeBeizerPts(chain, 10));
    state.SetComplexityN(state.range(0));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_ComputeLRPts(benchmark::State& state) {
    const std::vector<CHQ_Point2D> pts = KeyPoints(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        CHQ_Point2D* left = nullptr;
        CHQ_Point2D* right = nullptr;
        int count = 0;
        M::computeLRPts(pts.data(), static_cast<int>(pts.size()), 2.0, left, right, count, false);
        benchmark::DoNotOptimize(left);
        delete[] left;
        delete[] right;
    }
    state.SetComplexityN(state.range(0));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

#define CURVES_RANGE RangeMultiplier(10)->Range(10, 10000)->Complexity(benchmark::oN)

BENCHMARK_TEMPLATE(BM_LineType, &M::LineType_2_0_0)->Name("LineType_2_0_0")->CURVES_RANGE;
BENCHMARK_TEMPLATE(BM_LineType, &M::LineType_2_0_1)->Name("LineType_2_0_1")->CURVES_RANGE;
BENCHMARK_TEMPLATE(BM_LineType, &M::LineType_2_1_3)->Name("LineType_2_1_3")->CURVES_RANGE;
BENCHMARK_TEMPLATE(BM_LineType, &M::LineType_2_0_2)->Name("LineType_2_0_2")->CURVES_RANGE;
BENCHMARK(BM_LineType_2_1_6)->Name("LineType_2_1_6")->CURVES_RANGE;
BENCHMARK(BM_CalcBezierCurve)->Name("CalcBezierCurve_10steps")->CURVES_RANGE;
BENCHMARK(BM_ComputeBeizerPts)->Name("ComputeBeizerPts_10steps")->CURVES_RANGE;
BENCHMARK(BM_ComputeLRPts)->Name("computeLRPts")->CURVES_RANGE;

}  // namespace

// SPDX-License-Identifier: Apache-2.0
// Speed of the mesh helpers: contour tessellation (triangles per second) for
// polygons of growing size and for a square with many holes; glyph outlines
// and text extrusion per character.
#include <geomkit/MathUtilityFunctions.h>
#include <geomkit/UtilityTessellation.h>
#include <geomkit/UtilityText.h>

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

using namespace HQ;

namespace {

// A jagged star with n vertices: random radii at evenly spread angles. Simple
// but far from convex; a sweep line crosses its boundary O(n) times, which
// is the tessellator's worst case (its active-edge list grows with n).
std::vector<CHQ_Point3D> JaggedStar(int n) {
    std::mt19937 rng(12345);
    std::uniform_real_distribution<double> radius(0.5, 1.0);
    const double step = 2 * std::acos(-1.0) / n;
    std::vector<CHQ_Point3D> p;
    p.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        const double r = 1000 * radius(rng);
        p.emplace_back(r * std::cos(i * step), r * std::sin(i * step), 0.0);
    }
    return p;
}

// A wavy outline with n vertices (40 lobes around a circle), like a finely
// sampled coast or boundary: a sweep line meets it a bounded number of times.
std::vector<CHQ_Point3D> WavyOutline(int n) {
    const double step = 2 * std::acos(-1.0) / n;
    std::vector<CHQ_Point3D> p;
    p.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        const double r = 1000 * (1 + 0.05 * std::sin(40 * i * step));
        p.emplace_back(r * std::cos(i * step), r * std::sin(i * step), 0.0);
    }
    return p;
}

void RunTessellation(benchmark::State& state, const std::vector<std::vector<CHQ_Point3D>>& rings) {
    auto* tess = CHQGS_UtilityTessellation::getInstance();
    std::vector<CHQ_Point3D> v;
    std::vector<int> idx;
    std::size_t triangles = 0;
    for (auto _ : state) {
        tess->init();
        for (const auto& r : rings) tess->addContour(r);
        benchmark::DoNotOptimize(tess->tesselated(v, idx));
        triangles += idx.size() / 3;
    }
    state.counters["triangles/s"] =
        benchmark::Counter(static_cast<double>(triangles), benchmark::Counter::kIsRate);
    state.counters["triangles"] = static_cast<double>(idx.size() / 3);
}

void BM_TessellateWavyPolygon(benchmark::State& state) {
    RunTessellation(state, {WavyOutline(static_cast<int>(state.range(0)))});
}
BENCHMARK(BM_TessellateWavyPolygon)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_TessellateJaggedStar(benchmark::State& state) {
    RunTessellation(state, {JaggedStar(static_cast<int>(state.range(0)))});
}
BENCHMARK(BM_TessellateJaggedStar)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_TessellateSquareWith100Holes(benchmark::State& state) {
    std::vector<std::vector<CHQ_Point3D>> rings;
    rings.push_back({{0, 0, 0}, {100, 0, 0}, {100, 100, 0}, {0, 100, 0}});
    for (int i = 0; i < 10; ++i)
        for (int j = 0; j < 10; ++j) {
            const double x = 10 * i + 3, y = 10 * j + 3;
            // Holes run clockwise, against the outer ring.
            rings.push_back({{x, y, 0}, {x, y + 4, 0}, {x + 4, y + 4, 0}, {x + 4, y, 0}});
        }
    RunTessellation(state, rings);
}
BENCHMARK(BM_TessellateSquareWith100Holes)->Unit(benchmark::kMicrosecond);

const char* const kFont = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
const wchar_t kText[] = L"The quick brown fox jumps over the lazy dog 0123456789";

void BM_GlyphOutline(benchmark::State& state) {
    CHQGS_UtilityText text;
    if (!text.Load(kFont, 64, 64)) {
        state.SkipWithError("font not installed");
        return;
    }
    std::size_t chars = 0;
    for (auto _ : state) {
        for (const wchar_t* c = kText; *c; ++c) {
            benchmark::DoNotOptimize(text.LoadChar(*c));
            ++chars;
        }
    }
    state.counters["chars/s"] = benchmark::Counter(static_cast<double>(chars), benchmark::Counter::kIsRate);
    state.counters["s/char"] = benchmark::Counter(static_cast<double>(chars),
                                                  benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_GlyphOutline);

void BM_GlyphExtrusion(benchmark::State& state) {
    CHQGS_UtilityText text;
    if (!text.Load(kFont, 64, 64)) {
        state.SkipWithError("font not installed");
        return;
    }
    std::vector<std::vector<std::vector<CHQ_Point2D>>> glyphs;
    for (const wchar_t* c = kText; *c; ++c) glyphs.push_back(text.LoadChar(*c));
    std::vector<CHQ_Point3D> v, n;
    std::vector<int> idx;
    std::size_t chars = 0;
    for (auto _ : state) {
        for (const auto& g : glyphs) {
            benchmark::DoNotOptimize(CHQGS_MathUtilityFunctions::ComputeTextTessellation(g, 64.0, v, idx, n));
            ++chars;
        }
    }
    state.counters["chars/s"] = benchmark::Counter(static_cast<double>(chars), benchmark::Counter::kIsRate);
    state.counters["s/char"] = benchmark::Counter(static_cast<double>(chars),
                                                  benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_GlyphExtrusion);

}  // namespace

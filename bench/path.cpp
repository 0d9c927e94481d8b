// SPDX-License-Identifier: Apache-2.0
// Speed of the drawing path's queries: Length and PointAtPercent on paths of
// 10, 1,000 and 100,000 segments. Both must grow linearly with the number of
// segments and allocate nothing per query (the "allocs" counter counts calls
// of operator new inside the timed loop, per query).
#include <pathalgo/PrimitiveAlgorithmPath.h>

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>

// Counting replacements of the global operator new/delete. GCC pairs the
// replaced delete with the malloc it can see inside new and warns about a
// mismatch that is not there.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

namespace {
std::atomic<long> g_allocations{0};
}  // namespace

void* operator new(std::size_t size) {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

using HQ::CHQ_Point2D;
using HQ::CPrimitiveAlgorithmPath;

// n cubic segments, each its own element.
CPrimitiveAlgorithmPath CubicPath(long n) {
    CPrimitiveAlgorithmPath path;
    path.MoveTo(0, 0);
    for (long i = 0; i < n; ++i) {
        const double x = static_cast<double>(i);
        path.CubicTo(CHQ_Point2D(x + 0.25, 1), CHQ_Point2D(x + 0.75, -1), CHQ_Point2D(x + 1, 0));
    }
    path.Length();  // closes nothing here, but keeps the setup uniform
    return path;
}

// Alternating polylines of two lines and arcs: n elements of mixed kinds.
CPrimitiveAlgorithmPath MixedPath(long n) {
    CPrimitiveAlgorithmPath path;
    for (long i = 0; i < n; ++i) {
        const double x = static_cast<double>(i) * 10;
        if (i % 2 == 0) {
            path.MoveTo(x, 0);
            path.LineTo(x + 5, 5);
            path.LineTo(x + 10, 0);
        } else {
            const HQ::PathRect r(x, -5, 10, 10);
            path.ArcMoveTo(r, 0);
            path.ArcTo(r, 0, 180);
        }
    }
    path.Length();  // closes the last pending element
    return path;
}

// n straight lines gathered into one polyline element.
CPrimitiveAlgorithmPath LinePath(long n) {
    CPrimitiveAlgorithmPath path;
    path.MoveTo(0, 0);
    for (long i = 0; i < n; ++i) path.LineTo(static_cast<double>(i + 1), static_cast<double>(i % 2));
    path.Length();
    return path;
}

template <CPrimitiveAlgorithmPath (*Build)(long)>
void BM_Length(benchmark::State& state) {
    CPrimitiveAlgorithmPath path = Build(state.range(0));
    const long before = g_allocations.load();
    for (auto _ : state) benchmark::DoNotOptimize(path.Length());
    state.counters["allocs"] = benchmark::Counter(static_cast<double>(g_allocations.load() - before),
                                                  benchmark::Counter::kAvgIterations);
    state.SetComplexityN(state.range(0));
}

template <CPrimitiveAlgorithmPath (*Build)(long)>
void BM_PointAtPercent(benchmark::State& state) {
    CPrimitiveAlgorithmPath path = Build(state.range(0));
    // Fraction 1 walks every segment: the worst case.
    const long before = g_allocations.load();
    for (auto _ : state) benchmark::DoNotOptimize(path.PointAtPercent(1.0));
    state.counters["allocs"] = benchmark::Counter(static_cast<double>(g_allocations.load() - before),
                                                  benchmark::Counter::kAvgIterations);
    state.SetComplexityN(state.range(0));
}

#define PATH_SIZES Arg(10)->Arg(1000)->Arg(100000)->Complexity(benchmark::oN)
BENCHMARK_TEMPLATE(BM_Length, CubicPath)->PATH_SIZES;
BENCHMARK_TEMPLATE(BM_PointAtPercent, CubicPath)->PATH_SIZES;
BENCHMARK_TEMPLATE(BM_Length, MixedPath)->PATH_SIZES;
BENCHMARK_TEMPLATE(BM_PointAtPercent, MixedPath)->PATH_SIZES;
BENCHMARK_TEMPLATE(BM_Length, LinePath)->PATH_SIZES;
BENCHMARK_TEMPLATE(BM_PointAtPercent, LinePath)->PATH_SIZES;

}  // namespace

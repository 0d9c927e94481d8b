// SPDX-License-Identifier: Apache-2.0
// Geometry at scale, each beside its anchor in the same run: outline
// triangulation (ours on CDT, a direct CDT call, the former quadratic
// triangulator), tessellation (the system tessellator driven directly, and
// the library's tesselated, which switches to CDT for large simple input),
// and glyph outlines (LoadChar beside a bare FreeType outline walk).
#include <geomkit/Delaunay.h>
#include <geomkit/MathUtilityFunctions.h>
#include <geomkit/UtilityTessellation.h>
#include <geomkit/UtilityText.h>

#include <CDT.h>
#include <GL/glu.h>
#include <benchmark/benchmark.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include "legacy_outline.h"

#include <cmath>
#include <deque>
#include <random>
#include <vector>

using namespace HQ;

namespace {

using Ring = std::vector<CHQ_Point3D>;

// A jagged star: random radii at evenly spread angles.
Ring JaggedStar(int n) {
    std::mt19937 rng(12345);
    std::uniform_real_distribution<double> radius(0.5, 1.0);
    const double step = 2 * std::acos(-1.0) / n;
    Ring p;
    for (int i = 0; i < n; ++i) {
        const double r = 1000 * radius(rng);
        p.emplace_back(r * std::cos(i * step), r * std::sin(i * step), 0.0);
    }
    return p;
}

// A wavy outline (40 lobes around a circle).
Ring Wavy(int n) {
    const double step = 2 * std::acos(-1.0) / n;
    Ring p;
    for (int i = 0; i < n; ++i) {
        const double r = 1000 * (1 + 0.2 * std::sin(40 * i * step));
        p.emplace_back(r * std::cos(i * step), r * std::sin(i * step), 0.0);
    }
    return p;
}

std::vector<Ring> SquareWithHoles() {
    std::vector<Ring> rings{{{0, 0, 0}, {110, 0, 0}, {110, 110, 0}, {0, 110, 0}}};
    for (int i = 0; i < 10; ++i)
        for (int j = 0; j < 10; ++j) {
            const double x = 2 + 11 * i, y = 2 + 11 * j;
            rings.push_back({{x, y, 0}, {x, y + 8, 0}, {x + 8, y + 8, 0}, {x + 8, y, 0}});
        }
    return rings;
}

// ---- Outline triangulation ---------------------------------------------------

void BM_Outline_Ours(benchmark::State& st) {
    const Ring outline = JaggedStar(static_cast<int>(st.range(0)));
    for (auto _ : st) {
        CHQGS_Delaunay d;
        d.Init(outline);
        if (!d.Triangulate()) st.SkipWithError("refused");
        std::vector<CHQ_Point3D> pts;
        std::vector<int> idx;
        d.Compute(pts, idx);
        benchmark::DoNotOptimize(idx.data());
    }
    st.SetComplexityN(st.range(0));
}
BENCHMARK(BM_Outline_Ours)
    ->Arg(1000)
    ->Arg(16000)
    ->Arg(64000)
    ->Arg(256000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

void BM_Outline_DirectCdt(benchmark::State& st) {
    const Ring outline = JaggedStar(static_cast<int>(st.range(0)));
    std::vector<CDT::V2d<double>> pts;
    std::vector<CDT::Edge> edges;
    for (std::size_t i = 0; i < outline.size(); ++i) {
        pts.emplace_back(outline[i].x, outline[i].y);
        edges.emplace_back(static_cast<CDT::VertInd>(i), static_cast<CDT::VertInd>((i + 1) % outline.size()));
    }
    for (auto _ : st) {
        CDT::Triangulation<double> t;
        t.insertVertices(pts);
        t.insertEdges(edges);
        t.eraseOuterTriangles();
        benchmark::DoNotOptimize(t.triangles.data());
    }
    st.SetComplexityN(st.range(0));
}
BENCHMARK(BM_Outline_DirectCdt)
    ->Arg(1000)
    ->Arg(16000)
    ->Arg(64000)
    ->Arg(256000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

void BM_Outline_Former(benchmark::State& st) {
    const Ring outline = JaggedStar(static_cast<int>(st.range(0)));
    CHQGS_Delaunay d;
    d.Init(outline);
    for (auto _ : st) {
        triangulateio out{};
        if (!legacy::LegacyTriangulateOutline(d.GetInRecord(), out)) st.SkipWithError("refused");
        HQ::record::FreeRecordArrays(out);
    }
    st.SetComplexityN(st.range(0));
}
BENCHMARK(BM_Outline_Former)->Arg(1000)->Arg(4000)->Arg(16000)->Unit(benchmark::kMillisecond)->Complexity();

// ---- Tessellation --------------------------------------------------------------

std::vector<CHQ_Point3D> g_out;
void GLAPIENTRY Vtx(void* d) {
    const double* b = static_cast<const double*>(d);
    g_out.emplace_back(b[0], b[1], b[2]);
}
void GLAPIENTRY Beg(GLenum) {}
void GLAPIENTRY End() {}
std::deque<std::array<double, 3>> g_combined;
void GLAPIENTRY Comb(GLdouble c[3], void**, GLfloat*, void** out) {
    g_combined.push_back({c[0], c[1], c[2]});
    *out = g_combined.back().data();
}

// The system tessellator as tesselated drives it below the switch point.
std::size_t GluTessellate(const std::vector<Ring>& rings) {
    g_out.clear();
    g_combined.clear();
    std::vector<std::array<double, 6>> blocks;
    for (const auto& r : rings)
        for (const auto& p : r) blocks.push_back({p.x, p.y, p.z, 1, 0, 0});
    GLUtesselator* t = gluNewTess();
    gluTessCallback(t, GLU_TESS_BEGIN, reinterpret_cast<_GLUfuncptr>(&Beg));
    gluTessCallback(t, GLU_TESS_VERTEX, reinterpret_cast<_GLUfuncptr>(&Vtx));
    gluTessCallback(t, GLU_TESS_END, reinterpret_cast<_GLUfuncptr>(&End));
    gluTessCallback(t, GLU_TESS_COMBINE, reinterpret_cast<_GLUfuncptr>(&Comb));
    gluTessProperty(t, GLU_TESS_WINDING_RULE, GLU_TESS_WINDING_POSITIVE);
    gluTessBeginPolygon(t, nullptr);
    std::size_t k = 0;
    for (const auto& r : rings) {
        gluTessBeginContour(t);
        for (std::size_t i = 0; i < r.size(); ++i, ++k) gluTessVertex(t, blocks[k].data(), blocks[k].data());
        gluTessEndContour(t);
    }
    gluTessEndPolygon(t);
    gluDeleteTess(t);
    return g_out.size();
}

std::vector<Ring> Shape(int which, int n) {
    switch (which) {
        case 0:
            return {JaggedStar(n)};
        case 1:
            return {Wavy(n)};
        default:
            return SquareWithHoles();
    }
}

void BM_Tess_Glu(benchmark::State& st) {
    const auto rings = Shape(static_cast<int>(st.range(0)), static_cast<int>(st.range(1)));
    for (auto _ : st) benchmark::DoNotOptimize(GluTessellate(rings));
}
void BM_Tess_Library(benchmark::State& st) {
    const auto rings = Shape(static_cast<int>(st.range(0)), static_cast<int>(st.range(1)));
    auto* t = CHQGS_UtilityTessellation::getInstance();
    std::vector<CHQ_Point3D> v;
    std::vector<int> idx;
    for (auto _ : st) {
        t->init();
        for (const auto& r : rings) t->addContour(r);
        if (!t->tesselated(v, idx)) st.SkipWithError("nothing filled");
    }
}
// (shape, vertices): 0 jagged star, 1 wavy outline, 2 square with 100 holes.
#define TESS_ARGS           \
    Args({0, 250})          \
        ->Args({0, 1000})   \
        ->Args({0, 2000})   \
        ->Args({0, 4000})   \
        ->Args({0, 10000})  \
        ->Args({2, 0})      \
        ->Args({0, 100000}) \
        ->Args({1, 100000}) \
        ->Unit(benchmark::kMillisecond)
BENCHMARK(BM_Tess_Glu)->TESS_ARGS;
BENCHMARK(BM_Tess_Library)->TESS_ARGS;

// ---- Glyph outlines ----------------------------------------------------------

const char* const kFont = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
const wchar_t kText[] = L"Situation map 1:50000 ABCDEFGHIJKLMNOPQRSTUVWXYZ abcdefghijklmnopqrstuvwxyz";
constexpr int kChars = sizeof(kText) / sizeof(kText[0]) - 1;

void BM_Glyph_FreeTypeWalk(benchmark::State& st) {
    FT_Library lib;
    FT_Face face;
    FT_Init_FreeType(&lib);
    if (FT_New_Face(lib, kFont, 0, &face) != 0) {
        st.SkipWithError("font missing");
        return;
    }
    FT_Select_Charmap(face, FT_ENCODING_UNICODE);
    FT_Set_Pixel_Sizes(face, 64, 64);
    FT_Outline_Funcs funcs{};
    funcs.move_to = [](const FT_Vector*, void* u) { return ++*static_cast<int*>(u), 0; };
    funcs.line_to = funcs.move_to;
    funcs.conic_to = [](const FT_Vector*, const FT_Vector*, void* u) { return ++*static_cast<int*>(u), 0; };
    funcs.cubic_to = [](const FT_Vector*, const FT_Vector*, const FT_Vector*, void* u) {
        return ++*static_cast<int*>(u), 0;
    };
    int count = 0;
    for (auto _ : st) {
        for (int i = 0; i < kChars; ++i) {
            FT_Load_Glyph(face, FT_Get_Char_Index(face, static_cast<FT_ULong>(kText[i])),
                          FT_LOAD_NO_BITMAP | FT_LOAD_NO_HINTING);
            FT_Outline_Decompose(&face->glyph->outline, &funcs, &count);
        }
    }
    benchmark::DoNotOptimize(count);
    st.SetItemsProcessed(st.iterations() * kChars);
    FT_Done_Face(face);
    FT_Done_FreeType(lib);
}
BENCHMARK(BM_Glyph_FreeTypeWalk)->Unit(benchmark::kMicrosecond);

// Cold: a fresh Load before every pass, so no character has been seen.
void BM_Glyph_LoadCharCold(benchmark::State& st) {
    CHQGS_UtilityText text;
    for (auto _ : st) {
        st.PauseTiming();
        if (!text.Load(kFont, 64, 64)) st.SkipWithError("font missing");
        st.ResumeTiming();
        for (int i = 0; i < kChars; ++i) benchmark::DoNotOptimize(text.LoadChar(kText[i]).size());
    }
    st.SetItemsProcessed(st.iterations() * kChars);
}
BENCHMARK(BM_Glyph_LoadCharCold)->Unit(benchmark::kMicrosecond);

// Repeated text: after the first pass every character has been seen.
void BM_Glyph_LoadCharRepeated(benchmark::State& st) {
    CHQGS_UtilityText text;
    if (!text.Load(kFont, 64, 64)) st.SkipWithError("font missing");
    for (auto _ : st)
        for (int i = 0; i < kChars; ++i) benchmark::DoNotOptimize(text.LoadChar(kText[i]).size());
    st.SetItemsProcessed(st.iterations() * kChars);
}
BENCHMARK(BM_Glyph_LoadCharRepeated)->Unit(benchmark::kMicrosecond);

void BM_Glyph_ExtrudedText(benchmark::State& st) {
    CHQGS_UtilityText text;
    if (!text.Load(kFont, 64, 64)) st.SkipWithError("font missing");
    std::vector<CHQ_Point3D> v, n;
    std::vector<int> idx;
    for (auto _ : st)
        for (int i = 0; i < kChars; ++i) {
            const auto contours = text.LoadChar(kText[i]);
            CHQGS_MathUtilityFunctions::ComputeTextTessellation(contours, 2.0, v, idx, n);
        }
    st.SetItemsProcessed(st.iterations() * kChars);
}
BENCHMARK(BM_Glyph_ExtrudedText)->Unit(benchmark::kMicrosecond);

}  // namespace

// SPDX-License-Identifier: Apache-2.0
// Throughput of the mark data reader on realistic data texts: a mix of
// lines (closed outlines and open strokes with 2 to 6 vertices), texts and
// text boxes, 10 to 30 units per mark (about 3 to 9.5 KB of JSON). Reports
// units per second (items) and bytes per second.
#include <markstore/MarkData.h>
#include <markstore/Symbol.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

namespace {

std::string Colour(const char* name, int r, int g, int b, int a) {
    char buf[96];
    std::snprintf(buf, sizeof buf, "\"%s\":{\"R\":%d,\"G\":%d,\"B\":%d,\"A\":%d}", name, r, g, b, a);
    return buf;
}

std::string Point(double x, double y) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "{\"X\":%.2f,\"Y\":%.2f}", x, y);
    return buf;
}

std::string Font(int i) {
    return "\"FontAngle\":" + std::to_string(i % 4 * 15) + ".0,\"FontName\":\"Sans\",\"FontWidth\":12," +
           "\"FontHeight\":24,\"FontDistance\":1,\"LineDistance\":2,\"FontStyle\":0," +
           Colour("FontColor", 20, 20, 20, 255);
}

// Mark data with the given number of units: three lines for every text and
// text box.
std::string MakeMarkData(int units) {
    std::string text = "[";
    for (int i = 0; i < units; ++i) {
        if (i > 0) text += ",";
        const int kind = i % 5;
        if (kind == 3) {
            text += "{\"Style\":7," + Font(i) + ",\"FontPos\":" + Point(10.0 * i, -5.0) + ",\"Text\":\"T" +
                    std::to_string(i) + "\"}";
        } else if (kind == 4) {
            text += "{\"Style\":13," + Font(i) + ",\"Vertexes\":[" + Point(0, 0) + "," + Point(40.5, 12.25) +
                    "]}";
        } else {
            const int vertices = 2 + (i * 3) % 5;
            text += "{\"Style\":1,\"LineStyle\":" + std::to_string(i % 3) +
                    ",\"LineWidth\":2,\"IsClose\":" + (kind == 0 ? "true" : "false") +
                    ",\"IsOutline\":true,\"FillStyle\":1," + Colour("LineColor", 255, 0, 0, 255) + "," +
                    Colour("OutlineColor", 0, 0, 0, 255) + "," + Colour("FillColor", 255, 255, 0, 128) +
                    ",\"IsLineStyleFixedness\":false,\"IsColorFixedness\":false,\"IsNotFill\":" +
                    (kind == 0 ? "false" : "true") + ",\"Vertexes\":[";
            for (int v = 0; v < vertices; ++v) {
                if (v > 0) text += ",";
                text += Point(3.5 * v + i, (v % 2 == 0 ? 1.0 : -1.0) * (10.0 + v));
            }
            text += "]}";
        }
    }
    return text + "]";
}

void BM_ParseMarkData(benchmark::State& state) {
    const int units = static_cast<int>(state.range(0));
    const std::string text = MakeMarkData(units);
    for (auto _ : state) {
        HQ::CHQGS_Symbol symbol;
        HQ::ParseMarkData(&symbol, text.c_str(), 0);
        benchmark::DoNotOptimize(symbol.GetUnits().data());
    }
    state.SetItemsProcessed(state.iterations() * units);
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
    state.counters["text_bytes"] = static_cast<double>(text.size());
}
BENCHMARK(BM_ParseMarkData)->Arg(10)->Arg(20)->Arg(30);

}  // namespace

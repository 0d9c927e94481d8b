// SPDX-License-Identifier: Apache-2.0
// Symbol pictures: symbols rendered to SVG per second, on the sample library
// and on a generated library of 10,000 symbols, and the time symlib takes to
// write the web catalogue of that library.
//
// The library is generated here: SQL text piped into the sqlcipher shell
// under the library key, on the schema of examples/symbol-library.
#include <markstore/Symbol.h>
#include <markstore/SymbolLibManager.h>
#include <markstore/SymbolSvg.h>

#include <benchmark/benchmark.h>

#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <list>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

using namespace HQ;

namespace {

const char kKey[] = "Stonegate_Sigils_V4.1";
const int kLib = 1;
const int kSymbols = 10000;
const int kPerCategory = 100;

// A frame, a cross, a filled marker, a label and a text box.
const char kData[] =
    "[{\"Style\":1,\"LineWidth\":2,\"IsClose\":true,\"LineColor\":{\"R\":0,\"G\":0,\"B\":255,\"A\":255},"
    "\"Vertexes\":[{\"X\":-40,\"Y\":-25},{\"X\":40,\"Y\":-25},{\"X\":40,\"Y\":25},{\"X\":-40,\"Y\":25}]},"
    "{\"Style\":1,\"LineWidth\":2,\"LineStyle\":2,\"Vertexes\":[{\"X\":-40,\"Y\":-25},{\"X\":40,\"Y\":25}]},"
    "{\"Style\":1,\"LineWidth\":1,\"IsClose\":true,\"IsNotFill\":false,\"FillStyle\":4,"
    "\"LineColor\":{\"R\":255,\"G\":0,\"B\":0,\"A\":255},\"FillColor\":{\"R\":255,\"G\":0,\"B\":0},"
    "\"Vertexes\":[{\"X\":-8,\"Y\":-8},{\"X\":8,\"Y\":-8},{\"X\":8,\"Y\":8},{\"X\":-8,\"Y\":8}]},"
    "{\"Style\":7,\"FontName\":\"SimSun\",\"FontWidth\":8,\"FontHeight\":16,\"FontColor\":{\"A\":255},"
    "\"FontPos\":{\"X\":-30,\"Y\":-22},\"Text\":\"A1\"},"
    "{\"Style\":13,\"FontName\":\"SimSun\",\"Vertexes\":[{\"X\":10,\"Y\":5},{\"X\":38,\"Y\":22}]}]";

std::string ReadFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string GeneratedLibrary() {
    static std::string built;
    if (!built.empty()) return built;
    const std::string path = SITPLOT_BINARY_DIR "/bench-render-10000.db";
    std::remove(path.c_str());
    FILE* shell = popen(("sqlcipher -bail '" + path + "' > /dev/null").c_str(), "w");
    if (!shell) throw std::runtime_error("cannot run sqlcipher");
    std::fprintf(shell, "PRAGMA key = '%s';\n%s\nBEGIN;\n", kKey,
                 ReadFile(SITPLOT_SOURCE_DIR "/examples/symbol-library/schema.sql").c_str());
    const int categories = kSymbols / kPerCategory;
    std::fprintf(shell, "INSERT INTO Tags VALUES (%d, 'Generated', %d, %d);\n", kLib, categories, kSymbols);
    for (int c = 0; c < categories; ++c)
        std::fprintf(shell, "INSERT INTO Nodes VALUES (%d, %d, %d, 1, 'Category %d');\n", kLib, 1000000 + c,
                     kLib, c);
    for (int id = 1; id <= kSymbols; ++id)
        std::fprintf(
            shell,
            "INSERT INTO Marks VALUES (%d, %d, %d, 'Mark %d', 0, 0, 0, 0, 0, 0, 1, 0, 1, -40, -25, 40, "
            "25, '%s', 1, 0);\n",
            kLib, id, 1000000 + (id - 1) / kPerCategory, id, kData);
    std::fprintf(shell, "COMMIT;\n");
    if (pclose(shell) != 0) throw std::runtime_error("sqlcipher failed on " + path);
    built = path;
    return path;
}

std::vector<std::unique_ptr<CHQGS_Symbol>> LoadAll(const std::string& path) {
    IHQGS_SymbolLibManager* m = SymbolLibManagerFactory::GetInstance();
    m->init(0);
    m->setDBPath(path.c_str());
    if (!m->open()) throw std::runtime_error("cannot open " + path);
    std::vector<std::unique_ptr<CHQGS_Symbol>> out;
    for (CHQGS_Symbol* s : m->findMarksByNameLike(0, "")) out.emplace_back(s);
    m->release();
    return out;
}

void RenderAll(benchmark::State& state, const std::vector<std::unique_ptr<CHQGS_Symbol>>& symbols) {
    SvgOptions options;
    std::size_t bytes = 0;
    for (auto _ : state) {
        for (auto& s : symbols) {
            std::string svg = RenderSymbolSvg(*s, options);
            bytes += svg.size();
            benchmark::DoNotOptimize(svg);
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(symbols.size()));
    state.counters["svg_bytes"] =
        static_cast<double>(bytes) / static_cast<double>(state.iterations() * symbols.size());
}

void BM_RenderSample(benchmark::State& state) {
    std::setlocale(LC_ALL, "");
    static auto symbols = LoadAll(SITPLOT_BINARY_DIR "/examples/symbol-library/sample.db");
    RenderAll(state, symbols);
}
BENCHMARK(BM_RenderSample);

void BM_RenderGenerated10000(benchmark::State& state) {
    std::setlocale(LC_ALL, "");
    static auto symbols = LoadAll(GeneratedLibrary());
    RenderAll(state, symbols);
}
BENCHMARK(BM_RenderGenerated10000)->Unit(benchmark::kMillisecond);

// symlib catalogue of the 10,000-symbol library, the program run as a user
// runs it (reading the library included).
void BM_Catalogue10000(benchmark::State& state) {
    const std::string library = GeneratedLibrary();
    const std::string dir = SITPLOT_BINARY_DIR "/bench-render-catalogue";
    const std::string command = "'" SITPLOT_BINARY_DIR "/symlib/symlib' --db '" + library +
                                "' catalogue -o '" + dir + "' > /dev/null";
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("symlib catalogue failed (is symlib built?)");
            break;
        }
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    state.counters["html_bytes"] = static_cast<double>(ReadFile(dir + "/index.html").size());
}
BENCHMARK(BM_Catalogue10000)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

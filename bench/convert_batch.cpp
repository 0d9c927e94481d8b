// SPDX-License-Identifier: Apache-2.0
// Batch throughput of the converter: a generated batch of many small
// documents and a few large ones, converted by runBatch with one job and with
// two worker processes (wall-clock time, since the workers' processor time
// is not this process's), JSON only and JSON plus GeoJSON; and the speed of
// writing the GeoJSON form of a converted document beside writing its JSON.
// Throughput is in bytes of XML input per second.
#include <sitconv/Batch.h>
#include <sitconv/GeoJson.h>
#include <sitconv/MarkTypeSource.h>
#include <sitconv/SituationConverter.h>

#include <benchmark/benchmark.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include <unistd.h>

namespace {

class NoLibrary : public HQ::MarkTypeSource {
public:
    void beginDocument() override {}
    int markType(int, int) override { return 0; }
};

// A document of n placed symbols with one to five points each, fills on every
// other symbol, and an annotation.
std::string document(int n, int seed) {
    std::ostringstream x;
    x << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<SITSYMBOLFILE><LAYGROUPS><LayerGroup "
         "Describe=\"演习\" "
         "Visible=\"TRUE\" Name=\"红方\"><LAYERS><Layer Name=\"部署\" Describe=\"\" "
         "Visible=\"TRUE\"><SYMBOLS>\n";
    for (int i = 0; i < n; ++i) {
        x << "<Symbol Guid=\"" << i << "\" Code=\"" << 10 + i % 20 << "," << i % 300 << "\" Name=\"分队"
          << seed << "\" Visible=\"TRUE\" DisplayType=\"LIE_NOPIXEL\"><GeoAttr><POINTS>";
        for (int p = 0; p <= (i + seed) % 5; ++p) {
            x << "<Point X=\"" << 116.0 + 0.001 * p + 1e-6 * i << "\" Y=\"" << 39.0 + 0.002 * (p % 3)
              << "\" Z=\"" << p << "\"/>";
        }
        x << "</POINTS></GeoAttr><StyleAttr DisplayType=\"1\" LineType=\"1\"><MainLine Color=\"4278190335\" "
             "Width=\"2\"/><Fill Color=\"4278190208\" Mode=\""
          << i % 2
          << "\"/></StyleAttr><AnnoTextAttr Text=\"前沿\" Visible=\"TRUE\"><AnnoColor Back=\"0\" "
             "Text=\"255\"/></AnnoTextAttr></Symbol>\n";
    }
    x << "</SYMBOLS></Layer></LAYERS></LayerGroup></LAYGROUPS></SITSYMBOLFILE>\n";
    return x.str();
}

struct Batch {
    std::string folder;
    std::uint64_t bytes = 0;
    Batch() {
        char pattern[] = "/tmp/sitconv_bench_batch_XXXXXX";
        folder = ::mkdtemp(pattern);
        // 200 small documents (20 to 220 symbols) and 4 large ones (20,000).
        for (int i = 0; i < 204; ++i) {
            const std::string text = i < 200 ? document(20 + i, i) : document(20000, i);
            const std::string sub = folder + "/source/" + std::to_string(i % 7);
            std::system(("mkdir -p " + sub).c_str());
            std::ofstream(sub + "/doc" + std::to_string(i) + ".xml", std::ios::binary) << text;
            bytes += text.size();
        }
    }
    ~Batch() { std::system(("rm -rf " + folder).c_str()); }
};

Batch& batch() {
    static Batch b;
    return b;
}

void BM_Batch(benchmark::State& state) {
    Batch& b = batch();
    HQ::BatchOptions options;
    options.source = b.folder + "/source";
    options.outputFolder = b.folder + "/out";
    options.jobs = static_cast<int>(state.range(0));
    options.formats = static_cast<int>(state.range(1));
    std::ostringstream errors;
    for (auto _ : state) {
        if (HQ::runBatch(options, errors) != 0) state.SkipWithError(errors.str().c_str());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(b.bytes));
    state.counters["files"] = 204;
    state.counters["xml_MB"] = static_cast<double>(b.bytes) / 1e6;
}

// The converted JSON document of 20,000 symbols.
const rapidjson::Document& converted(std::size_t& xmlBytes) {
    static rapidjson::Document doc;
    static std::size_t bytes = 0;
    if (bytes == 0) {
        const std::string xml = document(20000, 3);
        bytes = xml.size();
        const std::string base = "/tmp/sitconv_bench_geo_" + std::to_string(::getpid());
        std::ofstream(base + ".xml", std::ios::binary) << xml;
        NoLibrary marks;
        std::ostringstream errors;
        HQ::SituationConverter converter(marks, errors);
        converter.convertLayers(base + ".json", xml);
        converter.convertActionGroups(base + ".xml", base + ".json");
        std::ifstream in(base + ".json", std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        doc.Parse<rapidjson::kParseFullPrecisionFlag>(s.str().c_str());
        std::remove((base + ".xml").c_str());
        std::remove((base + ".json").c_str());
    }
    xmlBytes = bytes;
    return doc;
}

void BM_WriteJson(benchmark::State& state) {
    std::size_t xmlBytes = 0;
    const rapidjson::Document& doc = converted(xmlBytes);
    std::size_t size = 0;
    for (auto _ : state) {
        rapidjson::StringBuffer out;
        rapidjson::Writer<rapidjson::StringBuffer> writer(out);
        doc.Accept(writer);
        size = out.GetSize();
        benchmark::DoNotOptimize(out.GetString());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(xmlBytes));
    state.counters["out_MB"] = static_cast<double>(size) / 1e6;
}

void BM_WriteGeoJson(benchmark::State& state) {
    std::size_t xmlBytes = 0;
    const rapidjson::Document& doc = converted(xmlBytes);
    std::size_t size = 0;
    for (auto _ : state) {
        const HQ::GeoJsonText geo = HQ::toGeoJson(doc);
        size = geo.text.size();
        benchmark::DoNotOptimize(geo.text.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(xmlBytes));
    state.counters["out_MB"] = static_cast<double>(size) / 1e6;
}

// {jobs, formats}: 1 JSON, 3 JSON and GeoJSON.
BENCHMARK(BM_Batch)
    ->Args({1, 1})
    ->Args({2, 1})
    ->Args({1, 3})
    ->Args({2, 3})
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK(BM_WriteJson)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteGeoJson)->Unit(benchmark::kMillisecond);

}  // namespace

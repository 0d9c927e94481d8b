// SPDX-License-Identifier: Apache-2.0
// Speed of the situation converter: the whole conversion of one file
// (read, convert, write the output) of generated documents (10,000 to
// 100,000 placed symbols), one pass as the program converts today and, when
// the tests' copy of the former two-stage converter is built, the two stages
// as they were, beside the bare cost of parsing the same XML with TinyXML
// and of writing the same JSON with RapidJSON's Writer. Throughput is in bytes of XML input per second; the
// counter "vs_parse_write" of the conversion is its time over the sum of the
// two bare costs at the same size.
#include <sitconv/Batch.h>
#include <sitconv/MarkTypeSource.h>
#include <sitconv/SituationConverter.h>

#include "FileConversion.h"
#ifdef SITPLOT_HAVE_LEGACY_CONVERTER
#include "legacy/LegacySituationConverter.h"
#endif

#include <benchmark/benchmark.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>
#include <tinyxml.h>

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <vector>
#include <unistd.h>

namespace {

// No library is open in the program's runs, so every answer is 0.
class NoLibrary : public HQ::MarkTypeSource {
public:
    void beginDocument() override {}
    int markType(int, int) override { return 0; }
};

const char* const kUnitNames[] = {"机步一营",   "装甲旅", "炮兵群", "侦察分队",
                                  "Recon Team", "工兵连", "HQ-2",   "防空营"};
const char* const kDisplayTypes[] = {"STAND_PIXEL", "LIE_NOPIXEL", "SCREEN_HALFPIXEL", "NEARGROUNG",
                                     "LIE_PIXEL"};
const char* const kFamilies[] = {"黑体", "宋体", "Arial", ""};

// A situation document with the given number of symbols: groups of 10
// layers of 500 symbols, points in a 2-degree box, a quarter of the symbols
// with dashed lines, inner texts, drag lines or child settings; 50 action
// groups of 20 actions.
std::string generateDocument(int symbols) {
    std::mt19937 rng(20240601u + static_cast<unsigned>(symbols));
    std::uniform_real_distribution<double> lon(116.0, 118.0), lat(39.0, 41.0), angle(0.0, 360.0);
    std::ostringstream x;
    x.precision(8);
    x << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<SITSYMBOLFILE>\n<LAYGROUPS>\n";
    const int perLayer = 500, layersPerGroup = 10;
    int guid = 1;
    for (int placed = 0, group = 0; placed < symbols; ++group) {
        x << "<LayerGroup Describe=\"第" << group << "梯队\" Visible=\"TRUE\" Name=\"红方-" << group
          << "\">\n<LAYERS>\n";
        for (int layer = 0; layer < layersPerGroup && placed < symbols; ++layer) {
            x << "<Layer Name=\"图层" << layer << "\" Describe=\"部署\" Visible=\"TRUE\""
              << (layer == 0 ? " IsLayerActive=\"TRUE\"" : "") << ">\n<SYMBOLS>\n";
            for (int i = 0; i < perLayer && placed < symbols; ++i, ++placed, ++guid) {
                const int kind = guid % 4;
                const int points = 1 + guid % 5;
                x << "<Symbol Guid=\"" << guid << "\" Code=\"" << (10 + guid % 30) << "," << (guid % 400)
                  << "\" CanSelected=\"TRUE\" OperType=\"EDIT\" Name=\"" << kUnitNames[guid % 8] << guid
                  << "\" IsSetGenAttr=\"TRUE\" Visible=\"TRUE\" DisplayType=\"" << kDisplayTypes[guid % 5]
                  << "\">\n"
                  << "<GeoAttr><POINTS Count=\"" << points << "\">";
                for (int p = 0; p < points; ++p) {
                    x << "<Point X=\"" << lon(rng) << "\" Y=\"" << lat(rng) << "\" Z=\"" << (guid % 7) * 10
                      << "\"/>";
                }
                x << "</POINTS><GeoAttribute HeightType=\"1\" Scale=\"1.25\" FloatHeight3D=\"0\" "
                     "Thickness3D=\"0\" "
                     "WallTransparent=\"80\" Rotate=\""
                  << angle(rng) << "\"/></GeoAttr>\n"
                  << "<StyleAttr DisplayType=\"1\" LineType=\"" << (kind == 1 ? 2 : 1)
                  << "\" DashLineLength=\"8\" DashLineInterval=\"4\"><MainLine Color=\"4278190335\" "
                     "Width=\"2\"/>"
                     "<SurroundLine Type=\"0\" Color=\"4294967295\" Width=\"1\"/><Fill Color=\"4278190208\" "
                     "Mode=\"1\"/></StyleAttr>\n"
                  << "<AnnoTextAttr Text=\"" << kUnitNames[(guid + 3) % 8]
                  << "\" Visible=\"TRUE\"><AnnoFont Family=\"" << kFamilies[guid % 4]
                  << "\" Width=\"12\" Height=\"12\"/><AnnoFontEffect Italic=\"FALSE\" Bold=\"TRUE\"/>"
                     "<AnnoColor Back=\"0\" Text=\"4278190335\"/><AnnoPosType "
                     "PosType=\"2\"/></AnnoTextAttr>\n";
                if (kind == 2) {
                    x << "<InnerTextAttr><InnerText Index=\"0\" Text=\"一营\"/><InnerFont Index=\"0\" "
                         "Family=\"黑体\"/>"
                         "<InnerColor Index=\"0\" Back=\"0\" Text=\"255\"/></InnerTextAttr>\n";
                }
                if (kind == 3) {
                    x << "<DotDragLine DragLineVisble=\"TRUE\"><DotDragLinePoint X=\"" << lon(rng)
                      << "\" Y=\"" << lat(rng) << "\" Z=\"0\"/></DotDragLine>\n"
                      << "<ChildSymbols><ChildSymbol SubSymbolHMirroring=\"0\" SubSymbolVMirroring=\"1\" "
                         "SubSymbolRotate=\"15\"/></ChildSymbols>\n";
                }
                x << "<ShowRang Min=\"160\" Max=\"16000000\"/></Symbol>\n";
            }
            x << "</SYMBOLS>\n</Layer>\n";
        }
        x << "</LAYERS>\n</LayerGroup>\n";
    }
    x << "</LAYGROUPS>\n<ACTIONGROUPS>\n";
    for (int g = 0; g < 50; ++g) {
        x << "<ActionGroup GroupIndex=\"" << g << "\">";
        for (int a = 0; a < 20; ++a) {
            const int type = (a % 4 == 0) ? 1 : (a % 4 == 1) ? 2 : (a % 4 == 2) ? 8 : 9;
            x << "<Action ActionGuid=\"" << g * 20 + a << "\" SymbolGuid=\"" << 1 + (g * 20 + a) % symbols
              << "\"><ActionAttr Type=\"" << type << "\" StartTime=\"" << a * 10
              << "\" DurationTime=\"60\" IsPlayEndReset=\"TRUE\">"
              << "<ActionBlinkInterval BlinkInterval=\"500\"/><ActionRotateType RotateType=\"1\"/>"
                 "<ActionRouteBindGuid RouteBindGuid=\"7\"/><ActionRotateRoute RotateCorrect=\"90\"/>"
                 "<ActionMoveInfo MoveType=\"1\" Latitude=\"39.9\" Longitude=\"116.4\" Heading=\"90\" "
                 "Tilt=\"0\" "
                 "Altitude=\"1500\"/></ActionAttr></Action>";
        }
        x << "</ActionGroup>\n";
    }
    x << "</ACTIONGROUPS>\n</SITSYMBOLFILE>\n";
    return x.str();
}

// Documents and their converted JSON, built once per size.
struct Fixture {
    std::string xml;
    std::string inputPath, outputPath;
    std::string json;  // the converter's output
    ~Fixture() {
        if (!inputPath.empty()) std::remove(inputPath.c_str());
        if (!outputPath.empty()) std::remove(outputPath.c_str());
    }
};

Fixture& fixture(int symbols) {
    static std::map<int, Fixture> cache;
    auto found = cache.find(symbols);
    if (found != cache.end()) return found->second;
    Fixture& f = cache[symbols];
    f.xml = generateDocument(symbols);
    const std::string base =
        "/tmp/sitconv_bench_" + std::to_string(::getpid()) + "_" + std::to_string(symbols);
    f.inputPath = base + "_in.xml";
    f.outputPath = base + "_out.xml";
    std::ofstream(f.inputPath, std::ios::binary) << f.xml;
    NoLibrary marks;
    std::ostringstream errors;
    HQ::SituationConverter converter(marks, errors);
    converter.convertLayers(f.outputPath, f.xml);
    converter.convertActionGroups(f.inputPath, f.outputPath);
    std::ifstream in(f.outputPath, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    f.json = s.str();
    return f;
}

double processSeconds() {
    timespec t;
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Bare cost per size (processor time, best of three, as the benchmark
// counters use processor time), measured once, for the ratio counter.
double bareSeconds(const Fixture& f) {
    rapidjson::Document doc;
    doc.Parse(f.json.c_str());
    double best = 1e30;
    for (int round = 0; round < 3; ++round) {
        const double start = processSeconds();
        {
            TiXmlDocument xml;
            xml.Parse(f.xml.c_str(), nullptr, TIXML_ENCODING_UNKNOWN);
        }
        rapidjson::StringBuffer out;
        rapidjson::Writer<rapidjson::StringBuffer> writer(out);
        doc.Accept(writer);
        benchmark::DoNotOptimize(out.GetString());
        best = std::min(best, processSeconds() - start);
    }
    return best;
}

template <class Convert>
void convertFiles(benchmark::State& state, Convert convert) {
    Fixture& f = fixture(static_cast<int>(state.range(0)));
    NoLibrary marks;
    HQ::FileTask task;
    task.input = f.inputPath;
    task.jsonOutput = f.outputPath;
    HQ::ConversionSettings settings;
    settings.outputFolder = "/tmp";
    settings.formats = HQ::kJsonOutput;
    for (auto _ : state) {
        HQ::FileResult r = convert(task, settings, marks);
        std::remove(r.jsonTemporary.c_str());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(f.xml.size()));
    state.counters["xml_MB"] = static_cast<double>(f.xml.size()) / 1e6;
    state.counters["json_MB"] = static_cast<double>(f.json.size()) / 1e6;
    // (processor time per conversion) / (bare parse + write time)
    state.counters["vs_parse_write"] = benchmark::Counter(
        bareSeconds(f), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// The program's conversion of one file: one read, one parse, the JSON
// streamed to the output.
void BM_Convert(benchmark::State& state) { convertFiles(state, HQ::convertFile); }

#ifdef SITPLOT_HAVE_LEGACY_CONVERTER
// The former conversion: stage 1 writes the layer tree, stage 2 reads the
// input and the output again and rewrites the output.
void BM_ConvertTwoStage(benchmark::State& state) { convertFiles(state, HQ::legacy::convertFile); }
#endif

// 2,000 small documents (one layer, two symbols): the cost per file beyond
// the content, opening, reading, parsing and writing.
struct SmallFiles {
    std::vector<std::string> paths;
    std::uint64_t bytes = 0;
    SmallFiles() {
        for (int i = 0; i < 2000; ++i) {
            std::ostringstream x;
            x << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<SITSYMBOLFILE><LAYGROUPS><LayerGroup "
                 "Describe=\"\" Visible=\"TRUE\" Name=\"g\"><LAYERS><Layer Name=\"l\" Describe=\"\" "
                 "Visible=\"TRUE\"><SYMBOLS>";
            for (int s = 0; s < 2; ++s) {
                x << "<Symbol Guid=\"" << i * 2 + s
                  << "\" Code=\"10,5\" Name=\"n\"><GeoAttr><POINTS><Point X=\"" << 116.0 + i * 1e-4
                  << "\" Y=\"39.5\" Z=\"0\"/></POINTS></GeoAttr></Symbol>";
            }
            x << "</SYMBOLS></Layer></LAYERS></LayerGroup></LAYGROUPS></SITSYMBOLFILE>\n";
            const std::string path =
                "/tmp/sitconv_bench_small_" + std::to_string(::getpid()) + "_" + std::to_string(i);
            std::ofstream(path, std::ios::binary) << x.str();
            bytes += x.str().size();
            paths.push_back(path);
        }
    }
    ~SmallFiles() {
        for (const std::string& p : paths) std::remove(p.c_str());
    }
};

template <class Convert>
void convertSmallFiles(benchmark::State& state, Convert convert) {
    static SmallFiles files;
    NoLibrary marks;
    HQ::ConversionSettings settings;
    settings.outputFolder = "/tmp";
    settings.formats = HQ::kJsonOutput;
    HQ::FileTask task;
    for (auto _ : state) {
        for (const std::string& path : files.paths) {
            task.input = path;
            task.jsonOutput = path + ".json";
            HQ::FileResult r = convert(task, settings, marks);
            std::remove(r.jsonTemporary.c_str());
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(files.bytes));
    state.counters["per_file_us"] =
        benchmark::Counter(static_cast<double>(files.paths.size()) * 1e-6,
                           benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_SmallFiles(benchmark::State& state) { convertSmallFiles(state, HQ::convertFile); }
BENCHMARK(BM_SmallFiles)->Unit(benchmark::kMillisecond);
#ifdef SITPLOT_HAVE_LEGACY_CONVERTER
void BM_SmallFilesTwoStage(benchmark::State& state) { convertSmallFiles(state, HQ::legacy::convertFile); }
BENCHMARK(BM_SmallFilesTwoStage)->Unit(benchmark::kMillisecond);
#endif

void BM_TinyXmlParse(benchmark::State& state) {
    Fixture& f = fixture(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        TiXmlDocument xml;
        xml.Parse(f.xml.c_str(), nullptr, TIXML_ENCODING_UNKNOWN);
        benchmark::DoNotOptimize(xml.RootElement());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(f.xml.size()));
}

void BM_RapidJsonWrite(benchmark::State& state) {
    Fixture& f = fixture(static_cast<int>(state.range(0)));
    rapidjson::Document doc;
    doc.Parse(f.json.c_str());
    for (auto _ : state) {
        rapidjson::StringBuffer out;
        rapidjson::Writer<rapidjson::StringBuffer> writer(out);
        doc.Accept(writer);
        benchmark::DoNotOptimize(out.GetString());
    }
    // Same unit as the others: bytes of the XML that this JSON came from.
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(f.xml.size()));
}

// Sizes in placed symbols; throughput should stay flat across them.
void Sizes(benchmark::internal::Benchmark* b) {
    b->Arg(10000)->Arg(30000)->Arg(100000)->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_Convert)->Apply(Sizes);
#ifdef SITPLOT_HAVE_LEGACY_CONVERTER
BENCHMARK(BM_ConvertTwoStage)->Apply(Sizes);
#endif
BENCHMARK(BM_TinyXmlParse)->Apply(Sizes);
BENCHMARK(BM_RapidJsonWrite)->Apply(Sizes);

}  // namespace

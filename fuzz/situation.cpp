// Feeds arbitrary text to both conversion stages: the layer tree (stage 1)
// and the action groups read back from its output (stage 2). Both must end
// without a crash or sanitizer report, and the output must stay a JSON
// document.
#include <sitconv/MarkTypeSource.h>
#include <sitconv/SituationConverter.h>

#include <rapidjson/document.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

// Alternates the answer so that both branches of every mark-type condition run.
class AlternatingMarks : public HQ::MarkTypeSource {
public:
    void beginDocument() override {}
    int markType(int libId, int code) override { return (libId ^ code) & 1; }
};

const std::string& scratch(const char* suffix) {
    static const std::string base = "/tmp/fuzz_situation_" + std::to_string(::getpid());
    static std::string in = base + "_in.xml", out = base + "_out.xml";
    return suffix[0] == 'i' ? in : out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string& input = scratch("in");
    const std::string& output = scratch("out");
    std::ofstream(input, std::ios::binary) << text;

    AlternatingMarks marks;
    std::ostringstream errors;
    HQ::SituationConverter converter(marks, errors);
    converter.convertLayers(output, text.c_str());  // the driver reads text, which ends at a NUL
    converter.convertActionGroups(input, output);

    std::ifstream in(output, std::ios::binary);
    std::ostringstream written;
    written << in.rdbuf();
    rapidjson::Document doc;
    doc.Parse(written.str().c_str());
    if (doc.HasParseError() || !doc.IsObject() || !doc.HasMember("SITSYMBOLFILE") || !doc.HasMember("ACTIONGROUPS")) {
        std::abort();  // the output must always be a complete document
    }
    return 0;
}

// SPDX-License-Identifier: Apache-2.0
// Feeds arbitrary text to both conversion stages: the layer tree (stage 1)
// and the action groups read back from its output (stage 2). Both must end
// without a crash or sanitizer report, and the output must stay a JSON
// document.
#include <sitconv/MarkTypeSource.h>
#include <sitconv/SituationConverter.h>

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

// The converter reads and writes files: two scratch files per process,
// removed when the process ends.
struct ScratchFiles {
    const std::string base = "/tmp/fuzz_situation_" + std::to_string(::getpid());
    const std::string in = base + "_in.xml", out = base + "_out.xml";
    ~ScratchFiles() {
        std::remove(in.c_str());
        std::remove(out.c_str());
    }
};

const std::string& scratch(const char* suffix) {
    static const ScratchFiles files;
    return suffix[0] == 'i' ? files.in : files.out;
}

// A light structural check of the written text (RapidJSON itself is not
// used here: its 1.1 stack does arithmetic on a null pointer, which the
// undefined-behaviour sanitizer of this target would stop at): one object
// holding both top-level members, brackets balanced outside strings, strings
// closed, and one line feed at the end.
bool looksComplete(const std::string& json) {
    const std::string head = "{\"SITSYMBOLFILE\":";
    if (json.compare(0, head.size(), head) != 0) return false;
    if (json.find(",\"ACTIONGROUPS\":{\"ActionGroupCount\":") == std::string::npos) return false;
    if (json.size() < 2 || json.compare(json.size() - 2, 2, "}\n") != 0) return false;
    int depth = 0;
    bool inString = false, escaped = false;
    for (size_t i = 0; i + 1 < json.size(); ++i) {
        const char c = json[i];
        if (inString) {
            if (escaped) {
                escaped = false;
            } else if (c == '\\') {
                escaped = true;
            } else if (c == '"') {
                inString = false;
            } else if (static_cast<unsigned char>(c) < 0x20) {
                return false;
            }
            continue;
        }
        if (c == '"') inString = true;
        if (c == '{' || c == '[') ++depth;
        if (c == '}' || c == ']') --depth;
        if (depth < 0 || (depth == 0 && i + 2 != json.size())) return false;
    }
    return !inString && depth == 0;
}

}  // namespace

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
    if (!looksComplete(written.str())) std::abort();  // the output must always be a complete document
    return 0;
}

// SPDX-License-Identifier: Apache-2.0
// Shared helpers of the converter tests: a scriptable mark-type source,
// temporary folders and whole-file reads and writes.
#ifndef SITCONV_TESTS_SUPPORT_H
#define SITCONV_TESTS_SUPPORT_H

#include <sitconv/MarkTypeSource.h>
#include <sitconv/SituationConverter.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <unistd.h>

namespace sitconv_test {

// Answers a fixed mark type and records every question.
class FakeMarks : public HQ::MarkTypeSource {
public:
    explicit FakeMarks(int answer = 0) : answer(answer) {}
    void beginDocument() override { ++documents; }
    int markType(int libId, int code) override {
        questions.emplace_back(libId, code);
        return answer;
    }
    int answer;
    int documents = 0;
    std::vector<std::pair<int, int>> questions;
};

// A fresh folder below the system's temporary folder, removed at the end.
class TempDir {
public:
    TempDir() {
        char pattern[] = "/tmp/sitconv_test_XXXXXX";
        const char* made = ::mkdtemp(pattern);
        m_path = made != nullptr ? made : "";
    }
    ~TempDir() {
        if (!m_path.empty())
            std::system(("chmod -R u+rwx '" + m_path + "' 2>/dev/null; rm -rf '" + m_path + "'").c_str());
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return m_path; }
    std::string operator/(const std::string& rel) const { return m_path + "/" + rel; }

private:
    std::string m_path;
};

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline bool fileExists(const std::string& path) { return std::ifstream(path).good(); }

// Writes content, creating the parent folders.
inline void writeFile(const std::string& path, const std::string& content) {
    const size_t slash = path.rfind('/');
    if (slash != std::string::npos) std::system(("mkdir -p '" + path.substr(0, slash) + "'").c_str());
    std::ofstream(path, std::ios::binary) << content;
}

// Converts one document (both stages) through files in dir; answers the
// final output text.
inline std::string convertDocument(HQ::SituationConverter& converter, const TempDir& dir,
                                   const std::string& xml) {
    const std::string input = dir / "in.xml";
    const std::string output = dir / "out.xml";
    writeFile(input, xml);
    converter.convertLayers(output, xml);
    converter.convertActionGroups(input, output);
    return readFile(output);
}

// The final output of one document with a mark source answering markType.
inline std::string convert(const std::string& xml, int markType = 0, std::string* errors = nullptr) {
    FakeMarks marks(markType);
    std::ostringstream err;
    HQ::SituationConverter converter(marks, err);
    TempDir dir;
    const std::string out = convertDocument(converter, dir, xml);
    if (errors != nullptr) *errors = err.str();
    return out;
}

// A minimal document holding the given "Symbol" elements on one layer.
inline std::string documentWithSymbols(const std::string& symbols) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<SITSYMBOLFILE><LAYGROUPS>"
           "<LayerGroup Describe=\"\" Visible=\"TRUE\" Name=\"g\"><LAYERS>"
           "<Layer Name=\"l\" Describe=\"\" Visible=\"TRUE\"><SYMBOLS>" +
           symbols + "</SYMBOLS></Layer></LAYERS></LayerGroup></LAYGROUPS></SITSYMBOLFILE>\n";
}

}  // namespace sitconv_test

#endif

// SPDX-License-Identifier: Apache-2.0
// TextFile: a C stream with the converter's line-reading rules.
#include <sitconv/TextFile.h>

#include <cstring>

namespace HQ {

namespace {
const char* const kModeTexts[] = {"r", "w+", "a+", "rb", "wb+", "ab+"};
const int kModeCount = sizeof(kModeTexts) / sizeof(kModeTexts[0]);
}  // namespace

TextFile::~TextFile() { closeFile(); }

bool TextFile::openFile(const std::string& path, int mode) {
    closeFile();
    if (mode < 0 || mode >= kModeCount) return false;
    m_stream = std::fopen(path.c_str(), kModeTexts[mode]);
    if (m_stream == nullptr) return false;
    m_path = path;
    return true;
}

int TextFile::readLine(std::string& text) {
    if (m_stream == nullptr) return 0;
    char buffer[kMaxLinePiece + 1];
    if (std::fgets(buffer, sizeof(buffer), m_stream) == nullptr) return 0;
    const size_t n = std::strlen(buffer);
    text.assign(buffer, n);
    return static_cast<int>(n);
}

int TextFile::writeLine(const std::string& text) {
    if (m_stream == nullptr) return 0;
    const int n = std::fprintf(m_stream, "%s\n", text.c_str());
    return n < 0 ? 0 : n;
}

bool TextFile::atEnd() const { return m_stream != nullptr && std::feof(m_stream) != 0; }

bool TextFile::failed() const { return m_stream != nullptr && std::ferror(m_stream) != 0; }

bool TextFile::readAll(std::string& text) {
    if (m_stream == nullptr) return false;
    std::string piece;
    while (!atEnd()) {
        // A failing stream never reaches its end: stop instead of appending
        // the previous piece again and again.
        if (readLine(piece) == 0) {
            if (failed()) return false;
            continue;  // end of file reached (or a piece starting with NUL)
        }
        text += piece;
    }
    return !failed();
}

bool TextFile::closeFile() {
    if (m_stream == nullptr) return false;
    const bool ok = std::fclose(m_stream) == 0;
    m_stream = nullptr;
    return ok;
}

bool TextFile::fileExists(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) return false;
    std::fclose(f);
    return true;
}

}  // namespace HQ

// SPDX-License-Identifier: Apache-2.0
// TextFile: owner of one C stream and its path. Creating it opens nothing;
// destroying it closes the stream. Not copyable.
#ifndef SITCONV_TEXTFILE_H
#define SITCONV_TEXTFILE_H

#include <cstdio>
#include <string>

namespace HQ {

class TextFile {
public:
    // Open modes and their C mode texts.
    enum Mode { kRead = 0, kWrite = 1, kAppend = 2, kReadBinary = 3, kWriteBinary = 4, kAppendBinary = 5 };
    // Longest piece readLine returns, in bytes (the C buffer holds one more
    // for the terminating NUL).
    static constexpr int kMaxLinePiece = 4095;

    TextFile() = default;
    ~TextFile();
    TextFile(const TextFile&) = delete;
    TextFile& operator=(const TextFile&) = delete;

    // Opens path with the C mode text of mode ("r", "w+", "a+", "rb", "wb+",
    // "ab+"); an open stream is closed first. On success keeps the path and
    // answers true; on failure (also for an unknown mode) the stream stays
    // absent and the answer is false.
    bool openFile(const std::string& path, int mode);
    // Reads at most kMaxLinePiece bytes up to and including the next line
    // feed into text (replacing it) and answers the length read (bytes after
    // a NUL in the piece are not counted). Answers 0 and leaves text as it was
    // when the stream is absent, at its end or failing.
    int readLine(std::string& text);
    // Writes text and one line feed; answers the count written, 0 when the
    // stream is absent or the write failed.
    int writeLine(const std::string& text);
    // True when the stream is open and its end-of-file indicator is set.
    bool atEnd() const;
    // True when the stream is open and its error indicator is set.
    bool failed() const;
    // Reads pieces with readLine until atEnd, appending them to text. False
    // (text holding what was read) when the stream is absent or fails before
    // its end.
    bool readAll(std::string& text);
    // Closes the stream if open; false when there was none or closing
    // reported an error (for a written file: data may be lost).
    bool closeFile();
    const std::string& path() const { return m_path; }

    // True when path can be opened for reading in mode "rb"; the stream is
    // closed again at once.
    static bool fileExists(const std::string& path);

private:
    std::FILE* m_stream = nullptr;
    std::string m_path;
};

}  // namespace HQ

#endif

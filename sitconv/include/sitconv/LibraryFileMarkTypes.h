// SPDX-License-Identifier: Apache-2.0
// LibraryFileMarkTypes: the mark-type source of a run given a symbol library
// file. The library is opened once, through the process-wide manager (SQLite
// engine, keyed file, read-only), and stays open for every document of the
// run: a document's start asks nothing of the manager here, where the
// default source initialises it again (which would drop the opened engine).
// The questions and the meaning of the answers are those of
// LibraryMarkTypes.
#ifndef SITCONV_LIBRARYFILEMARKTYPES_H
#define SITCONV_LIBRARYFILEMARKTYPES_H

#include <sitconv/MarkTypeSource.h>

#include <string>

namespace HQ {

class LibraryFileMarkTypes : public MarkTypeSource {
public:
    LibraryFileMarkTypes() = default;
    // Closes the library and releases the manager when one was opened.
    ~LibraryFileMarkTypes() override;
    LibraryFileMarkTypes(const LibraryFileMarkTypes&) = delete;
    LibraryFileMarkTypes& operator=(const LibraryFileMarkTypes&) = delete;

    // Opens path; false when it is not a readable library under the key (the
    // manager is then released again).
    bool open(const std::string& path);
    bool isOpen() const { return m_open; }

    void beginDocument() override {}
    int markType(int libId, int code) override;

private:
    bool m_open = false;
};

}  // namespace HQ

#endif

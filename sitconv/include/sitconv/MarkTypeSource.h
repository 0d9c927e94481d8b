// SPDX-License-Identifier: Apache-2.0
// MarkTypeSource: where the converter learns whether a library symbol is of
// mark type 1. The converter asks beginDocument once at the start of every
// document and markType for avoid points and for the optional JSON groups;
// only zero versus non-zero matters.
#ifndef SITCONV_MARKTYPESOURCE_H
#define SITCONV_MARKTYPESOURCE_H

namespace HQ {

class MarkTypeSource {
public:
    virtual ~MarkTypeSource() = default;
    virtual void beginDocument() = 0;
    virtual int markType(int libId, int code) = 0;
};

// The program's source: the process-wide symbol library manager. A document
// begins with init(0) (SQLite engine); no database is set or opened, so
// every answer is 0. The identifiers are passed on as unsigned 32-bit.
class LibraryMarkTypes : public MarkTypeSource {
public:
    void beginDocument() override;
    int markType(int libId, int code) override;
};

}  // namespace HQ

#endif

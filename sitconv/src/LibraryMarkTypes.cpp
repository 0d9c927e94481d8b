// SPDX-License-Identifier: Apache-2.0
// The program's mark-type source: the process-wide symbol library manager.
#include <sitconv/MarkTypeSource.h>

#include <markstore/SymbolLibManager.h>

namespace HQ {

namespace {
// Engine selected for every document: the SQLite file engine.
const int kSqliteEngine = 0;
}  // namespace

void LibraryMarkTypes::beginDocument() { SymbolLibManagerFactory::GetInstance()->init(kSqliteEngine); }

int LibraryMarkTypes::markType(int libId, int code) {
    return SymbolLibManagerFactory::GetInstance()->getMarkType(static_cast<unsigned int>(libId),
                                                               static_cast<unsigned int>(code));
}

}  // namespace HQ

// SPDX-License-Identifier: Apache-2.0
// ParseMarkData: reads the mark data text of a mark row (a JSON array with
// one object per drawing unit; comments are accepted) into units and adds
// them to a symbol, in array order.
//
// Only three unit kinds are read, selected by the member "Style": 1 (line),
// 7 (text) and 13 (text box); elements of any other Style are skipped. Each
// unit made is initialised (Init) and added to the symbol, which takes
// ownership. Members that are missing, or of a JSON type that cannot be read
// as demanded, read as 0, false, the empty string or an empty array.
// Elements that are not objects are skipped, as is a root that is not an
// array; text that is not JSON adds nothing. The symbol's attributes are
// never touched.
#ifndef MARKSTORE_MARKDATA_H
#define MARKSTORE_MARKDATA_H

#include <markstore/MarkstoreExport.h>
#include <markstore/Symbol.h>

namespace HQ {

// symbol: the symbol to fill (null: nothing happens). text: the data text,
// NUL-terminated (null: nothing happens). The third argument is not used.
// Always answers true; never throws.
MARKSTORE_API bool ParseMarkData(CHQGS_Symbol* symbol, const char* text, int unused);

}  // namespace HQ

#endif

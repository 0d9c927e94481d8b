// SPDX-License-Identifier: Apache-2.0
// The JSON of one placed symbol and of one action group, written to either
// JSON target (JsonStream: the converted file; JsonTree: a RapidJSON value).
// The member order and the one-object arrays are what the readers of
// converted files expect.
#ifndef SITCONV_SYMBOLJSON_H
#define SITCONV_SYMBOLJSON_H

#include <sitconv/MarkTypeSource.h>
#include <sitconv/SituationSymbol.h>
#include <sitconv/SymbolAction.h>

namespace HQ {

// Writes the object of symbol s (and, for a combination symbol, its
// children's objects). The library is asked about s four times, once for
// each group that depends on its mark type, before anything is written.
template <class Out>
void writeSymbolJson(Out& out, const SituationSymbol& s, MarkTypeSource& marks);

// Writes the object of one action group; groupIndex is every action's
// "GroupIndex".
template <class Out>
void writeActionGroupJson(Out& out, int groupIndex, const ActionGroup& group);

}  // namespace HQ

#endif

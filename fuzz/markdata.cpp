// SPDX-License-Identifier: Apache-2.0
// libFuzzer target: arbitrary bytes as a mark data text. The reader must
// never crash, throw or leak, whatever the text; the units it makes are then
// copied and sampled to exercise their ownership.
#include <markstore/MarkData.h>
#include <markstore/Symbol.h>

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The reader takes a NUL-terminated text, as the database columns give it.
    const std::string text(reinterpret_cast<const char*>(data), size);
    HQ::CHQGS_Symbol symbol(new HQ::CHQGS_SymbolCommAttr());
    HQ::ParseMarkData(&symbol, text.c_str(), 0);
    HQ::CHQGS_Symbol copy(symbol);
    for (HQ::CHQGS_SymbolUnit* unit : copy.GetUnits()) {
        if (unit == nullptr) continue;
        (void)unit->GetOriPts();
        (void)unit->GetPainterPath()->PointAtPercent(0.5);
    }
    return 0;
}

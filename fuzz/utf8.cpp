// SPDX-License-Identifier: Apache-2.0
// Fuzzes the UTF-8 decoder and encoder: any byte string decodes without
// fault into at most as many UTF-16 units as it has bytes; encoding the
// result again and decoding that once more gives the same units.
#include <geomkit/UtilityFunctions.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

using U = HQ::CHQGS_UtilityFunctions;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string in(reinterpret_cast<const char*>(data), size);
    const std::wstring wide = U::UTF8ToUnicode(in);
    if (wide.size() > in.size()) std::abort();

    const std::string utf8 = U::UnicodeToUTF8(wide);
    // The decoder emits only valid UTF-16 (a U+0000 ends the encoding), so
    // the re-encoded text is valid UTF-8 and decodes back to the same units
    // up to the first U+0000.
    const std::wstring prefix = wide.substr(0, wide.find(L'\0'));
    // A leading U+FEFF that survived the decoder would be dropped the second
    // time round, so compare after it.
    const std::wstring again = U::UTF8ToUnicode(utf8);
    const bool leadingBom = !prefix.empty() && prefix[0] == 0xFEFF;
    if (leadingBom ? again != prefix.substr(1) : again != prefix) std::abort();
    if (U::UnicodeToUTF8(again) != (leadingBom ? utf8.substr(3) : utf8)) std::abort();

    // Wide input of arbitrary 16-bit units (lone surrogates included)
    // encodes to at most three bytes per unit.
    std::wstring units;
    for (std::size_t i = 0; i + 1 < size; i += 2)
        units.push_back(static_cast<wchar_t>(data[i] | data[i + 1] << 8));
    const std::string encoded = U::UnicodeToUTF8(units);
    if (encoded.size() > 3 * units.size()) std::abort();
    if (U::UTF8ToUnicode(encoded).size() > encoded.size()) std::abort();
    return 0;
}

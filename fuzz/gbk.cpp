// SPDX-License-Identifier: Apache-2.0
// The code-page conversions in both directions, under the GBK locale the
// fuzz runs use: ANSI (GBK) <-> UTF-8 and ANSI <-> UTF-16, and the locale
// text readers. A conversion either fails with an empty answer or gives a
// text that converts back to where it started (up to its first NUL).
#include <geomkit/UtilityFunctions.h>

#include "FuzzInput.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

using U = HQ::CHQGS_UtilityFunctions;

namespace {

void require(bool condition, const char* what) { FuzzRequire(condition, "gbk", what); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string in(reinterpret_cast<const char*>(data), size);
    const std::string ansi = in.substr(0, in.find('\0'));

    // ANSI -> UTF-16 -> ANSI.
    const std::wstring wide = U::ANSIToUnicode(in);
    if (!wide.empty()) require(U::UnicodeToANSI(wide) == ansi, "ANSI -> UTF-16 -> ANSI changes the text");

    // ANSI -> UTF-8 -> ANSI.
    const std::string utf8 = U::ANSIToUTF8(in);
    if (!utf8.empty()) require(U::UTF8ToANSI(utf8) == ansi, "ANSI -> UTF-8 -> ANSI changes the text");

    // UTF-8 -> ANSI -> UTF-8: the input read as UTF-8.
    const std::string back = U::UTF8ToANSI(in);
    if (!back.empty()) (void)U::ANSIToUTF8(back);

    // Arbitrary UTF-16 units (lone surrogates included) to ANSI.
    std::wstring units;
    for (std::size_t i = 0; i + 1 < size; i += 2)
        units.push_back(static_cast<wchar_t>(data[i] | data[i + 1] << 8));
    const std::string fromUnits = U::UnicodeToANSI(units);
    if (!fromUnits.empty()) (void)U::ANSIToUnicode(fromUnits);

    (void)U::String2WString(in);
    (void)U::QToStdWstring(in);
    return 0;
}

// SPDX-License-Identifier: Apache-2.0
// Glyph outlines from damaged font files: the input is a font file, loaded
// and read for a handful of characters (Latin, Greek, symbols, CJK, a lone
// surrogate, the unmapped U+FFFF), with and without the raise. A file that
// is not a font must answer false; a glyph that cannot be read may throw
// the documented runtime_error; every contour read must be closed (it ends
// with its start point) and finite.
#include <geomkit/UtilityText.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

struct Scratch {
    const std::string path = "/tmp/fuzz_glyph_" + std::to_string(::getpid()) + ".font";
    ~Scratch() { std::remove(path.c_str()); }
};

void check(const std::vector<std::vector<HQ::CHQ_Point2D>>& contours) {
    for (const std::vector<HQ::CHQ_Point2D>& c : contours) {
        for (const HQ::CHQ_Point2D& p : c)
            if (!std::isfinite(p.x) || !std::isfinite(p.y)) std::abort();
        if (c.size() >= 2 && (c.front().x != c.back().x || c.front().y != c.back().y)) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const Scratch scratch;
    {
        std::ofstream out(scratch.path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    HQ::CHQGS_UtilityText text;
    // The pixel size follows the file's length, so that sizes vary too.
    if (!text.Load(scratch.path.c_str(), 0, 8 + static_cast<int>(size % 120))) {
        if (!text.LoadChar(L'A').empty()) std::abort();  // no face: no contours
        return 0;
    }
    static const wchar_t kChars[] = {L'A',   L'g',   L'@',   L' ',   L'0',  0x3B1,
                                     0x2211, 0x4E2D, 0xD800, 0xFFFF, 0xF8E5};
    for (wchar_t ch : kChars) {
        for (bool raise : {false, true}) {
            try {
                check(text.LoadChar(ch, raise));
            } catch (const std::runtime_error&) {
                // A glyph the font library cannot read.
            }
        }
    }
    // Copies share the face and its cache.
    HQ::CHQGS_UtilityText copy(text);
    try {
        check(copy.LoadChar(L'A'));
    } catch (const std::runtime_error&) {
    }
    return 0;
}

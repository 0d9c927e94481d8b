// SPDX-License-Identifier: Apache-2.0
// The per-face glyph cache: a repeated character answers exactly what the
// first read answered, and a new Load never answers contours of the font or
// size loaded before.
#include <geomkit/UtilityText.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

using namespace HQ;

namespace {

using Contours = std::vector<std::vector<CHQ_Point2D>>;

const char* const kDejaVu = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
const char* const kNimbus = "/usr/share/fonts/opentype/urw-base35/NimbusSans-Regular.otf";

bool Same(const Contours& a, const Contours& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t k = 0; k < a.size(); ++k) {
        if (a[k].size() != b[k].size()) return false;
        for (std::size_t i = 0; i < a[k].size(); ++i)
            if (a[k][i].x != b[k][i].x || a[k][i].y != b[k][i].y) return false;
    }
    return true;
}

bool Exists(const char* path) {
    std::FILE* f = std::fopen(path, "rb");
    if (f != nullptr) std::fclose(f);
    return f != nullptr;
}

}  // namespace

TEST(TextOutlineCache, RepeatedCharactersAnswerTheFirstRead) {
    CHQGS_UtilityText text;
    ASSERT_TRUE(text.Load(kDejaVu, 64, 64));
    const wchar_t chars[] = {L'O', L'g', L'L', L' ', 0x4E2D /* not in the font: missing glyph */};
    for (wchar_t ch : chars) {
        SCOPED_TRACE(static_cast<int>(ch));
        for (bool raise : {false, true}) {
            // A fresh object on the same file reads without any cache.
            CHQGS_UtilityText fresh;
            ASSERT_TRUE(fresh.Load(kDejaVu, 64, 64));
            const Contours want = fresh.LoadChar(ch, raise);
            const Contours first = text.LoadChar(ch, raise);
            const Contours again = text.LoadChar(ch, raise);
            EXPECT_TRUE(Same(first, want));
            EXPECT_TRUE(Same(again, want));
        }
    }
    // raise is part of the key: the raised outline differs.
    EXPECT_FALSE(Same(text.LoadChar(L'O', true), text.LoadChar(L'O', false)));
    // Copies share the face and its cache and answer the same.
    CHQGS_UtilityText copy(text);
    EXPECT_TRUE(Same(copy.LoadChar(L'g'), text.LoadChar(L'g')));
}

TEST(TextOutlineCache, LoadStartsOver) {
    struct Case {
        const char* font;
        int size;
    } cases[] = {{kDejaVu, 32}, {kNimbus, 64}, {kDejaVu, 64}};
    CHQGS_UtilityText text;
    ASSERT_TRUE(text.Load(kDejaVu, 64, 64));
    Contours before = text.LoadChar(L'O');
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.font << " " << c.size);
        if (!Exists(c.font)) continue;
        ASSERT_TRUE(text.Load(c.font, c.size, c.size));
        CHQGS_UtilityText fresh;
        ASSERT_TRUE(fresh.Load(c.font, c.size, c.size));
        const Contours got = text.LoadChar(L'O');
        EXPECT_TRUE(Same(got, fresh.LoadChar(L'O')));
        before = got;
    }
    // A failed Load keeps the face and its cache.
    EXPECT_FALSE(text.Load("/nonexistent/font.ttf", 64, 64));
    EXPECT_TRUE(Same(text.LoadChar(L'O'), before));
}

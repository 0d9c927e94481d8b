// SPDX-License-Identifier: Apache-2.0
#include <geomkit/UtilityText.h>

#include <gtest/gtest.h>

#include "GeometryTestSupport.h"

#include <cmath>
#include <string>
#include <vector>

using namespace HQ;

namespace {

using Contours = std::vector<std::vector<CHQ_Point2D>>;

// Fonts of Debian packages installed with the build dependencies:
// quadratic outlines (TrueType) and cubic ones (CFF in OpenType, Type 1).
const char* const kDejaVu = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
const char* const kNimbusOtf = "/usr/share/fonts/opentype/urw-base35/NimbusSans-Regular.otf";
const char* const kNimbusT1 = "/usr/share/fonts/type1/urw-base35/NimbusSans-Regular.t1";

// Raw outline points as FreeType reports them for these fonts (26.6 values
// at a pixel size equal to the font's units per em, so one font unit is 64).
struct Raw {
    long x, y;
};

// DejaVu Sans "L" at 2048 pixels: one contour of six on-curve corners.
const Raw kDejaVuL[] = {{12864, 95552}, {25792, 95552}, {25792, 10880},
                        {72320, 10880}, {72320, 0},     {12864, 0}};
// Nimbus Sans "L" at 1000 pixels, the same in both file formats.
const Raw kNimbusL[] = {{11072, 46656}, {5120, 46656}, {5120, 0}, {34112, 0}, {34112, 5248}, {11072, 5248}};

CHQ_Point2D Mapped(const Raw& r) { return CHQ_Point2D(static_cast<double>(r.x), -static_cast<double>(r.y)); }

void ExpectPoint(const CHQ_Point2D& p, const CHQ_Point2D& want) {
    EXPECT_EQ(p.x, want.x);
    EXPECT_EQ(p.y, want.y);
}

bool Exists(const char* path) {
    std::FILE* f = std::fopen(path, "rb");
    if (f != nullptr) std::fclose(f);
    return f != nullptr;
}

using sitplot_test::Dist;

}  // namespace

TEST(TextOutline, StraightEdgedLettersGiveTheirCorners) {
    struct Case {
        const char* font;
        int size;
        const Raw* corners;
        std::size_t count;
    } cases[] = {
        {kDejaVu, 2048, kDejaVuL, 6},
        {kNimbusOtf, 1000, kNimbusL, 6},
        {kNimbusT1, 1000, kNimbusL, 6},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.font);
        if (!Exists(c.font)) GTEST_SKIP() << "font package not installed";
        CHQGS_UtilityText text;
        ASSERT_TRUE(text.Load(c.font, c.size, c.size));
        const Contours got = text.LoadChar(L'L');
        ASSERT_EQ(got.size(), 1u);
        // P0 .. P5 (straight edges give their start points, and the last
        // corner is the closing pen position), then the start P0 again.
        ASSERT_EQ(got[0].size(), c.count + 1);
        for (std::size_t i = 0; i < c.count; ++i) ExpectPoint(got[0][i], Mapped(c.corners[i]));
        ExpectPoint(got[0].back(), Mapped(c.corners[0]));
    }
}

TEST(TextOutline, CurvedLettersSampleEveryPieceThreeTimes) {
    // Point counts per contour follow from the outline: every curved piece
    // adds start, halfway point and end; the contour adds pen and start.
    struct Case {
        const char* font;
        int size;
        wchar_t ch;
        std::vector<std::size_t> counts;
    } cases[] = {
        // "O": per contour 8 quadratic pieces (two controls in a row imply an
        // on-curve point; the last control closes to the start).
        {kDejaVu, 2048, L'O', {26, 26}},
        // "D": two straight edges and 4 pieces, then pen and start; the
        // outer contour has three straight edges, one of them closing.
        {kDejaVu, 2048, L'D', {16, 16}},
        // "i": two rectangles.
        {kDejaVu, 2048, L'i', {5, 5}},
        // Cubic "O": 5 pieces outside, 4 inside, the last one ending at the start.
        {kNimbusOtf, 1000, L'O', {17, 14}},
        {kNimbusT1, 1000, L'O', {17, 14}},
        // A space has no outline.
        {kDejaVu, 2048, L' ', {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.font << " '" << static_cast<char>(c.ch) << "'");
        if (!Exists(c.font)) GTEST_SKIP() << "font package not installed";
        CHQGS_UtilityText text;
        ASSERT_TRUE(text.Load(c.font, c.size, c.size));
        const Contours got = text.LoadChar(c.ch);
        ASSERT_EQ(got.size(), c.counts.size());
        for (std::size_t k = 0; k < got.size(); ++k) {
            EXPECT_EQ(got[k].size(), c.counts[k]) << "contour " << k;
            // Every contour ends where it started.
            ExpectPoint(got[k].back(), got[k].front());
            // A polyline of the glyph: no jump longer than the glyph is big.
            for (std::size_t i = 1; i < got[k].size(); ++i)
                EXPECT_LT(Dist(got[k][i - 1], got[k][i]), 64.0 * c.size);
        }
    }
}

TEST(TextOutline, CurvePieceGivesStartHalfwayPointAndEnd) {
    // DejaVu "O", first contour: on-curve S = (51648, 86784), controls
    // (37568, 86784) and (20992, 65792), whose integer midpoint (29280,
    // 76288) is the implied on-curve end of the first piece.
    CHQGS_UtilityText text;
    ASSERT_TRUE(text.Load(kDejaVu, 2048, 2048));
    const Contours got = text.LoadChar(L'O');
    ASSERT_EQ(got.size(), 2u);
    ASSERT_GE(got[0].size(), 6u);
    const CHQ_Point2D s(51648, -86784), c(37568, -86784), m(29280, -76288);
    ExpectPoint(got[0][0], s);
    ExpectPoint(got[0][2], m);
    // The next piece starts where this one ended.
    ExpectPoint(got[0][3], m);
    // The middle sample lies on the curve, near its parametric middle.
    double best = 1e300, bestT = -1;
    for (int i = 0; i <= 20000; ++i) {
        const double t = i / 20000.0;
        const double u = 1 - t;
        const CHQ_Point2D q(u * u * s.x + 2 * u * t * c.x + t * t * m.x,
                            u * u * s.y + 2 * u * t * c.y + t * t * m.y);
        const double d = Dist(q, got[0][1]);
        if (d < best) {
            best = d;
            bestT = t;
        }
    }
    EXPECT_LT(best, 2.0);  // 2/64 pixel at most off the curve
    EXPECT_GT(bestT, 0.4);
    EXPECT_LT(bestT, 0.6);
    // The contour closes with the pen (back at the start after the last
    // control) and the start point again.
    const auto& k0 = got[0];
    ExpectPoint(k0[k0.size() - 2], s);
    ExpectPoint(k0[k0.size() - 1], s);
}

TEST(TextOutline, RaiseMovesByTheLineHeight) {
    struct Case {
        const char* font;
        int size;
        double lineHeight;  // size metrics height, 26.6
    } cases[] = {
        {kDejaVu, 2048, 2384 * 64.0},  // ascender 1901 + descender 483 font units
        {kNimbusOtf, 1000, 1200 * 64.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.font);
        if (!Exists(c.font)) GTEST_SKIP() << "font package not installed";
        CHQGS_UtilityText text;
        ASSERT_TRUE(text.Load(c.font, c.size, c.size));
        const Contours plain = text.LoadChar(L'L');
        const Contours same = text.LoadChar(L'L', false);
        const Contours raised = text.LoadChar(L'L', true);
        ASSERT_EQ(plain.size(), 1u);
        ASSERT_EQ(same.size(), 1u);
        ASSERT_EQ(raised.size(), 1u);
        ASSERT_EQ(raised[0].size(), plain[0].size());
        for (std::size_t i = 0; i < plain[0].size(); ++i) {
            ExpectPoint(same[0][i], plain[0][i]);
            EXPECT_EQ(raised[0][i].x, plain[0][i].x);
            // Moved down by h in font space, so up by h with y negated.
            EXPECT_EQ(raised[0][i].y, plain[0][i].y + c.lineHeight);
        }
    }
}

TEST(TextOutline, LoadAnswersFalseForWhatIsNotAFont) {
    const std::string notFont = std::string(SITPLOT_TESTDATA_DIR) + "/earcut/NOTICE";
    struct Case {
        const char* name;
        std::string path;
        int w, h;
    } cases[] = {
        {"missing file", "/nonexistent/font.ttf", 64, 64},
        {"text file", notFont, 64, 64},
        {"folder", "/usr/share/fonts", 64, 64},
        {"negative size", kDejaVu, -5, 64},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CHQGS_UtilityText text;
        EXPECT_FALSE(text.Load(c.path.c_str(), c.w, c.h));
        EXPECT_TRUE(text.LoadChar(L'L').empty());  // no face yet: no contours

        // A failed Load keeps the face loaded before.
        ASSERT_TRUE(text.Load(kDejaVu, 2048, 2048));
        EXPECT_FALSE(text.Load(c.path.c_str(), c.w, c.h));
        EXPECT_EQ(text.LoadChar(L'L').size(), 1u);
    }
    CHQGS_UtilityText text;
    EXPECT_FALSE(text.Load(nullptr, 64, 64));
}

TEST(TextOutline, FacesAreReplacedAndSharedSafely) {
    CHQGS_UtilityText first;
    ASSERT_TRUE(first.Load(kDejaVu, 2048, 2048));
    const Contours dejavu = first.LoadChar(L'L');
    ASSERT_EQ(dejavu.size(), 1u);
    {
        // The copy shares the face and outlives the original's next Load.
        CHQGS_UtilityText copy(first);
        ASSERT_TRUE(first.Load(kNimbusOtf, 1000, 1000));
        ExpectPoint(first.LoadChar(L'L')[0][0], Mapped(kNimbusL[0]));
        const Contours again = copy.LoadChar(L'L');
        ASSERT_EQ(again.size(), 1u);
        ExpectPoint(again[0][0], dejavu[0][0]);

        CHQGS_UtilityText assigned;
        assigned = copy;
        assigned = first;
        ExpectPoint(assigned.LoadChar(L'L')[0][0], Mapped(kNimbusL[0]));
    }
    // A width of 0 takes the height.
    CHQGS_UtilityText zeroWidth;
    ASSERT_TRUE(zeroWidth.Load(kDejaVu, 0, 2048));
    ExpectPoint(zeroWidth.LoadChar(L'L')[0][3], Mapped(kDejaVuL[3]));
    // A character the font does not map gives the missing-glyph shape.
    EXPECT_FALSE(zeroWidth.LoadChar(static_cast<wchar_t>(0x10FFFD)).empty());
}

TEST(TextOutline, FontFolderSetting) {
    const std::string saved = CHQGS_UtilityText::GetFontFolder();
    EXPECT_EQ(saved, "/usr/share/fonts/truetype");
    // An unknown font name maps to the default file name.
    EXPECT_EQ(CHQGS_UtilityText::FontFilePath("no such font"), "/usr/share/fonts/truetype/ARIALUNI.TTF");
    CHQGS_UtilityText::SetFontFolder("/opt/fonts");
    EXPECT_EQ(CHQGS_UtilityText::FontFilePath("no such font"), "/opt/fonts/ARIALUNI.TTF");
    CHQGS_UtilityText::SetFontFolder(saved);
}

TEST(TextOutline, ZeroLengthCurvePieceStaysInPlace) {
    // DejaVu Sans Bold U+1DA8 has a conic control on top of both of its
    // on-curve neighbours (font units (652, 840) at 64 pixels). Such a piece
    // has no length; it must add its own point three times, not the origin.
    const char* font = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
    if (!Exists(font)) GTEST_SKIP() << "font package not installed";
    CHQGS_UtilityText text;
    ASSERT_TRUE(text.Load(font, 64, 64));
    const Contours got = text.LoadChar(static_cast<wchar_t>(0x1DA8));
    ASSERT_EQ(got.size(), 3u);
    int copies = 0;
    for (const auto& contour : got)
        for (const auto& p : contour) {
            EXPECT_FALSE(p.x == 0 && p.y == 0) << "a curve piece jumped to the origin";
            if (p.x == 652 && p.y == -840) ++copies;
        }
    // The pen before the piece, then start, halfway point and end.
    EXPECT_EQ(copies, 4);
}

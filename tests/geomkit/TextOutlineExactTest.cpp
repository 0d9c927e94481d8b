// SPDX-License-Identifier: Apache-2.0
// Glyph outlines set bit for bit beside the plain reading: every curved piece
// built as a one-segment path and sampled at fractions 0, 1/2 and 1 of its
// measured length. Covers every character the fonts map, quadratic and cubic
// outlines, both raise settings, and single pieces chosen to be awkward
// (no length, lengths that exist only by rounding, signed zeros).
#include <geomkit/UtilityText.h>
#include <pathalgo/PrimitiveAlgorithmPath.h>

#include <gtest/gtest.h>

#include "GlyphPieces.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

using namespace HQ;

namespace {

using Contour = std::vector<CHQ_Point2D>;
using Contours = std::vector<Contour>;

bool Exists(const char* path) {
    std::FILE* f = std::fopen(path, "rb");
    if (f != nullptr) std::fclose(f);
    return f != nullptr;
}

bool SameBits(const Contour& a, const Contour& b) {
    return a.size() == b.size() &&
           (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(a[0])) == 0);
}

bool SameBits(const Contours& a, const Contours& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t k = 0; k < a.size(); ++k)
        if (!SameBits(a[k], b[k])) return false;
    return true;
}

// The piece sampled through the path: its points at fractions 0, 0.5 and 1,
// or its current position three times when its length is not positive.
void SampleThroughPath(CPrimitiveAlgorithmPath& path, Contour& out) {
    const bool still = !(path.Length() > 0);
    for (double f : {0.0, 0.5, 1.0}) out.push_back(still ? path.CurrentPosition() : path.PointAtPercent(f));
}

void QuadThroughPath(Contour& out, const CHQ_Point2D& pen, const CHQ_Point2D& c, const CHQ_Point2D& end) {
    CPrimitiveAlgorithmPath path;
    path.MoveTo(pen);
    path.QuadTo(c, end);
    SampleThroughPath(path, out);
}

void CubicThroughPath(Contour& out, const CHQ_Point2D& pen, const CHQ_Point2D& c1, const CHQ_Point2D& c2,
                      const CHQ_Point2D& end) {
    CPrimitiveAlgorithmPath path;
    path.MoveTo(pen);
    path.CubicTo(c1, c2, end);
    SampleThroughPath(path, out);
}

CHQ_Point2D Map(const FT_Vector& v) {
    return CHQ_Point2D(static_cast<double>(v.x), -static_cast<double>(v.y));
}

// The outline walk of the glyph loaded in the face, every curved piece
// through the path.
Contours ReferenceWalk(FT_Face face, bool raise) {
    Contours result;
    FT_Outline& outline = face->glyph->outline;
    if (face->glyph->format != FT_GLYPH_FORMAT_OUTLINE) return result;
    if (raise) FT_Outline_Translate(&outline, 0, -face->size->metrics.height);
    int first = 0;
    for (int c = 0; c < outline.n_contours; ++c) {
        const int last = outline.contours[c];
        if (last < first || last >= outline.n_points) return result;
        const FT_Vector* pt = outline.points;
        auto tag = [&](int i) { return outline.tags[i] & 3; };
        const CHQ_Point2D start = Map(pt[first]);
        CHQ_Point2D pen = start;
        Contour contour;
        int j = first + 1;
        while (j <= last) {
            const int t = tag(j);
            if (t == 1) {
                contour.push_back(pen);
                pen = Map(pt[j++]);
            } else if (t == 0) {
                FT_Vector control = pt[j];
                for (;;) {
                    if (j + 1 > last) {
                        QuadThroughPath(contour, pen, Map(control), start);
                        pen = start;
                        j = last + 1;
                        break;
                    }
                    const int nt = tag(j + 1);
                    if (nt == 0) {
                        const FT_Vector& c2 = pt[j + 1];
                        const CHQ_Point2D mid(static_cast<double>((control.x + c2.x) / 2),
                                              -static_cast<double>((control.y + c2.y) / 2));
                        QuadThroughPath(contour, pen, Map(control), mid);
                        pen = mid;
                        control = c2;
                        ++j;
                        continue;
                    }
                    if (nt == 1) {
                        const CHQ_Point2D end = Map(pt[j + 1]);
                        QuadThroughPath(contour, pen, Map(control), end);
                        pen = end;
                        j += 2;
                        break;
                    }
                    return result;
                }
            } else if (t == 2) {
                if (j + 1 > last || tag(j + 1) != 2) return result;
                const CHQ_Point2D end = (j + 2 <= last) ? Map(pt[j + 2]) : start;
                CubicThroughPath(contour, pen, Map(pt[j]), Map(pt[j + 1]), end);
                pen = end;
                j += 3;
            } else {
                return result;
            }
        }
        contour.push_back(pen);
        contour.push_back(start);
        result.push_back(std::move(contour));
        first = last + 1;
    }
    return result;
}

}  // namespace

// Every character each font maps (the two raise settings alternate), at a
// small and a large size.
TEST(TextOutlineExact, EveryMappedCharacterMatchesThePathSampling) {
    struct Case {
        const char* font;
        int size;
    } cases[] = {
        {"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", 64},
        {"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", 2048},
        {"/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf", 37},
        {"/usr/share/fonts/opentype/urw-base35/NimbusSans-Regular.otf", 1000},
        {"/usr/share/fonts/opentype/urw-base35/NimbusSans-Regular.otf", 48},
        {"/usr/share/fonts/type1/urw-base35/NimbusSans-Regular.t1", 1000},
    };
    FT_Library lib = nullptr;
    ASSERT_EQ(FT_Init_FreeType(&lib), 0);
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.font << " at " << c.size);
        if (!Exists(c.font)) {
            std::printf("skipped: %s not installed\n", c.font);
            continue;
        }
        CHQGS_UtilityText text;
        ASSERT_TRUE(text.Load(c.font, c.size, c.size));
        FT_Face face = nullptr;
        ASSERT_EQ(FT_New_Face(lib, c.font, 0, &face), 0);
        FT_Select_Charmap(face, FT_ENCODING_UNICODE);
        ASSERT_EQ(FT_Set_Pixel_Sizes(face, c.size, c.size), 0);
        FT_UInt glyph = 0;
        int checked = 0, curved = 0;
        for (FT_ULong ch = FT_Get_First_Char(face, &glyph); glyph != 0;
             ch = FT_Get_Next_Char(face, ch, &glyph)) {
            const bool raise = (ch % 2) == 1;
            ASSERT_EQ(FT_Load_Glyph(face, glyph, FT_LOAD_NO_BITMAP | FT_LOAD_NO_HINTING), 0);
            const Contours want = ReferenceWalk(face, raise);
            const Contours got = text.LoadChar(static_cast<wchar_t>(ch), raise);
            ASSERT_TRUE(SameBits(got, want)) << "character U+" << std::hex << ch;
            ++checked;
            for (const auto& k : want) curved += k.size() > 7 ? 1 : 0;
        }
        FT_Done_Face(face);
        EXPECT_GT(checked, 200);
        EXPECT_GT(curved, 100);
    }
    FT_Done_FreeType(lib);
}

// Single pieces: the direct sampling answers what the path answers, bit for
// bit, or declines (coordinates beyond its exact range) so that the caller
// takes the path.
TEST(TextOutlineExact, PiecesMatchThePathSampling) {
    const double third = 1.0 / 3.0;
    const double tiny = std::numeric_limits<double>::denorm_min();
    const double small = 1e-200;  // its square underflows to 0
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const CHQ_Point2D z(0.0, -0.0), a(0.1, third), b(12864, -95552);
    const CHQ_Point2D bNext(std::nextafter(12864.0, 1e9), -95552);
    struct Case {
        const char* name;
        bool quad;
        CHQ_Point2D p0, p1, p2, p3;  // quadratic: p0, control p1, end p2
        bool exact;                  // false: the direct sampling declines
    } cases[] = {
        {"quad, all equal", true, b, b, b, b, true},
        {"quad, all equal with signed zeros", true, z, CHQ_Point2D(-0.0, 0.0), CHQ_Point2D(0.0, 0.0), z,
         true},
        {"quad, ends equal", true, b, CHQ_Point2D(0, 0), b, b, true},
        {"quad, control apart by one step", true, b, bNext, b, b, true},
        {"quad, ordinary", true, CHQ_Point2D(51648, -86784), CHQ_Point2D(37568, -86784),
         CHQ_Point2D(29280, -76288), b, true},
        {"cubic, all equal (no length)", false, b, b, b, b, true},
        {"cubic, all equal at a value the weights do not keep", false, a, a, a, a, true},
        {"cubic, all zero with mixed signs", false, z, CHQ_Point2D(-0.0, -0.0), z, CHQ_Point2D(0.0, 0.0),
         true},
        {"cubic, subnormal apart", false, z, CHQ_Point2D(tiny, 0), z, z, true},
        {"cubic, apart by less than the chords can measure", false, z, CHQ_Point2D(small, 0), z, z, true},
        {"cubic, apart by a little more", false, z, CHQ_Point2D(0, 1e-150), z, z, true},
        {"cubic, one step apart", false, b, b, bNext, b, true},
        {"cubic, ordinary", false, CHQ_Point2D(11072, -46656), CHQ_Point2D(5120, -46656),
         CHQ_Point2D(5120, 0), CHQ_Point2D(34112, 0), true},
        {"cubic, large but exact", false, CHQ_Point2D(1e99, 0), CHQ_Point2D(-1e99, 1e99), CHQ_Point2D(0, 0),
         CHQ_Point2D(1e99, -1e99), true},
        {"cubic, beyond the exact range", false, CHQ_Point2D(1e200, 0), CHQ_Point2D(-1e200, 1e200),
         CHQ_Point2D(0, 0), CHQ_Point2D(1e200, 0), false},
        {"cubic, not a number", false, z, CHQ_Point2D(nan, 0), z, z, false},
        {"quad, beyond the exact range", true, CHQ_Point2D(1e300, 0), CHQ_Point2D(-1e300, 0),
         CHQ_Point2D(0, 0), z, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Contour got{CHQ_Point2D(7, 7)}, want{CHQ_Point2D(7, 7)};
        const bool done = c.quad ? glyphpieces::AppendQuad(got, c.p0, c.p1, c.p2)
                                 : glyphpieces::AppendCubic(got, c.p0, c.p1, c.p2, c.p3);
        EXPECT_EQ(done, c.exact);
        if (!done) {
            EXPECT_EQ(got.size(), 1u);  // nothing appended
            continue;
        }
        if (c.quad)
            QuadThroughPath(want, c.p0, c.p1, c.p2);
        else
            CubicThroughPath(want, c.p0, c.p1, c.p2, c.p3);
        EXPECT_TRUE(SameBits(got, want));
    }

    // Random pieces on the 26.6 grid and off it, many of them nearly flat or
    // with coinciding points.
    std::mt19937 rng(77);
    std::uniform_int_distribution<int> grid(-3, 3);
    std::uniform_real_distribution<double> coord(-1e5, 1e5);
    for (int round = 0; round < 20000; ++round) {
        CHQ_Point2D p[4];
        for (auto& q : p)
            q = (round % 2 == 0) ? CHQ_Point2D(grid(rng) * 64.0, -grid(rng) * 64.0)
                                 : CHQ_Point2D(coord(rng), coord(rng));
        if (round % 5 == 0) p[2] = p[0];
        const bool quad = round % 3 != 0;
        Contour got, want;
        ASSERT_TRUE(quad ? glyphpieces::AppendQuad(got, p[0], p[1], p[2])
                         : glyphpieces::AppendCubic(got, p[0], p[1], p[2], p[3]));
        if (quad)
            QuadThroughPath(want, p[0], p[1], p[2]);
        else
            CubicThroughPath(want, p[0], p[1], p[2], p[3]);
        ASSERT_TRUE(SameBits(got, want)) << "round " << round;
    }
}

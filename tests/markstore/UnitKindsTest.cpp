// SPDX-License-Identifier: Apache-2.0
// Unit kinds: codes, Init geometry per kind, data members and deep copies.
#include <markstore/SymbolUnitKinds.h>

#include <pathalgo/PrimitiveAlgorithmPath.h>

#include "ModelTestSupport.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <string>

namespace HQ {
namespace {

using modeltest::Near;
using modeltest::SamePoints;

CHQGS_SymbolUnitAttr Attr() { return CHQGS_SymbolUnitAttr(); }

TEST(UnitKinds, EachKindAnswersItsCode) {
    struct Case {
        const char* name;
        std::function<CHQGS_SymbolUnit*()> make;
        Type_Unit type;
    };
    const std::vector<CHQ_Point2D> pts = {{1, 2}};
    const Case cases[] = {
        {"line", [] { return new CHQGS_SymbolUnitLine(); }, Unit_Line},
        {"line with points", [&] { return new CHQGS_SymbolUnitLine(Attr(), pts); }, Unit_Line},
        {"rect", [] { return new CHQGS_SymbolUnitRect(); }, Unit_Rect},
        {"rect with points", [&] { return new CHQGS_SymbolUnitRect(Attr(), pts); }, Unit_Rect},
        {"ellipse", [] { return new CHQGS_SymbolUnitEllipse(); }, Unit_Ellipse},
        {"ellipse with points", [&] { return new CHQGS_SymbolUnitEllipse(Attr(), pts); }, Unit_Ellipse},
        {"arc", [] { return new CHQGS_SymbolUnitArc(); }, Unit_Arc},
        {"arc with points", [&] { return new CHQGS_SymbolUnitArc(Attr(), pts); }, Unit_Arc},
        {"sector", [] { return new CHQGS_SymbolUnitSector(); }, Unit_Sector},
        {"sector with points", [&] { return new CHQGS_SymbolUnitSector(Attr(), pts); }, Unit_Sector},
        {"text", [] { return new CHQGS_SymbolUnitText(); }, Unit_Text},
        {"text with points", [&] { return new CHQGS_SymbolUnitText(Attr(), pts); }, Unit_Text},
        {"text box", [] { return new CHQGS_SymbolUnitTextBox(); }, Unit_TextBox},
        {"text box with points", [&] { return new CHQGS_SymbolUnitTextBox(Attr(), pts); }, Unit_TextBox},
        {"picture", [] { return new CHQGS_SymbolUnitPicture(); }, Unit_Picture},
        {"combo", [] { return new CHQGS_SymbolUnitCombo(); }, Unit_Combo},
        {"combo with attributes", [] { return new CHQGS_SymbolUnitCombo(Attr()); }, Unit_Combo},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<CHQGS_SymbolUnit> unit(c.make());
        EXPECT_EQ(unit->GetType(), c.type);
        EXPECT_NE(unit->GetPainterPath(), nullptr);
    }
}

TEST(UnitKinds, TextUnitsStartWithLineWidthTen) {
    CHQGS_SymbolUnitAttr a;
    a.LineWidth = 3.0;
    a.FillStyle = 4;
    EXPECT_EQ(CHQGS_SymbolUnitText().GetAttr().LineWidth, 10.0);
    EXPECT_EQ(CHQGS_SymbolUnitTextBox().GetAttr().LineWidth, 10.0);
    const CHQGS_SymbolUnitText text(a, {});
    const CHQGS_SymbolUnitTextBox box(a, {});
    EXPECT_EQ(text.GetAttr().LineWidth, 10.0);
    EXPECT_EQ(box.GetAttr().LineWidth, 10.0);
    EXPECT_EQ(text.GetAttr().FillStyle, 4u);
    EXPECT_EQ(box.GetAttr().FillStyle, 4u);
    // Other kinds keep the width they are given.
    EXPECT_EQ(CHQGS_SymbolUnitLine(a, {}).GetAttr().LineWidth, 3.0);
}

// ---- Line -------------------------------------------------------------------

TEST(UnitKinds, LineInitFollowsVertices) {
    struct Case {
        const char* name;
        bool close;
        std::vector<CHQ_Point2D> vertexes;
        std::vector<CHQ_Point2D> ori;
        double length;
    };
    const CHQ_Point2D a(0, 0), b(3, 4), c(3, 10);
    const Case cases[] = {
        {"open", false, {a, b, c}, {a, b, c}, 11.0},
        {"closed repeats the first vertex", true, {a, b, c}, {a, b, c, a}, 11.0 + std::sqrt(109.0)},
        {"empty open", false, {}, {}, 0.0},
        {"empty closed", true, {}, {}, 0.0},
        {"single closed", true, {b}, {b, b}, 0.0},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        CHQGS_SymbolUnitAttr attr;
        attr.IsClose = k.close;
        CHQGS_SymbolUnitLine line(attr, {{99, 99}});  // actual points play no part
        line.SetVectexs(k.vertexes);
        CPrimitiveAlgorithmPath* before = line.GetPainterPath();
        line.Init();
        EXPECT_EQ(line.GetPainterPath(), before) << "the line extends its own path";
        EXPECT_TRUE(SamePoints(line.GetOriPts(), k.ori));
        EXPECT_TRUE(SamePoints(line.GetVectexs(), k.vertexes));
        EXPECT_NEAR(line.GetPainterPath()->Length(), k.length, 1e-12);
    }
}

TEST(UnitKinds, LineInitTwiceAppendsTheVerticesAgain) {
    CHQGS_SymbolUnitLine line;
    line.SetVectexs({{0, 0}, {6, 8}});
    line.Init();
    line.Init();
    EXPECT_TRUE(SamePoints(line.GetOriPts(), {{0, 0}, {6, 8}}));
    EXPECT_DOUBLE_EQ(line.GetPainterPath()->Length(), 20.0);
}

// ---- Ellipse ----------------------------------------------------------------

TEST(UnitKinds, EllipseSamples182PointsOnTheInscribedEllipse) {
    CHQGS_SymbolUnitEllipse ellipse(Attr(), {{0, 0}, {100, 50}});
    CPrimitiveAlgorithmPath* before = ellipse.GetPainterPath();
    ellipse.Init();
    EXPECT_NE(ellipse.GetPainterPath(), before) << "the ellipse builds a new path";
    const std::vector<CHQ_Point2D> pts = ellipse.GetOriPts();
    ASSERT_EQ(pts.size(), 182u);
    // The ellipse starts and ends at its point of largest x.
    EXPECT_TRUE(Near(pts.front(), 100, 25));
    EXPECT_TRUE(Near(pts.back(), 100, 25));
    // The last two samples nearly coincide (t just below 1, then 1).
    EXPECT_TRUE(Near(pts[180], 100, 25, 1.0));
    for (const CHQ_Point2D& p : pts) {
        const double u = (p.x - 50) / 50, v = (p.y - 25) / 25;
        EXPECT_NEAR(u * u + v * v, 1.0, 0.01);
    }
}

TEST(UnitKinds, EllipseWithTooFewPointsSamplesZeros) {
    for (const std::vector<CHQ_Point2D>& given :
         {std::vector<CHQ_Point2D>{}, std::vector<CHQ_Point2D>{{5, 5}}}) {
        CHQGS_SymbolUnitEllipse ellipse(Attr(), given);
        ellipse.Init();
        const std::vector<CHQ_Point2D> pts = ellipse.GetOriPts();
        ASSERT_EQ(pts.size(), 182u);
        for (const CHQ_Point2D& p : pts) EXPECT_TRUE(Near(p, 0, 0, 0));
        EXPECT_EQ(ellipse.GetPainterPath()->Length(), 0.0);
    }
}

// ---- Arc and sector ---------------------------------------------------------

struct ArcCase {
    const char* name;
    std::vector<CHQ_Point2D> pts;  // P0, P1, P2 (end direction), P3 (start direction)
    std::size_t count;             // real points of the arc
    CHQ_Point2D first;
    CHQ_Point2D last;
};

const double kCos45 = 0.7071067811865476;

const ArcCase kArcCases[] = {
    // Start 90, end 0 -> 360, sweep 270: the circle runs from -90 to -360.
    {"worked example", {{0, 0}, {100, 100}, {150, 50}, {50, 150}}, 272, {50, 0}, {100, 50}},
    // Same direction for start and end: a whole turn.
    {"same direction sweeps 360", {{0, 0}, {100, 100}, {50, 150}, {50, 120}}, 362, {50, 0}, {50, 0}},
    // On the centre line: angles 0 and 180, no 360 - correction.
    {"on the centre line", {{0, 0}, {100, 100}, {0, 50}, {100, 50}}, 182, {100, 50}, {0, 50}},
    // P3 below the centre: start 360 - 90 = 270, end 0 -> 360, sweep 90.
    {"start below the centre", {{0, 0}, {100, 100}, {100, 50}, {50, 0}}, 92, {50, 100}, {100, 50}},
    // A start direction of 45.9 degrees is truncated to 45.
    {"start angle truncated",
     {{-50, -50}, {50, 50}, {-50, 0}, {100 * 0.6959127965923143, 100 * 0.7181262977631888}},
     136,
     {50 * kCos45, -50 * kCos45},
     {-50, 0}},
    // Angles are taken from the truncated centre (50, 50), not (50.5, 50.5):
    // (50.9, 60) is at 84.86 degrees from it (87.59 from the exact centre).
    {"centre truncated",
     {{0, 0}, {101, 101}, {101, 50.5}, {50.9, 60}},
     277,
     {50.5 + 50.5 * std::cos(84.0 * M_PI / 180), 50.5 - 50.5 * std::sin(84.0 * M_PI / 180)},
     {101, 50.5}},
};

TEST(UnitKinds, ArcInitTable) {
    for (const ArcCase& c : kArcCases) {
        SCOPED_TRACE(c.name);
        CHQGS_SymbolUnitArc arc(Attr(), c.pts);
        CPrimitiveAlgorithmPath* before = arc.GetPainterPath();
        arc.Init();
        EXPECT_NE(arc.GetPainterPath(), before);
        const std::vector<CHQ_Point2D> pts = arc.GetOriPts();
        ASSERT_EQ(pts.size(), c.count);
        EXPECT_TRUE(Near(pts.front(), c.first.x, c.first.y));
        EXPECT_TRUE(Near(pts.back(), c.last.x, c.last.y));
        EXPECT_TRUE(Near(arc.GetPainterPath()->CurrentPosition(), c.last.x, c.last.y));
    }
}

TEST(UnitKinds, ArcWorkedExamplePassesTheQuarterPoints) {
    CHQGS_SymbolUnitArc arc(Attr(), {{0, 0}, {100, 100}, {150, 50}, {50, 150}});
    arc.Init();
    const std::vector<CHQ_Point2D> pts = arc.GetOriPts();
    ASSERT_EQ(pts.size(), 272u);
    // Index i is sampled at about i/270.
    EXPECT_TRUE(Near(pts[90], 0, 50));
    EXPECT_TRUE(Near(pts[180], 50, 100));
    EXPECT_TRUE(Near(pts[270], 100, 50, 1e-3));
}

TEST(UnitKinds, SectorInitTable) {
    for (const ArcCase& c : kArcCases) {
        SCOPED_TRACE(c.name);
        CHQGS_SymbolUnitSector sector(Attr(), c.pts);
        CPrimitiveAlgorithmPath* before = sector.GetPainterPath();
        sector.Init();
        EXPECT_NE(sector.GetPainterPath(), before);
        const std::vector<CHQ_Point2D> pts = sector.GetOriPts();
        ASSERT_EQ(pts.size(), c.count + 3);
        EXPECT_TRUE(Near(pts.front(), c.first.x, c.first.y));
        EXPECT_TRUE(Near(pts[c.count - 1], c.last.x, c.last.y));
        // Then the arc's end again, the exact centre and the arc's start.
        const double cx = (c.pts[0].x + c.pts[1].x) / 2, cy = (c.pts[0].y + c.pts[1].y) / 2;
        EXPECT_TRUE(Near(pts[c.count], c.last.x, c.last.y));
        EXPECT_EQ(pts[c.count + 1].x, cx);
        EXPECT_EQ(pts[c.count + 1].y, cy);
        EXPECT_TRUE(Near(pts[c.count + 2], c.first.x, c.first.y));
        // The path ends with the radius back to the arc's start.
        EXPECT_TRUE(Near(sector.GetPainterPath()->CurrentPosition(), c.first.x, c.first.y));
    }
}

TEST(UnitKinds, ArcAndSectorWithTooFewPointsChangeNothing) {
    const std::vector<CHQ_Point2D> three = {{0, 0}, {100, 100}, {150, 50}};
    CHQGS_SymbolUnitArc arc(Attr(), three);
    CHQGS_SymbolUnitSector sector(Attr(), three);
    for (CHQGS_SymbolUnit* u :
         {static_cast<CHQGS_SymbolUnit*>(&arc), static_cast<CHQGS_SymbolUnit*>(&sector)}) {
        CPrimitiveAlgorithmPath* before = u->GetPainterPath();
        u->Init();
        EXPECT_EQ(u->GetPainterPath(), before);
        EXPECT_TRUE(u->GetOriPts().empty());
    }
}

// ---- Text box ---------------------------------------------------------------

TEST(UnitKinds, TextBoxListsEightCorners) {
    struct Case {
        const char* name;
        std::vector<CHQ_Point2D> pts;
        std::vector<CHQ_Point2D> ori;
    };
    const Case cases[] = {
        {"two boxes",
         {{0, 0}, {10, 20}, {1, 2}, {3, 4}},
         {{0, 0}, {0, 20}, {10, 20}, {10, 0}, {1, 2}, {1, 4}, {3, 4}, {3, 2}}},
        {"repeated vertices give the same box twice",
         {{5, 6}, {7, 8}, {5, 6}, {7, 8}},
         {{5, 6}, {5, 8}, {7, 8}, {7, 6}, {5, 6}, {5, 8}, {7, 8}, {7, 6}}},
        {"extra points are ignored",
         {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {9, 9}},
         {{0, 0}, {0, 1}, {1, 1}, {1, 0}, {2, 2}, {2, 3}, {3, 3}, {3, 2}}},
        {"fewer than four points: nothing", {{0, 0}, {1, 1}}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CHQGS_SymbolUnitTextBox box(Attr(), c.pts);
        CPrimitiveAlgorithmPath* before = box.GetPainterPath();
        box.Init();
        EXPECT_TRUE(SamePoints(box.GetOriPts(), c.ori));
        EXPECT_EQ(box.GetPainterPath(), before);
        EXPECT_EQ(before->Length(), 0.0);
    }
}

TEST(UnitKinds, DataKindsComputeNothing) {
    const std::vector<CHQ_Point2D> pts = {{0, 0}, {100, 100}, {150, 50}, {50, 150}};
    std::unique_ptr<CHQGS_SymbolUnit> units[] = {
        std::unique_ptr<CHQGS_SymbolUnit>(new CHQGS_SymbolUnitRect(Attr(), pts)),
        std::unique_ptr<CHQGS_SymbolUnit>(new CHQGS_SymbolUnitText(Attr(), pts)),
        std::unique_ptr<CHQGS_SymbolUnit>(new CHQGS_SymbolUnitPicture()),
        std::unique_ptr<CHQGS_SymbolUnit>(new CHQGS_SymbolUnitCombo()),
    };
    for (auto& u : units) {
        SCOPED_TRACE(u->GetType());
        CPrimitiveAlgorithmPath* before = u->GetPainterPath();
        u->Init();
        EXPECT_EQ(u->GetPainterPath(), before);
        EXPECT_TRUE(u->GetOriPts().empty());
        EXPECT_EQ(before->Length(), 0.0);
    }
}

// ---- Data members -----------------------------------------------------------

TEST(UnitKinds, TextMembersStartAtZeroAndAreCopied) {
    CHQGS_SymbolUnitText text;
    std::uint8_t rgba[4] = {9, 9, 9, 9};
    text.GetFontColor(rgba);
    EXPECT_EQ(std::memcmp(rgba, "\0\0\0\0", 4), 0);
    EXPECT_EQ(text.GetFontAngle(), 0.0f);
    EXPECT_EQ(text.GetFontWidth(), 0);
    EXPECT_EQ(text.GetFontPosY(), 0.0f);

    text.SetFontName("SimSun");
    text.SetFontColor(1, 2, 3, 4);
    text.SetFontPos(1.25f, -2.5f);
    text.SetText("\xd6\xd0");
    text.SetAuxList(1, {{{1, 1}}});
    text.SetAuxPoint(0, {3, 4});
    text.SetAuxPoint(2, {5, 5});  // out of range: ignored
    std::unique_ptr<CHQGS_SymbolUnitText> original(new CHQGS_SymbolUnitText(text));
    CHQGS_SymbolUnitText assigned;
    assigned = *original;
    original.reset();
    EXPECT_EQ(assigned.GetFontName(), "SimSun");
    assigned.GetFontColor(rgba);
    EXPECT_EQ(std::memcmp(rgba, "\x01\x02\x03\x04", 4), 0);
    EXPECT_EQ(assigned.GetFontPosY(), -2.5f);
    EXPECT_EQ(assigned.GetText(), "\xd6\xd0");
    EXPECT_EQ(assigned.GetAuxList(1).size(), 1u);
    EXPECT_TRUE(assigned.GetAuxList(5).empty());
    EXPECT_TRUE(Near(assigned.GetAuxPoint(0), 3, 4, 0));
}

// The font attributes the text and the text box share: zero from every
// constructor, each one kept apart from the others, carried by copies.
template <typename Unit>
class FontAttributes : public ::testing::Test {};
using FontUnits = ::testing::Types<CHQGS_SymbolUnitText, CHQGS_SymbolUnitTextBox>;
TYPED_TEST_SUITE(FontAttributes, FontUnits);

template <typename Unit>
void ExpectFont(const Unit& u, float angle, const std::string& name, std::int16_t width, std::int16_t height,
                const char* rgba, std::int16_t fontDistance, std::int16_t lineDistance, std::int16_t style) {
    std::uint8_t colour[4] = {0xEE, 0xEE, 0xEE, 0xEE};
    u.GetFontColor(colour);
    EXPECT_EQ(u.GetFontAngle(), angle);
    EXPECT_EQ(u.GetFontName(), name);
    EXPECT_EQ(u.GetFontWidth(), width);
    EXPECT_EQ(u.GetFontHeight(), height);
    EXPECT_EQ(std::memcmp(colour, rgba, 4), 0);
    EXPECT_EQ(u.GetFontDistance(), fontDistance);
    EXPECT_EQ(u.GetLineDistance(), lineDistance);
    EXPECT_EQ(u.GetFontStyle(), style);
}

TYPED_TEST(FontAttributes, StartAtZeroFromEveryConstructor) {
    const TypeParam plain;
    const TypeParam withPoints(Attr(), {{1, 2}, {3, 4}, {5, 6}, {7, 8}});
    ExpectFont(plain, 0.0f, "", 0, 0, "\0\0\0\0", 0, 0, 0);
    ExpectFont(withPoints, 0.0f, "", 0, 0, "\0\0\0\0", 0, 0, 0);
}

TYPED_TEST(FontAttributes, EachAttributeIsKeptApartAndCopied) {
    TypeParam u;
    u.SetFontAngle(-12.5f);
    u.SetFontName("\xba\xda\xcc\xe5");
    u.SetFontWidth(-3);
    u.SetFontHeight(32767);
    u.SetFontColor(0xFF, 0x00, 0x80, 0x7F);
    u.SetFontDistance(7);
    u.SetLineDistance(-32768);
    u.SetFontStyle(5);
    ExpectFont(u, -12.5f, "\xba\xda\xcc\xe5", -3, 32767, "\xFF\x00\x80\x7F", 7, -32768, 5);

    std::unique_ptr<TypeParam> original(new TypeParam(u));
    TypeParam assigned;
    assigned = *original;
    original->SetFontName("other");
    original->SetFontColor(1, 1, 1, 1);
    original.reset();
    ExpectFont(assigned, -12.5f, "\xba\xda\xcc\xe5", -3, 32767, "\xFF\x00\x80\x7F", 7, -32768, 5);

    // Setting one attribute again leaves the others as they were.
    assigned.SetFontHeight(1);
    assigned.SetFontColor(0, 0, 0, 9);
    ExpectFont(assigned, -12.5f, "\xba\xda\xcc\xe5", -3, 1, "\0\0\0\x09", 7, -32768, 5);
}

TEST(UnitKinds, PictureOwnsACopyOfItsBytes) {
    std::unique_ptr<CHQGS_SymbolUnitPicture> original(new CHQGS_SymbolUnitPicture());
    EXPECT_EQ(original->GetBufData(), nullptr);
    EXPECT_EQ(original->GetBufSize(), 0);
    char bytes[] = {'\x89', 'P', 'N', 'G', '\0', 'x'};
    original->SetBufData(bytes, sizeof bytes);
    bytes[1] = 'Q';  // the unit keeps its own copy
    CHQGS_PicturePlacement place = {1.5f, 2.5f, 3u, 4u, 5, {6, 7, 8, 9}};
    original->SetPlacement(place);

    CHQGS_SymbolUnitPicture copy(*original);
    CHQGS_SymbolUnitPicture assigned;
    assigned.SetBufData("old", 3);
    assigned = *original;
    EXPECT_NE(copy.GetBufData(), original->GetBufData());
    original.reset();
    for (const CHQGS_SymbolUnitPicture* p : {&copy, &assigned}) {
        ASSERT_EQ(p->GetBufSize(), 6);
        EXPECT_EQ(std::memcmp(p->GetBufData(), "\x89PNG\0x", 6), 0);
        EXPECT_EQ(p->GetPlacement().CountB, 4u);
        EXPECT_EQ(p->GetPlacement().Bytes[3], 9);
    }
}

TEST(UnitKinds, PictureBufferEdgeCases) {
    struct Case {
        const char* name;
        const char* data;
        int size;
        int expectSize;
    };
    const Case cases[] = {
        {"zero size", "abc", 0, 0},
        {"negative size", "abc", -5, 0},
        {"null data", nullptr, 10, 0},
        {"normal", "abc", 3, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CHQGS_SymbolUnitPicture pic;
        pic.SetBufData("previous", 8);
        pic.SetBufData(c.data, c.size);
        EXPECT_EQ(pic.GetBufSize(), c.expectSize);
        EXPECT_EQ(pic.GetBufData() == nullptr, c.expectSize == 0);
    }
    // Setting the buffer from itself, and assigning to itself, keep the bytes.
    CHQGS_SymbolUnitPicture pic;
    pic.SetBufData("abcdef", 6);
    pic.SetBufData(pic.GetBufData() + 2, 3);
    ASSERT_EQ(pic.GetBufSize(), 3);
    EXPECT_EQ(std::memcmp(pic.GetBufData(), "cde", 3), 0);
    CHQGS_SymbolUnitPicture& self = pic;
    pic = self;
    EXPECT_EQ(std::memcmp(pic.GetBufData(), "cde", 3), 0);
}

TEST(UnitKinds, ComboAddsLinesToTheFourthGroup) {
    CHQGS_SymbolUnitCombo combo;
    combo.AddLine({{1, 1}, {2, 2}});
    combo.AddLine({});
    for (int g = 0; g < 3; ++g) EXPECT_TRUE(combo.GetLineGroup(g).empty());
    const std::vector<std::vector<CHQ_Point2D>> fourth = combo.GetLineGroup(3);
    ASSERT_EQ(fourth.size(), 2u);
    EXPECT_TRUE(SamePoints(fourth[0], {{1, 1}, {2, 2}}));
    EXPECT_TRUE(fourth[1].empty());
    EXPECT_TRUE(combo.GetLineGroup(4).empty());
    EXPECT_TRUE(combo.GetLineGroup(-1).empty());
    CHQGS_SymbolUnitCombo copy;
    copy = combo;
    EXPECT_EQ(copy.GetLineGroup(3).size(), 2u);
}

// ---- Deep copies of initialised units ---------------------------------------

// Every geometric kind, initialised, then copied both ways; the copies must
// keep their geometry after the original is gone (checked by ASan).
template <typename Kind>
void CheckCopiesOutliveOriginal(const std::vector<CHQ_Point2D>& pts,
                                const std::vector<CHQ_Point2D>& vertexes) {
    std::unique_ptr<Kind> original(new Kind(Attr(), pts));
    if (auto* line = dynamic_cast<CHQGS_SymbolUnitLine*>(original.get())) line->SetVectexs(vertexes);
    original->Init();
    const std::vector<CHQ_Point2D> ori = original->GetOriPts();
    const CHQ_Point2D start = original->GetPainterPath()->PointAtPercent(0);
    const CHQ_Point2D current = original->GetPainterPath()->CurrentPosition();
    Kind copy(*original);
    Kind assigned;
    assigned = *original;
    EXPECT_NE(copy.GetPainterPath(), original->GetPainterPath());
    EXPECT_NE(assigned.GetPainterPath(), original->GetPainterPath());
    original.reset();
    for (Kind* k : {&copy, &assigned}) {
        EXPECT_EQ(k->GetType(), copy.GetType());
        EXPECT_TRUE(SamePoints(k->GetOriPts(), ori));
        EXPECT_TRUE(SamePoints(k->GetActualPts(), pts));
        EXPECT_TRUE(Near(k->GetPainterPath()->CurrentPosition(), current.x, current.y, 0));
        EXPECT_TRUE(Near(k->GetPainterPath()->PointAtPercent(0), start.x, start.y, 0));
    }
}

TEST(UnitKinds, CopiesOfInitialisedUnitsOutliveTheOriginal) {
    const std::vector<CHQ_Point2D> pts = {{0, 0}, {100, 100}, {150, 50}, {50, 150}};
    const std::vector<CHQ_Point2D> vertexes = {{0, 0}, {10, 0}, {10, 10}};
    {
        SCOPED_TRACE("line");
        CheckCopiesOutliveOriginal<CHQGS_SymbolUnitLine>(pts, vertexes);
    }
    {
        SCOPED_TRACE("ellipse");
        CheckCopiesOutliveOriginal<CHQGS_SymbolUnitEllipse>(pts, vertexes);
    }
    {
        SCOPED_TRACE("arc");
        CheckCopiesOutliveOriginal<CHQGS_SymbolUnitArc>(pts, vertexes);
    }
    {
        SCOPED_TRACE("sector");
        CheckCopiesOutliveOriginal<CHQGS_SymbolUnitSector>(pts, vertexes);
    }
    {
        SCOPED_TRACE("text box");
        CheckCopiesOutliveOriginal<CHQGS_SymbolUnitTextBox>(pts, vertexes);
    }
}

TEST(UnitKinds, CopiedSectorKeepsItsPendingRadii) {
    // The sector's radii are still pending in its path; the copy must carry
    // them too, so that both paths measure the same.
    CHQGS_SymbolUnitSector sector(Attr(), {{0, 0}, {100, 100}, {150, 50}, {50, 150}});
    sector.Init();
    CHQGS_SymbolUnitSector copy(sector);
    EXPECT_EQ(copy.GetPainterPath()->Length(), sector.GetPainterPath()->Length());
    CHQGS_SymbolUnitSector& self = sector;
    sector = self;
    EXPECT_EQ(copy.GetPainterPath()->Length(), sector.GetPainterPath()->Length());
}

}  // namespace
}  // namespace HQ

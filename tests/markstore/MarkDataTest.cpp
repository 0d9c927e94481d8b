// SPDX-License-Identifier: Apache-2.0
// Mark data reader: which elements become units and how their members are read.
#include <markstore/MarkData.h>
#include <markstore/SymbolUnitKinds.h>

#include <pathalgo/PrimitiveAlgorithmPath.h>

#include "ModelTestSupport.h"

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace HQ {
namespace {

using modeltest::SameAttr;
using modeltest::SamePoints;

std::vector<Type_Unit> Kinds(const CHQGS_Symbol& s) {
    std::vector<Type_Unit> kinds;
    for (const CHQGS_SymbolUnit* u : s.GetUnits()) kinds.push_back(u->GetType());
    return kinds;
}

TEST(MarkData, WhichElementsBecomeUnits) {
    struct Case {
        const char* name;
        const char* json;
        std::vector<Type_Unit> kinds;
    };
    const Case cases[] = {
        {"empty array", "[]", {}},
        {"empty text", "", {}},
        {"not JSON", "this is not json", {}},
        {"truncated", "[{\"Style\":1,", {}},
        {"one of each read kind",
         R"([{"Style":1},{"Style":7},{"Style":13}])",
         {Unit_Line, Unit_Text, Unit_TextBox}},
        {"other styles are skipped",
         R"([{"Style":2},{"Style":3},{"Style":4},{"Style":5},{"Style":14},{"Style":15},{"Style":0},{"Style":1}])",
         {Unit_Line}},
        {"missing style", R"([{"LineWidth":3}])", {}},
        {"comments are accepted", "// leading\n[ /* a line */ {\"Style\":1} ]", {Unit_Line}},
        {"fractional style is cut", R"([{"Style":7.9}])", {Unit_Text}},
        {"boolean style true reads as 1", R"([{"Style":true}])", {Unit_Line}},
        {"string style reads as 0", R"([{"Style":"1"},{"Style":13}])", {Unit_TextBox}},
        {"huge style reads as 0", R"([{"Style":1e300},{"Style":99999999999}])", {}},
        {"root object adds nothing", R"({"Style":1})", {}},
        {"root number adds nothing", "7", {}},
        {"elements that are not objects are skipped",
         R"([1, "x", null, [{"Style":1}], true, {"Style":7}])",
         {Unit_Text}},
        {"trailing text after the array is ignored", R"([{"Style":1}] trailing)", {Unit_Line}},
        {"deep nesting is rejected", nullptr, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string deep = std::string(100000, '[') + std::string(100000, ']');
        CHQGS_SymbolCommAttr* record = new CHQGS_SymbolCommAttr();
        record->ID = 11;
        CHQGS_Symbol s(record);
        EXPECT_TRUE(ParseMarkData(&s, c.json != nullptr ? c.json : deep.c_str(), 0));
        EXPECT_EQ(Kinds(s), c.kinds);
        EXPECT_EQ(s.GetCommAttr(), record);
        EXPECT_EQ(record->ID, 11);
    }
}

TEST(MarkData, NullArgumentsAreHarmless) {
    CHQGS_Symbol s;
    EXPECT_TRUE(ParseMarkData(&s, nullptr, 0));
    EXPECT_TRUE(ParseMarkData(nullptr, "[{\"Style\":1}]", 0));
    EXPECT_TRUE(s.GetUnits().empty());
}

TEST(MarkData, UnitsAreAppendedAfterExistingOnes) {
    CHQGS_Symbol s;
    s.AddUnit(new CHQGS_SymbolUnitRect());
    ParseMarkData(&s, R"([{"Style":13},{"Style":1}])", 0);
    ParseMarkData(&s, R"([{"Style":7}])", 0);
    EXPECT_EQ(Kinds(s), (std::vector<Type_Unit>{Unit_Rect, Unit_TextBox, Unit_Line, Unit_Text}));
}

// Parses one element and answers its unit (null if none was made).
struct Parsed {
    CHQGS_Symbol symbol;
    const CHQGS_SymbolUnit* unit = nullptr;
};

std::unique_ptr<Parsed> ParseOne(const std::string& element) {
    std::unique_ptr<Parsed> p(new Parsed());
    ParseMarkData(&p->symbol, ("[" + element + "]").c_str(), 0);
    const std::vector<CHQGS_SymbolUnit*> units = p->symbol.GetUnits();
    if (units.size() == 1) p->unit = units[0];
    return p;
}

TEST(MarkData, LineAttributesTable) {
    struct Case {
        const char* name;
        const char* element;
        std::function<void(CHQGS_SymbolUnitAttr&)> expect;  // changes from the line defaults
    };
    // A line element sets every listed field; missing members read as 0/false.
    auto lineDefaults = [] {
        CHQGS_SymbolUnitAttr a;
        a.IsNotFill = false;
        return a;
    };
    const Case cases[] = {
        {"all members missing", R"({"Style":1})", [](CHQGS_SymbolUnitAttr&) {}},
        {"full element",
         R"({"Style":1,"LineStyle":3,"LineWidth":4,"IsClose":true,"IsOutline":true,"FillStyle":5,
             "LineColor":{"R":10,"G":20,"B":30,"A":40},"OutlineColor":{"R":1,"G":2,"B":3},
             "FillColor":{"R":4,"G":5,"B":6},"IsLineStyleFixedness":true,"IsColorFixedness":true,
             "IsNotFill":true,"Vertexes":[]})",
         [](CHQGS_SymbolUnitAttr& a) {
             a.LineStyle = 3;
             a.LineWidth = 4.0;
             a.IsClose = a.IsOutline = true;
             a.FillStyle = 5;
             const std::uint8_t line[4] = {10, 20, 30, 40}, outline[4] = {1, 2, 3, 40},
                                fill[4] = {4, 5, 6, 40};
             std::memcpy(a.LineColor, line, 4);
             std::memcpy(a.OutlineColor, outline, 4);
             std::memcpy(a.FillColor, fill, 4);
             a.IsLineStyleFixedness = a.IsColorFixedness = a.IsNotFill = true;
         }},
        {"line width is cut to an integer", R"({"Style":1,"LineWidth":2.9})",
         [](CHQGS_SymbolUnitAttr& a) { a.LineWidth = 2.0; }},
        {"negative line width is cut toward zero", R"({"Style":1,"LineWidth":-2.9})",
         [](CHQGS_SymbolUnitAttr& a) { a.LineWidth = -2.0; }},
        {"colour channels keep their low 8 bits",
         R"({"Style":1,"LineColor":{"R":300,"G":-1,"B":256,"A":511}})",
         [](CHQGS_SymbolUnitAttr& a) {
             const std::uint8_t line[4] = {44, 255, 0, 255};
             std::memcpy(a.LineColor, line, 4);
             a.OutlineColor[3] = a.FillColor[3] = 255;
         }},
        {"outline and fill take the line colour's alpha",
         R"({"Style":1,"LineColor":{"A":200},"OutlineColor":{"R":1,"G":2,"B":3,"A":4},"FillColor":{"A":9}})",
         [](CHQGS_SymbolUnitAttr& a) {
             a.LineColor[3] = 200;
             const std::uint8_t outline[4] = {1, 2, 3, 200};
             std::memcpy(a.OutlineColor, outline, 4);
             a.FillColor[3] = 200;
         }},
        {"pattern codes keep their low 16 bits", R"({"Style":1,"LineStyle":65537,"FillStyle":-1})",
         [](CHQGS_SymbolUnitAttr& a) {
             a.LineStyle = 1;
             a.FillStyle = 65535;
         }},
        {"numbers read as booleans", R"({"Style":1,"IsClose":2,"IsOutline":0.5,"IsNotFill":0})",
         [](CHQGS_SymbolUnitAttr& a) { a.IsClose = a.IsOutline = true; }},
        {"members of the wrong type read as neutral values",
         R"({"Style":1,"LineStyle":"3","LineWidth":[4],"IsClose":"true","IsOutline":{},"FillStyle":{"x":1},
             "LineColor":[1,2,3,4],"OutlineColor":"red","FillColor":{"R":"9","G":true},"IsNotFill":[true]})",
         [](CHQGS_SymbolUnitAttr& a) { a.FillColor[1] = 1; }},
        {"out of range numbers read as 0", R"({"Style":1,"LineWidth":1e20,"LineStyle":4294967296})",
         [](CHQGS_SymbolUnitAttr&) {}},
        {"member names are case-sensitive", R"({"Style":1,"linewidth":5,"isClose":true,"LineColor":{"r":5}})",
         [](CHQGS_SymbolUnitAttr&) {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<Parsed> p = ParseOne(c.element);
        ASSERT_NE(p->unit, nullptr);
        ASSERT_EQ(p->unit->GetType(), Unit_Line);
        CHQGS_SymbolUnitAttr expected = lineDefaults();
        c.expect(expected);
        EXPECT_TRUE(SameAttr(p->unit->GetAttr(), expected));
        // Fields the element does not carry keep the record's defaults.
        EXPECT_EQ(p->unit->GetAttr().Style, 0);
        EXPECT_EQ(p->unit->GetAttr().SpareB, -1.0f);
    }
}

TEST(MarkData, LineVerticesAndInit) {
    struct Case {
        const char* name;
        const char* element;
        std::vector<CHQ_Point2D> vertexes;
        std::vector<CHQ_Point2D> ori;
    };
    const Case cases[] = {
        {"closed triangle repeats the first vertex",
         R"({"Style":1,"IsClose":true,"Vertexes":[{"X":0,"Y":0},{"X":3.5,"Y":4},{"X":-1,"Y":2e3}]})",
         {{0, 0}, {3.5, 4}, {-1, 2000}},
         {{0, 0}, {3.5, 4}, {-1, 2000}, {0, 0}}},
        {"open",
         R"({"Style":1,"Vertexes":[{"X":1,"Y":2},{"X":3,"Y":4}]})",
         {{1, 2}, {3, 4}},
         {{1, 2}, {3, 4}}},
        {"missing and odd coordinates read as 0",
         R"({"Style":1,"Vertexes":[{"X":1},{"Y":"2"},7,null,{"X":true,"Y":[1]}]})",
         {{1, 0}, {0, 0}, {0, 0}, {0, 0}, {1, 0}},
         {{1, 0}, {0, 0}, {0, 0}, {0, 0}, {1, 0}}},
        {"vertexes not an array", R"({"Style":1,"IsClose":true,"Vertexes":{"X":1,"Y":2}})", {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<Parsed> p = ParseOne(c.element);
        const auto* line = dynamic_cast<const CHQGS_SymbolUnitLine*>(p->unit);
        ASSERT_NE(line, nullptr);
        EXPECT_TRUE(SamePoints(line->GetVectexs(), c.vertexes));
        EXPECT_TRUE(SamePoints(line->GetOriPts(), c.ori));
        EXPECT_TRUE(line->GetActualPts().empty());
    }
}

struct FontExpect {
    float angle;
    const char* name;
    std::int16_t width, height;
    std::uint8_t color[4];
    std::int16_t fontDistance, lineDistance, style;
};

template <typename Unit>
void CheckFont(const Unit& u, const FontExpect& e) {
    EXPECT_EQ(u.GetFontAngle(), e.angle);
    EXPECT_EQ(u.GetFontName(), e.name);
    EXPECT_EQ(u.GetFontWidth(), e.width);
    EXPECT_EQ(u.GetFontHeight(), e.height);
    std::uint8_t rgba[4];
    u.GetFontColor(rgba);
    EXPECT_EQ(std::memcmp(rgba, e.color, 4), 0);
    EXPECT_EQ(u.GetFontDistance(), e.fontDistance);
    EXPECT_EQ(u.GetLineDistance(), e.lineDistance);
    EXPECT_EQ(u.GetFontStyle(), e.style);
    // Text units set no attributes: the default record with width 10.
    CHQGS_SymbolUnitAttr attr;
    attr.LineWidth = 10.0;
    EXPECT_TRUE(SameAttr(u.GetAttr(), attr));
}

const char* const kFontMembers =
    R"("FontAngle":12.3,"FontName":"\u5b8b\u4f53","FontWidth":12.7,"FontHeight":-3.9,)"
    R"("FontColor":{"R":1,"G":2,"B":259,"A":255},"FontDistance":70000,"LineDistance":2,"FontStyle":1,)"
    R"("LineWidth":3,"IsClose":true)";

const FontExpect kFontExpect = {12.3f, "\xe5\xae\x8b\xe4\xbd\x93", 12, -3, {1, 2, 3, 255}, 4464, 2, 1};

TEST(MarkData, TextElements) {
    struct Case {
        const char* name;
        std::string element;
        FontExpect font;
        float posX, posY;
        std::string text;
    };
    const Case cases[] = {
        {"full text",
         std::string(R"({"Style":7,)") + kFontMembers + R"(,"FontPos":{"X":1.1,"Y":-2},"Text":"AB"})",
         kFontExpect, 1.1f, -2.0f, "AB"},
        {"missing members", R"({"Style":7})", {0.0f, "", 0, 0, {0, 0, 0, 0}, 0, 0, 0}, 0.0f, 0.0f, ""},
        {"numbers as strings are converted, objects are not",
         R"({"Style":7,"FontName":12,"Text":{"a":1},"FontWidth":"12","FontPos":[1,2],"FontAngle":"9"})",
         {0.0f, "12", 0, 0, {0, 0, 0, 0}, 0, 0, 0},
         0.0f,
         0.0f,
         ""},
        {"huge font sizes read as 0",
         R"({"Style":7,"FontWidth":1e10,"FontHeight":-1e300})",
         {0.0f, "", 0, 0, {0, 0, 0, 0}, 0, 0, 0},
         0.0f,
         0.0f,
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<Parsed> p = ParseOne(c.element);
        const auto* text = dynamic_cast<const CHQGS_SymbolUnitText*>(p->unit);
        ASSERT_NE(text, nullptr);
        CheckFont(*text, c.font);
        EXPECT_EQ(text->GetFontPosX(), c.posX);
        EXPECT_EQ(text->GetFontPosY(), c.posY);
        EXPECT_EQ(text->GetText(), c.text);
        EXPECT_TRUE(text->GetActualPts().empty());
        EXPECT_TRUE(text->GetOriPts().empty());
    }
}

TEST(MarkData, TextBoxElements) {
    struct Case {
        const char* name;
        std::string element;
        std::vector<CHQ_Point2D> actual;
        std::size_t oriCount;
    };
    const Case cases[] = {
        {"two vertices are read twice",
         std::string(R"({"Style":13,)") + kFontMembers + R"(,"Vertexes":[{"X":0,"Y":0},{"X":10,"Y":5}]})",
         {{0, 0}, {10, 5}, {0, 0}, {10, 5}},
         8},
        {"four vertices",
         std::string(R"({"Style":13,)") + kFontMembers +
             R"(,"Vertexes":[{"X":0,"Y":0},{"X":10,"Y":5},{"X":1,"Y":1},{"X":2,"Y":2}]})",
         {{0, 0}, {10, 5}, {1, 1}, {2, 2}},
         8},
        {"three vertices are kept as they are",
         std::string(R"({"Style":13,)") + kFontMembers +
             R"(,"Vertexes":[{"X":0,"Y":0},{"X":10,"Y":5},{"X":1}]})",
         {{0, 0}, {10, 5}, {1, 0}},
         0},
        {"no vertices", std::string(R"({"Style":13,)") + kFontMembers + "}", {}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<Parsed> p = ParseOne(c.element);
        const auto* box = dynamic_cast<const CHQGS_SymbolUnitTextBox*>(p->unit);
        ASSERT_NE(box, nullptr);
        CheckFont(*box, kFontExpect);
        EXPECT_TRUE(SamePoints(box->GetActualPts(), c.actual));
        EXPECT_EQ(box->GetOriPts().size(), c.oriCount);
    }
    // The two-vertex box lists the same four corners twice.
    std::unique_ptr<Parsed> p = ParseOne(R"({"Style":13,"Vertexes":[{"X":0,"Y":0},{"X":10,"Y":5}]})");
    ASSERT_NE(p->unit, nullptr);
    EXPECT_TRUE(SamePoints(p->unit->GetOriPts(),
                           {{0, 0}, {0, 5}, {10, 5}, {10, 0}, {0, 0}, {0, 5}, {10, 5}, {10, 0}}));
}

TEST(MarkData, AttributesOfAnElementDoNotLeakIntoTheNext) {
    CHQGS_Symbol s;
    ParseMarkData(&s, R"([{"Style":1,"LineWidth":7,"IsClose":true,"LineColor":{"A":9}},{"Style":1}])", 0);
    const std::vector<CHQGS_SymbolUnit*> units = s.GetUnits();
    ASSERT_EQ(units.size(), 2u);
    EXPECT_EQ(units[0]->GetAttr().LineWidth, 7.0);
    EXPECT_EQ(units[1]->GetAttr().LineWidth, 0.0);
    EXPECT_FALSE(units[1]->GetAttr().IsClose);
    EXPECT_EQ(units[1]->GetAttr().OutlineColor[3], 0);
}

}  // namespace
}  // namespace HQ

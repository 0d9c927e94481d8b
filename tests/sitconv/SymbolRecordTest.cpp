// SPDX-License-Identifier: Apache-2.0
// readSymbol and writeSymbol on single records: attribute rules, lists,
// combination children, mark-type questions and the JSON value rules.
#include "SitconvTestSupport.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <cmath>
#include <limits>
#include <utility>
#include <vector>

namespace {

using namespace sitconv_test;
using HQ::SituationSymbol;

// Reads the first element of xml (a "Symbol") with readSymbol.
SituationSymbol readOne(const std::string& xml, FakeMarks& marks) {
    TiXmlDocument doc;
    doc.Parse(xml.c_str(), nullptr, TIXML_ENCODING_UTF8);
    std::ostringstream errors;
    HQ::SituationConverter converter(marks, errors);
    SituationSymbol s;
    EXPECT_NE(doc.RootElement(), nullptr) << xml;
    if (doc.RootElement() != nullptr) converter.readSymbol(doc.RootElement(), s, false);
    return s;
}

SituationSymbol readOne(const std::string& xml) {
    FakeMarks marks;
    return readOne(xml, marks);
}

TEST(ReadSymbol, CodeSplitsAtTheFirstComma) {
    struct Case {
        const char* code;
        int libId;
        int code2;
    } const cases[] = {
        {"32,3", 32, 3}, {"17", 17, 17},  {"1,2,3", 1, 2}, {"", 0, 0},
        {"a,5", 0, 5},   {" 7, 8", 7, 8}, {",9", 0, 9},    {"-4,x", -4, 0},
    };
    for (const Case& c : cases) {
        const SituationSymbol s = readOne(std::string("<Symbol Code=\"") + c.code + "\"/>");
        EXPECT_EQ(s.libId, c.libId) << c.code;
        EXPECT_EQ(s.code, c.code2) << c.code;
    }
}

TEST(ReadSymbol, NumbersFollowTheCConversions) {
    const SituationSymbol s = readOne(
        "<Symbol Guid=\"abc\"><GeoAttr><GeoAttribute HeightType=\" 12xyz\" Scale=\"2.5e1\" "
        "WallTransparent=\"3.9\"/>"
        "</GeoAttr><StyleAttr LineType=\"1\"><MainLine Color=\"-1\" Width=\".5\"/>"
        "<Fill Color=\"4294967295\" Mode=\"x\"/><SurroundLine "
        "Color=\"99999999999999999999\"/></StyleAttr></Symbol>");
    EXPECT_EQ(s.guid, 0);
    EXPECT_EQ(s.heightType, 12);
    EXPECT_EQ(s.scale, 25.0);
    EXPECT_EQ(s.wallTransparent, 3);
    EXPECT_EQ(s.mainLineColor, -1.0);
    EXPECT_EQ(s.mainLineWidth, 0.5);
    EXPECT_EQ(s.fillColor, 4294967295.0);
    EXPECT_EQ(s.fillMode, 0);
    EXPECT_EQ(s.surroundLineColor,
              static_cast<double>(std::numeric_limits<long long>::max()));  // atoll saturates
}

TEST(ReadSymbol, FlagsAreTrueOnlyForUpperCaseTRUE) {
    struct Case {
        const char* text;
        bool expected;
    } const cases[] = {{"TRUE", true}, {"true", false},  {"True", false}, {"1", false},
                       {"", false},    {"TRUE ", false}, {" TRUE", false}};
    for (const Case& c : cases) {
        const std::string t = c.text;
        const SituationSymbol s =
            readOne("<Symbol CanSelected=\"" + t + "\" Visible=\"" + t + "\" IsSetGenAttr=\"" + t +
                    "\"><StyleAttr><Mirroring Horizontal=\"" + t + "\"/></StyleAttr></Symbol>");
        EXPECT_EQ(s.canSelected, c.expected) << t;
        EXPECT_EQ(s.visible, c.expected) << t;
        EXPECT_EQ(s.isSetGenAttr, c.expected) << t;
        EXPECT_EQ(s.mirrorHorizontal, c.expected) << t;
        EXPECT_TRUE(s.hasMirroring);
    }
}

TEST(ReadSymbol, ChildSymbolSettingsStopAtTheFirstOtherElement) {
    const SituationSymbol s = readOne(
        "<Symbol><ChildSymbols>"
        "<ChildSymbol SubSymbolHMirroring=\"1\" SubSymbolVMirroring=\"2\" SubSymbolRotate=\"10\"/>"
        "<ChildSymbol SubSymbolHMirroring=\"0\" SubSymbolVMirroring=\"1\" SubSymbolRotate=\"20\"/>"
        "<Other/><ChildSymbol SubSymbolHMirroring=\"1\" SubSymbolRotate=\"30\"/></ChildSymbols></Symbol>");
    EXPECT_EQ(s.childHMirroring, (std::vector<int>{1, 0}));
    EXPECT_EQ(s.childVMirroring, (std::vector<int>{0, 1}));
    EXPECT_EQ(s.childRotate, 20.0);
}

TEST(ReadSymbol, CombinationChildrenAreFlattenedInnerFirst) {
    const SituationSymbol s = readOne(
        "<Symbol Code=\"32,4\"><CombinationChild Count=\"5\">"
        "<Symbol Guid=\"1\"><CombinationChild Count=\"2\"><Symbol Guid=\"2\"/>"
        "<Symbol Guid=\"3\"><CombinationChild Count=\"1\"><Symbol Guid=\"4\"/></CombinationChild></Symbol>"
        "</CombinationChild></Symbol>"
        "<Other Guid=\"9\"/><Symbol Guid=\"5\"/></CombinationChild></Symbol>");
    std::vector<int> guids;
    for (const SituationSymbol& c : s.combinationChildren) {
        guids.push_back(c.guid);
        EXPECT_TRUE(c.combinationChildren.empty());
    }
    EXPECT_EQ(guids, (std::vector<int>{2, 4, 3, 1, 5}));
    EXPECT_EQ(s.combinationCount, 5);
    EXPECT_EQ(s.combinationChildren[3].combinationCount, 2);  // the child keeps its own count
}

TEST(ReadSymbol, NestedSymbolEndsTheWalkAndCountZeroReadsNothing) {
    const SituationSymbol s = readOne(
        "<Symbol><ShowRang Min=\"1\" Max=\"2\"/><Symbol Guid=\"7\"/><HalfPixelRang Min=\"3\" "
        "Max=\"4\"/></Symbol>");
    EXPECT_EQ(s.showRangMax, 2.0);
    EXPECT_EQ(s.halfPixelRangMin, 0.0);
    EXPECT_EQ(s.guid, 0);

    const SituationSymbol zero =
        readOne("<Symbol><CombinationChild Count=\"0\"><Symbol/><Symbol/></CombinationChild></Symbol>");
    EXPECT_TRUE(zero.combinationChildren.empty());
}

TEST(ReadSymbol, AvoidPointsAreReadOnlyWhenTheMarkTypeIsNotZero) {
    const std::string xml =
        "<Symbol Code=\"5,6\"><AvoidPoint X=\"1\" Y=\"2\" Z=\"3\"/><UserData Key=\"k\" Value=\"v\"/>"
        "<AvoidPoint X=\"4\" Y=\"5\" Z=\"6\"/><UserData Key=\"键\" Value=\"值\"/></Symbol>";
    for (int answer : {0, 1, -3}) {
        FakeMarks marks(answer);
        const SituationSymbol s = readOne(xml, marks);
        EXPECT_EQ(s.avoidPoints.size(), answer != 0 ? 2u : 0u) << answer;
        EXPECT_EQ(marks.questions, (std::vector<std::pair<int, int>>(2, {5, 6})));
        EXPECT_EQ(s.userDataKey, "\xE9\x94\xAE");  // UTF-8 kept byte for byte, the later one wins
        EXPECT_EQ(s.userDataValue, "\xE5\x80\xBC");
    }
}

// ---- writeSymbol -------------------------------------------------------

// Writes one record and answers its JSON object (kept alive by doc).
const rapidjson::Value& written(rapidjson::Document& doc, const SituationSymbol& s, FakeMarks& marks) {
    std::ostringstream errors;
    HQ::SituationConverter converter(marks, errors);
    doc.SetArray();
    converter.writeSymbol(doc, doc, s);
    return doc[0];
}

std::vector<std::string> keysOf(const rapidjson::Value& o) {
    std::vector<std::string> keys;
    for (auto m = o.MemberBegin(); m != o.MemberEnd(); ++m) keys.emplace_back(m->name.GetString());
    return keys;
}

TEST(WriteSymbol, OperationAndDisplayTypeNames) {
    struct Case {
        int code;
        const char* oper;
        const char* display;
    } const cases[] = {
        {0, "NONE", "NONE"},
        {1, "SELECT", "SCREEN_NOPIXEL"},
        {2, "SELECT_NOPOINT", "SCREEN_PIXEL"},
        {3, "EDIT", "STAND_NOPIXEL"},
        {7, "EDIT", "NEARGROUNG"},
        {13, "EDIT", "TARGET_HALFPIXEL"},
        {14, "EDIT", "SCREEN_HALFPIXEL"},
        {20, "EDIT", "SCREEN_HALFPIXEL"},
        {-1, "EDIT", "SCREEN_HALFPIXEL"},
    };
    for (const Case& c : cases) {
        SituationSymbol s;
        s.operType = c.code;
        s.displayType = c.code;
        FakeMarks marks;
        rapidjson::Document doc;
        const rapidjson::Value& o = written(doc, s, marks);
        EXPECT_STREQ(o["OperType"].GetString(), c.oper) << c.code;
        EXPECT_STREQ(o["DisplayType"].GetString(), c.display) << c.code;
    }
}

TEST(WriteSymbol, ColoursAreTheLow32BitsOfTheTruncatedValue) {
    const double kTwo32 = 4294967296.0;
    struct Case {
        double colour;
        unsigned expected;
    } const cases[] = {
        {kTwo32 - 65536.0, 4294901760u},
        {-1.0, 4294967295u},
        {kTwo32, 0u},
        {kTwo32 + 5.0, 5u},
        {2.9, 2u},
        {-0.5, 0u},
        {-2.5, 4294967294u},
        {1e19, 0u},
        {-9223372036854775808.0, 0u},
        {std::nan(""), 0u},
        {HUGE_VAL, 0u},
    };
    for (const Case& c : cases) {
        SituationSymbol s;
        s.mainLineColor = c.colour;
        FakeMarks marks;
        rapidjson::Document doc;
        const rapidjson::Value& o = written(doc, s, marks);
        const rapidjson::Value& colour = o["StyleAttr"][0]["MainLine"][0]["Color"];
        ASSERT_TRUE(colour.IsUint()) << c.colour;
        EXPECT_EQ(colour.GetUint(), c.expected) << c.colour;
    }
}

TEST(WriteSymbol, MemberGroupsDependOnIdentityAndMarkType) {
    struct Case {
        int libId, code, markType;
        std::vector<std::string> keys;
    } const cases[] = {
        {1,
         1,
         0,
         {"Name", "Visible", "Guid", "LibID", "Code", "CanSelected", "IsSetGenAttr", "OperType",
          "DisplayType", "GeoAttr", "StyleAttr", "TextAttr", "DotDragLine", "RangAttr"}},
        {1,
         1,
         1,
         {"Name", "Visible", "Guid", "LibID", "Code", "CanSelected", "IsSetGenAttr", "OperType",
          "DisplayType", "GeoAttr", "StyleAttr", "TextAttr", "AvoidPoints", "RangAttr"}},
        {32,
         3,
         0,
         {"Name", "Visible", "Guid", "LibID", "Code", "CanSelected", "IsSetGenAttr", "OperType",
          "DisplayType", "GeoAttr", "StyleAttr", "DedicatedText", "TextAttr", "DotDragLine", "RangAttr"}},
        {32,
         4,
         0,
         {"Name", "Visible", "Guid", "LibID", "Code", "CanSelected", "IsSetGenAttr", "OperType",
          "DisplayType", "GeoAttr", "StyleAttr", "TextAttr", "DotDragLine", "RangAttr", "CombinationChild"}},
    };
    for (const Case& c : cases) {
        SituationSymbol s;
        s.libId = c.libId;
        s.code = c.code;
        FakeMarks marks(c.markType);
        rapidjson::Document doc;
        const rapidjson::Value& o = written(doc, s, marks);
        EXPECT_EQ(keysOf(o), c.keys) << c.libId << "," << c.code << " mark type " << c.markType;
        EXPECT_EQ(o["GeoAttr"][0].HasMember("GeoScaleValue"), c.markType != 0);
        EXPECT_EQ(o["TextAttr"][0].HasMember("AnnoTextRotate"), c.markType == 0);
        // Four questions, all about this symbol.
        EXPECT_EQ(marks.questions, (std::vector<std::pair<int, int>>(4, {c.libId, c.code})));
    }
}

// Answers the mark-type questions from a script, one answer per question in
// turn (0 once the script is used up), and records them.
class ScriptedMarks : public FakeMarks {
public:
    explicit ScriptedMarks(std::vector<int> script) : m_script(std::move(script)) {}
    int markType(int libId, int code) override {
        FakeMarks::markType(libId, code);
        return m_next < m_script.size() ? m_script[m_next++] : 0;
    }

private:
    std::vector<int> m_script;
    size_t m_next = 0;
};

TEST(WriteSymbol, EachMarkTypeGroupFollowsItsOwnQuestion) {
    // The questions come in member order: "GeoScaleValue", "AnnoTextRotate",
    // "DotDragLine", "AvoidPoints".
    struct Case {
        std::vector<int> answers;
        bool scale, rotate, dragLine, avoid;
    } const cases[] = {
        {{0, 0, 0, 0}, false, true, true, false},  {{1, 1, 1, 1}, true, false, false, true},
        {{1, 0, 0, 1}, true, true, true, true},    {{0, 1, 1, 0}, false, false, false, false},
        {{0, 0, 1, 0}, false, true, false, false},
    };
    for (const Case& c : cases) {
        SituationSymbol s;
        s.libId = 9;
        s.code = 11;
        ScriptedMarks marks(c.answers);
        rapidjson::Document doc;
        const rapidjson::Value& o = written(doc, s, marks);
        SCOPED_TRACE(::testing::PrintToString(c.answers));
        EXPECT_EQ(o["GeoAttr"][0].HasMember("GeoScaleValue"), c.scale);
        EXPECT_EQ(o["TextAttr"][0].HasMember("AnnoTextRotate"), c.rotate);
        EXPECT_EQ(o.HasMember("DotDragLine"), c.dragLine);
        EXPECT_EQ(o.HasMember("AvoidPoints"), c.avoid);
    }
}

TEST(WriteSymbol, ACombinationIsAskedAboutBeforeItsChildren) {
    SituationSymbol parent;
    parent.libId = 32;
    parent.code = 4;
    parent.combinationCount = 2;
    parent.combinationChildren.resize(2);
    parent.combinationChildren[0].libId = 5;
    parent.combinationChildren[0].code = 6;
    parent.combinationChildren[1].libId = 7;
    parent.combinationChildren[1].code = 8;
    FakeMarks marks;
    rapidjson::Document doc;
    const rapidjson::Value& o = written(doc, parent, marks);
    ASSERT_EQ(o["CombinationChild"].Size(), 2u);
    std::vector<std::pair<int, int>> expected(4, {32, 4});
    expected.insert(expected.end(), 4, {5, 6});
    expected.insert(expected.end(), 4, {7, 8});
    EXPECT_EQ(marks.questions, expected);
}

TEST(WriteSymbol, MissingChildRecordsAreWrittenAsZeroEntries) {
    SituationSymbol s;
    s.childRotate = 12.5;
    s.mainLineColor = 255.0;
    SituationSymbol child;
    child.libId = 7;
    child.code = 8;
    child.mirrorHorizontal = true;
    s.combinationChildren.push_back(child);

    struct Case {
        int count;
        rapidjson::SizeType entries;
    } const cases[] = {{0, 0}, {-3, 0}, {1, 1}, {4, 4}, {2000000000, 1 + 1024}};
    for (const Case& c : cases) {
        s.combinationCount = c.count;
        FakeMarks marks;
        rapidjson::Document doc;
        const rapidjson::Value& o = written(doc, s, marks);
        if (c.entries == 0) {
            EXPECT_FALSE(o.HasMember("ChildSymbols")) << c.count;
            continue;
        }
        const rapidjson::Value& list = o["ChildSymbols"][0]["ChildSymbol"];
        ASSERT_EQ(list.Size(), c.entries) << c.count;
        EXPECT_EQ(list[0]["SubSymbolLibId"].GetInt(), 7);
        EXPECT_EQ(list[0]["SubSymbolHMirroring"].GetInt(), 1);
        const rapidjson::Value& last = list[c.entries - 1];
        if (c.entries > 1) {
            EXPECT_EQ(last["SubSymbolLibId"].GetInt(), 0);
            EXPECT_EQ(last["SubSymbolCode"].GetInt(), 0);
            EXPECT_EQ(last["SubSymbolHMirroring"].GetInt(), 0);
            EXPECT_EQ(last["SubSymbolRotate"].GetDouble(), 12.5);  // the parent's values
            EXPECT_EQ(last["SubSymbolColor"].GetUint(), 255u);
        }
    }
}

TEST(WriteSymbol, InnerTextsWithoutFontOrColourGetEmptyAndZero) {
    SituationSymbol s;
    s.innerTextIndexes = {4, 9, 2};
    s.innerTexts = {"a", "b"};
    s.innerFontFamilies = {"\xCB\xCE\xCC\xE5"};
    s.innerBackColors = {1.0, 2.0};
    s.innerTextColors = {};
    FakeMarks marks;
    rapidjson::Document doc;
    const rapidjson::Value& inner = written(doc, s, marks)["InnerTextAttr"][0];
    ASSERT_EQ(inner["InnerText"].Size(), 3u);
    const char* const texts[] = {"a", "b", ""};
    const char* const families[] = {"\xE5\xAE\x8B\xE4\xBD\x93", "", ""};  // 宋体 in UTF-8
    const unsigned backs[] = {1, 2, 0};
    for (rapidjson::SizeType k = 0; k < 3; ++k) {
        EXPECT_EQ(inner["InnerText"][k]["Index"].GetInt(),
                  static_cast<int>(k));  // positions, not the read indexes
        EXPECT_STREQ(inner["InnerText"][k]["Text"].GetString(), texts[k]);
        EXPECT_STREQ(inner["InnerFont"][k]["Family"].GetString(), families[k]);
        EXPECT_EQ(inner["InnerFont"][k]["InnerFontSize"].GetDouble(), -1.0);
        EXPECT_EQ(inner["InnerColor"][k]["Back"].GetUint(), backs[k]);
        EXPECT_EQ(inner["InnerColor"][k]["Text"].GetUint(), 0u);
    }
}

TEST(WriteSymbol, OnlyTheFirstDragLinePointIsWritten) {
    SituationSymbol s;
    s.dragLineVisible = true;
    s.dragLinePoints = {HQ::CHQ_Point3D(1, 2, 3), HQ::CHQ_Point3D(4, 5, 6), HQ::CHQ_Point3D(7, 8, 9)};
    FakeMarks marks;
    rapidjson::Document doc;
    const rapidjson::Value& drag = written(doc, s, marks)["DotDragLine"][0];
    ASSERT_EQ(drag["DotDragLinePoint"].Size(), 1u);
    EXPECT_EQ(drag["DotDragLinePoint"][0]["Y"].GetDouble(), 2.0);
}

}  // namespace

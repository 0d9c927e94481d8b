// SPDX-License-Identifier: Apache-2.0
// Documents that broke the conversion: non-finite numbers, missing
// attributes, GBK characters whose second byte is a backslash, texts without
// a UTF-8 form, and stage 2 meeting an output it cannot extend.
#include "SitconvTestSupport.h"

#include <gtest/gtest.h>
#include <rapidjson/document.h>

#include <cstdlib>
#include <cstring>

namespace {

using namespace sitconv_test;

rapidjson::Document parsed(const std::string& json) {
    rapidjson::Document doc;
    doc.Parse(json.c_str());
    return doc;
}

const rapidjson::Value& firstGroup(const rapidjson::Document& doc) {
    return doc["SITSYMBOLFILE"]["LayerGroups"][0];
}

const rapidjson::Value& firstSymbol(const rapidjson::Document& doc) {
    return firstGroup(doc)["Layers"][0]["Symbols"][0];
}

// The final output of xml, which must convert without a problem report.
std::string convertQuietly(const std::string& xml, int markType) {
    std::string errors;
    const std::string out = convert(xml, markType, &errors);
    EXPECT_EQ(errors, "");
    return out;
}

TEST(NonFiniteNumbers, AreWrittenAsNullAndReported) {
    const std::string xml = documentWithSymbols(
        "<Symbol Guid=\"1\" Code=\"1,1\" Name=\"n\"><GeoAttr><POINTS><Point X=\"inf\" Y=\"nan\" Z=\"1e999\"/>"
        "<Point X=\"1\" Y=\"2\" Z=\"3\"/></POINTS><GeoAttribute Rotate=\"-INFINITY\" "
        "Scale=\"2\"/></GeoAttr></Symbol>");
    const std::string withActions =
        xml.substr(0, xml.rfind("</SITSYMBOLFILE>")) +
        "<ACTIONGROUPS><ActionGroup GroupIndex=\"0\"><Action ActionGuid=\"1\" SymbolGuid=\"1\">"
        "<ActionAttr Type=\"9\" StartTime=\"0\" DurationTime=\"1\" IsPlayEndReset=\"TRUE\">"
        "<ActionMoveInfo MoveType=\"1\" Latitude=\"nan\" Longitude=\"3\" Heading=\"0\" Tilt=\"0\" "
        "Altitude=\"inf\"/>"
        "</ActionAttr></Action></ActionGroup></ACTIONGROUPS></SITSYMBOLFILE>\n";
    FakeMarks marks;
    std::ostringstream errors;
    HQ::SituationConverter converter(marks, errors);
    converter.setReportName("plan.xml");
    TempDir dir;
    const std::string out = convertDocument(converter, dir, withActions);

    const rapidjson::Document doc = parsed(out);
    ASSERT_FALSE(doc.HasParseError()) << out;
    const rapidjson::Value& symbol = firstSymbol(doc);
    const rapidjson::Value& p0 = symbol["GeoAttr"][0]["POINTS"][0]["Point"][0];
    EXPECT_TRUE(p0["X"].IsNull());
    EXPECT_TRUE(p0["Y"].IsNull());
    EXPECT_TRUE(p0["Z"].IsNull());
    EXPECT_EQ(symbol["GeoAttr"][0]["POINTS"][0]["Point"][1]["Z"].GetDouble(), 3.0);
    EXPECT_TRUE(symbol["GeoAttr"][0]["GeoAttribute"][0]["Rotate"].IsNull());
    EXPECT_EQ(symbol["GeoAttr"][0]["GeoAttribute"][0]["Scale"].GetDouble(), 2.0);
    // Every member after the bad numbers is still there.
    EXPECT_TRUE(symbol.HasMember("RangAttr"));
    const rapidjson::Value& move =
        doc["ACTIONGROUPS"]["ActionGroups"][0]["Actions"][0]["ActionAttr"]["ActionMoveInfo"];
    EXPECT_TRUE(move["Latitude"].IsNull());
    EXPECT_EQ(move["Longitude"].GetDouble(), 3.0);
    EXPECT_TRUE(move["Altitude"].IsNull());

    // Four in stage 1, two in stage 2 (stage 1's nulls are not counted again).
    EXPECT_EQ(converter.problemCount(), 6);
    const std::string e = errors.str();
    EXPECT_NE(e.find("sitconv: plan.xml: non-finite number in \"X\" written as null"), std::string::npos)
        << e;
    EXPECT_NE(e.find("\"Rotate\""), std::string::npos) << e;
    EXPECT_NE(e.find("\"Latitude\""), std::string::npos) << e;
}

TEST(MissingAttributes, ReadAsEmptyTexts) {
    // Every element the readers know, without a single attribute.
    const std::string xml =
        "<SITSYMBOLFILE><LAYGROUPS><LayerGroup><LAYERS><Layer><SYMBOLS>"
        "<Symbol><GeoAttr><POINTS><Point/></POINTS><GeoAttribute/></GeoAttr>"
        "<StyleAttr><MainLine/><SurroundLine/><Fill/><Mirroring/></StyleAttr>"
        "<AnnoTextAttr><AnnoFont/><AnnoFontEffect/><AnnoColor/><AnnoPosType/><AnnoTextRotate/></AnnoTextAttr>"
        "<DotDragLine><DotDragLinePoint/></DotDragLine><InnerTextAttr><InnerText/><InnerFont/><InnerColor/></"
        "InnerTextAttr>"
        "<DedicatedText/><AvoidPoint/><UserData/><ChildSymbols><ChildSymbol/></ChildSymbols><ShowRang/"
        "><HalfPixelRang/>"
        "<CombinationChild/></Symbol>"
        "</SYMBOLS></Layer></LAYERS></LayerGroup></LAYGROUPS>"
        "<ACTIONGROUPS><ActionGroup><Action><ActionAttr/></Action></ActionGroup></ACTIONGROUPS></"
        "SITSYMBOLFILE>";
    const std::string out = convertQuietly(xml, 1);
    const rapidjson::Document doc = parsed(out);
    ASSERT_FALSE(doc.HasParseError()) << out;
    const rapidjson::Value& group = firstGroup(doc);
    EXPECT_STREQ(group["LayerGroup Name"].GetString(), "");
    EXPECT_FALSE(group["Visible"].GetBool());
    const rapidjson::Value& symbol = firstSymbol(doc);
    EXPECT_EQ(symbol["Guid"].GetInt(), 0);
    EXPECT_EQ(symbol["GeoAttr"][0]["POINTS"][0]["POINTS Count"].GetUint64(), 1u);
    EXPECT_EQ(symbol["AvoidPoints"][0]["AvoidPoint"].Size(), 1u);
    EXPECT_STREQ(symbol["TextAttr"][0]["AnnoFont"][0]["Family"].GetString(), "");
    const rapidjson::Value& action = doc["ACTIONGROUPS"]["ActionGroups"][0]["Actions"][0];
    EXPECT_EQ(action["ActionAttr"]["Type"].GetInt(), 0);
    EXPECT_FALSE(action["ActionAttr"]["IsPlayEndReset"].GetBool());
}

// In GBK these characters end in the byte 0x5C, the code of the backslash.
TEST(BackslashTrailBytes, CharactersComeOutWhole) {
    struct Case {
        const char* utf8;
    } const cases[] = {
        {"\xE8\xAA\xA0"},                       // 誠 (GBK D5 5C)
        {"\xE8\xAC\x80"},                       // 謀 (GBK D6 5C)
        {"\xE8\xAA\xA0\xE8\xAC\x80 \\ \"x\""},  // both, then a real backslash and quotes
        {"\xE4\xB9\x97\xE4\xBF\x93"},           // 乗俓 (GBK 81 5C, 82 5C)
    };
    for (const Case& c : cases) {
        const std::string text = c.utf8;
        std::string escaped;  // as an XML attribute value
        for (char ch : text) escaped += ch == '"' ? std::string("&quot;") : std::string(1, ch);
        const std::string xml =
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?><SITSYMBOLFILE><LAYGROUPS>"
            "<LayerGroup Describe=\"" +
            escaped + "\" Visible=\"TRUE\" Name=\"" + escaped +
            "\"><LAYERS>"
            "<Layer Name=\"" +
            escaped +
            "\" Describe=\"\" Visible=\"TRUE\"><SYMBOLS>"
            "<Symbol Code=\"32,3\" Name=\"" +
            escaped + "\"><AnnoTextAttr Text=\"" + escaped +
            "\"/>"
            "<DedicatedText Text=\"" +
            escaped + "\"/><InnerTextAttr><InnerText Text=\"" + escaped +
            "\"/>"
            "</InnerTextAttr></Symbol></SYMBOLS></Layer></LAYERS></LayerGroup></LAYGROUPS></SITSYMBOLFILE>";
        const std::string out = convertQuietly(xml, 0);
        const rapidjson::Document doc = parsed(out);
        ASSERT_FALSE(doc.HasParseError()) << out;
        const rapidjson::Value& group = firstGroup(doc);
        EXPECT_EQ(group["LayerGroup Name"].GetString(), text);
        EXPECT_EQ(group["Describe"].GetString(), text);
        EXPECT_EQ(group["Layers"][0]["Name"].GetString(), text);
        const rapidjson::Value& symbol = firstSymbol(doc);
        EXPECT_EQ(symbol["Name"].GetString(), text);
        EXPECT_EQ(symbol["TextAttr"][0]["Text"].GetString(), text);
        EXPECT_EQ(symbol["DedicatedText"][0]["Text"].GetString(), text);
        EXPECT_EQ(symbol["InnerTextAttr"][0]["InnerText"][0]["Text"].GetString(), text);
    }
}

TEST(CodePage, TextsWithoutAGbkFormBecomeEmpty) {
    // 😀 has no GBK form; é has one.
    const std::string out = convert(documentWithSymbols(
        "<Symbol Name=\"a\xF0\x9F\x98\x80\"><AnnoTextAttr Text=\"caf\xC3\xA9\"/></Symbol>"));
    const rapidjson::Document doc = parsed(out);
    ASSERT_FALSE(doc.HasParseError()) << out;
    EXPECT_STREQ(firstSymbol(doc)["Name"].GetString(), "");
    EXPECT_STREQ(firstSymbol(doc)["TextAttr"][0]["Text"].GetString(), "caf\xC3\xA9");
}

// Runs with another locale for the code-page conversions, restoring it after.
class LocaleOverride {
public:
    explicit LocaleOverride(const char* name) {
        const char* old = std::getenv("LC_ALL");
        m_had = old != nullptr;
        if (m_had) m_old = old;
        ::setenv("LC_ALL", name, 1);
    }
    ~LocaleOverride() {
        if (m_had) {
            ::setenv("LC_ALL", m_old.c_str(), 1);
        } else {
            ::unsetenv("LC_ALL");
        }
    }

private:
    bool m_had = false;
    std::string m_old;
};

TEST(CodePage, ATextWithoutUtf8FormIsReportedNotAnEmptyFile) {
    // Under a UTF-8 locale the replacement family (GBK bytes) is not valid
    // local text, so it has no UTF-8 form.
    std::string errors, out;
    {
        LocaleOverride utf8("C.utf8");
        FakeMarks marks;
        std::ostringstream err;
        HQ::SituationConverter converter(marks, err);
        converter.setReportName("fonts.xml");
        TempDir dir;
        out = convertDocument(converter, dir,
                              documentWithSymbols("<Symbol Name=\"n\"><AnnoTextAttr Text=\"t\">"
                                                  "<AnnoFont Family=\"Arial\"/></AnnoTextAttr></Symbol>"));
        errors = err.str();
        EXPECT_EQ(converter.problemCount(), 1);
    }
    const rapidjson::Document doc = parsed(out);
    ASSERT_FALSE(doc.HasParseError()) << out;
    EXPECT_STREQ(firstSymbol(doc)["Name"].GetString(), "n");
    EXPECT_STREQ(firstSymbol(doc)["TextAttr"][0]["AnnoFont"][0]["Family"].GetString(), "");
    EXPECT_NE(errors.find("sitconv: fonts.xml: 1 text(s) without a UTF-8 form written empty"),
              std::string::npos)
        << errors;
}

TEST(CutDocuments, ConvertWithoutReadingPastTheText) {
    // Cut inside a multibyte character: the XML reader used to step over the
    // end of the text there.
    const std::string full =
        documentWithSymbols("<Symbol Name=\"\xE8\xAA\xA0&amp;\xE8\xAC\x80\" Guid=\"1\"/>");
    const char* const cuts[] = {"\xE8\xAA\xA0&amp;\xE8", "\xE8\xAA\xA0&amp;\xE8\xAC", "\xE8\xAA\xA0&am"};
    for (const char* cut : cuts) {
        const std::string text = full.substr(0, full.find(cut) + std::strlen(cut));
        const std::string out = convert(text);
        const rapidjson::Document doc = parsed(out);
        ASSERT_FALSE(doc.HasParseError()) << out;
        EXPECT_TRUE(doc["SITSYMBOLFILE"]["LayerGroups"].IsArray());
        EXPECT_EQ(doc["ACTIONGROUPS"]["ActionGroupCount"].GetInt(), 0);
    }
}

TEST(StageTwo, LeavesAnOutputItCannotExtendAndReportsIt) {
    struct Case {
        const char* name;
        const char* output;  // nullptr: no output file
    } const cases[] = {
        {"missing", nullptr},
        {"not JSON", "{\"SITSYMBOLFILE\":{\"LayerGroups\":[\n"},
        {"not an object", "[1,2]\n"},
        {"no SITSYMBOLFILE", "{\"Other\":1}\n"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        writeFile(dir / "in.xml", "<SITSYMBOLFILE/>");
        if (c.output != nullptr) writeFile(dir / "out.xml", c.output);
        FakeMarks marks;
        std::ostringstream errors;
        HQ::SituationConverter converter(marks, errors);
        converter.convertActionGroups(dir / "in.xml", dir / "out.xml");
        EXPECT_EQ(converter.problemCount(), 1) << c.name;
        EXPECT_NE(errors.str().find("action groups not added"), std::string::npos) << c.name;
        if (c.output != nullptr) {
            EXPECT_EQ(readFile(dir / "out.xml"), c.output) << c.name;
        } else {
            EXPECT_FALSE(fileExists(dir / "out.xml"));
        }
    }
}

TEST(StageTwo, RootWithoutActionGroupsGivesAnEmptyList) {
    struct Case {
        const char* xml;
        int groups;
    } const cases[] = {
        {"<SITSYMBOLFILE><LAYGROUPS/></SITSYMBOLFILE>", 0},
        {"<SITSYMBOLFILE><LAYGROUPS/><ACTIONGROUPS/></SITSYMBOLFILE>", 0},
        {"<OTHER><ACTIONGROUPS><ActionGroup/></ACTIONGROUPS></OTHER>", 0},
        {"<SITSYMBOLFILE><ACTIONGROUPS><ActionGroup/><ActionGroup/></ACTIONGROUPS></SITSYMBOLFILE>", 2},
    };
    for (const Case& c : cases) {
        const rapidjson::Document doc = parsed(convert(c.xml));
        ASSERT_TRUE(doc.IsObject()) << c.xml;
        EXPECT_EQ(doc["ACTIONGROUPS"]["ActionGroupCount"].GetInt(), c.groups) << c.xml;
        EXPECT_EQ(doc["ACTIONGROUPS"]["ActionGroups"].Size(), static_cast<rapidjson::SizeType>(c.groups));
    }
}

TEST(StageOne, AnOutputThatCannotBeCreatedIsReported) {
    TempDir dir;
    FakeMarks marks;
    std::ostringstream errors;
    HQ::SituationConverter converter(marks, errors);
    EXPECT_EQ(converter.convertLayers(dir / "no/such/folder/out.xml", "<SITSYMBOLFILE/>"), -1);
    EXPECT_EQ(converter.problemCount(), 1);
    EXPECT_NE(errors.str().find("cannot create"), std::string::npos);
}

}  // namespace

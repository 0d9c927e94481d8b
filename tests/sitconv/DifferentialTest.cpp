// SPDX-License-Identifier: Apache-2.0
// The one-pass converter against the two-stage converter it replaced (kept in
// legacy/): generated documents with random layer trees, symbols, action
// groups, awkward numbers and texts must give the same JSON and GeoJSON bytes,
// the same problem reports and the same counts. The only difference allowed
// is the report of a document that is not well-formed XML, which the
// two-stage converter did not make.
#include "SitconvTestSupport.h"
#include "legacy/LegacySituationConverter.h"

#include "FileConversion.h"

#include <sitconv/Batch.h>

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <random>
#include <sstream>

namespace {

using namespace sitconv_test;

// Numbers where writing, reading back and writing again is not an identity,
// and texts that the C conversions read in unusual ways.
const char* const kAwkwardNumbers[] = {"1e300",
                                       "-0.0",
                                       "0.1",
                                       "4.9e-324",
                                       "2.2250738585072014e-308",
                                       "1.7976931348623157e308",
                                       "1e308",
                                       "8.98846567431158e307",
                                       "1.7976931348623157e307",
                                       "0.30000000000000004",
                                       "123456789012345678",
                                       "1e21",
                                       "1e22",
                                       "9007199254740993",
                                       "-1e-5",
                                       "5e-310",
                                       "inf",
                                       "-inf",
                                       "nan",
                                       "1e999",
                                       "abc",
                                       "",
                                       "  12",
                                       "0x1A",
                                       "3.14159265358979323846",
                                       "-2147483649",
                                       "4294967296",
                                       "1e-320",
                                       "2.5e-308",
                                       "0.000001",
                                       "1e15",
                                       "123456.789e3",
                                       "7.0e-10",
                                       "6.02214076e23",
                                       "-9.999999999999999e22"};

const char* const kColours[] = {"4294967295", "-1",   "18446744073709551616", "1e20", "4278190335",
                                "255",        "-0.5", "9223372036854775807",  "abc",  "4294901760"};

// UTF-8 texts: plain, GBK-representable, without a GBK form (emoji, some
// symbols), GBK characters whose second byte is a backslash, markup and
// control characters (as character references).
const char* const kTexts[] = {"",
                              "plain",
                              "\xE7\xBA\xA2\xE6\x96\xB9",  // 红方
                              "\xF0\x9F\x98\x80 smile",
                              "\xE2\x82\xAC",              // emoji, euro sign
                              "\xE8\xA1\xA8\xE5\xB7\xA5",  // 表工: second GBK byte 0x5C
                              "a&amp;b&lt;c&gt;&quot;d&apos;",
                              "&#x1;&#x1F;tab&#9;nl&#10;",
                              "back\\slash &quot;quote&quot;",
                              "\xE9\xBB\x91\xE4\xBD\x93",  // 黑体
                              "\xE5\xAE\x8B\xE4\xBD\x93",  // 宋体
                              "Arial",
                              "\xE3\x81\x82\xED\x95\x9C",  // hiragana a, hangul han
                              "\xC3\xA9t\xC3\xA9",
                              "/slash/",
                              "\357\273\277bom"};  // a byte-order mark, then text

const char* const kFlags[] = {"TRUE", "true", "", "FALSE", "1"};
const char* const kCodes[] = {"32,3", "32,4", "1,1", "7", "32,4,9", "abc,5", "-3,2", ""};
const char* const kOperTypes[] = {"NONE", "SELECT", "SELECT_NOPOINT", "EDIT", "edit", ""};
const char* const kDisplayTypes[] = {"NONE", "NEARGROUNG", "TARGET_HALFPIXEL", "LIE_PIXEL", "bogus"};

// Every attribute the readers know, with the kind of value they expect.
enum Kind { kNumber, kColour, kText, kFlag, kCode, kOper, kDisplay, kSmallInt };
struct AttrName {
    const char* name;
    Kind kind;
};
const AttrName kAttrs[] = {{"Guid", kSmallInt},
                           {"Code", kCode},
                           {"CanSelected", kFlag},
                           {"OperType", kOper},
                           {"Name", kText},
                           {"IsSetGenAttr", kFlag},
                           {"Visible", kFlag},
                           {"DisplayType", kDisplay},
                           {"X", kNumber},
                           {"Y", kNumber},
                           {"Z", kNumber},
                           {"HeightType", kSmallInt},
                           {"Scale", kNumber},
                           {"FloatHeight3D", kNumber},
                           {"Thickness3D", kNumber},
                           {"WallTransparent", kSmallInt},
                           {"Rotate", kNumber},
                           {"ISVisibleDragLine", kFlag},
                           {"LineType", kSmallInt},
                           {"DashLineLength", kSmallInt},
                           {"DashLineInterval", kSmallInt},
                           {"Color", kColour},
                           {"Width", kNumber},
                           {"Type", kSmallInt},
                           {"Mode", kSmallInt},
                           {"Horizontal", kFlag},
                           {"Vertical", kFlag},
                           {"Text", kText},
                           {"Family", kText},
                           {"Height", kNumber},
                           {"Italic", kFlag},
                           {"Bold", kFlag},
                           {"Back", kColour},
                           {"PosType", kSmallInt},
                           {"DragLineVisble", kFlag},
                           {"Index", kSmallInt},
                           {"TextFont", kText},
                           {"BackColor", kColour},
                           {"Key", kText},
                           {"Value", kText},
                           {"SubSymbolHMirroring", kSmallInt},
                           {"SubSymbolVMirroring", kSmallInt},
                           {"SubSymbolRotate", kNumber},
                           {"Min", kNumber},
                           {"Max", kNumber},
                           {"Count", kSmallInt},
                           {"Describe", kText},
                           {"IsLayerActive", kFlag}};

const char* const kSymbolChildren[] = {"GeoAttr",       "StyleAttr",     "AnnoTextAttr",  "DotDragLine",
                                       "InnerTextAttr", "DedicatedText", "AvoidPoint",    "UserData",
                                       "ChildSymbols",  "ShowRang",      "HalfPixelRang", "CombinationChild",
                                       "LabelText",     "Other"};
// Children of the symbol's own children.
const char* const kGrandChildren[] = {
    "POINTS",    "Point",     "GeoAttribute",   "MainLine",    "SurroundLine", "Fill",
    "Mirroring", "AnnoFont",  "AnnoFontEffect", "AnnoColor",   "AnnoPosType",  "DotDragLinePoint",
    "InnerText", "InnerFont", "InnerColor",     "ChildSymbol", "Symbol"};

class Generator {
public:
    explicit Generator(unsigned seed) : m_rng(seed) {}

    std::string document() {
        std::ostringstream x;
        if (chance(0.8)) x << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
        const bool oddRoot = chance(0.03);
        x << (oddRoot ? "<OTHER>" : "<SITSYMBOLFILE>");
        if (chance(0.05)) x << "<Intro/>";
        if (chance(0.95)) {
            x << "<LAYGROUPS>";
            const int groups = pick(4);
            for (int g = 0; g < groups; ++g) group(x);
            x << "</LAYGROUPS>";
        }
        if (chance(0.7)) actionGroups(x);
        x << (oddRoot ? "</OTHER>" : "</SITSYMBOLFILE>") << "\n";
        std::string text = x.str();
        // Some documents are cut short or damaged.
        if (chance(0.04)) text.resize(static_cast<size_t>(pick(static_cast<int>(text.size()) + 1)));
        if (chance(0.02) && !text.empty())
            text[static_cast<size_t>(pick(static_cast<int>(text.size())))] = '<';
        return text;
    }

private:
    bool chance(double p) { return std::uniform_real_distribution<double>(0.0, 1.0)(m_rng) < p; }
    int pick(int n) { return n <= 0 ? 0 : std::uniform_int_distribution<int>(0, n - 1)(m_rng); }
    template <typename T, size_t N>
    const T& any(const T (&list)[N]) {
        return list[pick(static_cast<int>(N))];
    }

    std::string number() {
        switch (pick(4)) {
            case 0:
                return any(kAwkwardNumbers);
            case 1: {
                // Random doubles in full precision, across the exponent range.
                const double m = std::uniform_real_distribution<double>(-1.0, 1.0)(m_rng);
                const int e = std::uniform_int_distribution<int>(-320, 308)(m_rng);
                char text[40];
                std::snprintf(text, sizeof(text), "%.17g", m * std::pow(10.0, e));
                return text;
            }
            case 2: {
                char text[40];
                std::snprintf(text, sizeof(text), "%.*f", pick(8),
                              std::uniform_real_distribution<double>(-180.0, 180.0)(m_rng));
                return text;
            }
            default:
                return std::to_string(pick(100000) - 50000);
        }
    }

    std::string value(Kind kind) {
        switch (kind) {
            case kNumber:
                return number();
            case kColour:
                return chance(0.5) ? any(kColours) : number();
            case kText:
                return any(kTexts);
            case kFlag:
                return any(kFlags);
            case kCode:
                return any(kCodes);
            case kOper:
                return any(kOperTypes);
            case kDisplay:
                return any(kDisplayTypes);
            case kSmallInt:
            default:
                return chance(0.1) ? number() : std::to_string(pick(12) - 2);
        }
    }

    // Random attributes, without repeating a name.
    void attributes(std::ostringstream& x, int count) {
        std::vector<bool> used(sizeof(kAttrs) / sizeof(kAttrs[0]), false);
        for (int i = 0; i < count; ++i) {
            const int k = pick(static_cast<int>(used.size()));
            if (used[static_cast<size_t>(k)]) continue;
            used[static_cast<size_t>(k)] = true;
            x << ' ' << kAttrs[k].name << "=\"" << value(kAttrs[k].kind) << '"';
        }
    }

    void element(std::ostringstream& x, const char* name, int attrs, int depth) {
        x << '<' << name;
        attributes(x, attrs);
        if (depth <= 0 || chance(0.3)) {
            x << "/>";
            return;
        }
        x << '>';
        const int children = pick(3);
        for (int i = 0; i < children; ++i) {
            if (depth >= 1 && chance(0.15)) {
                symbol(x, depth - 1);
            } else {
                element(x, any(kGrandChildren), pick(8), depth - 1);
            }
        }
        x << "</" << name << '>';
    }

    // A symbol with the elements and attributes the reader looks for.
    void wellFormedSymbol(std::ostringstream& x) {
        x << "<Symbol Guid=\"" << value(kSmallInt) << "\" Code=\"" << any(kCodes) << "\" CanSelected=\""
          << any(kFlags) << "\" OperType=\"" << any(kOperTypes) << "\" Name=\"" << any(kTexts)
          << "\" Visible=\"" << any(kFlags) << "\" DisplayType=\"" << any(kDisplayTypes)
          << "\"><GeoAttr><POINTS>";
        for (int p = pick(4); p > 0; --p) point(x, "Point");
        x << "</POINTS><GeoAttribute HeightType=\"" << value(kSmallInt) << "\" Scale=\"" << number()
          << "\" FloatHeight3D=\"" << number() << "\" Thickness3D=\"" << number() << "\" WallTransparent=\""
          << value(kSmallInt) << "\" Rotate=\"" << number() << "\"/></GeoAttr>";
        x << "<StyleAttr DisplayType=\"1\" LineType=\"" << (chance(0.5) ? 2 : 1) << "\" DashLineLength=\""
          << value(kSmallInt) << "\" DashLineInterval=\"" << value(kSmallInt) << "\"><MainLine Color=\""
          << value(kColour) << "\" Width=\"" << number() << "\"/><SurroundLine Type=\"1\" Color=\""
          << value(kColour) << "\" Width=\"" << number() << "\"/><Fill Color=\"" << value(kColour)
          << "\" Mode=\"" << pick(3) << "\"/></StyleAttr>";
        x << "<AnnoTextAttr Text=\"" << any(kTexts) << "\" Visible=\"TRUE\"><AnnoFont Family=\""
          << any(kTexts) << "\" Width=\"" << number() << "\" Height=\"" << number()
          << "\"/><AnnoColor Back=\"" << value(kColour) << "\" Text=\"" << value(kColour)
          << "\"/></AnnoTextAttr>";
        if (chance(0.5)) {
            x << "<InnerTextAttr><InnerText Index=\"0\" Text=\"" << any(kTexts) << "\"/><InnerFont Family=\""
              << any(kTexts) << "\"/><InnerColor Back=\"" << value(kColour) << "\" Text=\"" << value(kColour)
              << "\"/></InnerTextAttr>";
        }
        if (chance(0.5)) {
            x << "<DotDragLine DragLineVisble=\"TRUE\">";
            point(x, "DotDragLinePoint");
            x << "</DotDragLine>";
        }
        if (chance(0.5)) point(x, "AvoidPoint");
        if (chance(0.3)) {
            x << "<DedicatedText Text=\"" << any(kTexts) << "\" TextFont=\"" << any(kTexts)
              << "\" BackColor=\"" << value(kColour) << "\"/>";
        }
        if (chance(0.3)) {
            x << "<ChildSymbols><ChildSymbol SubSymbolHMirroring=\"1\" SubSymbolRotate=\"" << number()
              << "\"/></ChildSymbols><CombinationChild Count=\"" << pick(4) << "\">";
            for (int c = pick(3); c > 0; --c) wellFormedSymbol(x);
            x << "</CombinationChild>";
        }
        x << "</Symbol>";
    }

    void point(std::ostringstream& x, const char* name) {
        x << '<' << name << " X=\"" << number() << "\" Y=\"" << number() << "\" Z=\"" << number() << "\"/>";
    }

    void symbol(std::ostringstream& x, int depth) {
        if (chance(0.7)) {
            wellFormedSymbol(x);
            return;
        }
        x << "<Symbol";
        attributes(x, 4 + pick(10));
        x << '>';
        const int children = pick(7);
        for (int i = 0; i < children; ++i) {
            const char* name = any(kSymbolChildren);
            if (std::string(name) == "CombinationChild" && depth > 0) {
                x << "<CombinationChild Count=\"" << pick(5) << "\">";
                for (int c = pick(3); c > 0; --c) symbol(x, depth - 1);
                x << "</CombinationChild>";
            } else {
                element(x, name, pick(8), depth > 1 ? 1 : depth);
            }
        }
        x << "</Symbol>";
    }

    void layer(std::ostringstream& x) {
        x << "<Layer Name=\"" << any(kTexts) << "\" Describe=\"" << any(kTexts) << "\" Visible=\""
          << any(kFlags) << '"';
        if (chance(0.5)) x << " IsLayerActive=\"" << any(kFlags) << '"';
        x << '>';
        if (chance(0.05)) layer(x);  // a nested layer ends the group's layers
        x << "<SYMBOLS>";
        for (int s = pick(6); s > 0; --s) {
            if (chance(0.05)) x << "<NotASymbol/>";
            symbol(x, 3);
        }
        x << "</SYMBOLS></Layer>";
    }

    void group(std::ostringstream& x) {
        x << "<LayerGroup Describe=\"" << any(kTexts) << "\" Visible=\"" << any(kFlags) << "\" Name=\""
          << any(kTexts) << "\">";
        if (chance(0.04)) group(x);  // a nested group ends the list of groups
        if (chance(0.9)) {
            x << "<LAYERS>";
            for (int l = pick(4); l > 0; --l) layer(x);
            x << "</LAYERS>";
        }
        x << "</LayerGroup>";
    }

    void actionGroups(std::ostringstream& x) {
        x << "<ACTIONGROUPS>";
        for (int g = pick(4); g > 0; --g) {
            x << "<ActionGroup GroupIndex=\"" << value(kSmallInt) << "\">";
            for (int a = pick(5); a > 0; --a) {
                x << "<Action ActionGuid=\"" << value(kSmallInt) << "\" SymbolGuid=\"" << number() << "\">";
                if (chance(0.9)) {
                    const int type = chance(0.8) ? (1 + pick(9)) : pick(30) - 5;
                    x << "<ActionAttr Type=\"" << type << "\" StartTime=\"" << number()
                      << "\" DurationTime=\"" << value(kSmallInt) << "\" IsPlayEndReset=\"" << any(kFlags)
                      << "\">";
                    for (int c = pick(5); c > 0; --c) {
                        switch (pick(6)) {
                            case 0:
                                x << "<ActionBlinkInterval BlinkInterval=\"" << number() << "\"/>";
                                break;
                            case 1:
                                x << "<ActionRotateType RotateType=\"" << value(kSmallInt) << "\"/>";
                                break;
                            case 2:
                                x << "<ActionRouteBindGuid RouteBindGuid=\"" << number() << "\"/>";
                                break;
                            case 3:
                                x << "<ActionVisibleRoute IsVisibleRoute=\"" << any(kFlags) << "\"/>";
                                break;
                            case 4:
                                x << "<ActionRotateRoute RotateCorrect=\"" << number() << "\"/>";
                                break;
                            default:
                                x << "<ActionMoveInfo MoveType=\"" << value(kSmallInt) << "\" Latitude=\""
                                  << number() << "\" Longitude=\"" << number() << "\" Heading=\"" << number()
                                  << "\" Tilt=\"" << number() << "\" Altitude=\"" << number() << "\"/>";
                        }
                    }
                    x << "</ActionAttr>";
                } else {
                    x << "<Other/>";
                }
                x << "</Action>";
            }
            if (chance(0.1)) x << "text between";
            x << "</ActionGroup>";
        }
        x << "</ACTIONGROUPS>";
    }

    std::mt19937 m_rng;
};

// The lines of messages, without those naming a document that is not
// well-formed; count is set to how many such lines there were.
std::string withoutWellFormednessReports(const std::string& messages, int& count) {
    std::istringstream in(messages);
    std::string line, kept;
    count = 0;
    while (std::getline(in, line)) {
        if (line.find(": not well-formed XML: ") != std::string::npos) {
            ++count;
            continue;
        }
        kept += line + "\n";
    }
    return kept;
}

bool hasXmlError(const std::string& text) {
    std::string padded = text;
    padded.append(8, '\0');
    TiXmlDocument doc;
    doc.Parse(padded.c_str(), nullptr, TIXML_ENCODING_UNKNOWN);
    return doc.Error();
}

struct Outputs {
    HQ::FileResult result;
    std::string json, geoJson;
};

Outputs collect(HQ::FileResult r) {
    Outputs o;
    if (!r.jsonTemporary.empty()) o.json = readFile(r.jsonTemporary);
    if (!r.geoJsonTemporary.empty()) o.geoJson = readFile(r.geoJsonTemporary);
    for (const std::string& t : {r.jsonTemporary, r.geoJsonTemporary}) {
        if (!t.empty()) std::remove(t.c_str());
    }
    o.result = std::move(r);
    return o;
}

TEST(Differential, OnePassGivesTheBytesOfTheTwoStages) {
    const int kDocuments = 2000;
    Generator generator(20240917u);
    TempDir dir;
    HQ::ConversionSettings settings;
    settings.outputFolder = dir / "out";
    settings.formats = HQ::kJsonOutput | HQ::kGeoJsonOutput;
    ASSERT_EQ(std::system(("mkdir -p '" + settings.outputFolder + "'").c_str()), 0);

    int withErrors = 0, withProblems = 0, unconverted = 0;
    size_t bytes = 0;
    for (int i = 0; i < kDocuments; ++i) {
        const std::string xml = generator.document();
        HQ::FileTask task;
        task.input = dir / ("doc" + std::to_string(i) + ".xml");
        task.jsonOutput = settings.outputFolder + "/doc.xml";
        task.geoJsonOutput = settings.outputFolder + "/doc.geojson";
        std::ofstream(task.input, std::ios::binary) << xml;
        FakeMarks oldMarks(i % 3 == 0 ? 1 : 0), newMarks(i % 3 == 0 ? 1 : 0);

        const Outputs before = collect(HQ::legacy::convertFile(task, settings, oldMarks));
        const Outputs after = collect(HQ::convertFile(task, settings, newMarks));
        std::remove(task.input.c_str());

        int reports = 0;
        const std::string messages = withoutWellFormednessReports(after.result.messages, reports);
        const bool broken = hasXmlError(xml);
        SCOPED_TRACE("document " + std::to_string(i) + ":\n" + xml);
        ASSERT_EQ(after.json, before.json);
        ASSERT_EQ(after.geoJson, before.geoJson);
        ASSERT_EQ(messages, before.result.messages);
        ASSERT_EQ(reports, broken ? 1 : 0);
        ASSERT_EQ(after.result.problems, before.result.problems + reports);
        ASSERT_EQ(after.result.readable, before.result.readable);
        ASSERT_EQ(newMarks.questions, oldMarks.questions);
        bytes += xml.size();
        withErrors += broken ? 1 : 0;
        withProblems += before.result.problems > 0 ? 1 : 0;
        unconverted += before.json.empty() ? 1 : 0;
    }
    std::cout << kDocuments << " documents, " << bytes / 1024 << " KiB, " << withErrors
              << " not well-formed, " << withProblems << " with problem reports\n";
    // The generator reaches the cases it is for.
    EXPECT_GT(withErrors, 20);
    EXPECT_GT(withProblems, kDocuments / 10);
    EXPECT_LT(unconverted, kDocuments / 10);
}

}  // namespace

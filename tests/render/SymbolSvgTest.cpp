// SPDX-License-Identifier: Apache-2.0
// The SVG renderer: structure and numbers of the document per unit kind,
// styling, text encoding and escaping, pictures, view box rules, threads.
#include "SvgTestSupport.h"

#include <markstore/Symbol.h>
#include <markstore/SymbolSvg.h>
#include <markstore/SymbolUnitKinds.h>

#include <gtest/gtest.h>

#include <cmath>
#include <algorithm>
#include <cstring>
#include <thread>

using namespace HQ;

namespace {

CHQGS_SymbolCommAttr* Comm(int minX, int minY, int maxX, int maxY, const std::string& name = "mark") {
    auto* a = new CHQGS_SymbolCommAttr();
    a->ID = 7, a->LibID = 3, a->PID = 0, a->MarkName = name;
    a->ConnectId = 0, a->ConnectLibID = 0, a->Mirror = 0, a->PosX = 0, a->PosY = 0, a->UnknownS = 0;
    a->TextNum = 0, a->Heading = 0, a->MarkType = 0, a->ExtraInt1 = 0, a->ExtraInt2 = 0;
    // As the store answers them: MinY and MaxY negated.
    a->MinX = minX, a->MinY = -minY, a->MaxX = maxX, a->MaxY = -maxY;
    return a;
}

CHQGS_SymbolUnitAttr Attr(std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a, double width) {
    CHQGS_SymbolUnitAttr attr;
    const std::uint8_t c[4] = {r, g, b, a};
    std::memcpy(attr.LineColor, c, 4);
    std::memcpy(attr.OutlineColor, c, 4);
    std::memcpy(attr.FillColor, c, 4);
    attr.LineWidth = width;
    return attr;
}

CHQGS_SymbolUnitLine* Line(const std::vector<CHQ_Point2D>& pts, CHQGS_SymbolUnitAttr attr) {
    auto* u = new CHQGS_SymbolUnitLine(attr, {});
    u->SetVectexs(pts);
    u->Init();
    return u;
}

std::unique_ptr<TiXmlDocument> Render(const CHQGS_Symbol& s, SvgOptions options = SvgOptions()) {
    auto doc = ParseSvg(RenderSymbolSvg(s, options));
    EXPECT_NE(doc, nullptr) << RenderSymbolSvg(s, options);
    return doc;
}

void ExpectSamePoints(const std::vector<CHQ_Point2D>& model, const std::vector<SvgPoint>& drawn) {
    ASSERT_EQ(model.size(), drawn.size());
    for (std::size_t i = 0; i < model.size(); ++i) {
        EXPECT_DOUBLE_EQ(model[i].x, drawn[i].x) << i;
        EXPECT_DOUBLE_EQ(model[i].y, drawn[i].y) << i;
    }
}

}  // namespace

// Every geometric kind draws exactly the real points its Init computed, and
// closes the path when the kind or IsClose says so.
TEST(SymbolSvg, GeometricUnitsDrawTheModelsSampledOutline) {
    struct Case {
        const char* kind;
        CHQGS_SymbolUnit* unit;
        int closes;
    };
    CHQGS_SymbolUnitAttr open = Attr(0, 0, 255, 255, 2);
    CHQGS_SymbolUnitAttr closed = open;
    closed.IsClose = true;
    const std::vector<CHQ_Point2D> box = {{0, 0}, {100, 100}};
    const std::vector<CHQ_Point2D> arcPts = {{0, 0}, {100, 100}, {150, 50}, {50, 150}};
    std::vector<Case> cases = {
        {"line", Line({{-40, -25}, {40, -25}, {40, 25}}, open), 0},
        {"line", Line({{-40, -25}, {40, -25}, {40, 25}}, closed), 1},
        {"ellipse", new CHQGS_SymbolUnitEllipse(open, box), 1},
        {"arc", new CHQGS_SymbolUnitArc(open, arcPts), 0},
        {"sector", new CHQGS_SymbolUnitSector(open, arcPts), 1},
    };
    CHQGS_Symbol symbol(Comm(0, 0, 0, 0));
    for (auto& c : cases) {
        if (std::string(c.kind) != "line") c.unit->Init();
        symbol.AddUnit(c.unit);
    }
    auto doc = Render(symbol);
    ASSERT_TRUE(doc);
    auto units = UnitElements(*doc);
    ASSERT_EQ(units.size(), cases.size());
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].kind);
        EXPECT_STREQ(units[i]->Value(), "path");
        EXPECT_STREQ(units[i]->Attribute("data-kind"), cases[i].kind);
        EXPECT_EQ(std::string(units[i]->Attribute("data-unit")), std::to_string(i));
        int closes = 0;
        ExpectSamePoints(cases[i].unit->GetOriPts(), PathPoints(units[i]->Attribute("d"), &closes));
        EXPECT_EQ(closes, cases[i].closes);
    }
    // The arc example of the model: 272 points from (50, 0) to (100, 50).
    EXPECT_EQ(PathPoints(units[3]->Attribute("d")).size(), 272u);
}

TEST(SymbolSvg, RectangleComboTextBoxAndEmptyGeometry) {
    CHQGS_Symbol symbol(Comm(0, 0, 0, 0));
    CHQGS_SymbolUnitAttr attr = Attr(10, 20, 30, 255, 1);
    auto* rect = new CHQGS_SymbolUnitRect(attr, {{5, 6}, {25, 16}});
    rect->Init();
    auto* combo = new CHQGS_SymbolUnitCombo(attr);
    combo->AddLine({{0, 0}, {10, 0}});
    combo->AddLine({{0, 5}, {10, 5}, {10, 9}});
    auto* textBox =
        new CHQGS_SymbolUnitTextBox(CHQGS_SymbolUnitAttr(), {{30, -50}, {110, -30}, {30, -50}, {110, -30}});
    textBox->SetFontColor(1, 2, 3, 255);
    textBox->Init();
    auto* emptyLine = Line({}, attr);
    symbol.AddUnit(rect);
    symbol.AddUnit(combo);
    symbol.AddUnit(textBox);
    symbol.AddUnit(emptyLine);
    auto doc = Render(symbol);
    ASSERT_TRUE(doc);
    auto units = UnitElements(*doc);
    ASSERT_EQ(units.size(), 4u);

    int closes = 0;
    auto r = PathPoints(units[0]->Attribute("d"), &closes);
    ASSERT_EQ(r.size(), 4u);
    EXPECT_EQ(closes, 1);
    EXPECT_DOUBLE_EQ(r[0].x, 5);
    EXPECT_DOUBLE_EQ(r[0].y, 6);
    EXPECT_DOUBLE_EQ(r[2].x, 25);
    EXPECT_DOUBLE_EQ(r[2].y, 16);

    auto c = PathPoints(units[1]->Attribute("d"));
    ASSERT_EQ(c.size(), 5u);
    EXPECT_EQ(std::count(units[1]->Attribute("d"),
                         units[1]->Attribute("d") + std::strlen(units[1]->Attribute("d")), 'M'),
              2);

    EXPECT_STREQ(units[2]->Value(), "g");
    TiXmlElement* frame = units[2]->FirstChildElement("path");
    ASSERT_TRUE(frame);
    std::vector<CHQ_Point2D> corners = textBox->GetOriPts();
    corners.resize(4);
    ExpectSamePoints(corners, PathPoints(frame->Attribute("d")));
    EXPECT_STREQ(frame->Attribute("stroke"), "#010203");

    EXPECT_STREQ(units[3]->Attribute("d"), "");
}

// Colours: RGB as #rrggbb, alpha as opacity; outline colour when an outline
// is drawn; fill unless IsNotFill; line and fill pattern codes.
TEST(SymbolSvg, StylingFromUnitAttributes) {
    struct Case {
        std::uint16_t lineStyle, fillStyle;
        bool isOutline, notFill;
        std::uint8_t alpha;
        const char* stroke;
        const char* fill;            // "none", a colour, or "pattern"
        std::vector<double> dashes;  // in line widths
    };
    const std::vector<Case> cases = {
        {0, 0, false, true, 255, "#0a141e", "none", {}},
        {1, 1, false, false, 255, "#0a141e", "#646e78", {}},
        {2, 0, false, false, 128, "#0a141e", "#646e78", {4, 2}},
        {3, 0, true, true, 255, "#c8d2dc", "none", {1, 2}},
        {4, 2, false, false, 255, "#0a141e", "pattern", {4, 2, 1, 2}},
        {5, 7, false, false, 255, "#0a141e", "pattern", {4, 2, 1, 2, 1, 2}},
        {99, 99, false, false, 255, "#0a141e", "#646e78", {}},
    };
    CHQGS_Symbol symbol(Comm(0, 0, 0, 0));
    for (const Case& c : cases) {
        CHQGS_SymbolUnitAttr attr = Attr(10, 20, 30, c.alpha, 3);
        const std::uint8_t outline[4] = {200, 210, 220, c.alpha}, fill[4] = {100, 110, 120, c.alpha};
        std::memcpy(attr.OutlineColor, outline, 4);
        std::memcpy(attr.FillColor, fill, 4);
        attr.LineStyle = c.lineStyle, attr.FillStyle = c.fillStyle;
        attr.IsOutline = c.isOutline, attr.IsNotFill = c.notFill, attr.IsClose = true;
        symbol.AddUnit(Line({{0, 0}, {10, 0}, {10, 10}}, attr));
    }
    auto doc = Render(symbol);
    ASSERT_TRUE(doc);
    auto units = UnitElements(*doc);
    ASSERT_EQ(units.size(), cases.size());
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        const Case& c = cases[i];
        EXPECT_STREQ(units[i]->Attribute("stroke"), c.stroke);
        EXPECT_DOUBLE_EQ(std::atof(units[i]->Attribute("stroke-width")), 3);
        const char* opacity = units[i]->Attribute("stroke-opacity");
        if (c.alpha == 255)
            EXPECT_EQ(opacity, nullptr);
        else
            EXPECT_NEAR(std::atof(opacity), c.alpha / 255.0, 1e-4);
        std::vector<double> dashes = Numbers(units[i]->Attribute("stroke-dasharray"));
        ASSERT_EQ(dashes.size(), c.dashes.size());
        for (std::size_t k = 0; k < dashes.size(); ++k) EXPECT_DOUBLE_EQ(dashes[k], c.dashes[k] * 3);
        const std::string fillAttr = units[i]->Attribute("fill");
        if (std::string(c.fill) == "pattern") {
            const std::string id = "fill" + std::to_string(i);
            EXPECT_EQ(fillAttr, "url(#" + id + ")");
            bool found = false;
            for (TiXmlElement* p =
                     doc->RootElement()->FirstChildElement("defs")->FirstChildElement("pattern");
                 p; p = p->NextSiblingElement("pattern"))
                if (p->Attribute("id") == id)
                    found = std::string(p->FirstChildElement("path")->Attribute("stroke")) == "#646e78";
            EXPECT_TRUE(found) << id;
        } else {
            EXPECT_EQ(fillAttr, c.fill);
        }
    }
}

// Texts: position, size, font, colour and angle; escaping of markup; texts
// in the local code page (GBK under the tests' locale) or UTF-8 come out as
// UTF-8; undecodable bytes become U+FFFD.
TEST(SymbolSvg, TextUnitsAndEncodings) {
    const std::string utf8 = "\xE9\x9B\xB7\xE5\x9C\xBA";  // 雷场
    const std::string gbk = "\xC0\xD7\xB3\xA1";           // 雷场 in GBK
    struct Case {
        std::string text, name;
        SymbolTextEncoding encoding;
        std::string expectText, expectTitle;
    };
    const std::vector<Case> cases = {
        {"<&\"'>", "<&\"'>", SymbolTextEncoding::Utf8, "<&\"'>", "<&\"'>"},
        {gbk, gbk + "A", SymbolTextEncoding::LocalCodePage, utf8, utf8 + "A"},
        {utf8, utf8, SymbolTextEncoding::Utf8, utf8, utf8},
        {"a\xFF"
         "b",
         "x\x01y", SymbolTextEncoding::Utf8,
         "a\xEF\xBF\xBD"
         "b",
         "xy"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expectText);
        CHQGS_Symbol symbol(Comm(-50, -50, 50, 50, c.name));
        auto* text = new CHQGS_SymbolUnitText();
        text->SetText(c.text);
        text->SetFontName("Sim'Sun");
        text->SetFontPos(-12, -22);
        text->SetFontHeight(20);
        text->SetFontWidth(10);
        text->SetFontAngle(30);
        text->SetFontColor(255, 0, 0, 51);
        symbol.AddUnit(text);
        SvgOptions options;
        options.textEncoding = c.encoding;
        auto doc = Render(symbol, options);
        ASSERT_TRUE(doc);
        auto units = UnitElements(*doc);
        ASSERT_EQ(units.size(), 1u);
        TiXmlElement* t = units[0];
        EXPECT_STREQ(t->Value(), "text");
        ASSERT_TRUE(t->GetText());
        EXPECT_EQ(std::string(t->GetText()), c.expectText);
        EXPECT_EQ(std::string(doc->RootElement()->FirstChildElement("title")->GetText()), c.expectTitle);
        EXPECT_DOUBLE_EQ(std::atof(t->Attribute("x")), -12);
        EXPECT_DOUBLE_EQ(std::atof(t->Attribute("y")), -22 + 0.8 * 20);
        EXPECT_DOUBLE_EQ(std::atof(t->Attribute("font-size")), 20);
        EXPECT_STREQ(t->Attribute("font-family"), "'SimSun', sans-serif");
        EXPECT_STREQ(t->Attribute("fill"), "#ff0000");
        EXPECT_NEAR(std::atof(t->Attribute("fill-opacity")), 0.2, 1e-4);
        EXPECT_STREQ(t->Attribute("transform"), "rotate(-30 -12 -22)");
    }
}

// Pictures: known image formats are embedded as data URIs in the box of the
// defining points; other bytes give a frame.
TEST(SymbolSvg, PicturesAreEmbeddedByTheirSignature) {
    const std::string png("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
    struct Case {
        std::string bytes;
        const char* mediaType;  // null: a frame is drawn
    };
    const std::vector<Case> cases = {{png, "image/png"},          {"\xFF\xD8\xFF\xE0xxxx", "image/jpeg"},
                                     {"GIF89a....", "image/gif"}, {"BM" + std::string(30, 'x'), "image/bmp"},
                                     {"plain text", nullptr},     {"", nullptr}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mediaType ? c.mediaType : "frame");
        CHQGS_Symbol symbol(Comm(0, 0, 0, 0));
        auto* pic = new CHQGS_SymbolUnitPicture();
        pic->SetBufData(c.bytes.data(), static_cast<int>(c.bytes.size()));
        pic->SetActualPts({{30, 40}, {10, 20}});
        pic->Init();
        symbol.AddUnit(pic);
        auto doc = Render(symbol);
        ASSERT_TRUE(doc);
        TiXmlElement* g = UnitElements(*doc).at(0);
        TiXmlElement* image = g->FirstChildElement("image");
        if (!c.mediaType) {
            EXPECT_EQ(image, nullptr);
            ASSERT_TRUE(g->FirstChildElement("path"));
            auto frame = PathPoints(g->FirstChildElement("path")->Attribute("d"));
            ASSERT_EQ(frame.size(), 4u);
            EXPECT_DOUBLE_EQ(frame[0].x, 10);
            EXPECT_DOUBLE_EQ(frame[2].y, 40);
            continue;
        }
        ASSERT_TRUE(image);
        EXPECT_DOUBLE_EQ(std::atof(image->Attribute("x")), 10);
        EXPECT_DOUBLE_EQ(std::atof(image->Attribute("y")), 20);
        EXPECT_DOUBLE_EQ(std::atof(image->Attribute("width")), 20);
        EXPECT_DOUBLE_EQ(std::atof(image->Attribute("height")), 20);
        const std::string href = image->Attribute("xlink:href");
        const std::string prefix = std::string("data:") + c.mediaType + ";base64,";
        ASSERT_EQ(href.compare(0, prefix.size(), prefix), 0) << href;
        // Decode the base64 text and compare it with the bytes.
        static const std::string table = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
        std::string decoded;
        unsigned bits = 0;
        int count = 0;
        for (char ch : href.substr(prefix.size())) {
            if (ch == '=') break;
            bits = (bits << 6) | static_cast<unsigned>(table.find(ch));
            if ((count += 6) >= 8) decoded += static_cast<char>((bits >> (count -= 8)) & 0xFF);
        }
        EXPECT_EQ(decoded, c.bytes);
    }
}

// The view box: the common extent (y read back from the store's negation)
// when it is non-empty and holds the drawing, else the drawing's box; then a
// margin of 5 % of the larger side plus half the widest stroke.
TEST(SymbolSvg, ViewBoxRules) {
    struct Case {
        const char* what;
        int minX, minY, maxX, maxY;  // the extent in unit space
        std::vector<double> expected;
    };
    // Drawing: a 2-wide line from (-40, -25) to (40, 25).
    const std::vector<Case> cases = {
        {"extent holds the drawing", -50, -30, 50, 30, {-56, -36, 112, 72}},
        {"extent too small", -10, -10, 10, 10, {-45, -30, 90, 60}},
        {"empty extent", 0, 0, 0, 0, {-45, -30, 90, 60}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CHQGS_Symbol symbol(Comm(c.minX, c.minY, c.maxX, c.maxY));
        symbol.AddUnit(Line({{-40, -25}, {40, 25}}, Attr(0, 0, 0, 255, 2)));
        auto doc = Render(symbol);
        ASSERT_TRUE(doc);
        std::vector<double> box = Numbers(doc->RootElement()->Attribute("viewBox"));
        ASSERT_EQ(box.size(), 4u);
        for (int k = 0; k < 4; ++k) EXPECT_NEAR(box[k], c.expected[k], 1e-9) << k;
    }
    // Size in pixels: the larger side, the other in proportion.
    CHQGS_Symbol symbol(Comm(-50, -30, 50, 30));
    symbol.AddUnit(Line({{-40, -25}, {40, 25}}, Attr(0, 0, 0, 255, 2)));
    SvgOptions options;
    options.sizePx = 224;
    options.background[0] = 255, options.background[3] = 255;
    auto doc = Render(symbol, options);
    ASSERT_TRUE(doc);
    EXPECT_STREQ(doc->RootElement()->Attribute("width"), "224");
    EXPECT_STREQ(doc->RootElement()->Attribute("height"), "144");
    TiXmlElement* bg = doc->RootElement()->FirstChildElement("rect");
    ASSERT_TRUE(bg);
    EXPECT_STREQ(bg->Attribute("fill"), "#ff0000");
}

TEST(SymbolSvg, DefiningPointsAreMarkedOnRequest) {
    CHQGS_Symbol symbol(Comm(0, 0, 0, 0));
    symbol.AddUnit(Line({{1, 2}, {3, 4}, {5, 6}}, Attr(0, 0, 0, 255, 1)));
    auto* ellipse = new CHQGS_SymbolUnitEllipse(Attr(0, 0, 0, 255, 1), {{0, 0}, {10, 10}});
    ellipse->Init();
    symbol.AddUnit(ellipse);
    SvgOptions options;
    EXPECT_EQ(RenderSymbolSvg(symbol, options).find("<circle"), std::string::npos);
    options.showPoints = true;
    options.idPrefix = "p_";
    auto doc = Render(symbol, options);
    ASSERT_TRUE(doc);
    std::vector<SvgPoint> marked;
    for (TiXmlElement* g = doc->RootElement()->FirstChildElement("g"); g; g = g->NextSiblingElement("g")) {
        if (std::string(g->Attribute("id")) != "p_points") continue;
        for (TiXmlElement* c = g->FirstChildElement("circle"); c; c = c->NextSiblingElement("circle"))
            marked.push_back({std::atof(c->Attribute("cx")), std::atof(c->Attribute("cy"))});
    }
    ASSERT_EQ(marked.size(), 5u);
    EXPECT_DOUBLE_EQ(marked[2].x, 5);
    EXPECT_DOUBLE_EQ(marked[4].y, 10);
}

// Rendering from several threads at once gives the same documents as one
// thread (the text conversion included).
TEST(SymbolSvg, ThreadsRenderIndependently) {
    std::vector<std::unique_ptr<CHQGS_Symbol>> symbols;
    for (int i = 0; i < 16; ++i) {
        auto s = std::make_unique<CHQGS_Symbol>(Comm(-60, -60, 60, 60, "\xC0\xD7" + std::to_string(i)));
        auto* e = new CHQGS_SymbolUnitEllipse(Attr(i, 0, 0, 255, 1), {{-i * 1.0, -i * 2.0}, {i * 3.0, 20.0}});
        e->Init();
        s->AddUnit(e);
        auto* t = new CHQGS_SymbolUnitText();
        t->SetText("\xB3\xA1" + std::to_string(i));
        s->AddUnit(t);
        symbols.push_back(std::move(s));
    }
    std::vector<std::string> expected;
    for (auto& s : symbols) expected.push_back(RenderSymbolSvg(*s));
    std::vector<std::vector<std::string>> got(4);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t]() {
            for (int round = 0; round < 20; ++round)
                for (auto& s : symbols) got[t].push_back(RenderSymbolSvg(*s));
        });
    for (auto& t : threads) t.join();
    for (int t = 0; t < 4; ++t)
        for (std::size_t k = 0; k < got[t].size(); ++k) ASSERT_EQ(got[t][k], expected[k % symbols.size()]);
    EXPECT_NE(expected[3].find("\xE9\x9B\xB7"
                               "3"),
              std::string::npos);  // 雷3 in UTF-8
}

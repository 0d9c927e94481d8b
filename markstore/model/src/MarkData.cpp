// SPDX-License-Identifier: Apache-2.0
// Reader of the mark data text: a JSON array of unit objects, of which lines
// (Style 1), texts (Style 7) and text boxes (Style 13) become units.
//
// jsoncpp's conversions throw on values of an unexpected type (a string read
// as a number, an array indexed by name, ...). Every read below goes through
// a guard that answers the neutral value instead, so that a damaged data
// text yields what can be read and never an exception.
#include <markstore/MarkData.h>

#include <markstore/SymbolUnitKinds.h>
#include <markstore_internal/MarkDataReader.h>

#include <json/json.h>

#include "Int32Truncation.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <exception>
#include <memory>
#include <string>
#include <vector>

namespace HQ {

namespace {

// Style codes read from the data text (the Type_Unit numbers).
const int kStyleLine = Unit_Line;
const int kStyleText = Unit_Text;
const int kStyleTextBox = Unit_TextBox;

// The member of an object, or null when value is not an object or lacks it.
const Json::Value& Member(const Json::Value& value, const char* name) {
    static const Json::Value null;
    if (!value.isObject()) return null;
    const Json::Value* found = value.find(name, name + std::strlen(name));
    return found != nullptr ? *found : null;
}

// Integer as jsoncpp reads it (fractions cut toward zero, booleans 0/1, null 0);
// 0 for strings, arrays, objects and numbers outside the 32-bit range.
int ReadInt(const Json::Value& value) {
    try {
        return value.asInt();
    } catch (const std::exception&) {
        return 0;
    }
}

double ReadDouble(const Json::Value& value) {
    try {
        return value.asDouble();
    } catch (const std::exception&) {
        return 0.0;
    }
}

bool ReadBool(const Json::Value& value) {
    try {
        return value.asBool();
    } catch (const std::exception&) {
        return false;
    }
}

std::string ReadString(const Json::Value& value) {
    try {
        return value.asString();
    } catch (const std::exception&) {
        return std::string();
    }
}

// A number read as a double, cut toward zero to an integer and kept to its low
// 16 bits. A value outside the 32-bit range (or not a number) gives 0, which
// is also what the processor's truncating conversion leaves in the low bits.
std::int16_t ReadCutShort(const Json::Value& value) {
    const double d = ReadDouble(value);
    if (!TruncatesToInt32(d)) return 0;
    return static_cast<std::int16_t>(static_cast<std::int32_t>(d));
}

// Low 8 bits of a colour channel.
std::uint8_t ReadChannel(const Json::Value& colour, const char* name) {
    return static_cast<std::uint8_t>(static_cast<std::uint32_t>(ReadInt(Member(colour, name))) & 0xFFu);
}

// The "Vertexes" array as points; an element that is not an object reads as
// (0, 0), a member that is not an array as no points.
std::vector<CHQ_Point2D> ReadVertexes(const Json::Value& element) {
    std::vector<CHQ_Point2D> points;
    const Json::Value& list = Member(element, "Vertexes");
    if (!list.isArray()) return points;
    points.reserve(list.size());
    for (Json::ArrayIndex i = 0; i < list.size(); ++i) {
        const Json::Value& p = list[i];
        points.push_back(CHQ_Point2D(ReadDouble(Member(p, "X")), ReadDouble(Member(p, "Y"))));
    }
    return points;
}

std::unique_ptr<CHQGS_SymbolUnit> ReadLine(const Json::Value& element) {
    CHQGS_SymbolUnitAttr attr;
    attr.LineStyle = static_cast<std::uint16_t>(ReadInt(Member(element, "LineStyle")));
    // The width is read as an integer first: fractions are cut off.
    attr.LineWidth = static_cast<double>(ReadInt(Member(element, "LineWidth")));
    attr.IsClose = ReadBool(Member(element, "IsClose"));
    attr.IsOutline = ReadBool(Member(element, "IsOutline"));
    attr.FillStyle = static_cast<std::uint16_t>(ReadInt(Member(element, "FillStyle")));
    const Json::Value& lineColor = Member(element, "LineColor");
    attr.LineColor[0] = ReadChannel(lineColor, "R");
    attr.LineColor[1] = ReadChannel(lineColor, "G");
    attr.LineColor[2] = ReadChannel(lineColor, "B");
    attr.LineColor[3] = ReadChannel(lineColor, "A");
    // Outline and fill take their alpha from the line colour; an "A" of their
    // own is ignored.
    const Json::Value& outlineColor = Member(element, "OutlineColor");
    attr.OutlineColor[0] = ReadChannel(outlineColor, "R");
    attr.OutlineColor[1] = ReadChannel(outlineColor, "G");
    attr.OutlineColor[2] = ReadChannel(outlineColor, "B");
    attr.OutlineColor[3] = attr.LineColor[3];
    const Json::Value& fillColor = Member(element, "FillColor");
    attr.FillColor[0] = ReadChannel(fillColor, "R");
    attr.FillColor[1] = ReadChannel(fillColor, "G");
    attr.FillColor[2] = ReadChannel(fillColor, "B");
    attr.FillColor[3] = attr.LineColor[3];
    attr.IsLineStyleFixedness = ReadBool(Member(element, "IsLineStyleFixedness"));
    attr.IsColorFixedness = ReadBool(Member(element, "IsColorFixedness"));
    attr.IsNotFill = ReadBool(Member(element, "IsNotFill"));

    std::unique_ptr<CHQGS_SymbolUnitLine> line(new CHQGS_SymbolUnitLine());
    line->SetAttr(attr);
    line->SetVectexs(ReadVertexes(element));
    return std::unique_ptr<CHQGS_SymbolUnit>(line.release());
}

// A text member, converted when the caller asked for it.
std::string ReadText(const Json::Value& value, MarkTextConversion convert) {
    std::string text = ReadString(value);
    return convert != nullptr ? convert(text) : text;
}

// The font members shared by the text and the text box.
template <typename Unit>
void ReadFont(const Json::Value& element, Unit& unit, MarkTextConversion convert) {
    unit.SetFontAngle(static_cast<float>(ReadDouble(Member(element, "FontAngle"))));
    unit.SetFontName(ReadText(Member(element, "FontName"), convert));
    unit.SetFontWidth(ReadCutShort(Member(element, "FontWidth")));
    unit.SetFontHeight(ReadCutShort(Member(element, "FontHeight")));
    const Json::Value& colour = Member(element, "FontColor");
    unit.SetFontColor(ReadChannel(colour, "R"), ReadChannel(colour, "G"), ReadChannel(colour, "B"),
                      ReadChannel(colour, "A"));
    unit.SetFontDistance(ReadCutShort(Member(element, "FontDistance")));
    unit.SetLineDistance(ReadCutShort(Member(element, "LineDistance")));
    unit.SetFontStyle(ReadCutShort(Member(element, "FontStyle")));
}

std::unique_ptr<CHQGS_SymbolUnit> ReadTextUnit(const Json::Value& element, MarkTextConversion convert) {
    std::unique_ptr<CHQGS_SymbolUnitText> text(new CHQGS_SymbolUnitText());
    ReadFont(element, *text, convert);
    const Json::Value& pos = Member(element, "FontPos");
    text->SetFontPos(static_cast<float>(ReadDouble(Member(pos, "X"))),
                     static_cast<float>(ReadDouble(Member(pos, "Y"))));
    text->SetText(ReadText(Member(element, "Text"), convert));
    return std::unique_ptr<CHQGS_SymbolUnit>(text.release());
}

std::unique_ptr<CHQGS_SymbolUnit> ReadTextBox(const Json::Value& element, MarkTextConversion convert) {
    std::unique_ptr<CHQGS_SymbolUnitTextBox> box(new CHQGS_SymbolUnitTextBox());
    ReadFont(element, *box, convert);
    std::vector<CHQ_Point2D> points = ReadVertexes(element);
    // Two vertices stand for both boxes: P0, P1, P0, P1.
    if (points.size() == 2) {
        points.push_back(points[0]);
        points.push_back(points[1]);
    }
    box->SetActualPts(points);
    return std::unique_ptr<CHQGS_SymbolUnit>(box.release());
}

// The parser, set up once per thread: building it (settings, factory) cost
// as much as parsing a small drawing. A reader is not safe for two threads at
// once, hence one per thread; every call runs to its end on its thread.
Json::CharReader& Reader() {
    thread_local std::unique_ptr<Json::CharReader> reader;
    if (!reader) {
        Json::CharReaderBuilder builder;
        // Comments are accepted (the builder's default; kept explicit) but not
        // kept: nothing reads them back.
        builder["allowComments"] = true;
        builder["collectComments"] = false;
        reader.reset(builder.newCharReader());
    }
    return *reader;
}

// Parses the whole text; false when it is not JSON (or nests deeper than the
// parser's limit).
bool ParseJson(const char* begin, const char* end, Json::Value& root) {
    try {
        std::string errors;
        return Reader().parse(begin, end, &root, &errors);
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace

bool ParseMarkData(CHQGS_Symbol* symbol, const char* text, int) {
    if (text == nullptr) return true;
    return ParseMarkDataText(symbol, text, text + std::strlen(text), nullptr);
}

bool ParseMarkDataText(CHQGS_Symbol* symbol, const char* begin, const char* end, MarkTextConversion convert) {
    if (symbol == nullptr || begin == nullptr || end < begin) return true;
    try {
        Json::Value root;
        if (!ParseJson(begin, end, root) || !root.isArray()) return true;
        for (Json::ArrayIndex i = 0; i < root.size(); ++i) {
            const Json::Value& element = root[i];
            if (!element.isObject()) continue;
            std::unique_ptr<CHQGS_SymbolUnit> unit;
            switch (ReadInt(Member(element, "Style"))) {
                case kStyleLine:
                    unit = ReadLine(element);
                    break;
                case kStyleText:
                    unit = ReadTextUnit(element, convert);
                    break;
                case kStyleTextBox:
                    unit = ReadTextBox(element, convert);
                    break;
                default:
                    break;  // other kinds are not read from the data text
            }
            if (!unit) continue;
            unit->Init();
            symbol->AddUnit(unit.release());
        }
    } catch (const std::exception&) {
        // Only allocation failures can get here; the units added so far stay.
    }
    return true;
}

}  // namespace HQ

// SPDX-License-Identifier: Apache-2.0
// writeSymbol: the JSON object of one placed symbol, built group by group
// (see SymbolGroups). The member order and the one-object arrays are what the
// readers of converted files expect.
#include "LegacySituationConverter.h"

#include "LegacyJsonOutput.h"
#include "SymbolNames.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>

namespace HQ {
namespace legacy {

namespace {

using rapidjson::Value;
using Allocator = rapidjson::Document::AllocatorType;

// Library symbols with extra groups: the dedicated-text symbol and the
// combination symbol of library 32.
const int kSpecialLibId = 32;
const int kDedicatedTextCode = 3;
const int kCombinationCode = 4;

// The inner-text font size every reader is told to take from the symbol.
const double kInnerFontSizeFromSymbol = -1.0;

// Display ranges written for every symbol, whatever the document said.
const double kShowRangMin = 160.0;
const double kShowRangMax = 16000000.0;
const double kHalfPixelRangMin = 20000000.0;
const double kHalfPixelRangMax = 20000000.0;

// Adds object to parent under key, wrapped in a one-object array (the form
// of most groups of the symbol object).
void addWrapped(Value& parent, const char* key, Value& object, Allocator& a) {
    Value array(rapidjson::kArrayType);
    array.PushBack(object, a);
    parent.AddMember(rapidjson::StringRef(key), array, a);
}

Value rangeObject(double min, double max, Allocator& a) {
    Value o(rapidjson::kObjectType);
    o.AddMember("Min", Value(min), a);
    o.AddMember("Max", Value(max), a);
    return o;
}

// Entry k of list, or fallback past its end: the font and colour lists of the
// inner texts may be shorter than the list of texts.
template <typename T>
T entryOr(const std::vector<T>& list, size_t k, const T& fallback) {
    return k < list.size() ? list[k] : fallback;
}

Value pointObject(const CHQ_Point3D& p, Allocator& a) {
    Value o(rapidjson::kObjectType);
    o.AddMember("X", Value(p.x), a);
    o.AddMember("Y", Value(p.y), a);
    o.AddMember("Z", Value(p.z), a);
    return o;
}

Value colour(double c) { return Value(colourBits(c)); }

const char* operTypeName(int code) {
    return (code >= 0 && code < kOperTypeCount) ? kOperTypeNames[code] : kOperTypeNames[kOperTypeCount - 1];
}

const char* displayTypeName(int code) {
    return (code >= 0 && code < kDisplayTypeCount) ? kDisplayTypeNames[code]
                                                   : kDisplayTypeNames[kFallbackDisplayType];
}

// A declared child count beyond the child records read writes zero entries
// for the missing children, but no more than this many: the count is taken
// from the document unchecked, and a combination symbol has a handful of
// parts, so a larger gap is a corrupt count that must not exhaust memory.
const int kMaxMissingChildEntries = 1024;

bool isDedicatedText(const SituationSymbol& s) {
    return s.libId == kSpecialLibId && s.code == kDedicatedTextCode;
}
bool isCombination(const SituationSymbol& s) {
    return s.libId == kSpecialLibId && s.code == kCombinationCode;
}

// The library's mark-type answers for one symbol, one for each group that
// depends on it. The library is asked once per such group, in the order of
// the groups in the object, always about the symbol's own library id and
// code; only zero versus non-zero matters. A library is expected to give the
// same answer every time, but each group follows the answer given for it.
struct MarkTypeAnswers {
    int geoScaleValue = 0;   // "GeoScaleValue" is written when not 0
    int annoTextRotate = 0;  // "AnnoTextRotate" is written when 0
    int dotDragLine = 0;     // "DotDragLine" is written when 0
    int avoidPoints = 0;     // "AvoidPoints" is written when not 0
};

MarkTypeAnswers askMarkTypes(MarkTypeSource& marks, const SituationSymbol& s) {
    MarkTypeAnswers answers;
    answers.geoScaleValue = marks.markType(s.libId, s.code);
    answers.annoTextRotate = marks.markType(s.libId, s.code);
    answers.dotDragLine = marks.markType(s.libId, s.code);
    answers.avoidPoints = marks.markType(s.libId, s.code);
    return answers;
}

// The member groups of one symbol object, one function each, in the order
// of the object. Texts become JSON strings of the document through text
// (the converter's code-page conversion, which counts the texts it loses).
class SymbolGroups {
public:
    using Text = std::function<Value(const std::string&)>;

    SymbolGroups(Allocator& allocator, Text text) : a(allocator), m_text(std::move(text)) {}

    // "Name" to "DisplayType": identity, flags and the two type names.
    void addIdentity(Value& o, const SituationSymbol& s) const {
        o.AddMember("Name", m_text(s.name), a);
        o.AddMember("Visible", Value(s.visible), a);
        o.AddMember("Guid", Value(s.guid), a);
        o.AddMember("LibID", Value(s.libId), a);
        o.AddMember("Code", Value(s.code), a);
        o.AddMember("CanSelected", Value(s.canSelected), a);
        o.AddMember("IsSetGenAttr", Value(s.isSetGenAttr), a);
        o.AddMember("OperType", Value(rapidjson::StringRef(operTypeName(s.operType))), a);
        o.AddMember("DisplayType", Value(rapidjson::StringRef(displayTypeName(s.displayType))), a);
    }

    // "GeoAttr": the points, the geometry attributes and, for a library
    // symbol of a non-zero mark type, the scale value.
    void addGeometry(Value& o, const SituationSymbol& s, int markType) const {
        Value geo(rapidjson::kObjectType);
        Value points(rapidjson::kObjectType);
        points.AddMember("POINTS Count", Value(static_cast<uint64_t>(s.points.size())), a);
        Value list(rapidjson::kArrayType);
        for (const CHQ_Point3D& p : s.points) list.PushBack(pointObject(p, a), a);
        points.AddMember("Point", list, a);
        addWrapped(geo, "POINTS", points, a);

        Value attr(rapidjson::kObjectType);
        attr.AddMember("HeightType", Value(s.heightType), a);
        attr.AddMember("Scale", Value(s.scale), a);
        attr.AddMember("FloatHeight3D", Value(s.floatHeight3D), a);
        attr.AddMember("Thickness3D", Value(s.thickness3D), a);
        attr.AddMember("WallTransparent", Value(static_cast<double>(s.wallTransparent)), a);
        attr.AddMember("Rotate", Value(s.rotate), a);
        attr.AddMember("ISVisibleDragLine", Value(s.isVisibleDragLine), a);
        addWrapped(geo, "GeoAttribute", attr, a);

        if (markType != 0) {
            Value scale(rapidjson::kObjectType);
            scale.AddMember("Index", Value(0), a);
            scale.AddMember("Value", Value(1.0), a);
            addWrapped(geo, "GeoScaleValue", scale, a);
        }
        addWrapped(o, "GeoAttr", geo, a);
    }

    // "ChildSymbols": one entry per declared child; the rotation and colour
    // are the parent's.
    void addChildSettings(Value& o, const SituationSymbol& s) const {
        const int present = static_cast<int>(s.combinationChildren.size());
        const int entries = present >= s.combinationCount
                                ? s.combinationCount
                                : present + std::min(s.combinationCount - present, kMaxMissingChildEntries);
        const SituationSymbol missing;
        Value list(rapidjson::kArrayType);
        for (int i = 0; i < entries; ++i) {
            const SituationSymbol& child = i < present ? s.combinationChildren[i] : missing;
            Value c(rapidjson::kObjectType);
            c.AddMember("SubSymbolHMirroring", Value(child.mirrorHorizontal ? 1 : 0), a);
            c.AddMember("SubSymbolVMirroring", Value(child.mirrorVertical ? 1 : 0), a);
            c.AddMember("SubSymbolRotate", Value(s.childRotate), a);
            c.AddMember("SubSymbolColor", colour(s.mainLineColor), a);
            c.AddMember("SubSymbolLibId", Value(child.libId), a);
            c.AddMember("SubSymbolCode", Value(child.code), a);
            list.PushBack(c, a);
        }
        Value children(rapidjson::kObjectType);
        children.AddMember("ChildSymbol", list, a);
        addWrapped(o, "ChildSymbols", children, a);
    }

    // "StyleAttr": line type (with the dashes of a dashed line), main and
    // surrounding line, fill and mirroring.
    void addStyle(Value& o, const SituationSymbol& s) const {
        Value style(rapidjson::kObjectType);
        style.AddMember("DisplayType", Value(s.styleDisplayType), a);
        style.AddMember("LineType", Value(s.lineType), a);
        if (s.lineType == kDashLineType) {
            style.AddMember("DashLineLength", Value(static_cast<double>(s.dashLineLength)), a);
            style.AddMember("DashLineInterval", Value(static_cast<double>(s.dashLineInterval)), a);
        }
        Value mainLine(rapidjson::kObjectType);
        mainLine.AddMember("IsExternalSetLine", Value(true), a);
        mainLine.AddMember("Color", colour(s.mainLineColor), a);
        mainLine.AddMember("Width", Value(s.mainLineWidth), a);
        addWrapped(style, "MainLine", mainLine, a);

        Value surround(rapidjson::kObjectType);
        surround.AddMember("Type", Value(s.surroundLineType), a);
        surround.AddMember("Color", colour(s.surroundLineColor), a);
        surround.AddMember("Width", Value(s.surroundLineWidth), a);
        addWrapped(style, "SurroundLine", surround, a);

        Value fill(rapidjson::kObjectType);
        fill.AddMember("IsExternalSetFill", Value(true), a);
        fill.AddMember("Mode", Value(s.fillMode), a);
        fill.AddMember("Color", colour(s.fillColor), a);
        addWrapped(style, "Fill", fill, a);

        Value mirroring(rapidjson::kObjectType);
        mirroring.AddMember("Horizontal", Value(s.hasMirroring && s.mirrorHorizontal), a);
        mirroring.AddMember("Vertical", Value(s.hasMirroring && s.mirrorVertical), a);
        addWrapped(style, "Mirroring", mirroring, a);
        addWrapped(o, "StyleAttr", style, a);
    }

    // "DedicatedText" of the dedicated-text symbol.
    void addDedicatedText(Value& o, const SituationSymbol& s) const {
        Value dedicated(rapidjson::kObjectType);
        dedicated.AddMember("Text", m_text(s.dedicatedText), a);
        dedicated.AddMember("TextFont", m_text(s.dedicatedTextFont), a);
        dedicated.AddMember("BackColor", colour(s.dedicatedBackColor), a);
        addWrapped(o, "DedicatedText", dedicated, a);
    }

    // "TextAttr": the annotation, with its rotation flag for a symbol of mark
    // type 0.
    void addAnnotation(Value& o, const SituationSymbol& s, int markType) const {
        Value text(rapidjson::kObjectType);
        text.AddMember("Text", m_text(s.annoText), a);
        text.AddMember("Visible", Value(s.annoVisible), a);
        Value font(rapidjson::kObjectType);
        font.AddMember("Family", m_text(s.annoFontFamily), a);
        font.AddMember("Width", Value(s.annoFontWidth), a);
        font.AddMember("Height", Value(s.annoFontHeight), a);
        addWrapped(text, "AnnoFont", font, a);
        Value effect(rapidjson::kObjectType);
        effect.AddMember("Italic", Value(s.annoItalic), a);
        effect.AddMember("Bold", Value(s.annoBold), a);
        addWrapped(text, "AnnoFontEffect", effect, a);
        Value colours(rapidjson::kObjectType);
        colours.AddMember("Back", colour(s.annoBackColor), a);
        colours.AddMember("Text", colour(s.annoTextColor), a);
        addWrapped(text, "AnnoColor", colours, a);
        Value pos(rapidjson::kObjectType);
        pos.AddMember("PosType", Value(s.annoPosType), a);
        addWrapped(text, "AnnoPosType", pos, a);
        if (markType == 0) {
            Value rotate(rapidjson::kObjectType);
            rotate.AddMember("IsRorate", Value(s.annoTextRotate != 0 ? 1 : 0), a);
            addWrapped(text, "AnnoTextRotate", rotate, a);
        }
        addWrapped(o, "TextAttr", text, a);
    }

    // "InnerTextAttr": one text, font and colour entry per inner text,
    // numbered by position.
    void addInnerTexts(Value& o, const SituationSymbol& s) const {
        const size_t n = s.innerTextIndexes.size();
        Value texts(rapidjson::kArrayType), fonts(rapidjson::kArrayType), colours(rapidjson::kArrayType);
        for (size_t k = 0; k < n; ++k) {
            const int index = static_cast<int>(k);
            Value t(rapidjson::kObjectType);
            t.AddMember("Index", Value(index), a);
            t.AddMember("Text", m_text(entryOr(s.innerTexts, k, std::string())), a);
            texts.PushBack(t, a);

            Value f(rapidjson::kObjectType);
            f.AddMember("Index", Value(index), a);
            f.AddMember("Family", m_text(entryOr(s.innerFontFamilies, k, std::string())), a);
            f.AddMember("InnerFontSize", Value(kInnerFontSizeFromSymbol), a);
            fonts.PushBack(f, a);

            Value c(rapidjson::kObjectType);
            c.AddMember("Index", Value(index), a);
            c.AddMember("Back", colour(entryOr(s.innerBackColors, k, 0.0)), a);
            c.AddMember("Text", colour(entryOr(s.innerTextColors, k, 0.0)), a);
            colours.PushBack(c, a);
        }
        Value inner(rapidjson::kObjectType);
        inner.AddMember("InnerText", texts, a);
        inner.AddMember("InnerFont", fonts, a);
        inner.AddMember("InnerColor", colours, a);
        addWrapped(o, "InnerTextAttr", inner, a);
    }

    // "DotDragLine": the visibility and the first drag-line point.
    void addDragLine(Value& o, const SituationSymbol& s) const {
        Value drag(rapidjson::kObjectType);
        drag.AddMember("DragLineVisble", Value(s.dragLineVisible), a);
        if (!s.dragLinePoints.empty()) {
            Value first = pointObject(s.dragLinePoints.front(), a);
            addWrapped(drag, "DotDragLinePoint", first, a);
        }
        addWrapped(o, "DotDragLine", drag, a);
    }

    // "AvoidPoints": every avoid point read.
    void addAvoidPoints(Value& o, const SituationSymbol& s) const {
        Value list(rapidjson::kArrayType);
        for (const CHQ_Point3D& p : s.avoidPoints) list.PushBack(pointObject(p, a), a);
        Value avoid(rapidjson::kObjectType);
        avoid.AddMember("AvoidPoint", list, a);
        addWrapped(o, "AvoidPoints", avoid, a);
    }

    // "RangAttr": the fixed display ranges.
    void addRanges(Value& o) const {
        Value show = rangeObject(kShowRangMin, kShowRangMax, a);
        Value half = rangeObject(kHalfPixelRangMin, kHalfPixelRangMax, a);
        Value range(rapidjson::kObjectType);
        addWrapped(range, "ShowRang", show, a);
        addWrapped(range, "HalfPixelRang", half, a);
        addWrapped(o, "RangAttr", range, a);
    }

private:
    Allocator& a;
    Text m_text;
};

}  // namespace

void SituationConverter::writeSymbol(rapidjson::Document& doc, rapidjson::Value& array,
                                     const SituationSymbol& s) {
    const MarkTypeAnswers marks = askMarkTypes(m_marks, s);
    const SymbolGroups groups(doc.GetAllocator(),
                              [this, &doc](const std::string& text) { return jsonText(text, doc); });
    Value o(rapidjson::kObjectType);

    groups.addIdentity(o, s);
    groups.addGeometry(o, s, marks.geoScaleValue);
    if (s.combinationCount > 0) groups.addChildSettings(o, s);
    groups.addStyle(o, s);
    if (isDedicatedText(s)) groups.addDedicatedText(o, s);
    groups.addAnnotation(o, s, marks.annoTextRotate);
    if (!s.innerTextIndexes.empty()) groups.addInnerTexts(o, s);
    if (marks.dotDragLine == 0) groups.addDragLine(o, s);
    if (marks.avoidPoints != 0) groups.addAvoidPoints(o, s);
    groups.addRanges(o);
    if (isCombination(s)) {
        Value children(rapidjson::kArrayType);
        for (const SituationSymbol& child : s.combinationChildren) writeSymbol(doc, children, child);
        o.AddMember("CombinationChild", children, doc.GetAllocator());
    }

    array.PushBack(o, doc.GetAllocator());
}

}  // namespace legacy
}  // namespace HQ

// SPDX-License-Identifier: Apache-2.0
// writeSymbolJson: the JSON object of one placed symbol, written group by
// group (see SymbolGroups).
#include <sitconv/SituationConverter.h>

#include "JsonOutput.h"
#include "JsonStream.h"
#include "SymbolJson.h"
#include "SymbolNames.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace HQ {

namespace {

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

// Entry k of list, or fallback past its end: the font and colour lists of the
// inner texts may be shorter than the list of texts.
template <typename T>
T entryOr(const std::vector<T>& list, size_t k, const T& fallback) {
    return k < list.size() ? list[k] : fallback;
}

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
// of the object. Most groups are one object wrapped in a one-object array
// (open and close).
template <class Out>
class SymbolGroups {
public:
    explicit SymbolGroups(Out& out) : o(out) {}

    // "Name" to "DisplayType": identity, flags and the two type names.
    void addIdentity(const SituationSymbol& s) {
        o.key("Name"), o.text(s.name);
        o.key("Visible"), o.boolean(s.visible);
        o.key("Guid"), o.integer(s.guid);
        o.key("LibID"), o.integer(s.libId);
        o.key("Code"), o.integer(s.code);
        o.key("CanSelected"), o.boolean(s.canSelected);
        o.key("IsSetGenAttr"), o.boolean(s.isSetGenAttr);
        o.key("OperType"), o.name(operTypeName(s.operType));
        o.key("DisplayType"), o.name(displayTypeName(s.displayType));
    }

    // "GeoAttr": the points, the geometry attributes and, for a library
    // symbol of a non-zero mark type, the scale value.
    void addGeometry(const SituationSymbol& s, int markType) {
        open("GeoAttr");
        open("POINTS");
        o.key("POINTS Count"), o.uinteger64(static_cast<std::uint64_t>(s.points.size()));
        o.key("Point"), o.startArray();
        for (const CHQ_Point3D& p : s.points) point(p);
        o.endArray();
        close();

        open("GeoAttribute");
        o.key("HeightType"), o.integer(s.heightType);
        o.key("Scale"), o.number(s.scale);
        o.key("FloatHeight3D"), o.number(s.floatHeight3D);
        o.key("Thickness3D"), o.number(s.thickness3D);
        o.key("WallTransparent"), o.number(static_cast<double>(s.wallTransparent));
        o.key("Rotate"), o.number(s.rotate);
        o.key("ISVisibleDragLine"), o.boolean(s.isVisibleDragLine);
        close();

        if (markType != 0) {
            open("GeoScaleValue");
            o.key("Index"), o.integer(0);
            o.key("Value"), o.number(1.0);
            close();
        }
        close();
    }

    // "ChildSymbols": one entry per declared child; the rotation and colour
    // are the parent's.
    void addChildSettings(const SituationSymbol& s) {
        const int present = static_cast<int>(s.combinationChildren.size());
        const int entries = present >= s.combinationCount
                                ? s.combinationCount
                                : present + std::min(s.combinationCount - present, kMaxMissingChildEntries);
        const SituationSymbol missing;
        open("ChildSymbols");
        o.key("ChildSymbol"), o.startArray();
        for (int i = 0; i < entries; ++i) {
            const SituationSymbol& child = i < present ? s.combinationChildren[i] : missing;
            o.startObject();
            o.key("SubSymbolHMirroring"), o.integer(child.mirrorHorizontal ? 1 : 0);
            o.key("SubSymbolVMirroring"), o.integer(child.mirrorVertical ? 1 : 0);
            o.key("SubSymbolRotate"), o.number(s.childRotate);
            o.key("SubSymbolColor"), o.uinteger(colourBits(s.mainLineColor));
            o.key("SubSymbolLibId"), o.integer(child.libId);
            o.key("SubSymbolCode"), o.integer(child.code);
            o.endObject();
        }
        o.endArray();
        close();
    }

    // "StyleAttr": line type (with the dashes of a dashed line), main and
    // surrounding line, fill and mirroring.
    void addStyle(const SituationSymbol& s) {
        open("StyleAttr");
        o.key("DisplayType"), o.integer(s.styleDisplayType);
        o.key("LineType"), o.integer(s.lineType);
        if (s.lineType == kDashLineType) {
            o.key("DashLineLength"), o.number(static_cast<double>(s.dashLineLength));
            o.key("DashLineInterval"), o.number(static_cast<double>(s.dashLineInterval));
        }
        open("MainLine");
        o.key("IsExternalSetLine"), o.boolean(true);
        o.key("Color"), o.uinteger(colourBits(s.mainLineColor));
        o.key("Width"), o.number(s.mainLineWidth);
        close();

        open("SurroundLine");
        o.key("Type"), o.integer(s.surroundLineType);
        o.key("Color"), o.uinteger(colourBits(s.surroundLineColor));
        o.key("Width"), o.number(s.surroundLineWidth);
        close();

        open("Fill");
        o.key("IsExternalSetFill"), o.boolean(true);
        o.key("Mode"), o.integer(s.fillMode);
        o.key("Color"), o.uinteger(colourBits(s.fillColor));
        close();

        open("Mirroring");
        o.key("Horizontal"), o.boolean(s.hasMirroring && s.mirrorHorizontal);
        o.key("Vertical"), o.boolean(s.hasMirroring && s.mirrorVertical);
        close();
        close();
    }

    // "DedicatedText" of the dedicated-text symbol.
    void addDedicatedText(const SituationSymbol& s) {
        open("DedicatedText");
        o.key("Text"), o.text(s.dedicatedText);
        o.key("TextFont"), o.text(s.dedicatedTextFont);
        o.key("BackColor"), o.uinteger(colourBits(s.dedicatedBackColor));
        close();
    }

    // "TextAttr": the annotation, with its rotation flag for a symbol of mark
    // type 0.
    void addAnnotation(const SituationSymbol& s, int markType) {
        open("TextAttr");
        o.key("Text"), o.text(s.annoText);
        o.key("Visible"), o.boolean(s.annoVisible);
        open("AnnoFont");
        o.key("Family"), o.text(s.annoFontFamily);
        o.key("Width"), o.number(s.annoFontWidth);
        o.key("Height"), o.number(s.annoFontHeight);
        close();
        open("AnnoFontEffect");
        o.key("Italic"), o.boolean(s.annoItalic);
        o.key("Bold"), o.boolean(s.annoBold);
        close();
        open("AnnoColor");
        o.key("Back"), o.uinteger(colourBits(s.annoBackColor));
        o.key("Text"), o.uinteger(colourBits(s.annoTextColor));
        close();
        open("AnnoPosType");
        o.key("PosType"), o.integer(s.annoPosType);
        close();
        if (markType == 0) {
            open("AnnoTextRotate");
            o.key("IsRorate"), o.integer(s.annoTextRotate != 0 ? 1 : 0);
            close();
        }
        close();
    }

    // "InnerTextAttr": one text, font and colour entry per inner text,
    // numbered by position.
    void addInnerTexts(const SituationSymbol& s) {
        const size_t n = s.innerTextIndexes.size();
        open("InnerTextAttr");
        o.key("InnerText"), o.startArray();
        for (size_t k = 0; k < n; ++k) {
            o.startObject();
            o.key("Index"), o.integer(static_cast<int>(k));
            o.key("Text"), o.text(entryOr(s.innerTexts, k, std::string()));
            o.endObject();
        }
        o.endArray();
        o.key("InnerFont"), o.startArray();
        for (size_t k = 0; k < n; ++k) {
            o.startObject();
            o.key("Index"), o.integer(static_cast<int>(k));
            o.key("Family"), o.text(entryOr(s.innerFontFamilies, k, std::string()));
            o.key("InnerFontSize"), o.number(kInnerFontSizeFromSymbol);
            o.endObject();
        }
        o.endArray();
        o.key("InnerColor"), o.startArray();
        for (size_t k = 0; k < n; ++k) {
            o.startObject();
            o.key("Index"), o.integer(static_cast<int>(k));
            o.key("Back"), o.uinteger(colourBits(entryOr(s.innerBackColors, k, 0.0)));
            o.key("Text"), o.uinteger(colourBits(entryOr(s.innerTextColors, k, 0.0)));
            o.endObject();
        }
        o.endArray();
        close();
    }

    // "DotDragLine": the visibility and the first drag-line point.
    void addDragLine(const SituationSymbol& s) {
        open("DotDragLine");
        o.key("DragLineVisble"), o.boolean(s.dragLineVisible);
        if (!s.dragLinePoints.empty()) {
            o.key("DotDragLinePoint"), o.startArray();
            point(s.dragLinePoints.front());
            o.endArray();
        }
        close();
    }

    // "AvoidPoints": every avoid point read.
    void addAvoidPoints(const SituationSymbol& s) {
        open("AvoidPoints");
        o.key("AvoidPoint"), o.startArray();
        for (const CHQ_Point3D& p : s.avoidPoints) point(p);
        o.endArray();
        close();
    }

    // "RangAttr": the fixed display ranges.
    void addRanges() {
        open("RangAttr");
        open("ShowRang");
        o.key("Min"), o.number(kShowRangMin);
        o.key("Max"), o.number(kShowRangMax);
        close();
        open("HalfPixelRang");
        o.key("Min"), o.number(kHalfPixelRangMin);
        o.key("Max"), o.number(kHalfPixelRangMax);
        close();
        close();
    }

private:
    // key:[{ ... }]
    void open(const char* key) {
        o.key(key);
        o.startArray();
        o.startObject();
    }
    void close() {
        o.endObject();
        o.endArray();
    }
    void point(const CHQ_Point3D& p) {
        o.startObject();
        o.key("X"), o.number(p.x);
        o.key("Y"), o.number(p.y);
        o.key("Z"), o.number(p.z);
        o.endObject();
    }

    Out& o;
};

}  // namespace

template <class Out>
void writeSymbolJson(Out& out, const SituationSymbol& s, MarkTypeSource& marks) {
    const MarkTypeAnswers answers = askMarkTypes(marks, s);
    SymbolGroups<Out> groups(out);
    out.startObject();
    groups.addIdentity(s);
    groups.addGeometry(s, answers.geoScaleValue);
    if (s.combinationCount > 0) groups.addChildSettings(s);
    groups.addStyle(s);
    if (isDedicatedText(s)) groups.addDedicatedText(s);
    groups.addAnnotation(s, answers.annoTextRotate);
    if (!s.innerTextIndexes.empty()) groups.addInnerTexts(s);
    if (answers.dotDragLine == 0) groups.addDragLine(s);
    if (answers.avoidPoints != 0) groups.addAvoidPoints(s);
    groups.addRanges();
    if (isCombination(s)) {
        out.key("CombinationChild");
        out.startArray();
        for (const SituationSymbol& child : s.combinationChildren) writeSymbolJson(out, child, marks);
        out.endArray();
    }
    out.endObject();
}

template void writeSymbolJson<JsonStream>(JsonStream&, const SituationSymbol&, MarkTypeSource&);
template void writeSymbolJson<JsonTree>(JsonTree&, const SituationSymbol&, MarkTypeSource&);

void SituationConverter::writeSymbol(rapidjson::Document& doc, rapidjson::Value& array,
                                     const SituationSymbol& s) {
    JsonTree tree(doc.GetAllocator());
    writeSymbolJson(tree, s, m_marks);
    m_unconvertibleTexts += tree.unconvertibleTexts();
    array.PushBack(tree.result(), doc.GetAllocator());
}

}  // namespace HQ

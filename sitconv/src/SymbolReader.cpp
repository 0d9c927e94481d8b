// SPDX-License-Identifier: Apache-2.0
// readSymbol: fills a SituationSymbol from a "Symbol" element.
#include <sitconv/SituationConverter.h>

#include "SymbolNames.h"
#include "XmlText.h"

#include <cstring>

namespace HQ {

const char* const kOperTypeNames[kOperTypeCount] = {"NONE", "SELECT", "SELECT_NOPOINT", "EDIT"};

// "NEARGROUNG" is the spelling the readers of the output expect.
const char* const kDisplayTypeNames[kDisplayTypeCount] = {
    "NONE",          "SCREEN_NOPIXEL", "SCREEN_PIXEL", "STAND_NOPIXEL",    "STAND_PIXEL",
    "LIE_NOPIXEL",   "LIE_PIXEL",      "NEARGROUNG",   "SCREEN_HALFPIXEL", "STAND_HALFPIXEL",
    "LIE_HALFPIXEL", "TARGET_NOPIXEL", "TARGET_PIXEL", "TARGET_HALFPIXEL"};

// 黑体, 宋体, 仿宋 in GBK.
const char* const kFontFamilies[kFontFamilyCount] = {"\xBA\xDA\xCC\xE5", "\xCB\xCE\xCC\xE5",
                                                     "\xB7\xC2\xCB\xCE"};
const char* const kDefaultFontFamily = kFontFamilies[0];

namespace {

using namespace xml;

// The family text byte for byte (no code-page conversion): kept when empty
// or accepted, else replaced by the default family.
std::string fontFamily(const char* raw) {
    if (*raw == '\0') return std::string();
    for (const char* family : kFontFamilies) {
        if (std::strcmp(raw, family) == 0) return raw;
    }
    return kDefaultFontFamily;
}

CHQ_Point3D point(const TiXmlElement* e) {
    return CHQ_Point3D(toDouble(attr(e, "X")), toDouble(attr(e, "Y")), toDouble(attr(e, "Z")));
}

void readRange(const TiXmlElement* e, double& min, double& max) {
    min = toDouble(attr(e, "Min"));
    max = toDouble(attr(e, "Max"));
}

int lookup(const char* text, const char* const* names, int count, int fallback) {
    for (int i = 0; i < count; ++i) {
        if (std::strcmp(text, names[i]) == 0) return i;
    }
    return fallback;
}

void readGeometry(const TiXmlElement* geo, SituationSymbol& s) {
    for (const TiXmlElement* c = geo->FirstChildElement(); c; c = c->NextSiblingElement()) {
        if (named(c, "POINTS")) {
            for (const TiXmlElement* p = c->FirstChildElement(); p; p = p->NextSiblingElement()) {
                s.points.push_back(point(p));
            }
        } else if (named(c, "GeoAttribute")) {
            s.heightType = toInt(attr(c, "HeightType"));
            s.scale = toDouble(attr(c, "Scale"));
            s.floatHeight3D = toDouble(attr(c, "FloatHeight3D"));
            s.thickness3D = toDouble(attr(c, "Thickness3D"));
            s.wallTransparent = toInt(attr(c, "WallTransparent"));
            s.rotate = toDouble(attr(c, "Rotate"));
            if (has(c, "ISVisibleDragLine")) s.isVisibleDragLine = isTrue(attr(c, "ISVisibleDragLine"));
        }
    }
}

void readStyle(const TiXmlElement* style, SituationSymbol& s) {
    s.styleDisplayType = toInt(attr(style, "DisplayType"));
    s.lineType = toInt(attr(style, "LineType"));
    if (s.lineType == kDashLineType) {
        s.dashLineLength = toInt(attr(style, "DashLineLength"));
        s.dashLineInterval = toInt(attr(style, "DashLineInterval"));
    }
    for (const TiXmlElement* c = style->FirstChildElement(); c; c = c->NextSiblingElement()) {
        if (named(c, "MainLine")) {
            s.mainLineColor = toColour(attr(c, "Color"));
            s.mainLineWidth = toDouble(attr(c, "Width"));
        } else if (named(c, "SurroundLine")) {
            s.surroundLineType = toInt(attr(c, "Type"));
            s.surroundLineColor = toColour(attr(c, "Color"));
            s.surroundLineWidth = toDouble(attr(c, "Width"));
        } else if (named(c, "Fill")) {
            s.fillColor = toColour(attr(c, "Color"));
            s.fillMode = toInt(attr(c, "Mode"));
        } else if (named(c, "Mirroring")) {
            s.hasMirroring = true;
            s.mirrorHorizontal = isTrue(attr(c, "Horizontal"));
            s.mirrorVertical = isTrue(attr(c, "Vertical"));
        }
    }
}

void readAnnotation(const TiXmlElement* anno, SituationSymbol& s) {
    s.annoText = ansiAttr(anno, "Text");
    s.annoVisible = isTrue(attr(anno, "Visible"));
    for (const TiXmlElement* c = anno->FirstChildElement(); c; c = c->NextSiblingElement()) {
        if (named(c, "AnnoFont")) {
            s.annoFontFamily = fontFamily(attr(c, "Family"));
            s.annoFontWidth = toDouble(attr(c, "Width"));
            s.annoFontHeight = toDouble(attr(c, "Height"));
        } else if (named(c, "AnnoFontEffect")) {
            s.annoItalic = isTrue(attr(c, "Italic"));
            s.annoBold = isTrue(attr(c, "Bold"));
        } else if (named(c, "AnnoColor")) {
            s.annoBackColor = toColour(attr(c, "Back"));
            s.annoTextColor = toColour(attr(c, "Text"));
        } else if (named(c, "AnnoPosType")) {
            s.annoPosType = toInt(attr(c, "PosType"));
        }
        // "AnnoTextRotate" carries nothing that is kept.
    }
}

void readDragLine(const TiXmlElement* drag, SituationSymbol& s) {
    s.dragLineVisible = isTrue(attr(drag, "DragLineVisble"));
    for (const TiXmlElement* c = drag->FirstChildElement(); c; c = c->NextSiblingElement()) {
        if (named(c, "DotDragLinePoint")) s.dragLinePoints.push_back(point(c));
    }
}

void readInnerTexts(const TiXmlElement* inner, SituationSymbol& s) {
    for (const TiXmlElement* c = inner->FirstChildElement(); c; c = c->NextSiblingElement()) {
        if (named(c, "InnerText")) {
            s.innerTextIndexes.push_back(toInt(attr(c, "Index")));
            s.innerTexts.push_back(ansiAttr(c, "Text"));
        } else if (named(c, "InnerFont")) {
            s.innerFontFamilies.push_back(fontFamily(attr(c, "Family")));
        } else if (named(c, "InnerColor")) {
            s.innerBackColors.push_back(toColour(attr(c, "Back")));
            s.innerTextColors.push_back(toColour(attr(c, "Text")));
        }
    }
}

void readChildSettings(const TiXmlElement* children, SituationSymbol& s) {
    for (const TiXmlElement* c = children->FirstChildElement(); c; c = c->NextSiblingElement()) {
        if (!named(c, "ChildSymbol")) break;
        s.childHMirroring.push_back(toInt(attr(c, "SubSymbolHMirroring")) == 1 ? 1 : 0);
        s.childVMirroring.push_back(toInt(attr(c, "SubSymbolVMirroring")) == 1 ? 1 : 0);
        s.childRotate = toDouble(attr(c, "SubSymbolRotate"));
    }
}

}  // namespace

int SituationConverter::readSymbol(const TiXmlElement* element, SituationSymbol& target, bool asChild) {
    SituationSymbol child;
    SituationSymbol& s = asChild ? child : target;

    s.guid = toInt(attr(element, "Guid"));
    const std::string code = attr(element, "Code");
    const size_t comma = code.find(',');
    if (comma == std::string::npos) {
        s.libId = s.code = toInt(code.c_str());
    } else {
        s.libId = toInt(code.substr(0, comma).c_str());
        s.code = toInt(code.c_str() + comma + 1);
    }
    s.canSelected = isTrue(attr(element, "CanSelected"));
    const char* operType = attr(element, "OperType");
    if (*operType != '\0') s.operType = lookup(operType, kOperTypeNames, kOperTypeCount, s.operType);
    s.name = ansiAttr(element, "Name");
    if (has(element, "IsSetGenAttr")) s.isSetGenAttr = isTrue(attr(element, "IsSetGenAttr"));
    s.visible = isTrue(attr(element, "Visible"));
    if (has(element, "DisplayType")) {
        s.displayType =
            lookup(attr(element, "DisplayType"), kDisplayTypeNames, kDisplayTypeCount, s.displayType);
    }

    for (const TiXmlElement* c = element->FirstChildElement(); c; c = c->NextSiblingElement()) {
        if (named(c, "Symbol")) break;  // a nested symbol ends this symbol's own elements
        if (named(c, "GeoAttr")) {
            readGeometry(c, s);
        } else if (named(c, "StyleAttr")) {
            readStyle(c, s);
        } else if (named(c, "AnnoTextAttr")) {
            readAnnotation(c, s);
        } else if (named(c, "DotDragLine")) {
            readDragLine(c, s);
        } else if (named(c, "InnerTextAttr")) {
            readInnerTexts(c, s);
        } else if (named(c, "DedicatedText")) {
            if (has(c, "Text")) s.dedicatedText = ansiAttr(c, "Text");
            if (has(c, "TextFont")) s.dedicatedTextFont = ansiAttr(c, "TextFont");
            if (has(c, "BackColor")) s.dedicatedBackColor = toColour(attr(c, "BackColor"));
        } else if (named(c, "AvoidPoint")) {
            if (m_marks.markType(s.libId, s.code) != 0) s.avoidPoints.push_back(point(c));
        } else if (named(c, "UserData")) {
            s.userDataKey = attr(c, "Key");
            s.userDataValue = attr(c, "Value");
        } else if (named(c, "ChildSymbols")) {
            readChildSettings(c, s);
        } else if (named(c, "ShowRang")) {
            readRange(c, s.showRangMin, s.showRangMax);
        } else if (named(c, "HalfPixelRang")) {
            readRange(c, s.halfPixelRangMin, s.halfPixelRangMax);
        } else if (named(c, "CombinationChild")) {
            s.combinationCount = toInt(attr(c, "Count"));
            if (s.combinationCount != 0) {
                for (const TiXmlElement* sub = c->FirstChildElement(); sub; sub = sub->NextSiblingElement()) {
                    if (named(sub, "Symbol")) readSymbol(sub, target, true);
                }
            }
        }
        // "LabelText", "LabelMargin", "LabelRowSpace", "LabelTextFonts",
        // "LabelRectPoint" and unknown elements carry nothing that is kept.
    }

    if (asChild) target.combinationChildren.push_back(std::move(child));
    return 0;
}

}  // namespace HQ

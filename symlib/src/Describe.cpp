// SPDX-License-Identifier: Apache-2.0
#include "Describe.h"

#include "Json.h"

#include <markstore/SymbolUnitKinds.h>

#include <cstdio>

namespace symlib {

namespace {

std::string Num(double v) { return JsonNumber(v); }

std::string Color(const std::uint8_t c[4]) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "#%02x%02x%02x%02x", c[0], c[1], c[2], c[3]);
    return buf;
}

std::string Bool(bool b) { return b ? "true" : "false"; }

// Fields whose values are JSON strings rather than numbers or booleans.
bool IsTextField(const std::string& name) {
    const std::string tail = "Color";
    return name == "MarkName" || name == "FontName" || name == "Text" ||
           (name.size() >= tail.size() && name.compare(name.size() - tail.size(), tail.size(), tail) == 0);
}

}  // namespace

Fields CommonFields(const HQ::CHQGS_SymbolCommAttr& a, const Library& library) {
    return {{"LibID", Num(a.LibID)},
            {"ID", Num(a.ID)},
            {"PID", Num(a.PID)},
            {"MarkName", library.utf8(a.MarkName)},
            {"ConnectId", Num(a.ConnectId)},
            {"ConnectLibID", Num(a.ConnectLibID)},
            {"Mirror", Num(a.Mirror)},
            {"PosX", Num(a.PosX)},
            {"PosY", Num(a.PosY)},
            {"UnknownS", Num(a.UnknownS)},
            {"TextNum", Num(a.TextNum)},
            {"Heading", Num(a.Heading)},
            {"MarkType", Num(a.MarkType)},
            {"MinX", Num(a.MinX)},
            {"MinY", Num(a.MinY)},
            {"MaxX", Num(a.MaxX)},
            {"MaxY", Num(a.MaxY)},
            {"ExtraInt1", Num(a.ExtraInt1)},
            {"ExtraInt2", Num(a.ExtraInt2)}};
}

std::string KindName(const HQ::CHQGS_SymbolUnit& unit) {
    switch (unit.GetType()) {
        case HQ::Unit_Line:
            return "line";
        case HQ::Unit_Rect:
            return "rect";
        case HQ::Unit_Ellipse:
            return "ellipse";
        case HQ::Unit_Arc:
            return "arc";
        case HQ::Unit_Sector:
            return "sector";
        case HQ::Unit_Text:
            return "text";
        case HQ::Unit_TextBox:
            return "textbox";
        case HQ::Unit_Picture:
            return "picture";
        case HQ::Unit_Combo:
            return "combo";
        default:
            return "none";
    }
}

Fields UnitFields(const HQ::CHQGS_SymbolUnit& unit, const Library& library) {
    const HQ::CHQGS_SymbolUnitAttr a = unit.GetAttr();
    Fields f = {{"LineStyle", Num(a.LineStyle)},
                {"LineWidth", Num(a.LineWidth)},
                {"IsClose", Bool(a.IsClose)},
                {"IsOutline", Bool(a.IsOutline)},
                {"FillStyle", Num(a.FillStyle)},
                {"LineColor", Color(a.LineColor)},
                {"OutlineColor", Color(a.OutlineColor)},
                {"FillColor", Color(a.FillColor)},
                {"IsLineStyleFixedness", Bool(a.IsLineStyleFixedness)},
                {"IsColorFixedness", Bool(a.IsColorFixedness)},
                {"IsNotFill", Bool(a.IsNotFill)}};
    std::uint8_t rgba[4];
    if (unit.GetType() == HQ::Unit_Text) {
        const auto& t = static_cast<const HQ::CHQGS_SymbolUnitText&>(unit);
        t.GetFontColor(rgba);
        f.insert(f.end(), {{"Text", library.utf8(t.GetText())},
                           {"FontName", library.utf8(t.GetFontName())},
                           {"FontWidth", Num(t.GetFontWidth())},
                           {"FontHeight", Num(t.GetFontHeight())},
                           {"FontAngle", Num(t.GetFontAngle())},
                           {"FontColor", Color(rgba)},
                           {"FontStyle", Num(t.GetFontStyle())}});
    } else if (unit.GetType() == HQ::Unit_TextBox) {
        const auto& t = static_cast<const HQ::CHQGS_SymbolUnitTextBox&>(unit);
        t.GetFontColor(rgba);
        f.insert(f.end(), {{"FontName", library.utf8(t.GetFontName())},
                           {"FontWidth", Num(t.GetFontWidth())},
                           {"FontHeight", Num(t.GetFontHeight())},
                           {"FontAngle", Num(t.GetFontAngle())},
                           {"FontColor", Color(rgba)},
                           {"FontStyle", Num(t.GetFontStyle())}});
    } else if (unit.GetType() == HQ::Unit_Picture) {
        f.push_back(
            {"PictureBytes", Num(static_cast<const HQ::CHQGS_SymbolUnitPicture&>(unit).GetBufSize())});
    }
    return f;
}

std::vector<HQ::CHQ_Point2D> DefiningPoints(const HQ::CHQGS_SymbolUnit& unit) {
    switch (unit.GetType()) {
        case HQ::Unit_Line:
            return static_cast<const HQ::CHQGS_SymbolUnitLine&>(unit).GetVectexs();
        case HQ::Unit_Text: {
            const auto& t = static_cast<const HQ::CHQGS_SymbolUnitText&>(unit);
            return {HQ::CHQ_Point2D(t.GetFontPosX(), t.GetFontPosY())};
        }
        case HQ::Unit_Combo: {
            std::vector<HQ::CHQ_Point2D> out;
            const auto& c = static_cast<const HQ::CHQGS_SymbolUnitCombo&>(unit);
            for (int g = 0; g < HQ::CHQGS_SymbolUnitCombo::GroupCount; ++g)
                for (auto& line : c.GetLineGroup(g)) out.insert(out.end(), line.begin(), line.end());
            return out;
        }
        default:
            return unit.GetActualPts();
    }
}

std::string DescribeText(const HQ::CHQGS_Symbol& symbol, const Library& library) {
    const HQ::CHQGS_SymbolCommAttr& a = *symbol.GetCommAttr();
    std::string out;
    for (auto& [name, value] : CommonFields(a, library)) out += name + ": " + value + "\n";
    const auto units = symbol.GetUnits();
    out += "Units: " + std::to_string(units.size()) + "\n";
    for (std::size_t i = 0; i < units.size(); ++i) {
        if (!units[i]) continue;
        out += "  [" + std::to_string(i) + "] " + KindName(*units[i]) + "\n";
        for (auto& [name, value] : UnitFields(*units[i], library))
            out += "      " + name + ": " + value + "\n";
        out += "      Points:";
        for (auto& p : DefiningPoints(*units[i])) out += " (" + Num(p.x) + ", " + Num(p.y) + ")";
        out += "\n";
    }
    return out;
}

std::string DescribeJson(const HQ::CHQGS_Symbol& symbol, const Library& library) {
    auto object = [](const Fields& fields) {
        std::string s = "{";
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (i) s += ',';
            s += JsonString(fields[i].first) + ':' +
                 (IsTextField(fields[i].first) ? JsonString(fields[i].second) : fields[i].second);
        }
        return s + '}';
    };
    std::string out =
        "{\"attributes\":" + object(CommonFields(*symbol.GetCommAttr(), library)) + ",\"units\":[";
    bool first = true;
    for (const HQ::CHQGS_SymbolUnit* unit : symbol.GetUnits()) {
        if (!unit) continue;
        if (!first) out += ',';
        first = false;
        out += "{\"kind\":" + JsonString(KindName(*unit)) + ",\"type\":" + Num(unit->GetType()) +
               ",\"attributes\":" + object(UnitFields(*unit, library)) + ",\"points\":[";
        bool firstPoint = true;
        for (auto& p : DefiningPoints(*unit)) {
            if (!firstPoint) out += ',';
            firstPoint = false;
            out += '[' + Num(p.x) + ',' + Num(p.y) + ']';
        }
        out += "]}";
    }
    return out + "]}\n";
}

}  // namespace symlib

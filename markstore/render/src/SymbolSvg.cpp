// SPDX-License-Identifier: Apache-2.0
// SVG pictures of symbols; the rules are described in SymbolSvg.h.
#include <markstore/Symbol.h>
#include <markstore/SymbolSvg.h>
#include <markstore/SymbolUnitKinds.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace HQ {

namespace {

// An axis-parallel box that grows with the points it is given.
struct Box {
    double minX = std::numeric_limits<double>::infinity();
    double minY = std::numeric_limits<double>::infinity();
    double maxX = -std::numeric_limits<double>::infinity();
    double maxY = -std::numeric_limits<double>::infinity();

    bool empty() const { return !(minX <= maxX && minY <= maxY); }
    void add(double x, double y) {
        if (!std::isfinite(x) || !std::isfinite(y)) return;
        minX = std::min(minX, x), maxX = std::max(maxX, x);
        minY = std::min(minY, y), maxY = std::max(maxY, y);
    }
    void add(const CHQ_Point2D& p) { add(p.x, p.y); }
    bool contains(const Box& o, double tolerance) const {
        return o.minX >= minX - tolerance && o.maxX <= maxX + tolerance && o.minY >= minY - tolerance &&
               o.maxY <= maxY + tolerance;
    }
};

// Numbers are written without the C library's locale-dependent formatting.
class NumberWriter {
public:
    explicit NumberWriter(int decimals) : decimals_(decimals) {}

    void write(std::string& out, double v) const {
        if (!std::isfinite(v)) v = 0;
        if (v == 0) v = 0;  // no "-0"
        char buf[64];
        std::to_chars_result r;
        if (decimals_ < 0) {
            r = std::to_chars(buf, buf + sizeof buf, v);
        } else {
            r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals_);
            // Trim trailing zeros and a bare point.
            char* end = r.ptr;
            if (std::memchr(buf, '.', static_cast<std::size_t>(end - buf))) {
                while (end[-1] == '0') --end;
                if (end[-1] == '.') --end;
            }
            if (end - buf == 2 && buf[0] == '-' && buf[1] == '0') {
                buf[0] = '0';
                end = buf + 1;
            }
            r.ptr = end;
        }
        out.append(buf, r.ptr);
    }
    std::string operator()(double v) const {
        std::string s;
        write(s, v);
        return s;
    }

private:
    int decimals_;
};

const char* KindName(Type_Unit type) {
    switch (type) {
        case Unit_Line:
            return "line";
        case Unit_Rect:
            return "rect";
        case Unit_Ellipse:
            return "ellipse";
        case Unit_Arc:
            return "arc";
        case Unit_Sector:
            return "sector";
        case Unit_Text:
            return "text";
        case Unit_TextBox:
            return "textbox";
        case Unit_Picture:
            return "picture";
        case Unit_Combo:
            return "combo";
        default:
            return "none";
    }
}

std::string HexColor(const std::uint8_t c[4]) {
    static const char digits[] = "0123456789abcdef";
    std::string s = "#";
    for (int i = 0; i < 3; ++i) {
        s += digits[c[i] >> 4];
        s += digits[c[i] & 15];
    }
    return s;
}

std::string Opacity(std::uint8_t a) {
    NumberWriter w(4);
    return w(a / 255.0);
}

// Stroke dash pattern of a line style code, in multiples of the line width.
std::vector<double> DashPattern(std::uint16_t lineStyle) {
    switch (lineStyle) {
        case 2:
            return {4, 2};
        case 3:
            return {1, 2};
        case 4:
            return {4, 2, 1, 2};
        case 5:
            return {4, 2, 1, 2, 1, 2};
        default:
            return {};  // 0, 1 and unknown codes: solid
    }
}

bool IsHatch(std::uint16_t fillStyle) { return fillStyle >= 2 && fillStyle <= 7; }

// Display width of a UTF-8 text in character cells: wide (East Asian)
// characters take two.
int CellCount(const std::string& utf8) {
    int cells = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        std::size_t len = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : 4;
        char32_t c = b;
        if (len == 3 && i + 2 < utf8.size()) {
            c = ((b & 0x0F) << 12) | ((static_cast<unsigned char>(utf8[i + 1]) & 0x3F) << 6) |
                (static_cast<unsigned char>(utf8[i + 2]) & 0x3F);
        }
        const bool wide = len == 4 || (len == 3 && c >= 0x1100 && !(c >= 0x2000 && c < 0x2E80));
        cells += wide ? 2 : 1;
        i += len;
    }
    return cells;
}

std::string Base64(const char* data, std::size_t size) {
    static const char table[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((size + 2) / 3 * 4);
    const auto* p = reinterpret_cast<const unsigned char*>(data);
    std::size_t i = 0;
    for (; i + 2 < size; i += 3) {
        const unsigned v = (p[i] << 16) | (p[i + 1] << 8) | p[i + 2];
        out += table[v >> 18], out += table[(v >> 12) & 63], out += table[(v >> 6) & 63],
            out += table[v & 63];
    }
    if (i + 1 == size) {
        const unsigned v = p[i] << 16;
        out += table[v >> 18], out += table[(v >> 12) & 63], out += "==";
    } else if (i + 2 == size) {
        const unsigned v = (p[i] << 16) | (p[i + 1] << 8);
        out += table[v >> 18], out += table[(v >> 12) & 63], out += table[(v >> 6) & 63], out += '=';
    }
    return out;
}

// The media type of image bytes, from their signature; null when unknown.
const char* ImageMediaType(const char* data, int size) {
    const auto n = static_cast<std::size_t>(std::max(size, 0));
    auto starts = [&](const char* sig, std::size_t len) {
        return n >= len && std::memcmp(data, sig, len) == 0;
    };
    if (starts("\x89PNG\r\n\x1a\n", 8)) return "image/png";
    if (starts("\xFF\xD8\xFF", 3)) return "image/jpeg";
    if (starts("GIF87a", 6) || starts("GIF89a", 6)) return "image/gif";
    if (starts("BM", 2) && n >= 26) return "image/bmp";
    return nullptr;
}

// Everything the renderer needs of one unit, read once through the public
// interface.
struct UnitView {
    const CHQGS_SymbolUnit* unit = nullptr;
    Type_Unit type = Unit_None;
    CHQGS_SymbolUnitAttr attr;
    std::vector<std::vector<CHQ_Point2D>> rings;  // outline(s) to stroke/fill
    bool closed = false;
    std::vector<CHQ_Point2D> definingPoints;
    // text
    std::string text, fontName;
    double fontX = 0, fontY = 0, fontAngle = 0, fontHeight = 0, fontWidth = 0;
    std::uint8_t fontColor[4] = {0, 0, 0, 0};
    // picture
    const char* pictureData = nullptr;
    int pictureSize = 0;
    Box pictureBox;
};

class Renderer {
public:
    Renderer(const CHQGS_Symbol& symbol, const SvgOptions& options)
        : symbol_(symbol), options_(options), num_(options.decimals) {}

    std::string render();

private:
    std::string utf8(const std::string& text) const { return SymbolTextToUtf8(text, options_.textEncoding); }
    UnitView read(const CHQGS_SymbolUnit* unit) const;
    void addToBox(const UnitView& u, Box& box) const;
    void writePathData(std::string& out, const std::vector<std::vector<CHQ_Point2D>>& rings,
                       bool closed) const;
    void writeStyle(std::string& out, const UnitView& u, std::size_t index) const;
    void writeHatch(std::string& defs, const UnitView& u, std::size_t index) const;
    void writeUnit(std::string& out, std::string& defs, const UnitView& u, std::size_t index) const;

    const CHQGS_Symbol& symbol_;
    const SvgOptions& options_;
    NumberWriter num_;
};

UnitView Renderer::read(const CHQGS_SymbolUnit* unit) const {
    UnitView u;
    u.unit = unit;
    u.type = unit->GetType();
    u.attr = unit->GetAttr();
    u.definingPoints = unit->GetActualPts();
    switch (u.type) {
        case Unit_Line: {
            u.rings.push_back(unit->GetOriPts());
            u.closed = u.attr.IsClose;
            u.definingPoints = static_cast<const CHQGS_SymbolUnitLine*>(unit)->GetVectexs();
            break;
        }
        case Unit_Ellipse:
        case Unit_Sector:
            u.rings.push_back(unit->GetOriPts());
            u.closed = true;
            break;
        case Unit_Arc:
            u.rings.push_back(unit->GetOriPts());
            u.closed = u.attr.IsClose;
            break;
        case Unit_Rect: {
            std::vector<CHQ_Point2D> ring = unit->GetOriPts();
            if (ring.empty() && u.definingPoints.size() >= 2) {
                const CHQ_Point2D& a = u.definingPoints[0];
                const CHQ_Point2D& b = u.definingPoints[1];
                ring = {CHQ_Point2D(a.x, a.y), CHQ_Point2D(b.x, a.y), CHQ_Point2D(b.x, b.y),
                        CHQ_Point2D(a.x, b.y)};
            }
            u.rings.push_back(ring);
            u.closed = true;
            break;
        }
        case Unit_Combo: {
            const auto* combo = static_cast<const CHQGS_SymbolUnitCombo*>(unit);
            for (int g = 0; g < CHQGS_SymbolUnitCombo::GroupCount; ++g)
                for (auto& line : combo->GetLineGroup(g)) {
                    for (auto& p : line) u.definingPoints.push_back(p);
                    u.rings.push_back(line);
                }
            u.closed = u.attr.IsClose;
            break;
        }
        case Unit_Text: {
            const auto* t = static_cast<const CHQGS_SymbolUnitText*>(unit);
            u.text = utf8(t->GetText());
            u.fontName = utf8(t->GetFontName());
            u.fontX = t->GetFontPosX(), u.fontY = t->GetFontPosY();
            u.fontAngle = t->GetFontAngle();
            u.fontHeight = t->GetFontHeight(), u.fontWidth = t->GetFontWidth();
            t->GetFontColor(u.fontColor);
            u.definingPoints = {CHQ_Point2D(u.fontX, u.fontY)};
            break;
        }
        case Unit_TextBox: {
            const auto* t = static_cast<const CHQGS_SymbolUnitTextBox*>(unit);
            std::vector<CHQ_Point2D> pts = unit->GetOriPts();
            if (pts.size() > 4) pts.resize(4);
            u.rings.push_back(pts);
            u.closed = true;
            u.fontName = utf8(t->GetFontName());
            t->GetFontColor(u.fontColor);
            break;
        }
        case Unit_Picture: {
            const auto* p = static_cast<const CHQGS_SymbolUnitPicture*>(unit);
            u.pictureData = p->GetBufData();
            u.pictureSize = p->GetBufSize();
            if (u.definingPoints.size() >= 2) {
                u.pictureBox.add(u.definingPoints[0]);
                u.pictureBox.add(u.definingPoints[1]);
            }
            break;
        }
        default:
            break;
    }
    return u;
}

void Renderer::addToBox(const UnitView& u, Box& box) const {
    for (auto& ring : u.rings)
        for (auto& p : ring) box.add(p);
    if (u.type == Unit_Text) {
        const double w = u.fontWidth * CellCount(u.text);
        const double h = u.fontHeight;
        // The text's cell, turned about its anchor.
        const double a = -u.fontAngle * 3.14159265358979323846 / 180.0;
        const double c = std::cos(a), s = std::sin(a);
        const double corners[4][2] = {{0, 0}, {w, 0}, {w, h}, {0, h}};
        for (auto& k : corners) box.add(u.fontX + k[0] * c - k[1] * s, u.fontY + k[0] * s + k[1] * c);
    }
    if (u.type == Unit_Picture && !u.pictureBox.empty()) {
        box.add(u.pictureBox.minX, u.pictureBox.minY);
        box.add(u.pictureBox.maxX, u.pictureBox.maxY);
    }
}

void Renderer::writePathData(std::string& out, const std::vector<std::vector<CHQ_Point2D>>& rings,
                             bool closed) const {
    out += " d=\"";
    bool first = true;
    for (auto& ring : rings) {
        bool started = false;
        for (auto& p : ring) {
            if (!std::isfinite(p.x) || !std::isfinite(p.y)) continue;
            if (!first) out += ' ';
            first = false;
            out += started ? 'L' : 'M';
            started = true;
            num_.write(out, p.x);
            out += ',';
            num_.write(out, p.y);
        }
        if (started && closed) out += " Z";
    }
    out += '"';
}

void Renderer::writeStyle(std::string& out, const UnitView& u, std::size_t index) const {
    const CHQGS_SymbolUnitAttr& a = u.attr;
    const std::uint8_t* stroke = a.IsOutline ? a.OutlineColor : a.LineColor;
    const double width = std::isfinite(a.LineWidth) ? std::max(a.LineWidth, 0.5) : 1.0;
    out += " stroke=\"" + HexColor(stroke) + '"';
    if (stroke[3] != 255) out += " stroke-opacity=\"" + Opacity(stroke[3]) + '"';
    out += " stroke-width=\"" + num_(width) + '"';
    out += " stroke-linejoin=\"round\"";
    const std::vector<double> dashes = DashPattern(a.LineStyle);
    if (!dashes.empty()) {
        out += " stroke-dasharray=\"";
        for (std::size_t i = 0; i < dashes.size(); ++i) {
            if (i) out += ' ';
            num_.write(out, dashes[i] * width);
        }
        out += '"';
    }
    if (a.IsNotFill) {
        out += " fill=\"none\"";
    } else {
        if (IsHatch(a.FillStyle))
            out += " fill=\"url(#" + XmlEscape(options_.idPrefix) + "fill" + std::to_string(index) + ")\"";
        else
            out += " fill=\"" + HexColor(a.FillColor) + '"';
        if (a.FillColor[3] != 255) out += " fill-opacity=\"" + Opacity(a.FillColor[3]) + '"';
    }
}

void Renderer::writeHatch(std::string& defs, const UnitView& u, std::size_t index) const {
    const CHQGS_SymbolUnitAttr& a = u.attr;
    if (a.IsNotFill || !IsHatch(a.FillStyle)) return;
    // Lines across an 8 x 8 tile; the diagonals run corner to corner so that
    // neighbouring tiles join.
    const char* lines = "";
    switch (a.FillStyle) {
        case 2:
            lines = "M0,4 L8,4";
            break;
        case 3:
            lines = "M4,0 L4,8";
            break;
        case 4:
            lines = "M0,4 L8,4 M4,0 L4,8";
            break;
        case 5:
            lines = "M0,8 L8,0 M-2,2 L2,-2 M6,10 L10,6";
            break;
        case 6:
            lines = "M0,0 L8,8 M-2,6 L2,10 M6,-2 L10,2";
            break;
        case 7:
            lines = "M0,8 L8,0 M0,0 L8,8";
            break;
    }
    defs += "<pattern id=\"" + XmlEscape(options_.idPrefix) + "fill" + std::to_string(index) +
            "\" patternUnits=\"userSpaceOnUse\" width=\"8\" height=\"8\"><path d=\"" + lines +
            "\" stroke=\"" + HexColor(a.FillColor) + "\" stroke-width=\"1\" fill=\"none\"/></pattern>";
}

void Renderer::writeUnit(std::string& out, std::string& defs, const UnitView& u, std::size_t index) const {
    const std::string head =
        " data-unit=\"" + std::to_string(index) + "\" data-kind=\"" + KindName(u.type) + '"';
    switch (u.type) {
        case Unit_Line:
        case Unit_Rect:
        case Unit_Ellipse:
        case Unit_Arc:
        case Unit_Sector:
        case Unit_Combo:
            writeHatch(defs, u, index);
            out += "<path" + head;
            writePathData(out, u.rings, u.closed);
            writeStyle(out, u, index);
            out += "/>\n";
            break;
        case Unit_Text: {
            const std::string x = num_(u.fontX);
            const std::string y = num_(u.fontY + 0.8 * u.fontHeight);
            std::string family;
            for (char ch : u.fontName)
                if (ch != '\'' && ch != '\\' && ch != '"') family += ch;
            out += "<text" + head + " x=\"" + x + "\" y=\"" + y + "\" font-size=\"" + num_(u.fontHeight) +
                   "\" font-family=\"" + (family.empty() ? std::string() : "'" + XmlEscape(family) + "', ") +
                   "sans-serif\" fill=\"" + HexColor(u.fontColor) + '"';
            if (u.fontColor[3] != 255) out += " fill-opacity=\"" + Opacity(u.fontColor[3]) + '"';
            if (u.fontAngle != 0 && std::isfinite(u.fontAngle))
                out += " transform=\"rotate(" + num_(-u.fontAngle) + ' ' + num_(u.fontX) + ' ' +
                       num_(u.fontY) + ")\"";
            out += " xml:space=\"preserve\">" + XmlEscape(u.text) + "</text>\n";
            break;
        }
        case Unit_TextBox: {
            out += "<g" + head + "><path";
            writePathData(out, u.rings, true);
            out += " fill=\"none\" stroke=\"" + HexColor(u.fontColor) + "\" stroke-width=\"1\"";
            if (u.fontColor[3] != 255) out += " stroke-opacity=\"" + Opacity(u.fontColor[3]) + '"';
            out += "/></g>\n";
            break;
        }
        case Unit_Picture: {
            out += "<g" + head + '>';
            if (!u.pictureBox.empty()) {
                const Box& b = u.pictureBox;
                const char* type = ImageMediaType(u.pictureData, u.pictureSize);
                if (type && u.pictureData) {
                    out += "<image x=\"" + num_(b.minX) + "\" y=\"" + num_(b.minY) + "\" width=\"" +
                           num_(b.maxX - b.minX) + "\" height=\"" + num_(b.maxY - b.minY) +
                           "\" preserveAspectRatio=\"none\" xlink:href=\"data:" + type + ";base64," +
                           Base64(u.pictureData, static_cast<std::size_t>(u.pictureSize)) + "\"/>";
                } else {
                    std::vector<std::vector<CHQ_Point2D>> frame = {
                        {CHQ_Point2D(b.minX, b.minY), CHQ_Point2D(b.maxX, b.minY),
                         CHQ_Point2D(b.maxX, b.maxY), CHQ_Point2D(b.minX, b.maxY)}};
                    out += "<path";
                    writePathData(out, frame, true);
                    out += " fill=\"none\" stroke=\"#808080\" stroke-width=\"1\"/><path";
                    frame = {{CHQ_Point2D(b.minX, b.minY), CHQ_Point2D(b.maxX, b.maxY)},
                             {CHQ_Point2D(b.maxX, b.minY), CHQ_Point2D(b.minX, b.maxY)}};
                    writePathData(out, frame, false);
                    out += " fill=\"none\" stroke=\"#808080\" stroke-width=\"1\"/>";
                }
            }
            out += "</g>\n";
            break;
        }
        default:
            out += "<g" + head + "/>\n";
            break;
    }
}

std::string Renderer::render() {
    const std::vector<CHQGS_SymbolUnit*> units = symbol_.GetUnits();
    std::vector<UnitView> views;
    views.reserve(units.size());
    Box drawn;
    double widest = 0;
    for (const CHQGS_SymbolUnit* unit : units) {
        if (!unit) {
            views.emplace_back();
            continue;
        }
        views.push_back(read(unit));
        addToBox(views.back(), drawn);
        const UnitView& u = views.back();
        if (!u.rings.empty() && std::isfinite(u.attr.LineWidth))
            widest = std::max(widest, u.type == Unit_TextBox ? 1.0 : std::max(u.attr.LineWidth, 0.5));
    }

    // The extent of the common attributes, y negated back into unit space.
    Box view;
    const CHQGS_SymbolCommAttr* comm = symbol_.GetCommAttr();
    if (comm) {
        Box extent;
        extent.add(comm->MinX, -static_cast<double>(comm->MinY));
        extent.add(comm->MaxX, -static_cast<double>(comm->MaxY));
        const bool nonEmpty = !extent.empty() && extent.maxX > extent.minX && extent.maxY > extent.minY;
        if (nonEmpty && (drawn.empty() || extent.contains(drawn, 1e-6))) view = extent;
    }
    if (view.empty()) view = drawn;
    if (view.empty()) view.add(0, 0), view.add(1, 1);
    if (view.maxX == view.minX) view.minX -= 0.5, view.maxX += 0.5;
    if (view.maxY == view.minY) view.minY -= 0.5, view.maxY += 0.5;
    const double side = std::max(view.maxX - view.minX, view.maxY - view.minY);
    const double margin = std::max(0.0, options_.marginFraction) * side + widest / 2;
    const double vx = view.minX - margin, vy = view.minY - margin;
    const double vw = view.maxX - view.minX + 2 * margin, vh = view.maxY - view.minY + 2 * margin;

    double pw = vw, ph = vh;
    if (options_.sizePx > 0) {
        const double scale = options_.sizePx / std::max(vw, vh);
        pw = std::max(1.0, std::round(vw * scale));
        ph = std::max(1.0, std::round(vh * scale));
    }

    std::string body, defs;
    body.reserve(256 + units.size() * 512);
    const std::string prefix = XmlEscape(options_.idPrefix);
    if (options_.background[3] != 0) {
        body += "<rect id=\"" + prefix + "background\" x=\"" + num_(vx) + "\" y=\"" + num_(vy) +
                "\" width=\"" + num_(vw) + "\" height=\"" + num_(vh) + "\" fill=\"" +
                HexColor(options_.background) + '"';
        if (options_.background[3] != 255) body += " fill-opacity=\"" + Opacity(options_.background[3]) + '"';
        body += "/>\n";
    }
    body += "<g id=\"" + prefix + "units\">\n";
    for (std::size_t i = 0; i < views.size(); ++i) writeUnit(body, defs, views[i], i);
    body += "</g>\n";
    if (options_.showPoints) {
        const std::string r = num_(std::max(side, 1.0) * 0.015);
        body += "<g id=\"" + prefix + "points\" fill=\"#ff00ff\" stroke=\"none\">\n";
        for (std::size_t i = 0; i < views.size(); ++i)
            for (auto& p : views[i].definingPoints) {
                if (!std::isfinite(p.x) || !std::isfinite(p.y)) continue;
                body += "<circle data-unit=\"" + std::to_string(i) + "\" cx=\"" + num_(p.x) + "\" cy=\"" +
                        num_(p.y) + "\" r=\"" + r + "\"/>\n";
            }
        body += "</g>\n";
    }

    std::string out;
    out.reserve(body.size() + defs.size() + 512);
    if (options_.xmlDeclaration) out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out +=
        "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
        "version=\"1.1\"";
    out += " width=\"" + num_(pw) + "\" height=\"" + num_(ph) + "\" viewBox=\"" + num_(vx) + ' ' + num_(vy) +
           ' ' + num_(vw) + ' ' + num_(vh) + "\">\n";
    if (comm) {
        out += "<title>" + XmlEscape(utf8(comm->MarkName)) + "</title>\n";
        out += "<desc>library " + std::to_string(comm->LibID) + ", symbol " + std::to_string(comm->ID) +
               "</desc>\n";
    }
    if (!defs.empty()) out += "<defs>" + defs + "</defs>\n";
    out += body;
    out += "</svg>\n";
    return out;
}

}  // namespace

std::string RenderSymbolSvg(const CHQGS_Symbol& symbol, const SvgOptions& options) {
    return Renderer(symbol, options).render();
}

}  // namespace HQ

// SPDX-License-Identifier: Apache-2.0
// Helpers for the renderer tests: parsing the SVG with an XML parser and
// reading its numbers back.
#ifndef SITPLOT_TESTS_SVGTESTSUPPORT_H
#define SITPLOT_TESTS_SVGTESTSUPPORT_H

#include <tinyxml.h>

#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

struct SvgPoint {
    double x, y;
};

// The document parsed; null when it is not well-formed XML.
inline std::unique_ptr<TiXmlDocument> ParseSvg(const std::string& svg) {
    auto doc = std::make_unique<TiXmlDocument>();
    doc->Parse(svg.c_str(), nullptr, TIXML_ENCODING_UTF8);
    if (doc->Error() || !doc->RootElement()) return nullptr;
    return doc;
}

// The unit elements, in order (children of <g id="...units">).
inline std::vector<TiXmlElement*> UnitElements(TiXmlDocument& doc) {
    std::vector<TiXmlElement*> out;
    for (TiXmlElement* g = doc.RootElement()->FirstChildElement("g"); g; g = g->NextSiblingElement("g")) {
        const char* id = g->Attribute("id");
        if (!id || std::string(id).find("units") == std::string::npos) continue;
        for (TiXmlElement* e = g->FirstChildElement(); e; e = e->NextSiblingElement()) out.push_back(e);
    }
    return out;
}

// Points of path data made of M, L and Z commands ("M1,2 L3,4 Z").
inline std::vector<SvgPoint> PathPoints(const char* d, int* closes = nullptr) {
    std::vector<SvgPoint> out;
    if (closes) *closes = 0;
    if (!d) return out;
    std::string text(d);
    for (char& c : text)
        if (c == ',') c = ' ';
    std::istringstream in(text);
    std::string token;
    while (in >> token) {
        if (token == "Z") {
            if (closes) ++*closes;
            continue;
        }
        SvgPoint p;
        p.x = std::strtod(token.c_str() + 1, nullptr);
        in >> p.y;
        out.push_back(p);
    }
    return out;
}

inline std::vector<double> Numbers(const char* text) {
    std::vector<double> out;
    if (!text) return out;
    std::string s(text);
    for (char& c : s)
        if (c == ',') c = ' ';
    std::istringstream in(s);
    double v;
    while (in >> v) out.push_back(v);
    return out;
}

#endif

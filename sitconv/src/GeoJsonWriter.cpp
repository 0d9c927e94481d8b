// SPDX-License-Identifier: Apache-2.0
// GeoJSON form of a converted situation document.
#include <sitconv/GeoJson.h>

#include "JsonOutput.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

namespace HQ {

namespace {

using rapidjson::Value;
using Allocator = rapidjson::Document::AllocatorType;

const double kMaxLongitude = 180.0;
const double kMaxLatitude = 90.0;
// Fewest positions of a closed linear ring (RFC 7946, 3.1.6).
const size_t kMinRingPositions = 4;

struct Position {
    double x, y, z;
    bool operator==(const Position& o) const { return x == o.x && y == o.y && z == o.z; }
};

const Value* member(const Value& object, const char* key) {
    if (!object.IsObject()) return nullptr;
    auto it = object.FindMember(key);
    return it == object.MemberEnd() ? nullptr : &it->value;
}

// The object of a one-object array member ("GeoAttr":[{...}]).
const Value* wrapped(const Value* object, const char* key) {
    const Value* v = object != nullptr ? member(*object, key) : nullptr;
    return (v != nullptr && v->IsArray() && !v->Empty() && (*v)[0].IsObject()) ? &(*v)[0] : nullptr;
}

bool isColourKey(const char* parentKey, const char* key) {
    if (std::strcmp(key, "Color") == 0 || std::strcmp(key, "SubSymbolColor") == 0 ||
        std::strcmp(key, "BackColor") == 0) {
        return true;
    }
    const bool colourPair =
        std::strcmp(parentKey, "AnnoColor") == 0 || std::strcmp(parentKey, "InnerColor") == 0;
    return colourPair && (std::strcmp(key, "Back") == 0 || std::strcmp(key, "Text") == 0);
}

// A deep copy of v in which every colour integer of an object gets its CSS
// sibling; parentKey is the key v (or the array holding v) stands under.
Value withCss(const Value& v, const char* parentKey, Allocator& a) {
    if (v.IsArray()) {
        Value out(rapidjson::kArrayType);
        for (const Value& e : v.GetArray()) out.PushBack(withCss(e, parentKey, a), a);
        return out;
    }
    if (!v.IsObject()) return Value(v, a);
    Value out(rapidjson::kObjectType);
    for (const auto& m : v.GetObject()) {
        const char* key = m.name.GetString();
        out.AddMember(Value(m.name, a), withCss(m.value, key, a), a);
        if (m.value.IsUint() && isColourKey(parentKey, key)) {
            const std::string css = cssColour(m.value.GetUint());
            const std::string cssKey = std::string(key) + "CSS";
            out.AddMember(Value(cssKey.c_str(), a), Value(css.c_str(), a), a);
        }
    }
    return out;
}

Value coordinates(const Position& p, Allocator& a) {
    Value c(rapidjson::kArrayType);
    c.PushBack(p.x, a).PushBack(p.y, a).PushBack(p.z, a);
    return c;
}

// Twice the signed area of the ring in the longitude/latitude plane:
// positive when counter-clockwise.
double signedArea2(const std::vector<Position>& ring) {
    double sum = 0.0;
    for (size_t i = 0; i + 1 < ring.size(); ++i) sum += ring[i].x * ring[i + 1].y - ring[i + 1].x * ring[i].y;
    return sum;
}

class Builder {
public:
    explicit Builder(Allocator& a) : m_a(a) {}

    void symbol(const Value& s, const Value& groupName, const Value& layerName, const Value* parentGuid,
                Value& features, GeoJsonText& result) {
        if (!s.IsObject()) return;
        Value props(rapidjson::kObjectType);
        props.AddMember("LayerGroup Name", Value(groupName, m_a), m_a);
        props.AddMember("Layer Name", Value(layerName, m_a), m_a);
        if (parentGuid != nullptr) props.AddMember("ParentGuid", Value(*parentGuid, m_a), m_a);
        for (const auto& m : s.GetObject()) {
            if (std::strcmp(m.name.GetString(), "CombinationChild") == 0) continue;
            props.AddMember(Value(m.name, m_a), withCss(m.value, m.name.GetString(), m_a), m_a);
        }
        Value feature(rapidjson::kObjectType);
        feature.AddMember("type", "Feature", m_a);
        feature.AddMember("geometry", geometry(s, result), m_a);
        feature.AddMember("properties", props, m_a);
        features.PushBack(feature, m_a);
        ++result.features;

        const Value* children = member(s, "CombinationChild");
        if (children != nullptr && children->IsArray()) {
            const Value* guid = member(s, "Guid");
            Value none;
            for (const Value& c : children->GetArray()) {
                symbol(c, groupName, layerName, guid != nullptr ? guid : &none, features, result);
            }
        }
    }

private:
    Value geometry(const Value& s, GeoJsonText& result) {
        const Value* pointList = wrapped(wrapped(&s, "GeoAttr"), "POINTS");
        const Value* points = pointList != nullptr ? member(*pointList, "Point") : nullptr;
        if (points == nullptr || !points->IsArray() || points->Empty()) return Value(rapidjson::kNullType);

        std::vector<Position> ps;
        for (const Value& p : points->GetArray()) {
            const Value* x = member(p, "X");
            const Value* y = member(p, "Y");
            const Value* z = member(p, "Z");
            if (x == nullptr || y == nullptr || z == nullptr || !x->IsNumber() || !y->IsNumber() ||
                !z->IsNumber()) {
                ++result.nullGeometries;
                return Value(rapidjson::kNullType);
            }
            ps.push_back(Position{x->GetDouble(), y->GetDouble(), z->GetDouble()});
        }
        for (const Position& p : ps) {
            if (std::fabs(p.x) > kMaxLongitude || std::fabs(p.y) > kMaxLatitude) result.outOfRange = true;
        }

        Value g(rapidjson::kObjectType);
        if (ps.size() == 1) {
            g.AddMember("type", "Point", m_a);
            g.AddMember("coordinates", coordinates(ps[0], m_a), m_a);
            return g;
        }
        if (ps.size() >= 3 && fillMode(s) != 0) {
            std::vector<Position> ring = ps;
            if (!(ring.front() == ring.back())) ring.push_back(ring.front());
            if (ring.size() >= kMinRingPositions) {
                if (signedArea2(ring) < 0.0) std::reverse(ring.begin(), ring.end());
                Value r(rapidjson::kArrayType);
                for (const Position& p : ring) r.PushBack(coordinates(p, m_a), m_a);
                Value rings(rapidjson::kArrayType);
                rings.PushBack(r, m_a);
                g.AddMember("type", "Polygon", m_a);
                g.AddMember("coordinates", rings, m_a);
                return g;
            }
        }
        Value line(rapidjson::kArrayType);
        for (const Position& p : ps) line.PushBack(coordinates(p, m_a), m_a);
        g.AddMember("type", "LineString", m_a);
        g.AddMember("coordinates", line, m_a);
        return g;
    }

    static int fillMode(const Value& s) {
        const Value* fill = wrapped(wrapped(&s, "StyleAttr"), "Fill");
        const Value* mode = fill != nullptr ? member(*fill, "Mode") : nullptr;
        return (mode != nullptr && mode->IsInt()) ? mode->GetInt() : 0;
    }

    Allocator& m_a;
};

}  // namespace

std::string cssColour(unsigned int packed) {
    char text[16];
    std::snprintf(text, sizeof(text), "#%08X", packed);
    return text;
}

std::string geoJsonName(const std::string& fileName) {
    const size_t dot = fileName.rfind('.');
    if (dot == std::string::npos || dot == 0) return fileName + ".geojson";
    return fileName.substr(0, dot) + ".geojson";
}

GeoJsonText toGeoJson(const rapidjson::Value& situation) {
    GeoJsonText result;
    rapidjson::Document doc;
    doc.SetObject();
    Allocator& a = doc.GetAllocator();
    Builder builder(a);
    Value features(rapidjson::kArrayType);

    const Value* file = member(situation, "SITSYMBOLFILE");
    const Value* groups = file != nullptr ? member(*file, "LayerGroups") : nullptr;
    const Value empty("");
    if (groups != nullptr && groups->IsArray()) {
        for (const Value& g : groups->GetArray()) {
            const Value* groupName = member(g, "LayerGroup Name");
            const Value* layers = member(g, "Layers");
            if (layers == nullptr || !layers->IsArray()) continue;
            for (const Value& l : layers->GetArray()) {
                const Value* layerName = member(l, "Name");
                const Value* symbols = member(l, "Symbols");
                if (symbols == nullptr || !symbols->IsArray()) continue;
                for (const Value& s : symbols->GetArray()) {
                    builder.symbol(s, groupName ? *groupName : empty, layerName ? *layerName : empty, nullptr,
                                   features, result);
                }
            }
        }
    }
    doc.AddMember("type", "FeatureCollection", a);
    doc.AddMember("features", features, a);
    const Value* actions = member(situation, "ACTIONGROUPS");
    if (actions != nullptr) doc.AddMember("ACTIONGROUPS", Value(*actions, a), a);

    result.text = serializeJson(doc).text;
    result.text += '\n';
    return result;
}

}  // namespace HQ

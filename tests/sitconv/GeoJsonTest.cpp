// SPDX-License-Identifier: Apache-2.0
// GeoJSON form of converted documents: geometry per point count and fill
// mode, ring closing and orientation, combination children, colours,
// foreign members, non-finite and out-of-range coordinates, file names.
#include "SitconvTestSupport.h"

#include <sitconv/GeoJson.h>

#include <gtest/gtest.h>
#include <rapidjson/document.h>

namespace {

using namespace sitconv_test;
using rapidjson::Value;

std::string point(double x, double y, double z = 0.0) {
    std::ostringstream s;
    s << "<Point X=\"" << x << "\" Y=\"" << y << "\" Z=\"" << z << "\"/>";
    return s.str();
}

std::string symbolWith(const std::string& points, int fillMode, const std::string& code = "5,6") {
    return "<Symbol Guid=\"7\" Code=\"" + code + "\" Name=\"s\"><GeoAttr><POINTS>" + points +
           "</POINTS></GeoAttr><StyleAttr><MainLine Color=\"4278190335\" Width=\"1\"/>"
           "<Fill Color=\"305419896\" Mode=\"" +
           std::to_string(fillMode) + "\"/></StyleAttr></Symbol>";
}

// Converts a document (both stages) and answers its GeoJSON, parsed.
struct Converted {
    HQ::GeoJsonText geo;
    rapidjson::Document doc;
};

Converted geoJsonOf(const std::string& xml) {
    Converted c;
    rapidjson::Document json;
    json.Parse<rapidjson::kParseFullPrecisionFlag>(convert(xml).c_str());
    EXPECT_FALSE(json.HasParseError());
    c.geo = HQ::toGeoJson(json);
    c.doc.Parse<rapidjson::kParseFullPrecisionFlag>(c.geo.text.c_str());
    EXPECT_FALSE(c.doc.HasParseError()) << c.geo.text;
    EXPECT_EQ(c.geo.text.back(), '\n');
    return c;
}

double signedArea2(const Value& ring) {
    double sum = 0.0;
    for (rapidjson::SizeType i = 0; i + 1 < ring.Size(); ++i) {
        sum += ring[i][0].GetDouble() * ring[i + 1][1].GetDouble() -
               ring[i + 1][0].GetDouble() * ring[i][1].GetDouble();
    }
    return sum;
}

TEST(GeoJson, GeometryFollowsThePointsAndTheFillMode) {
    const std::string square = point(1, 1) + point(2, 1) + point(2, 2) + point(1, 2);
    const std::string clockwise = point(1, 1) + point(1, 2) + point(2, 2) + point(2, 1);
    struct Case {
        const char* what;
        std::string points;
        int fill;
        const char* type;  // nullptr: null geometry
        int positions;     // coordinates (LineString) or ring positions (Polygon)
    } const cases[] = {
        {"no points", "", 1, nullptr, 0},
        {"one point", point(116.5, 39.5, 12), 1, "Point", 1},
        {"two points, filled", point(1, 1) + point(2, 2), 1, "LineString", 2},
        {"three points, no fill", point(1, 1) + point(2, 1) + point(2, 2), 0, "LineString", 3},
        {"three points, filled", point(1, 1) + point(2, 1) + point(2, 2), 1, "Polygon", 4},
        {"counter-clockwise square", square, 2, "Polygon", 5},
        {"clockwise square", clockwise, 1, "Polygon", 5},
        {"closed ring kept", square + point(1, 1), 1, "Polygon", 5},
        {"ring too short once closed", point(1, 1) + point(2, 2) + point(1, 1), 1, "LineString", 3},
    };
    for (const Case& c : cases) {
        const Converted out = geoJsonOf(documentWithSymbols(symbolWith(c.points, c.fill)));
        ASSERT_EQ(out.doc["features"].Size(), 1u) << c.what;
        const Value& g = out.doc["features"][0]["geometry"];
        if (c.type == nullptr) {
            EXPECT_TRUE(g.IsNull()) << c.what;
            continue;
        }
        ASSERT_TRUE(g.IsObject()) << c.what;
        EXPECT_STREQ(g["type"].GetString(), c.type) << c.what;
        const Value& coords = g["coordinates"];
        if (std::string(c.type) == "Point") {
            EXPECT_EQ(coords[0].GetDouble(), 116.5);
            EXPECT_EQ(coords[1].GetDouble(), 39.5);
            EXPECT_EQ(coords[2].GetDouble(), 12.0) << "the height stays the third coordinate";
        } else if (std::string(c.type) == "LineString") {
            EXPECT_EQ(static_cast<int>(coords.Size()), c.positions) << c.what;
        } else {
            ASSERT_EQ(coords.Size(), 1u) << c.what;
            const Value& ring = coords[0];
            ASSERT_EQ(static_cast<int>(ring.Size()), c.positions) << c.what;
            EXPECT_EQ(ring[0], ring[ring.Size() - 1]) << c.what << ": ring closed";
            EXPECT_GT(signedArea2(ring), 0.0) << c.what << ": counter-clockwise";
        }
    }
}

TEST(GeoJson, PropertiesCarryNamesFieldsAndCssColours) {
    const Converted out = geoJsonOf(documentWithSymbols(symbolWith(point(1, 2), 0)));
    const Value& p = out.doc["features"][0]["properties"];
    EXPECT_STREQ(p["LayerGroup Name"].GetString(), "g");
    EXPECT_STREQ(p["Layer Name"].GetString(), "l");
    EXPECT_EQ(p["Guid"].GetInt(), 7);
    EXPECT_EQ(p["LibID"].GetInt(), 5);
    const Value& mainLine = p["StyleAttr"][0]["MainLine"][0];
    EXPECT_EQ(mainLine["Color"].GetUint(), 4278190335u);
    EXPECT_STREQ(mainLine["ColorCSS"].GetString(), "#FF0000FF");
    const Value& fill = p["StyleAttr"][0]["Fill"][0];
    EXPECT_STREQ(fill["ColorCSS"].GetString(), "#12345678");
    const Value& anno = p["TextAttr"][0]["AnnoColor"][0];
    EXPECT_STREQ(anno["BackCSS"].GetString(), "#00000000");
    EXPECT_FALSE(p["TextAttr"][0].HasMember("TextCSS")) << "the annotation's text is no colour";
    EXPECT_STREQ(out.doc["type"].GetString(), "FeatureCollection");
    EXPECT_STREQ(out.doc["features"][0]["type"].GetString(), "Feature");
}

TEST(GeoJson, CombinationChildrenAreFeaturesNamingTheirParent) {
    const std::string child =
        "<Symbol Guid=\"201\" Code=\"7,1\"><GeoAttr><POINTS>" + point(3, 4) + "</POINTS></GeoAttr></Symbol>";
    const std::string parent = "<Symbol Guid=\"200\" Code=\"32,4\"><GeoAttr><POINTS>" + point(1, 1) +
                               point(2, 2) + "</POINTS></GeoAttr><CombinationChild Count=\"2\">" + child +
                               "<Symbol Guid=\"202\" Code=\"7,2\"/></CombinationChild></Symbol>";
    const Converted out = geoJsonOf(documentWithSymbols(parent));
    const Value& f = out.doc["features"];
    ASSERT_EQ(f.Size(), 3u);
    EXPECT_EQ(out.geo.features, 3);
    EXPECT_EQ(f[0]["properties"]["Guid"].GetInt(), 200);
    EXPECT_FALSE(f[0]["properties"].HasMember("ParentGuid"));
    EXPECT_FALSE(f[0]["properties"].HasMember("CombinationChild"));
    EXPECT_STREQ(f[0]["geometry"]["type"].GetString(), "LineString");
    EXPECT_EQ(f[1]["properties"]["Guid"].GetInt(), 201);
    EXPECT_EQ(f[1]["properties"]["ParentGuid"].GetInt(), 200);
    EXPECT_STREQ(f[1]["geometry"]["type"].GetString(), "Point");
    EXPECT_EQ(f[2]["properties"]["ParentGuid"].GetInt(), 200);
    EXPECT_TRUE(f[2]["geometry"].IsNull());
}

TEST(GeoJson, ActionGroupsAreAForeignMemberAsInTheJson) {
    const std::string xml = readFile(std::string(SITPLOT_TESTDATA_DIR) + "/sitconv/golden/actions.xml");
    rapidjson::Document json;
    json.Parse(convert(xml).c_str());
    const Converted out = geoJsonOf(xml);
    ASSERT_TRUE(out.doc.HasMember("ACTIONGROUPS"));
    EXPECT_EQ(out.doc["ACTIONGROUPS"], json["ACTIONGROUPS"]);
    EXPECT_GT(out.doc["ACTIONGROUPS"]["ActionGroupCount"].GetInt(), 0);
}

TEST(GeoJson, NonFiniteAndOutOfRangeCoordinates) {
    struct Case {
        const char* what;
        std::string points;
        bool nullGeometry;
        bool outOfRange;
    } const cases[] = {
        {"inside", point(179.5, -89.5), false, false},
        {"on the edges", point(-180, 90) + point(180, -90), false, false},
        {"longitude beyond", point(181, 10), false, true},
        {"latitude beyond", point(10, 20) + point(10, -90.5), false, true},
        {"not finite", "<Point X=\"1\" Y=\"nan\" Z=\"0\"/>" + point(1, 1), true, false},
    };
    for (const Case& c : cases) {
        const Converted out = geoJsonOf(documentWithSymbols(symbolWith(c.points, 0)));
        EXPECT_EQ(out.geo.outOfRange, c.outOfRange) << c.what;
        EXPECT_EQ(out.doc["features"][0]["geometry"].IsNull(), c.nullGeometry) << c.what;
        EXPECT_EQ(out.geo.nullGeometries, c.nullGeometry ? 1 : 0) << c.what;
    }
}

TEST(GeoJson, AnythingButAConvertedDocumentIsAnEmptyCollection) {
    rapidjson::Document doc;
    doc.Parse("[1,2]");
    EXPECT_EQ(HQ::toGeoJson(doc).text, "{\"type\":\"FeatureCollection\",\"features\":[]}\n");
}

TEST(GeoJson, FileNamesAndColours) {
    const struct {
        const char* in;
        const char* out;
    } names[] = {{"plan.xml", "plan.geojson"},   {"plan", "plan.geojson"},  {"a.b.xml", "a.b.geojson"},
                 {".hidden", ".hidden.geojson"}, {"plan.", "plan.geojson"}, {"地图.xml", "地图.geojson"}};
    for (const auto& n : names) EXPECT_EQ(HQ::geoJsonName(n.in), n.out) << n.in;
    EXPECT_EQ(HQ::cssColour(0), "#00000000");
    EXPECT_EQ(HQ::cssColour(0xFFFFFFFFu), "#FFFFFFFF");
    EXPECT_EQ(HQ::cssColour(0x0A0B0C0Du), "#0A0B0C0D");
}

}  // namespace

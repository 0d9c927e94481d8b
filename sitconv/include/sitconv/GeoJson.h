// SPDX-License-Identifier: Apache-2.0
// GeoJSON (RFC 7946) form of a converted situation document: one
// FeatureCollection per document, built from the converter's JSON document
// (both stages done), so that both outputs carry the same values.
//
// Every placed symbol becomes a Feature, followed by the features of its
// combination children (property "ParentGuid": the parent's "Guid").
// Geometry from the symbol's points (X longitude, Y latitude, Z height as the
// third coordinate): none -> null; one -> Point; two or more -> LineString;
// three or more with a non-zero fill mode -> Polygon, its ring closed and
// counter-clockwise. A point with a coordinate written as null (a number that
// was not finite) makes the geometry null. Properties: "LayerGroup Name",
// "Layer Name", then the symbol object's members as the JSON output has them
// (without "CombinationChild"), where every colour integer gets a sibling
// "<key>CSS" holding "#RRGGBBAA". The document's "ACTIONGROUPS" is copied as
// a foreign member of the collection.
#ifndef SITCONV_GEOJSON_H
#define SITCONV_GEOJSON_H

#include <rapidjson/document.h>

#include <string>

namespace HQ {

struct GeoJsonText {
    std::string text;         // compact JSON followed by one line feed
    int features = 0;         // features written
    int nullGeometries = 0;   // symbols with points of which one had a null coordinate
    bool outOfRange = false;  // some coordinate outside [-180, 180] x [-90, 90]
};

// situation: the parsed JSON document of the converter (an object with
// "SITSYMBOLFILE"; anything else gives an empty collection).
GeoJsonText toGeoJson(const rapidjson::Value& situation);

// "#RRGGBBAA" of a colour integer packed as 0xRRGGBBAA.
std::string cssColour(unsigned int packed);

// The GeoJSON output's file name for an input file name: its extension
// replaced by ".geojson" (appended when it has none; a leading dot does not
// start an extension).
std::string geoJsonName(const std::string& fileName);

}  // namespace HQ

#endif

// SPDX-License-Identifier: Apache-2.0
// The font attributes that the text and the text-box unit both carry: angle,
// name, width, height, colour (R, G, B, A), character distance, line
// distance and style.
//
// Each of the two public classes keeps its own members and accessors under
// the same names, since hosts derive from the classes and use the members by
// name. What the two have in common is written once here: the zero start of
// the members and the definitions of the accessors.
#ifndef MARKSTORE_MODEL_UNITFONTATTRS_H
#define MARKSTORE_MODEL_UNITFONTATTRS_H

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace HQ {
namespace unitfont {

// Bytes of a font colour.
const std::size_t kColourBytes = 4;

inline void GetColour(const std::uint8_t colour[kColourBytes], std::uint8_t rgba[kColourBytes]) {
    std::memcpy(rgba, colour, kColourBytes);
}

inline void SetColour(std::uint8_t colour[kColourBytes], std::uint8_t r, std::uint8_t g, std::uint8_t b,
                      std::uint8_t a) {
    colour[0] = r;
    colour[1] = g;
    colour[2] = b;
    colour[3] = a;
}

}  // namespace unitfont
}  // namespace HQ

// Member initialisers of a unit's font attributes: all zero, the name empty.
#define MARKSTORE_UNIT_FONT_ZERO                                                                           \
    FontAngle(0.0f), FontWidth(0), FontHeight(0), FontColor{0, 0, 0, 0}, FontDistance(0), LineDistance(0), \
        FontStyle(0)

// Definitions of the font accessors of Unit, which declares them and the
// members they read and write.
#define MARKSTORE_UNIT_FONT_ACCESSORS(Unit)                                                       \
    float Unit::GetFontAngle() const { return FontAngle; }                                        \
    void Unit::SetFontAngle(float angle) { FontAngle = angle; }                                   \
    std::string Unit::GetFontName() const { return FontName; }                                    \
    void Unit::SetFontName(const std::string& name) { FontName = name; }                          \
    std::int16_t Unit::GetFontWidth() const { return FontWidth; }                                 \
    void Unit::SetFontWidth(std::int16_t width) { FontWidth = width; }                            \
    std::int16_t Unit::GetFontHeight() const { return FontHeight; }                               \
    void Unit::SetFontHeight(std::int16_t height) { FontHeight = height; }                        \
    void Unit::GetFontColor(std::uint8_t rgba[4]) const { unitfont::GetColour(FontColor, rgba); } \
    void Unit::SetFontColor(std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a) {     \
        unitfont::SetColour(FontColor, r, g, b, a);                                               \
    }                                                                                             \
    std::int16_t Unit::GetFontDistance() const { return FontDistance; }                           \
    void Unit::SetFontDistance(std::int16_t distance) { FontDistance = distance; }                \
    std::int16_t Unit::GetLineDistance() const { return LineDistance; }                           \
    void Unit::SetLineDistance(std::int16_t distance) { LineDistance = distance; }                \
    std::int16_t Unit::GetFontStyle() const { return FontStyle; }                                 \
    void Unit::SetFontStyle(std::int16_t style) { FontStyle = style; }

#endif

// SPDX-License-Identifier: Apache-2.0
// SVG pictures of symbols.
//
// RenderSymbolSvg turns one CHQGS_Symbol into a standalone SVG 1.1 document
// (UTF-8) with real vector data: one element per unit, in the symbol's unit
// order (later units on top), as children of the group <g id="PREFIXunits">.
// Each such element carries data-unit (its index in the unit list) and
// data-kind (line, rect, ellipse, arc, sector, text, textbox, picture, combo,
// none).
//
// Geometry. The renderer draws what the model computed and derives nothing
// itself:
//   - line, ellipse, arc and sector units: one <path> through the unit's real
//     points (GetOriPts, the outline that Init sampled); the path is closed
//     (Z) for ellipses and sectors and for every unit whose IsClose is set;
//   - a rectangle unit computes no real points: its <path> is the box spanned
//     by its first two defining points (GetActualPts), closed;
//   - a combination: one <path> with one subpath per point list of its four
//     line groups;
//   - a text unit: a <text> at its FontPos, read as the top-left corner of
//     the text (the baseline lies 0.8 x FontHeight below it), font-size
//     FontHeight, font-family the unit's FontName followed by the generic
//     "sans-serif", fill FontColor, turned by FontAngle degrees about FontPos
//     (counter-clockwise as seen);
//   - a text box: a <g> with its frame, the first box of its real points
//     (corners 0-3), drawn 1 unit wide in its font colour; the model gives a
//     text box no text of its own, so no <text> is written for it;
//   - a picture: a <g> holding an <image> with its bytes as a data URI when
//     they are PNG, JPEG, GIF or BMP (recognised by their signature), placed
//     in the box of its first two defining points; any other bytes (or no
//     bytes) give a frame of that box with its two diagonals instead.
//
// Y axis. Unit coordinates are read as they are stored, with y pointing
// DOWN, which is also SVG's orientation, so no flip is applied: the sample
// library's north arrow has its head and its "N" at the most negative y, and
// a text's FontPos is the top of its cell. The extent of the common
// attributes comes from the store with MinY and MaxY negated; it is negated
// back before it is compared with the drawing.
//
// Styling, from each unit's CHQGS_SymbolUnitAttr:
//   - stroke: LineColor, or OutlineColor when IsOutline is set; width
//     LineWidth (at least 0.5 unit for a visible line); colour bytes R, G, B
//     give the colour and A / 255 the opacity (stroke-opacity, fill-opacity);
//   - fill: FillColor unless IsNotFill is set (then fill="none");
//   - line pattern (LineStyle) and fill pattern (FillStyle) codes:
//
//       LineStyle  pen               stroke-dasharray (w = line width)
//       0, 1       solid             none
//       2          dash              4w 2w
//       3          dot               1w 2w
//       4          dash-dot          4w 2w 1w 2w
//       5          dash-dot-dot      4w 2w 1w 2w 1w 2w
//       other      solid
//
//       FillStyle  brush (only when IsNotFill is false)
//       0, 1       solid fill colour
//       2          horizontal hatch  <pattern>, lines in the fill colour
//       3          vertical hatch
//       4          cross hatch
//       5          forward diagonal hatch  (lines rising to the right)
//       6          backward diagonal hatch (lines falling to the right)
//       7          diagonal cross hatch
//       other      solid
//
//     Code 0 draws: the libraries draw their plain lines and fill their
//     areas with code 0, and "not filled" is said by IsNotFill, so there is
//     no "no pen" or "no brush" code. Hatch patterns are written into <defs>
//     as <pattern id="PREFIXfillN"> (N the unit index), 8 units apart.
//
// View box: the extent of the common attributes (MinX..MaxX and the negated
// MinY..MaxY) when it is non-empty and contains everything drawn (stroke
// widths not counted; a text's box is estimated as FontWidth per character,
// twice that for wide characters, by FontHeight); otherwise the bounding box
// of everything drawn. A margin of marginFraction of the larger side plus
// half the widest stroke is added on every side.
//
// Texts (mark names, texts, font names) are converted to UTF-8 as the
// options say (the SQLite engine answers texts in the local code page, the
// MySQL engine in UTF-8), bytes that do not convert become U+FFFD, characters
// that XML 1.0 forbids are dropped, and everything is XML-escaped.
//
// Ownership: the symbol is only read; the answer is a new string owned by
// the caller.
//
// Threads: rendering is pure. It touches no database and no global or static
// state (the code-page conversion uses its own locale object and converter
// per call), so different symbols, or the same symbol left unchanged, may be
// rendered from several threads at once.
//
// Failures: none are reported. A symbol without units (or without common
// attributes) gives a valid, empty picture; units whose geometry is missing
// (a line without vertices, an arc with fewer than four points) give an
// element without path data; non-finite coordinates are left out.
#ifndef MARKSTORE_SYMBOLSVG_H
#define MARKSTORE_SYMBOLSVG_H

#include <markstore/MarkstoreExport.h>

#include <cstdint>
#include <string>

namespace HQ {

class CHQGS_Symbol;

// How the texts inside a symbol are encoded.
enum class SymbolTextEncoding {
    // The code page of the user-default locale (LC_ALL / LC_CTYPE / LANG),
    // as the SQLite engine answers them (GBK under zh_CN.GBK).
    LocalCodePage,
    // UTF-8, as the MySQL engine answers them.
    Utf8
};

struct MARKSTORE_API SvgOptions {
    // The larger side of the picture in pixels (width and height attributes;
    // the other side follows the view box's proportions). 0 writes the view
    // box's own size, one unit per pixel.
    int sizePx = 0;
    // Background colour R, G, B, A painted over the whole view box; alpha 0
    // (the default) paints none.
    std::uint8_t background[4] = {0, 0, 0, 0};
    // Draws every unit's defining points (a line's vertices, a text's
    // position, the others' actual points) as small magenta circles in a
    // group <g id="PREFIXpoints"> above the units.
    bool showPoints = false;
    // How the symbol's texts are encoded.
    SymbolTextEncoding textEncoding = SymbolTextEncoding::LocalCodePage;
    // Starts the document with <?xml version="1.0" encoding="UTF-8"?>; turn
    // it off to embed the <svg> element in an HTML page.
    bool xmlDeclaration = true;
    // Prefix of every id in the document, so that several pictures can share
    // one HTML page.
    std::string idPrefix;
    // Digits after the decimal point of coordinates; negative writes the
    // shortest text that reads back as the same double.
    int decimals = -1;
    // Margin around the view box, as a fraction of its larger side.
    double marginFraction = 0.05;
};

// The SVG document of one symbol, as described above.
MARKSTORE_API std::string RenderSymbolSvg(const CHQGS_Symbol& symbol,
                                          const SvgOptions& options = SvgOptions());

// The text as valid UTF-8: converted from the given encoding, every byte or
// sequence that does not convert replaced by U+FFFD. Thread-safe; touches no
// global state.
MARKSTORE_API std::string SymbolTextToUtf8(const std::string& text, SymbolTextEncoding encoding);

// The text with &, <, >, " and ' replaced by entities and the characters
// that XML 1.0 forbids (controls other than tab, line feed and carriage
// return) dropped. The text must be UTF-8.
MARKSTORE_API std::string XmlEscape(const std::string& utf8);

}  // namespace HQ

#endif

// SPDX-License-Identifier: Apache-2.0
// CHQGS_UtilityText: glyph outlines of a TrueType/OpenType (or Type 1) font
// as closed polylines, one per outline contour.
//
// Units: the outline's 26.6 fixed-point values at the pixel size given to
// Load, taken as plain numbers (1/64 pixel, not divided by 64), with y
// negated so that y grows downwards. Straight edges contribute their start
// points; every curved piece contributes three points (its start, the point
// halfway along its length and its end). Each contour ends with the last pen
// position followed by its start point again.
//
// Font files: Load takes a path. Font names are mapped to file names by
// CHQGS_UtilityFunctions::FontNameToFontFileName; FontFilePath joins that
// file name with the font folder, a process-wide setting that defaults to
// "/usr/share/fonts/truetype" (see SetFontFolder).
//
// Failure: the constructor throws std::runtime_error("FT_Init_FreeType
// failed") when the font library cannot start; LoadChar throws
// std::runtime_error("FT_Load_Glyph failed") when the glyph cannot be read.
// Load answers false for a file that cannot be opened or is not a font;
// LoadChar answers no contours before a successful Load and stops at a
// malformed outline, answering the contours read so far.
//
// Cache: each face keeps the contours of the characters read from it (keyed
// by character and raise flag, at most 4,096 entries, started over when
// full), so a repeated character costs a lookup. Load of a font (even the
// same file again) starts a new face with an empty cache.
//
// Cost: a curved piece is sampled as a one-segment path would sample it
// (the path places fraction 1/2 at the curve's parameter 1/2, once its
// measured length is known to be positive), but computed straight from the
// curve with the path's arithmetic: the length is measured only until its
// first chord of positive length, and no path object is built. The points
// have the same bits as through the path. A character read cold costs about
// 1.5 times a bare FreeType outline walk of it.
//
// Threads: not thread-safe. Copies share the font library, the face and its
// cache, and FreeType's glyph slot is shared state of the face; LoadChar on
// any of the objects that share a face must not run on two threads at once.
// Use one object (and its copies) from one thread at a time.
//
// Copies share the font library and the face; they are released when the
// last object holding them goes.
#ifndef GEOMKIT_UTILITYTEXT_H
#define GEOMKIT_UTILITYTEXT_H

#include <geomkit/GeomkitExport.h>
#include <geomkit/Point2D.h>

#include <memory>
#include <string>
#include <vector>

namespace HQ {

class CPrimitiveAlgorithmPath;

class GEOMKIT_API CHQGS_UtilityText {
public:
    CHQGS_UtilityText();
    CHQGS_UtilityText(const CHQGS_UtilityText& other) = default;
    CHQGS_UtilityText& operator=(const CHQGS_UtilityText& other) = default;
    virtual ~CHQGS_UtilityText();

    // Opens face 0 of the font file, selects its Unicode character map and
    // sets the pixel size (a 0 takes the other value). On success a face
    // loaded before is released. False, with the previous face (if any) kept,
    // when the file cannot be opened, is not a font, or the size cannot be
    // set (negative sizes).
    bool Load(const char* fontFile, int width, int height);

    // Contours of the character's glyph (unmapped characters give the font's
    // missing-glyph shape). With raise true the outline is first moved by
    // the line height of the current size, in the units above.
    std::vector<std::vector<CHQ_Point2D>> LoadChar(wchar_t ch);
    std::vector<std::vector<CHQ_Point2D>> LoadChar(wchar_t ch, bool raise);

    // The folder FontFilePath looks in; "/" is appended when joining.
    static void SetFontFolder(const std::string& folder);
    static std::string GetFontFolder();
    // Font folder + "/" + FontNameToFontFileName(fontName).
    static std::string FontFilePath(const std::string& fontName);

private:
    // Reads the character's contours from the face (LoadChar without the
    // cache).
    std::vector<std::vector<CHQ_Point2D>> ReadOutline(wchar_t ch, bool raise);

    // Samples the path at fractions 0, step, 2 step, ... (single-precision
    // steps) while below 1, then at 1. Empty when step <= 0.
    std::vector<CHQ_Point2D> Flatten(CPrimitiveAlgorithmPath& path, double step);

    // The font library and the face (FT_Library, FT_Face), shared by copies
    // and released with the last of them; a face keeps its library alive.
    std::shared_ptr<void> library;
    std::shared_ptr<void> face;  // null until Load succeeds
    int width;
    int height;
};

}  // namespace HQ

#endif

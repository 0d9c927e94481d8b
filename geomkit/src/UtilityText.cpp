// SPDX-License-Identifier: Apache-2.0
// CHQGS_UtilityText: glyph outlines read through FreeType, and the font
// folder that font names resolve in.
#include <geomkit/UtilityFunctions.h>
#include <geomkit/UtilityText.h>
#include <pathalgo/PrimitiveAlgorithmPath.h>

#include "GlyphPieces.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <unordered_map>

namespace HQ {

namespace {

// Where FontFilePath looks for the files named by FontNameToFontFileName.
std::string& FontFolder() {
    static std::string folder = "/usr/share/fonts/truetype";
    return folder;
}

FT_Library Lib(void* p) { return static_cast<FT_Library>(p); }
FT_Face Face(void* p) { return static_cast<FT_Face>(p); }

// Outline point tags, low two bits.
constexpr int kTagConic = 0;
constexpr int kTagOn = 1;
constexpr int kTagCubic = 2;

// Step of the curve sampling: start, halfway along, end.
constexpr double kCurveStep = 0.5;

// A raw outline point (26.6) as a contour point: y grows downwards.
CHQ_Point2D Map(const FT_Vector& v) {
    return CHQ_Point2D(static_cast<double>(v.x), -static_cast<double>(v.y));
}

// Contours already read from a face, keyed by character and raise flag. It
// hangs on the face itself (the face's client slot, released with the face),
// so it belongs to one font at one size, is shared by the copies that share
// the face and is gone when Load replaces the face.
struct GlyphCache {
    // Bounded: when full it starts over, which keeps memory to a few
    // megabytes even for text that walks through a whole CJK font.
    static constexpr std::size_t kMaxEntries = 4096;
    std::unordered_map<std::uint64_t, std::vector<std::vector<CHQ_Point2D>>> entries;
};

std::uint64_t CacheKey(wchar_t ch, bool raise) {
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(ch)) << 1) | (raise ? 1u : 0u);
}

GlyphCache* CacheOf(FT_Face fc) {
    if (fc->generic.data == nullptr) {
        fc->generic.data = new GlyphCache();
        fc->generic.finalizer = [](void* object) {
            FT_Face f = static_cast<FT_Face>(object);
            delete static_cast<GlyphCache*>(f->generic.data);
            f->generic.data = nullptr;
        };
    }
    return static_cast<GlyphCache*>(fc->generic.data);
}

}  // namespace

CHQGS_UtilityText::CHQGS_UtilityText() : width(0), height(0) {
    FT_Library lib = nullptr;
    if (FT_Init_FreeType(&lib) != 0) throw std::runtime_error("FT_Init_FreeType failed");
    library = std::shared_ptr<void>(lib, [](void* l) { FT_Done_FreeType(Lib(l)); });
}

CHQGS_UtilityText::~CHQGS_UtilityText() {}

bool CHQGS_UtilityText::Load(const char* fontFile, int w, int h) {
    if (fontFile == nullptr) return false;
    std::FILE* f = std::fopen(fontFile, "rb");
    if (f == nullptr) return false;
    std::fclose(f);

    FT_Face newFace = nullptr;
    if (FT_New_Face(Lib(library.get()), fontFile, 0, &newFace) != 0) return false;
    // The face holds its library, so that the library outlives every face.
    std::shared_ptr<void> held(newFace, [lib = library](void* fc) { FT_Done_Face(Face(fc)); });
    FT_Select_Charmap(newFace, FT_ENCODING_UNICODE);
    if (w < 0 || h < 0 || FT_Set_Pixel_Sizes(newFace, static_cast<FT_UInt>(w), static_cast<FT_UInt>(h)) != 0)
        return false;
    face = std::move(held);
    width = w;
    height = h;
    return true;
}

std::vector<std::vector<CHQ_Point2D>> CHQGS_UtilityText::LoadChar(wchar_t ch) { return LoadChar(ch, false); }

std::vector<std::vector<CHQ_Point2D>> CHQGS_UtilityText::LoadChar(wchar_t ch, bool raise) {
    std::vector<std::vector<CHQ_Point2D>> result;
    if (face == nullptr) return result;
    FT_Face fc = Face(face.get());
    GlyphCache* cache = CacheOf(fc);
    const std::uint64_t key = CacheKey(ch, raise);
    const auto hit = cache->entries.find(key);
    if (hit != cache->entries.end()) return hit->second;
    result = ReadOutline(ch, raise);
    if (cache->entries.size() >= GlyphCache::kMaxEntries) cache->entries.clear();
    cache->entries.emplace(key, result);
    return result;
}

std::vector<std::vector<CHQ_Point2D>> CHQGS_UtilityText::ReadOutline(wchar_t ch, bool raise) {
    std::vector<std::vector<CHQ_Point2D>> result;
    FT_Face fc = Face(face.get());
    const FT_UInt glyphIndex = FT_Get_Char_Index(fc, static_cast<FT_ULong>(ch));
    if (FT_Load_Glyph(fc, glyphIndex, FT_LOAD_NO_BITMAP | FT_LOAD_NO_HINTING) != 0)
        throw std::runtime_error("FT_Load_Glyph failed");
    if (fc->glyph->format != FT_GLYPH_FORMAT_OUTLINE) return result;
    FT_Outline& outline = fc->glyph->outline;
    if (raise) FT_Outline_Translate(&outline, 0, -fc->size->metrics.height);

    // Curved pieces: their three points straight from the curve (see
    // GlyphPieces.h); through a path and Flatten only for coordinates beyond
    // the range where that is exact, which glyph outlines do not reach.
    auto quadPiece = [this](std::vector<CHQ_Point2D>& out, const CHQ_Point2D& pen, const CHQ_Point2D& c,
                            const CHQ_Point2D& end) {
        if (glyphpieces::AppendQuad(out, pen, c, end)) return;
        CPrimitiveAlgorithmPath path;
        path.MoveTo(pen);
        path.QuadTo(c, end);
        const std::vector<CHQ_Point2D> pts = Flatten(path, kCurveStep);
        out.insert(out.end(), pts.begin(), pts.end());
    };
    auto cubicPiece = [this](std::vector<CHQ_Point2D>& out, const CHQ_Point2D& pen, const CHQ_Point2D& c1,
                             const CHQ_Point2D& c2, const CHQ_Point2D& end) {
        if (glyphpieces::AppendCubic(out, pen, c1, c2, end)) return;
        CPrimitiveAlgorithmPath path;
        path.MoveTo(pen);
        path.CubicTo(c1, c2, end);
        const std::vector<CHQ_Point2D> pts = Flatten(path, kCurveStep);
        out.insert(out.end(), pts.begin(), pts.end());
    };

    int first = 0;
    for (int c = 0; c < outline.n_contours; ++c) {
        const int last = outline.contours[c];
        if (last < first || last >= outline.n_points) return result;
        const FT_Vector* pt = outline.points;
        auto tag = [&](int i) { return outline.tags[i] & 3; };
        const CHQ_Point2D start = Map(pt[first]);
        CHQ_Point2D pen = start;
        std::vector<CHQ_Point2D> contour;
        // At most three points per outline point, plus the closing two.
        contour.reserve(3 * static_cast<std::size_t>(last - first + 1) + 2);

        int j = first + 1;
        while (j <= last) {
            const int t = tag(j);
            if (t == kTagOn) {
                contour.push_back(pen);
                pen = Map(pt[j]);
                ++j;
            } else if (t == kTagConic) {
                FT_Vector control = pt[j];
                for (;;) {
                    if (j + 1 > last) {
                        // The contour ends after the control: close to the start.
                        quadPiece(contour, pen, Map(control), start);
                        pen = start;
                        j = last + 1;
                        break;
                    }
                    const int nt = tag(j + 1);
                    if (nt == kTagConic) {
                        // Two controls in a row imply the on-curve point
                        // halfway between them (integer halves of 26.6).
                        const FT_Vector& c2 = pt[j + 1];
                        const CHQ_Point2D mid(static_cast<double>((control.x + c2.x) / 2),
                                              -static_cast<double>((control.y + c2.y) / 2));
                        quadPiece(contour, pen, Map(control), mid);
                        pen = mid;
                        control = c2;
                        ++j;
                        continue;
                    }
                    if (nt == kTagOn) {
                        const CHQ_Point2D end = Map(pt[j + 1]);
                        quadPiece(contour, pen, Map(control), end);
                        pen = end;
                        j += 2;
                        break;
                    }
                    // A cubic control or tag 3 after a conic control.
                    return result;
                }
            } else if (t == kTagCubic) {
                if (j + 1 > last || tag(j + 1) != kTagCubic) return result;
                const CHQ_Point2D end = (j + 2 <= last) ? Map(pt[j + 2]) : start;
                cubicPiece(contour, pen, Map(pt[j]), Map(pt[j + 1]), end);
                pen = end;
                j += 3;
            } else {
                return result;  // tag 3 is not a valid outline tag
            }
        }
        contour.push_back(pen);
        contour.push_back(start);
        result.push_back(std::move(contour));
        first = last + 1;
    }
    return result;
}

std::vector<CHQ_Point2D> CHQGS_UtilityText::Flatten(CPrimitiveAlgorithmPath& path, double step) {
    std::vector<CHQ_Point2D> out;
    if (!(step > 0)) return out;
    // A piece whose points all coincide has no length, and the path answers
    // (0, 0) for every fraction of a length-0 path: the piece stays where it
    // is instead.
    const bool degenerate = !(path.Length() > 0);
    const CHQ_Point2D still = path.CurrentPosition();
    // t is kept in single precision; each step is added in double and the
    // sum rounded back, as the other path samplers do.
    for (float t = 0.0f; t < 1.0f;) {
        out.push_back(degenerate ? still : path.PointAtPercent(t));
        const float next = static_cast<float>(t + step);
        if (!(next > t)) break;  // a step too small to move t would never reach 1
        t = next;
    }
    out.push_back(degenerate ? still : path.PointAtPercent(1.0));
    return out;
}

void CHQGS_UtilityText::SetFontFolder(const std::string& folder) { FontFolder() = folder; }

std::string CHQGS_UtilityText::GetFontFolder() { return FontFolder(); }

std::string CHQGS_UtilityText::FontFilePath(const std::string& fontName) {
    return FontFolder() + "/" + CHQGS_UtilityFunctions::FontNameToFontFileName(fontName);
}

}  // namespace HQ

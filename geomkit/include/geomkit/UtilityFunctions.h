// SPDX-License-Identifier: Apache-2.0
// CHQGS_UtilityFunctions: geomkit's static utility functions.
//
// Text: narrow strings hold bytes, either UTF-8 or "ANSI" (the multibyte
// encoding of the user-default locale, GBK expected). Wide strings hold
// UTF-16 code units, one per element, even where wchar_t is 32 bits wide: a
// character outside the Basic Multilingual Plane takes two elements.
//
// Process-wide effects: the ANSI conversions set LC_CTYPE to the user default
// and leave it there; String2WString/QToStdWstring do the same for LC_ALL;
// CreateUniquenessID reseeds the C library generator. None of these
// functions is safe to call from two threads at once.
//
// No function throws for bad text: conversions that fail answer an empty
// string, malformed UTF-8 decodes to U+FFFD.
//
// Sections and their source files (geomkit/src):
//   Code-page conversion ............ UtilityFunctionsCodePage.cpp
//   UTF-8 codec ..................... UtilityFunctionsUtf8.cpp
//   String helpers .................. UtilityFunctionsStrings.cpp
//   Font names ...................... UtilityFunctionsFontNames.cpp
//   Identifiers and random numbers .. UtilityFunctionsIdentifiers.cpp
//   Hexadecimal and colour packing .. UtilityFunctionsHexColour.cpp
//   Value helpers ................... UtilityFunctionsValues.cpp
//   Globe and camera conversions .... UtilityFunctionsGlobe.cpp
#ifndef GEOMKIT_UTILITYFUNCTIONS_H
#define GEOMKIT_UTILITYFUNCTIONS_H

#include <geomkit/GeomkitExport.h>
#include <geomkit/Matrix4.h>
#include <geomkit/Point2D.h>
#include <geomkit/Point3D.h>

#include <string>
#include <vector>

namespace HQ {

class GEOMKIT_API CHQGS_UtilityFunctions {
public:
    CHQGS_UtilityFunctions() {}
    CHQGS_UtilityFunctions(const CHQGS_UtilityFunctions&) {}
    CHQGS_UtilityFunctions& operator=(const CHQGS_UtilityFunctions&) { return *this; }
    virtual ~CHQGS_UtilityFunctions() {}

    // ---- Code-page conversion -------------------------------------------

    // ANSI <-> UTF-16 through the C library (LC_CTYPE set to the user
    // default). Empty result when the text cannot be converted: one
    // unrepresentable character or invalid byte empties the whole result.
    // Surrogate pairs travel as whole characters, so a character outside the
    // BMP survives where the ANSI encoding has it. The text ends at its first
    // NUL.
    static std::wstring ANSIToUnicode(const std::string& ansi);
    static std::string UnicodeToANSI(const std::wstring& wide);
    // Composites of the ANSI conversions above and the UTF-8 codec below:
    // empty when the text has no ANSI form.
    static std::string ANSIToUTF8(const std::string& ansi);
    static std::string UTF8ToANSI(const std::string& utf8);
    // Locale multibyte text to UTF-16 (LC_ALL set to the user default and
    // left there); empty when the text cannot be converted.
    static std::wstring String2WString(const std::string& text);
    static std::wstring QToStdWstring(std::string text);

    // ---- UTF-8 codec ----------------------------------------------------

    // UTF-8 -> UTF-16 by a hand-written decoder that never fails: overlong
    // forms, surrogates, U+FFFE/U+FFFF and bad or cut sequences become U+FFFD;
    // one leading byte-order mark is dropped. At most one unit per byte.
    static std::wstring UTF8ToUnicode(const std::string& utf8);
    // UTF-16 -> UTF-8. A U+0000 unit ends the output; lone surrogates are
    // encoded like other units; an element beyond U+10FFFF (possible only in
    // a 32-bit wchar_t) becomes U+FFFD.
    static std::string UnicodeToUTF8(const std::wstring& wide);
    // Display width of a NUL-terminated UTF-8 text: an ASCII character
    // counts 0.5, a multi-byte character 1.0 (by the lead byte alone);
    // leading blanks, byte-order marks and U+FFFE/U+FFFF are skipped. A text
    // cut inside a multi-byte character counts that character as 1.0; the
    // walk never passes the terminating NUL. 0.0 for a null pointer.
    static double getUTF8Size(const char* text);
    // Sets *len to the UTF-8 sequence length announced by the lead byte at p
    // (1 for bytes that cannot start a sequence); returns p + *len without
    // looking at the bytes it skips. A null p gives length 0 and null.
    static const char* getUTF8Size(const char* p, int* len);

    // ---- String helpers -------------------------------------------------

    // Copies min(count, srcLen - start) bytes of src from start to the
    // beginning of dst; writes no terminating NUL. The caller provides a
    // large enough dst. Copies nothing for a negative start or a null pointer.
    static void charCopy(char* dst, const char* src, int srcLen, int start, int count);
    // Appends the pieces of text between occurrences of sep (empty pieces
    // included) to out; an empty text appends nothing. An empty sep appends
    // the text as one piece.
    static void splitString(const std::string& text, const std::string& sep, std::vector<std::string>& out);

    // ---- Font names -----------------------------------------------------

    // Bare font file name for a font key ("0".."24") or name (GBK bytes);
    // "ARIALUNI.TTF" when nothing matches.
    static std::string FontNameToFontFileName(std::string fontName);

    // ---- Identifiers and random numbers ---------------------------------

    // A pseudo-random non-negative identifier mixed from the clock; reseeds
    // the C generator (srand), so later rand()/GetRand results change.
    static int CreateUniquenessID();
    // 100 + rand() % 900: a value from 100 to 999.
    static int GetRand();

    // ---- Hexadecimal and colour packing ---------------------------------

    // Hexadecimal text to int in 32-bit arithmetic; a non-digit repeats the
    // previous digit ("0x1F" and "#1F" both give 31).
    static int HexadecimalToDecimalism(std::string hex);
    // Packs components 0-255 as 0xRRGGBBAA.
    static unsigned int RGBAToInt(const unsigned int& r, const unsigned int& g, const unsigned int& b,
                                  const unsigned int& a);
    static void RGBAToInt(const unsigned int& r, const unsigned int& g, const unsigned int& b,
                          const unsigned int& a, unsigned int& packed);
    static void IntToRGBA(const unsigned int& packed, unsigned int& r, unsigned int& g, unsigned int& b,
                          unsigned int& a);

    // ---- Value helpers --------------------------------------------------

    static bool IsNan(float v);
    static bool IsNan(double v);
    static std::vector<CHQ_Point2D> ReversePoint(const std::vector<CHQ_Point2D>& pts);

    // ---- Globe and camera conversions -----------------------------------

    // Spherical (latitude, longitude in radians; radius) to Cartesian: z
    // towards latitude +90, x towards (0, 0), y towards (0, +90).
    static CHQ_Point3D SphericalToCartesian2(double latitude, double longitude, double radius);
    // The same with latitude and longitude in degrees.
    static CHQ_Point3D SphericalToCartesian(double latitude, double longitude, double radius);
    // Cartesian to (radius, latitude, longitude) in radians; (0, 0, 0) for
    // the zero vector.
    static CHQ_Point3D CartesianToSpherical2(const CHQ_Point3D& p);
    // Cartesian to (radius, latitude, longitude) in degrees.
    static CHQ_Point3D CartesianToSpherical(const CHQ_Point3D& p);
    static double CameraDis2MapScale(double cameraDistance);
    static double MapScale2CameraDis(double mapScale);
    // World matrix placing a local frame along the chord from the first to
    // the last point; identity for fewer than two points.
    static CHQ_Matrix4 ComputeAlgoMatrixWorld(const std::vector<CHQ_Point3D>& points);
};

}  // namespace HQ

#endif

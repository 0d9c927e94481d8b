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

    // ---- Text and bookkeeping -------------------------------------------

    // ANSI <-> UTF-16. Empty result when the text cannot be converted (one
    // unrepresentable character empties the whole result).
    static std::wstring ANSIToUnicode(const std::string& ansi);
    static std::string UnicodeToANSI(const std::wstring& wide);
    // UTF-8 <-> UTF-16 by hand-written coders; malformed input becomes U+FFFD.
    static std::wstring UTF8ToUnicode(const std::string& utf8);
    static std::string UnicodeToUTF8(const std::wstring& wide);
    // Composites of the two above.
    static std::string ANSIToUTF8(const std::string& ansi);
    static std::string UTF8ToANSI(const std::string& utf8);
    // Locale multibyte text to wide characters (LC_ALL set to the user default).
    static std::wstring String2WString(const std::string& text);
    static std::wstring QToStdWstring(std::string text);

    // Copies min(count, srcLen - start) bytes of src from start to the
    // beginning of dst; writes no terminating NUL. The caller provides a
    // large enough dst and a start that is not negative.
    static void charCopy(char* dst, const char* src, int srcLen, int start, int count);
    // Appends the pieces of text between occurrences of sep (empty pieces
    // included) to out; an empty text appends nothing. sep must not be empty.
    static void splitString(const std::string& text, const std::string& sep, std::vector<std::string>& out);
    // Bare font file name for a font key ("0".."24") or name (GBK bytes);
    // "ARIALUNI.TTF" when nothing matches.
    static std::string FontNameToFontFileName(std::string fontName);
    // A pseudo-random non-negative identifier; reseeds the C generator.
    static int CreateUniquenessID();
    // 100 + rand() % 900.
    static int GetRand();
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
    static bool IsNan(float v);
    static bool IsNan(double v);
    static std::vector<CHQ_Point2D> ReversePoint(const std::vector<CHQ_Point2D>& pts);
    // Display width of a NUL-terminated UTF-8 text: an ASCII character
    // counts 0.5, a multi-byte character 1.0; leading blanks and byte-order
    // marks are skipped. 0.0 for a null pointer.
    static double getUTF8Size(const char* text);
    // Sets *len to the sequence length of the lead byte at p; returns p + *len.
    static const char* getUTF8Size(const char* p, int* len);

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

} // namespace HQ

#endif

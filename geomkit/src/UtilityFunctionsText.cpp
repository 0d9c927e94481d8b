// Text and bookkeeping members of CHQGS_UtilityFunctions: conversions between
// the locale's multibyte encoding ("ANSI"), UTF-8 and UTF-16 wide strings, and
// small helpers (byte copy, splitting, font file names, identifiers, hex
// parsing, colour packing, UTF-8 display width).
#include <geomkit/UtilityFunctions.h>

#include "UniquenessId.h"

#include <chrono>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cctype>
#include <cwchar>
#include <random>
#include <vector>

namespace HQ {

namespace {

constexpr wchar_t kReplacement = 0xFFFD;
constexpr std::uint32_t kByteOrderMark = 0xFEFF;
constexpr std::uint32_t kFirstAstral = 0x10000;  // first code point that needs a surrogate pair
constexpr std::uint32_t kLastCodePoint = 0x10FFFF;
constexpr std::uint32_t kHighSurrogate = 0xD800;
constexpr std::uint32_t kLowSurrogate = 0xDC00;
constexpr std::uint32_t kSurrogateMask = 0xFC00;  // selects the 6 bits that tell high from low
constexpr std::size_t kConversionFailed = static_cast<std::size_t>(-1);

bool IsHighSurrogate(std::uint32_t u) { return (u & kSurrogateMask) == kHighSurrogate; }
bool IsLowSurrogate(std::uint32_t u) { return (u & kSurrogateMask) == kLowSurrogate; }

// Appends a code point as UTF-16: a supplementary-plane character becomes
// a surrogate pair, anything else one unit.
void AppendUtf16(std::wstring& out, std::uint32_t c) {
    if (c >= kFirstAstral && c <= kLastCodePoint) {
        out.push_back(static_cast<wchar_t>(kHighSurrogate + ((c - kFirstAstral) >> 10)));
        out.push_back(static_cast<wchar_t>(kLowSurrogate + (c & 0x3FF)));
    } else {
        out.push_back(static_cast<wchar_t>(c));
    }
}

// The C library hands out whole code points in its 32-bit wchar_t; our wide
// strings hold UTF-16 code units.
std::wstring CodePointsToUtf16(const wchar_t* p, std::size_t n) {
    std::wstring out;
    out.reserve(n);
    for (std::size_t i = 0; i < n; ++i) AppendUtf16(out, static_cast<std::uint32_t>(p[i]));
    return out;
}

// The reverse, before text goes to the C library: a high surrogate followed
// by a low one becomes the code point; a lone surrogate is kept as it is (the
// library then rejects it as unrepresentable).
std::wstring Utf16ToCodePoints(const std::wstring& wide) {
    std::wstring out;
    out.reserve(wide.size());
    for (std::size_t i = 0; i < wide.size(); ++i) {
        const std::uint32_t u = static_cast<std::uint32_t>(wide[i]);
        if (IsHighSurrogate(u) && i + 1 < wide.size() &&
            IsLowSurrogate(static_cast<std::uint32_t>(wide[i + 1]))) {
            const std::uint32_t low = static_cast<std::uint32_t>(wide[i + 1]);
            out.push_back(
                static_cast<wchar_t>(((u - kHighSurrogate) << 10) + (low - kLowSurrogate) + kFirstAstral));
            ++i;
        } else {
            out.push_back(wide[i]);
        }
    }
    return out;
}

// Sequence length of a UTF-8 lead byte as used by the display width count:
// every byte that cannot start a multi-byte sequence (ASCII, continuation
// bytes, C0/C1 and F5-FF) counts as a one-byte character.
int Utf8TableLength(unsigned char b) {
    if (b < 0xC2) return 1;
    if (b <= 0xDF) return 2;
    if (b <= 0xEF) return 3;
    if (b <= 0xF4) return 4;
    return 1;
}

struct FontRow {
    const char* key;
    const char* name;  // GBK bytes
    const char* file;
};

// Font key, font name (GBK) and file name. The Chinese names are byte escapes
// so that the encoding of this source file cannot alter them.
const FontRow kFontTable[] = {
    {"0", "Arial Unicode", "ARIALUNI.TTF"},
    {"1", "FixedSys", "MSYH.TTF"},
    {"2", "SimSun-ExtB", "SIMSUNB.TTF"},
    {"3", "System", "MSYH.TTF"},
    {"4", "Terminal", "MSYH.TTF"},
    {"5", "\xB7\xC2\xCB\xCE", "SIMFANG.TTF"},
    {"6", "\xBB\xAA\xCE\xC4\xD6\xD0\xCB\xCE", "STSONG.TTF"},
    {"7", "\xBB\xAA\xCE\xC4\xB7\xC2\xCB\xCE", "STFANGSO.TTF"},
    {"8", "\xBB\xAA\xCE\xC4\xCB\xCE\xCC\xE5", "STSONG.TTF"},
    {"9", "\xBB\xAA\xCE\xC4\xB2\xCA\xD4\xC6", "STCAIYUN.TTF"},
    {"10", "\xBB\xAA\xCE\xC4\xD0\xC2\xCE\xBA", "STXINWEI.TTF"},
    {"11", "\xBB\xAA\xCE\xC4\xBF\xAC\xCC\xE5", "STKAITI.TTF"},
    {"12", "\xBB\xAA\xCE\xC4\xE7\xFA\xE7\xEA", "STHUPO.TTF"},
    {"13", "\xBB\xAA\xCE\xC4\xCF\xB8\xBA\xDA", "STXIHEI.TTF"},
    {"14", "\xBB\xAA\xCE\xC4\xD0\xD0\xBF\xAC", "STXINGKA.TTF"},
    {"15", "\xBB\xAA\xCE\xC4\xC1\xA5\xCA\xE9", "STLITI.TTF"},
    {"16", "\xCB\xCE\xCC\xE5", "SIMSUN.TTC"},
    {"17", "\xD3\xD7\xD4\xB2", "SIMYOU.TTF"},
    {"18", "\xCE\xA2\xC8\xED\xD1\xC5\xBA\xDA", "MSYH.TTF"},
    {"19", "\xD0\xC2\xCB\xCE\xCC\xE5", "SIMSUN.TTF"},
    {"20", "\xB7\xBD\xD5\xFD\xD2\xA6\xCC\xE5", "FZYTK.TTF"},
    {"21", "\xB7\xBD\xD5\xFD\xCA\xE6\xCC\xE5", "FZSTK.TTF"},
    {"22", "\xBF\xAC\xCC\xE5", "SIMKAI.TTF"},
    {"23", "\xC1\xA5\xCA\xE9", "SIMLI.TTF"},
    {"24", "\xBA\xDA\xCC\xE5", "SIMHEI.TTF"},
};
const char* const kDefaultFontFile = "ARIALUNI.TTF";

// One 100-nanosecond tick per 1/10,000,000 s.
using Ticks100ns = std::chrono::duration<std::int64_t, std::ratio<1, 10000000>>;

}  // namespace

std::wstring CHQGS_UtilityFunctions::ANSIToUnicode(const std::string& ansi) {
    std::setlocale(LC_CTYPE, "");
    std::mbstate_t state{};
    const char* src = ansi.c_str();
    const std::size_t need = std::mbsrtowcs(nullptr, &src, 0, &state);
    if (need == kConversionFailed) return std::wstring();

    std::vector<wchar_t> buf(need + 1, L'\0');
    state = std::mbstate_t{};
    src = ansi.c_str();
    const std::size_t got = std::mbsrtowcs(buf.data(), &src, buf.size(), &state);
    if (got == kConversionFailed) return std::wstring();
    return CodePointsToUtf16(buf.data(), got);
}

std::string CHQGS_UtilityFunctions::UnicodeToANSI(const std::wstring& wide) {
    std::setlocale(LC_CTYPE, "");
    const std::wstring codePoints = Utf16ToCodePoints(wide);
    std::mbstate_t state{};
    const wchar_t* src = codePoints.c_str();
    const std::size_t need = std::wcsrtombs(nullptr, &src, 0, &state);
    if (need == kConversionFailed) return std::string();

    std::vector<char> buf(need + 1, '\0');
    state = std::mbstate_t{};
    src = codePoints.c_str();
    const std::size_t got = std::wcsrtombs(buf.data(), &src, buf.size(), &state);
    if (got == kConversionFailed) return std::string();
    return std::string(buf.data(), got);
}

std::wstring CHQGS_UtilityFunctions::UTF8ToUnicode(const std::string& utf8) {
    const unsigned char* s = reinterpret_cast<const unsigned char*>(utf8.data());
    const std::size_t n = utf8.size();
    std::wstring out;
    out.reserve(n);

    std::size_t i = 0;
    // Exactly one leading byte-order mark disappears: the encoded EF BB BF
    // prefix (only when more text follows it), or else a U+FEFF that is the
    // first character decoded.
    bool dropLeadingFeff = true;
    if (n > 3 && s[0] == 0xEF && s[1] == 0xBB && s[2] == 0xBF) {
        i = 3;
        dropLeadingFeff = false;
    }
    auto emit = [&](std::uint32_t c) {
        if (dropLeadingFeff) {
            dropLeadingFeff = false;
            if (c == kByteOrderMark) return;
        }
        AppendUtf16(out, c);
    };

    int pending = 0;            // continuation bytes still expected
    std::uint32_t value = 0;    // value gathered so far
    std::uint32_t minimum = 0;  // smallest value this sequence length may encode
    std::size_t leadPos = 0;    // position of the current sequence's lead byte
    while (i < n) {
        const unsigned char b = s[i];
        if (pending == 0) {
            leadPos = i;
            if (b < 0x80) {
                emit(b);
            } else if ((b & 0xE0) == 0xC0) {
                pending = 1, value = b & 0x1Fu, minimum = 0x80;
            } else if ((b & 0xF0) == 0xE0) {
                pending = 2, value = b & 0x0Fu, minimum = 0x800;
            } else if ((b & 0xF8) == 0xF0) {
                pending = 3, value = b & 0x07u, minimum = kFirstAstral;
            } else {
                emit(kReplacement);  // stray continuation byte or F8-FF
            }
            ++i;
        } else if ((b & 0xC0) == 0x80) {
            value = (value << 6) | (b & 0x3Fu);
            ++i;
            if (--pending == 0) {
                if (value >= kFirstAstral && value <= kLastCodePoint) {
                    emit(value);  // becomes a surrogate pair
                } else if (value < minimum) {
                    emit(kReplacement);  // overlong form
                } else if (value <= 0xD7FF || (value >= 0xE000 && value <= 0xFFFD)) {
                    emit(value);
                } else {
                    emit(kReplacement);  // surrogate, U+FFFE, U+FFFF or beyond U+10FFFF
                }
            }
        } else {
            // A sequence cut short: one replacement, then look again at
            // everything after its lead byte.
            emit(kReplacement);
            pending = 0;
            i = leadPos + 1;
        }
    }
    // Text ending inside a sequence: one replacement per byte left over.
    if (pending != 0)
        for (std::size_t k = leadPos; k < n; ++k) emit(kReplacement);
    return out;
}

std::string CHQGS_UtilityFunctions::UnicodeToUTF8(const std::wstring& wide) {
    std::string out;
    out.reserve(wide.size() * 3);
    const std::size_t n = wide.size();
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint32_t u = static_cast<std::uint32_t>(wide[i]);
        if (u == 0) break;  // a U+0000 unit ends the text
        if (u < 0x80) {
            out.push_back(static_cast<char>(u));
            continue;
        }
        if (u < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (u >> 6)));
            out.push_back(static_cast<char>(0x80 | (u & 0x3F)));
            continue;
        }
        std::uint32_t c = u;
        if (IsHighSurrogate(u) && i + 1 < n && IsLowSurrogate(static_cast<std::uint32_t>(wide[i + 1]))) {
            c = ((u - kHighSurrogate) << 10) + (static_cast<std::uint32_t>(wide[i + 1]) - kLowSurrogate) +
                kFirstAstral;
            ++i;
        }
        // A 32-bit wchar_t can hold values that no UTF-8 sequence encodes.
        if (c > kLastCodePoint) c = kReplacement;
        if (c > 0xFFFF) {
            out.push_back(static_cast<char>(0xF0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

std::string CHQGS_UtilityFunctions::ANSIToUTF8(const std::string& ansi) {
    return UnicodeToUTF8(ANSIToUnicode(ansi));
}

std::string CHQGS_UtilityFunctions::UTF8ToANSI(const std::string& utf8) {
    return UnicodeToANSI(UTF8ToUnicode(utf8));
}

std::wstring CHQGS_UtilityFunctions::String2WString(const std::string& text) {
    const char* name = std::setlocale(LC_ALL, "");
    // The name lives in storage that the next setlocale call may reuse.
    const std::string keptName = name ? name : "";

    std::wstring result;
    const std::size_t need = std::mbstowcs(nullptr, text.c_str(), 0);
    if (need != kConversionFailed) {
        std::vector<wchar_t> buf(need + 1, L'\0');
        if (std::mbstowcs(buf.data(), text.c_str(), buf.size()) != kConversionFailed)
            result = CodePointsToUtf16(buf.data(), std::wcslen(buf.data()));
    }
    if (name) std::setlocale(LC_ALL, keptName.c_str());
    return result;
}

std::wstring CHQGS_UtilityFunctions::QToStdWstring(std::string text) { return String2WString(text); }

void CHQGS_UtilityFunctions::charCopy(char* dst, const char* src, int srcLen, int start, int count) {
    // A negative start would read before the source.
    if (dst == nullptr || src == nullptr || start < 0) return;
    // Compared in 64 bits so that start + i cannot overflow.
    for (int i = 0; i < count; ++i) {
        if (static_cast<long long>(start) + i >= srcLen) return;
        dst[i] = src[start + i];
    }
}

void CHQGS_UtilityFunctions::splitString(const std::string& text, const std::string& sep,
                                         std::vector<std::string>& out) {
    if (text.empty()) return;
    // An empty separator occurs everywhere and would never let the split end;
    // the text then stays one piece.
    if (sep.empty()) {
        out.push_back(text);
        return;
    }
    // Same pieces as repeatedly cutting "text + sep" at its first separator.
    const std::string work = text + sep;
    std::size_t from = 0;
    for (std::size_t p = work.find(sep, from); p != std::string::npos; p = work.find(sep, from)) {
        out.push_back(work.substr(from, p - from));
        from = p + sep.size();
    }
}

std::string CHQGS_UtilityFunctions::FontNameToFontFileName(std::string fontName) {
    for (const FontRow& row : kFontTable) {
        if (fontName == row.key || fontName == row.name) return row.file;
    }
    return kDefaultFontFile;
}

int CHQGS_UtilityFunctions::CreateUniquenessID() {
    using namespace std::chrono;
    const auto sinceEpoch = system_clock::now().time_since_epoch();
    const std::int64_t millisTotal = duration_cast<milliseconds>(sinceEpoch).count();
    const std::int64_t seconds = millisTotal / 1000;
    const std::int64_t millis = millisTotal % 1000;

    std::mt19937 engine(static_cast<std::uint32_t>(duration_cast<Ticks100ns>(sinceEpoch).count()));
    const std::uint32_t u = engine();

    const std::uint32_t seed = static_cast<std::uint32_t>(seconds % 65536 + millis) ^ u;
    std::srand(seed);
    const int r1 = std::rand();
    const int r2 = std::rand();
    const int r3 = std::rand();
    const int r4 = std::rand();
    return detail::UniquenessIdFromDraws(r1, r2, r3, r4);
}

int CHQGS_UtilityFunctions::GetRand() {
    constexpr int kLowest = 100;  // three-digit values: 100..999
    constexpr int kSpan = 900;
    return kLowest + std::rand() % kSpan;
}

int CHQGS_UtilityFunctions::HexadecimalToDecimalism(std::string hex) {
    std::uint32_t value = 0;  // wraps: only the last eight digits survive
    std::uint32_t digit = 0;
    for (const char ch : hex) {
        if (ch >= 'A' && ch <= 'F')
            digit = static_cast<std::uint32_t>(ch - 'A' + 10);
        else if (ch >= 'a' && ch <= 'f')
            digit = static_cast<std::uint32_t>(ch - 'a' + 10);
        else if (ch >= '0' && ch <= '9')
            digit = static_cast<std::uint32_t>(ch - '0');
        // any other byte repeats the previous digit
        value = value * 16 + digit;
    }
    return static_cast<int>(value);
}

unsigned int CHQGS_UtilityFunctions::RGBAToInt(const unsigned int& r, const unsigned int& g,
                                               const unsigned int& b, const unsigned int& a) {
    const std::uint32_t packed =
        (static_cast<std::uint32_t>(r) << 24) | (static_cast<std::uint32_t>(g) << 16) |
        ((static_cast<std::uint32_t>(b) << 8) & 0xFFFFu) | (static_cast<std::uint32_t>(a) & 0xFFFFu);
    return packed;
}

void CHQGS_UtilityFunctions::RGBAToInt(const unsigned int& r, const unsigned int& g, const unsigned int& b,
                                       const unsigned int& a, unsigned int& packed) {
    packed = RGBAToInt(r, g, b, a);
}

void CHQGS_UtilityFunctions::IntToRGBA(const unsigned int& packed, unsigned int& r, unsigned int& g,
                                       unsigned int& b, unsigned int& a) {
    const std::uint32_t c = packed;  // read once: packed may alias an output
    a = c & 0xFFu;
    b = (c >> 8) & 0xFFu;
    g = (c >> 16) & 0xFFu;
    r = (c >> 24) & 0xFFu;
}

bool CHQGS_UtilityFunctions::IsNan(float v) { return v != v; }

bool CHQGS_UtilityFunctions::IsNan(double v) { return v != v; }

std::vector<CHQ_Point2D> CHQGS_UtilityFunctions::ReversePoint(const std::vector<CHQ_Point2D>& pts) {
    return std::vector<CHQ_Point2D>(pts.rbegin(), pts.rend());
}

double CHQGS_UtilityFunctions::getUTF8Size(const char* text) {
    constexpr double kNarrowWidth = 0.5;  // an ASCII character is half as wide as a CJK one
    constexpr double kWideWidth = 1.0;
    if (text == nullptr) return 0.0;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);

    // Leading byte-order marks, the noncharacters U+FFFE/U+FFFF and blanks.
    while (*p != 0) {
        if (p[0] == 0xEF &&
            ((p[1] == 0xBB && p[2] == 0xBF) || (p[1] == 0xBF && (p[2] == 0xBE || p[2] == 0xBF)))) {
            p += 3;
        } else if (std::isspace(*p) || *p == '\n' || *p == '\r') {
            ++p;
        } else {
            break;
        }
    }

    double total = 0.0;
    while (*p != 0) {
        const int len = Utf8TableLength(*p);
        total += len == 1 ? kNarrowWidth : kWideWidth;
        // A text cut inside a multi-byte sequence: the started character
        // counts as one wide character and the walk ends at the terminator.
        for (int k = 0; k < len; ++k) {
            if (*p == 0) return total;
            ++p;
        }
    }
    return total;
}

const char* CHQGS_UtilityFunctions::getUTF8Size(const char* p, int* len) {
    const int l = p == nullptr ? 0 : Utf8TableLength(static_cast<unsigned char>(*p));
    if (len != nullptr) *len = l;
    return p == nullptr ? p : p + l;
}

}  // namespace HQ

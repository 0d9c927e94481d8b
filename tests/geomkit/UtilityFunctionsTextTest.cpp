// SPDX-License-Identifier: Apache-2.0
// Text and bookkeeping members of CHQGS_UtilityFunctions. The suite runs
// under LC_ALL=zh_CN.GBK, so "ANSI" below means GBK.
#include <geomkit/UtilityFunctions.h>

#include "UniquenessId.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

using U = HQ::CHQGS_UtilityFunctions;

namespace {

std::string Bytes(std::initializer_list<int> bytes) {
    std::string s;
    for (int b : bytes) s.push_back(static_cast<char>(b));
    return s;
}

std::wstring Units(std::initializer_list<unsigned> units) {
    std::wstring w;
    for (unsigned u : units) w.push_back(static_cast<wchar_t>(u));
    return w;
}

std::string Hex(const std::string& s) {
    std::string out;
    char buf[4];
    for (unsigned char c : s) {
        std::snprintf(buf, sizeof buf, "%02X ", c);
        out += buf;
    }
    return out;
}

std::string Hex(const std::wstring& w) {
    std::string out;
    char buf[12];
    for (wchar_t c : w) {
        std::snprintf(buf, sizeof buf, "%04X ", static_cast<unsigned>(c));
        out += buf;
    }
    return out;
}

// Runs a block with LC_ALL set to another locale in the environment (the
// conversions take the "user default" from there) and puts the previous
// setting back afterwards.
class ScopedUserLocale {
public:
    explicit ScopedUserLocale(const char* name) {
        const char* old = std::getenv("LC_ALL");
        hadOld_ = old != nullptr;
        if (hadOld_) old_ = old;
        setenv("LC_ALL", name, 1);
        available_ = std::setlocale(LC_ALL, "") != nullptr;
    }
    ~ScopedUserLocale() {
        if (hadOld_)
            setenv("LC_ALL", old_.c_str(), 1);
        else
            unsetenv("LC_ALL");
        std::setlocale(LC_ALL, "");
    }
    bool available() const { return available_; }

private:
    bool hadOld_ = false;
    bool available_ = false;
    std::string old_;
};

// A table row of the conversions from 8-bit text to UTF-16 units.
struct NarrowToWideCase {
    const char* what;
    std::string in;
    std::wstring out;
};

}  // namespace

// ---- UTF-8 decoder -------------------------------------------------------

TEST(Utf8ToUnicode, DecodesAndReplacesPerRules) {
    using Case = NarrowToWideCase;
    const Case cases[] = {
        {"empty", "", L""},
        {"ascii", "Az\x7F", Units({0x41, 0x7A, 0x7F})},
        {"embedded NUL kept", Bytes({0x41, 0x00, 0x42}), Units({0x41, 0, 0x42})},
        // byte-order marks
        {"BOM then A", Bytes({0xEF, 0xBB, 0xBF, 0x41}), Units({0x41})},
        {"BOM alone", Bytes({0xEF, 0xBB, 0xBF}), L""},
        {"two BOMs keep the second", Bytes({0xEF, 0xBB, 0xBF, 0xEF, 0xBB, 0xBF, 0x41}),
         Units({0xFEFF, 0x41})},
        {"later FEFF stays", Bytes({0x41, 0xEF, 0xBB, 0xBF}), Units({0x41, 0xFEFF})},
        {"FEFF after a replacement stays", Bytes({0x80, 0xEF, 0xBB, 0xBF}), Units({0xFFFD, 0xFEFF})},
        // well-formed sequences, with the boundaries of each length
        {"2-byte e acute", Bytes({0xC3, 0xA9}), Units({0xE9})},
        {"smallest 2-byte", Bytes({0xC2, 0x80}), Units({0x80})},
        {"largest 2-byte", Bytes({0xDF, 0xBF}), Units({0x7FF})},
        {"smallest 3-byte", Bytes({0xE0, 0xA0, 0x80}), Units({0x800})},
        {"last before surrogates", Bytes({0xED, 0x9F, 0xBF}), Units({0xD7FF})},
        {"first after surrogates", Bytes({0xEE, 0x80, 0x80}), Units({0xE000})},
        {"U+FFFD itself", Bytes({0xEF, 0xBF, 0xBD}), Units({0xFFFD})},
        {"Chinese", Bytes({0xE4, 0xB8, 0xAD, 0xE6, 0x96, 0x87}), Units({0x4E2D, 0x6587})},
        {"emoji to surrogate pair", Bytes({0xF0, 0x9F, 0x98, 0x80}), Units({0xD83D, 0xDE00})},
        {"smallest 4-byte", Bytes({0xF0, 0x90, 0x80, 0x80}), Units({0xD800, 0xDC00})},
        {"U+10FFFF", Bytes({0xF4, 0x8F, 0xBF, 0xBF}), Units({0xDBFF, 0xDFFF})},
        // values that must not come through
        {"overlong 2-byte NUL", Bytes({0xC0, 0x80}), Units({0xFFFD})},
        {"overlong 2-byte via C1", Bytes({0xC1, 0xBF}), Units({0xFFFD})},
        {"overlong 3-byte", Bytes({0xE0, 0x80, 0x80}), Units({0xFFFD})},
        {"overlong 4-byte", Bytes({0xF0, 0x8F, 0xBF, 0xBF}), Units({0xFFFD})},
        {"high surrogate", Bytes({0xED, 0xA0, 0x80}), Units({0xFFFD})},
        {"low surrogate", Bytes({0xED, 0xBF, 0xBF}), Units({0xFFFD})},
        {"U+FFFE", Bytes({0xEF, 0xBF, 0xBE}), Units({0xFFFD})},
        {"U+FFFF", Bytes({0xEF, 0xBF, 0xBF}), Units({0xFFFD})},
        {"beyond U+10FFFF", Bytes({0xF4, 0x90, 0x80, 0x80}), Units({0xFFFD})},
        {"F5 lead beyond range", Bytes({0xF5, 0x80, 0x80, 0x80}), Units({0xFFFD})},
        {"stray continuation", Bytes({0x80, 0x41}), Units({0xFFFD, 0x41})},
        {"F8 and FF", Bytes({0xF8, 0xFF}), Units({0xFFFD, 0xFFFD})},
        // cut sequences: resume right after the lead byte
        {"cut 3-byte before ASCII", Bytes({0xE2, 0x82, 0x41}), Units({0xFFFD, 0xFFFD, 0x41})},
        {"cut 4-byte before ASCII", Bytes({0xF0, 0x9F, 0x98, 0x41}), Units({0xFFFD, 0xFFFD, 0xFFFD, 0x41})},
        {"offending lead decoded afresh", Bytes({0xE2, 0xC3, 0xA9}), Units({0xFFFD, 0xE9})},
        {"cut 2-byte before a 2-byte", Bytes({0xC3, 0xC3, 0xA9, 0x42}), Units({0xFFFD, 0xE9, 0x42})},
        // cut at the end: one replacement per byte from the lead on
        {"cut 3-byte at end", Bytes({0x41, 0xE2, 0x82}), Units({0x41, 0xFFFD, 0xFFFD})},
        {"lone lead at end", Bytes({0xC3}), Units({0xFFFD})},
        {"cut 4-byte at end", Bytes({0xF0, 0x9F, 0x98}), Units({0xFFFD, 0xFFFD, 0xFFFD})},
        {"cut BOM-like prefix", Bytes({0xEF, 0xBB}), Units({0xFFFD, 0xFFFD})},
    };
    for (const Case& c : cases) {
        const std::wstring got = U::UTF8ToUnicode(c.in);
        EXPECT_EQ(Hex(got), Hex(c.out)) << c.what;
        EXPECT_LE(got.size(), c.in.size()) << c.what;
    }
}

// ---- UTF-8 encoder -------------------------------------------------------

TEST(UnicodeToUtf8, EncodesUnitsAndPairs) {
    struct Case {
        const char* what;
        std::wstring in;
        std::string out;
    };
    const Case cases[] = {
        {"empty", L"", ""},
        {"ASCII", Units({0x41, 0x7F}), Bytes({0x41, 0x7F})},
        {"smallest 2-byte", Units({0x80}), Bytes({0xC2, 0x80})},
        {"largest 2-byte", Units({0x7FF}), Bytes({0xDF, 0xBF})},
        {"smallest 3-byte", Units({0x800}), Bytes({0xE0, 0xA0, 0x80})},
        {"U+FFFF", Units({0xFFFF}), Bytes({0xEF, 0xBF, 0xBF})},
        {"Chinese", Units({0x4E2D, 0x6587}), Bytes({0xE4, 0xB8, 0xAD, 0xE6, 0x96, 0x87})},
        {"surrogate pair", Units({0xD83D, 0xDE00}), Bytes({0xF0, 0x9F, 0x98, 0x80})},
        {"largest pair", Units({0xDBFF, 0xDFFF}), Bytes({0xF4, 0x8F, 0xBF, 0xBF})},
        {"lone high surrogate", Units({0xD800}), Bytes({0xED, 0xA0, 0x80})},
        {"lone low surrogate", Units({0xDE00}), Bytes({0xED, 0xB8, 0x80})},
        {"high then ASCII", Units({0xD83D, 0x41}), Bytes({0xED, 0xA0, 0xBD, 0x41})},
        {"low then high is no pair", Units({0xDE00, 0xD83D}), Bytes({0xED, 0xB8, 0x80, 0xED, 0xA0, 0xBD})},
        {"U+0000 ends the text", Units({0x41, 0x0, 0x42}), Bytes({0x41})},
        {"leading U+0000", Units({0x0, 0x42}), ""},
        // 32-bit elements outside UTF-16 (not produced by this library)
        {"whole code point in one element", Units({0x1F600}), Bytes({0xF0, 0x9F, 0x98, 0x80})},
        {"beyond U+10FFFF", Units({0x110000}), Bytes({0xEF, 0xBF, 0xBD})},
        {"negative element", Units({0xFFFFFFFFu}), Bytes({0xEF, 0xBF, 0xBD})},
    };
    for (const Case& c : cases) EXPECT_EQ(Hex(U::UnicodeToUTF8(c.in)), Hex(c.out)) << c.what;
}

TEST(UnicodeToUtf8, ManyFourByteElementsFitTheOutput) {
    // Four bytes per element exceed a three-bytes-per-unit estimate.
    const std::wstring in(1000, static_cast<wchar_t>(0x1F600));
    const std::string out = U::UnicodeToUTF8(in);
    ASSERT_EQ(out.size(), 4000u);
    EXPECT_EQ(out.substr(3996), Bytes({0xF0, 0x9F, 0x98, 0x80}));
}

TEST(Utf8RoundTrip, ValidTextSurvives) {
    const std::string texts[] = {
        "plain ASCII text",
        "\xE6\x80\x81\xE5\x8A\xBF\xE5\x9B\xBE layer 3",                              // mixed Chinese/ASCII
        "\xF0\x9F\x98\x80\xF0\xA0\x80\x80 astral \xE4\xB8\xAD",                      // two astral characters
        "\xC3\xA9\xE2\x82\xAC\xEF\xBF\xBD\xEE\x80\x80\xED\x9F\xBF\xF4\x8F\xBF\xBF",  // boundaries
    };
    for (const std::string& t : texts) EXPECT_EQ(Hex(U::UnicodeToUTF8(U::UTF8ToUnicode(t))), Hex(t)) << t;
}

// ---- ANSI (GBK) conversions ---------------------------------------------

TEST(AnsiConversions, GbkRoundTrips) {
    struct Case {
        const char* what;
        std::string utf8;
        std::string gbk;
    };
    const Case cases[] = {
        {"empty", "", ""},
        {"ASCII", "Layer 1", "Layer 1"},
        {"Chinese", "\xE4\xB8\xAD\xE6\x96\x87", Bytes({0xD6, 0xD0, 0xCE, 0xC4})},
        {"mixed",
         "a\xE5\xAE\x8B\xE4\xBD\x93"
         "b",
         Bytes({0x61, 0xCB, 0xCE, 0xCC, 0xE5, 0x62})},
        {"pinyin letter", "\xC3\xA9", Bytes({0xA8, 0xA6})},
        {"full-width comma", "\xEF\xBC\x8C", Bytes({0xA3, 0xAC})},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Hex(U::UTF8ToANSI(c.utf8)), Hex(c.gbk)) << c.what;
        EXPECT_EQ(Hex(U::ANSIToUTF8(c.gbk)), Hex(c.utf8)) << c.what;
        EXPECT_EQ(Hex(U::ANSIToUnicode(c.gbk)), Hex(U::UTF8ToUnicode(c.utf8))) << c.what;
        EXPECT_EQ(Hex(U::UnicodeToANSI(U::UTF8ToUnicode(c.utf8))), Hex(c.gbk)) << c.what;
    }
}

TEST(AnsiConversions, UnconvertibleTextEmptiesTheWholeResult) {
    const struct {
        const char* what;
        std::string utf8;
    } toAnsi[] = {
        {"emoji after ASCII", "abc\xF0\x9F\x98\x80"},
        {"Arabic after Chinese", "\xE4\xB8\xAD\xD8\xA7"},
        {"Hangul in the middle",
         "a\xEA\xB0\x80"
         "b"},
        {"replacement character",
         "a\xFF"
         "b"},
    };
    for (const auto& c : toAnsi) EXPECT_EQ(U::UTF8ToANSI(c.utf8), "") << c.what;

    EXPECT_EQ(U::UnicodeToANSI(Units({0x41, 0xD800, 0x42})), "") << "lone surrogate";
    EXPECT_EQ(U::UnicodeToANSI(Units({0x41, 0xDE00})), "") << "lone low surrogate";

    const struct {
        const char* what;
        std::string gbk;
    } fromAnsi[] = {
        {"lead byte cut at the end", Bytes({0x61, 0xD6})},
        {"byte FF", Bytes({0x61, 0xFF})},
    };
    for (const auto& c : fromAnsi) {
        EXPECT_EQ(U::ANSIToUTF8(c.gbk), "") << c.what;
        EXPECT_EQ(U::ANSIToUnicode(c.gbk), L"") << c.what;
    }
}

TEST(AnsiConversions, LeaveTheCharacterTypeAtTheUserDefault) {
    const std::string userDefault = std::setlocale(LC_CTYPE, "");
    std::setlocale(LC_CTYPE, "C");
    U::UTF8ToANSI("x");
    EXPECT_EQ(std::string(std::setlocale(LC_CTYPE, nullptr)), userDefault);
}

// a, U+1F600 (outside the Basic Multilingual Plane), U+4E2D
const char kAstralSample[] = "a\xF0\x9F\x98\x80\xE4\xB8\xAD";

TEST(AnsiConversions, AstralCharactersSurviveInAUtf8Locale) {
    const std::string utf8 = kAstralSample;
    ScopedUserLocale utf8Locale("C.UTF-8");
    ASSERT_TRUE(utf8Locale.available());
    // Here ANSI and UTF-8 coincide, while wide text stays UTF-16.
    EXPECT_EQ(Hex(U::ANSIToUnicode(utf8)), Hex(Units({0x61, 0xD83D, 0xDE00, 0x4E2D})));
    EXPECT_EQ(Hex(U::UnicodeToANSI(Units({0x61, 0xD83D, 0xDE00, 0x4E2D}))), Hex(utf8));
    EXPECT_EQ(Hex(U::UTF8ToANSI(utf8)), Hex(utf8));
    EXPECT_EQ(Hex(U::ANSIToUTF8(utf8)), Hex(utf8));
    EXPECT_EQ(Hex(U::String2WString(utf8)), Hex(Units({0x61, 0xD83D, 0xDE00, 0x4E2D})));
    EXPECT_EQ(U::UnicodeToANSI(Units({0x61, 0xD83D})), "") << "a lone surrogate has no form";
}

TEST(AnsiConversions, AstralCharactersSurviveInGb18030) {
    const std::string utf8 = kAstralSample;
    ScopedUserLocale gb18030("zh_CN.GB18030");
    if (!gb18030.available()) GTEST_SKIP() << "zh_CN.GB18030 is not installed";
    const std::string ansi = U::UTF8ToANSI(utf8);
    EXPECT_FALSE(ansi.empty());
    EXPECT_EQ(Hex(U::ANSIToUTF8(ansi)), Hex(utf8));
}

TEST(String2WString, ConvertsLocaleTextToUtf16) {
    using Case = NarrowToWideCase;
    const Case cases[] = {
        {"empty", "", L""},
        {"ASCII", "ab", L"ab"},
        {"GBK Chinese", Bytes({0xD6, 0xD0, 0x61}), Units({0x4E2D, 0x61})},
        {"invalid GBK", Bytes({0x61, 0xD6}), L""},
        {"stops at NUL", Bytes({0x61, 0x00, 0x62}), L"a"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Hex(U::String2WString(c.in)), Hex(c.out)) << c.what;
        EXPECT_EQ(Hex(U::QToStdWstring(c.in)), Hex(c.out)) << c.what;
    }
}

TEST(String2WString, LeavesTheWholeLocaleAtTheUserDefault) {
    const std::string userDefault = std::setlocale(LC_ALL, "");
    std::setlocale(LC_ALL, "C");
    U::String2WString("x");
    EXPECT_EQ(std::string(std::setlocale(LC_ALL, nullptr)), userDefault);
}

// ---- Byte copy and splitting ---------------------------------------------

TEST(CharCopy, CopiesWithinTheSource) {
    struct Case {
        const char* what;
        int srcLen, start, count;
        const char* expected;  // destination after the call, prefilled with '#'
    };
    const Case cases[] = {
        {"count beyond the end", 5, 3, 4, "de######"},
        {"whole source", 5, 0, 5, "abcde###"},
        {"middle", 5, 1, 2, "bc######"},
        {"source length shorter than text", 3, 0, 5, "abc#####"},
        {"zero count", 5, 0, 0, "########"},
        {"negative count", 5, 2, -1, "########"},
        {"start at the end", 5, 5, 3, "########"},
        {"start past the end", 5, 7, 3, "########"},
        {"negative start", 5, -1, 3, "########"},
        {"start near INT_MAX", 5, INT_MAX, 3, "########"},
    };
    const char* src = "abcdefgh";
    for (const Case& c : cases) {
        char dst[9] = "########";
        U::charCopy(dst, src, c.srcLen, c.start, c.count);
        EXPECT_STREQ(dst, c.expected) << c.what;
    }
}

TEST(SplitString, AppendsPiecesIncludingEmptyOnes) {
    using V = std::vector<std::string>;
    struct Case {
        const char* what;
        std::string text, sep;
        V before, after;
    };
    const Case cases[] = {
        {"two pieces", "a,b", ",", {}, {"a", "b"}},
        {"empty text", "", ",", {"x"}, {"x"}},
        {"empty middle piece", "a,,b", ",", {}, {"a", "", "b"}},
        {"trailing separator", "a,", ",", {}, {"a", ""}},
        {"leading separator", ",a", ",", {}, {"", "a"}},
        {"only a separator", ",", ",", {}, {"", ""}},
        {"no separator", "abc", ",", {}, {"abc"}},
        {"long separator", "a::b::c", "::", {}, {"a", "b", "c"}},
        {"overlapping separator", "a:::b", "::", {}, {"a", ":b"}},
        {"separator longer than text", "a", ",,", {}, {"a"}},
        {"appends to existing", "a,b", ",", {"x"}, {"x", "a", "b"}},
        {"empty separator keeps the text whole", "a,b", "", {}, {"a,b"}},
    };
    for (const Case& c : cases) {
        V out = c.before;
        U::splitString(c.text, c.sep, out);
        EXPECT_EQ(out, c.after) << c.what;
    }
}

// ---- Font names ------------------------------------------------------------

TEST(FontNameToFontFileName, KeyAndNameOfEveryRow) {
    // Chinese names are written in UTF-8 here and turned into GBK through the
    // conversion, so a wrong byte in the library's table shows up.
    struct Row {
        const char* key;
        const char* utf8Name;
        const char* file;
    };
    const Row rows[] = {
        {"0", "Arial Unicode", "ARIALUNI.TTF"}, {"1", "FixedSys", "MSYH.TTF"},
        {"2", "SimSun-ExtB", "SIMSUNB.TTF"},    {"3", "System", "MSYH.TTF"},
        {"4", "Terminal", "MSYH.TTF"},          {"5", "仿宋", "SIMFANG.TTF"},
        {"6", "华文中宋", "STSONG.TTF"},        {"7", "华文仿宋", "STFANGSO.TTF"},
        {"8", "华文宋体", "STSONG.TTF"},        {"9", "华文彩云", "STCAIYUN.TTF"},
        {"10", "华文新魏", "STXINWEI.TTF"},     {"11", "华文楷体", "STKAITI.TTF"},
        {"12", "华文琥珀", "STHUPO.TTF"},       {"13", "华文细黑", "STXIHEI.TTF"},
        {"14", "华文行楷", "STXINGKA.TTF"},     {"15", "华文隶书", "STLITI.TTF"},
        {"16", "宋体", "SIMSUN.TTC"},           {"17", "幼圆", "SIMYOU.TTF"},
        {"18", "微软雅黑", "MSYH.TTF"},         {"19", "新宋体", "SIMSUN.TTF"},
        {"20", "方正姚体", "FZYTK.TTF"},        {"21", "方正舒体", "FZSTK.TTF"},
        {"22", "楷体", "SIMKAI.TTF"},           {"23", "隶书", "SIMLI.TTF"},
        {"24", "黑体", "SIMHEI.TTF"},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(U::FontNameToFontFileName(r.key), r.file) << "key " << r.key;
        const std::string gbk = U::UTF8ToANSI(r.utf8Name);
        ASSERT_FALSE(gbk.empty()) << r.key;
        EXPECT_EQ(U::FontNameToFontFileName(gbk), r.file) << "name of row " << r.key;
    }
    EXPECT_EQ(U::UTF8ToANSI("微软雅黑"), Bytes({0xCE, 0xA2, 0xC8, 0xED, 0xD1, 0xC5, 0xBA, 0xDA}));
}

TEST(FontNameToFontFileName, UnknownNamesFallBack) {
    const char* names[] = {
        "arial unicode",  // case-sensitive
        "fixedsys",       // would be MSYH.TTF if matched
        "SYSTEM",        "25", "-1", "", " 1",
        "宋体",  // the UTF-8 spelling is not the GBK one
        "Courier New",
    };
    for (const char* n : names) EXPECT_EQ(U::FontNameToFontFileName(n), "ARIALUNI.TTF") << n;
}

// ---- Identifiers and random numbers --------------------------------------

TEST(UniquenessId, MixesTheDrawsByTheFixedFormula) {
    struct Case {
        const char* what;
        int r1, r2, r3, r4;
        int expected;
    };
    const Case cases[] = {
        {"all zero", 0, 0, 0, 0, 0},
        {"b0: low byte of r4", 0, 0, 0, 0x01, 8 * 16384 + 11},
        {"b1: high byte of r4", 0, 0, 0, 0x100, 8 * 256 + 13},
        {"b2: low byte of r3", 0, 0, 0x01, 0, 8 * 1024 + 3},
        {"b3: high byte of r3", 0, 0, 0x100, 0, 8 * 1 + 19},
        {"b4: low byte of r2", 0, 0x01, 0, 0, 8 * 65536 + 7},
        {"b5: high byte of r2", 0, 0x100, 0, 0, 8 * 16 + 23},
        {"b6: low byte of r1", 0x01, 0, 0, 0, 8 * 1048576 + 5},
        {"b7: high byte of r1", 0x100, 0, 0, 0, 8 * 4 + 17},
        {"bits above 16 ignored", 0x7FFF0000, 0x12340000, 0x00010000, 0x7F000000, 0},
        // 8h + extras = 2308866225 wraps to -1986101071
        {"sum wraps in 32 bits", 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 1986101071},
        // the sum is exactly 2^31, which has no positive 32-bit form
        {"sum of 2^31 stays non-negative", 0xFF, 0, 0x90, 0x37, INT_MAX},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HQ::detail::UniquenessIdFromDraws(c.r1, c.r2, c.r3, c.r4), c.expected) << c.what;
}

TEST(UniquenessId, IsNeverNegative) {
    constexpr int kCalls = 500;
    for (int i = 0; i < kCalls; ++i) EXPECT_GE(U::CreateUniquenessID(), 0);
}

TEST(GetRand, StaysWithinThreeDigits) {
    constexpr int kDraws = 20000;  // enough for a fixed seed to reach both ends
    std::srand(1);
    int lo = INT_MAX, hi = INT_MIN;
    for (int i = 0; i < kDraws; ++i) {
        const int v = U::GetRand();
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    }
    EXPECT_EQ(lo, 100);
    EXPECT_EQ(hi, 999);
}

// ---- Hexadecimal and colours -----------------------------------

TEST(HexadecimalToDecimalism, ParsesIn32Bits) {
    struct Case {
        std::string in;
        int out;
    };
    const Case cases[] = {
        {"", 0},
        {"ff", 255},
        {"FF", 255},
        {"aB", 171},
        {"FFFFFFFF", -1},
        {"7fffffff", INT_MAX},
        {"80000000", INT_MIN},
        {"123456789", 0x23456789},  // the ninth digit pushes the first out
        {"1G", 17},                 // G repeats the 1
        {"0x1F", 31},
        {"#1F", 31},
        {"G", 0},
        {"f f", 0xFFF},
        {"09", 9},
    };
    for (const Case& c : cases) EXPECT_EQ(U::HexadecimalToDecimalism(c.in), c.out) << c.in;
}

TEST(RgbaPacking, PacksAndUnpacks) {
    struct Case {
        unsigned r, g, b, a;
        unsigned packed;
        bool roundTrips;  // components 0-255 come back from IntToRGBA
    };
    const Case cases[] = {
        {0x12, 0x34, 0x56, 0x78, 0x12345678u, true},
        {0, 0, 0, 0, 0u, true},
        {255, 255, 255, 255, 0xFFFFFFFFu, true},
        {1, 0, 0, 0, 0x01000000u, true},
        {0, 0, 0, 255, 0x000000FFu, true},
        {0, 0, 0x1FF, 0, 0x0000FF00u, false},   // blue keeps 8 bits after the shift
        {0, 0, 0, 0x1234, 0x00001234u, false},  // alpha is masked to 16 bits only
        {0x100, 0, 0, 0, 0u, false},            // red shifted out of 32 bits
    };
    for (const Case& c : cases) {
        EXPECT_EQ(U::RGBAToInt(c.r, c.g, c.b, c.a), c.packed);
        unsigned out = 0xDEADBEEF;
        U::RGBAToInt(c.r, c.g, c.b, c.a, out);
        EXPECT_EQ(out, c.packed);
        if (!c.roundTrips) continue;
        unsigned r = 1, g = 1, b = 1, a = 1;
        U::IntToRGBA(c.packed, r, g, b, a);
        EXPECT_EQ(r, c.r);
        EXPECT_EQ(g, c.g);
        EXPECT_EQ(b, c.b);
        EXPECT_EQ(a, c.a);
    }
}

// ---- UTF-8 display width -------------------------------------------------

TEST(GetUtf8Size, CountsHalfForAsciiAndOneForWide) {
    struct Case {
        const char* what;
        std::string text;
        double width;
    };
    const Case cases[] = {
        {"empty", "", 0.0},
        {"two ASCII and a 2-byte", "ab\xC3\xA9", 2.0},
        {"blanks only", " \r\n \t\v\f", 0.0},
        {"Chinese", "\xE4\xB8\xAD\xE6\x96\x87", 2.0},
        {"astral", "\xF0\x9F\x98\x80", 1.0},
        {"leading blanks skipped, inner kept", "  a b", 1.5},
        {"BOM skipped",
         "\xEF\xBB\xBF"
         "a",
         0.5},
        {"noncharacters skipped",
         "\xEF\xBF\xBE\xEF\xBF\xBF"
         "a",
         0.5},
        {"mixed prefix skipped repeatedly",
         " \xEF\xBB\xBF \xEF\xBB\xBF"
         "a",
         0.5},
        {"BOM after text counts", "a\xEF\xBB\xBF", 1.5},
        {"continuation byte counts narrow", "\x80", 0.5},
        {"C0 counts narrow", "\xC0\x80", 1.0},
        {"F5 counts narrow", "\xF5", 0.5},
        {"cut 3-byte at the end counts once", "a\xE4\xB8", 1.5},
        {"lone lead at the end", "\xF0", 1.0},
        {"cut prefix-like group", "\xEF\xBB", 1.0},
    };
    for (const Case& c : cases) {
        // Exactly sized heap copy so that reading past the terminator is caught.
        std::unique_ptr<char[]> buf(new char[c.text.size() + 1]);
        std::memcpy(buf.get(), c.text.c_str(), c.text.size() + 1);
        EXPECT_EQ(U::getUTF8Size(buf.get()), c.width) << c.what;
    }
    EXPECT_EQ(U::getUTF8Size(static_cast<const char*>(nullptr)), 0.0);
}

TEST(GetUtf8Size, SequenceLengthByLeadByte) {
    const struct {
        unsigned char lead;
        int len;
    } cases[] = {{0x00, 1}, {0x41, 1}, {0x80, 1}, {0xBF, 1}, {0xC0, 1}, {0xC1, 1}, {0xC2, 2},
                 {0xDF, 2}, {0xE0, 3}, {0xEF, 3}, {0xF0, 4}, {0xF4, 4}, {0xF5, 1}, {0xFF, 1}};
    for (const auto& c : cases) {
        const char text[5] = {static_cast<char>(c.lead), 0, 0, 0, 0};
        int len = -1;
        EXPECT_EQ(U::getUTF8Size(text, &len), text + c.len) << int(c.lead);
        EXPECT_EQ(len, c.len) << int(c.lead);
    }
}

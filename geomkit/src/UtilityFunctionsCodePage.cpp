// SPDX-License-Identifier: Apache-2.0
// Code-page conversion members of CHQGS_UtilityFunctions: the locale's
// multibyte encoding ("ANSI") to and from UTF-16 wide strings, and the
// compositions with the UTF-8 codec.
#include <geomkit/UtilityFunctions.h>

#include "Utf16Units.h"

#include <clocale>
#include <cstdint>
#include <cstdlib>
#include <cwchar>
#include <vector>

namespace HQ {

namespace {

using namespace utf16;

constexpr std::size_t kConversionFailed = static_cast<std::size_t>(-1);

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

// Sets LC_CTYPE to the user default, as every conversion does, but skips the
// call when the category already holds what it would set: setlocale with ""
// reads the environment and loads the locale's tables each time, which costs
// more than converting a short text. The environment's locale variables are
// compared too, so that a host that changes them is followed as before.
void UseUserDefaultCType() {
    static std::string lastEnvironment;
    static std::string lastName;
    std::string environment;
    for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const char* value = std::getenv(variable);
        environment += value ? value : "";
        environment += '\n';
    }
    if (!lastName.empty() && environment == lastEnvironment) {
        const char* current = std::setlocale(LC_CTYPE, nullptr);
        if (current != nullptr && lastName == current) return;
    }
    const char* name = std::setlocale(LC_CTYPE, "");
    lastEnvironment = environment;
    lastName = name ? name : "";
}

}  // namespace

std::wstring CHQGS_UtilityFunctions::ANSIToUnicode(const std::string& ansi) {
    UseUserDefaultCType();
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
    UseUserDefaultCType();
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

}  // namespace HQ

// SPDX-License-Identifier: Apache-2.0
// Text for SVG documents: code-page conversion to UTF-8 without touching the
// process locale, UTF-8 repair and XML escaping.
#include <markstore/SymbolSvg.h>

#include <cerrno>
#include <cstring>
#include <iconv.h>
#include <langinfo.h>
#include <locale.h>
#include <string>

namespace HQ {

namespace {

const char kReplacement[] = "\xEF\xBF\xBD";  // U+FFFD

// Decodes one UTF-8 character at text[i]; answers its length, or 0 when the
// bytes there are not a well-formed character (overlong forms, surrogates and
// values above U+10FFFF included).
std::size_t DecodeUtf8(const std::string& text, std::size_t i, char32_t* c) {
    const auto b0 = static_cast<unsigned char>(text[i]);
    std::size_t len;
    char32_t value;
    char32_t min;
    if (b0 < 0x80) {
        *c = b0;
        return 1;
    } else if ((b0 & 0xE0) == 0xC0) {
        len = 2, value = b0 & 0x1F, min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        len = 3, value = b0 & 0x0F, min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        len = 4, value = b0 & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (i + len > text.size()) return 0;
    for (std::size_t k = 1; k < len; ++k) {
        const auto b = static_cast<unsigned char>(text[i + k]);
        if ((b & 0xC0) != 0x80) return 0;
        value = (value << 6) | (b & 0x3F);
    }
    if (value < min || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
    *c = value;
    return len;
}

std::string RepairUtf8(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        char32_t c;
        const std::size_t len = DecodeUtf8(text, i, &c);
        if (len == 0) {
            out += kReplacement;
            ++i;
        } else {
            out.append(text, i, len);
            i += len;
        }
    }
    return out;
}

bool IsAscii(const std::string& text) {
    for (char ch : text)
        if (static_cast<unsigned char>(ch) >= 0x80) return false;
    return true;
}

// The code set of the user-default locale, read through a locale object of
// our own (setlocale would change the process-wide locale).
std::string LocalCodeSet() {
    locale_t loc = newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(0));
    if (loc == static_cast<locale_t>(0)) return "ANSI_X3.4-1968";
    std::string name = nl_langinfo_l(CODESET, loc);
    freelocale(loc);
    return name;
}

std::string FromCodeSet(const std::string& text, const std::string& codeSet) {
    iconv_t cd = iconv_open("UTF-8", codeSet.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) return RepairUtf8(text);
    std::string out;
    out.reserve(text.size() * 3 / 2 + 4);
    char buffer[256];
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    while (inLeft > 0) {
        char* dst = buffer;
        std::size_t dstLeft = sizeof buffer;
        const std::size_t r = iconv(cd, &in, &inLeft, &dst, &dstLeft);
        out.append(buffer, static_cast<std::size_t>(dst - buffer));
        if (r != static_cast<std::size_t>(-1)) break;
        if (errno == E2BIG) continue;
        // EILSEQ: a byte without a character; EINVAL: a character cut off at
        // the end. Either way one byte is replaced and skipped.
        out += kReplacement;
        ++in;
        --inLeft;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    iconv_close(cd);
    // The converter's output is UTF-8; repairing also guards against a code
    // set whose converter passes bytes through.
    return RepairUtf8(out);
}

}  // namespace

std::string SymbolTextToUtf8(const std::string& text, SymbolTextEncoding encoding) {
    if (IsAscii(text)) return text;
    if (encoding == SymbolTextEncoding::Utf8) return RepairUtf8(text);
    const std::string codeSet = LocalCodeSet();
    if (codeSet == "UTF-8" || codeSet == "utf8") return RepairUtf8(text);
    return FromCodeSet(text, codeSet);
}

std::string XmlEscape(const std::string& utf8) {
    std::string out;
    out.reserve(utf8.size() + utf8.size() / 8);
    for (char ch : utf8) {
        const auto b = static_cast<unsigned char>(ch);
        switch (ch) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&apos;";
                break;
            default:
                if (b < 0x20 && ch != '\t' && ch != '\n' && ch != '\r') break;  // not allowed in XML 1.0
                out += ch;
        }
    }
    return out;
}

}  // namespace HQ

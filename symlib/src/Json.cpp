// SPDX-License-Identifier: Apache-2.0
#include "Json.h"

#include <charconv>
#include <cmath>

namespace symlib {

std::string JsonString(const std::string& utf8) {
    static const char hex[] = "0123456789abcdef";
    std::string out = "\"";
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (c < 0x20 || c == '<' || c == '>' || c == '&') {
                    out += "\\u00";
                    out += hex[c >> 4];
                    out += hex[c & 15];
                } else if (c == 0xE2 && i + 2 < utf8.size() &&
                           static_cast<unsigned char>(utf8[i + 1]) == 0x80 &&
                           (static_cast<unsigned char>(utf8[i + 2]) & 0xFE) == 0xA8) {
                    // U+2028 and U+2029 end a line in older JavaScript.
                    out += static_cast<unsigned char>(utf8[i + 2]) == 0xA8 ? "\\u2028" : "\\u2029";
                    i += 2;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    out += '"';
    return out;
}

std::string JsonNumber(double value) {
    if (!std::isfinite(value)) return "null";
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, r.ptr);
}

}  // namespace symlib

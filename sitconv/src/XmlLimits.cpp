// SPDX-License-Identifier: Apache-2.0
// One linear scan of the markup for nesting depth and attributes per element.
#include "XmlLimits.h"

#include <cstring>

namespace HQ {

namespace {

bool startsWith(const char* p, const char* end, const char* prefix) {
    const size_t n = std::strlen(prefix);
    return static_cast<size_t>(end - p) >= n && std::memcmp(p, prefix, n) == 0;
}

// Position after the first occurrence of closing at or after p, or end.
const char* skipPast(const char* p, const char* end, const char* closing) {
    const size_t n = std::strlen(closing);
    for (; p + n <= end; ++p) {
        if (std::memcmp(p, closing, n) == 0) return p + n;
    }
    return end;
}

// The reader starts an element at a letter, '_' or any byte from 127 up.
bool startsElement(const char* p, const char* end) {
    if (p >= end) return false;
    const unsigned char c = static_cast<unsigned char>(*p);
    return c >= 127 || c == '_' || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

int lineAt(const char* begin, const char* p) {
    int line = 1;
    for (const char* c = begin; c < p; ++c) line += *c == '\n' ? 1 : 0;
    return line;
}

}  // namespace

bool withinXmlLimits(const std::string& text, std::string& why) {
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    int depth = 0;
    const char* p = begin;
    while (p < end) {
        p = static_cast<const char*>(std::memchr(p, '<', static_cast<size_t>(end - p)));
        if (p == nullptr) break;
        if (startsWith(p, end, "<!--")) {
            p = skipPast(p + 4, end, "-->");
        } else if (startsWith(p, end, "<![CDATA[")) {
            p = skipPast(p + 9, end, "]]>");
        } else if (startsWith(p, end, "<?")) {
            p = skipPast(p + 2, end, ">");
        } else if (startsWith(p, end, "<!")) {
            p = skipPast(p + 2, end, ">");
        } else if (startsWith(p, end, "</")) {
            if (depth > 0) --depth;
            p = skipPast(p + 2, end, ">");
        } else if (!startsElement(p + 1, end)) {
            // The reader takes anything else after '<' up to the next '>' as
            // one unknown node.
            p = skipPast(p + 1, end, ">");
        } else {
            // A start tag: attributes are counted by their '=' outside quoted
            // values; a quote opens a value only after '='.
            const char* tag = p;
            int attributes = 0;
            bool afterEquals = false, selfClosing = false;
            ++p;
            while (p < end && *p != '>') {
                const char c = *p;
                if (c == '=') {
                    ++attributes;
                    afterEquals = true;
                } else if ((c == '"' || c == '\'') && afterEquals) {
                    const char* close =
                        static_cast<const char*>(std::memchr(p + 1, c, static_cast<size_t>(end - p - 1)));
                    p = close != nullptr ? close : end;
                    afterEquals = false;
                } else if (c != ' ' && c != '\t' && c != '\n' && c != '\r') {
                    afterEquals = false;
                }
                selfClosing = c == '/';
                if (p < end) ++p;
            }
            if (attributes > kMaxXmlAttributes) {
                why = "an element with more than " + std::to_string(kMaxXmlAttributes) +
                      " attributes at line " + std::to_string(lineAt(begin, tag));
                return false;
            }
            if (!selfClosing && ++depth > kMaxXmlDepth) {
                why = "elements nested deeper than " + std::to_string(kMaxXmlDepth) + " levels at line " +
                      std::to_string(lineAt(begin, tag));
                return false;
            }
            if (p < end) ++p;
        }
    }
    return true;
}

}  // namespace HQ

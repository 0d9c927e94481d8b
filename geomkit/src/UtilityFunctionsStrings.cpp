// SPDX-License-Identifier: Apache-2.0
// String helper members of CHQGS_UtilityFunctions: byte copy and splitting.
#include <geomkit/UtilityFunctions.h>

namespace HQ {

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

}  // namespace HQ

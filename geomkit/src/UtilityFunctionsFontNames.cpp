// SPDX-License-Identifier: Apache-2.0
// The font-name table of CHQGS_UtilityFunctions: font keys and names to font
// file names.
#include <geomkit/UtilityFunctions.h>

namespace HQ {

namespace {

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

}  // namespace

std::string CHQGS_UtilityFunctions::FontNameToFontFileName(std::string fontName) {
    for (const FontRow& row : kFontTable) {
        if (fontName == row.key || fontName == row.name) return row.file;
    }
    return kDefaultFontFile;
}

}  // namespace HQ

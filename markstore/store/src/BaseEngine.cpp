// SPDX-License-Identifier: Apache-2.0
#include <markstore_internal/BaseEngine.h>

#include <markstore/MarkData.h>
#include <markstore/Symbol.h>

#include <cstring>
#include <utility>

namespace HQ {

namespace {

// Column positions of a Marks row.
enum MarkColumn {
    kLibID = 0,
    kID = 1,
    kPID = 2,
    kConnectId = 4,
    kConnectLibID = 5,
    kMirror = 6,
    kPosX = 7,
    kPosY = 8,
    kUnknownS = 9,
    kTextNum = 10,
    kHeading = 11,
    kMarkType = 12,
    kMinX = 13,
    kMinY = 14,
    kMaxX = 15,
    kMaxY = 16,
    kExtraInt1 = 18,
    kExtraInt2 = 19,
};

// MarkType 2 is reported as kind 0.
constexpr int kMarkTypeReportedAsZero = 2;
constexpr int kNoMark = -1;

// Two's complement negation: the stored extreme -2147483648 stays itself
// instead of overflowing.
int Negated(int v) { return static_cast<int>(0u - static_cast<unsigned int>(v)); }

}  // namespace

CHQGS_BaseEngine::CHQGS_BaseEngine(CHQGS_StatementBuilder statementBuilder)
    : opened(false), builder(std::move(statementBuilder)) {}

CHQGS_BaseEngine::~CHQGS_BaseEngine() = default;

CHQGS_Symbol* CHQGS_BaseEngine::getMark(int libID, int id) {
    if (!opened) return nullptr;
    return queryMark(builder.getMark(libID, id).c_str());
}

int CHQGS_BaseEngine::getShowMode(unsigned int libID, unsigned int id) {
    if (!opened) return kNoShowMode;
    return queryShowMode(builder.getShowMode(libID, id).c_str());
}

int CHQGS_BaseEngine::getMarkType(unsigned int libID, unsigned int id) {
    if (!opened) return 0;
    return queryMarkType(builder.getMarkType(libID, id).c_str());
}

std::string CHQGS_BaseEngine::getMarkName(unsigned int libID, unsigned int id) {
    if (!opened) return std::string();
    return queryMarkName(builder.getMarkName(libID, id).c_str());
}

int CHQGS_BaseEngine::getMarkKind(int libID, int id) {
    CHQGS_Symbol* symbol = getMark(libID, id);
    if (symbol == nullptr) return kNoMark;
    int kind = kNoMark;
    if (const CHQGS_SymbolCommAttr* attr = symbol->GetCommAttr()) {
        int markType = attr->MarkType;  // 16-bit, sign-extended
        kind = markType == kMarkTypeReportedAsZero ? 0 : markType;
    }
    delete symbol;
    return kind;
}

CHQGS_Symbol* CHQGS_BaseEngine::SymbolFromRow(const CHQGS_MarkRow& row, MarkTextConversion convert) {
    const int* v = row.values;
    CHQGS_SymbolCommAttr* attr = new CHQGS_SymbolCommAttr();
    attr->LibID = v[kLibID];
    attr->ID = v[kID];
    attr->PID = v[kPID];
    attr->MarkName = row.name;
    attr->ConnectId = v[kConnectId];
    attr->ConnectLibID = static_cast<short>(v[kConnectLibID]);
    attr->Mirror = static_cast<short>(v[kMirror]);
    attr->PosX = v[kPosX];
    attr->PosY = v[kPosY];
    attr->UnknownS = static_cast<short>(v[kUnknownS]);
    attr->TextNum = static_cast<short>(v[kTextNum]);
    attr->Heading = static_cast<short>(v[kHeading]);
    attr->MarkType = static_cast<short>(v[kMarkType]);
    attr->MinX = v[kMinX];
    attr->MinY = Negated(v[kMinY]);
    attr->MaxX = v[kMaxX];
    attr->MaxY = Negated(v[kMaxY]);
    if (row.hasTrailing) {
        attr->ExtraInt1 = v[kExtraInt1];
        attr->ExtraInt2 = v[kExtraInt2];
    }
    CHQGS_Symbol* symbol = new CHQGS_Symbol(attr);
    const char* data = row.data.c_str();
    ParseMarkDataText(symbol, data, data + std::strlen(data), convert);
    return symbol;
}

}  // namespace HQ

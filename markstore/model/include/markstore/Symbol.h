// SPDX-License-Identifier: Apache-2.0
// CHQGS_Symbol: one plotting symbol as the library hands it out — its common
// attributes (CHQGS_SymbolCommAttr, one record per mark row) and its ordered
// drawing units. The order of the units is the drawing order.
//
// Ownership: a symbol owns its attribute record and every unit added to it;
// destroying the symbol destroys the record, then the units from the last to
// the first. Copies are deep: a copied symbol owns a copy of the record and
// a copy of every unit (each of the unit's own kind). No operation throws or
// reports an error.
#ifndef MARKSTORE_SYMBOL_H
#define MARKSTORE_SYMBOL_H

#include <markstore/MarkstoreExport.h>
#include <markstore/SymbolUnit.h>

#include <cstdint>
#include <string>
#include <vector>

namespace HQ {

// Common attributes of a symbol: the values of one mark row. A plain value
// class; the numeric members of a default-constructed record are zero and
// MarkName is empty. MarkName is in the local code page. Which column fills
// which member is the store's business; the library only stores and copies.
class MARKSTORE_API CHQGS_SymbolCommAttr {
public:
    CHQGS_SymbolCommAttr();
    CHQGS_SymbolCommAttr(const CHQGS_SymbolCommAttr& other);
    CHQGS_SymbolCommAttr& operator=(const CHQGS_SymbolCommAttr& other);
    ~CHQGS_SymbolCommAttr();

    std::int32_t ID;       // identifier of the mark within its library
    std::string MarkName;  // display name
    std::int32_t ConnectId;
    std::int16_t ConnectLibID;
    std::int16_t Mirror;
    std::int32_t PosX;
    std::int32_t PosY;
    std::int16_t UnknownS;
    std::int16_t TextNum;
    std::int16_t Heading;
    std::int16_t MarkType;  // kind of mark
    std::int32_t MinX;      // extent
    std::int32_t MinY;
    std::int32_t MaxX;
    std::int32_t MaxY;
    std::int32_t PID;        // owning category node
    std::int32_t LibID;      // library identifier
    std::int32_t ExtraInt1;  // first trailing integer column of the row
    std::int32_t ExtraInt2;  // second trailing integer column of the row
};

class MARKSTORE_API CHQGS_Symbol {
public:
    // No record (GetCommAttr answers null), no units.
    CHQGS_Symbol();
    // Takes ownership of the record (null allowed); no units.
    explicit CHQGS_Symbol(CHQGS_SymbolCommAttr* commAttr);
    // Deep copies; self-assignment is harmless.
    CHQGS_Symbol(const CHQGS_Symbol& other);
    CHQGS_Symbol& operator=(const CHQGS_Symbol& other);
    // Destroys the record, then the units from the last to the first.
    virtual ~CHQGS_Symbol();

    // Takes ownership of the new record (null allowed); the previous one is
    // destroyed unless it is the same record.
    void SetCommAttr(CHQGS_SymbolCommAttr* commAttr);
    // The record (may be null); the symbol keeps ownership.
    CHQGS_SymbolCommAttr* GetCommAttr() const;
    // Appends the unit; the symbol takes ownership. A null pointer is kept in
    // the list and skipped at destruction.
    void AddUnit(CHQGS_SymbolUnit* unit);
    // Appends every unit of the list in order and takes ownership of each;
    // the list itself is unchanged. Do not add the same unit twice.
    void AddUnits(std::vector<CHQGS_SymbolUnit*>& units);
    // A copy of the pointer list, in order; the symbol keeps ownership.
    std::vector<CHQGS_SymbolUnit*> GetUnits() const;

private:
    // A new unit of the same kind as unit holding a deep copy of it (null for
    // null). Units of a class unknown to the library are copied as the known
    // kind they derive from.
    static CHQGS_SymbolUnit* CloneUnit(const CHQGS_SymbolUnit* unit);
    void clear();
    void copyFrom(const CHQGS_Symbol& other);

    CHQGS_SymbolCommAttr* commAttr;
    std::vector<CHQGS_SymbolUnit*> units;
};

}  // namespace HQ

#endif

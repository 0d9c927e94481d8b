// SPDX-License-Identifier: Apache-2.0
// Symbols and their common attributes: ownership of the record and the units,
// and deep copies of both.
#include <markstore/Symbol.h>

#include <markstore/SymbolUnitKinds.h>

namespace HQ {

// ---- Common attributes ------------------------------------------------------

CHQGS_SymbolCommAttr::CHQGS_SymbolCommAttr()
    : ID(0),
      ConnectId(0),
      ConnectLibID(0),
      Mirror(0),
      PosX(0),
      PosY(0),
      UnknownS(0),
      TextNum(0),
      Heading(0),
      MarkType(0),
      MinX(0),
      MinY(0),
      MaxX(0),
      MaxY(0),
      PID(0),
      LibID(0),
      ExtraInt1(0),
      ExtraInt2(0) {}

CHQGS_SymbolCommAttr::CHQGS_SymbolCommAttr(const CHQGS_SymbolCommAttr& other) = default;

CHQGS_SymbolCommAttr& CHQGS_SymbolCommAttr::operator=(const CHQGS_SymbolCommAttr& other) = default;

CHQGS_SymbolCommAttr::~CHQGS_SymbolCommAttr() {}

// ---- Symbol -----------------------------------------------------------------

namespace {

// A copy of unit as its own kind K when unit is a K, else null.
template <typename K>
CHQGS_SymbolUnit* CopyAs(const CHQGS_SymbolUnit* unit) {
    const K* kind = dynamic_cast<const K*>(unit);
    return kind != nullptr ? new K(*kind) : nullptr;
}

}  // namespace

CHQGS_Symbol::CHQGS_Symbol() : commAttr(nullptr) {}

CHQGS_Symbol::CHQGS_Symbol(CHQGS_SymbolCommAttr* attr) : commAttr(attr) {}

CHQGS_Symbol::CHQGS_Symbol(const CHQGS_Symbol& other) : commAttr(nullptr) { copyFrom(other); }

CHQGS_Symbol& CHQGS_Symbol::operator=(const CHQGS_Symbol& other) {
    if (this == &other) return *this;
    // Build the copy completely before giving up what this symbol owns.
    CHQGS_Symbol copy(other);
    clear();
    commAttr = copy.commAttr;
    units.swap(copy.units);
    copy.commAttr = nullptr;
    return *this;
}

CHQGS_Symbol::~CHQGS_Symbol() { clear(); }

void CHQGS_Symbol::clear() {
    delete commAttr;
    commAttr = nullptr;
    // Units go from the last to the first.
    for (auto it = units.rbegin(); it != units.rend(); ++it) delete *it;
    units.clear();
}

void CHQGS_Symbol::copyFrom(const CHQGS_Symbol& other) {
    if (other.commAttr != nullptr) commAttr = new CHQGS_SymbolCommAttr(*other.commAttr);
    units.reserve(other.units.size());
    for (const CHQGS_SymbolUnit* unit : other.units) units.push_back(CloneUnit(unit));
}

CHQGS_SymbolUnit* CHQGS_Symbol::CloneUnit(const CHQGS_SymbolUnit* unit) {
    if (unit == nullptr) return nullptr;
    CHQGS_SymbolUnit* copy = nullptr;
    // The kinds are siblings, so at most one of these matches.
    if ((copy = CopyAs<CHQGS_SymbolUnitLine>(unit)) != nullptr) return copy;
    if ((copy = CopyAs<CHQGS_SymbolUnitRect>(unit)) != nullptr) return copy;
    if ((copy = CopyAs<CHQGS_SymbolUnitEllipse>(unit)) != nullptr) return copy;
    if ((copy = CopyAs<CHQGS_SymbolUnitArc>(unit)) != nullptr) return copy;
    if ((copy = CopyAs<CHQGS_SymbolUnitSector>(unit)) != nullptr) return copy;
    if ((copy = CopyAs<CHQGS_SymbolUnitText>(unit)) != nullptr) return copy;
    if ((copy = CopyAs<CHQGS_SymbolUnitTextBox>(unit)) != nullptr) return copy;
    if ((copy = CopyAs<CHQGS_SymbolUnitPicture>(unit)) != nullptr) return copy;
    if ((copy = CopyAs<CHQGS_SymbolUnitCombo>(unit)) != nullptr) return copy;
    return new CHQGS_SymbolUnit(*unit);
}

void CHQGS_Symbol::SetCommAttr(CHQGS_SymbolCommAttr* attr) {
    if (attr == commAttr) return;
    delete commAttr;
    commAttr = attr;
}

CHQGS_SymbolCommAttr* CHQGS_Symbol::GetCommAttr() const { return commAttr; }

void CHQGS_Symbol::AddUnit(CHQGS_SymbolUnit* unit) { units.push_back(unit); }

void CHQGS_Symbol::AddUnits(std::vector<CHQGS_SymbolUnit*>& list) {
    units.insert(units.end(), list.begin(), list.end());
}

std::vector<CHQGS_SymbolUnit*> CHQGS_Symbol::GetUnits() const { return units; }

}  // namespace HQ

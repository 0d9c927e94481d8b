// SPDX-License-Identifier: Apache-2.0
// Descriptions of symbols for people (text) and programs (JSON), in UTF-8.
#ifndef SYMLIB_DESCRIBE_H
#define SYMLIB_DESCRIBE_H

#include "Library.h"

#include <string>
#include <utility>
#include <vector>

namespace symlib {

using Fields = std::vector<std::pair<std::string, std::string>>;

// The common attributes as name/value pairs (values as text).
Fields CommonFields(const HQ::CHQGS_SymbolCommAttr& attr, const Library& library);
// The kind name of a unit (line, rect, ...).
std::string KindName(const HQ::CHQGS_SymbolUnit& unit);
// One unit's attributes as name/value pairs, kind-specific data included.
Fields UnitFields(const HQ::CHQGS_SymbolUnit& unit, const Library& library);
// The points that define a unit (a line's vertices, a text's position, the
// others' actual points; a combination's line groups one after another).
std::vector<HQ::CHQ_Point2D> DefiningPoints(const HQ::CHQGS_SymbolUnit& unit);

// `symlib show` output.
std::string DescribeText(const HQ::CHQGS_Symbol& symbol, const Library& library);
std::string DescribeJson(const HQ::CHQGS_Symbol& symbol, const Library& library);

}  // namespace symlib

#endif

// SPDX-License-Identifier: Apache-2.0
// Deep copy of a unit's path, used by the unit copy operations.
#ifndef MARKSTORE_MODEL_UNITPATHCOPY_H
#define MARKSTORE_MODEL_UNITPATHCOPY_H

#include <pathalgo/PrimitiveAlgorithmPath.h>

namespace HQ {

// A new path holding the same segments, pending segment and current point as
// source; a new empty path for a null source.
inline CPrimitiveAlgorithmPath* CopyUnitPath(const CPrimitiveAlgorithmPath* source) {
    if (source == nullptr) return new CPrimitiveAlgorithmPath();
    return new CPrimitiveAlgorithmPath(*source);
}

}  // namespace HQ

#endif

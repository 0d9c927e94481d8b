// SPDX-License-Identifier: Apache-2.0
// The XML document describing every library of an engine: its category tree
// and, at the leaves, the symbols. Identifiers and names only.
#ifndef MARKSTORE_INTERNAL_LIBRARYXMLEXPORT_H
#define MARKSTORE_INTERNAL_LIBRARYXMLEXPORT_H

#include <cstddef>
#include <string>

namespace HQ {

class CHQGS_BaseEngine;

// The printed document (UTF-8 declaration, four spaces of indentation, line
// feeds); names are written as the engine answers them. A node that is
// already being described higher up on its own branch (a cycle in the tree)
// is written without children. A null engine answers no libraries: the
// declaration and an empty root. A library whose categories nest deeper than
// kMaxCategoryDepth is refused: the answer is the empty string. The tree is
// walked without recursion, so no depth can exhaust the machine stack.
std::string ExportLibraryXml(CHQGS_BaseEngine* engine);

// The deepest category nesting exported: far beyond any real library (a few
// levels), small enough that the printed document stays within a few
// megabytes of indentation per chain.
const size_t kMaxCategoryDepth = 1000;

}  // namespace HQ

#endif

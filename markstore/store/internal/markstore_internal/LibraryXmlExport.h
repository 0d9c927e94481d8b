// The XML document describing every library of an engine: its category tree
// and, at the leaves, the symbols. Identifiers and names only.
#ifndef MARKSTORE_INTERNAL_LIBRARYXMLEXPORT_H
#define MARKSTORE_INTERNAL_LIBRARYXMLEXPORT_H

#include <string>

namespace HQ {

class CHQGS_BaseEngine;

// The printed document (UTF-8 declaration, four spaces of indentation, line
// feeds); names are written as the engine answers them. A node that is
// already being described higher up on its own branch (a cycle in the tree)
// is written without children. A null engine answers no libraries: the
// declaration and an empty root.
std::string ExportLibraryXml(CHQGS_BaseEngine* engine);

}  // namespace HQ

#endif

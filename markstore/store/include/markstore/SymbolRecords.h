// SPDX-License-Identifier: Apache-2.0
// Records that the symbol library store hands to its callers: a library
// (CHQGS_SymbolTag), a category node (CHQGS_SymbolNode) and the raster image
// attached to a mark (CHQGS_SymbolImage).
//
// Ownership: the manager creates every record it answers with `new`; the
// caller owns it and destroys it with `delete`. Names are 8-bit text in the
// encoding the engine answers (local code page from the SQLite engine, UTF-8
// from the MySQL engine).
#ifndef MARKSTORE_SYMBOLRECORDS_H
#define MARKSTORE_SYMBOLRECORDS_H

#include <markstore/MarkstoreExport.h>

#include <cstring>
#include <string>

namespace HQ {

// One library: a row of the table Tags.
class MARKSTORE_API CHQGS_SymbolTag {
public:
    CHQGS_SymbolTag();
    CHQGS_SymbolTag(const CHQGS_SymbolTag& other);
    CHQGS_SymbolTag& operator=(const CHQGS_SymbolTag& other);
    virtual ~CHQGS_SymbolTag();

    int ID;               // library identifier
    std::string LibName;  // display name
    int NodeCount;        // number of category nodes, as stored
    int MarkCount;        // number of marks, as stored
};

// One category node of a library's tree: a row of the table Nodes. The top
// nodes of a library carry the library's identifier as PID.
class MARKSTORE_API CHQGS_SymbolNode {
public:
    CHQGS_SymbolNode();
    CHQGS_SymbolNode(const CHQGS_SymbolNode& other);
    CHQGS_SymbolNode& operator=(const CHQGS_SymbolNode& other);
    virtual ~CHQGS_SymbolNode();

    int LibID;             // library
    int PID;               // parent node
    int ID;                // node identifier within the library
    int NodeLevel;         // depth in the tree, as stored
    std::string NodeName;  // display name
};

// The bytes of one image, held in an owned buffer (null when empty). The
// class is header-only: callers that receive one from the manager destroy it
// themselves. Copies are deep.
class CHQGS_SymbolImage {
public:
    CHQGS_SymbolImage() : size(0), data(nullptr) {}
    // Copies count bytes from bytes (nothing when count <= 0 or bytes is null).
    CHQGS_SymbolImage(const unsigned char* bytes, int count) : size(0), data(nullptr) { set(bytes, count); }
    CHQGS_SymbolImage(const CHQGS_SymbolImage& other) : size(0), data(nullptr) {
        set(other.data, other.size);
    }
    CHQGS_SymbolImage& operator=(const CHQGS_SymbolImage& other) {
        if (this != &other) set(other.data, other.size);
        return *this;
    }
    ~CHQGS_SymbolImage() { delete[] data; }

    // Replaces the held bytes by a copy of count bytes from bytes. A count
    // <= 0 or a null pointer leaves the image empty (size 0, no buffer).
    // bytes may point into the image's own buffer.
    void set(const unsigned char* bytes, int count) {
        unsigned char* copy = nullptr;
        if (bytes != nullptr && count > 0) {
            copy = new unsigned char[count];
            std::memcpy(copy, bytes, static_cast<size_t>(count));
        }
        delete[] data;
        data = copy;
        size = copy != nullptr ? count : 0;
    }
    // The held bytes (null when empty); the image keeps ownership.
    const unsigned char* getData() const { return data; }
    // Number of held bytes.
    int getSize() const { return size; }

private:
    int size;
    unsigned char* data;
};

}  // namespace HQ

#endif

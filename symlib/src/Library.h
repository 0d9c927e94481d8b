// SPDX-License-Identifier: Apache-2.0
// The symbol library as symlib sees it: one open connection through the
// library manager, with every text answered in UTF-8.
#ifndef SYMLIB_LIBRARY_H
#define SYMLIB_LIBRARY_H

#include <markstore/Symbol.h>
#include <markstore/SymbolSvg.h>

#include <memory>
#include <string>
#include <vector>

namespace HQ {
class IHQGS_SymbolLibManager;
}

namespace symlib {

// Where the library lives: a keyed SQLite file (db) or a MySQL server.
struct Connection {
    std::string db;
    std::string mysql;  // HOST[:PORT]
    std::string user;
    std::string database;
    std::string password;
};

struct Tag {
    int id = 0;
    std::string name;
};

struct Node {
    int lib = 0, id = 0, pid = 0, level = 0;
    std::string name;
};

using SymbolPtr = std::unique_ptr<HQ::CHQGS_Symbol>;

class Library {
public:
    Library() = default;
    ~Library();
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    // Opens the library; false with a one-line reason. A source that opens
    // but holds no library (a wrong key, a file that is no symbol library,
    // an empty database) counts as a failure too.
    bool open(const Connection& connection, std::string* why);

    // How the engine answers texts, and a text of it in UTF-8.
    HQ::SymbolTextEncoding encoding() const { return encoding_; }
    std::string utf8(const std::string& text) const { return HQ::SymbolTextToUtf8(text, encoding_); }

    std::vector<Tag> tags();
    bool hasLibrary(int lib);
    // Every category node of a library, in the engine's order.
    std::vector<Node> nodes(int lib);
    // Every symbol of a library (every library when lib is 0).
    std::vector<SymbolPtr> symbols(int lib);
    // Symbols whose name holds text (UTF-8), matched literally (no
    // wildcards), ASCII letters in either case.
    std::vector<SymbolPtr> find(const std::string& text, int lib);
    SymbolPtr symbol(int lib, int id);
    // The library XML document of one library, in UTF-8.
    std::string exportXml(int lib);

private:
    HQ::IHQGS_SymbolLibManager* manager_ = nullptr;
    HQ::SymbolTextEncoding encoding_ = HQ::SymbolTextEncoding::LocalCodePage;
    // The manager keeps the caller's pointers to its settings.
    Connection settings_;
    std::string host_;
};

// The category a symbol is shown under: the leaf node with the symbol's own
// identifier when there is one (as the library export places symbols), else
// the node named by the symbol's PID; 0 when neither exists.
int CategoryOf(const HQ::CHQGS_SymbolCommAttr& attr, const std::vector<Node>& nodes);

}  // namespace symlib

#endif

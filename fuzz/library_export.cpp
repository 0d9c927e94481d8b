// SPDX-License-Identifier: Apache-2.0
// The library XML export over generated category trees. The input drives an
// engine that serves libraries, category nodes and marks from memory:
//   - a library (identifier, name);
//   - a node under a library or under a node made before (identifier,
//     parent, name), so that trees grow in depth and breadth, with repeated
//     identifiers and cycles;
//   - a chain of nodes, each under the one before, as deep as three bytes
//     say (up to kMaxChain levels), to reach the depth limits;
//   - a mark at a leaf.
// The document must come out with one Category element per node answered
// and one Symbol element per mark answered; documents of modest depth must
// read back as XML.
#include <markstore/Symbol.h>
#include <markstore/SymbolRecords.h>
#include <markstore_internal/BaseEngine.h>
#include <markstore_internal/LibraryXmlExport.h>

#include <tinyxml.h>

#include "FuzzInput.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <utility>
#include <vector>

#ifndef SITPLOT_FUZZ_EXPORT_MAX_CHAIN
#define SITPLOT_FUZZ_EXPORT_MAX_CHAIN 200000
#endif

namespace {

const unsigned kMaxChain = SITPLOT_FUZZ_EXPORT_MAX_CHAIN;

void require(bool condition, const char* what) { FuzzRequire(condition, "library_export", what); }

// True when text is well-formed UTF-8. The export writes names as the engine
// hands them out under a UTF-8 declaration; only a document whose names are
// UTF-8 must read back (a name cut inside a character swallows its quote).
bool IsUtf8(const std::string& text) {
    for (size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const size_t length = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (length == 0 || i + length > text.size()) return false;
        for (size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
        i += length;
    }
    return true;
}

struct Node {
    int libID, id, pid;
    std::string name;
};

class TreeEngine : public HQ::CHQGS_BaseEngine {
public:
    std::vector<std::pair<int, std::string>> tags;
    std::map<std::pair<int, int>, std::vector<Node>> children;  // (libID, pid) -> nodes
    std::map<std::pair<int, int>, std::string> marks;           // (libID, id) -> name
    unsigned long long nodesAnswered = 0, marksAnswered = 0;

    TreeEngine() { opened = true; }

    std::list<HQ::CHQGS_SymbolTag*> getTags() override {
        std::list<HQ::CHQGS_SymbolTag*> out;
        for (const auto& t : tags) {
            HQ::CHQGS_SymbolTag* tag = new HQ::CHQGS_SymbolTag();
            tag->ID = t.first;
            tag->LibName = t.second;
            out.push_back(tag);
        }
        return out;
    }
    std::list<HQ::CHQGS_SymbolNode*> getNodes(int libID, int pid) override {
        std::list<HQ::CHQGS_SymbolNode*> out;
        auto it = children.find({libID, pid});
        if (it == children.end()) return out;
        for (const Node& n : it->second) {
            HQ::CHQGS_SymbolNode* node = new HQ::CHQGS_SymbolNode();
            node->LibID = n.libID;
            node->ID = n.id;
            node->PID = n.pid;
            node->NodeName = n.name;
            out.push_back(node);
            ++nodesAnswered;
        }
        return out;
    }
    HQ::CHQGS_Symbol* getMark(int libID, int id) override {
        auto it = marks.find({libID, id});
        if (it == marks.end()) return nullptr;
        HQ::CHQGS_SymbolCommAttr* attr = new HQ::CHQGS_SymbolCommAttr();
        attr->LibID = libID;
        attr->ID = id;
        attr->MarkName = it->second;
        ++marksAnswered;
        return new HQ::CHQGS_Symbol(attr);
    }

    std::list<HQ::CHQGS_Symbol*> getMarksByNode(int, int) override { return {}; }
    std::list<HQ::CHQGS_Symbol*> findMarksById(int, int) override { return {}; }
    std::list<HQ::CHQGS_Symbol*> findMarksByIdLike(int, int) override { return {}; }
    std::list<HQ::CHQGS_Symbol*> findMarksByName(int, const std::string&) override { return {}; }
    std::list<HQ::CHQGS_Symbol*> findMarksByNameLike(int, const std::string&) override { return {}; }
    bool updateNode(int, int, int, int, const std::string&) override { return false; }
    bool addNode(int, int, int, int, const std::string&) override { return false; }
    bool deleteNode(int, int, int) override { return false; }
    bool updateTag(int, const std::string&, int, int) override { return false; }
    bool addTag(int, const std::string&, int, int) override { return false; }
    bool deleteTag(int) override { return false; }
    bool updateMark(int, int, int, const std::string&, int, int, double, double, double, double, int, double,
                    int, double, double, double, double, const std::string&) override {
        return false;
    }
    bool addMark(int, int, int, const std::string&, int, int, double, double, double, double, int, double,
                 int, double, double, double, double, const std::string&) override {
        return false;
    }
    bool deleteMark(int, int) override { return false; }
    bool replaceImage(int, int, const HQ::CHQGS_SymbolImage*) override { return false; }
    bool addImage(int, int, const HQ::CHQGS_SymbolImage*) override { return false; }
    bool deleteImage(int, int) override { return false; }
    std::list<HQ::CHQGS_Symbol*> queryMarks(const char*) override { return {}; }
};

size_t count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size())) ++n;
    return n;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    TreeEngine engine;
    std::vector<std::pair<int, int>> made;  // (libID, id) of every library and node, to hang more below
    // Identifiers come from a small range most of the time, so that parents,
    // repeats and cycles are found.
    auto identifier = [&in]() { return in.flag() ? static_cast<int>(in.below(64)) : in.integer(); };
    unsigned chained = 0;  // levels of every chain so far, at most kMaxChain
    size_t deepest = 1;
    while (!in.empty()) {
        switch (in.byte() % 4) {
            case 0: {
                const int id = identifier();
                engine.tags.emplace_back(id, in.text(16));
                made.emplace_back(id, id);
                break;
            }
            case 1: {
                if (made.empty()) break;
                const std::pair<int, int> parent = made[in.below(static_cast<unsigned>(made.size()))];
                Node n{in.flag() ? parent.first : identifier(), identifier(), parent.second, in.text(16)};
                engine.children[{parent.first, n.pid}].push_back(n);
                made.emplace_back(n.libID, n.id);
                deepest += 1;
                break;
            }
            case 2: {
                if (made.empty()) break;
                const std::pair<int, int> parent = made[in.below(static_cast<unsigned>(made.size()))];
                unsigned levels = in.below(1u << 24) % (kMaxChain + 1);
                levels = std::min(levels, kMaxChain - chained);
                chained += levels;
                const int first = in.integer();
                int pid = parent.second;
                for (unsigned k = 0; k < levels; ++k) {
                    const int id = static_cast<int>(static_cast<unsigned>(first) + k);
                    engine.children[{parent.first, pid}].push_back(Node{parent.first, id, pid, "n"});
                    pid = id;
                }
                made.emplace_back(parent.first, pid);
                deepest += levels;
                break;
            }
            default: {
                if (made.empty()) break;
                const std::pair<int, int> at = made[in.below(static_cast<unsigned>(made.size()))];
                engine.marks[at] = in.text(16);
            }
        }
    }

    const std::string xml = HQ::ExportLibraryXml(&engine);
    // A tree deeper than the limit is refused whole (deepest bounds the depth
    // from above).
    if (xml.empty()) {
        require(deepest > HQ::kMaxCategoryDepth, "a tree within the depth limit was refused");
        return 0;
    }
    require(xml.compare(0, 5, "<?xml") == 0, "the document has no declaration");
    require(count(xml, "<Category ") == engine.nodesAnswered, "a node answered is missing from the document");
    require(count(xml, "<Symbol ") == engine.marksAnswered, "a mark answered is missing from the document");
    require(count(xml, "<SymbolTag ") == engine.tags.size(), "a library is missing from the document");
    bool utf8 = true;
    for (const auto& tag : engine.tags) utf8 = utf8 && IsUtf8(tag.second);
    for (const auto& level : engine.children)
        for (const Node& n : level.second) utf8 = utf8 && IsUtf8(n.name);
    for (const auto& mark : engine.marks) utf8 = utf8 && IsUtf8(mark.second);
    if (deepest < 200 && utf8) {
        TiXmlDocument doc;
        doc.Parse(xml.c_str());
        if (doc.Error())
            std::fprintf(stderr, "%s at row %d, column %d in:\n%s\n", doc.ErrorDesc(), doc.ErrorRow(),
                         doc.ErrorCol(), xml.c_str());
        require(!doc.Error(), "the document does not read back as XML");
    }
    return 0;
}

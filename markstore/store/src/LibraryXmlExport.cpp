// SPDX-License-Identifier: Apache-2.0
#include <markstore_internal/LibraryXmlExport.h>

#include <markstore_internal/BaseEngine.h>

#include <markstore/Symbol.h>

#include <tinyxml.h>

#include <cstdint>
#include <list>
#include <memory>
#include <unordered_set>
#include <vector>

namespace HQ {

namespace {

// Writes the category trees of the libraries depth first, with the branch
// being written kept on the heap (a chain of categories as deep as the file
// holds must not exhaust the machine stack).
//
// Each parent's children are looked up and written out at most once per
// export. In a sound store every (library, parent) pair is reached once
// anyway; in a damaged one, where identifiers repeat or parents form cycles,
// a node reached again gets its Category element without a second copy of
// the subtree below it. Otherwise a few rows whose identifiers repeat would
// multiply into a document exponentially large.
class CategoryWriter {
public:
    explicit CategoryWriter(CHQGS_BaseEngine& engine) : engine_(engine) {}

    // Writes the children of node pid of library libID under parent: their
    // categories, or at a leaf the mark whose identifier equals pid; nothing
    // when they were written before. False when the tree is deeper than
    // kMaxCategoryDepth.
    bool write(TiXmlElement* parent, int libID, int pid) {
        if (expanded_.count(Key(libID, pid)) != 0) return true;
        open(parent, libID, pid);
        while (!branch_.empty()) {
            Level& level = branch_.back();
            if (level.next == level.nodes.size()) {
                close();
                continue;
            }
            const CHQGS_SymbolNode& node = *level.nodes[level.next++];
            TiXmlElement* category = new TiXmlElement("Category");
            category->SetAttribute("id", node.ID);
            category->SetAttribute("name", node.NodeName);
            level.element->LinkEndChild(category);
            // A node that is its library's identifier, or whose children were
            // written already (higher up on this branch or elsewhere), closes
            // the descent.
            if (node.ID == node.LibID || expanded_.count(Key(node.LibID, node.ID)) != 0) continue;
            if (!open(category, node.LibID, node.ID)) {
                while (!branch_.empty()) close();
                return false;
            }
        }
        return true;
    }

private:
    struct Level {
        TiXmlElement* element;
        std::vector<std::unique_ptr<CHQGS_SymbolNode>> nodes;
        size_t next;  // the node to write next
    };

    // Starts writing the children of pid: at a leaf writes its mark;
    // otherwise pushes the level of its categories. False when they would
    // nest deeper than the limit.
    bool open(TiXmlElement* parent, int libID, int pid) {
        std::list<CHQGS_SymbolNode*> nodes = engine_.getNodes(libID, pid);
        if (nodes.empty()) {
            writeLeaf(parent, libID, pid);
            return true;
        }
        if (branch_.size() >= kMaxCategoryDepth) {
            for (CHQGS_SymbolNode* node : nodes) delete node;
            return false;
        }
        branch_.push_back(Level{parent, {}, 0});
        Level& level = branch_.back();
        for (CHQGS_SymbolNode* node : nodes) level.nodes.emplace_back(node);
        expanded_.insert(Key(libID, pid));
        return true;
    }

    void close() { branch_.pop_back(); }

    static std::uint64_t Key(int libID, int pid) {
        return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(libID)) << 32) |
               static_cast<std::uint32_t>(pid);
    }

    void writeLeaf(TiXmlElement* parent, int libID, int id) {
        std::unique_ptr<CHQGS_Symbol> mark(engine_.getMark(libID, id));
        if (!mark || mark->GetCommAttr() == nullptr) return;
        TiXmlElement* symbol = new TiXmlElement("Symbol");
        symbol->SetAttribute("libId", libID);
        symbol->SetAttribute("id", mark->GetCommAttr()->ID);
        symbol->SetAttribute("name", mark->GetCommAttr()->MarkName);
        parent->LinkEndChild(symbol);
    }

    CHQGS_BaseEngine& engine_;
    std::vector<Level> branch_;
    // (library, parent) pairs whose children have been written.
    std::unordered_set<std::uint64_t> expanded_;
};

}  // namespace

std::string ExportLibraryXml(CHQGS_BaseEngine* engine) {
    TiXmlDocument doc;
    doc.LinkEndChild(new TiXmlDeclaration("1.0", "UTF-8", ""));
    TiXmlElement* root = new TiXmlElement("SymbolLib");
    doc.LinkEndChild(root);

    if (engine != nullptr) {
        std::list<CHQGS_SymbolTag*> tags = engine->getTags();
        std::vector<std::unique_ptr<CHQGS_SymbolTag>> owned(tags.begin(), tags.end());
        CategoryWriter writer(*engine);  // one per export: see CategoryWriter
        for (const std::unique_ptr<CHQGS_SymbolTag>& tag : owned) {
            TiXmlElement* element = new TiXmlElement("SymbolTag");
            element->SetAttribute("libID", tag->ID);
            element->SetAttribute("name", tag->LibName);
            root->LinkEndChild(element);
            // The top nodes of a library carry the library's identifier as parent.
            if (!writer.write(element, tag->ID, tag->ID)) return std::string();
        }
    }

    TiXmlPrinter printer;  // default layout: four spaces, line feeds
    doc.Accept(&printer);
    return printer.Str();
}

}  // namespace HQ

#include <markstore_internal/LibraryXmlExport.h>

#include <markstore_internal/BaseEngine.h>

#include <markstore/Symbol.h>

#include <tinyxml.h>

#include <memory>
#include <unordered_set>

namespace HQ {

namespace {

class CategoryWriter {
public:
    explicit CategoryWriter(CHQGS_BaseEngine& engine) : engine_(engine) {}

    // Writes the children of node pid of library libID under parent: their
    // categories, or at a leaf the mark whose identifier equals pid.
    void write(TiXmlElement* parent, int libID, int pid) {
        std::list<CHQGS_SymbolNode*> nodes = engine_.getNodes(libID, pid);
        if (nodes.empty()) {
            writeLeaf(parent, libID, pid);
            return;
        }
        branch_.insert(pid);
        for (CHQGS_SymbolNode* node : nodes) {
            std::unique_ptr<CHQGS_SymbolNode> owned(node);
            TiXmlElement* category = new TiXmlElement("Category");
            category->SetAttribute("id", node->ID);
            category->SetAttribute("name", node->NodeName);
            parent->LinkEndChild(category);
            // A node that is its library's identifier, or that is already
            // being written higher up on this branch, closes the descent.
            bool descends = node->ID != node->LibID && branch_.count(node->ID) == 0;
            if (descends) write(category, node->LibID, node->ID);
        }
        branch_.erase(pid);
    }

private:
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
    // Parent identifiers being written on the current branch. Identifiers are
    // unique within a library, and the descent stays in one library unless a
    // node's LibID differs from its parent's; the identifiers alone are a
    // conservative guard in either case.
    std::unordered_set<int> branch_;
};

}  // namespace

std::string ExportLibraryXml(CHQGS_BaseEngine* engine) {
    TiXmlDocument doc;
    doc.LinkEndChild(new TiXmlDeclaration("1.0", "UTF-8", ""));
    TiXmlElement* root = new TiXmlElement("SymbolLib");
    doc.LinkEndChild(root);

    std::list<CHQGS_SymbolTag*> tags;
    if (engine != nullptr) tags = engine->getTags();
    for (CHQGS_SymbolTag* t : tags) {
        std::unique_ptr<CHQGS_SymbolTag> tag(t);
        TiXmlElement* element = new TiXmlElement("SymbolTag");
        element->SetAttribute("libID", tag->ID);
        element->SetAttribute("name", tag->LibName);
        root->LinkEndChild(element);
        // The top nodes of a library carry the library's identifier as parent.
        CategoryWriter(*engine).write(element, tag->ID, tag->ID);
    }

    TiXmlPrinter printer;  // default layout: four spaces, line feeds
    doc.Accept(&printer);
    return printer.Str();
}

}  // namespace HQ

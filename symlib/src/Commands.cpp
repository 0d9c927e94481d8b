// SPDX-License-Identifier: Apache-2.0
#include "Commands.h"

#include "Catalogue.h"
#include "Describe.h"
#include "Raster.h"

#include <markstore/SymbolSvg.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <map>
#include <set>

namespace symlib {

namespace {

bool EndsWith(const std::string& s, const std::string& tail) {
    if (s.size() < tail.size()) return false;
    std::string end = s.substr(s.size() - tail.size());
    for (char& c : end)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return end == tail;
}

bool WriteFile(const std::string& path, const std::string& text, std::ostream& err) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
    file.close();
    if (!file) {
        err << "symlib: cannot write " << path << "\n";
        return false;
    }
    return true;
}

bool NeedLibrary(Library& library, int lib, std::ostream& err) {
    if (library.hasLibrary(lib)) return true;
    err << "symlib: no library " << lib << "\n";
    return false;
}

}  // namespace

bool ParseColor(const std::string& text, std::uint8_t rgba[4]) {
    if ((text.size() != 7 && text.size() != 9) || text[0] != '#') return false;
    unsigned v[4] = {0, 0, 0, 255};
    for (std::size_t i = 1; i < text.size(); ++i)
        if (!std::isxdigit(static_cast<unsigned char>(text[i]))) return false;
    for (std::size_t k = 0; k * 2 + 1 < text.size(); ++k)
        v[k] = std::stoul(text.substr(1 + 2 * k, 2), nullptr, 16);
    for (int k = 0; k < 4; ++k) rgba[k] = static_cast<std::uint8_t>(v[k]);
    return true;
}

int Tags(Library& library, std::ostream& out, std::ostream&) {
    out << "ID\tName\tCategories\tSymbols\n";
    for (const Tag& t : library.tags())
        out << t.id << '\t' << t.name << '\t' << library.nodes(t.id).size() << '\t'
            << library.symbols(t.id).size() << '\n';
    return 0;
}

int Tree(Library& library, int lib, std::ostream& out, std::ostream& err) {
    if (!NeedLibrary(library, lib, err)) return 1;
    const std::vector<Node> nodes = library.nodes(lib);
    std::map<int, int> direct;
    const std::vector<SymbolPtr> marks = library.symbols(lib);
    for (const auto& m : marks) ++direct[CategoryOf(*m->GetCommAttr(), nodes)];
    std::map<int, std::vector<const Node*>> children;
    for (const Node& n : nodes)
        if (n.id != n.pid) children[n.pid].push_back(&n);
    std::set<int> active;
    std::function<int(int)> count = [&](int id) {
        if (!active.insert(id).second) return 0;
        int total = direct.count(id) ? direct[id] : 0;
        for (const Node* c : children[id]) total += count(c->id);
        active.erase(id);
        return total;
    };
    std::string name;
    for (const Tag& t : library.tags())
        if (t.id == lib) name = t.name;
    out << name << " (library " << lib << ", " << marks.size() << " symbols)\n";
    std::set<int> printed;
    std::function<void(int, int)> walk = [&](int pid, int depth) {
        for (const Node* n : children[pid]) {
            if (!printed.insert(n->id).second) continue;
            out << std::string(2 * depth, ' ') << n->name << " [" << n->id << "] " << count(n->id) << "\n";
            walk(n->id, depth + 1);
        }
    };
    walk(lib, 1);
    return 0;
}

int Find(Library& library, const std::string& text, int lib, std::ostream& out, std::ostream& err) {
    if (lib != 0 && !NeedLibrary(library, lib, err)) return 1;
    for (const auto& s : library.find(text, lib)) {
        const HQ::CHQGS_SymbolCommAttr& a = *s->GetCommAttr();
        out << a.LibID << '\t' << a.ID << '\t' << library.utf8(a.MarkName) << '\n';
    }
    return 0;
}

int Show(Library& library, int lib, int id, bool json, std::ostream& out, std::ostream& err) {
    SymbolPtr s = library.symbol(lib, id);
    if (!s) {
        err << "symlib: no symbol " << id << " in library " << lib << "\n";
        return 1;
    }
    out << (json ? DescribeJson(*s, library) : DescribeText(*s, library));
    return 0;
}

int Render(Library& library, const RenderRequest& request, std::ostream& out, std::ostream& err) {
    SymbolPtr s = library.symbol(request.lib, request.id);
    if (!s) {
        err << "symlib: no symbol " << request.id << " in library " << request.lib << "\n";
        return 1;
    }
    HQ::SvgOptions options;
    options.textEncoding = library.encoding();
    options.sizePx = request.size;
    options.showPoints = request.points;
    if (!request.background.empty()) ParseColor(request.background, options.background);
    const bool png = EndsWith(request.output, ".png");
    if (png && options.sizePx == 0) options.sizePx = 256;
    const std::string svg = HQ::RenderSymbolSvg(*s, options);
    if (request.output.empty() || request.output == "-") {
        out << svg;
        return 0;
    }
    if (png) {
        std::string why;
        if (!WritePng(svg, request.output, &why)) {
            err << "symlib: " << why << "\n";
            return 1;
        }
        return 0;
    }
    return WriteFile(request.output, svg, err) ? 0 : 1;
}

int Catalogue(Library& library, const std::string& dir, int lib, std::ostream& out, std::ostream& err) {
    if (lib != 0 && !NeedLibrary(library, lib, err)) return 1;
    const auto start = std::chrono::steady_clock::now();
    std::size_t count = 0;
    std::string why;
    if (!WriteCatalogue(library, lib, dir, &count, &why)) {
        err << "symlib: " << why << "\n";
        return 1;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    out << "symlib: " << count << " symbols written to " << dir << "/index.html in " << seconds << " s\n";
    return 0;
}

int Export(Library& library, int lib, const std::string& output, std::ostream& out, std::ostream& err) {
    if (!NeedLibrary(library, lib, err)) return 1;
    const std::string xml = library.exportXml(lib);
    if (xml.empty()) {
        err << "symlib: the library export could not be read back\n";
        return 1;
    }
    if (output.empty() || output == "-") {
        out << xml;
        return 0;
    }
    return WriteFile(output, xml, err) ? 0 : 1;
}

}  // namespace symlib

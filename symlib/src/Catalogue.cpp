// SPDX-License-Identifier: Apache-2.0
#include "Catalogue.h"

#include "Describe.h"
#include "Json.h"

#include <markstore/SymbolSvg.h>

#include <atomic>
#include <functional>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <map>
#include <set>
#include <algorithm>
#include <sys/stat.h>
#include <thread>

namespace symlib {

namespace {

const char kHead[] = R"HTML(<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>Symbol catalogue</title>
<style>
body{margin:0;font:14px sans-serif;color:#222;background:#f4f4f4;display:flex;flex-direction:column;height:100vh}
header{display:flex;gap:1em;align-items:center;padding:.5em 1em;background:#20364f;color:#fff}
header h1{font-size:1.2em;margin:0}
#search{flex:0 1 24em;padding:.3em .5em;font-size:1em}
#count{opacity:.8}
#body{display:flex;flex:1;min-height:0}
nav{width:18em;overflow:auto;padding:.5em;background:#fff;border-right:1px solid #ccc}
nav ul{list-style:none;margin:0;padding-left:1em}
nav>ul{padding-left:0}
nav button{background:none;border:0;padding:.1em .2em;cursor:pointer;text-align:left;font:inherit}
nav button.on{background:#cde;border-radius:3px}
nav .n{color:#888;font-size:.85em}
main{flex:1;overflow:auto;padding:.5em;display:flex;flex-wrap:wrap;align-content:flex-start;gap:.5em}
.thumb{width:120px;height:150px;background:#fff;border:1px solid #ccc;border-radius:4px;cursor:pointer;display:flex;flex-direction:column;align-items:center;padding:4px;box-sizing:border-box}
.thumb:hover{border-color:#20364f}
.thumb.hidden{display:none}
.pic{width:96px;height:96px}
.pic svg{width:96px;height:96px}
.name{font-size:.85em;text-align:center;overflow:hidden;text-overflow:ellipsis;white-space:nowrap;width:100%}
.ids{font-size:.75em;color:#777}
#detail{position:fixed;inset:0;background:rgba(0,0,0,.45);display:none;align-items:center;justify-content:center}
#detail.open{display:flex}
#card{background:#fff;padding:1em;border-radius:6px;display:flex;gap:1em;max-width:90vw;max-height:90vh;overflow:auto}
#big svg{width:360px;height:360px;background:#fafafa;border:1px solid #ddd}
#card table{border-collapse:collapse;font-size:.85em}
#card td{padding:.1em .5em;border-bottom:1px solid #eee;vertical-align:top}
#close{float:right}
</style>
</head>
<body>
<header><h1>Symbol catalogue</h1><input id="search" type="search" placeholder="Search names and IDs" autocomplete="off"><span id="count"></span></header>
<div id="body"><nav id="tree"></nav><main id="grid"></main></div>
<div id="detail"><div id="card"><div id="big"></div><div><button id="close">Close</button><h2 id="dname"></h2><table id="dtable"></table></div></div></div>
<script>
)HTML";

// The page's behaviour. LIBS: [{id, name, nodes: [[id, pid, level, name, count], ...]}];
// SYMS: [[lib, id, name, category, attributes, units, svg], ...].
const char kScript[] = R"HTML(
(function () {
  "use strict";
  var grid = document.getElementById("grid"), tree = document.getElementById("tree");
  var search = document.getElementById("search"), count = document.getElementById("count");
  var thumbs = [], category = null, observer = null;

  function el(tag, cls, text) {
    var e = document.createElement(tag);
    if (cls) e.className = cls;
    if (text !== undefined) e.textContent = text;
    return e;
  }
  function draw(i) {
    var t = thumbs[i];
    if (!t.drawn) { t.pic.innerHTML = SYMS[i][6]; t.drawn = true; }
  }
  // Categories: a set of "lib:id" keys for a node and everything below it.
  function below(lib, id) {
    var keys = {}, todo = [id], nodes = lib.nodes;
    keys[lib.id + ":" + id] = true;
    while (todo.length) {
      var p = todo.pop();
      for (var k = 0; k < nodes.length; k++)
        if (nodes[k][1] === p && !keys[lib.id + ":" + nodes[k][0]]) { keys[lib.id + ":" + nodes[k][0]] = true; todo.push(nodes[k][0]); }
    }
    return keys;
  }
  function apply() {
    var q = search.value.trim().toLowerCase(), shown = 0;
    for (var i = 0; i < SYMS.length; i++) {
      var s = SYMS[i];
      var ok = (!category || category[s[0] + ":" + s[3]] || (category.lib === s[0] && category.all)) &&
               (!q || s[2].toLowerCase().indexOf(q) >= 0 || String(s[1]).indexOf(q) >= 0 || (s[0] + "/" + s[1]) === q);
      thumbs[i].el.classList.toggle("hidden", !ok);
      if (ok) shown++;
    }
    count.textContent = shown + " of " + SYMS.length + " symbols";
  }
  function select(button, keys) {
    var on = tree.querySelectorAll("button.on");
    for (var k = 0; k < on.length; k++) on[k].classList.remove("on");
    button.classList.add("on");
    category = keys;
    apply();
  }
  function buildTree() {
    var top = el("ul");
    var all = el("button", "on", "All libraries");
    all.onclick = function () { select(all, null); };
    var li = el("li"); li.appendChild(all); top.appendChild(li);
    LIBS.forEach(function (lib) {
      var item = el("li"), b = el("button", "", lib.name + " ");
      b.appendChild(el("span", "n", "#" + lib.id + " (" + lib.count + ")"));
      b.onclick = function () { select(b, {lib: lib.id, all: true}); };
      item.appendChild(b);
      function children(pid, parent) {
        var ul = null;
        lib.nodes.forEach(function (n) {
          if (n[1] !== pid || n[0] === pid) return;
          if (!ul) { ul = el("ul"); parent.appendChild(ul); }
          var li2 = el("li"), nb = el("button", "", n[3] + " ");
          nb.appendChild(el("span", "n", "(" + n[4] + ")"));
          nb.onclick = function () { select(nb, below(lib, n[0])); };
          li2.appendChild(nb); ul.appendChild(li2);
          children(n[0], li2);
        });
      }
      children(lib.id, item);
      top.appendChild(item);
    });
    tree.appendChild(top);
  }
  function show(i) {
    var s = SYMS[i];
    document.getElementById("big").innerHTML = s[6];
    document.getElementById("dname").textContent = s[2];
    var table = document.getElementById("dtable");
    table.textContent = "";
    function row(k, v) { var tr = el("tr"); tr.appendChild(el("td", "", k)); tr.appendChild(el("td", "", v)); table.appendChild(tr); }
    row("Library", String(s[0])); row("ID", String(s[1])); row("Category", String(s[3]));
    Object.keys(s[4]).forEach(function (k) { row(k, String(s[4][k])); });
    row("Units", s[5]);
    document.getElementById("detail").classList.add("open");
  }
  document.getElementById("close").onclick = function () { document.getElementById("detail").classList.remove("open"); };
  document.getElementById("detail").onclick = function (e) { if (e.target.id === "detail") e.target.classList.remove("open"); };
  if ("IntersectionObserver" in window) {
    observer = new IntersectionObserver(function (entries) {
      entries.forEach(function (e) {
        if (e.isIntersecting) { draw(+e.target.dataset.i); observer.unobserve(e.target); }
      });
    }, {root: grid, rootMargin: "300px"});
  }
  var fragment = document.createDocumentFragment();
  for (var i = 0; i < SYMS.length; i++) {
    var s = SYMS[i], t = el("div", "thumb"), pic = el("div", "pic");
    t.dataset.i = i;
    t.title = s[2] + " (" + s[0] + "/" + s[1] + ")";
    t.appendChild(pic); t.appendChild(el("div", "name", s[2])); t.appendChild(el("div", "ids", s[0] + " / " + s[1]));
    t.onclick = (function (k) { return function () { show(k); }; })(i);
    thumbs.push({el: t, pic: pic, drawn: false});
    fragment.appendChild(t);
    if (observer) observer.observe(t); else draw(i);
  }
  grid.appendChild(fragment);
  buildTree();
  search.addEventListener("input", apply);
  apply();
})();
</script>
</body>
</html>
)HTML";

bool MakeDirectory(const std::string& dir, std::string* why) {
    std::string path;
    for (std::size_t i = 0; i <= dir.size(); ++i) {
        if (i == dir.size() || (dir[i] == '/' && i > 0)) {
            path = dir.substr(0, i);
            struct stat st;
            if (stat(path.c_str(), &st) == 0) {
                if (!S_ISDIR(st.st_mode)) {
                    *why = "cannot create " + dir + ": " + path + " is not a directory";
                    return false;
                }
            } else if (mkdir(path.c_str(), 0777) != 0 && errno != EEXIST) {
                *why = "cannot create " + dir + ": " + std::strerror(errno);
                return false;
            }
        }
    }
    return true;
}

}  // namespace

bool WriteCatalogue(Library& library, int lib, const std::string& dir, std::size_t* symbols,
                    std::string* why) {
    std::vector<Tag> tags = library.tags();
    if (lib != 0) {
        std::vector<Tag> kept;
        for (const Tag& t : tags)
            if (t.id == lib) kept.push_back(t);
        tags = kept;
    }
    std::vector<Node> allNodes;
    for (const Tag& t : tags) {
        std::vector<Node> n = library.nodes(t.id);
        allNodes.insert(allNodes.end(), n.begin(), n.end());
    }
    std::vector<SymbolPtr> marks = library.symbols(lib);
    if (lib == 0) {
        // Symbols of libraries without a tag have no place in the tree.
        std::vector<SymbolPtr> kept;
        for (auto& m : marks)
            for (const Tag& t : tags)
                if (m->GetCommAttr()->LibID == t.id) {
                    kept.push_back(std::move(m));
                    break;
                }
        marks = std::move(kept);
    }

    // The pictures, rendered on every core: the renderer is pure.
    std::vector<std::string> pictures(marks.size());
    std::atomic<std::size_t> next{0};
    auto work = [&]() {
        for (std::size_t i; (i = next++) < marks.size();) {
            HQ::SvgOptions options;
            options.xmlDeclaration = false;
            options.decimals = 2;
            options.textEncoding = library.encoding();
            const HQ::CHQGS_SymbolCommAttr* a = marks[i]->GetCommAttr();
            options.idPrefix =
                "s" + std::to_string(a->LibID) + "_" + std::to_string(a->ID) + "_" + std::to_string(i) + "_";
            pictures[i] = HQ::RenderSymbolSvg(*marks[i], options);
        }
    };
    const unsigned workers = std::max(1u, std::min(8u, std::thread::hardware_concurrency()));
    std::vector<std::thread> threads;
    for (unsigned k = 1; k < workers; ++k) threads.emplace_back(work);
    work();
    for (auto& t : threads) t.join();

    // Each symbol's category and the number of symbols below each node.
    std::vector<int> categories(marks.size());
    std::map<std::pair<int, int>, int> direct;
    for (std::size_t i = 0; i < marks.size(); ++i) {
        categories[i] = CategoryOf(*marks[i]->GetCommAttr(), allNodes);
        ++direct[{marks[i]->GetCommAttr()->LibID, categories[i]}];
    }

    // Symbols in a node's subtree, counted once per node.
    std::map<std::pair<int, int>, std::vector<int>> children;
    for (const Node& n : allNodes)
        if (n.id != n.pid) children[{n.lib, n.pid}].push_back(n.id);
    std::map<std::pair<int, int>, int> memo;
    std::set<std::pair<int, int>> active;  // guards against cycles in the tree
    std::function<int(int, int)> subtree = [&](int libId, int id) -> int {
        const std::pair<int, int> key{libId, id};
        auto m = memo.find(key);
        if (m != memo.end()) return m->second;
        if (!active.insert(key).second) return 0;
        int total = 0;
        auto d = direct.find(key);
        if (d != direct.end()) total += d->second;
        auto c = children.find(key);
        if (c != children.end())
            for (int child : c->second) total += subtree(libId, child);
        active.erase(key);
        return memo[key] = total;
    };

    std::string data = "var LIBS=[";
    for (std::size_t t = 0; t < tags.size(); ++t) {
        if (t) data += ',';
        std::size_t libCount = 0;
        for (auto& m : marks)
            if (m->GetCommAttr()->LibID == tags[t].id) ++libCount;
        data += "{\"id\":" + std::to_string(tags[t].id) + ",\"name\":" + JsonString(tags[t].name) +
                ",\"count\":" + std::to_string(libCount) + ",\"nodes\":[";
        bool first = true;
        for (const Node& n : allNodes) {
            if (n.lib != tags[t].id) continue;
            const int below = subtree(n.lib, n.id);
            if (!first) data += ',';
            first = false;
            data += '[' + std::to_string(n.id) + ',' + std::to_string(n.pid) + ',' + std::to_string(n.level) +
                    ',' + JsonString(n.name) + ',' + std::to_string(below) + ']';
        }
        data += "]}";
    }
    data += "];\nvar SYMS=[\n";
    for (std::size_t i = 0; i < marks.size(); ++i) {
        const HQ::CHQGS_SymbolCommAttr& a = *marks[i]->GetCommAttr();
        std::string attrs = "{";
        bool first = true;
        for (auto& [name, value] : CommonFields(a, library)) {
            if (name == "LibID" || name == "ID" || name == "MarkName") continue;
            if (!first) attrs += ',';
            first = false;
            attrs += JsonString(name) + ':' + value;
        }
        attrs += '}';
        std::string units;
        for (const HQ::CHQGS_SymbolUnit* u : marks[i]->GetUnits()) {
            if (!u) continue;
            if (!units.empty()) units += ", ";
            units += KindName(*u);
        }
        data += '[' + std::to_string(a.LibID) + ',' + std::to_string(a.ID) + ',' +
                JsonString(library.utf8(a.MarkName)) + ',' + std::to_string(categories[i]) + ',' + attrs +
                ',' + JsonString(units) + ',' + JsonString(pictures[i]) + "],\n";
    }
    data += "];\n";

    if (!MakeDirectory(dir, why)) return false;
    const std::string path = dir + "/index.html";
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << kHead << data << kScript;
    out.close();
    if (!out) {
        *why = "cannot write " + path;
        return false;
    }
    *symbols = marks.size();
    return true;
}

}  // namespace symlib

// SPDX-License-Identifier: Apache-2.0
#include "Library.h"

#include <geomkit/UtilityFunctions.h>
#include <markstore/SymbolLibManager.h>
#include <markstore/SymbolRecords.h>

#include <tinyxml.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <list>
#include <set>
#include <sys/stat.h>

namespace symlib {

namespace {

constexpr int kSqlite = 0;
constexpr int kMySQL = 1;

template <typename T>
std::vector<std::unique_ptr<T>> Own(std::list<T*> items) {
    std::vector<std::unique_ptr<T>> out;
    out.reserve(items.size());
    for (T* item : items) out.emplace_back(item);
    return out;
}

std::string Lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

}  // namespace

Library::~Library() {
    if (manager_) {
        manager_->close();
        manager_->release();
    }
}

bool Library::open(const Connection& connection, std::string* why) {
    settings_ = connection;
    manager_ = HQ::SymbolLibManagerFactory::GetInstance();
    std::string source;
    if (!settings_.mysql.empty()) {
        unsigned port = 3306;
        host_ = settings_.mysql;
        const std::size_t colon = host_.rfind(':');
        if (colon != std::string::npos) {
            port = static_cast<unsigned>(std::strtoul(host_.c_str() + colon + 1, nullptr, 10));
            host_.resize(colon);
        }
        manager_->init(kMySQL);
        manager_->setHost(host_.c_str());
        manager_->setUser(settings_.user.c_str());
        manager_->setPassward(settings_.password.c_str());
        manager_->setDBname(settings_.database.c_str());
        manager_->setPort(port);
        encoding_ = HQ::SymbolTextEncoding::Utf8;
        source = "MySQL database " + settings_.database + " on " + host_ + ":" + std::to_string(port);
        if (!manager_->open()) {
            *why = "cannot connect to " + source + " as user " + settings_.user;
            return false;
        }
    } else {
        struct stat st;
        if (stat(settings_.db.c_str(), &st) != 0) {
            *why = "cannot open " + settings_.db + ": no such file";
            return false;
        }
        if (S_ISDIR(st.st_mode)) {
            *why = "cannot open " + settings_.db + ": it is a directory";
            return false;
        }
        std::ifstream probe(settings_.db, std::ios::binary);
        char head[16] = {};
        if (!probe || !probe.read(head, sizeof head)) {
            *why = "cannot read " + settings_.db;
            return false;
        }
        if (std::string(head, 16) == std::string("SQLite format 3\0", 16)) {
            *why = settings_.db + " is an SQLite file without the library key, not a symbol library";
            return false;
        }
        manager_->init(kSqlite);
        manager_->setDBPath(settings_.db.c_str());
        encoding_ = HQ::SymbolTextEncoding::LocalCodePage;
        source = settings_.db;
        if (!manager_->open()) {
            *why = "cannot open " + source + " as a symbol library (wrong key, or not a library file)";
            return false;
        }
    }
    if (tags().empty()) {
        *why = source + " holds no symbol library (wrong key, not a symbol library, or empty)";
        return false;
    }
    return true;
}

std::vector<Tag> Library::tags() {
    std::vector<Tag> out;
    for (auto& tag : Own(manager_->getTags())) out.push_back({tag->ID, utf8(tag->LibName)});
    return out;
}

bool Library::hasLibrary(int lib) {
    for (const Tag& t : tags())
        if (t.id == lib) return true;
    return false;
}

std::vector<Node> Library::nodes(int lib) {
    std::vector<Node> out;
    for (auto& n : Own(manager_->getNodes(lib, -1)))
        out.push_back({n->LibID, n->ID, n->PID, n->NodeLevel, utf8(n->NodeName)});
    return out;
}

std::vector<SymbolPtr> Library::symbols(int lib) {
    // LIKE '%%' matches every mark with a name.
    std::vector<SymbolPtr> out = Own(manager_->findMarksByNameLike(lib, ""));
    out.erase(std::remove_if(out.begin(), out.end(), [](const SymbolPtr& s) { return !s->GetCommAttr(); }),
              out.end());
    return out;
}

std::vector<SymbolPtr> Library::find(const std::string& text, int lib) {
    // The engines splice the search text into LIKE '%...%' as it is: ask
    // with the longest piece that holds no wildcard or quoting character,
    // then keep the names that hold the whole text.
    std::string best, piece;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        const char c = i < text.size() ? text[i] : '%';
        if (c == '%' || c == '_' || c == '\'' || c == '"' || c == '\\' || c == '[') {
            if (piece.size() > best.size()) best = piece;
            piece.clear();
        } else {
            piece += c;
        }
    }
    // The SQLite engine takes search texts in the local code page, as it
    // hands names out; a piece the code page cannot hold asks for every name.
    if (encoding_ == HQ::SymbolTextEncoding::LocalCodePage && !best.empty())
        best = HQ::CHQGS_UtilityFunctions::UTF8ToANSI(best);
    const std::string needle = Lower(text);
    std::vector<SymbolPtr> out;
    for (auto& s : Own(manager_->findMarksByNameLike(lib, best))) {
        if (!s->GetCommAttr()) continue;
        if (Lower(utf8(s->GetCommAttr()->MarkName)).find(needle) != std::string::npos)
            out.push_back(std::move(s));
    }
    return out;
}

SymbolPtr Library::symbol(int lib, int id) {
    SymbolPtr s(manager_->getMark(lib, id));
    if (s && !s->GetCommAttr()) s.reset();
    return s;
}

std::string Library::exportXml(int lib) {
    const std::string whole = utf8(manager_->exportLibraryXml());
    TiXmlDocument doc;
    doc.Parse(whole.c_str(), nullptr, TIXML_ENCODING_UTF8);
    if (doc.Error()) return std::string();
    TiXmlElement* root = doc.RootElement();
    if (root) {
        for (TiXmlElement* tag = root->FirstChildElement("SymbolTag"); tag;) {
            TiXmlElement* next = tag->NextSiblingElement("SymbolTag");
            int id = 0;
            if (tag->QueryIntAttribute("libID", &id) != TIXML_SUCCESS || id != lib) root->RemoveChild(tag);
            tag = next;
        }
    }
    TiXmlPrinter printer;
    doc.Accept(&printer);
    return printer.CStr();
}

int CategoryOf(const HQ::CHQGS_SymbolCommAttr& attr, const std::vector<Node>& nodes) {
    int byPid = 0;
    std::set<int> parents;
    for (const Node& n : nodes) parents.insert(n.pid);
    for (const Node& n : nodes) {
        if (n.lib != attr.LibID) continue;
        if (n.id == attr.ID && !parents.count(n.id)) return n.id;
        if (n.id == attr.PID) byPid = n.id;
    }
    return byPid;
}

}  // namespace symlib

// SPDX-License-Identifier: Apache-2.0
// The SQLite engine on damaged library files. The input is a library file:
//   - a keyed file (anything that does not start with the plain SQLite
//     header) is written as it is and opened through the engine, so that
//     mutated, cut or grown pages reach the key check and the page reader;
//   - a plain SQLite database (it starts with "SQLite format 3") is first
//     copied into a keyed file with the codec's own export, so that damaged
//     schemas, odd column types and hostile rows reach the engine's readers.
// Every read of the engine then runs on what opened: libraries, nodes, the
// marks under them, each mark on its own and the searches. Nothing may
// crash or hang (the run's -timeout catches a hang); the answers are
// whatever the file holds.
//
// Seeds: sample-keyed.db and sample-plain.db are the sample library
// (examples/symbol-library/schema.sql and sample.sql) built with the
// sqlcipher shell, with and without the library key.
#include <markstore/Symbol.h>
#include <markstore/SymbolRecords.h>
#include <markstore_internal/LibraryKey.h>
#include <markstore_internal/SqliteEngine.h>

#include <sqlite3.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <list>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

// Scratch files of this process, removed when it ends.
struct Scratch {
    const std::string base = "/tmp/fuzz_sqlite_library_" + std::to_string(::getpid());
    const std::string library = base + ".db", plain = base + "_plain.db";
    ~Scratch() {
        std::remove(library.c_str());
        std::remove(plain.c_str());
    }
};

const Scratch& scratch() {
    static const Scratch files;
    return files;
}

// At most this many items of each list are followed further, so that one
// input costs a bounded number of queries.
const int kFollow = 16;

template <typename T>
void release(std::list<T*>& items) {
    for (T* item : items) delete item;
    items.clear();
}

// Copies the plain database at plain into a new keyed file at keyed; false
// when the codec cannot read or export it.
bool exportKeyed(const std::string& plain, const std::string& keyed) {
    std::remove(keyed.c_str());
    sqlite3* db = nullptr;
    bool ok = sqlite3_open_v2(plain.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK;
    if (ok) {
        const std::string attach = "ATTACH DATABASE '" + keyed + "' AS keyed KEY '" + HQ::kLibraryKey + "';";
        ok = sqlite3_exec(db, attach.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK &&
             sqlite3_exec(db, "SELECT sqlcipher_export('keyed');", nullptr, nullptr, nullptr) == SQLITE_OK;
        sqlite3_exec(db, "DETACH DATABASE keyed;", nullptr, nullptr, nullptr);
    }
    sqlite3_close(db);
    return ok;
}

void readMark(HQ::CHQGS_SqliteEngine& engine, int libID, int id) {
    std::unique_ptr<HQ::CHQGS_Symbol> mark(engine.getMark(libID, id));
    (void)engine.getMarkData(libID, id);
    (void)engine.getShowMode(static_cast<unsigned>(libID), static_cast<unsigned>(id));
    (void)engine.getMarkType(static_cast<unsigned>(libID), static_cast<unsigned>(id));
    (void)engine.getMarkKind(libID, id);
    const std::string name = engine.getMarkName(static_cast<unsigned>(libID), static_cast<unsigned>(id));
    HQ::CHQGS_SymbolImage image;
    (void)engine.getImage(libID, id, &image);

    std::list<HQ::CHQGS_Symbol*> found = engine.findMarksById(id, libID);
    release(found);
    found = engine.findMarksByIdLike(id, libID);
    release(found);
    found = engine.findMarksByName(libID, name);
    release(found);
    found = engine.findMarksByNameLike(libID, name.substr(0, 2));
    release(found);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const char kPlainHeader[] = "SQLite format 3";
    const bool plain =
        size >= sizeof kPlainHeader && std::memcmp(data, kPlainHeader, sizeof kPlainHeader) == 0;
    const Scratch& files = scratch();
    {
        std::ofstream out(plain ? files.plain : files.library, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    if (plain && !exportKeyed(files.plain, files.library)) return 0;

    HQ::CHQGS_SqliteEngine engine;
    engine.setDBPath(files.library.c_str());
    if (!engine.open()) return 0;

    std::list<HQ::CHQGS_SymbolTag*> tags = engine.getTags();
    int followedTags = 0;
    for (HQ::CHQGS_SymbolTag* tag : tags) {
        if (followedTags++ == kFollow) break;
        std::list<HQ::CHQGS_SymbolNode*> nodes = engine.getNodes(tag->ID, -1);
        std::list<HQ::CHQGS_SymbolNode*> top = engine.getNodes(tag->ID, tag->ID);
        release(top);
        int followedNodes = 0;
        for (HQ::CHQGS_SymbolNode* node : nodes) {
            if (followedNodes++ == kFollow) break;
            std::list<HQ::CHQGS_Symbol*> marks = engine.getMarksByNode(node->LibID, node->ID);
            int followedMarks = 0;
            for (HQ::CHQGS_Symbol* mark : marks) {
                if (followedMarks++ == kFollow) break;
                if (mark != nullptr && mark->GetCommAttr() != nullptr)
                    readMark(engine, mark->GetCommAttr()->LibID, mark->GetCommAttr()->ID);
            }
            release(marks);
            readMark(engine, node->LibID, node->ID);
        }
        release(nodes);
    }
    release(tags);

    // Every mark of the file, whatever the nodes say.
    std::list<HQ::CHQGS_Symbol*> all = engine.queryMarks("SELECT * FROM Marks LIMIT 64;");
    release(all);
    engine.close();
    return 0;
}

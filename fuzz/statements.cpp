// SPDX-License-Identifier: Apache-2.0
// The statement builder of both engines and the row readers, on hostile
// texts (quotes, backslashes, NULs, bytes that are no UTF-8) and numbers at
// the 16- and 32-bit limits.
//
// SQLite dialect: every statement is prepared on an in-memory library (the
// shipped schema) and must be one statement; the inserts run, and what they
// stored must read back byte for byte. A mark inserted that way is then read
// through the SQLite engine from a keyed file (its row reader and the
// symbol made from the row). MySQL dialect: without a server the engine's
// own escaping (taken while no connection is open) is checked by undoing
// it, and its integer reader against a reference; the MySQL row reader
// itself (over a server's result) cannot be reached here.
#include <markstore/Symbol.h>
#include <markstore/SymbolRecords.h>
#include <markstore_internal/BaseEngine.h>
#include <markstore_internal/LibraryKey.h>
#include <markstore_internal/MySQLEngine.h>
#include <markstore_internal/SqliteEngine.h>
#include <markstore_internal/StatementBuilder.h>

#include <sqlite3.h>

#include "FuzzInput.h"

#include <cctype>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <list>
#include <memory>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

using HQ::CHQGS_StatementBuilder;

namespace {

void require(bool condition, const char* what) { FuzzRequire(condition, "statements", what); }

std::string schemaText() {
    std::ifstream in(SITPLOT_FUZZ_SCHEMA);
    std::ostringstream text;
    text << in.rdbuf();
    require(!text.str().empty(), "cannot read the schema");
    return text.str();
}

sqlite3* memoryLibrary() {
    static sqlite3* db = [] {
        sqlite3* handle = nullptr;
        require(sqlite3_open(":memory:", &handle) == SQLITE_OK, "cannot open a memory database");
        require(sqlite3_exec(handle, schemaText().c_str(), nullptr, nullptr, nullptr) == SQLITE_OK,
                "the schema does not run");
        return handle;
    }();
    return db;
}

// Prepared: one statement, nothing after it but white space. A statement
// that does not compile answers false (nothing runs then).
bool prepares(sqlite3* db, const std::string& sql, sqlite3_stmt** out = nullptr) {
    sqlite3_stmt* st = nullptr;
    const char* tail = nullptr;
    const bool ok = sqlite3_prepare_v2(db, sql.c_str(), -1, &st, &tail) == SQLITE_OK && st != nullptr;
    if (ok) {
        while (*tail != '\0' && std::isspace(static_cast<unsigned char>(*tail))) ++tail;
        require(*tail == '\0', "a statement runs on past its end");
    }
    if (out != nullptr && ok)
        *out = st;
    else
        sqlite3_finalize(st);
    return ok;
}

bool runs(sqlite3* db, const std::string& sql) {
    sqlite3_stmt* st = nullptr;
    if (!prepares(db, sql, &st)) return false;
    const int rc = sqlite3_step(st);
    sqlite3_finalize(st);
    return rc == SQLITE_DONE || rc == SQLITE_ROW;
}

// The text column of the single row of sql.
std::string readText(sqlite3* db, const std::string& sql, bool& found) {
    sqlite3_stmt* st = nullptr;
    found = false;
    std::string out;
    if (!prepares(db, sql, &st)) return out;
    if (sqlite3_step(st) == SQLITE_ROW) {
        found = true;
        const unsigned char* t = sqlite3_column_text(st, 0);
        if (t != nullptr) out.assign(reinterpret_cast<const char*>(t), sqlite3_column_bytes(st, 0));
    }
    sqlite3_finalize(st);
    return out;
}

// Column names of the schema: a double-quoted name equal to one of them is
// taken as that column in an UPDATE (kept in fuzz/findings/statements).
bool isColumnName(const std::string& name) {
    static const char* const kColumns[] = {
        "LibID",     "ID",       "PID",       "NodeLevel",    "NodeName", "LibName", "NodeCount",
        "MarkCount", "MarkName", "ConnectId", "ConnectLibID", "Mirror",   "PosX",    "PosY",
        "UnknownS",  "TextNum",  "Heading",   "MarkType",     "MinX",     "MinY",    "MaxX",
        "MaxY",      "Data",     "ShowMode",  "ExtraInt",     "Image"};
    for (const char* c : kColumns) {
        std::string a(c), b(name);
        if (a.size() != b.size()) continue;
        bool same = true;
        for (size_t i = 0; i < a.size() && same; ++i)
            same = std::tolower(static_cast<unsigned char>(a[i])) ==
                   std::tolower(static_cast<unsigned char>(b[i]));
        if (same) return true;
    }
    return false;
}

// Undoes the escaping of a literal under the backslash rules of a MySQL
// server; false when an unescaped quote would end the literal early.
bool undoBackslashes(const std::string& escaped, char quote, std::string& out) {
    out.clear();
    for (size_t i = 0; i < escaped.size(); ++i) {
        char c = escaped[i];
        if (c == quote) {
            if (i + 1 < escaped.size() && escaped[i + 1] == quote) {
                out += quote;
                ++i;
                continue;
            }
            return false;
        }
        if (c != '\\') {
            out += c;
            continue;
        }
        if (++i == escaped.size()) return false;  // a backslash would escape the closing quote
        switch (escaped[i]) {
            case '0':
                out += '\0';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'b':
                out += '\b';
                break;
            case 'Z':
                out += '\x1a';
                break;
            default:
                out += escaped[i];
        }
    }
    return true;
}

// What the MySQL integer reader must answer: white space, a sign, digits,
// the nearest limit when out of range, 0 without digits.
int referenceParseInt(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long magnitude = 0;
    bool digits = false;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        digits = true;
        if (magnitude <= static_cast<long long>(INT_MAX) + 1) magnitude = magnitude * 10 + (text[i] - '0');
    }
    if (!digits) return 0;
    if (negative)
        return magnitude > static_cast<long long>(INT_MAX) + 1 ? INT_MIN : static_cast<int>(-magnitude);
    return magnitude > INT_MAX ? INT_MAX : static_cast<int>(magnitude);
}

struct Values {
    int libID, id, pid, level, nodeCount, markCount, connectId, connectLibID, textNum, markType;
    double mirror, posX, posY, unknownS, heading, minX, minY, maxX, maxY;
    std::string name, data;
};

std::vector<std::string> everyStatement(const CHQGS_StatementBuilder& b, const Values& v) {
    const unsigned uLib = static_cast<unsigned>(v.libID), uId = static_cast<unsigned>(v.id);
    return {
        b.getMark(v.libID, v.id),
        b.getMarksByNode(v.libID, v.pid),
        b.getMarkData(v.libID, v.id),
        b.getShowMode(uLib, uId),
        b.getMarkType(uLib, uId),
        b.getMarkName(uLib, uId),
        b.findMarksById(v.id, v.libID),
        b.findMarksByIdLike(v.id, v.libID),
        b.findMarksByName(v.libID, v.name),
        b.findMarksByNameLike(v.libID, v.name),
        b.getTags(),
        b.getNodes(v.libID, v.pid),
        b.getImage(v.libID, v.id),
        b.updateNode(v.libID, v.id, v.pid, v.level, v.name),
        b.addNode(v.libID, v.id, v.pid, v.level, v.name),
        b.deleteNode(v.libID, v.id, v.pid),
        b.updateTag(v.id, v.name, v.nodeCount, v.markCount),
        b.addTag(v.id, v.name, v.nodeCount, v.markCount),
        b.deleteTag(v.id),
        b.updateMark(v.libID, v.id, v.pid, v.name, v.connectId, v.connectLibID, v.mirror, v.posX, v.posY,
                     v.unknownS, v.textNum, v.heading, v.markType, v.minX, v.minY, v.maxX, v.maxY, v.data),
        b.addMark(v.libID, v.id, v.pid, v.name, v.connectId, v.connectLibID, v.mirror, v.posX, v.posY,
                  v.unknownS, v.textNum, v.heading, v.markType, v.minX, v.minY, v.maxX, v.maxY, v.data),
        b.deleteMark(v.libID, v.id),
        b.addImage(v.libID, v.id),
        b.deleteImage(v.libID, v.id)};
}

// The SQLite dialect on the in-memory library.
void checkSqlite(const Values& v) {
    sqlite3* db = memoryLibrary();
    require(
        runs(db, "DELETE FROM Tags; ") && runs(db, "DELETE FROM Nodes;") && runs(db, "DELETE FROM Marks;"),
        "cannot empty the memory library");
    const CHQGS_StatementBuilder b;
    const bool plainTexts = v.name.find('\0') == std::string::npos && v.data.find('\0') == std::string::npos;
    const bool finite = std::isfinite(v.mirror) && std::isfinite(v.posX) && std::isfinite(v.posY) &&
                        std::isfinite(v.unknownS) && std::isfinite(v.heading) && std::isfinite(v.minX) &&
                        std::isfinite(v.minY) && std::isfinite(v.maxX) && std::isfinite(v.maxY);
    for (const std::string& sql : everyStatement(b, v)) {
        // A text cut at a NUL leaves its literal open, and a non-finite
        // number is no SQL number: either statement does not compile.
        const bool compiles = prepares(db, sql);
        if (plainTexts && finite) require(compiles, "a statement does not compile");
    }
    if (!plainTexts) return;

    bool found = false;
    require(runs(db, b.addTag(v.id, v.name, v.nodeCount, v.markCount)), "addTag does not run");
    require(
        readText(db, "SELECT LibName FROM Tags WHERE ID=" + std::to_string(v.id) + ";", found) == v.name &&
            found,
        "addTag does not store the name as given");
    require(runs(db, b.addNode(v.libID, v.id, v.pid, v.level, v.name)), "addNode does not run");
    require(readText(db, "SELECT NodeName FROM Nodes;", found) == v.name && found,
            "addNode does not store the name as given");
    if (!isColumnName(v.name)) {
        require(runs(db, b.updateNode(v.libID, v.id, v.pid, v.level ^ 1, v.name + "x")),
                "updateNode does not run");
        require(readText(db, "SELECT NodeName FROM Nodes;", found) == v.name + "x" && found,
                "updateNode does not store the name as given");
    }
    if (!finite) return;
    require(runs(db, b.addMark(v.libID, v.id, v.pid, v.name, v.connectId, v.connectLibID, v.mirror, v.posX,
                               v.posY, v.unknownS, v.textNum, v.heading, v.markType, v.minX, v.minY, v.maxX,
                               v.maxY, v.data)),
            "addMark does not run");
    require(readText(db, "SELECT Data FROM Marks;", found) == v.data && found,
            "addMark does not store the data as given");
    // The search's own condition must find the mark just stored.
    const std::string byName = b.findMarksByName(v.libID, v.name);
    require(byName.compare(0, 9, "SELECT * ") == 0, "unexpected search statement");
    require(readText(db, "SELECT MarkName " + byName.substr(9), found) == v.name && found,
            "findMarksByName does not find the name stored");
}

// The MySQL dialect as a closed engine builds it.
void checkMySQL(const Values& v, HQ::CHQGS_MySQLEngine& engine) {
    for (char quote : {'\'', '"'}) {
        std::string back;
        require(undoBackslashes(engine.escapeText(v.name, quote), quote, back) && back == v.name,
                "the MySQL escaping does not give the text back");
    }
    (void)everyStatement(engine.statements(), v);
    require(HQ::CHQGS_MySQLEngine::ParseInt(v.name.c_str()) ==
                referenceParseInt(v.name.substr(0, v.name.find('\0'))),
            "ParseInt differs from the reference");
}

// The SQLite engine's row reader: a keyed file holding the row as bound
// values (any type in any column), read back through the engine.
void checkSqliteRows(FuzzInput& in, const Values& v) {
    static const std::string path = "/tmp/fuzz_statements_" + std::to_string(::getpid()) + ".db";
    struct Remove {
        ~Remove() { std::remove(path.c_str()); }
    };
    static Remove remove;
    std::remove(path.c_str());
    sqlite3* db = nullptr;
    require(sqlite3_open(path.c_str(), &db) == SQLITE_OK, "cannot create the scratch library");
    // One key derivation round: the file is scratch, and the engine opens it
    // with the same process-wide setting.
    static const bool fastKey = [db] {
        return sqlite3_exec(db, "PRAGMA cipher_default_kdf_iter = 1;", nullptr, nullptr, nullptr) ==
               SQLITE_OK;
    }();
    (void)fastKey;
    sqlite3_close(db);
    require(sqlite3_open(path.c_str(), &db) == SQLITE_OK, "cannot create the scratch library");
    require(sqlite3_key(db, HQ::kLibraryKey, HQ::kLibraryKeyLength) == SQLITE_OK, "cannot key the library");
    require(sqlite3_exec(db, schemaText().c_str(), nullptr, nullptr, nullptr) == SQLITE_OK, "schema");
    sqlite3_stmt* st = nullptr;
    require(sqlite3_prepare_v2(db, "INSERT INTO Marks VALUES(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?);", -1,
                               &st, nullptr) == SQLITE_OK,
            "cannot prepare the row");
    for (int col = 1; col <= HQ::CHQGS_MarkRow::kColumns; ++col) {
        // LibID and ID are NOT NULL, and SQLite stores a NaN as NULL.
        unsigned kind = in.byte() % 5;
        if (col <= 2 && (kind == 1 || kind == 4)) kind = 0;
        switch (kind) {
            case 0:
                sqlite3_bind_int64(st, col,
                                   static_cast<sqlite3_int64>(in.integer()) * (in.flag() ? 1 : 65537));
                break;
            case 1:
                sqlite3_bind_double(st, col, in.fraction());
                break;
            case 2: {
                const std::string t = col == 4 ? v.name : col == 18 ? v.data : in.text(16);
                sqlite3_bind_text(st, col, t.data(), static_cast<int>(t.size()), SQLITE_TRANSIENT);
                break;
            }
            case 3: {
                const std::string t = in.text(16);
                sqlite3_bind_blob(st, col, t.data(), static_cast<int>(t.size()), SQLITE_TRANSIENT);
                break;
            }
            default:
                sqlite3_bind_null(st, col);
        }
    }
    require(sqlite3_step(st) == SQLITE_DONE, "cannot insert the row");
    sqlite3_finalize(st);
    sqlite3_close(db);

    HQ::CHQGS_SqliteEngine engine;
    engine.setDBPath(path.c_str());
    require(engine.open(), "the engine does not open the scratch library");
    std::list<HQ::CHQGS_Symbol*> marks = engine.queryMarks("SELECT * FROM Marks;");
    require(marks.size() == 1, "the row does not read back");
    for (HQ::CHQGS_Symbol* mark : marks) {
        HQ::CHQGS_Symbol copy(*mark);
        delete mark;
    }
    std::unique_ptr<HQ::CHQGS_Symbol> one(engine.getMark(v.libID, v.id));
    (void)engine.getMarkData(v.libID, v.id);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    Values v;
    v.libID = in.integer();
    v.id = in.integer();
    v.pid = in.integer();
    v.level = in.integer();
    v.nodeCount = in.integer();
    v.markCount = in.integer();
    v.connectId = in.integer();
    v.connectLibID = in.integer();
    v.textNum = in.integer();
    v.markType = in.integer();
    v.mirror = in.fraction();
    v.posX = in.fraction();
    v.posY = in.fraction();
    v.unknownS = in.fraction();
    v.heading = in.fraction();
    v.minX = in.fraction();
    v.minY = in.fraction();
    v.maxX = in.fraction();
    v.maxY = in.fraction();
    v.name = in.text(300);
    v.data = in.text(4000);

    checkSqlite(v);
    static HQ::CHQGS_MySQLEngine mysql;  // never opened
    checkMySQL(v, mysql);

    // The symbol made from a row of any values (as either row reader fills it).
    HQ::CHQGS_MarkRow row;
    for (int& value : row.values) value = in.integer();
    row.name = v.name;
    row.data = v.data;
    row.hasTrailing = in.flag();
    std::unique_ptr<HQ::CHQGS_Symbol> symbol(HQ::CHQGS_BaseEngine::SymbolFromRow(row));
    require(symbol->GetCommAttr() != nullptr && symbol->GetCommAttr()->ID == row.values[1] &&
                symbol->GetCommAttr()->MarkName == row.name,
            "the symbol does not carry its row's values");

    if (in.flag()) checkSqliteRows(in, v);
    return 0;
}

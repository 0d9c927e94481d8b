// SPDX-License-Identifier: Apache-2.0
#include <markstore_internal/SqliteEngine.h>

#include <markstore_internal/LibraryKey.h>

#include <geomkit/UtilityFunctions.h>
#include <markstore/Symbol.h>

#include <sqlite3.h>

namespace HQ {

namespace {

// The key is only checked when a page is read: this read of the schema makes
// a wrong key (or a file that is no database) fail at open. It counts the
// library's four tables; a file whose schema does not parse fails to prepare.
const char kTableCheck[] =
    "SELECT count(*) FROM sqlite_master WHERE type='table' AND lower(name) IN "
    "('tags','nodes','marks','images');";
const int kLibraryTables = 4;
// Each table with the columns the engine reads by position.
struct TableShape {
    const char* select;
    int columns;
};
const TableShape kTableShapes[] = {
    {"SELECT * FROM Tags;", 4},
    {"SELECT * FROM Nodes;", 5},
    {"SELECT * FROM Marks;", CHQGS_MarkRow::kColumns},
    {"SELECT * FROM Images;", 3},
};

// A text of ASCII characters only (no NUL): the same bytes in UTF-8 and in
// every code page the C library offers as a locale's encoding.
bool IsPlainAscii(const std::string& text) {
    for (unsigned char c : text)
        if (c == 0 || c >= 0x80) return false;
    return true;
}

// The conversions take the locale's encoding from the environment
// (setlocale(LC_CTYPE, "")). The first text converted always goes through
// them, so that the first read sets the locale as it always did; ASCII texts
// are their own conversion after that.
bool LocaleTaken() {
    static bool taken = false;
    const bool was = taken;
    taken = true;
    return was;
}

// UTF-8 (as stored) to the local code page.
std::string ToLocal(const std::string& utf8) {
    if (IsPlainAscii(utf8) && LocaleTaken()) return utf8;
    return CHQGS_UtilityFunctions::UTF8ToANSI(utf8);
}

// The local code page (as callers hand texts in) to UTF-8; false when the
// text does not convert.
bool ToStored(const std::string& local, std::string* utf8) {
    if (IsPlainAscii(local) && LocaleTaken()) {
        *utf8 = local;
        return true;
    }
    *utf8 = CHQGS_UtilityFunctions::ANSIToUTF8(local);
    return !utf8->empty() || local.empty();
}

int Integer(sqlite3_stmt* stmt, int col) { return sqlite3_column_int(stmt, col); }

// The column's bytes as stored (UTF-8); a NULL column reads as the empty text.
std::string StoredText(sqlite3_stmt* stmt, int col) {
    const unsigned char* t = sqlite3_column_text(stmt, col);
    if (t == nullptr) return std::string();
    return std::string(reinterpret_cast<const char*>(t),
                       static_cast<size_t>(sqlite3_column_bytes(stmt, col)));
}

// The column's text converted from UTF-8 to the local code page.
std::string Text(sqlite3_stmt* stmt, int col) { return ToLocal(StoredText(stmt, col)); }

// The mark row under stmt: its name converted, its data text as stored (the
// reader converts the texts of the drawing one by one).
CHQGS_MarkRow ReadMarkRow(sqlite3_stmt* stmt) {
    CHQGS_MarkRow row;
    for (int col = 0; col < CHQGS_MarkRow::kColumns; ++col) {
        if (col == CHQGS_MarkRow::kNameColumn || col == CHQGS_MarkRow::kDataColumn) continue;
        row.values[col] = Integer(stmt, col);
    }
    row.name = Text(stmt, CHQGS_MarkRow::kNameColumn);
    row.data = StoredText(stmt, CHQGS_MarkRow::kDataColumn);
    row.hasTrailing = true;
    return row;
}

CHQGS_Symbol* SymbolOf(sqlite3_stmt* stmt) {
    return CHQGS_BaseEngine::SymbolFromRow(ReadMarkRow(stmt), ToLocal);
}

// Every row of stmt as a new symbol; an empty list when stepping fails
// (interrupted, damaged file) before the last row.
std::list<CHQGS_Symbol*> SymbolsOf(sqlite3_stmt* stmt) {
    std::list<CHQGS_Symbol*> marks;
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) marks.push_back(SymbolOf(stmt));
    if (rc != SQLITE_DONE) {
        for (CHQGS_Symbol* s : marks) delete s;
        marks.clear();
    }
    return marks;
}

}  // namespace

// One statement compiled from text, finalized when it goes out of scope.
class CHQGS_SqliteEngine::Query {
public:
    // length -1: up to the terminating zero.
    Query(CHQGS_SqliteEngine& engine, const char* sql) : stmt_(nullptr), ok_(false) {
        engine.startWork();
        if (engine.db != nullptr && sql != nullptr)
            ok_ = sqlite3_prepare_v2(engine.db, sql, -1, &stmt_, nullptr) == SQLITE_OK && stmt_ != nullptr;
    }
    ~Query() { sqlite3_finalize(stmt_); }
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;

    bool prepared() const { return ok_; }
    // Prepared and delivering result columns.
    bool readable() const { return ok_ && sqlite3_column_count(stmt_) > 0; }
    bool nextRow() { return sqlite3_step(stmt_) == SQLITE_ROW; }
    sqlite3_stmt* get() const { return stmt_; }

private:
    sqlite3_stmt* stmt_;
    bool ok_;
};

// A kept statement in use: the identifiers bound, reset when it goes out of
// scope (so that it holds no read transaction between calls).
class CHQGS_SqliteEngine::HotStatement {
public:
    HotStatement(CHQGS_SqliteEngine& engine, HotRead read, sqlite3_int64 lib, sqlite3_int64 id)
        : stmt_(engine.opened ? engine.hotStatement(read) : nullptr) {
        engine.startWork();
        if (stmt_ != nullptr &&
            (sqlite3_bind_int64(stmt_, 1, lib) != SQLITE_OK || sqlite3_bind_int64(stmt_, 2, id) != SQLITE_OK))
            stmt_ = nullptr;
    }
    ~HotStatement() {
        if (stmt_ != nullptr) sqlite3_reset(stmt_);
    }
    HotStatement(const HotStatement&) = delete;
    HotStatement& operator=(const HotStatement&) = delete;

    bool ready() const { return stmt_ != nullptr; }
    bool nextRow() { return stmt_ != nullptr && sqlite3_step(stmt_) == SQLITE_ROW; }
    sqlite3_stmt* get() const { return stmt_; }

private:
    sqlite3_stmt* stmt_;
};

const char* CHQGS_SqliteEngine::HotReadText(HotRead read) {
    switch (read) {
        case HotMark:
            return "SELECT * FROM Marks WHERE LibID=?1 AND ID= ?2;";
        case HotShowMode:
            return "SELECT ShowMode FROM Marks WHERE LibID=?1 AND ID= ?2;";
        case HotMarkType:
            return "SELECT MarkType FROM Marks WHERE LibID=?1 AND ID= ?2;";
        case HotMarkName:
            return "SELECT MarkName FROM Marks WHERE LibID=?1 AND ID= ?2;";
        case HotMarksByNode:
            return "SELECT * FROM Marks WHERE LibID=?1 AND PID= ?2;";
        default:
            return nullptr;
    }
}

CHQGS_SqliteEngine::CHQGS_SqliteEngine() : db(nullptr), hot(), workSteps(0) {}

CHQGS_SqliteEngine::~CHQGS_SqliteEngine() { close(); }

void CHQGS_SqliteEngine::setDBPath(const char* path) { dbPath = path != nullptr ? path : ""; }

int CHQGS_SqliteEngine::OnProgress(void* engine) {
    CHQGS_SqliteEngine* self = static_cast<CHQGS_SqliteEngine*>(engine);
    return ++self->workSteps > kWorkBudget / kWorkStep ? 1 : 0;
}

bool CHQGS_SqliteEngine::open() {
    close();
    // An empty name would open a private temporary database, not a file.
    if (dbPath.empty()) return false;
    sqlite3* handle = nullptr;
    bool ok = sqlite3_open_v2(dbPath.c_str(), &handle, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK &&
              sqlite3_key(handle, kLibraryKey, kLibraryKeyLength) == SQLITE_OK;
    if (ok) {
        db = handle;
        sqlite3_progress_handler(db, kWorkStep, OnProgress, this);
        // The name searches read the whole Marks table: a cache that holds a
        // library of some ten thousand marks saves reading (and decrypting)
        // its pages on every search.
        sqlite3_exec(db, ("PRAGMA cache_size = -" + std::to_string(kPageCacheKiB) + ";").c_str(), nullptr,
                     nullptr, nullptr);
        Query check(*this, kTableCheck);
        ok = check.readable() && check.nextRow() && Integer(check.get(), 0) == kLibraryTables;
        for (const TableShape& table : kTableShapes) {
            if (!ok) break;
            Query shape(*this, table.select);
            ok = shape.prepared() && sqlite3_column_count(shape.get()) >= table.columns;
        }
        db = nullptr;
    }
    if (!ok) {
        sqlite3_close(handle);  // also releases a handle that came with a failure
        return false;
    }
    db = handle;
    opened = true;
    return true;
}

void CHQGS_SqliteEngine::finalizeHotStatements() {
    for (sqlite3_stmt*& stmt : hot) {
        sqlite3_finalize(stmt);
        stmt = nullptr;
    }
}

void CHQGS_SqliteEngine::close() {
    finalizeHotStatements();
    if (!opened) return;
    if (db != nullptr) sqlite3_close(db);
    db = nullptr;
    opened = false;
}

sqlite3_stmt* CHQGS_SqliteEngine::hotStatement(HotRead read) {
    if (db == nullptr || read < 0 || read >= HotReadCount) return nullptr;
    if (hot[read] == nullptr) {
        if (sqlite3_prepare_v2(db, HotReadText(read), -1, &hot[read], nullptr) != SQLITE_OK) {
            sqlite3_finalize(hot[read]);
            hot[read] = nullptr;
        }
    }
    return hot[read];
}

int CHQGS_SqliteEngine::preparedHotReads() const {
    int n = 0;
    for (sqlite3_stmt* stmt : hot) n += stmt != nullptr ? 1 : 0;
    return n;
}

// ---- Marks -----------------------------------------------------------------

CHQGS_Symbol* CHQGS_SqliteEngine::getMark(int libID, int id) {
    HotStatement st(*this, HotMark, libID, id);
    if (!st.nextRow()) return nullptr;
    return SymbolOf(st.get());
}

int CHQGS_SqliteEngine::getShowMode(unsigned int libID, unsigned int id) {
    HotStatement st(*this, HotShowMode, libID, id);
    if (!st.nextRow()) return kNoShowMode;
    return Integer(st.get(), 0);
}

int CHQGS_SqliteEngine::getMarkType(unsigned int libID, unsigned int id) {
    HotStatement st(*this, HotMarkType, libID, id);
    if (!st.nextRow()) return 0;
    return Integer(st.get(), 0) == 1 ? 1 : 0;
}

std::string CHQGS_SqliteEngine::getMarkName(unsigned int libID, unsigned int id) {
    HotStatement st(*this, HotMarkName, libID, id);
    if (!st.nextRow()) return std::string();
    return Text(st.get(), 0);
}

std::list<CHQGS_Symbol*> CHQGS_SqliteEngine::getMarksByNode(int libID, int pid) {
    HotStatement st(*this, HotMarksByNode, libID, pid);
    if (!st.ready()) return {};
    return SymbolsOf(st.get());
}

std::string CHQGS_SqliteEngine::getMarkData(int libID, int id) {
    HotStatement st(*this, HotMark, libID, id);
    if (!st.nextRow()) return std::string();
    // The whole text converted at once, as this answer always was.
    return CHQGS_UtilityFunctions::UTF8ToANSI(StoredText(st.get(), CHQGS_MarkRow::kDataColumn));
}

CHQGS_Symbol* CHQGS_SqliteEngine::queryMark(const char* sql) {
    Query st(*this, sql);
    if (!st.readable() || !st.nextRow()) return nullptr;
    return SymbolOf(st.get());
}

std::list<CHQGS_Symbol*> CHQGS_SqliteEngine::queryMarks(const char* sql) {
    Query st(*this, sql);
    if (!st.readable()) return {};
    return SymbolsOf(st.get());
}

std::list<CHQGS_Symbol*> CHQGS_SqliteEngine::findMarksById(int id, int libID) {
    return queryMarks(builder.findMarksById(id, libID).c_str());
}

std::list<CHQGS_Symbol*> CHQGS_SqliteEngine::findMarksByIdLike(int id, int libID) {
    return queryMarks(builder.findMarksByIdLike(id, libID).c_str());
}

std::list<CHQGS_Symbol*> CHQGS_SqliteEngine::findMarksByName(int libID, const std::string& name) {
    std::string stored;
    if (!ToStored(name, &stored)) return {};
    return queryMarks(builder.findMarksByName(libID, stored).c_str());
}

std::list<CHQGS_Symbol*> CHQGS_SqliteEngine::findMarksByNameLike(int libID, const std::string& text) {
    std::string stored;
    if (!ToStored(text, &stored)) return {};
    return queryMarks(builder.findMarksByNameLike(libID, stored).c_str());
}

int CHQGS_SqliteEngine::queryInt(const char* sql, int fallback) {
    Query st(*this, sql);
    if (!st.readable() || !st.nextRow()) return fallback;
    return Integer(st.get(), 0);
}

int CHQGS_SqliteEngine::queryShowMode(const char* sql) { return queryInt(sql, kNoShowMode); }

int CHQGS_SqliteEngine::queryMarkType(const char* sql) { return queryInt(sql, 0) == 1 ? 1 : 0; }

std::string CHQGS_SqliteEngine::queryMarkName(const char* sql) {
    Query st(*this, sql);
    if (!st.readable() || !st.nextRow()) return std::string();
    return Text(st.get(), 0);
}

// ---- Tags, nodes, images ---------------------------------------------------

std::list<CHQGS_SymbolTag*> CHQGS_SqliteEngine::getTags() {
    std::list<CHQGS_SymbolTag*> tags;
    Query st(*this, builder.getTags().c_str());
    if (!st.readable()) return tags;
    int rc;
    while ((rc = sqlite3_step(st.get())) == SQLITE_ROW) {
        CHQGS_SymbolTag* tag = new CHQGS_SymbolTag();
        tag->ID = Integer(st.get(), 0);
        tag->LibName = Text(st.get(), 1);
        tag->NodeCount = Integer(st.get(), 2);
        tag->MarkCount = Integer(st.get(), 3);
        tags.push_back(tag);
    }
    if (rc != SQLITE_DONE) {
        for (CHQGS_SymbolTag* tag : tags) delete tag;
        tags.clear();
    }
    return tags;
}

std::list<CHQGS_SymbolNode*> CHQGS_SqliteEngine::getNodes(int libID, int pid) {
    std::list<CHQGS_SymbolNode*> nodes;
    Query st(*this, builder.getNodes(libID, pid).c_str());
    if (!st.readable()) return nodes;
    int rc;
    while ((rc = sqlite3_step(st.get())) == SQLITE_ROW) {
        CHQGS_SymbolNode* node = new CHQGS_SymbolNode();
        node->LibID = Integer(st.get(), 0);
        node->ID = Integer(st.get(), 1);
        node->PID = Integer(st.get(), 2);
        node->NodeLevel = Integer(st.get(), 3);
        node->NodeName = Text(st.get(), 4);
        nodes.push_back(node);
    }
    if (rc != SQLITE_DONE) {
        for (CHQGS_SymbolNode* node : nodes) delete node;
        nodes.clear();
    }
    return nodes;
}

bool CHQGS_SqliteEngine::getImage(int libID, int id, CHQGS_SymbolImage* image) {
    if (image == nullptr) return false;
    const int kImageColumn = 2;
    Query st(*this, builder.getImage(libID, id).c_str());
    if (!st.prepared()) return false;
    while (st.nextRow()) {
        image->set(static_cast<const unsigned char*>(sqlite3_column_blob(st.get(), kImageColumn)),
                   sqlite3_column_bytes(st.get(), kImageColumn));
    }
    return true;
}

// ---- Writes ----------------------------------------------------------------

bool CHQGS_SqliteEngine::execute(const std::string& sql) {
    if (db == nullptr) return false;
    startWork();
    return sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

bool CHQGS_SqliteEngine::updateNode(int libID, int id, int pid, int level, const std::string& name) {
    return execute(builder.updateNode(libID, id, pid, level, name));
}

bool CHQGS_SqliteEngine::addNode(int libID, int id, int pid, int level, const std::string& name) {
    return execute(builder.addNode(libID, id, pid, level, name));
}

bool CHQGS_SqliteEngine::deleteNode(int libID, int id, int pid) {
    return execute(builder.deleteNode(libID, id, pid));
}

bool CHQGS_SqliteEngine::updateTag(int id, const std::string& name, int nodeCount, int markCount) {
    return execute(builder.updateTag(id, name, nodeCount, markCount));
}

bool CHQGS_SqliteEngine::addTag(int id, const std::string& name, int nodeCount, int markCount) {
    return execute(builder.addTag(id, name, nodeCount, markCount));
}

bool CHQGS_SqliteEngine::deleteTag(int id) { return execute(builder.deleteTag(id)); }

bool CHQGS_SqliteEngine::updateMark(int libID, int id, int pid, const std::string& name, int connectId,
                                    int connectLibID, double mirror, double posX, double posY,
                                    double unknownS, int textNum, double heading, int markType, double minX,
                                    double minY, double maxX, double maxY, const std::string& data) {
    return execute(builder.updateMark(libID, id, pid, name, connectId, connectLibID, mirror, posX, posY,
                                      unknownS, textNum, heading, markType, minX, minY, maxX, maxY, data));
}

bool CHQGS_SqliteEngine::addMark(int libID, int id, int pid, const std::string& name, int connectId,
                                 int connectLibID, double mirror, double posX, double posY, double unknownS,
                                 int textNum, double heading, int markType, double minX, double minY,
                                 double maxX, double maxY, const std::string& data) {
    return execute(builder.addMark(libID, id, pid, name, connectId, connectLibID, mirror, posX, posY,
                                   unknownS, textNum, heading, markType, minX, minY, maxX, maxY, data));
}

bool CHQGS_SqliteEngine::deleteMark(int libID, int id) { return execute(builder.deleteMark(libID, id)); }

bool CHQGS_SqliteEngine::deleteImage(int libID, int id) { return execute(builder.deleteImage(libID, id)); }

bool CHQGS_SqliteEngine::addImage(int libID, int id, const CHQGS_SymbolImage* image) {
    if (image == nullptr) return false;
    Query st(*this, builder.addImage(libID, id).c_str());
    if (!st.prepared()) return false;
    // SQLITE_STATIC: the image outlives the statement.
    if (sqlite3_bind_blob(st.get(), 1, image->getData(), image->getSize(), SQLITE_STATIC) != SQLITE_OK)
        return false;
    return sqlite3_step(st.get()) == SQLITE_DONE;
}

bool CHQGS_SqliteEngine::replaceImage(int libID, int id, const CHQGS_SymbolImage* image) {
    deleteImage(libID, id);
    return addImage(libID, id, image);
}

}  // namespace HQ

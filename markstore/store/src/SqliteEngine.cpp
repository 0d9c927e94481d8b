#include <markstore_internal/SqliteEngine.h>

#include <markstore_internal/LibraryKey.h>

#include <geomkit/UtilityFunctions.h>
#include <markstore/Symbol.h>

#include <sqlite3.h>

namespace HQ {

namespace {

// The key is only checked when a page is read: this cheap read of the schema
// makes a wrong key (or a file that is no database) fail at open.
const char kKeyCheck[] = "SELECT count(*) FROM sqlite_master;";

// One prepared statement, finalized when it goes out of scope.
class Statement {
public:
    // length -1: up to the terminating zero.
    Statement(sqlite3* db, const char* sql, int length = -1) : stmt_(nullptr), ok_(false) {
        if (db != nullptr && sql != nullptr)
            ok_ = sqlite3_prepare_v2(db, sql, length, &stmt_, nullptr) == SQLITE_OK && stmt_ != nullptr;
    }
    ~Statement() { sqlite3_finalize(stmt_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool prepared() const { return ok_; }
    // Prepared and delivering result columns.
    bool readable() const { return ok_ && sqlite3_column_count(stmt_) > 0; }
    bool nextRow() { return sqlite3_step(stmt_) == SQLITE_ROW; }
    int integer(int col) const { return sqlite3_column_int(stmt_, col); }
    // The column's text converted from UTF-8 to the local code page; a NULL
    // column reads as the empty text.
    std::string text(int col) const {
        const unsigned char* t = sqlite3_column_text(stmt_, col);
        if (t == nullptr) return std::string();
        std::string utf8(reinterpret_cast<const char*>(t),
                         static_cast<size_t>(sqlite3_column_bytes(stmt_, col)));
        return CHQGS_UtilityFunctions::UTF8ToANSI(utf8);
    }
    sqlite3_stmt* get() const { return stmt_; }

private:
    sqlite3_stmt* stmt_;
    bool ok_;
};

CHQGS_MarkRow ReadMarkRow(const Statement& st) {
    CHQGS_MarkRow row;
    for (int col = 0; col < CHQGS_MarkRow::kColumns; ++col) {
        if (col == CHQGS_MarkRow::kNameColumn || col == CHQGS_MarkRow::kDataColumn) continue;
        row.values[col] = st.integer(col);
    }
    row.name = st.text(CHQGS_MarkRow::kNameColumn);
    row.data = st.text(CHQGS_MarkRow::kDataColumn);
    row.hasTrailing = true;
    return row;
}

}  // namespace

CHQGS_SqliteEngine::CHQGS_SqliteEngine() : db(nullptr) {}

CHQGS_SqliteEngine::~CHQGS_SqliteEngine() { close(); }

void CHQGS_SqliteEngine::setDBPath(const char* path) { dbPath = path != nullptr ? path : ""; }

bool CHQGS_SqliteEngine::open() {
    close();
    // An empty name would open a private temporary database, not a file.
    if (dbPath.empty()) return false;
    sqlite3* handle = nullptr;
    bool ok = sqlite3_open_v2(dbPath.c_str(), &handle, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK &&
              sqlite3_key(handle, kLibraryKey, kLibraryKeyLength) == SQLITE_OK;
    if (ok) {
        Statement check(handle, kKeyCheck);
        ok = check.readable() && check.nextRow();
    }
    if (!ok) {
        sqlite3_close(handle);  // also releases a handle that came with a failure
        return false;
    }
    db = handle;
    opened = true;
    return true;
}

void CHQGS_SqliteEngine::close() {
    if (!opened) return;
    if (db != nullptr) sqlite3_close(db);
    db = nullptr;
    opened = false;
}

// ---- Marks -----------------------------------------------------------------

CHQGS_Symbol* CHQGS_SqliteEngine::queryMark(const char* sql) {
    Statement st(db, sql);
    if (!st.readable() || !st.nextRow()) return nullptr;
    return SymbolFromRow(ReadMarkRow(st));
}

std::list<CHQGS_Symbol*> CHQGS_SqliteEngine::queryMarks(const char* sql) {
    std::list<CHQGS_Symbol*> marks;
    Statement st(db, sql);
    if (!st.readable()) return marks;
    while (st.nextRow()) marks.push_back(SymbolFromRow(ReadMarkRow(st)));
    return marks;
}

std::list<CHQGS_Symbol*> CHQGS_SqliteEngine::getMarksByNode(int libID, int pid) {
    return queryMarks(builder.getMarksByNode(libID, pid).c_str());
}

std::list<CHQGS_Symbol*> CHQGS_SqliteEngine::findMarksById(int id, int libID) {
    return queryMarks(builder.findMarksById(id, libID).c_str());
}

std::list<CHQGS_Symbol*> CHQGS_SqliteEngine::findMarksByIdLike(int id, int libID) {
    return queryMarks(builder.findMarksByIdLike(id, libID).c_str());
}

std::list<CHQGS_Symbol*> CHQGS_SqliteEngine::findMarksByName(int libID, const std::string& name) {
    return queryMarks(builder.findMarksByName(libID, name).c_str());
}

std::list<CHQGS_Symbol*> CHQGS_SqliteEngine::findMarksByNameLike(int libID, const std::string& text) {
    return queryMarks(builder.findMarksByNameLike(libID, text).c_str());
}

std::string CHQGS_SqliteEngine::getMarkData(int libID, int id) {
    Statement st(db, builder.getMarkData(libID, id).c_str());
    if (!st.readable() || !st.nextRow()) return std::string();
    return st.text(CHQGS_MarkRow::kDataColumn);
}

int CHQGS_SqliteEngine::queryInt(const char* sql, int fallback) {
    Statement st(db, sql);
    if (!st.readable() || !st.nextRow()) return fallback;
    return st.integer(0);
}

int CHQGS_SqliteEngine::queryShowMode(const char* sql) { return queryInt(sql, kNoShowMode); }

int CHQGS_SqliteEngine::queryMarkType(const char* sql) { return queryInt(sql, 0) == 1 ? 1 : 0; }

std::string CHQGS_SqliteEngine::queryMarkName(const char* sql) {
    Statement st(db, sql);
    if (!st.readable() || !st.nextRow()) return std::string();
    return st.text(0);
}

// ---- Tags, nodes, images ---------------------------------------------------

std::list<CHQGS_SymbolTag*> CHQGS_SqliteEngine::getTags() {
    std::list<CHQGS_SymbolTag*> tags;
    Statement st(db, builder.getTags().c_str());
    if (!st.readable()) return tags;
    while (st.nextRow()) {
        CHQGS_SymbolTag* tag = new CHQGS_SymbolTag();
        tag->ID = st.integer(0);
        tag->LibName = st.text(1);
        tag->NodeCount = st.integer(2);
        tag->MarkCount = st.integer(3);
        tags.push_back(tag);
    }
    return tags;
}

std::list<CHQGS_SymbolNode*> CHQGS_SqliteEngine::getNodes(int libID, int pid) {
    std::list<CHQGS_SymbolNode*> nodes;
    Statement st(db, builder.getNodes(libID, pid).c_str());
    if (!st.readable()) return nodes;
    while (st.nextRow()) {
        CHQGS_SymbolNode* node = new CHQGS_SymbolNode();
        node->LibID = st.integer(0);
        node->ID = st.integer(1);
        node->PID = st.integer(2);
        node->NodeLevel = st.integer(3);
        node->NodeName = st.text(4);
        nodes.push_back(node);
    }
    return nodes;
}

bool CHQGS_SqliteEngine::getImage(int libID, int id, CHQGS_SymbolImage* image) {
    if (image == nullptr) return false;
    const int kImageColumn = 2;
    Statement st(db, builder.getImage(libID, id).c_str());
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
    Statement st(db, builder.addImage(libID, id).c_str());
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

// SPDX-License-Identifier: Apache-2.0
#include <markstore_internal/MySQLEngine.h>

#include <markstore/Symbol.h>

#include <errmsg.h>

#include <algorithm>
#include <climits>
#include <cstring>

namespace HQ {

const char CHQGS_MySQLEngine::kCharset[] = "UTF8";

namespace {

// The buffer type of the image parameter and of the image column.
constexpr enum_field_types kBlobType = MYSQL_TYPE_BLOB;

}  // namespace

// The stored result of one text query (used by this file only), freed when
// it goes out of scope. A statement that fails, or that answers no result
// set, leaves it empty.
class MySQLResult {
public:
    MySQLResult() = default;
    ~MySQLResult() { clear(); }

    // Runs the statement and takes its whole result; false when the server
    // refused it or the result could not be read.
    bool run(MYSQL* mysql, const char* sql, size_t length) {
        clear();
        if (sql == nullptr || mysql_real_query(mysql, sql, length) != 0) return false;
        res_ = mysql_store_result(mysql);
        // No result set is an answer only for a statement that has none.
        if (res_ == nullptr && mysql_errno(mysql) != 0) return false;
        if (res_ != nullptr) fields_ = mysql_num_fields(res_);
        ran_ = true;
        return true;
    }
    void clear() {
        if (res_ != nullptr) mysql_free_result(res_);
        res_ = nullptr;
        row_ = nullptr;
        lengths_ = nullptr;
        fields_ = 0;
        ran_ = false;
    }
    MySQLResult(const MySQLResult&) = delete;
    MySQLResult& operator=(const MySQLResult&) = delete;

    // The server accepted the statement.
    bool ran() const { return ran_; }
    // At least one row with at least one column came back.
    bool hasRows() const { return res_ != nullptr && fields_ > 0 && mysql_num_rows(res_) >= 1; }
    unsigned int fields() const { return fields_; }
    MYSQL_RES* get() const { return res_; }

    bool next() {
        row_ = res_ != nullptr ? mysql_fetch_row(res_) : nullptr;
        lengths_ = row_ != nullptr ? mysql_fetch_lengths(res_) : nullptr;
        return row_ != nullptr;
    }
    // Column col of the current row; a NULL or missing column reads as 0.
    int integer(unsigned int col) const { return col < fields_ ? CHQGS_MySQLEngine::ParseInt(row_[col]) : 0; }
    // Column col of the current row, bytes as they came; a NULL or missing
    // column reads as the empty text.
    std::string text(unsigned int col) const {
        if (col >= fields_ || row_[col] == nullptr) return std::string();
        return std::string(row_[col], lengths_[col]);
    }
    const char* bytes(unsigned int col) const { return row_[col]; }
    unsigned long length(unsigned int col) const { return lengths_[col]; }

private:
    MYSQL_RES* res_ = nullptr;
    MYSQL_ROW row_ = nullptr;
    unsigned long* lengths_ = nullptr;
    unsigned int fields_ = 0;
    bool ran_ = false;
};

namespace {

CHQGS_MarkRow ReadMarkRow(const MySQLResult& r) {
    CHQGS_MarkRow row;
    for (int col = 0; col < CHQGS_MarkRow::kColumns; ++col) {
        if (col == CHQGS_MarkRow::kNameColumn || col == CHQGS_MarkRow::kDataColumn) continue;
        row.values[col] = r.integer(static_cast<unsigned int>(col));
    }
    row.name = r.text(CHQGS_MarkRow::kNameColumn);
    row.data = r.text(CHQGS_MarkRow::kDataColumn);
    row.hasTrailing = r.fields() >= static_cast<unsigned int>(CHQGS_MarkRow::kColumns);
    return row;
}

// What mysql_real_escape_string writes for a server that treats the
// backslash as an escape character; used only while no connection is open
// (no statement is sent then).
std::string BackslashEscaped(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '\0':
                out += "\\0";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\x1a':
                out += "\\Z";
                break;
            case '\\':
            case '\'':
            case '"':
                out += '\\';
                out += c;
                break;
            default:
                out += c;
        }
    }
    return out;
}

// A LIKE pattern whose backslashes match themselves: the server reads a
// backslash in a pattern as the escape of the next character.
std::string LiteralBackslashes(const std::string& pattern) {
    std::string out;
    out.reserve(pattern.size());
    for (char c : pattern) {
        out += c;
        if (c == '\\') out += c;
    }
    return out;
}

bool IsBlank(unsigned char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }

}  // namespace

CHQGS_MySQLEngine::CHQGS_MySQLEngine()
    : CHQGS_BaseEngine(CHQGS_StatementBuilder(
          CHQGS_StatementBuilder::MySQLDialect,
          [this](const std::string& text, char quote) { return escapeText(text, quote); })),
      port(kDefaultPort),
      reconnects(0) {
    // Prepared by mysql_init at every open; zeroed so that nothing reads
    // indeterminate memory before.
    std::memset(&mysql, 0, sizeof mysql);
}

CHQGS_MySQLEngine::~CHQGS_MySQLEngine() { close(); }

void CHQGS_MySQLEngine::setHost(const char* value) { host = value != nullptr ? value : ""; }
void CHQGS_MySQLEngine::setUser(const char* value) { user = value != nullptr ? value : ""; }
void CHQGS_MySQLEngine::setPassward(const char* value) { password = value != nullptr ? value : ""; }
void CHQGS_MySQLEngine::setDBname(const char* value) { dbName = value != nullptr ? value : ""; }
void CHQGS_MySQLEngine::setPort(unsigned int value) { port = value; }

bool CHQGS_MySQLEngine::open() {
    close();
    if (!connect()) return false;
    opened = true;
    return true;
}

bool CHQGS_MySQLEngine::connect() {
    if (mysql_init(&mysql) == nullptr) {
        lastErrorText = "cannot prepare a connection";
        return false;
    }
    mysql_options(&mysql, MYSQL_SET_CHARSET_NAME, kCharset);
    const unsigned int connectTimeout = kConnectTimeoutSeconds;
    const unsigned int readTimeout = kReadTimeoutSeconds;
    const unsigned int writeTimeout = kWriteTimeoutSeconds;
    mysql_options(&mysql, MYSQL_OPT_CONNECT_TIMEOUT, &connectTimeout);
    mysql_options(&mysql, MYSQL_OPT_READ_TIMEOUT, &readTimeout);
    mysql_options(&mysql, MYSQL_OPT_WRITE_TIMEOUT, &writeTimeout);
    if (mysql_real_connect(&mysql, host.c_str(), user.c_str(), password.c_str(), dbName.c_str(), port,
                           nullptr, 0) == nullptr) {
        keepError();
        // The structure holds the options and the error: release them.
        mysql_close(&mysql);
        return false;
    }
    return true;
}

void CHQGS_MySQLEngine::keepError() {
    const char* text = mysql_error(&mysql);
    lastErrorText = text != nullptr && *text != '\0' ? text : "error " + std::to_string(mysql_errno(&mysql));
}

bool CHQGS_MySQLEngine::connectionLost() {
    const unsigned int code = mysql_errno(&mysql);
    return code == CR_SERVER_GONE_ERROR || code == CR_SERVER_LOST;
}

bool CHQGS_MySQLEngine::reconnect() {
    ++reconnects;
    mysql_close(&mysql);
    if (connect()) return true;
    // The engine stays open: the next read tries again.
    std::memset(&mysql, 0, sizeof mysql);
    mysql_init(&mysql);
    return false;
}

bool CHQGS_MySQLEngine::read(MySQLResult& result, const char* sql, size_t length) {
    if (!opened || sql == nullptr) return false;
    if (result.run(&mysql, sql, length)) return true;
    keepError();
    // A read that failed because the connection was lost is tried once more
    // on a new connection.
    if (!connectionLost() || !reconnect()) return false;
    if (result.run(&mysql, sql, length)) return true;
    keepError();
    return false;
}

bool CHQGS_MySQLEngine::read(MySQLResult& result, const std::string& sql) {
    return read(result, sql.c_str(), sql.size());
}

void CHQGS_MySQLEngine::close() {
    if (!opened) return;
    mysql_close(&mysql);
    opened = false;
}

unsigned long CHQGS_MySQLEngine::connectionId() { return opened ? mysql_thread_id(&mysql) : 0; }

int CHQGS_MySQLEngine::ParseInt(const char* text) {
    if (text == nullptr) return 0;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    while (IsBlank(*p)) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    if (!IsDigit(*p)) return 0;
    // The magnitude, saturated just past the largest that fits.
    const unsigned long long kPastLimit = static_cast<unsigned long long>(INT_MAX) + 2;
    unsigned long long magnitude = 0;
    for (; IsDigit(*p); ++p) magnitude = std::min(magnitude * 10 + (*p - '0'), kPastLimit);
    if (negative) {
        if (magnitude > static_cast<unsigned long long>(INT_MAX) + 1) return INT_MIN;
        return static_cast<int>(0 - static_cast<long long>(magnitude));
    }
    return magnitude > static_cast<unsigned long long>(INT_MAX) ? INT_MAX : static_cast<int>(magnitude);
}

bool CHQGS_MySQLEngine::backslashEscapes() const {
    return (mysql.server_status & SERVER_STATUS_NO_BACKSLASH_ESCAPES) == 0;
}

bool CHQGS_MySQLEngine::likeBackslashEscapes() {
    // MariaDB servers keep the backslash as the escape character of LIKE
    // patterns even when string literals take it as it is.
    if (backslashEscapes()) return true;
    const char* server = mysql_get_server_info(&mysql);
    return server != nullptr && std::strstr(server, "MariaDB") != nullptr;
}

std::string CHQGS_MySQLEngine::escapeText(const std::string& text, char quote) {
    if (!opened) return BackslashEscaped(text);
    // Without backslash escapes only the enclosing quote is special, and it
    // stands for itself when doubled. (The client library would double the
    // single quote in that mode, which is wrong between double quotes.)
    if (!backslashEscapes()) return CHQGS_StatementBuilder::DoubleQuoteChar(text, quote);
    // Every byte can grow to two, plus the terminating zero.
    std::string out(text.size() * 2 + 1, '\0');
    unsigned long n = mysql_real_escape_string(&mysql, &out[0], text.data(), text.size());
    if (n == static_cast<unsigned long>(-1)) return BackslashEscaped(text);
    out.resize(n);
    return out;
}

bool CHQGS_MySQLEngine::execute(const std::string& sql) {
    if (!opened) return false;
    // Not tried again: the statement may have run before the connection was
    // lost.
    if (mysql_real_query(&mysql, sql.c_str(), sql.size()) != 0) {
        keepError();
        return false;
    }
    // A statement that answered rows after all: drain them, or the
    // connection refuses the next command.
    if (MYSQL_RES* rows = mysql_store_result(&mysql)) mysql_free_result(rows);
    return true;
}

// ---- Marks -----------------------------------------------------------------

CHQGS_Symbol* CHQGS_MySQLEngine::queryMark(const char* sql) {
    if (!opened || sql == nullptr) return nullptr;
    MySQLResult r;
    read(r, sql, std::strlen(sql));
    if (!r.hasRows()) return nullptr;
    // The last row wins: only its symbol is built.
    CHQGS_MarkRow last;
    bool any = false;
    while (r.next()) {
        last = ReadMarkRow(r);
        any = true;
    }
    return any ? SymbolFromRow(last) : nullptr;
}

std::list<CHQGS_Symbol*> CHQGS_MySQLEngine::queryMarks(const char* sql) {
    if (!opened || sql == nullptr) return {};
    MySQLResult r;
    read(r, sql, std::strlen(sql));
    return marksOf(r);
}

std::list<CHQGS_Symbol*> CHQGS_MySQLEngine::queryMarkRows(const std::string& sql) {
    if (!opened) return {};
    MySQLResult r;
    read(r, sql);
    return marksOf(r);
}

std::list<CHQGS_Symbol*> CHQGS_MySQLEngine::marksOf(MySQLResult& r) {
    std::list<CHQGS_Symbol*> marks;
    if (!r.hasRows()) return marks;
    while (r.next()) marks.push_back(SymbolFromRow(ReadMarkRow(r)));
    return marks;
}

// The SQLite engine's statement, so that the manager's mark keys work with
// this engine too.
std::list<CHQGS_Symbol*> CHQGS_MySQLEngine::getMarksByNode(int libID, int pid) {
    if (!opened) return {};
    return queryMarkRows(builder.getMarksByNode(libID, pid));
}

std::list<CHQGS_Symbol*> CHQGS_MySQLEngine::findMarksById(int id, int libID) {
    if (!opened) return {};
    return queryMarkRows(builder.findMarksById(id, libID));
}

std::list<CHQGS_Symbol*> CHQGS_MySQLEngine::findMarksByIdLike(int id, int libID) {
    if (!opened) return {};
    return queryMarkRows(builder.findMarksByIdLike(id, libID));
}

std::list<CHQGS_Symbol*> CHQGS_MySQLEngine::findMarksByName(int libID, const std::string& name) {
    if (!opened) return {};
    return queryMarkRows(builder.findMarksByName(libID, name));
}

std::list<CHQGS_Symbol*> CHQGS_MySQLEngine::findMarksByNameLike(int libID, const std::string& text) {
    if (!opened) return {};
    // '%' and '_' stay wildcards; a backslash searches for itself, as it does
    // in the SQLite engine.
    const std::string pattern = likeBackslashEscapes() ? LiteralBackslashes(text) : text;
    return queryMarkRows(builder.findMarksByNameLike(libID, pattern));
}

std::string CHQGS_MySQLEngine::getMarkData(int libID, int id) {
    if (!opened) return std::string();
    MySQLResult r;
    read(r, builder.getMarkData(libID, id));
    std::string data;
    if (!r.hasRows()) return data;
    while (r.next()) data = r.text(CHQGS_MarkRow::kDataColumn);
    return data;
}

int CHQGS_MySQLEngine::queryShowMode(const char* sql) {
    int showMode = kNoShowMode;
    if (!opened || sql == nullptr) return showMode;
    MySQLResult r;
    read(r, sql, std::strlen(sql));
    if (!r.hasRows()) return showMode;
    while (r.next()) showMode = r.integer(0);
    return showMode;
}

int CHQGS_MySQLEngine::queryMarkType(const char* sql) {
    int markType = 0;
    if (!opened || sql == nullptr) return markType;
    MySQLResult r;
    read(r, sql, std::strlen(sql));
    if (!r.hasRows()) return markType;
    while (r.next()) markType = r.integer(0);
    return markType == 1 ? 1 : 0;
}

std::string CHQGS_MySQLEngine::queryMarkName(const char* sql) {
    std::string name;
    if (!opened || sql == nullptr) return name;
    MySQLResult r;
    read(r, sql, std::strlen(sql));
    if (!r.hasRows()) return name;
    while (r.next()) name = r.text(0);
    return name;
}

// ---- Tags, nodes, images ---------------------------------------------------

std::list<CHQGS_SymbolTag*> CHQGS_MySQLEngine::getTags() {
    std::list<CHQGS_SymbolTag*> tags;
    if (!opened) return tags;
    MySQLResult r;
    read(r, builder.getTags());
    if (!r.hasRows()) return tags;
    while (r.next()) {
        CHQGS_SymbolTag* tag = new CHQGS_SymbolTag();
        tag->ID = r.integer(0);
        tag->LibName = r.text(1);
        tag->NodeCount = r.integer(2);
        tag->MarkCount = r.integer(3);
        tags.push_back(tag);
    }
    return tags;
}

std::list<CHQGS_SymbolNode*> CHQGS_MySQLEngine::getNodes(int libID, int pid) {
    std::list<CHQGS_SymbolNode*> nodes;
    if (!opened) return nodes;
    MySQLResult r;
    read(r, builder.getNodes(libID, pid));
    if (!r.hasRows()) return nodes;
    while (r.next()) {
        CHQGS_SymbolNode* node = new CHQGS_SymbolNode();
        node->LibID = r.integer(0);
        node->ID = r.integer(1);
        node->PID = r.integer(2);
        node->NodeLevel = r.integer(3);
        node->NodeName = r.text(4);
        nodes.push_back(node);
    }
    return nodes;
}

bool CHQGS_MySQLEngine::getImage(int libID, int id, CHQGS_SymbolImage* image) {
    if (!opened || image == nullptr) return false;
    MySQLResult r;
    read(r, builder.getImage(libID, id));
    if (!r.ran()) return false;
    if (!r.hasRows()) return true;
    const unsigned int last = r.fields() - 1;
    const MYSQL_FIELD* field = mysql_fetch_field_direct(r.get(), last);
    if (field == nullptr || field->type != kBlobType) return true;
    while (r.next()) {
        // The image's size is a 32-bit count.
        if (r.length(last) > static_cast<unsigned long>(INT_MAX)) continue;
        image->set(reinterpret_cast<const unsigned char*>(r.bytes(last)), static_cast<int>(r.length(last)));
    }
    return true;
}

// ---- Writes ----------------------------------------------------------------

bool CHQGS_MySQLEngine::updateNode(int libID, int id, int pid, int level, const std::string& name) {
    return opened && execute(builder.updateNode(libID, id, pid, level, name));
}

bool CHQGS_MySQLEngine::addNode(int libID, int id, int pid, int level, const std::string& name) {
    return opened && execute(builder.addNode(libID, id, pid, level, name));
}

bool CHQGS_MySQLEngine::deleteNode(int libID, int id, int pid) {
    return opened && execute(builder.deleteNode(libID, id, pid));
}

bool CHQGS_MySQLEngine::updateTag(int id, const std::string& name, int nodeCount, int markCount) {
    return opened && execute(builder.updateTag(id, name, nodeCount, markCount));
}

bool CHQGS_MySQLEngine::addTag(int id, const std::string& name, int nodeCount, int markCount) {
    return opened && execute(builder.addTag(id, name, nodeCount, markCount));
}

bool CHQGS_MySQLEngine::deleteTag(int id) { return opened && execute(builder.deleteTag(id)); }

bool CHQGS_MySQLEngine::updateMark(int libID, int id, int pid, const std::string& name, int connectId,
                                   int connectLibID, double mirror, double posX, double posY, double unknownS,
                                   int textNum, double heading, int markType, double minX, double minY,
                                   double maxX, double maxY, const std::string& data) {
    return opened &&
           execute(builder.updateMark(libID, id, pid, name, connectId, connectLibID, mirror, posX, posY,
                                      unknownS, textNum, heading, markType, minX, minY, maxX, maxY, data));
}

bool CHQGS_MySQLEngine::addMark(int libID, int id, int pid, const std::string& name, int connectId,
                                int connectLibID, double mirror, double posX, double posY, double unknownS,
                                int textNum, double heading, int markType, double minX, double minY,
                                double maxX, double maxY, const std::string& data) {
    return opened &&
           execute(builder.addMark(libID, id, pid, name, connectId, connectLibID, mirror, posX, posY,
                                   unknownS, textNum, heading, markType, minX, minY, maxX, maxY, data));
}

bool CHQGS_MySQLEngine::deleteMark(int libID, int id) {
    return opened && execute(builder.deleteMark(libID, id));
}

bool CHQGS_MySQLEngine::deleteImage(int libID, int id) {
    return opened && execute(builder.deleteImage(libID, id));
}

bool CHQGS_MySQLEngine::addImage(int libID, int id, const CHQGS_SymbolImage* image) {
    if (!opened || image == nullptr) return false;
    const std::string sql = builder.addImage(libID, id);
    MYSQL_STMT* stmt = mysql_stmt_init(&mysql);
    if (stmt == nullptr) return false;
    bool stored = false;
    if (mysql_stmt_prepare(stmt, sql.c_str(), sql.size()) == 0) {
        // An empty image is stored as an empty blob; the buffer must still
        // point somewhere.
        static unsigned char noBytes = 0;
        MYSQL_BIND param;
        std::memset(&param, 0, sizeof param);
        param.buffer_type = kBlobType;
        param.buffer = image->getData() != nullptr ? const_cast<unsigned char*>(image->getData()) : &noBytes;
        param.buffer_length = static_cast<unsigned long>(image->getSize());
        if (mysql_stmt_bind_param(stmt, &param) == 0 && mysql_stmt_execute(stmt) == 0)
            stored = mysql_stmt_affected_rows(stmt) == 1;
    }
    mysql_stmt_close(stmt);
    return stored;
}

bool CHQGS_MySQLEngine::replaceImage(int libID, int id, const CHQGS_SymbolImage* image) {
    // Without a new image the old one is kept.
    if (!opened || image == nullptr) return false;
    deleteImage(libID, id);
    return addImage(libID, id, image);
}

}  // namespace HQ

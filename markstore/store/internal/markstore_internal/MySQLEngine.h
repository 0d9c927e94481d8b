// SPDX-License-Identifier: Apache-2.0
// CHQGS_MySQLEngine: serves the symbol library from a MySQL-protocol server
// through the MariaDB client library. Statements go out as text queries and
// rows come back as text; numbers are parsed from it as formatted stream
// extraction parses an int. The connection runs in the "UTF8" character set
// and no text is converted in either direction. A single-row read takes the
// last row; mark rows fill ExtraInt1/ExtraInt2 from columns 18 and 19 when
// the row has them. Only the image bytes travel as a bound parameter.
//
// Texts spliced into statements are escaped with the client library's own
// mysql_real_escape_string on the open connection, so that a backslash or a
// quote inside a name or a data text is stored as it is and cannot end the
// literal (doubling the quote alone does not suffice where the server treats
// the backslash as an escape character). Texts without special characters
// are spliced byte for byte.
//
// Time-outs: connecting gives up after kConnectTimeoutSeconds, and a read or
// write on the connection after kReadTimeoutSeconds or kWriteTimeoutSeconds
// without progress (a frozen server, a listener that never answers). They
// are fixed: the manager's settings offer no place for them.
//
// A read that fails because the connection was lost (server restarted or
// gone, connection killed, a time-out) connects anew once with the same
// settings and is tried again; writes are not tried again (they may have run
// before the connection was lost), but the next read reconnects. When the
// server stays away every read answers its default and every write false,
// and the engine stays open, trying again at the next read. The server's
// text of the last failure is kept (lastError) for diagnostics; it does not
// leave the library.
#ifndef MARKSTORE_INTERNAL_MYSQLENGINE_H
#define MARKSTORE_INTERNAL_MYSQLENGINE_H

#include "BaseEngine.h"

#include <mysql.h>

namespace HQ {

class MySQLResult;

class CHQGS_MySQLEngine : public CHQGS_BaseEngine {
public:
    // The port used when setPort was not called.
    static const unsigned int kDefaultPort = 3306;
    // Time-outs of the connection, in seconds.
    static const unsigned int kConnectTimeoutSeconds = 3;
    static const unsigned int kReadTimeoutSeconds = 5;
    static const unsigned int kWriteTimeoutSeconds = 5;
    // The character set the connection runs in.
    static const char kCharset[];

    CHQGS_MySQLEngine();
    ~CHQGS_MySQLEngine() override;

    // Connects with the current settings (reconnects an open engine). False,
    // and closed, when the server cannot be reached or refuses the login or
    // the database.
    bool open() override;
    void close() override;
    // The setters copy the text (null counts as empty); the settings take
    // effect at the next open.
    void setHost(const char* host) override;
    void setUser(const char* user) override;
    void setPassward(const char* password) override;
    void setDBname(const char* name) override;
    void setPort(unsigned int port) override;

    std::list<CHQGS_Symbol*> getMarksByNode(int libID, int pid) override;
    CHQGS_Symbol* queryMark(const char* sql) override;
    std::string getMarkData(int libID, int id) override;
    int queryShowMode(const char* sql) override;
    int queryMarkType(const char* sql) override;
    std::string queryMarkName(const char* sql) override;
    std::list<CHQGS_Symbol*> findMarksById(int id, int libID) override;
    std::list<CHQGS_Symbol*> findMarksByIdLike(int id, int libID) override;
    std::list<CHQGS_Symbol*> findMarksByName(int libID, const std::string& name) override;
    std::list<CHQGS_Symbol*> findMarksByNameLike(int libID, const std::string& text) override;
    std::list<CHQGS_SymbolTag*> getTags() override;
    std::list<CHQGS_SymbolNode*> getNodes(int libID, int pid) override;
    // Only a blob-typed last column is taken as the image; true when the
    // query ran, also when no row came (image unchanged).
    bool getImage(int libID, int id, CHQGS_SymbolImage* image) override;
    bool updateNode(int libID, int id, int pid, int level, const std::string& name) override;
    bool addNode(int libID, int id, int pid, int level, const std::string& name) override;
    bool deleteNode(int libID, int id, int pid) override;
    bool updateTag(int id, const std::string& name, int nodeCount, int markCount) override;
    bool addTag(int id, const std::string& name, int nodeCount, int markCount) override;
    bool deleteTag(int id) override;
    bool updateMark(int libID, int id, int pid, const std::string& name, int connectId, int connectLibID,
                    double mirror, double posX, double posY, double unknownS, int textNum, double heading,
                    int markType, double minX, double minY, double maxX, double maxY,
                    const std::string& data) override;
    bool addMark(int libID, int id, int pid, const std::string& name, int connectId, int connectLibID,
                 double mirror, double posX, double posY, double unknownS, int textNum, double heading,
                 int markType, double minX, double minY, double maxX, double maxY,
                 const std::string& data) override;
    bool deleteMark(int libID, int id) override;
    // deleteImage, then addImage; true when the new image was stored.
    bool replaceImage(int libID, int id, const CHQGS_SymbolImage* image) override;
    // True when the server stored the row (a null image stores nothing).
    bool addImage(int libID, int id, const CHQGS_SymbolImage* image) override;
    bool deleteImage(int libID, int id) override;
    std::list<CHQGS_Symbol*> queryMarks(const char* sql) override;

    // Runs one statement that answers no rows; true when the server accepted
    // it. False on a closed engine.
    bool execute(const std::string& sql);

    // The settings open will use.
    const std::string& hostSetting() const { return host; }
    const std::string& userSetting() const { return user; }
    const std::string& passwordSetting() const { return password; }
    const std::string& dbNameSetting() const { return dbName; }
    unsigned int portSetting() const { return port; }
    // The server's identifier of the open connection; 0 when closed.
    unsigned long connectionId();
    // The error text of the last failed connect or statement (empty before
    // the first failure).
    const std::string& lastError() const { return lastErrorText; }
    // How often a lost connection was made anew.
    int reconnectCount() const { return reconnects; }

    // The 32-bit integer at the start of text as formatted stream extraction
    // reads it: leading white space skipped, an optional sign, decimal
    // digits up to the first other character; 0 when no digit comes (or
    // text is null); the nearest limit when the value does not fit.
    static int ParseInt(const char* text);

    // text made safe to stand between two quote characters of a statement
    // sent on this engine's connection.
    std::string escapeText(const std::string& text, char quote);

private:
    // Connects mysql with the settings and the time-outs; keeps the error.
    bool connect();
    // Closes the lost connection and connects anew.
    bool reconnect();
    // The last failure was the loss of the connection.
    bool connectionLost();
    void keepError();
    // Runs a read into result, once more on a new connection when the
    // connection was lost; false when it failed (or the engine is closed).
    bool read(MySQLResult& result, const char* sql, size_t length);
    bool read(MySQLResult& result, const std::string& sql);
    // One symbol per row of the statement (which may hold any byte).
    std::list<CHQGS_Symbol*> queryMarkRows(const std::string& sql);
    static std::list<CHQGS_Symbol*> marksOf(MySQLResult& result);
    // The server treats the backslash as an escape character in literals
    // (and in LIKE patterns); false when its mode says otherwise.
    bool backslashEscapes() const;
    // The server reads a backslash in a LIKE pattern as an escape.
    bool likeBackslashEscapes();

    MYSQL mysql;
    std::string host;
    std::string user;
    std::string password;
    std::string dbName;
    unsigned int port;
    std::string lastErrorText;
    int reconnects;
};

}  // namespace HQ

#endif

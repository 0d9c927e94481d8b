// SPDX-License-Identifier: Apache-2.0
// CHQGS_SqliteEngine: serves the symbol library from a local SQLite database
// file protected by the library key (LibraryKey.h), opened read-only (so
// every write is refused). A single-row read takes the first row.
//
// Texts. Every text read from the file (names, the data text of getMarkData)
// is converted from UTF-8 to the local code page. A mark's data text is
// parsed as stored (UTF-8) and only the texts of its drawing are converted,
// each on its own, so that a character the code page cannot hold empties
// that one text and not the whole drawing. The texts given to the name
// searches are converted from the local code page to UTF-8 before they are
// spliced in; one that does not convert finds nothing. Other texts spliced
// into statements (writes) are not converted.
//
// Hot reads (a mark by its identifiers, its show mode, type and name, the
// marks of a node) run one prepared statement per kind, kept from their first
// use until close, with the identifiers bound; the statement texts are the
// statement builder's with the values as parameters. Other reads and the
// writes compile their statement text on every call.
//
// Work budget. Every statement may run kWorkBudget virtual machine
// instructions (counted from its first step to its last); one that runs
// longer is interrupted and the read answers its default. Reading every row
// and column of Marks costs about 34 instructions a row, so the budget covers
// a full scan of about 1.5 million marks (a real library holds thousands),
// while a crafted file cannot make a read run for ever: spending the whole
// budget takes about a second.
#ifndef MARKSTORE_INTERNAL_SQLITEENGINE_H
#define MARKSTORE_INTERNAL_SQLITEENGINE_H

#include "BaseEngine.h"

struct sqlite3;
struct sqlite3_stmt;

namespace HQ {

class CHQGS_SqliteEngine : public CHQGS_BaseEngine {
public:
    CHQGS_SqliteEngine();
    ~CHQGS_SqliteEngine() override;

    // Opens the file read-only and applies the key. False (and closed) when
    // the file is missing or unreadable, the key does not open it, or it
    // does not hold the library's four tables (Tags, Nodes, Marks, Images,
    // as tables, with at least the columns the engine reads); a damaged
    // schema counts as none.
    bool open() override;
    void close() override;
    // Copies the path (null counts as empty); used at the next open.
    void setDBPath(const char* path) override;

    CHQGS_Symbol* getMark(int libID, int id) override;
    int getShowMode(unsigned int libID, unsigned int id) override;
    int getMarkType(unsigned int libID, unsigned int id) override;
    std::string getMarkName(unsigned int libID, unsigned int id) override;
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
    bool replaceImage(int libID, int id, const CHQGS_SymbolImage* image) override;
    bool addImage(int libID, int id, const CHQGS_SymbolImage* image) override;
    bool deleteImage(int libID, int id) override;
    std::list<CHQGS_Symbol*> queryMarks(const char* sql) override;

    // The reads served by a kept prepared statement.
    enum HotRead { HotMark, HotShowMode, HotMarkType, HotMarkName, HotMarksByNode, HotReadCount };
    // The statement text of a hot read: the builder's text with ?1 (the
    // library) and ?2 (the mark or node) in place of the values.
    static const char* HotReadText(HotRead read);

    // Virtual machine instructions one statement may run; the progress
    // handler looks every kWorkStep instructions.
    static const long long kWorkBudget = 50000000;
    static const int kWorkStep = 1000;
    // The connection's page cache, in KiB (SQLite's default is 2000 KiB).
    static const int kPageCacheKiB = 32768;

    // The number of hot statements prepared so far (0 after close).
    int preparedHotReads() const;

private:
    class HotStatement;
    class Query;

    bool execute(const std::string& sql);
    // The single integer of a one-column query, or fallback.
    int queryInt(const char* sql, int fallback);
    // The hot statement of a kind, prepared on first use; null on failure.
    sqlite3_stmt* hotStatement(HotRead read);
    void finalizeHotStatements();
    // Starts the work budget of a new statement.
    void startWork() { workSteps = 0; }
    static int OnProgress(void* engine);

    sqlite3* db;
    std::string dbPath;
    sqlite3_stmt* hot[HotReadCount];
    long long workSteps;
};

}  // namespace HQ

#endif

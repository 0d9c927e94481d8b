// CHQGS_SqliteEngine: serves the symbol library from a local SQLite database
// file protected by the library key (LibraryKey.h), opened read-only (so
// every write is refused). Texts read from the file are converted from UTF-8
// to the local code page; texts spliced into statements are not converted.
// A single-row read takes the first row.
#ifndef MARKSTORE_INTERNAL_SQLITEENGINE_H
#define MARKSTORE_INTERNAL_SQLITEENGINE_H

#include "BaseEngine.h"

struct sqlite3;

namespace HQ {

class CHQGS_SqliteEngine : public CHQGS_BaseEngine {
public:
    CHQGS_SqliteEngine();
    ~CHQGS_SqliteEngine() override;

    // Opens the file read-only and applies the key. False (and closed) when
    // the file is missing or unreadable or the key does not open it.
    bool open() override;
    void close() override;
    // Copies the path (null counts as empty); used at the next open.
    void setDBPath(const char* path) override;

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

private:
    bool execute(const std::string& sql);
    // The single integer of a one-column query, or fallback.
    int queryInt(const char* sql, int fallback);

    sqlite3* db;
    std::string dbPath;
};

}  // namespace HQ

#endif

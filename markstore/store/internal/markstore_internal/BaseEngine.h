// SPDX-License-Identifier: Apache-2.0
// CHQGS_BaseEngine: the storage engine contract behind the library manager.
//
// An engine is created closed, configured through its setters, opened with
// open and closed with close (open on an open engine reopens it). On an
// engine that is not open every read answers its default (null, 4 from
// getShowMode, 0 from getMarkType, empty string, empty list, -1 from
// getMarkKind, false from getImage) and every write answers false, without
// touching a database. Every symbol and record answered is new and owned by
// the caller. Nothing throws or logs.
//
// The slots keep the numbering the engines share (0 the destructor, 1 open
// ... 38 deleteImage, 39 queryMarks); a comment gives each slot's number.
#ifndef MARKSTORE_INTERNAL_BASEENGINE_H
#define MARKSTORE_INTERNAL_BASEENGINE_H

#include "MarkDataReader.h"
#include "StatementBuilder.h"

#include <markstore/SymbolRecords.h>

#include <list>
#include <string>

namespace HQ {

class CHQGS_Symbol;

// The values of one Marks row, by column position, as an engine read them.
struct CHQGS_MarkRow {
    static const int kColumns = 20;         // columns a full row delivers
    static const int kWrittenColumns = 18;  // columns the insert statement names
    static const int kNameColumn = 3;
    static const int kDataColumn = 17;

    int values[kColumns] = {};  // numeric columns (text columns hold 0)
    std::string name;           // MarkName (column 3)
    std::string data;           // Data (column 17), the mark data text
    bool hasTrailing = false;   // columns 18 and 19 were read
};

class CHQGS_BaseEngine {
public:
    virtual ~CHQGS_BaseEngine();  // 0

    virtual bool open() { return false; }                  // 1
    virtual void close() {}                                // 2
    virtual void setDBPath(const char* /*path*/) {}        // 3
    virtual void setHost(const char* /*host*/) {}          // 4
    virtual void setUser(const char* /*user*/) {}          // 5
    virtual void setPassward(const char* /*password*/) {}  // 6
    virtual void setDBname(const char* /*name*/) {}        // 7
    virtual void setPort(unsigned int /*port*/) {}         // 8

    // 9: the mark (libID, id) or null; statement, then queryMark.
    virtual CHQGS_Symbol* getMark(int libID, int id);
    // 10: the marks filed under node pid.
    virtual std::list<CHQGS_Symbol*> getMarksByNode(int libID, int pid) = 0;
    // 11: the symbol of the first (SQLite) or last (MySQL) row of sql; null
    // when no row comes.
    virtual CHQGS_Symbol* queryMark(const char* /*sql*/) { return nullptr; }
    // 12: the Data text of the mark, empty when there is none.
    virtual std::string getMarkData(int /*libID*/, int /*id*/) { return std::string(); }
    // 13/14: the mark's ShowMode; 4 without a row.
    virtual int getShowMode(unsigned int libID, unsigned int id);
    virtual int queryShowMode(const char* /*sql*/) { return kNoShowMode; }
    // 15/16: 1 when the mark's MarkType is 1, else 0.
    virtual int getMarkType(unsigned int libID, unsigned int id);
    virtual int queryMarkType(const char* /*sql*/) { return 0; }
    // 17/18: the mark's name; empty without a row.
    virtual std::string getMarkName(unsigned int libID, unsigned int id);
    virtual std::string queryMarkName(const char* /*sql*/) { return std::string(); }
    // 19-22: searches. Note the order (id, libID) of the first two.
    virtual std::list<CHQGS_Symbol*> findMarksById(int id, int libID) = 0;
    virtual std::list<CHQGS_Symbol*> findMarksByIdLike(int id, int libID) = 0;
    virtual std::list<CHQGS_Symbol*> findMarksByName(int libID, const std::string& name) = 0;
    virtual std::list<CHQGS_Symbol*> findMarksByNameLike(int libID, const std::string& text) = 0;
    // 23: every library.
    virtual std::list<CHQGS_SymbolTag*> getTags() { return {}; }
    // 24: the child nodes of pid; pid -1 lists every node of the library.
    virtual std::list<CHQGS_SymbolNode*> getNodes(int /*libID*/, int /*pid*/) { return {}; }
    // 25: -1 without a mark, 0 for MarkType 2, else MarkType.
    virtual int getMarkKind(int libID, int id);
    // 26: fills image with the mark's image (the last row wins); true when
    // the query ran, also when no row came (image unchanged).
    virtual bool getImage(int /*libID*/, int /*id*/, CHQGS_SymbolImage* /*image*/) { return false; }
    // 27-38: writes, true when the database accepted the statement.
    virtual bool updateNode(int libID, int id, int pid, int level, const std::string& name) = 0;
    virtual bool addNode(int libID, int id, int pid, int level, const std::string& name) = 0;
    virtual bool deleteNode(int libID, int id, int pid) = 0;
    virtual bool updateTag(int id, const std::string& name, int nodeCount, int markCount) = 0;
    virtual bool addTag(int id, const std::string& name, int nodeCount, int markCount) = 0;
    virtual bool deleteTag(int id) = 0;
    virtual bool updateMark(int libID, int id, int pid, const std::string& name, int connectId,
                            int connectLibID, double mirror, double posX, double posY, double unknownS,
                            int textNum, double heading, int markType, double minX, double minY, double maxX,
                            double maxY, const std::string& data) = 0;
    virtual bool addMark(int libID, int id, int pid, const std::string& name, int connectId, int connectLibID,
                         double mirror, double posX, double posY, double unknownS, int textNum,
                         double heading, int markType, double minX, double minY, double maxX, double maxY,
                         const std::string& data) = 0;
    virtual bool deleteMark(int libID, int id) = 0;
    // 36: deleteImage, then addImage; true when the image was stored.
    virtual bool replaceImage(int libID, int id, const CHQGS_SymbolImage* image) = 0;
    // 37: true when the image was stored.
    virtual bool addImage(int libID, int id, const CHQGS_SymbolImage* image) = 0;
    virtual bool deleteImage(int libID, int id) = 0;
    // 39: one symbol per row of sql, in row order.
    virtual std::list<CHQGS_Symbol*> queryMarks(const char* sql) = 0;

    bool isOpen() const { return opened; }
    const CHQGS_StatementBuilder& statements() const { return builder; }

    // The answer of getShowMode without a row.
    static const int kNoShowMode = 4;

    // A new symbol from a mark row: the common attributes filled by column
    // position (MinY and MaxY negated, the trailing columns only when read),
    // then the units read from the row's data text (up to its first NUL),
    // with convert applied to each text of the drawing (null: none).
    static CHQGS_Symbol* SymbolFromRow(const CHQGS_MarkRow& row, MarkTextConversion convert = nullptr);

protected:
    explicit CHQGS_BaseEngine(CHQGS_StatementBuilder statementBuilder = CHQGS_StatementBuilder());
    CHQGS_BaseEngine(const CHQGS_BaseEngine&) = delete;
    CHQGS_BaseEngine& operator=(const CHQGS_BaseEngine&) = delete;

    bool opened;
    CHQGS_StatementBuilder builder;
};

}  // namespace HQ

#endif

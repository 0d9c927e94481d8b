// SPDX-License-Identifier: Apache-2.0
// IHQGS_SymbolLibManager: the one interface through which callers reach the
// symbol library, and SymbolLibManagerFactory, which hands out the
// process-wide instance.
//
// Use: GetInstance(); init(0) for a keyed SQLite file or init(1) for a MySQL
// server; the setters of the chosen engine (setDBPath, or setHost, setUser,
// setPassward, setDBname, setPort); open(); reads and writes; close();
// release() when the instance is no longer wanted.
//
// Ownership: every symbol, record and image answered is new and belongs to
// the caller, who deletes it; lists and strings are values. The setters copy
// the texts they are given.
//
// Failures are reported through results only: a manager without engine, an
// engine that is not open, a failed statement and a missing row all answer
// the defaults (null, 4 from getShowMode, 0 from getMarkType, empty string,
// empty list); writes answer false. Nothing throws and nothing is logged.
//
// Threads: none; the instance is process-wide and unsynchronised, so callers
// that share it across threads serialise every call, GetInstance included.
//
// Identifiers are 32-bit: a library is addressed by libID, a node or mark by
// id within its library, a parent node by pid. Texts are 8-bit: the SQLite
// engine answers the local code page, the MySQL engine UTF-8; texts passed in
// to writes are stored as given.
//
// Code page of the SQLite engine: the texts given to findMarksByName and
// findMarksByNameLike are taken in the local code page (as the engine hands
// names out) and converted to UTF-8 before they are compared with the file;
// a text that does not convert finds nothing. The texts of a mark's drawing
// are converted one by one, so a character the code page cannot hold empties
// only its own text; getMarkData converts the whole data text at once (one
// such character empties it). The conversions set the process-wide C locale
// category LC_CTYPE from the environment (setlocale(LC_CTYPE, "")): the first
// read that converts a text does so, and so does every later conversion of a
// text that is not plain ASCII. A host that needs another LC_CTYPE sets it
// back after its reads.
//
// Limits: a SQLite statement that runs longer than its work budget (about a
// second of the database's work; far beyond what a real library's reads
// need) is interrupted and the read answers its default. The MySQL engine
// gives up connecting after 3 seconds and waiting on the server after 5
// (fixed); a read whose connection was lost connects anew once and is tried
// again, a write is not tried again. exportLibraryXml answers the empty
// string for a category tree deeper than 1000 levels.
#ifndef MARKSTORE_SYMBOLLIBMANAGER_H
#define MARKSTORE_SYMBOLLIBMANAGER_H

#include <markstore/MarkstoreExport.h>
#include <markstore/SymbolRecords.h>

#include <list>
#include <string>

namespace HQ {

class CHQGS_Symbol;

class MARKSTORE_API IHQGS_SymbolLibManager {
public:
    IHQGS_SymbolLibManager() = default;
    IHQGS_SymbolLibManager(const IHQGS_SymbolLibManager&) = default;
    IHQGS_SymbolLibManager(IHQGS_SymbolLibManager&&) = default;
    IHQGS_SymbolLibManager& operator=(const IHQGS_SymbolLibManager&) = default;
    IHQGS_SymbolLibManager& operator=(IHQGS_SymbolLibManager&&) = default;

    // Installs a new engine: 0 the SQLite file engine, 1 the MySQL engine;
    // the previous engine is destroyed. Opens nothing. Any other type
    // answers false and keeps the current engine.
    virtual bool init(int dbType) = 0;
    // Opens the database with the current settings, closing it first when
    // open. False when it cannot be opened (for the SQLite file also when the
    // key does not open it); the engine then stays closed.
    virtual bool open() = 0;
    // Closes the database; does nothing when closed.
    virtual void close() = 0;

    // Connection settings, taking effect at the next open. The texts are
    // copied; a null pointer counts as the empty text.
    virtual void setDBPath(const char* /*path*/) {}        // SQLite: database file path
    virtual void setHost(const char* /*host*/) {}          // MySQL: server host
    virtual void setUser(const char* /*user*/) {}          // MySQL: user name
    virtual void setPassward(const char* /*password*/) {}  // MySQL: password
    virtual void setDBname(const char* /*name*/) {}        // MySQL: database name
    virtual void setPort(unsigned int /*port*/) {}         // MySQL: TCP port (3306 unless set)

    // The mark (libID, id) as a new symbol with its drawing units; null when
    // there is none.
    virtual CHQGS_Symbol* getMark(int libID, int id) = 0;
    // The mark's data text (JSON), empty when there is none.
    virtual std::string getMarkData(int libID, int id) = 0;
    // The mark's ShowMode column; 4 when there is no such mark.
    virtual int getShowMode(unsigned int libID, unsigned int id) = 0;
    // The mark's name; empty when there is none.
    virtual std::string getMarkName(unsigned int libID, unsigned int id) = 0;
    // 1 when the mark's MarkType is 1, else 0 (also for a missing mark).
    virtual int getMarkType(unsigned int libID, unsigned int id) = 0;

    // Searches; every symbol answered is new and belongs to the caller. A
    // libID of 0 or less searches every library.
    // Marks whose identifier equals id.
    virtual std::list<CHQGS_Symbol*> findMarksById(int libID, int id) = 0;
    // Marks whose identifier, written in decimal, contains the digits of id.
    virtual std::list<CHQGS_Symbol*> findMarksByIdLike(int libID, int id) = 0;
    // Marks whose name equals name.
    virtual std::list<CHQGS_Symbol*> findMarksByName(int libID, const std::string& name) = 0;
    // Marks whose name contains text (SQL LIKE, so '%' and '_' are wildcards).
    virtual std::list<CHQGS_Symbol*> findMarksByNameLike(int libID, const std::string& text) = 0;

    // Every library.
    virtual std::list<CHQGS_SymbolTag*> getTags() = 0;
    // The child nodes of pid in library libID; pid -1 lists every node of
    // the library.
    virtual std::list<CHQGS_SymbolNode*> getNodes(int libID, int pid) = 0;
    // getNodes as texts "LibID,ID,NodeName" (for example "7,103,Armour").
    virtual std::list<std::string> getNodeKeys(int libID, int pid) = 0;
    // A new image holding the image of mark (libID, id); never null: a mark
    // without image yields an image of size 0.
    virtual CHQGS_SymbolImage* getImage(int libID, int id) = 0;
    // The whole open database as an XML document (UTF-8 declaration, names
    // in the engine's encoding); a document with an empty root when closed.
    virtual std::string exportLibraryXml() = 0;
    // The marks filed under node pid of library libID as texts "LibID,ID".
    virtual std::list<std::string> getMarkKeys(int libID, int pid) = 0;
    // Destroys the process-wide instance (and its engine, which closes its
    // database), whichever object it is called on. The next GetInstance
    // creates a fresh manager without engine.
    virtual void release() = 0;

    // Writes: true when the database accepted the statement. The SQLite file
    // is opened read-only and refuses every write.
    virtual bool updateNode(int libID, int id, int pid, int level, const std::string& name) = 0;
    virtual bool addNode(int libID, int id, int pid, int level, const std::string& name) = 0;
    virtual bool deleteNode(int libID, int id, int pid) = 0;
    virtual bool updateTag(int id, const std::string& name, int nodeCount, int markCount) = 0;
    virtual bool addTag(int id, const std::string& name, int nodeCount, int markCount) = 0;
    virtual bool deleteTag(int id) = 0;
    // The fractions are written with six decimals and read back as integers
    // (toward zero); minY and maxY read back negated.
    virtual bool updateMark(int libID, int id, int pid, const std::string& name, int connectId,
                            int connectLibID, double mirror, double posX, double posY, double unknownS,
                            int textNum, double heading, int markType, double minX, double minY, double maxX,
                            double maxY, const std::string& data) = 0;
    virtual bool addMark(int libID, int id, int pid, const std::string& name, int connectId, int connectLibID,
                         double mirror, double posX, double posY, double unknownS, int textNum,
                         double heading, int markType, double minX, double minY, double maxX, double maxY,
                         const std::string& data) = 0;
    virtual bool deleteMark(int libID, int id) = 0;
    // Deletes the mark's images, then stores image; true when it was stored.
    virtual bool replaceImage(int libID, int id, const CHQGS_SymbolImage* image) = 0;
    // Stores image for the mark; true when it was stored. The image stays the
    // caller's.
    virtual bool addImage(int libID, int id, const CHQGS_SymbolImage* image) = 0;
    virtual bool deleteImage(int libID, int id) = 0;

protected:
    // Not virtual and not public: the instance is destroyed through release.
    ~IHQGS_SymbolLibManager() = default;
};

class MARKSTORE_API SymbolLibManagerFactory {
public:
    // The process-wide manager, created without engine on the first call and
    // after release; never null. The factory keeps ownership.
    static IHQGS_SymbolLibManager* GetInstance();
};

}  // namespace HQ

#endif

// SPDX-License-Identifier: Apache-2.0
// CHQGS_SymbolLibManager: the implementation of IHQGS_SymbolLibManager. It
// keeps no data of its own: it owns one engine at a time and forwards to it,
// except for the key lists, the image wrapper and the XML export, which
// reshape engine results. Without an engine reads answer their defaults and
// writes false.
#ifndef MARKSTORE_INTERNAL_SYMBOLLIBMANAGERIMPL_H
#define MARKSTORE_INTERNAL_SYMBOLLIBMANAGERIMPL_H

#include <markstore/SymbolLibManager.h>

namespace HQ {

class CHQGS_BaseEngine;

// A new engine for a database type: 0 SQLite file, 1 MySQL server; null for
// a type without engine.
CHQGS_BaseEngine* CreateEngine(int dbType);

class CHQGS_SymbolLibManager : public IHQGS_SymbolLibManager {
public:
    CHQGS_SymbolLibManager();
    virtual ~CHQGS_SymbolLibManager();
    CHQGS_SymbolLibManager(const CHQGS_SymbolLibManager&) = delete;
    CHQGS_SymbolLibManager& operator=(const CHQGS_SymbolLibManager&) = delete;

    bool init(int dbType) override;
    bool open() override;
    void close() override;
    void setDBPath(const char* path) override;
    void setHost(const char* host) override;
    void setUser(const char* user) override;
    void setPassward(const char* password) override;
    void setDBname(const char* name) override;
    void setPort(unsigned int port) override;
    CHQGS_Symbol* getMark(int libID, int id) override;
    std::string getMarkData(int libID, int id) override;
    int getShowMode(unsigned int libID, unsigned int id) override;
    std::string getMarkName(unsigned int libID, unsigned int id) override;
    int getMarkType(unsigned int libID, unsigned int id) override;
    std::list<CHQGS_Symbol*> findMarksById(int libID, int id) override;
    std::list<CHQGS_Symbol*> findMarksByIdLike(int libID, int id) override;
    std::list<CHQGS_Symbol*> findMarksByName(int libID, const std::string& name) override;
    std::list<CHQGS_Symbol*> findMarksByNameLike(int libID, const std::string& text) override;
    std::list<CHQGS_SymbolTag*> getTags() override;
    std::list<CHQGS_SymbolNode*> getNodes(int libID, int pid) override;
    std::list<std::string> getNodeKeys(int libID, int pid) override;
    CHQGS_SymbolImage* getImage(int libID, int id) override;
    std::string exportLibraryXml() override;
    std::list<std::string> getMarkKeys(int libID, int pid) override;
    void release() override;
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

    // The engine in use (null before init); the manager keeps ownership.
    CHQGS_BaseEngine* currentEngine() const { return engine; }

private:
    CHQGS_BaseEngine* engine;
};

}  // namespace HQ

#endif

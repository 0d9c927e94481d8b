// SPDX-License-Identifier: Apache-2.0
#include <markstore_internal/SymbolLibManagerImpl.h>

#include <markstore_internal/BaseEngine.h>
#include <markstore_internal/LibraryXmlExport.h>
#include <markstore_internal/MySQLEngine.h>
#include <markstore_internal/SqliteEngine.h>

#include <markstore/Symbol.h>

namespace HQ {

namespace {

// The process-wide manager; null before the first GetInstance and after
// release.
CHQGS_SymbolLibManager* g_instance = nullptr;

// The database types of init: a SQLite file or a MySQL server.
constexpr int kSqliteDatabase = 0;
constexpr int kMySQLDatabase = 1;

}  // namespace

IHQGS_SymbolLibManager* SymbolLibManagerFactory::GetInstance() {
    if (g_instance == nullptr) g_instance = new CHQGS_SymbolLibManager();
    return g_instance;
}

CHQGS_BaseEngine* CreateEngine(int dbType) {
    switch (dbType) {
        case kSqliteDatabase:
            return new CHQGS_SqliteEngine();
        case kMySQLDatabase:
            return new CHQGS_MySQLEngine();
        default:
            return nullptr;
    }
}

CHQGS_SymbolLibManager::CHQGS_SymbolLibManager() : engine(nullptr) {}

CHQGS_SymbolLibManager::~CHQGS_SymbolLibManager() {
    delete engine;
    engine = nullptr;
}

bool CHQGS_SymbolLibManager::init(int dbType) {
    CHQGS_BaseEngine* created = CreateEngine(dbType);
    if (created == nullptr) return false;
    delete engine;  // closes the previous engine's database
    engine = created;
    return true;
}

void CHQGS_SymbolLibManager::release() {
    // Acts on the process-wide instance, which may be this object: nothing
    // of this object is touched afterwards.
    CHQGS_SymbolLibManager* instance = g_instance;
    g_instance = nullptr;
    delete instance;
}

bool CHQGS_SymbolLibManager::open() { return engine != nullptr && engine->open(); }

void CHQGS_SymbolLibManager::close() {
    if (engine != nullptr) engine->close();
}

void CHQGS_SymbolLibManager::setDBPath(const char* path) {
    if (engine != nullptr) engine->setDBPath(path);
}

void CHQGS_SymbolLibManager::setHost(const char* host) {
    if (engine != nullptr) engine->setHost(host);
}

void CHQGS_SymbolLibManager::setUser(const char* user) {
    if (engine != nullptr) engine->setUser(user);
}

void CHQGS_SymbolLibManager::setPassward(const char* password) {
    if (engine != nullptr) engine->setPassward(password);
}

void CHQGS_SymbolLibManager::setDBname(const char* name) {
    if (engine != nullptr) engine->setDBname(name);
}

void CHQGS_SymbolLibManager::setPort(unsigned int port) {
    if (engine != nullptr) engine->setPort(port);
}

CHQGS_Symbol* CHQGS_SymbolLibManager::getMark(int libID, int id) {
    return engine != nullptr ? engine->getMark(libID, id) : nullptr;
}

std::string CHQGS_SymbolLibManager::getMarkData(int libID, int id) {
    return engine != nullptr ? engine->getMarkData(libID, id) : std::string();
}

int CHQGS_SymbolLibManager::getShowMode(unsigned int libID, unsigned int id) {
    return engine != nullptr ? engine->getShowMode(libID, id) : CHQGS_BaseEngine::kNoShowMode;
}

std::string CHQGS_SymbolLibManager::getMarkName(unsigned int libID, unsigned int id) {
    return engine != nullptr ? engine->getMarkName(libID, id) : std::string();
}

int CHQGS_SymbolLibManager::getMarkType(unsigned int libID, unsigned int id) {
    return engine != nullptr ? engine->getMarkType(libID, id) : 0;
}

// The engine takes the identifier first and the library second.
std::list<CHQGS_Symbol*> CHQGS_SymbolLibManager::findMarksById(int libID, int id) {
    return engine != nullptr ? engine->findMarksById(id, libID) : std::list<CHQGS_Symbol*>();
}

std::list<CHQGS_Symbol*> CHQGS_SymbolLibManager::findMarksByIdLike(int libID, int id) {
    return engine != nullptr ? engine->findMarksByIdLike(id, libID) : std::list<CHQGS_Symbol*>();
}

std::list<CHQGS_Symbol*> CHQGS_SymbolLibManager::findMarksByName(int libID, const std::string& name) {
    return engine != nullptr ? engine->findMarksByName(libID, name) : std::list<CHQGS_Symbol*>();
}

std::list<CHQGS_Symbol*> CHQGS_SymbolLibManager::findMarksByNameLike(int libID, const std::string& text) {
    return engine != nullptr ? engine->findMarksByNameLike(libID, text) : std::list<CHQGS_Symbol*>();
}

std::list<CHQGS_SymbolTag*> CHQGS_SymbolLibManager::getTags() {
    return engine != nullptr ? engine->getTags() : std::list<CHQGS_SymbolTag*>();
}

std::list<CHQGS_SymbolNode*> CHQGS_SymbolLibManager::getNodes(int libID, int pid) {
    return engine != nullptr ? engine->getNodes(libID, pid) : std::list<CHQGS_SymbolNode*>();
}

std::list<std::string> CHQGS_SymbolLibManager::getNodeKeys(int libID, int pid) {
    std::list<std::string> keys;
    for (CHQGS_SymbolNode* node : getNodes(libID, pid)) {
        keys.push_back(std::to_string(node->LibID) + "," + std::to_string(node->ID) + "," + node->NodeName);
        delete node;
    }
    return keys;
}

std::list<std::string> CHQGS_SymbolLibManager::getMarkKeys(int libID, int pid) {
    std::list<std::string> keys;
    if (engine == nullptr) return keys;
    for (CHQGS_Symbol* symbol : engine->getMarksByNode(libID, pid)) {
        if (const CHQGS_SymbolCommAttr* attr = symbol->GetCommAttr())
            keys.push_back(std::to_string(attr->LibID) + "," + std::to_string(attr->ID));
        delete symbol;
    }
    return keys;
}

CHQGS_SymbolImage* CHQGS_SymbolLibManager::getImage(int libID, int id) {
    CHQGS_SymbolImage* image = new CHQGS_SymbolImage();
    if (engine != nullptr) engine->getImage(libID, id, image);
    return image;
}

std::string CHQGS_SymbolLibManager::exportLibraryXml() { return ExportLibraryXml(engine); }

bool CHQGS_SymbolLibManager::updateNode(int libID, int id, int pid, int level, const std::string& name) {
    return engine != nullptr && engine->updateNode(libID, id, pid, level, name);
}

bool CHQGS_SymbolLibManager::addNode(int libID, int id, int pid, int level, const std::string& name) {
    return engine != nullptr && engine->addNode(libID, id, pid, level, name);
}

bool CHQGS_SymbolLibManager::deleteNode(int libID, int id, int pid) {
    return engine != nullptr && engine->deleteNode(libID, id, pid);
}

bool CHQGS_SymbolLibManager::updateTag(int id, const std::string& name, int nodeCount, int markCount) {
    return engine != nullptr && engine->updateTag(id, name, nodeCount, markCount);
}

bool CHQGS_SymbolLibManager::addTag(int id, const std::string& name, int nodeCount, int markCount) {
    return engine != nullptr && engine->addTag(id, name, nodeCount, markCount);
}

bool CHQGS_SymbolLibManager::deleteTag(int id) { return engine != nullptr && engine->deleteTag(id); }

bool CHQGS_SymbolLibManager::updateMark(int libID, int id, int pid, const std::string& name, int connectId,
                                        int connectLibID, double mirror, double posX, double posY,
                                        double unknownS, int textNum, double heading, int markType,
                                        double minX, double minY, double maxX, double maxY,
                                        const std::string& data) {
    return engine != nullptr &&
           engine->updateMark(libID, id, pid, name, connectId, connectLibID, mirror, posX, posY, unknownS,
                              textNum, heading, markType, minX, minY, maxX, maxY, data);
}

bool CHQGS_SymbolLibManager::addMark(int libID, int id, int pid, const std::string& name, int connectId,
                                     int connectLibID, double mirror, double posX, double posY,
                                     double unknownS, int textNum, double heading, int markType, double minX,
                                     double minY, double maxX, double maxY, const std::string& data) {
    return engine != nullptr &&
           engine->addMark(libID, id, pid, name, connectId, connectLibID, mirror, posX, posY, unknownS,
                           textNum, heading, markType, minX, minY, maxX, maxY, data);
}

bool CHQGS_SymbolLibManager::deleteMark(int libID, int id) {
    return engine != nullptr && engine->deleteMark(libID, id);
}

bool CHQGS_SymbolLibManager::replaceImage(int libID, int id, const CHQGS_SymbolImage* image) {
    return engine != nullptr && engine->replaceImage(libID, id, image);
}

bool CHQGS_SymbolLibManager::addImage(int libID, int id, const CHQGS_SymbolImage* image) {
    return engine != nullptr && engine->addImage(libID, id, image);
}

bool CHQGS_SymbolLibManager::deleteImage(int libID, int id) {
    return engine != nullptr && engine->deleteImage(libID, id);
}

}  // namespace HQ

// SPDX-License-Identifier: Apache-2.0
// CHQGS_SvgEngine: an engine without storage. It touches no file and holds
// no connection: open answers false, every read answers its empty default
// and every write answers false. The manager never creates one.
#ifndef MARKSTORE_INTERNAL_SVGENGINE_H
#define MARKSTORE_INTERNAL_SVGENGINE_H

#include "BaseEngine.h"

namespace HQ {

class CHQGS_SvgEngine : public CHQGS_BaseEngine {
public:
    CHQGS_SvgEngine();
    ~CHQGS_SvgEngine() override;

    CHQGS_Symbol* getMark(int libID, int id) override;
    std::list<CHQGS_Symbol*> getMarksByNode(int libID, int pid) override;
    std::list<CHQGS_Symbol*> findMarksById(int id, int libID) override;
    std::list<CHQGS_Symbol*> findMarksByIdLike(int id, int libID) override;
    std::list<CHQGS_Symbol*> findMarksByName(int libID, const std::string& name) override;
    std::list<CHQGS_Symbol*> findMarksByNameLike(int libID, const std::string& text) override;
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
};

}  // namespace HQ

#endif

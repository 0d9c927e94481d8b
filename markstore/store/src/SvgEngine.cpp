// SPDX-License-Identifier: Apache-2.0
#include <markstore_internal/SvgEngine.h>

namespace HQ {

CHQGS_SvgEngine::CHQGS_SvgEngine() = default;
CHQGS_SvgEngine::~CHQGS_SvgEngine() = default;

CHQGS_Symbol* CHQGS_SvgEngine::getMark(int, int) { return nullptr; }
std::list<CHQGS_Symbol*> CHQGS_SvgEngine::getMarksByNode(int, int) { return {}; }
std::list<CHQGS_Symbol*> CHQGS_SvgEngine::findMarksById(int, int) { return {}; }
std::list<CHQGS_Symbol*> CHQGS_SvgEngine::findMarksByIdLike(int, int) { return {}; }
std::list<CHQGS_Symbol*> CHQGS_SvgEngine::findMarksByName(int, const std::string&) { return {}; }
std::list<CHQGS_Symbol*> CHQGS_SvgEngine::findMarksByNameLike(int, const std::string&) { return {}; }
std::list<CHQGS_Symbol*> CHQGS_SvgEngine::queryMarks(const char*) { return {}; }

// Nothing is stored, so no write succeeds.
bool CHQGS_SvgEngine::updateNode(int, int, int, int, const std::string&) { return false; }
bool CHQGS_SvgEngine::addNode(int, int, int, int, const std::string&) { return false; }
bool CHQGS_SvgEngine::deleteNode(int, int, int) { return false; }
bool CHQGS_SvgEngine::updateTag(int, const std::string&, int, int) { return false; }
bool CHQGS_SvgEngine::addTag(int, const std::string&, int, int) { return false; }
bool CHQGS_SvgEngine::deleteTag(int) { return false; }
bool CHQGS_SvgEngine::updateMark(int, int, int, const std::string&, int, int, double, double, double, double,
                                 int, double, int, double, double, double, double, const std::string&) {
    return false;
}
bool CHQGS_SvgEngine::addMark(int, int, int, const std::string&, int, int, double, double, double, double,
                              int, double, int, double, double, double, double, const std::string&) {
    return false;
}
bool CHQGS_SvgEngine::deleteMark(int, int) { return false; }
bool CHQGS_SvgEngine::replaceImage(int, int, const CHQGS_SymbolImage*) { return false; }
bool CHQGS_SvgEngine::addImage(int, int, const CHQGS_SymbolImage*) { return false; }
bool CHQGS_SvgEngine::deleteImage(int, int) { return false; }

}  // namespace HQ

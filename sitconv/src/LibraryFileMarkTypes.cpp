// SPDX-License-Identifier: Apache-2.0
// A symbol library file kept open across the documents of a run.
#include <sitconv/LibraryFileMarkTypes.h>

#include <markstore/SymbolLibManager.h>

#include <sys/stat.h>

namespace HQ {

namespace {
const int kSqliteEngine = 0;
}  // namespace

LibraryFileMarkTypes::~LibraryFileMarkTypes() {
    if (!m_open) return;
    IHQGS_SymbolLibManager* manager = SymbolLibManagerFactory::GetInstance();
    manager->close();
    manager->release();
}

bool LibraryFileMarkTypes::open(const std::string& path) {
    // A folder would open as an empty database in some SQLite builds: only
    // regular files are libraries.
    struct stat st;
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    IHQGS_SymbolLibManager* manager = SymbolLibManagerFactory::GetInstance();
    manager->init(kSqliteEngine);
    manager->setDBPath(path.c_str());
    m_open = manager->open();
    if (!m_open) manager->release();
    return m_open;
}

int LibraryFileMarkTypes::markType(int libId, int code) {
    if (!m_open) return 0;
    return SymbolLibManagerFactory::GetInstance()->getMarkType(static_cast<unsigned int>(libId),
                                                               static_cast<unsigned int>(code));
}

}  // namespace HQ

// SPDX-License-Identifier: Apache-2.0
// Prints a symbol library as XML: a small usage sample of the library manager.
//
//   export_library LIBRARY.db [OUTPUT.xml]
//
// Opens the keyed SQLite library file, exports every library with its
// category tree and symbols, and writes the document to OUTPUT.xml (or to
// standard output). The manager writes names as the SQLite engine answers
// them, in the local code page, whatever the document's UTF-8 declaration
// says; this sample converts the document to UTF-8 so that the file matches
// its declaration. Run it under the locale the host uses (LC_ALL=zh_CN.GBK).
#include <geomkit/UtilityFunctions.h>
#include <markstore/SymbolLibManager.h>

#include <cstddef>
#include <fstream>
#include <iostream>
#include <list>
#include <string>

namespace {

// Database types of IHQGS_SymbolLibManager::init.
constexpr int kSqliteFile = 0;

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::cerr << "usage: export_library LIBRARY.db [OUTPUT.xml]\n";
        return 2;
    }

    // The manager is process-wide: take it, choose the engine, point it at
    // the file and open.
    HQ::IHQGS_SymbolLibManager* manager = HQ::SymbolLibManagerFactory::GetInstance();
    manager->init(kSqliteFile);
    manager->setDBPath(argv[1]);
    if (!manager->open()) {
        std::cerr << "export_library: cannot open " << argv[1] << " as a symbol library\n";
        manager->release();
        return 1;
    }

    // Every answer is a value or a new object the caller owns.
    std::string xml = manager->exportLibraryXml();
    std::list<HQ::CHQGS_SymbolTag*> tags = manager->getTags();
    std::size_t libraries = tags.size();
    for (HQ::CHQGS_SymbolTag* tag : tags) delete tag;

    manager->close();
    manager->release();  // destroys the manager and its engine

    // One character without a form in the code page empties the conversion:
    // keep the text as it came then.
    const std::string utf8 = HQ::CHQGS_UtilityFunctions::ANSIToUTF8(xml);
    if (!utf8.empty() || xml.empty()) {
        xml = utf8;
    } else {
        std::cerr << "export_library: the names are not valid in this locale; written unconverted\n";
    }

    if (argc == 3) {
        std::ofstream out(argv[2], std::ios::binary);
        out << xml;
        if (!out) {
            std::cerr << "export_library: cannot write " << argv[2] << "\n";
            return 1;
        }
        std::cerr << "export_library: " << libraries << " libraries written to " << argv[2] << "\n";
    } else {
        std::cout << xml;
    }
    return 0;
}

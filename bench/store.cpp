// SPDX-License-Identifier: Apache-2.0
// Symbol library store: marks read per second (one by one through getMark,
// and many rows at once through a LIKE search), and the XML export of a
// generated library, whose time should grow linearly with its size.
//
// BM_BareGetMark is the yardstick of BM_GetMark: the same rows read with one
// prepared SELECT (identifiers bound) and their data text parsed by jsoncpp,
// without the library. getMark should stay within 1.5 times of it.
//
// The libraries are generated here: SQL text piped into the sqlcipher shell
// under the library key, on the schema of examples/symbol-library.
#include <markstore/Symbol.h>
#include <markstore/SymbolLibManager.h>
#include <markstore_internal/LibraryKey.h>

#include <benchmark/benchmark.h>
#include <json/json.h>
#include <sqlite3.h>

#include <clocale>
#include <cstdio>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>

using namespace HQ;

namespace {

// Leaf categories (one mark each) under every category.
const int kMarksPerCategory = 10;
// Identifiers of the categories start here, above every mark identifier.
const int kCategoryBase = 1000000;
const int kLib = 1;

// A small real drawing: a closed frame, a cross and a label.
const char kData[] =
    "[{\"Style\":1,\"LineWidth\":2,\"IsClose\":true,\"LineColor\":{\"R\":0,\"G\":0,\"B\":255,\"A\":255},"
    "\"Vertexes\":[{\"X\":-40,\"Y\":-25},{\"X\":40,\"Y\":-25},{\"X\":40,\"Y\":25},{\"X\":-40,\"Y\":25}]},"
    "{\"Style\":1,\"LineWidth\":2,\"Vertexes\":[{\"X\":-40,\"Y\":-25},{\"X\":40,\"Y\":25}]},"
    "{\"Style\":7,\"FontName\":\"SimSun\",\"FontHeight\":20,\"FontPos\":{\"X\":0,\"Y\":0},\"Text\":\"A1\"}]";

std::string ReadFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Builds (once per size) a library with `categories` categories under the
// library, each holding kMarksPerCategory leaf nodes whose identifiers are
// those of their marks. Answers the file path.
std::string GeneratedLibrary(int categories) {
    static std::map<int, std::string> built;
    auto it = built.find(categories);
    if (it != built.end()) return it->second;

    const std::string path = SITPLOT_BINARY_DIR "/bench-store-" + std::to_string(categories) + ".db";
    std::remove(path.c_str());
    const std::string command = "sqlcipher -bail '" + path + "' > /dev/null";
    FILE* shell = popen(command.c_str(), "w");
    if (shell == nullptr) throw std::runtime_error("cannot run sqlcipher");
    const int marks = categories * kMarksPerCategory;
    std::fprintf(shell, "PRAGMA key = '%s';\n%s\nBEGIN;\n", kLibraryKey,
                 ReadFile(SITPLOT_SOURCE_DIR "/examples/symbol-library/schema.sql").c_str());
    std::fprintf(shell, "INSERT INTO Tags VALUES (%d, 'Generated', %d, %d);\n", kLib, categories + marks,
                 marks);
    for (int c = 0; c < categories; ++c)
        std::fprintf(shell, "INSERT INTO Nodes VALUES (%d, %d, %d, 1, 'Category %d');\n", kLib,
                     kCategoryBase + c, kLib, c);
    for (int id = 1; id <= marks; ++id) {
        int category = kCategoryBase + (id - 1) / kMarksPerCategory;
        std::fprintf(shell, "INSERT INTO Nodes VALUES (%d, %d, %d, 2, 'Leaf %d');\n", kLib, id, category, id);
        std::fprintf(
            shell,
            "INSERT INTO Marks VALUES (%d, %d, %d, 'Mark %d', 0, 0, 0, 0, 0, 0, 1, 0, 1, -40, -25, 40, 25, "
            "'%s', 1, 0);\n",
            kLib, id, category, id, kData);
    }
    std::fprintf(shell, "COMMIT;\n");
    if (pclose(shell) != 0) throw std::runtime_error("sqlcipher failed on " + path);
    built[categories] = path;
    return path;
}

IHQGS_SymbolLibManager* OpenLibrary(const std::string& path) {
    IHQGS_SymbolLibManager* m = SymbolLibManagerFactory::GetInstance();
    m->init(0);
    m->setDBPath(path.c_str());
    if (!m->open()) throw std::runtime_error("cannot open " + path);
    return m;
}

// Reads marks one by one, cycling through every identifier.
void BM_GetMark(benchmark::State& state) {
    std::setlocale(LC_ALL, "");
    const int categories = 1000;
    IHQGS_SymbolLibManager* m = OpenLibrary(GeneratedLibrary(categories));
    const int marks = categories * kMarksPerCategory;
    int id = 0;
    for (auto _ : state) {
        id = id % marks + 1;
        CHQGS_Symbol* symbol = m->getMark(kLib, id);
        benchmark::DoNotOptimize(symbol);
        delete symbol;
    }
    state.SetItemsProcessed(state.iterations());
    m->release();
}
BENCHMARK(BM_GetMark);

// The same reads without the library: one prepared statement, bound
// identifiers, every column of the row read, the data text parsed.
void BM_BareGetMark(benchmark::State& state) {
    std::setlocale(LC_ALL, "");
    const int categories = 1000;
    const std::string path = GeneratedLibrary(categories);
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK ||
        sqlite3_key(db, kLibraryKey, kLibraryKeyLength) != SQLITE_OK)
        throw std::runtime_error("cannot open " + path);
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT * FROM Marks WHERE LibID=?1 AND ID= ?2;", -1, &stmt, nullptr) !=
        SQLITE_OK)
        throw std::runtime_error("cannot prepare");
    Json::CharReaderBuilder builder;
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    const int marks = categories * kMarksPerCategory;
    int id = 0;
    for (auto _ : state) {
        id = id % marks + 1;
        sqlite3_bind_int(stmt, 1, kLib);
        sqlite3_bind_int(stmt, 2, id);
        if (sqlite3_step(stmt) != SQLITE_ROW) {
            state.SkipWithError("a mark is missing");
            break;
        }
        int sum = 0;
        for (int col = 0; col < 20; ++col)
            if (col != 3 && col != 17) sum += sqlite3_column_int(stmt, col);
        std::string name(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 3)),
                         static_cast<size_t>(sqlite3_column_bytes(stmt, 3)));
        const char* data = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 17));
        Json::Value root;
        std::string errors;
        reader->parse(data, data + sqlite3_column_bytes(stmt, 17), &root, &errors);
        benchmark::DoNotOptimize(sum);
        benchmark::DoNotOptimize(name);
        benchmark::DoNotOptimize(root);
        sqlite3_reset(stmt);
    }
    state.SetItemsProcessed(state.iterations());
    sqlite3_finalize(stmt);
    sqlite3_close(db);
}
BENCHMARK(BM_BareGetMark);

// One search answering many rows: "Mark 1" matches 1112 of 10,000 names.
void BM_FindMarksByNameLike(benchmark::State& state) {
    std::setlocale(LC_ALL, "");
    IHQGS_SymbolLibManager* m = OpenLibrary(GeneratedLibrary(1000));
    size_t rows = 0;
    for (auto _ : state) {
        std::list<CHQGS_Symbol*> found = m->findMarksByNameLike(kLib, "Mark 1");
        rows += found.size();
        for (CHQGS_Symbol* s : found) delete s;
    }
    state.SetItemsProcessed(static_cast<int64_t>(rows));
    state.counters["rows"] = static_cast<double>(rows) / static_cast<double>(state.iterations());
    m->release();
}
BENCHMARK(BM_FindMarksByNameLike)->Unit(benchmark::kMillisecond);

// The whole export; the argument is the number of categories (ten marks
// each): 1000 is the library of 10,000 marks.
void BM_ExportLibraryXml(benchmark::State& state) {
    std::setlocale(LC_ALL, "");
    const int categories = static_cast<int>(state.range(0));
    IHQGS_SymbolLibManager* m = OpenLibrary(GeneratedLibrary(categories));
    size_t bytes = 0;
    for (auto _ : state) {
        std::string xml = m->exportLibraryXml();
        bytes = xml.size();
        benchmark::DoNotOptimize(xml);
    }
    const int marks = categories * kMarksPerCategory;
    state.SetItemsProcessed(state.iterations() * marks);
    state.counters["marks"] = marks;
    state.counters["xml_bytes"] = static_cast<double>(bytes);
    state.SetComplexityN(marks);
    m->release();
}
BENCHMARK(BM_ExportLibraryXml)
    ->Arg(250)
    ->Arg(500)
    ->Arg(1000)
    ->Arg(2000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace

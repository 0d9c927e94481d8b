// SPDX-License-Identifier: Apache-2.0
// Symbol library store, both database engines side by side on the same
// generated library of 10,000 marks: marks read per second one by one
// through getMark, and many rows at once through a LIKE search.
//
// The SQLite library is a keyed file written by the sqlcipher shell; the
// MySQL library lives on a throwaway loopback server that this program
// starts with scripts/mariadb-fixture (in bench-mysql/ of the build tree)
// and stops when it ends.
#include <markstore/Symbol.h>
#include <markstore/SymbolLibManager.h>
#include <markstore_internal/LibraryKey.h>

#include <benchmark/benchmark.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

using namespace HQ;

namespace {

const int kMarks = 10000;
const int kMarksPerCategory = 10;
// Identifiers of the categories start here, above every mark identifier.
const int kCategoryBase = 1000000;
const int kLib = 1;
const int kSqlite = 0;
const int kMySQL = 1;

const std::string kSchema = SITPLOT_SOURCE_DIR "/examples/symbol-library/schema.sql";
const std::string kFixture = SITPLOT_SOURCE_DIR "/scripts/mariadb-fixture";
const std::string kWorkDir = SITPLOT_BINARY_DIR "/bench-mysql";

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

// The rows of the generated library, plain SQL that both databases accept.
std::string LibraryRows() {
    std::string sql = "BEGIN;\n";
    char line[1024];
    const int categories = kMarks / kMarksPerCategory;
    std::snprintf(line, sizeof line, "INSERT INTO Tags VALUES (%d, 'Generated', %d, %d);\n", kLib,
                  categories + kMarks, kMarks);
    sql += line;
    for (int c = 0; c < categories; ++c) {
        std::snprintf(line, sizeof line, "INSERT INTO Nodes VALUES (%d, %d, %d, 1, 'Category %d');\n", kLib,
                      kCategoryBase + c, kLib, c);
        sql += line;
    }
    for (int id = 1; id <= kMarks; ++id) {
        const int category = kCategoryBase + (id - 1) / kMarksPerCategory;
        std::snprintf(line, sizeof line, "INSERT INTO Nodes VALUES (%d, %d, %d, 2, 'Leaf %d');\n", kLib, id,
                      category, id);
        sql += line;
        std::snprintf(
            line, sizeof line,
            "INSERT INTO Marks VALUES (%d, %d, %d, 'Mark %d', 0, 0, 0, 0, 0, 0, 1, 0, 1, -40, -25, 40, 25, "
            "'%s', 1, 0);\n",
            kLib, id, category, id, kData);
        sql += line;
    }
    return sql + "COMMIT;\n";
}

void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream out(path);
    out << text;
    if (!out) throw std::runtime_error("cannot write " + path);
}

// The keyed SQLite library file, built once.
std::string SqliteLibrary() {
    static std::string path;
    if (!path.empty()) return path;
    const std::string file = kWorkDir + "/library.db";
    std::remove(file.c_str());
    const std::string command = "sqlcipher -bail '" + file + "' > /dev/null";
    FILE* shell = popen(command.c_str(), "w");
    if (shell == nullptr) throw std::runtime_error("cannot run sqlcipher");
    const std::string script =
        "PRAGMA key = '" + std::string(kLibraryKey) + "';\n" + ReadFile(kSchema) + LibraryRows();
    std::fwrite(script.data(), 1, script.size(), shell);
    if (pclose(shell) != 0) throw std::runtime_error("sqlcipher failed on " + file);
    path = file;
    return path;
}

// The loopback server holding the same library; started once, stopped when
// the program ends.
class MySQLLibrary {
public:
    static const MySQLLibrary& Get() {
        static MySQLLibrary server;
        return server;
    }
    ~MySQLLibrary() {
        const std::string stop = "'" + kFixture + "' stop '" + kWorkDir + "/server'";
        if (std::system(stop.c_str()) != 0) std::fprintf(stderr, "stopping the benchmark server failed\n");
    }
    std::string host, user, password, database;
    unsigned int port = 0;

private:
    MySQLLibrary() {
        const std::string rows = kWorkDir + "/library.sql";
        WriteFile(rows, LibraryRows());
        const std::string start =
            "'" + kFixture + "' start '" + kWorkDir + "/server' '" + kSchema + "' '" + rows + "' > /dev/null";
        if (std::system(start.c_str()) != 0) throw std::runtime_error("the benchmark server did not start");
        std::ifstream in(kWorkDir + "/server/connection");
        std::string portText;
        std::getline(in, host);
        std::getline(in, portText);
        std::getline(in, user);
        std::getline(in, password);
        std::getline(in, database);
        port = static_cast<unsigned int>(std::strtoul(portText.c_str(), nullptr, 10));
    }
};

IHQGS_SymbolLibManager* OpenLibrary(int engine) {
    std::setlocale(LC_ALL, "");
    if (std::system(("mkdir -p '" + kWorkDir + "'").c_str()) != 0) throw std::runtime_error("no work folder");
    IHQGS_SymbolLibManager* m = SymbolLibManagerFactory::GetInstance();
    m->init(engine);
    if (engine == kSqlite) {
        m->setDBPath(SqliteLibrary().c_str());
    } else {
        const MySQLLibrary& server = MySQLLibrary::Get();
        m->setHost(server.host.c_str());
        m->setUser(server.user.c_str());
        m->setPassward(server.password.c_str());
        m->setDBname(server.database.c_str());
        m->setPort(server.port);
    }
    if (!m->open()) throw std::runtime_error("cannot open the generated library");
    return m;
}

// Reads marks one by one, cycling through every identifier. Argument: the
// engine (0 SQLite, 1 MySQL).
void BM_GetMark(benchmark::State& state) {
    IHQGS_SymbolLibManager* m = OpenLibrary(static_cast<int>(state.range(0)));
    int id = 0;
    for (auto _ : state) {
        id = id % kMarks + 1;
        CHQGS_Symbol* symbol = m->getMark(kLib, id);
        if (symbol == nullptr) {
            state.SkipWithError("a mark is missing");
            break;
        }
        benchmark::DoNotOptimize(symbol);
        delete symbol;
    }
    state.SetItemsProcessed(state.iterations());
    m->release();
}
// Wall time: the server's share of the work runs in another process.
BENCHMARK(BM_GetMark)->ArgName("mysql")->Arg(kSqlite)->Arg(kMySQL)->UseRealTime();

// One search answering many rows: "Mark 1" matches 1112 of 10,000 names.
void BM_FindMarksByNameLike(benchmark::State& state) {
    IHQGS_SymbolLibManager* m = OpenLibrary(static_cast<int>(state.range(0)));
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
BENCHMARK(BM_FindMarksByNameLike)
    ->ArgName("mysql")
    ->Arg(kSqlite)
    ->Arg(kMySQL)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

// SPDX-License-Identifier: Apache-2.0
// Opening library files with the SQLite engine, and the engine without
// storage.
#include <markstore_internal/LibraryKey.h>
#include <markstore_internal/SqliteEngine.h>
#include <markstore_internal/SvgEngine.h>

#include <markstore/Symbol.h>
#include <markstore/SymbolUnitKinds.h>

#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

using namespace HQ;

namespace {

const int kMissingMark = 99999;

// A database of the test build folder.
std::string Library(const char* file) { return std::string(SITPLOT_TEST_DATABASE_DIR "/") + file; }

std::string ReadFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

const std::string kSchema = ReadFile(SITPLOT_SOURCE_DIR "/examples/symbol-library/schema.sql");

// Builds a file under the library key from SQL with the sqlcipher shell;
// answers its path.
std::string KeyedFile(const std::string& name, const std::string& sql) {
    const std::string path = Library(name.c_str());
    std::remove(path.c_str());
    FILE* shell = popen(("sqlcipher -bail '" + path + "' > /dev/null").c_str(), "w");
    if (shell == nullptr) return path;
    const std::string script = "PRAGMA key = '" + std::string(kLibraryKey) + "';\n" + sql;
    std::fwrite(script.data(), 1, script.size(), shell);
    EXPECT_EQ(pclose(shell), 0) << "sqlcipher failed on " << name;
    return path;
}

// A Marks row of library 70 with the given data text.
std::string MarkRow(int id, const std::string& name, const std::string& data) {
    return "INSERT INTO Marks VALUES (70, " + std::to_string(id) + ", 700, '" + name +
           "', 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, '" + data + "', 0, 0);\n";
}

// Fails the test (instead of hanging the run) when a call does not return.
class HangGuard {
public:
    explicit HangGuard(unsigned seconds) { alarm(seconds); }
    ~HangGuard() { alarm(0); }
};

TEST(EngineSqliteTest, OpenFailsForEverythingButAKeyedLibrary) {
    struct Case {
        const char* what;
        std::string path;
        bool opens;
    };
    const Case cases[] = {
        {"the test library", Library("store-tests.db"), true},
        {"the sample library", SITPLOT_SAMPLE_LIBRARY, true},
        {"no such file", Library("no-such-file.db"), false},
        {"empty path", "", false},
        {"a folder", SITPLOT_BINARY_DIR, false},
        {"a text file", SITPLOT_TESTDATA_DIR "/store/export.sql", false},
        {"another key", Library("wrong-key.db"), false},
        {"no key", Library("plain.db"), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CHQGS_SqliteEngine engine;
        engine.setDBPath(c.path.c_str());
        EXPECT_EQ(engine.open(), c.opens);
        EXPECT_EQ(engine.isOpen(), c.opens);
        // A failed open leaves the engine closed: reads answer defaults.
        EXPECT_EQ(engine.getShowMode(1, 1004), c.opens ? 2 : 4);
        std::list<CHQGS_SymbolTag*> tags = engine.getTags();
        EXPECT_EQ(tags.empty(), !c.opens);
        for (CHQGS_SymbolTag* tag : tags) delete tag;
    }
}

// Only a file that opens with the key and holds the library's four tables
// is a library.
TEST(EngineSqliteTest, OpenRefusesFilesThatAreNoLibrary) {
    const std::string empty = Library("empty-file.db");
    std::ofstream(empty).close();
    const std::string marksAsView =
        "CREATE TABLE Tags (ID INTEGER, LibName TEXT, NodeCount INTEGER, MarkCount "
        "INTEGER);\nCREATE TABLE Nodes (LibID, ID, PID, NodeLevel, NodeName);\n"
        "CREATE TABLE Images (LibID, ID, Image);\nCREATE TABLE RealMarks (a,b,c,d,e,"
        "f,g,h,i,j,k,l,m,n,o,p,q,r,s,t);\nCREATE VIEW Marks AS SELECT * FROM "
        "RealMarks;\n";
    struct Case {
        const char* what;
        std::string path;
        bool opens;
    };
    const Case cases[] = {
        {"an empty file", empty, false},
        {"a device", "/dev/zero", false},
        {"another database", KeyedFile("other-database.db", "CREATE TABLE Things (a, b);\n"), false},
        {"an empty keyed database", KeyedFile("no-tables.db", "PRAGMA user_version = 1;\n"), false},
        {"three of the tables", KeyedFile("three-tables.db", kSchema + "DROP TABLE Images;\n"), false},
        {"a view for a table", KeyedFile("marks-view.db", marksAsView), false},
        {"too few columns",
         KeyedFile("narrow-marks.db", kSchema + "DROP TABLE Marks;\nCREATE TABLE Marks (LibID, ID, PID);\n"),
         false},
        {"a damaged schema",
         KeyedFile("damaged-schema.db", kSchema +
                                            "PRAGMA writable_schema = ON;\nUPDATE sqlite_master SET sql = "
                                            "'CREATE TABLE Marks (' WHERE name = 'Marks';\n"),
         false},
        {"the schema alone", KeyedFile("schema-only.db", kSchema), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CHQGS_SqliteEngine engine;
        engine.setDBPath(c.path.c_str());
        EXPECT_EQ(engine.open(), c.opens);
        EXPECT_EQ(engine.isOpen(), c.opens);
    }
}

// A character the code page cannot hold empties only the text that holds it;
// the rest of the drawing is read.
TEST(EngineSqliteTest, DrawingTextsAreConvertedOneByOne) {
    const std::string line =
        "{\"Style\":1,\"LineWidth\":2,\"Vertexes\":[{\"X\":0,\"Y\":0},{\"X\":5,\"Y\":5}]}";
    const std::string text = [](const std::string& font, const std::string& t) {
        return "{\"Style\":7,\"FontName\":\"" + font + "\",\"FontHeight\":12,\"Text\":\"" + t + "\"}";
    }(u8"宋体", u8"坦克");
    const std::string emoji =
        "{\"Style\":7,\"FontName\":\"SimSun\",\"Text\":\"" + std::string(u8"Tank \U0001F600") + "\"}";
    const std::string escaped = "{\"Style\":7,\"FontName\":\"SimSun\",\"Text\":\"\\u5766\\u514b\"}";
    const std::string path =
        KeyedFile("drawing-texts.db", kSchema + MarkRow(1, "Plain", "[" + line + "," + text + "]") +
                                          MarkRow(2, "Emoji", "[" + line + "," + emoji + "," + text + "]") +
                                          MarkRow(3, "Escaped", "[" + escaped + "]"));
    CHQGS_SqliteEngine engine;
    engine.setDBPath(path.c_str());
    ASSERT_TRUE(engine.open());
    const std::string tankGbk = "\xcc\xb9\xbf\xcb", songGbk = "\xcb\xce\xcc\xe5";
    struct Case {
        int id;
        std::vector<std::string> texts;  // text of each text unit, in order
        size_t units;
    };
    const Case cases[] = {
        {1, {tankGbk}, 2},
        {2, {"", tankGbk}, 3},  // only the emoji text is lost
        {3, {tankGbk}, 1},      // JSON escapes are converted like every text
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        std::unique_ptr<CHQGS_Symbol> mark(engine.getMark(70, c.id));
        ASSERT_TRUE(mark);
        ASSERT_EQ(mark->GetUnits().size(), c.units);
        std::vector<std::string> texts;
        for (CHQGS_SymbolUnit* unit : mark->GetUnits())
            if (auto* t = dynamic_cast<CHQGS_SymbolUnitText*>(unit)) texts.push_back(t->GetText());
        EXPECT_EQ(texts, c.texts);
        // The search answers the same drawing.
        std::list<CHQGS_Symbol*> found = engine.findMarksById(c.id, 70);
        ASSERT_EQ(found.size(), 1u);
        EXPECT_EQ(found.front()->GetUnits().size(), c.units);
        for (CHQGS_Symbol* s : found) delete s;
    }
    std::unique_ptr<CHQGS_Symbol> plain(engine.getMark(70, 1));
    auto* font = dynamic_cast<CHQGS_SymbolUnitText*>(plain->GetUnits().back());
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->GetFontName(), songGbk);
    // getMarkData still converts the whole text: the emoji empties it.
    EXPECT_NE(engine.getMarkData(70, 1).find(tankGbk), std::string::npos);
    EXPECT_EQ(engine.getMarkData(70, 2), "");
}

// A statement that would run for ever is stopped by the work budget and
// answers the default; the next read has a budget of its own.
TEST(EngineSqliteTest, EndlessStatementsAreInterrupted) {
    CHQGS_SqliteEngine engine;
    engine.setDBPath(Library("store-tests.db").c_str());
    ASSERT_TRUE(engine.open());
    HangGuard guard(120);
    const std::string endless = "WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c) ";
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(engine.queryMark(
                  (endless + "SELECT Marks.* FROM c, Marks WHERE c.x < 0 AND Marks.ID = c.x;").c_str()),
              nullptr);
    EXPECT_TRUE(
        engine.queryMarks((endless + "SELECT Marks.* FROM c, Marks WHERE Marks.ID = -c.x;").c_str()).empty());
    EXPECT_EQ(engine.queryShowMode((endless + "SELECT count(*) FROM c;").c_str()), 4);
    EXPECT_EQ(engine.queryMarkName((endless + "SELECT 'x' FROM c WHERE x < 0;").c_str()), "");
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("four endless statements: %.2f s\n", seconds);
    // Real work fits: a million generated rows counted in one statement.
    EXPECT_EQ(
        engine.queryShowMode(
            "WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c LIMIT 1000000) SELECT count(*) "
            "FROM c;"),
        1000000);
    EXPECT_EQ(engine.getShowMode(1, 1004), 2);
    std::unique_ptr<CHQGS_Symbol> mark(engine.getMark(1, 1001));
    EXPECT_TRUE(mark);
}

// The kept statements are the builder's texts with the values as parameters,
// prepared on first use and finalized at close.
TEST(EngineSqliteTest, HotReadsKeepTheBuildersStatements) {
    CHQGS_StatementBuilder b;
    auto substituted = [](std::string text, const std::string& lib, const std::string& id) {
        text.replace(text.find("?1"), 2, lib);
        text.replace(text.find("?2"), 2, id);
        return text;
    };
    const int values[][2] = {{3, 7}, {-1, -2147483647 - 1}, {2147483647, 0}};
    for (const auto& v : values) {
        const std::string lib = std::to_string(v[0]), id = std::to_string(v[1]);
        EXPECT_EQ(substituted(CHQGS_SqliteEngine::HotReadText(CHQGS_SqliteEngine::HotMark), lib, id),
                  b.getMark(v[0], v[1]));
        EXPECT_EQ(substituted(CHQGS_SqliteEngine::HotReadText(CHQGS_SqliteEngine::HotMarksByNode), lib, id),
                  b.getMarksByNode(v[0], v[1]));
        const unsigned ul = static_cast<unsigned>(v[0]), ui = static_cast<unsigned>(v[1]);
        const std::string uls = std::to_string(ul), uis = std::to_string(ui);
        EXPECT_EQ(substituted(CHQGS_SqliteEngine::HotReadText(CHQGS_SqliteEngine::HotShowMode), uls, uis),
                  b.getShowMode(ul, ui));
        EXPECT_EQ(substituted(CHQGS_SqliteEngine::HotReadText(CHQGS_SqliteEngine::HotMarkType), uls, uis),
                  b.getMarkType(ul, ui));
        EXPECT_EQ(substituted(CHQGS_SqliteEngine::HotReadText(CHQGS_SqliteEngine::HotMarkName), uls, uis),
                  b.getMarkName(ul, ui));
    }

    CHQGS_SqliteEngine engine;
    engine.setDBPath(Library("store-tests.db").c_str());
    ASSERT_TRUE(engine.open());
    EXPECT_EQ(engine.preparedHotReads(), 0);
    for (int round = 0; round < 3; ++round) {
        std::unique_ptr<CHQGS_Symbol> mark(engine.getMark(1, 1001));
        EXPECT_TRUE(mark);
        EXPECT_EQ(engine.getShowMode(1, 1004), 2);
        EXPECT_EQ(engine.getMarkType(1, 1001), 1);
        // Identifiers beyond the signed range are bound as they were written.
        EXPECT_EQ(engine.getShowMode(4294967295u, 1004), 4);
        EXPECT_EQ(engine.getMarkName(1, kMissingMark), "");
        std::list<CHQGS_Symbol*> byNode = engine.getMarksByNode(1, 101);
        EXPECT_EQ(byNode.size(), 3u);
        for (CHQGS_Symbol* s : byNode) delete s;
    }
    EXPECT_EQ(engine.preparedHotReads(), 5);
    engine.close();
    EXPECT_EQ(engine.preparedHotReads(), 0);
    EXPECT_EQ(engine.getMark(1, 1001), nullptr);
    ASSERT_TRUE(engine.open());
    EXPECT_EQ(engine.getShowMode(1, 1004), 2);
}

TEST(EngineSqliteTest, OpeningNothingCreatesNoFile) {
    const std::string path = Library("never-created.db");
    CHQGS_SqliteEngine engine;
    engine.setDBPath(path.c_str());
    EXPECT_FALSE(engine.open());
    EXPECT_EQ(std::fopen(path.c_str(), "rb"), nullptr);
}

TEST(EngineSqliteTest, FailedReopenClosesTheOpenDatabase) {
    CHQGS_SqliteEngine engine;
    engine.setDBPath(Library("store-tests.db").c_str());
    ASSERT_TRUE(engine.open());
    engine.setDBPath(Library("wrong-key.db").c_str());
    EXPECT_FALSE(engine.open());
    EXPECT_FALSE(engine.isOpen());
    EXPECT_EQ(engine.getMark(1, 1001), nullptr);
}

TEST(EngineSqliteTest, QueriesThatDoNotCompileAnswerDefaults) {
    CHQGS_SqliteEngine engine;
    engine.setDBPath(Library("store-tests.db").c_str());
    ASSERT_TRUE(engine.open());
    const char* broken = "SELECT * FROM NoSuchTable;";
    EXPECT_EQ(engine.queryMark(broken), nullptr);
    EXPECT_TRUE(engine.queryMarks(broken).empty());
    EXPECT_EQ(engine.queryShowMode(broken), 4);
    EXPECT_EQ(engine.queryMarkType(broken), 0);
    EXPECT_EQ(engine.queryMarkName(broken), "");
    EXPECT_EQ(engine.queryMark(nullptr), nullptr);
    // A statement without result columns.
    EXPECT_EQ(engine.queryMark("DELETE FROM Marks WHERE 0;"), nullptr);
    // queryMark takes the first of several rows, queryMarks all in row order.
    std::unique_ptr<CHQGS_Symbol> first(
        engine.queryMark("SELECT * FROM Marks WHERE LibID=9 AND ID LIKE '%12%';"));
    ASSERT_TRUE(first);
    std::list<CHQGS_Symbol*> all = engine.queryMarks("SELECT * FROM Marks WHERE LibID=9 AND ID LIKE '%12%';");
    ASSERT_EQ(all.size(), 4u);
    EXPECT_EQ(all.front()->GetCommAttr()->ID, first->GetCommAttr()->ID);
    for (CHQGS_Symbol* s : all) delete s;
    // getImage without an image to fill.
    EXPECT_FALSE(engine.getImage(9, 12, nullptr));
    EXPECT_FALSE(engine.addImage(9, 12, nullptr));
}

TEST(EngineSvgTest, AnswersOnlyEmptyResults) {
    CHQGS_SvgEngine engine;
    EXPECT_FALSE(engine.open());
    engine.setDBPath(Library("store-tests.db").c_str());
    EXPECT_FALSE(engine.open());
    engine.close();
    EXPECT_EQ(engine.getMark(1, 1001), nullptr);
    EXPECT_EQ(engine.queryMark("SELECT 1;"), nullptr);
    EXPECT_EQ(engine.getMarkData(1, 1001), "");
    EXPECT_EQ(engine.getMarkName(1, 1001), "");
    EXPECT_EQ(engine.getShowMode(1, 1001), 4);
    EXPECT_EQ(engine.getMarkType(1, 1001), 0);
    EXPECT_EQ(engine.getMarkKind(1, 1001), -1);
    EXPECT_TRUE(engine.getMarksByNode(1, 101).empty());
    EXPECT_TRUE(engine.findMarksById(12, 9).empty());
    EXPECT_TRUE(engine.findMarksByIdLike(12, 9).empty());
    EXPECT_TRUE(engine.findMarksByName(9, "Ford").empty());
    EXPECT_TRUE(engine.findMarksByNameLike(9, "").empty());
    EXPECT_TRUE(engine.queryMarks("SELECT 1;").empty());
    EXPECT_TRUE(engine.getTags().empty());
    EXPECT_TRUE(engine.getNodes(1, -1).empty());
    CHQGS_SymbolImage image;
    EXPECT_FALSE(engine.getImage(1, 1001, &image));
    EXPECT_FALSE(engine.addImage(1, 1001, &image));
    EXPECT_FALSE(engine.replaceImage(1, 1001, &image));
    EXPECT_FALSE(engine.addTag(1, "n", 0, 0));
    EXPECT_FALSE(engine.addMark(1, 2, 3, "n", 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "[]"));
}

}  // namespace

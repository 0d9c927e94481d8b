// Opening library files with the SQLite engine, and the engine without
// storage.
#include <markstore_internal/SqliteEngine.h>
#include <markstore_internal/SvgEngine.h>

#include <markstore/Symbol.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

using namespace HQ;

namespace {

// A database of the test build folder.
std::string Library(const char* file) { return std::string(SITPLOT_TEST_DATABASE_DIR "/") + file; }

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

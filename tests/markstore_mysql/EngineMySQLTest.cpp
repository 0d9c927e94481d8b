// SPDX-License-Identifier: Apache-2.0
// Tests of the MySQL engine that the conformance suite does not cover: number
// parsing, settings, escaping of spliced texts under both server modes, row
// shapes other than the library's own tables, the image insert's answer,
// failed connections and connections that die mid-session.
#include "MySQLServer.h"

#include <markstore_internal/MySQLEngine.h>
#include <markstore_internal/SymbolLibManagerImpl.h>

#include <markstore/Symbol.h>
#include <markstore/SymbolUnitKinds.h>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <climits>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <sstream>
#include <vector>

using namespace HQ;

namespace {

using SymbolPtr = std::unique_ptr<CHQGS_Symbol>;

template <typename T>
std::vector<std::unique_ptr<T>> Own(std::list<T*> items) {
    std::vector<std::unique_ptr<T>> owned;
    for (T* item : items) owned.emplace_back(item);
    return owned;
}

std::set<int> MarkIds(std::list<CHQGS_Symbol*> marks) {
    std::set<int> ids;
    for (auto& m : Own(std::move(marks))) ids.insert(m->GetCommAttr()->ID);
    return ids;
}

// A text unit whose text is given as it stands in the JSON (escapes included).
std::string TextUnitData(const std::string& jsonText) {
    return "[{\"Style\":7,\"FontAngle\":0,\"FontName\":\"SimSun\",\"FontWidth\":8,\"FontHeight\":16,"
           "\"FontColor\":{\"R\":0,\"G\":0,\"B\":0,\"A\":255},\"FontDistance\":0,\"LineDistance\":0,"
           "\"FontStyle\":0,\"FontPos\":{\"X\":0,\"Y\":0},\"Text\":\"" +
           jsonText + "\"}]";
}

// The modes of the server that change how literals are read.
struct ServerMode {
    const char* name;
    const char* setup;  // statement run on the engine's connection, or null
    bool backslashEscapes;
};

const ServerMode kModes[] = {
    {"Default", nullptr, true},
    {"NoBackslashEscapes", "SET SESSION sql_mode = CONCAT(@@sql_mode, ',NO_BACKSLASH_ESCAPES')", false},
};

void PrintTo(const ServerMode& mode, std::ostream* os) { *os << mode.name; }

std::string ModeName(const ::testing::TestParamInfo<ServerMode>& info) { return info.param.name; }

// An engine open on the shared server; a missing server fails the test.
class MySQLEngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string why;
        ASSERT_TRUE(SharedMySQLSettings(&settings, &why)) << why;
        settings.applyTo(&engine);
        ASSERT_TRUE(engine.open()) << "cannot connect to the test server at " << settings.host << ":"
                                   << settings.port;
    }

    // Removes every row of a library the test writes.
    void clearLibrary(int libID) {
        const std::string lib = std::to_string(libID);
        ASSERT_TRUE(engine.execute("DELETE FROM Tags WHERE ID=" + lib));
        ASSERT_TRUE(engine.execute("DELETE FROM Nodes WHERE LibID=" + lib));
        ASSERT_TRUE(engine.execute("DELETE FROM Marks WHERE LibID=" + lib));
        ASSERT_TRUE(engine.execute("DELETE FROM Images WHERE LibID=" + lib));
    }

    MySQLSettings settings;
    CHQGS_MySQLEngine engine;
};

class MySQLModeTest : public MySQLEngineTest, public ::testing::WithParamInterface<ServerMode> {
protected:
    static constexpr int kLib = 61;
    void SetUp() override {
        MySQLEngineTest::SetUp();
        if (HasFatalFailure()) return;
        if (GetParam().setup != nullptr) {
            ASSERT_TRUE(engine.execute(GetParam().setup));
        }
        clearLibrary(kLib);
    }
    void TearDown() override {
        if (engine.isOpen()) clearLibrary(kLib);
    }
};

}  // namespace

// ---- Numbers -------------------------------------------------------------------

TEST(MySQLEngineParseTest, NumbersAreReadAsStreamExtractionReadsThem) {
    const char* const texts[] = {
        "0",
        "1",
        "-1",
        "+7",
        "007",
        " 42",
        "\t\n-13",
        "1.500000",
        "-0.25",
        "359.9",
        "-3.9",
        "1e5",
        "12abc",
        "abc",
        "",
        "-",
        "+",
        " +-3",
        "0x1A",
        "2147483647",
        "2147483648",
        "-2147483648",
        "-2147483649",
        "99999999999999999999",
        "-99999999999999999999",
        "4294967295",
    };
    for (const char* text : texts) {
        int expected = 0;
        std::istringstream in(text);
        in >> expected;
        EXPECT_EQ(CHQGS_MySQLEngine::ParseInt(text), expected) << '"' << text << '"';
    }
    EXPECT_EQ(CHQGS_MySQLEngine::ParseInt(nullptr), 0);  // a NULL column
}

// ---- Settings ------------------------------------------------------------------

TEST(MySQLEngineSettingsTest, NewEngineUsesPort3306AndEmptySettings) {
    CHQGS_MySQLEngine engine;
    EXPECT_EQ(engine.portSetting(), 3306u);
    EXPECT_EQ(engine.hostSetting(), "");
    EXPECT_EQ(engine.userSetting(), "");
    EXPECT_EQ(engine.passwordSetting(), "");
    EXPECT_EQ(engine.dbNameSetting(), "");
    EXPECT_FALSE(engine.isOpen());
    EXPECT_EQ(engine.connectionId(), 0u);
}

TEST(MySQLEngineSettingsTest, ManagerTypeOneCreatesThisEngine) {
    IHQGS_SymbolLibManager* m = SymbolLibManagerFactory::GetInstance();
    ASSERT_TRUE(m->init(1));
    CHQGS_BaseEngine* engine = static_cast<CHQGS_SymbolLibManager*>(m)->currentEngine();
    EXPECT_NE(dynamic_cast<CHQGS_MySQLEngine*>(engine), nullptr);
    EXPECT_FALSE(engine->isOpen());  // init opens nothing
    m->release();
}

TEST_F(MySQLEngineTest, SettersCopyTheTexts) {
    engine.close();
    // Buffers the caller overwrites (or frees) before open.
    std::vector<char> host(settings.host.begin(), settings.host.end()),
        user(settings.user.begin(), settings.user.end());
    std::vector<char> password(settings.password.begin(), settings.password.end()),
        database(settings.database.begin(), settings.database.end());
    for (auto* buffer : {&host, &user, &password, &database}) buffer->push_back('\0');
    engine.setHost(host.data());
    engine.setUser(user.data());
    engine.setPassward(password.data());
    engine.setDBname(database.data());
    for (auto* buffer : {&host, &user, &password, &database})
        std::fill(buffer->begin(), buffer->end() - 1, 'x');
    EXPECT_EQ(engine.hostSetting(), settings.host);
    EXPECT_EQ(engine.dbNameSetting(), settings.database);
    ASSERT_TRUE(engine.open());
    EXPECT_EQ(engine.getShowMode(1, 1004), 2);
    engine.setHost(nullptr);  // null counts as empty
    EXPECT_EQ(engine.hostSetting(), "");
}

TEST_F(MySQLEngineTest, OpenFailsOnWrongSettingsAndLeavesTheEngineClosed) {
    struct Case {
        const char* what;
        std::function<void(MySQLSettings*)> spoil;
    };
    const Case cases[] = {
        {"wrong password", [](MySQLSettings* s) { s->password += "-wrong"; }},
        {"unknown user", [](MySQLSettings* s) { s->user = "nobody_here"; }},
        {"unknown database", [](MySQLSettings* s) { s->database = "no_such_database"; }},
        {"nothing listens", [](MySQLSettings* s) { s->port = 1; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MySQLSettings spoiled = settings;
        c.spoil(&spoiled);
        CHQGS_MySQLEngine other;
        spoiled.applyTo(&other);
        EXPECT_FALSE(other.open());
        EXPECT_FALSE(other.isOpen());
        EXPECT_EQ(other.getShowMode(1, 1004), 4);
        EXPECT_TRUE(other.getTags().empty());
        EXPECT_FALSE(other.addTag(62, "x", 0, 0));
        // An open engine that fails to reopen is closed afterwards.
        spoiled.applyTo(&engine);
        EXPECT_FALSE(engine.open());
        EXPECT_FALSE(engine.isOpen());
        settings.applyTo(&engine);
        ASSERT_TRUE(engine.open());
    }
}

// ---- Statements ----------------------------------------------------------------

TEST_F(MySQLEngineTest, TagsAreReadFromTheTablesOwnName) {
    // The test server keeps table names case-sensitive: the upper-case
    // spelling finds no table.
    EXPECT_FALSE(engine.execute("SELECT * FROM TAGS;"));
    EXPECT_EQ(engine.statements().getTags(), "SELECT * FROM Tags;");
    EXPECT_EQ(Own(engine.getTags()).size(), 4u);
}

TEST_P(MySQLModeTest, OrdinaryTextsAreSplicedUnchangedAndHostileOnesEscaped) {
    const CHQGS_StatementBuilder& b = engine.statements();
    EXPECT_EQ(b.addTag(5, "Plain name", 1, 2),
              "INSERT INTO Tags(ID, LibName, NodeCount, MarkCount)VALUES(5,\"Plain name\",1,2);");
    EXPECT_EQ(b.findMarksByName(3, u8"装甲车"), u8"SELECT * FROM Marks WHERE LibID=3 AND MarkName='装甲车';");
    EXPECT_EQ(b.getImage(4, 9), "SELECT * FROM Images WHERE ID=9 AND LibID=4;");
    EXPECT_EQ(b.deleteImage(4, 9), "DELETE FROM Images WHERE LibID=4 AND ID = 9;");
    const bool backslash = GetParam().backslashEscapes;
    EXPECT_EQ(b.addTag(5, "a'b\"c\\d", 0, 0),
              std::string("INSERT INTO Tags(ID, LibName, NodeCount, MarkCount)VALUES(5,") +
                  (backslash ? "\"a\\'b\\\"c\\\\d\"" : "\"a'b\"\"c\\d\"") + ",0,0);");
    EXPECT_EQ(b.findMarksByName(0, "a'b\"c\\d"), std::string("SELECT * FROM Marks WHERE MarkName=") +
                                                     (backslash ? "'a\\'b\\\"c\\\\d'" : "'a''b\"c\\d'") +
                                                     ";");
}

// ---- Spliced texts round trip ----------------------------------------------------

namespace {

const std::vector<std::string>& HostileTexts() {
    static const std::vector<std::string> texts = {
        "\\' OR 1=1 -- ",
        "x\" OR \"1\"=\"1",
        "x' OR '1'='1",
        "back\\slash",
        "ends with \\",
        "\\\"",
        "\\\\",
        "''\"\"",
        "line\nbreak\r\ttab",
        std::string("nul\0inside", 10),
        "ctrl-Z \x1a",
        u8"装甲车 \\ ' \"",
        "50%_off",
        "; DROP TABLE Tags; --",
    };
    return texts;
}

}  // namespace

TEST_P(MySQLModeTest, HostileNamesAreStoredAndFoundByteForByte) {
    const std::vector<std::string>& names = HostileTexts();
    for (size_t i = 0; i < names.size(); ++i) {
        const std::string& name = names[i];
        SCOPED_TRACE(testing::Message() << "name " << i);
        const int id = 6100 + static_cast<int>(i);
        ASSERT_TRUE(engine.addNode(kLib, id, kLib, 1, name));
        ASSERT_TRUE(engine.addMark(kLib, id, kLib, name, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, "[]"));
        EXPECT_EQ(engine.getMarkName(kLib, id), name);
        EXPECT_EQ(MarkIds(engine.findMarksByName(kLib, name)), std::set<int>{id});
        // '%' and '_' stay wildcards, so the pattern matches at least the mark.
        EXPECT_EQ(MarkIds(engine.findMarksByNameLike(kLib, name)).count(id), 1u);
        EXPECT_TRUE(engine.deleteMark(kLib, id));
    }
    auto nodes = Own(engine.getNodes(kLib, kLib));
    ASSERT_EQ(nodes.size(), names.size());
    for (size_t i = 0; i < names.size(); ++i) EXPECT_EQ(nodes[i]->NodeName, names[i]) << "node " << i;
}

TEST_P(MySQLModeTest, HostileTextsChangeOnlyTheirOwnRow) {
    ASSERT_TRUE(engine.addTag(kLib, "Library", 0, 0));
    ASSERT_TRUE(engine.addNode(kLib, 1, kLib, 1, "First"));
    ASSERT_TRUE(engine.addNode(kLib, 2, kLib, 1, "Second"));
    for (const std::string& name : HostileTexts()) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(engine.updateNode(kLib, 1, kLib, 1, name));
        ASSERT_TRUE(engine.updateTag(kLib, name, 3, 4));
        auto nodes = Own(engine.getNodes(kLib, kLib));
        ASSERT_EQ(nodes.size(), 2u);
        EXPECT_EQ(nodes[0]->NodeName, name);
        EXPECT_EQ(nodes[1]->NodeName, "Second");
        std::map<int, std::string> tagNames;
        for (auto& tag : Own(engine.getTags())) tagNames[tag->ID] = tag->LibName;
        EXPECT_EQ(tagNames.size(), 5u);
        EXPECT_EQ(tagNames[kLib], name);
        EXPECT_EQ(tagNames[1], u8"战术标号");
        // A hostile search text finds nothing beyond the text itself.
        EXPECT_TRUE(engine.findMarksByName(0, name).empty());
    }
}

TEST_P(MySQLModeTest, DataWithBackslashesIsStoredUnchanged) {
    struct Case {
        std::string jsonText;  // as it stands in the data text
        std::string text;      // the text unit's text after reading the JSON
    };
    const Case cases[] = {
        {"say \\\"hi\\\"", "say \"hi\""},
        {"C:\\\\dir\\\\file", "C:\\dir\\file"},
        {"tab\\tnew\\nline", "tab\tnew\nline"},
        {"\\u0041\\u5766", u8"A坦"},
        {"it's", "it's"},
        {"\\\\' OR 1=1 -- ", "\\' OR 1=1 -- "},
    };
    int id = 6200;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.jsonText);
        const std::string data = TextUnitData(c.jsonText);
        ++id;
        ASSERT_TRUE(engine.addMark(kLib, id, kLib, "Data", 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, data));
        EXPECT_EQ(engine.getMarkData(kLib, id), data);
        SymbolPtr mark(engine.getMark(kLib, id));
        ASSERT_TRUE(mark);
        ASSERT_EQ(mark->GetUnits().size(), 1u);
        ASSERT_EQ(mark->GetUnits()[0]->GetType(), Unit_Text);
        EXPECT_EQ(static_cast<CHQGS_SymbolUnitText*>(mark->GetUnits()[0])->GetText(), c.text);
        // The same through the update statement.
        const std::string updated = TextUnitData(c.jsonText + "\\\\");
        ASSERT_TRUE(
            engine.updateMark(kLib, id, kLib, "Data", 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, updated));
        EXPECT_EQ(engine.getMarkData(kLib, id), updated);
    }
}

TEST_P(MySQLModeTest, LikeSearchTreatsBackslashAsItself) {
    ASSERT_TRUE(engine.addMark(kLib, 1, kLib, "a\\b", 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, "[]"));
    ASSERT_TRUE(engine.addMark(kLib, 2, kLib, "ab", 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, "[]"));
    ASSERT_TRUE(engine.addMark(kLib, 3, kLib, "a%b", 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, "[]"));
    EXPECT_EQ(MarkIds(engine.findMarksByNameLike(kLib, "a\\b")), std::set<int>{1});
    EXPECT_EQ(MarkIds(engine.findMarksByNameLike(kLib, "\\")), std::set<int>{1});
    EXPECT_EQ(MarkIds(engine.findMarksByNameLike(kLib, "a%b")), (std::set<int>{1, 2, 3}));  // a wildcard
    EXPECT_EQ(MarkIds(engine.findMarksByNameLike(kLib, "b")), (std::set<int>{1, 2, 3}));
}

INSTANTIATE_TEST_SUITE_P(Modes, MySQLModeTest, ::testing::ValuesIn(kModes), ModeName);

// ---- Row shapes ------------------------------------------------------------------
// Temporary tables of the engine's own connection hide the shared tables of
// the same name, so these shapes leave the shared library untouched.

TEST_F(MySQLEngineTest, MarkRowsOfEighteenColumnsLeaveTheExtraIntegersUnset) {
    ASSERT_TRUE(engine.execute(
        "CREATE TEMPORARY TABLE Marks (LibID INT, ID INT, PID INT, MarkName VARCHAR(50), ConnectId INT, "
        "ConnectLibID INT, Mirror DOUBLE, PosX DOUBLE, PosY DOUBLE, UnknownS DOUBLE, TextNum INT, Heading "
        "DOUBLE, "
        "MarkType INT, MinX DOUBLE, MinY DOUBLE, MaxX DOUBLE, MaxY DOUBLE, Data TEXT)"));
    ASSERT_TRUE(engine.addMark(3, 7, 30, "Short", 44, 5, 1, -0.25, 2.75, -3.9, 2, 359.9, 1, -5.5, 10, 20.5,
                               -3, "[]"));
    SymbolPtr mark(engine.getMark(3, 7));
    ASSERT_TRUE(mark);
    const CHQGS_SymbolCommAttr* a = mark->GetCommAttr();
    EXPECT_EQ(a->MarkName, "Short");
    EXPECT_EQ(a->ConnectId, 44);
    EXPECT_EQ(a->PosY, 2);
    EXPECT_EQ(a->UnknownS, -3);
    EXPECT_EQ(a->Heading, 359);
    EXPECT_EQ(a->MinY, -10);
    EXPECT_EQ(a->MaxY, 3);
    EXPECT_EQ(a->ExtraInt1, 0);
    EXPECT_EQ(a->ExtraInt2, 0);
    EXPECT_EQ(MarkIds(engine.getMarksByNode(3, 30)), std::set<int>{7});
}

TEST_F(MySQLEngineTest, RowsWithFewerColumnsReadTheMissingOnesAsEmpty) {
    ASSERT_TRUE(engine.execute("CREATE TEMPORARY TABLE Marks (LibID INT, ID INT, PID INT)"));
    ASSERT_TRUE(engine.execute("INSERT INTO Marks VALUES (3, 7, 30)"));
    SymbolPtr mark(engine.getMark(3, 7));
    ASSERT_TRUE(mark);
    EXPECT_EQ(mark->GetCommAttr()->PID, 30);
    EXPECT_EQ(mark->GetCommAttr()->MarkName, "");
    EXPECT_TRUE(mark->GetUnits().empty());
    EXPECT_EQ(engine.getMarkData(3, 7), "");
    EXPECT_EQ(Own(engine.findMarksById(7, 3)).size(), 1u);
    // Statements that answer no rows at all.
    EXPECT_EQ(engine.queryMark("DELETE FROM Marks WHERE ID=12345"), nullptr);
    EXPECT_EQ(engine.queryShowMode("DO 1"), 4);
    EXPECT_EQ(engine.queryMarkName(nullptr), "");
    EXPECT_TRUE(engine.queryMarks(nullptr).empty());
}

TEST_F(MySQLEngineTest, SingleValueReadsTakeTheLastRow) {
    struct Case {
        const char* sql;
        int showMode, markType;
        const char* name;
    };
    const Case cases[] = {
        {"SELECT 2 UNION ALL SELECT 3", 3, 0, "3"},
        {"SELECT 1 UNION ALL SELECT 5 UNION ALL SELECT 1", 1, 1, "1"},
        {"SELECT ' 7.9xyz'", 7, 0, " 7.9xyz"},
        {"SELECT NULL", 0, 0, ""},
        {"SELECT 1 FROM Tags WHERE ID=-5", 4, 0, ""},  // no row
        {"SELECT * FROM NoSuchTable", 4, 0, ""},       // a failed statement
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sql);
        EXPECT_EQ(engine.queryShowMode(c.sql), c.showMode);
        EXPECT_EQ(engine.queryMarkType(c.sql), c.markType);
        EXPECT_EQ(engine.queryMarkName(c.sql), c.name);
    }
}

// ---- Images ----------------------------------------------------------------------

TEST_F(MySQLEngineTest, ImageIsTakenOnlyFromABlobLastColumn) {
    const unsigned char kept[] = {9, 8, 7};
    struct Case {
        const char* table;
        const char* row;
        std::vector<unsigned char> expected;  // empty: the image keeps its bytes
    };
    const Case cases[] = {
        {"CREATE TEMPORARY TABLE Images (LibID INT, ID INT, Note VARCHAR(10))", "(3, 7, 'text')", {}},
        {"CREATE TEMPORARY TABLE Images (LibID INT, ID INT, Image BLOB, Size INT)", "(3, 7, X'0102', 2)", {}},
        {"CREATE TEMPORARY TABLE Images (LibID INT, ID INT, Image LONGBLOB)", "(3, 7, X'0102')", {1, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.table);
        ASSERT_TRUE(engine.execute(c.table));
        ASSERT_TRUE(engine.execute(std::string("INSERT INTO Images VALUES ") + c.row));
        CHQGS_SymbolImage image(kept, sizeof kept);
        EXPECT_TRUE(engine.getImage(3, 7, &image));
        std::vector<unsigned char> expected =
            c.expected.empty() ? std::vector<unsigned char>(kept, kept + 3) : c.expected;
        ASSERT_EQ(image.getSize(), static_cast<int>(expected.size()));
        EXPECT_TRUE(std::equal(expected.begin(), expected.end(), image.getData()));
        ASSERT_TRUE(engine.execute("DROP TEMPORARY TABLE Images"));
    }
    CHQGS_SymbolImage image;
    EXPECT_FALSE(engine.getImage(3, 7, nullptr));
    ASSERT_TRUE(engine.execute("CREATE TEMPORARY TABLE Images (LibID INT)"));
    EXPECT_FALSE(engine.getImage(3, 7, &image));  // the statement fails: no column ID
}

TEST_F(MySQLEngineTest, ImageWritesAnswerWhetherTheImageWasStored) {
    const int lib = 63;
    clearLibrary(lib);
    std::vector<unsigned char> big(1 << 20);
    for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<unsigned char>(i * 7 + (i >> 8));
    const CHQGS_SymbolImage bigImage(big.data(), static_cast<int>(big.size()));
    const CHQGS_SymbolImage empty;
    EXPECT_TRUE(engine.addImage(lib, 1, &bigImage));
    std::unique_ptr<CHQGS_SymbolImage> read(new CHQGS_SymbolImage());
    EXPECT_TRUE(engine.getImage(lib, 1, read.get()));
    ASSERT_EQ(read->getSize(), static_cast<int>(big.size()));
    EXPECT_EQ(std::memcmp(read->getData(), big.data(), big.size()), 0);
    EXPECT_TRUE(engine.replaceImage(lib, 1, &empty));  // an empty blob is stored
    read.reset(new CHQGS_SymbolImage(big.data(), 4));
    EXPECT_TRUE(engine.getImage(lib, 1, read.get()));
    EXPECT_EQ(read->getSize(), 0);
    const CHQGS_SymbolImage small(big.data(), 2);
    EXPECT_TRUE(engine.replaceImage(lib, 1, &small));
    EXPECT_FALSE(engine.addImage(lib, 1, nullptr));
    EXPECT_FALSE(engine.replaceImage(lib, 1, nullptr));
    EXPECT_TRUE(engine.getImage(lib, 1, read.get()));
    EXPECT_EQ(read->getSize(), 2);  // the stored image was kept
    clearLibrary(lib);

    // Tables the insert cannot go into: the statement does not prepare (no
    // column Image), or it prepares but fails to execute (a column without
    // default is left out).
    const char* const refusing[] = {
        "CREATE TEMPORARY TABLE Images (LibID INT, ID INT)",
        "CREATE TEMPORARY TABLE Images (LibID INT, ID INT, Image BLOB, Needed INT NOT NULL)",
    };
    for (const char* table : refusing) {
        SCOPED_TRACE(table);
        ASSERT_TRUE(engine.execute(table));
        EXPECT_FALSE(engine.addImage(lib, 2, &bigImage));
        EXPECT_FALSE(engine.replaceImage(lib, 2, &bigImage));
        ASSERT_TRUE(engine.execute("DROP TEMPORARY TABLE Images"));
    }
}

// ---- Dead connections --------------------------------------------------------------

namespace {

// Every read answers its default and every write false.
void ExpectDeadEngine(CHQGS_MySQLEngine& e) {
    CHQGS_SymbolImage image(reinterpret_cast<const unsigned char*>("abc"), 3);
    EXPECT_EQ(e.getMark(1, 1001), nullptr);
    EXPECT_EQ(e.getMarkData(1, 1001), "");
    EXPECT_EQ(e.getShowMode(1, 1004), 4);
    EXPECT_EQ(e.getMarkType(1, 1001), 0);
    EXPECT_EQ(e.getMarkName(1, 1001), "");
    EXPECT_EQ(e.getMarkKind(1, 1001), -1);
    EXPECT_TRUE(e.getMarksByNode(1, 101).empty());
    EXPECT_TRUE(e.findMarksById(1001, 1).empty());
    EXPECT_TRUE(e.findMarksByIdLike(100, 1).empty());
    EXPECT_TRUE(e.findMarksByName(0, "x").empty());
    EXPECT_TRUE(e.findMarksByNameLike(0, "").empty());
    EXPECT_TRUE(e.getTags().empty());
    EXPECT_TRUE(e.getNodes(1, -1).empty());
    EXPECT_FALSE(e.getImage(1, 1001, &image));
    EXPECT_EQ(image.getSize(), 3);
    EXPECT_FALSE(e.addTag(64, "x", 0, 0));
    EXPECT_FALSE(e.updateTag(64, "x", 0, 0));
    EXPECT_FALSE(e.deleteTag(64));
    EXPECT_FALSE(e.addNode(64, 1, 64, 1, "x"));
    EXPECT_FALSE(e.updateNode(64, 1, 64, 1, "x"));
    EXPECT_FALSE(e.deleteNode(64, 1, 64));
    EXPECT_FALSE(e.addMark(64, 1, 64, "x", 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "[]"));
    EXPECT_FALSE(e.updateMark(64, 1, 64, "x", 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "[]"));
    EXPECT_FALSE(e.deleteMark(64, 1));
    EXPECT_FALSE(e.addImage(64, 1, &image));
    EXPECT_FALSE(e.replaceImage(64, 1, &image));
    EXPECT_FALSE(e.deleteImage(64, 1));
}

}  // namespace

// A lost connection: the write that meets it fails (it is not tried again)
// and says why; reads connect anew and answer, without open.
TEST_F(MySQLEngineTest, KilledConnectionIsMadeAnewByTheNextRead) {
    CHQGS_MySQLEngine killer;
    settings.applyTo(&killer);
    ASSERT_TRUE(killer.open());
    ASSERT_EQ(engine.getShowMode(1, 1004), 2);
    const unsigned long first = engine.connectionId();
    ASSERT_NE(first, 0u);
    ASSERT_TRUE(killer.execute("KILL CONNECTION " + std::to_string(first)));
    EXPECT_FALSE(engine.addTag(64, "x", 0, 0));
    std::printf("write on the killed connection: %s\n", engine.lastError().c_str());
    EXPECT_NE(engine.lastError(), "");
    EXPECT_EQ(engine.reconnectCount(), 0);
    // The next read reconnects and answers.
    EXPECT_EQ(engine.getShowMode(1, 1004), 2);
    EXPECT_EQ(engine.reconnectCount(), 1);
    EXPECT_NE(engine.connectionId(), first);
    // Killed again: the first read after it answers too, as does every read kind.
    struct Read {
        const char* what;
        std::function<bool(CHQGS_MySQLEngine&)> answers;
    };
    const Read reads[] = {
        {"getMark", [](CHQGS_MySQLEngine& e) { return SymbolPtr(e.getMark(1, 1001)) != nullptr; }},
        {"getMarkData", [](CHQGS_MySQLEngine& e) { return !e.getMarkData(1, 1001).empty(); }},
        {"getMarkType", [](CHQGS_MySQLEngine& e) { return e.getMarkType(1, 1001) == 1; }},
        {"getMarkName", [](CHQGS_MySQLEngine& e) { return !e.getMarkName(1, 1001).empty(); }},
        {"getMarksByNode",
         [](CHQGS_MySQLEngine& e) { return MarkIds(e.getMarksByNode(1, 101)).size() == 3; }},
        {"findMarksByNameLike",
         [](CHQGS_MySQLEngine& e) { return !MarkIds(e.findMarksByNameLike(0, "")).empty(); }},
        {"getTags", [](CHQGS_MySQLEngine& e) { return Own(e.getTags()).size() == 4; }},
        {"getNodes", [](CHQGS_MySQLEngine& e) { return !Own(e.getNodes(1, -1)).empty(); }},
    };
    for (const Read& r : reads) {
        SCOPED_TRACE(r.what);
        ASSERT_TRUE(killer.execute("KILL CONNECTION " + std::to_string(engine.connectionId())));
        EXPECT_TRUE(r.answers(engine)) << engine.lastError();
    }
}

namespace {

// A loopback listener that accepts connections and never says a word, as a
// frozen server does.
class SilentListener {
public:
    SilentListener() {
        fd_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof addr;
        if (fd_ >= 0 && bind(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 &&
            listen(fd_, 8) == 0 && getsockname(fd_, reinterpret_cast<sockaddr*>(&addr), &len) == 0)
            port_ = ntohs(addr.sin_port);
    }
    ~SilentListener() {
        if (fd_ >= 0) ::close(fd_);
    }
    unsigned int port() const { return port_; }

private:
    int fd_ = -1;
    unsigned int port_ = 0;
};

// Fails the test (instead of hanging the run) when a call does not return.
class HangGuard {
public:
    explicit HangGuard(unsigned seconds) { alarm(seconds); }
    ~HangGuard() { alarm(0); }
};

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

TEST(MySQLEngineServerTest, OpenGivesUpOnAServerThatNeverAnswers) {
    SilentListener listener;
    ASSERT_NE(listener.port(), 0u);
    CHQGS_MySQLEngine engine;
    engine.setHost("127.0.0.1");
    engine.setUser("sitplot");
    engine.setPassward("sitplot");
    engine.setDBname("sitplot");
    engine.setPort(listener.port());
    HangGuard guard(120);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(engine.open());
    const double seconds = SecondsSince(start);
    std::printf("open against a silent listener: %.1f s, %s\n", seconds, engine.lastError().c_str());
    EXPECT_LT(seconds, 2.0 * CHQGS_MySQLEngine::kConnectTimeoutSeconds + 2);
    EXPECT_NE(engine.lastError(), "");
}

// A frozen server (stopped with SIGSTOP): a read gives up after the read
// time-out and one reconnect attempt; once the server runs again, reads
// answer without open.
// Waits until process pid has stopped (a signal is delivered asynchronously:
// without the wait, a query sent right after SIGSTOP may still be answered).
bool WaitUntilStopped(int pid) {
    const std::string path = "/proc/" + std::to_string(pid) + "/stat";
    for (int i = 0; i < 500; ++i) {
        if (std::FILE* f = std::fopen(path.c_str(), "r")) {
            char line[512] = {};
            const size_t got = std::fread(line, 1, sizeof(line) - 1, f);
            std::fclose(f);
            const char* close = got > 0 ? std::strrchr(line, ')') : nullptr;
            if (close != nullptr && close[1] == ' ' && (close[2] == 'T' || close[2] == 't')) return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

TEST(MySQLEngineServerTest, FrozenServerTimesOutAndIsUsedAgainWhenItThaws) {
    PrivateMySQLServer server(SITPLOT_BINARY_DIR "/mysql-fixture-private");
    MySQLSettings settings;
    std::string why;
    ASSERT_TRUE(server.start(&settings, &why)) << why;
    CHQGS_MySQLEngine engine;
    settings.applyTo(&engine);
    ASSERT_TRUE(engine.open());
    ASSERT_EQ(engine.getShowMode(1, 1004), 2);
    const int pid = server.pid();
    ASSERT_GT(pid, 0);
    HangGuard guard(120);
    ASSERT_EQ(kill(pid, SIGSTOP), 0);
    ASSERT_TRUE(WaitUntilStopped(pid));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(engine.getShowMode(1, 1004), 4);
    const double seconds = SecondsSince(start);
    kill(pid, SIGCONT);
    std::printf("read against a frozen server: %.1f s, %s\n", seconds, engine.lastError().c_str());
    EXPECT_LT(seconds,
              2.0 * (CHQGS_MySQLEngine::kReadTimeoutSeconds + CHQGS_MySQLEngine::kConnectTimeoutSeconds) + 2);
    EXPECT_NE(engine.lastError(), "");
    EXPECT_TRUE(engine.isOpen());
    EXPECT_EQ(engine.getShowMode(1, 1004), 2) << engine.lastError();
    EXPECT_EQ(Own(engine.getTags()).size(), 2u);
}

// After a restart of the server reads answer again without open.
TEST(MySQLEngineServerTest, ReadsWorkAgainAfterAServerRestart) {
    PrivateMySQLServer server(SITPLOT_BINARY_DIR "/mysql-fixture-private");
    MySQLSettings settings;
    std::string why;
    ASSERT_TRUE(server.start(&settings, &why)) << why;
    CHQGS_MySQLEngine engine;
    settings.applyTo(&engine);
    ASSERT_TRUE(engine.open());
    ASSERT_EQ(engine.getShowMode(1, 1004), 2);
    ASSERT_TRUE(server.restart(&why)) << why;
    HangGuard guard(120);
    EXPECT_EQ(engine.getShowMode(1, 1004), 2) << engine.lastError();
    EXPECT_EQ(engine.reconnectCount(), 1);
    SymbolPtr mark(engine.getMark(1, 1001));
    EXPECT_TRUE(mark) << engine.lastError();
    std::printf("after the restart: %d reconnect(s); last error seen: %s\n", engine.reconnectCount(),
                engine.lastError().c_str());
}

TEST(MySQLEngineServerTest, StoppedServerAnswersDefaultsAndRefusesToReopen) {
    PrivateMySQLServer server(SITPLOT_BINARY_DIR "/mysql-fixture-private");
    MySQLSettings settings;
    std::string why;
    ASSERT_TRUE(server.start(&settings, &why)) << why;
    CHQGS_MySQLEngine engine;
    settings.applyTo(&engine);
    ASSERT_TRUE(engine.open());
    ASSERT_EQ(engine.getShowMode(1, 1004), 2);
    server.stop();
    ExpectDeadEngine(engine);
    EXPECT_FALSE(engine.open());
    EXPECT_FALSE(engine.isOpen());
    ExpectDeadEngine(engine);
}

// SPDX-License-Identifier: Apache-2.0
// The engine conformance suite (see EngineConformance.h) and its SQLite
// instantiation on the keyed test library built from the sample SQL.
#include "EngineConformance.h"

#include <markstore_internal/BaseEngine.h>
#include <markstore_internal/SymbolLibManagerImpl.h>

#include <markstore/Symbol.h>
#include <markstore/SymbolUnitKinds.h>

#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <vector>

using namespace HQ;

namespace {

using SymbolPtr = std::unique_ptr<CHQGS_Symbol>;

// Owns every element of a list the manager answered.
template <typename T>
std::vector<std::unique_ptr<T>> Own(std::list<T*> items) {
    std::vector<std::unique_ptr<T>> owned;
    for (T* item : items) owned.emplace_back(item);
    return owned;
}

std::multiset<int> MarkIds(const std::vector<SymbolPtr>& marks) {
    std::multiset<int> ids;
    for (const SymbolPtr& m : marks) ids.insert(m->GetCommAttr()->ID);
    return ids;
}

CHQGS_BaseEngine* EngineOf(IHQGS_SymbolLibManager* manager) {
    return static_cast<CHQGS_SymbolLibManager*>(manager)->currentEngine();
}

const int kMissing = 99999;

}  // namespace

void EngineConformanceTest::SetUp() {
    manager = SymbolLibManagerFactory::GetInstance();
    ASSERT_TRUE(manager->init(GetParam().dbType));
    std::string skip;
    if (!GetParam().configure(manager, &skip)) GTEST_SKIP() << skip;
    ASSERT_TRUE(manager->open());
}

void EngineConformanceTest::TearDown() {
    if (manager != nullptr) manager->release();
}

// ---- Tags and nodes ----------------------------------------------------------

TEST_P(EngineConformanceTest, TagsComeInTableOrderWithEveryColumn) {
    auto tags = Own(manager->getTags());
    struct Expected {
        int id;
        std::string name;
        int nodes, marks;
    };
    const std::vector<Expected> expected = {
        {1, text(u8"战术标号"), 9, 5},
        {2, "Annotations", 5, 3},
        {8, "Other library", 0, 1},
        {9, text(u8"Edge cases 边界"), 3, 12},
    };
    ASSERT_EQ(tags.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(tags[i]->ID, expected[i].id);
        EXPECT_EQ(tags[i]->LibName, expected[i].name);
        EXPECT_EQ(tags[i]->NodeCount, expected[i].nodes);
        EXPECT_EQ(tags[i]->MarkCount, expected[i].marks);
    }
}

TEST_P(EngineConformanceTest, NodesOfAParentOrOfTheWholeLibrary) {
    struct Case {
        int libID, pid;
        std::multiset<int> ids;
    };
    const Case cases[] = {
        {1, 1, {101, 102, 103}},                                       // top level: PID is the library
        {1, 101, {1001, 1002, 1003}},                                  // second level
        {1, -1, {101, 102, 103, 1001, 1002, 1003, 1004, 1005, 1006}},  // every node of the library
        {9, 901, {911}},
        {1, 1006, {}},  // a leaf
        {99, -1, {}},   // no such library
        {2, 1, {}},     // parent of another library
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "lib " << c.libID << " pid " << c.pid);
        auto nodes = Own(manager->getNodes(c.libID, c.pid));
        std::multiset<int> ids;
        for (auto& n : nodes) {
            ids.insert(n->ID);
            EXPECT_EQ(n->LibID, c.libID);
            if (c.pid != -1) {
                EXPECT_EQ(n->PID, c.pid);
            }
        }
        EXPECT_EQ(ids, c.ids);
    }
}

TEST_P(EngineConformanceTest, NodeColumnsLandInTheirMembers) {
    auto nodes = Own(manager->getNodes(9, 901));
    ASSERT_EQ(nodes.size(), 1u);
    EXPECT_EQ(nodes[0]->LibID, 9);
    EXPECT_EQ(nodes[0]->ID, 911);
    EXPECT_EQ(nodes[0]->PID, 901);
    EXPECT_EQ(nodes[0]->NodeLevel, 2);
    EXPECT_EQ(nodes[0]->NodeName, "Child of 901");
}

TEST_P(EngineConformanceTest, NodeKeysJoinLibraryIdAndNameUnchanged) {
    std::list<std::string> keys = manager->getNodeKeys(9, 9);
    std::multiset<std::string> got(keys.begin(), keys.end());
    EXPECT_EQ(got, (std::multiset<std::string>{"9,901," + text(u8"顶层"), "9,902,Second, with commas"}));
}

// ---- Marks -------------------------------------------------------------------

TEST_P(EngineConformanceTest, MarkRowFillsTheCommonAttributes) {
    SymbolPtr mark(manager->getMark(9, 12));
    ASSERT_TRUE(mark);
    const CHQGS_SymbolCommAttr* a = mark->GetCommAttr();
    ASSERT_NE(a, nullptr);
    const bool trailing = GetParam().readsTrailingColumns;
    struct Field {
        const char* name;
        long long got, expected;
    };
    const Field fields[] = {
        {"LibID", a->LibID, 9},
        {"ID", a->ID, 12},
        {"PID", a->PID, 901},
        {"ConnectId", a->ConnectId, 44},
        {"ConnectLibID", a->ConnectLibID, 3},
        {"Mirror", a->Mirror, 1},       // 1.0
        {"PosX", a->PosX, 0},           // -0.25, toward zero
        {"PosY", a->PosY, 2},           // 2.75
        {"UnknownS", a->UnknownS, -3},  // -3.9
        {"TextNum", a->TextNum, 2},
        {"Heading", a->Heading, 359},  // 359.9
        {"MarkType", a->MarkType, 2},
        {"MinX", a->MinX, -5},                           // -5.5
        {"MinY", a->MinY, -10},                          // stored 10, negated
        {"MaxX", a->MaxX, 20},                           // 20.5
        {"MaxY", a->MaxY, 3},                            // stored -3, negated
        {"ExtraInt1", a->ExtraInt1, trailing ? 1 : 0},   // ShowMode column
        {"ExtraInt2", a->ExtraInt2, trailing ? 77 : 0},  // ExtraInt column
    };
    for (const Field& f : fields) EXPECT_EQ(f.got, f.expected) << f.name;
    EXPECT_EQ(a->MarkName, "Twelve");
    ASSERT_EQ(mark->GetUnits().size(), 1u);
    EXPECT_EQ(mark->GetUnits()[0]->GetType(), Unit_Line);
}

TEST_P(EngineConformanceTest, SingleRowReadsTakeTheEnginesRowOfTwo) {
    const bool first = GetParam().firstRowWins;
    SymbolPtr mark(manager->getMark(9, 7));
    ASSERT_TRUE(mark);
    EXPECT_EQ(mark->GetCommAttr()->MarkName, first ? "First row" : "Second row");
    EXPECT_EQ(mark->GetUnits().size(), first ? 1u : 2u);
    EXPECT_EQ(manager->getMarkName(9, 7), first ? "First row" : "Second row");
    EXPECT_EQ(manager->getShowMode(9, 7), first ? 2 : 3);
    EXPECT_EQ(manager->getMarkType(9, 7), first ? 1 : 0);
    // Only the second row's data holds a text unit (Style 7).
    EXPECT_EQ(manager->getMarkData(9, 7).find("\"Style\":7") != std::string::npos, !first);
}

TEST_P(EngineConformanceTest, MissingMarkAnswersTheDefaults) {
    EXPECT_EQ(manager->getMark(9, kMissing), nullptr);
    EXPECT_EQ(manager->getMarkData(9, kMissing), "");
    EXPECT_EQ(manager->getMarkName(9, kMissing), "");
    EXPECT_EQ(manager->getShowMode(9, kMissing), 4);
    EXPECT_EQ(manager->getMarkType(9, kMissing), 0);
    // All bits set is written as an unsigned number and matches nothing.
    EXPECT_EQ(manager->getShowMode(0xFFFFFFFFu, 7), 4);
    EXPECT_EQ(manager->getMarkType(9, 0xFFFFFFFFu), 0);
}

TEST_P(EngineConformanceTest, NullColumnsReadAsEmptyAndZero) {
    SymbolPtr mark(manager->getMark(9, 32));
    ASSERT_TRUE(mark);
    const CHQGS_SymbolCommAttr* a = mark->GetCommAttr();
    EXPECT_EQ(a->MarkName, "");
    EXPECT_EQ(a->PID, 0);
    EXPECT_EQ(a->PosX, 0);
    EXPECT_EQ(a->MinY, 0);
    EXPECT_TRUE(mark->GetUnits().empty());
    EXPECT_EQ(manager->getMarkName(9, 32), "");
    EXPECT_EQ(manager->getMarkData(9, 32), "");
}

TEST_P(EngineConformanceTest, ShowModeAndMarkTypeByMark) {
    struct Case {
        unsigned int libID, id;
        int showMode, markType;
    };
    const Case cases[] = {
        {1, 1001, 1, 1},                                               // stored type 1
        {1, 1004, 2, 0},                                               // stored type 2 reads as 0
        {1, 1005, 0, 0},                                               // stored type 3
        {2, 2001, 3, 0}, {9, 12, 1, 0}, {9, 30, 0, 1}, {9, 32, 0, 0},  // NULL type
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.libID << "," << c.id);
        EXPECT_EQ(manager->getShowMode(c.libID, c.id), c.showMode);
        EXPECT_EQ(manager->getMarkType(c.libID, c.id), c.markType);
    }
}

TEST_P(EngineConformanceTest, MarkKindMapsTypeTwoToZero) {
    CHQGS_BaseEngine* engine = EngineOf(manager);
    ASSERT_NE(engine, nullptr);
    EXPECT_EQ(engine->getMarkKind(9, 12), 0);  // type 2
    EXPECT_EQ(engine->getMarkKind(9, 30), 1);
    EXPECT_EQ(engine->getMarkKind(1, 1005), 3);
    EXPECT_EQ(engine->getMarkKind(9, 20), 0);  // type 0
    EXPECT_EQ(engine->getMarkKind(9, kMissing), -1);
}

TEST_P(EngineConformanceTest, TextsReadAreHandedOutInTheEnginesEncoding) {
    SymbolPtr mark(manager->getMark(9, 30));
    ASSERT_TRUE(mark);
    EXPECT_EQ(mark->GetCommAttr()->MarkName, text(u8"装甲车"));
    EXPECT_EQ(manager->getMarkName(9, 30), text(u8"装甲车"));
    // The data text is converted before the units are read from it.
    std::vector<CHQGS_SymbolUnit*> units = mark->GetUnits();
    ASSERT_EQ(units.size(), 1u);
    ASSERT_EQ(units[0]->GetType(), Unit_Text);
    auto* t = static_cast<CHQGS_SymbolUnitText*>(units[0]);
    EXPECT_EQ(t->GetText(), text(u8"坦克"));
    EXPECT_EQ(t->GetFontName(), text(u8"宋体"));
    EXPECT_NE(manager->getMarkData(9, 30).find(text(u8"坦克")), std::string::npos);
}

TEST_P(EngineConformanceTest, SampleSymbolsCarryTheirDrawing) {
    struct Case {
        int libID, id;
        std::vector<Type_Unit> kinds;
    };
    const Case cases[] = {
        {1, 1001, {Unit_Line, Unit_Line, Unit_Line}},
        {1, 1004, {Unit_Line, Unit_Line, Unit_Text}},
        {1, 1005, {Unit_Line, Unit_TextBox, Unit_Text}},
        {2, 2002, {Unit_Line, Unit_TextBox}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        SymbolPtr mark(manager->getMark(c.libID, c.id));
        ASSERT_TRUE(mark);
        std::vector<Type_Unit> kinds;
        for (CHQGS_SymbolUnit* u : mark->GetUnits()) kinds.push_back(u->GetType());
        EXPECT_EQ(kinds, c.kinds);
    }
}

// ---- Searches ----------------------------------------------------------------

TEST_P(EngineConformanceTest, SearchesByIdentifierAndName) {
    struct Case {
        const char* what;
        std::function<std::list<CHQGS_Symbol*>(IHQGS_SymbolLibManager*)> search;
        std::multiset<int> ids;
    };
    const Case cases[] = {
        {"id in library 9", [](auto* m) { return m->findMarksById(9, 12); }, {12}},
        {"id in library 8", [](auto* m) { return m->findMarksById(8, 12); }, {12}},
        {"id everywhere", [](auto* m) { return m->findMarksById(0, 12); }, {12, 12}},
        {"id, both rows", [](auto* m) { return m->findMarksById(9, 7); }, {7, 7}},
        {"id missing", [](auto* m) { return m->findMarksById(9, kMissing); }, {}},
        {"id like in 9", [](auto* m) { return m->findMarksByIdLike(9, 12); }, {12, 112, 120, 4123}},
        {"id like everywhere", [](auto* m) { return m->findMarksByIdLike(0, 12); }, {12, 12, 112, 120, 4123}},
        {"name", [](auto* m) { return m->findMarksByName(9, "Ford"); }, {22}},
        {"name elsewhere", [](auto* m) { return m->findMarksByName(8, "Ford"); }, {}},
        {"name everywhere", [](auto* m) { return m->findMarksByName(0, "Other twelve"); }, {12}},
        // A name as the engine hands it out finds its mark again.
        {"name as handed out", [this](auto* m) { return m->findMarksByName(9, text(u8"装甲车")); }, {30}},
        {"like as handed out", [this](auto* m) { return m->findMarksByNameLike(9, text(u8"甲")); }, {30}},
        {"name with quotes", [](auto* m) { return m->findMarksByName(0, "O'Neil \"quoted\""); }, {31}},
        {"injected name", [](auto* m) { return m->findMarksByName(0, "x' OR '1'='1"); }, {}},
        {"like", [](auto* m) { return m->findMarksByNameLike(9, "Bridge"); }, {20, 21}},
        {"like everywhere",
         [](auto* m) { return m->findMarksByNameLike(0, "Contains twelve"); },
         {112, 120, 4123}},
        {"like a quote", [](auto* m) { return m->findMarksByNameLike(0, "'"); }, {31}},
        {"injected like", [](auto* m) { return m->findMarksByNameLike(0, "%' OR '1'='1"); }, {}},
        {"like nothing", [](auto* m) { return m->findMarksByNameLike(9, "no such name"); }, {}},
        // Every named mark of the library (a NULL name matches no pattern).
        {"like empty",
         [](auto* m) { return m->findMarksByNameLike(9, ""); },
         {7, 7, 12, 112, 120, 4123, 20, 21, 22, 30, 31}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto marks = Own(c.search(manager));
        EXPECT_EQ(MarkIds(marks), c.ids);
    }
}

TEST_P(EngineConformanceTest, SearchResultsAreFullSymbolsInRowOrder) {
    auto marks = Own(manager->findMarksById(9, 7));
    ASSERT_EQ(marks.size(), 2u);
    EXPECT_EQ(marks[0]->GetCommAttr()->MarkName, "First row");
    EXPECT_EQ(marks[1]->GetCommAttr()->MarkName, "Second row");
    EXPECT_EQ(marks[0]->GetUnits().size(), 1u);
    EXPECT_EQ(marks[1]->GetUnits().size(), 2u);
}

TEST_P(EngineConformanceTest, MarkKeysOfANode) {
    std::list<std::string> keys = manager->getMarkKeys(1, 101);
    EXPECT_EQ(std::multiset<std::string>(keys.begin(), keys.end()),
              (std::multiset<std::string>{"1,1001", "1,1002", "1,1003"}));
    keys = manager->getMarkKeys(9, 901);
    EXPECT_EQ(std::multiset<std::string>(keys.begin(), keys.end()),
              (std::multiset<std::string>{"9,7", "9,7", "9,12"}));
    EXPECT_TRUE(manager->getMarkKeys(9, kMissing).empty());
}

// ---- Images ------------------------------------------------------------------

TEST_P(EngineConformanceTest, ImagesByMark) {
    struct Case {
        int libID, id;
        std::vector<unsigned char> bytes;
    };
    const Case cases[] = {
        {9, 7, {0xAA, 0xBB, 0xCC, 0xDD}},  // two rows: the last one read wins
        {9, 12, {0x00, 0xFF, 0x00, 0xFF, 0x7F}},
        {9, 30, {}},  // no row: an empty image
        {9, kMissing, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        std::unique_ptr<CHQGS_SymbolImage> image(manager->getImage(c.libID, c.id));
        ASSERT_TRUE(image);
        ASSERT_EQ(image->getSize(), static_cast<int>(c.bytes.size()));
        if (c.bytes.empty()) {
            EXPECT_EQ(image->getData(), nullptr);
        } else {
            EXPECT_TRUE(std::equal(c.bytes.begin(), c.bytes.end(), image->getData()));
        }
    }
    std::unique_ptr<CHQGS_SymbolImage> png(manager->getImage(1, 1001));
    ASSERT_GT(png->getSize(), 8);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(png->getData()), 4), "\x89PNG");
}

// ---- Writes ------------------------------------------------------------------

TEST_P(EngineConformanceTest, ReadOnlyDatabaseRefusesEveryWrite) {
    if (GetParam().writable) GTEST_SKIP() << "the database accepts writes";
    CHQGS_SymbolImage image(reinterpret_cast<const unsigned char*>("abc"), 3);
    struct Case {
        const char* what;
        bool answer;
    };
    const Case cases[] = {
        {"addTag", manager->addTag(50, "New", 0, 0)},
        {"updateTag", manager->updateTag(9, "Renamed", 1, 1)},
        {"deleteTag", manager->deleteTag(9)},
        {"addNode", manager->addNode(9, 950, 9, 1, "New")},
        {"updateNode", manager->updateNode(9, 901, 9, 1, "Renamed")},
        {"deleteNode", manager->deleteNode(9, 901, 9)},
        {"addMark", manager->addMark(9, 50, 901, "New", 0, 0, 1, -0.25, 0, 0, 0, 0, 0, 0, 10, 0, -3, "[]")},
        {"updateMark",
         manager->updateMark(9, 12, 901, "Renamed", 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "[]")},
        {"deleteMark", manager->deleteMark(9, 12)},
        {"addImage", manager->addImage(9, 30, &image)},
        {"replaceImage", manager->replaceImage(9, 12, &image)},
        {"deleteImage", manager->deleteImage(9, 12)},
    };
    for (const Case& c : cases) EXPECT_FALSE(c.answer) << c.what;
    // Nothing changed.
    EXPECT_EQ(manager->getMarkName(9, 12), "Twelve");
    std::unique_ptr<CHQGS_SymbolImage> kept(manager->getImage(9, 12));
    EXPECT_EQ(kept->getSize(), 5);
    EXPECT_EQ(Own(manager->getNodes(9, 9)).size(), 2u);
}

TEST_P(EngineConformanceTest, WritesRoundTrip) {
    if (!GetParam().writable) GTEST_SKIP() << "the database is read-only";
    const int lib = 77;
    const std::string hostile = "It's \"quoted\"";
    ASSERT_TRUE(manager->addTag(lib, hostile, 1, 1));
    ASSERT_TRUE(manager->addNode(lib, 7701, lib, 1, hostile));
    ASSERT_TRUE(manager->addMark(lib, 7701, lib, hostile, 5, 6, 1, -0.25, 2.5, 0, 3, 90, 1, -1, 10, 1, -3,
                                 "[{\"Style\":7,\"Text\":\"it's\"}]"));
    SymbolPtr mark(manager->getMark(lib, 7701));
    ASSERT_TRUE(mark);
    EXPECT_EQ(mark->GetCommAttr()->MarkName, hostile);
    EXPECT_EQ(mark->GetCommAttr()->Mirror, 1);
    EXPECT_EQ(mark->GetCommAttr()->PosX, 0);
    EXPECT_EQ(mark->GetCommAttr()->PosY, 2);
    EXPECT_EQ(mark->GetCommAttr()->MinY, -10);  // written 10, read negated
    EXPECT_EQ(mark->GetCommAttr()->MaxY, 3);
    EXPECT_EQ(mark->GetUnits().size(), 1u);
    EXPECT_TRUE(manager->updateMark(lib, 7701, lib, "Renamed", 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 0, "[]"));
    EXPECT_EQ(manager->getMarkName(lib, 7701), "Renamed");
    EXPECT_TRUE(manager->updateTag(lib, "Tag 'renamed'", 2, 2));
    EXPECT_TRUE(manager->updateNode(lib, 7701, lib, 1, "Node \"renamed\""));
    auto nodes = Own(manager->getNodes(lib, lib));
    ASSERT_EQ(nodes.size(), 1u);
    EXPECT_EQ(nodes[0]->NodeName, "Node \"renamed\"");

    const unsigned char bytes[] = {1, 0, 2, 0, 3};
    CHQGS_SymbolImage image(bytes, sizeof bytes);
    EXPECT_TRUE(manager->addImage(lib, 7701, &image));
    CHQGS_SymbolImage other(bytes, 2);
    EXPECT_TRUE(manager->replaceImage(lib, 7701, &other));
    std::unique_ptr<CHQGS_SymbolImage> read(manager->getImage(lib, 7701));
    EXPECT_EQ(read->getSize(), 2);

    EXPECT_TRUE(manager->deleteImage(lib, 7701));
    EXPECT_TRUE(manager->deleteMark(lib, 7701));
    EXPECT_TRUE(manager->deleteNode(lib, 7701, lib));
    EXPECT_TRUE(manager->deleteTag(lib));
    EXPECT_EQ(manager->getMark(lib, 7701), nullptr);
    std::unique_ptr<CHQGS_SymbolImage> gone(manager->getImage(lib, 7701));
    EXPECT_EQ(gone->getSize(), 0);
}

// ---- Closed engine -------------------------------------------------------------

TEST_P(EngineConformanceTest, ClosedEngineAnswersDefaultsWithoutTouchingTheDatabase) {
    manager->close();
    manager->close();  // idempotent
    EXPECT_EQ(manager->getShowMode(1, 1004), 4);
    EXPECT_EQ(manager->getMarkType(1, 1001), 0);
    EXPECT_EQ(manager->getMark(1, 1001), nullptr);
    EXPECT_EQ(manager->getMarkName(1, 1001), "");
    EXPECT_EQ(manager->getMarkData(1, 1001), "");
    EXPECT_TRUE(manager->getTags().empty());
    EXPECT_TRUE(manager->getNodes(1, -1).empty());
    EXPECT_TRUE(manager->findMarksByNameLike(0, "").empty());
    EXPECT_TRUE(manager->getMarkKeys(1, 101).empty());
    EXPECT_EQ(EngineOf(manager)->getMarkKind(1, 1001), -1);
    std::unique_ptr<CHQGS_SymbolImage> image(manager->getImage(1, 1001));
    EXPECT_EQ(image->getSize(), 0);
    EXPECT_FALSE(manager->addTag(50, "x", 0, 0));
    EXPECT_FALSE(manager->addImage(1, 1001, image.get()));
    EXPECT_EQ(manager->exportLibraryXml(), "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n<SymbolLib />\n");
    // Reopening restores the answers.
    ASSERT_TRUE(manager->open());
    EXPECT_EQ(manager->getShowMode(1, 1004), 2);
    EXPECT_TRUE(manager->open());  // reopens an open engine
    EXPECT_EQ(manager->getMarkType(1, 1001), 1);
}

// ---- SQLite instantiation ------------------------------------------------------

namespace {

const std::string kStoreTestsDb = SITPLOT_TEST_DATABASE_DIR "/store-tests.db";

// The texts of the test library as the SQLite engine hands them out under
// the GBK locale of the tests (bytes written out, so that the check does not
// rest on the conversion under test).
std::string SqliteText(const std::string& utf8) {
    static const std::map<std::string, std::string> gbk = {
        {u8"战术标号", "\xd5\xbd\xca\xf5\xb1\xea\xba\xc5"},
        {u8"Edge cases 边界", "Edge cases \xb1\xdf\xbd\xe7"},
        {u8"顶层", "\xb6\xa5\xb2\xe3"},
        {u8"装甲车", "\xd7\xb0\xbc\xd7\xb3\xb5"},
        {u8"甲", "\xbc\xd7"},
        {u8"坦克", "\xcc\xb9\xbf\xcb"},
        {u8"宋体", "\xcb\xce\xcc\xe5"},
    };
    auto it = gbk.find(utf8);
    return it != gbk.end() ? it->second : utf8;  // ASCII is the same in both
}

EngineCase SqliteCase() {
    EngineCase c;
    c.name = "Sqlite";
    c.dbType = 0;
    c.configure = [](IHQGS_SymbolLibManager* m, std::string*) {
        m->setDBPath(kStoreTestsDb.c_str());
        return true;
    };
    c.expectedText = SqliteText;
    c.firstRowWins = true;
    c.readsTrailingColumns = true;
    c.writable = false;
    return c;
}

}  // namespace

INSTANTIATE_TEST_SUITE_P(Sqlite, EngineConformanceTest, ::testing::Values(SqliteCase()), EngineCaseName);

// SPDX-License-Identifier: Apache-2.0
// The process-wide manager: singleton and release, engine selection, the
// behaviour without engine, argument order and the setters' copies.
#include <markstore_internal/SymbolLibManagerImpl.h>

#include <markstore/Symbol.h>
#include <markstore/SymbolLibManager.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

using namespace HQ;

namespace {

const std::string kStoreTestsDb = SITPLOT_TEST_DATABASE_DIR "/store-tests.db";

class ManagerTest : public ::testing::Test {
protected:
    void TearDown() override {
        // Leave no instance behind for the next test.
        SymbolLibManagerFactory::GetInstance()->release();
    }
    IHQGS_SymbolLibManager* openedManager() {
        IHQGS_SymbolLibManager* m = SymbolLibManagerFactory::GetInstance();
        EXPECT_TRUE(m->init(0));
        m->setDBPath(kStoreTestsDb.c_str());
        EXPECT_TRUE(m->open());
        return m;
    }
};

// Every read of a manager without a usable engine answers its default and
// every write false.
void ExpectDefaults(IHQGS_SymbolLibManager* m) {
    EXPECT_FALSE(m->open());
    EXPECT_EQ(m->getMark(1, 1001), nullptr);
    EXPECT_EQ(m->getMarkData(1, 1001), "");
    EXPECT_EQ(m->getShowMode(1, 1004), 4);
    EXPECT_EQ(m->getMarkName(1, 1001), "");
    EXPECT_EQ(m->getMarkType(1, 1001), 0);
    EXPECT_TRUE(m->findMarksById(9, 12).empty());
    EXPECT_TRUE(m->findMarksByIdLike(9, 12).empty());
    EXPECT_TRUE(m->findMarksByName(9, "Ford").empty());
    EXPECT_TRUE(m->findMarksByNameLike(9, "").empty());
    EXPECT_TRUE(m->getTags().empty());
    EXPECT_TRUE(m->getNodes(1, -1).empty());
    EXPECT_TRUE(m->getNodeKeys(1, 1).empty());
    EXPECT_TRUE(m->getMarkKeys(1, 101).empty());
    std::unique_ptr<CHQGS_SymbolImage> image(m->getImage(1, 1001));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->getSize(), 0);
    EXPECT_EQ(m->exportLibraryXml(), "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n<SymbolLib />\n");
    const bool writes[] = {
        m->updateNode(1, 2, 1, 1, "n"),
        m->addNode(1, 2, 1, 1, "n"),
        m->deleteNode(1, 2, 1),
        m->updateTag(1, "n", 0, 0),
        m->addTag(1, "n", 0, 0),
        m->deleteTag(1),
        m->updateMark(1, 2, 3, "n", 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "[]"),
        m->addMark(1, 2, 3, "n", 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "[]"),
        m->deleteMark(1, 2),
        m->replaceImage(1, 2, image.get()),
        m->addImage(1, 2, image.get()),
        m->deleteImage(1, 2),
    };
    for (bool w : writes) EXPECT_FALSE(w);
    m->close();  // harmless
}

TEST_F(ManagerTest, GetInstanceAnswersOneObjectUntilRelease) {
    IHQGS_SymbolLibManager* first = SymbolLibManagerFactory::GetInstance();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(SymbolLibManagerFactory::GetInstance(), first);
    ASSERT_TRUE(first->init(0));
    first->setDBPath(kStoreTestsDb.c_str());
    ASSERT_TRUE(first->open());
    first->release();

    // A fresh manager without engine, whatever address it gets.
    IHQGS_SymbolLibManager* second = SymbolLibManagerFactory::GetInstance();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(static_cast<CHQGS_SymbolLibManager*>(second)->currentEngine(), nullptr);
    ExpectDefaults(second);
}

TEST_F(ManagerTest, ManagerWithoutEngineAnswersDefaults) {
    IHQGS_SymbolLibManager* m = SymbolLibManagerFactory::GetInstance();
    m->setDBPath(kStoreTestsDb.c_str());  // no engine: nothing to configure
    ExpectDefaults(m);
}

TEST_F(ManagerTest, InitKnowsOnlyTheEngineTypes) {
    IHQGS_SymbolLibManager* m = openedManager();
    CHQGS_BaseEngine* engine = static_cast<CHQGS_SymbolLibManager*>(m)->currentEngine();
    for (int unknown : {2, -1, 3, 100}) {
        EXPECT_FALSE(m->init(unknown)) << unknown;
        // The previous engine stays, still open.
        EXPECT_EQ(static_cast<CHQGS_SymbolLibManager*>(m)->currentEngine(), engine);
        EXPECT_EQ(m->getShowMode(1, 1004), 2);
    }
    // init again installs a new, closed engine.
    EXPECT_TRUE(m->init(0));
    EXPECT_EQ(m->getShowMode(1, 1004), 4);
}

TEST_F(ManagerTest, InitWithUnknownTypeLeavesAManagerWithoutEngine) {
    IHQGS_SymbolLibManager* m = SymbolLibManagerFactory::GetInstance();
    EXPECT_FALSE(m->init(2));
    EXPECT_EQ(static_cast<CHQGS_SymbolLibManager*>(m)->currentEngine(), nullptr);
    ExpectDefaults(m);
}

TEST_F(ManagerTest, InitializedButNeverOpenedAnswersZeroTypes) {
    IHQGS_SymbolLibManager* m = SymbolLibManagerFactory::GetInstance();
    ASSERT_TRUE(m->init(0));
    m->setDBPath(kStoreTestsDb.c_str());
    EXPECT_EQ(m->getMarkType(1, 1001), 0);  // stored 1, but not open
    EXPECT_EQ(m->getShowMode(1, 1004), 4);
}

// The manager takes (libID, id); the engine (id, libID).
TEST_F(ManagerTest, FindMarksByIdSwapsItsArguments) {
    IHQGS_SymbolLibManager* m = openedManager();
    struct Case {
        int libID, id;
        const char* name;
    };
    const Case cases[] = {{9, 12, "Twelve"}, {8, 12, "Other twelve"}};
    for (const Case& c : cases) {
        std::list<CHQGS_Symbol*> found = m->findMarksById(c.libID, c.id);
        ASSERT_EQ(found.size(), 1u);
        EXPECT_EQ(found.front()->GetCommAttr()->MarkName, c.name);
        EXPECT_EQ(found.front()->GetCommAttr()->LibID, c.libID);
        delete found.front();
        std::list<CHQGS_Symbol*> like = m->findMarksByIdLike(c.libID, c.id);
        EXPECT_FALSE(like.empty());
        for (CHQGS_Symbol* s : like) {
            EXPECT_EQ(s->GetCommAttr()->LibID, c.libID);
            delete s;
        }
    }
    // Unswapped, (12, 9) would have searched library 12 for mark 9.
    EXPECT_TRUE(m->findMarksById(12, 9).empty());
}

TEST_F(ManagerTest, SettersCopyTheirTexts) {
    IHQGS_SymbolLibManager* m = SymbolLibManagerFactory::GetInstance();
    ASSERT_TRUE(m->init(0));
    {
        std::string path = kStoreTestsDb;
        m->setDBPath(path.c_str());
        std::memset(&path[0], 'x', path.size());  // the caller reuses its buffer
    }
    EXPECT_TRUE(m->open());
    m->setDBPath(nullptr);  // counts as empty: names no file
    EXPECT_FALSE(m->open());
    EXPECT_EQ(m->getShowMode(1, 1004), 4);  // the failed open left it closed
    // The MySQL settings do nothing on the SQLite engine.
    m->setHost("h");
    m->setUser("u");
    m->setPassward("p");
    m->setDBname("d");
    m->setPort(1);
    m->setDBPath(kStoreTestsDb.c_str());
    EXPECT_TRUE(m->open());
}

TEST_F(ManagerTest, ReleaseThroughTheInstanceDestroysAnOpenEngine) {
    IHQGS_SymbolLibManager* m = openedManager();
    m->release();
    // Releasing without an instance does nothing harmful.
    IHQGS_SymbolLibManager* fresh = SymbolLibManagerFactory::GetInstance();
    fresh->release();
    SymbolLibManagerFactory::GetInstance()->release();
}

}  // namespace

// SPDX-License-Identifier: Apache-2.0
// The XML export of a whole database, byte for byte.
#include <markstore_internal/LibraryXmlExport.h>
#include <markstore_internal/SvgEngine.h>

#include <markstore/SymbolLibManager.h>

#include <markstore/Symbol.h>

#include <gtest/gtest.h>

#include <string>

using namespace HQ;

namespace {

const char kDeclaration[] = "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n";

class ExportXmlTest : public ::testing::Test {
protected:
    void SetUp() override {
        manager = SymbolLibManagerFactory::GetInstance();
        ASSERT_TRUE(manager->init(0));
    }
    void TearDown() override { manager->release(); }
    void openLibrary(const char* path) {
        manager->setDBPath(path);
        ASSERT_TRUE(manager->open());
    }

    IHQGS_SymbolLibManager* manager = nullptr;
};

// tests/data/store/export.sql: a tree with a leaf holding a mark, a leaf
// without mark, a node equal to its library, a cycle 52 -> 53 -> 52, markup
// characters in names, a library without categories whose own identifier is
// a mark, an empty library, and a library whose rows repeat (a subtree
// reached again is not written twice: repeats would otherwise multiply the
// document exponentially with depth). The GBK name comes out as the engine
// answers it (local code page) whatever the declaration says.
TEST_F(ExportXmlTest, SmallLibraryExactText) {
    openLibrary(SITPLOT_TEST_DATABASE_DIR "/export-tests.db");
    const std::string expected =
        std::string(kDeclaration) +
        "<SymbolLib>\n"
        // The printer encloses a value holding a double quote in single quotes.
        "    <SymbolTag libID=\"5\" name='Fish &amp; &lt;Chips&gt; &quot;5&quot;'>\n"
        "        <Category id=\"51\" name=\"Top &lt;A&gt;\">\n"
        "            <Category id=\"511\" name=\"Leaf &amp; mark\">\n"
        "                <Symbol libId=\"5\" id=\"511\" name=\"Mark 511 &apos;apos&apos; &lt;b&gt;\" />\n"
        "            </Category>\n"
        "            <Category id=\"512\" name=\"Empty leaf\" />\n"
        "        </Category>\n"
        "        <Category id=\"5\" name=\"Self\" />\n"
        "        <Category id=\"52\" name=\"Cycle A\">\n"
        "            <Category id=\"53\" name=\"Cycle B\">\n"
        "                <Category id=\"52\" name=\"Cycle A again\" />\n"
        "            </Category>\n"
        "        </Category>\n"
        "    </SymbolTag>\n"
        "    <SymbolTag libID=\"6\" name=\"\xc6\xbd flat\">\n"
        "        <Symbol libId=\"6\" id=\"6\" name=\"Flat mark\" />\n"
        "    </SymbolTag>\n"
        "    <SymbolTag libID=\"4\" name=\"Empty\" />\n"
        "    <SymbolTag libID=\"7\" name=\"Repeated rows\">\n"
        "        <Category id=\"71\" name=\"Twice\">\n"
        "            <Category id=\"72\" name=\"Twice below\" />\n"
        "            <Category id=\"72\" name=\"Twice below\" />\n"
        "        </Category>\n"
        "        <Category id=\"71\" name=\"Twice\" />\n"
        "    </SymbolTag>\n"
        "</SymbolLib>\n";
    EXPECT_EQ(manager->exportLibraryXml(), expected);
}

TEST_F(ExportXmlTest, SampleLibraryListsEveryLeafMark) {
    openLibrary(SITPLOT_SAMPLE_LIBRARY);
    std::string xml = manager->exportLibraryXml();
    const char* symbols[] = {
        "<Symbol libId=\"1\" id=\"1001\" name=\"\xb2\xbd\xb1\xf8\xb7\xd6\xb6\xd3\" />",  // GBK
        "<Symbol libId=\"1\" id=\"1005\"",
        "<Symbol libId=\"2\" id=\"2001\" name=\"Place name\" />",
        "<Symbol libId=\"2\" id=\"2003\" name=\"North arrow\" />",
    };
    for (const char* s : symbols) EXPECT_NE(xml.find(s), std::string::npos) << s;
    // Leaf 1006 has no mark: an empty category.
    EXPECT_NE(xml.find("<Category id=\"1006\" name=\"\xc2\xb7\xd5\xcf\" />"), std::string::npos);
}

TEST_F(ExportXmlTest, NoLibrariesGiveAnEmptyRoot) {
    const std::string empty = std::string(kDeclaration) + "<SymbolLib />\n";
    // Not open: the engine answers no tags.
    EXPECT_EQ(manager->exportLibraryXml(), empty);
    // An engine without storage, and none at all.
    CHQGS_SvgEngine svg;
    EXPECT_EQ(ExportLibraryXml(&svg), empty);
    EXPECT_EQ(ExportLibraryXml(nullptr), empty);
}

// A generated library: one tag (1) whose categories form a chain depth
// levels deep (node k+1 under node k, the first under the library), the last
// one a leaf holding mark 7.
class ChainEngine : public CHQGS_SvgEngine {
public:
    explicit ChainEngine(int depth) : depth_(depth) {}
    std::list<CHQGS_SymbolTag*> getTags() override {
        CHQGS_SymbolTag* tag = new CHQGS_SymbolTag();
        tag->ID = 1;
        tag->LibName = "Chain";
        return {tag};
    }
    std::list<CHQGS_SymbolNode*> getNodes(int libID, int pid) override {
        // The library is node 0 of the chain; node depth_ has no children.
        const int level = pid == 1 ? 0 : pid - 100;
        if (libID != 1 || level >= depth_) return {};
        CHQGS_SymbolNode* node = new CHQGS_SymbolNode();
        node->LibID = 1;
        node->ID = 100 + level + 1;
        node->PID = pid;
        node->NodeName = "c";
        return {node};
    }
    CHQGS_Symbol* getMark(int libID, int id) override {
        if (libID != 1 || id != 100 + depth_) return nullptr;
        CHQGS_SymbolCommAttr* attr = new CHQGS_SymbolCommAttr();
        attr->ID = 7;
        attr->MarkName = "m";
        return new CHQGS_Symbol(attr);
    }

private:
    int depth_;
};

// Deep chains are walked without the machine stack; up to the limit they are
// written in full, beyond it the export is refused.
TEST(ExportXmlDepthTest, ChainsUpToTheLimitAreWrittenDeeperOnesRefused) {
    struct Case {
        int depth;
        bool written;
    };
    const Case cases[] = {{1, true},
                          {2, true},
                          {static_cast<int>(kMaxCategoryDepth), true},
                          {static_cast<int>(kMaxCategoryDepth) + 1, false},
                          {100000, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.depth);
        ChainEngine engine(c.depth);
        const std::string xml = ExportLibraryXml(&engine);
        if (!c.written) {
            EXPECT_EQ(xml, "");
            continue;
        }
        size_t categories = 0;
        for (size_t at = xml.find("<Category"); at != std::string::npos; at = xml.find("<Category", at + 1))
            ++categories;
        EXPECT_EQ(categories, static_cast<size_t>(c.depth));
        // The mark sits under the deepest category, indented one level more.
        const std::string indent(4 * (static_cast<size_t>(c.depth) + 2), ' ');
        EXPECT_NE(xml.find("\n" + indent + "<Symbol libId=\"1\" id=\"7\" name=\"m\" />\n"),
                  std::string::npos);
        EXPECT_EQ(xml.rfind("</SymbolLib>\n"), xml.size() - 13);
    }
}

}  // namespace

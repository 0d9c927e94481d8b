// The XML export of a whole database, byte for byte.
#include <markstore_internal/LibraryXmlExport.h>
#include <markstore_internal/SvgEngine.h>

#include <markstore/SymbolLibManager.h>

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
// a mark, and an empty library. The GBK name comes out as the engine
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

}  // namespace

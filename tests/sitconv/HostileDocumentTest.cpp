// SPDX-License-Identifier: Apache-2.0
// Documents that used to take the whole batch down or hang it: nesting deep
// enough to overflow the parser's stack, elements with huge attribute lists,
// pipes and devices in the source folder, allocation failures; and broken
// XML, which is converted as before but now reported.
#include "SitconvTestSupport.h"

#include "XmlLimits.h"

#include <sitconv/Batch.h>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <new>

namespace {

using namespace sitconv_test;

std::string nested(int depth, const std::string& inside = "") {
    std::string text = "<SITSYMBOLFILE>";
    for (int i = 0; i < depth; ++i) text += "<a>";
    text += inside;
    for (int i = 0; i < depth; ++i) text += "</a>";
    return text + "</SITSYMBOLFILE>";
}

std::string withAttributes(int count) {
    std::string text = "<SITSYMBOLFILE><LAYGROUPS><LayerGroup";
    for (int i = 0; i < count; ++i) text += " a" + std::to_string(i) + "=\"1\"";
    return text + "/></LAYGROUPS></SITSYMBOLFILE>";
}

TEST(XmlLimits, CountWhatTheReaderWouldNest) {
    const int d = HQ::kMaxXmlDepth;  // the root counts as one level
    struct Case {
        const char* name;
        std::string text;
        bool within;
    } const cases[] = {
        {"at the depth limit", nested(d - 1), true},
        {"one level deeper", nested(d), false},
        {"self-closing elements do not nest",
         "<r>" + std::string(5000, ' ') +
             [] {
                 std::string s;
                 for (int i = 0; i < 5000; ++i) s += "<a x=\"1\"/>";
                 return s;
             }() +
             "</r>",
         true},
        {"closed elements do not add up",
         [] {
             std::string s = "<r>";
             for (int i = 0; i < 5000; ++i) s += "<a><b></b></a>";
             return s + "</r>";
         }(),
         true},
        {"markup inside comments, CDATA and quoted values is not counted",
         "<r x=\"" + nested(d) + "\"><!--" + nested(d) + "--><![CDATA[" + nested(d) + "]]></r>", true},
        {"a quote not after '=' opens nothing", "<r \"" + nested(d) + "\">", false},
        {"an unknown node ends at its first '>'", "<r>< x=\"" + nested(d) + "\"</r>", false},
        {"at the attribute limit", withAttributes(HQ::kMaxXmlAttributes), true},
        {"one attribute more", withAttributes(HQ::kMaxXmlAttributes + 1), false},
    };
    for (const Case& c : cases) {
        std::string why;
        EXPECT_EQ(HQ::withinXmlLimits(c.text, why), c.within) << c.name << ": " << why;
    }
}

// A batch of source/<name> files converted into out with a fake library.
struct BatchRun {
    int status = 0;
    std::string errors;
};

BatchRun runBatch(const TempDir& dir, HQ::MarkTypeSource& marks) {
    HQ::BatchOptions options;
    options.source = dir / "source";
    options.outputFolder = dir / "out";
    std::ostringstream err;
    BatchRun run;
    run.status = HQ::runBatch(options, err, &marks);
    run.errors = err.str();
    return run;
}

const char* const kPlainDocument = "<SITSYMBOLFILE><LAYGROUPS/></SITSYMBOLFILE>";

TEST(HostileDocuments, OverLimitDocumentsAreReportedAndSkipped) {
    struct Case {
        const char* name;
        std::string text;
        const char* report;
    } const cases[] = {
        // 50,000 levels overflowed the parser's stack and ended the process.
        {"deep", nested(50000), "nested deeper than 1000 levels at line 1; not converted"},
        // 100,000 attributes took minutes (each checked against the others).
        {"wide", withAttributes(100000), "more than 1000 attributes at line 1; not converted"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        writeFile(dir / "source/a.xml", kPlainDocument);
        writeFile(dir / "source/b.xml", c.text);
        writeFile(dir / "source/c.xml", kPlainDocument);
        FakeMarks marks;
        const auto start = std::chrono::steady_clock::now();
        const BatchRun run = runBatch(dir, marks);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10)) << c.name;
        EXPECT_EQ(run.status, 1) << c.name;
        EXPECT_NE(run.errors.find("sitconv: " + dir / "source/b.xml" + ": "), std::string::npos)
            << run.errors;
        EXPECT_NE(run.errors.find(c.report), std::string::npos) << run.errors;
        EXPECT_TRUE(fileExists(dir / "out/a.xml")) << c.name;
        EXPECT_FALSE(fileExists(dir / "out/b.xml")) << c.name;
        EXPECT_TRUE(fileExists(dir / "out/c.xml")) << c.name;
    }
}

TEST(HostileDocuments, BrokenXmlIsReportedWithThePositionAndConvertedAsBefore) {
    struct Case {
        const char* name;
        std::string text;
        const char* report;  // after "not well-formed XML: "
        const char* output;
    } const cases[] = {
        {"empty", "", "Error document empty.\n",
         "{\"SITSYMBOLFILE\":{\"LayerGroups\":[]},\"ACTIONGROUPS\":{\"ActionGroupCount\":0,\"ActionGroups\":["
         "]}}\n"},
        {"cut", "<SITSYMBOLFILE>\n<LAYGROUPS><LayerGroup Name=\"g\" Visible=\"TRUE\" Describe=\"\">\n<LAY",
         "Failed to read Element name at line 3, column 2\n",
         "{\"SITSYMBOLFILE\":{\"LayerGroups\":[{\"Describe\":\"\",\"Visible\":true,\"LayerGroup Name\":\"g\","
         "\"Layers\":[]}]},\"ACTIONGROUPS\":{\"ActionGroupCount\":0,\"ActionGroups\":[]}}\n"},
        {"binary", std::string("\x01\x02\xFF\xFE\x00\x7F", 6), "Error document empty.\n",
         "{\"SITSYMBOLFILE\":{\"LayerGroups\":[]},\"ACTIONGROUPS\":{\"ActionGroupCount\":0,\"ActionGroups\":["
         "]}}\n"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        writeFile(dir / "source/doc.xml", c.text);
        FakeMarks marks;
        const BatchRun run = runBatch(dir, marks);
        EXPECT_EQ(run.status, 1) << c.name;
        EXPECT_EQ(run.errors, "sitconv: " + dir / "source/doc.xml" + ": not well-formed XML: " + c.report)
            << c.name;
        EXPECT_EQ(readFile(dir / "out/doc.xml"), c.output) << c.name;
    }
}

TEST(HostileDocuments, OnlyRegularFilesAreConverted) {
    TempDir dir;
    writeFile(dir / "source/a.xml", kPlainDocument);
    // Opening a pipe without a writer used to wait forever.
    ASSERT_EQ(::mkfifo((dir / "source/pipe.xml").c_str(), 0600), 0);
    ASSERT_EQ(::symlink("/dev/null", (dir / "source/null.xml").c_str()), 0);
    writeFile(dir / "source/c.xml", kPlainDocument);
    ::alarm(60);  // a hang ends the test program instead of the test run
    FakeMarks marks;
    const BatchRun run = runBatch(dir, marks);
    ::alarm(0);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.errors.find(dir / "source/pipe.xml" + ": a named pipe, not a regular file; skipped"),
              std::string::npos)
        << run.errors;
    EXPECT_NE(run.errors.find(dir / "source/null.xml" + ": a character device, not a regular file; skipped"),
              std::string::npos)
        << run.errors;
    EXPECT_TRUE(fileExists(dir / "out/a.xml"));
    EXPECT_TRUE(fileExists(dir / "out/c.xml"));
    EXPECT_FALSE(fileExists(dir / "out/pipe.xml"));
    EXPECT_FALSE(fileExists(dir / "out/null.xml"));
}

// Runs out of memory when asked about library 666.
class ExhaustedMarks : public FakeMarks {
public:
    int markType(int libId, int code) override {
        if (libId == 666) throw std::bad_alloc();
        return FakeMarks::markType(libId, code);
    }
};

TEST(HostileDocuments, AnAllocationFailureEndsOnlyItsDocument) {
    TempDir dir;
    writeFile(dir / "source/a.xml", documentWithSymbols("<Symbol Code=\"1,1\"/>"));
    writeFile(dir / "source/b.xml", documentWithSymbols("<Symbol Code=\"666,1\"/>"));
    writeFile(dir / "source/c.xml", documentWithSymbols("<Symbol Code=\"2,1\"/>"));
    ExhaustedMarks marks;
    const BatchRun run = runBatch(dir, marks);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.errors,
              "sitconv: " + dir / "source/b.xml" + ": not enough memory to convert it; skipped\n");
    EXPECT_TRUE(fileExists(dir / "out/a.xml"));
    EXPECT_FALSE(fileExists(dir / "out/b.xml"));
    EXPECT_TRUE(fileExists(dir / "out/c.xml"));
    // No temporary file of the failed document is left behind.
    EXPECT_EQ(std::system(("test $(ls -A '" + dir / "out" + "' | wc -l) -eq 2").c_str()), 0);
}

}  // namespace

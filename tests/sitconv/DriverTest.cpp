// SPDX-License-Identifier: Apache-2.0
// The driver's helpers and the batch: folders, listing order, text files,
// and the batch's handling of unreadable files, missing output folders and
// same-named inputs.
#include "SitconvTestSupport.h"

#include <sitconv/Batch.h>
#include <sitconv/Dir.h>
#include <sitconv/TextFile.h>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

using namespace sitconv_test;
namespace dir = HQ::dir;

TEST(ReplaceAll, ReplacesLeftToRightWithoutOverlap) {
    struct Case {
        const char* text;
        const char* from;
        const char* to;
        const char* expected;
        int count;
    } const cases[] = {
        {"a\\b\\c", "\\", "/", "a/b/c", 2}, {"aaaa", "aa", "b", "bb", 2}, {"aaa", "aa", "b", "ba", 1},
        {"abc", "", "x", "abc", 0},         {"abc", "d", "x", "abc", 0},  {"abab", "ab", "", "", 2},
        {"xyz", "y", "long", "xlongz", 1},  {"", "a", "b", "", 0},        {"aXbX", "X", "YY", "aYYbYY", 2},
    };
    for (const Case& c : cases) {
        std::string text = c.text;
        EXPECT_EQ(dir::replaceAll(text, c.from, c.to), c.count) << c.text << " " << c.from;
        EXPECT_EQ(text, c.expected) << c.text << " " << c.from;
    }
}

// A missing argument stops the program with the contract's text, also in a
// release build (where a plain assert would vanish and strlen read null).
TEST(ReplaceAllDeathTest, AMissingArgumentStopsWithTheAssertionText) {
    const char* const present = "x";
    const struct {
        const char* from;
        const char* to;
    } cases[] = {{nullptr, present}, {present, nullptr}, {nullptr, nullptr}};
    for (const auto& c : cases) {
        std::string text = "x";
        EXPECT_DEATH(dir::replaceAll(text, c.from, c.to), "pStrOld != NULL && pStrNew != NULL");
    }
}

TEST(ExeFolder, IsThePathBeforeTheLastSeparator) {
    struct Case {
        const char* path;
        const char* folder;
    } const cases[] = {
        {"/opt/sitplot/bin/sitconv", "/opt/sitplot/bin"},
        {"sitconv", "sitconv"},
        {"", "."},
        {"/sitconv", ""},
        {"a/b/", "a/b"},
    };
    for (const Case& c : cases) EXPECT_EQ(dir::exeFolderOf(c.path), c.folder) << c.path;

    std::string folder;
    EXPECT_TRUE(dir::getExeDir(folder));
    EXPECT_TRUE(dir::isDirectory(folder)) << folder;
    EXPECT_TRUE(fileExists(folder + "/sitconv_tests")) << folder;
}

TEST(IsDirectory, FollowsTheFileStatus) {
    TempDir tmp;
    writeFile(tmp / "sub/file.txt", "x");
    struct Case {
        std::string path;
        bool expected;
    } const cases[] = {
        {tmp.path(), true}, {tmp / "sub", true},           {tmp / "sub/", true},
        {"/", true},        {tmp / "sub/file.txt", false}, {tmp / "missing", false},
        {"", false},
    };
    for (const Case& c : cases) EXPECT_EQ(dir::isDirectory(c.path), c.expected) << c.path;
}

TEST(ListFiles, IsDepthFirstInByteOrder) {
    TempDir tmp;
    for (const char* f :
         {"b.xml", "a.xml", "B.xml", "m/z.xml", "m/k/deep.xml", "m/a.xml", "c/only.txt", "e/"}) {
        if (std::string(f).back() == '/') {
            ::mkdir((tmp / f).c_str(), 0777);
        } else {
            writeFile(tmp / f, "x");
        }
    }
    std::vector<std::string> files;
    ASSERT_TRUE(dir::listFiles(tmp.path(), files, true));
    const std::vector<std::string> expected = {tmp / "B.xml",      tmp / "a.xml",   tmp / "b.xml",
                                               tmp / "c/only.txt", tmp / "m/a.xml", tmp / "m/k/deep.xml",
                                               tmp / "m/z.xml"};
    EXPECT_EQ(files, expected);

    std::vector<std::string> flat{"kept"};
    ASSERT_TRUE(dir::listFiles(tmp.path() + "/", flat, false));
    EXPECT_EQ(flat, (std::vector<std::string>{"kept", tmp / "B.xml", tmp / "a.xml", tmp / "b.xml"}));

    std::vector<std::string> none;
    EXPECT_FALSE(dir::listFiles(tmp / "missing", none, true));
    EXPECT_FALSE(dir::listFiles(tmp / "a.xml", none, true));
    EXPECT_TRUE(none.empty());
}

TEST(ListFiles, ALinkLoopIsListedOnce) {
    TempDir tmp;
    writeFile(tmp / "d/f.xml", "x");
    ASSERT_EQ(::symlink(tmp.path().c_str(), (tmp / "d/loop").c_str()), 0);
    std::vector<std::string> files;
    ASSERT_TRUE(dir::listFiles(tmp.path(), files, true));
    EXPECT_EQ(files, (std::vector<std::string>{tmp / "d/f.xml"}));
}

TEST(TextFileTest, ModesAndLines) {
    TempDir tmp;
    const std::string path = tmp / "t.txt";
    HQ::TextFile f;
    EXPECT_EQ(f.writeLine("x"), 0);  // nothing open
    std::string text = "unchanged";
    EXPECT_EQ(f.readLine(text), 0);
    EXPECT_EQ(text, "unchanged");
    EXPECT_FALSE(f.atEnd());
    EXPECT_FALSE(f.openFile(path, 0));  // "r" of a missing file
    EXPECT_FALSE(f.openFile(path, 6));
    EXPECT_FALSE(HQ::TextFile::fileExists(path));

    ASSERT_TRUE(f.openFile(path, 1));
    EXPECT_EQ(f.path(), path);
    EXPECT_EQ(f.writeLine("first"), 6);
    EXPECT_TRUE(f.closeFile());
    ASSERT_TRUE(f.openFile(path, 2));  // "a+" appends
    EXPECT_EQ(f.writeLine(""), 1);
    f.closeFile();
    EXPECT_EQ(readFile(path), "first\n\n");
    EXPECT_TRUE(HQ::TextFile::fileExists(path));

    ASSERT_TRUE(f.openFile(path, 3));
    EXPECT_EQ(f.readLine(text), 6);
    EXPECT_EQ(text, "first\n");
    EXPECT_EQ(f.readLine(text), 1);
    EXPECT_EQ(f.readLine(text), 0);
    EXPECT_EQ(text, "\n");
    EXPECT_TRUE(f.atEnd());
}

TEST(TextFileTest, LongLinesArriveInPiecesAndJoinUnchanged) {
    TempDir tmp;
    const std::string line(10000, 'q');
    const std::string content = line + "\nshort\n" + line;  // no final line feed
    writeFile(tmp / "long.txt", content);
    HQ::TextFile f;
    ASSERT_TRUE(f.openFile(tmp / "long.txt", 0));
    std::string piece;
    EXPECT_EQ(f.readLine(piece), HQ::TextFile::kMaxLinePiece);
    std::string all = piece;
    ASSERT_TRUE(f.readAll(all));
    EXPECT_EQ(all, content);
}

TEST(TextFileTest, AFailingStreamEndsTheReading) {
    TempDir tmp;
    HQ::TextFile f;
    ASSERT_TRUE(f.openFile(tmp.path(), 0));  // a folder opens but cannot be read
    std::string text;
    EXPECT_FALSE(f.readAll(text));
    EXPECT_TRUE(text.empty());
}

// ---- the batch ---------------------------------------------------------

const char* const kDocument =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?><SITSYMBOLFILE><LAYGROUPS>"
    "<LayerGroup Describe=\"\" Visible=\"TRUE\" Name=\"NAME\"/></LAYGROUPS></SITSYMBOLFILE>\n";

std::string documentNamed(const std::string& name) {
    std::string doc = kDocument;
    doc.replace(doc.find("NAME"), 4, name);
    return doc;
}

std::string expectedOutput(const std::string& name) {
    return "{\"SITSYMBOLFILE\":{\"LayerGroups\":[{\"Describe\":\"\",\"Visible\":true,\"LayerGroup Name\":\"" +
           name + "\",\"Layers\":[]}]},\"ACTIONGROUPS\":{\"ActionGroupCount\":0,\"ActionGroups\":[]}}\n";
}

int runIn(const TempDir& exe, std::string& errors) {
    FakeMarks marks;
    std::ostringstream err;
    const int status = HQ::runBatch(exe.path(), err, &marks);
    errors = err.str();
    return status;
}

TEST(Batch, ConvertsEveryFileFlatIntoOut) {
    TempDir exe;
    writeFile(exe / "source/plan.xml", documentNamed("plan"));
    writeFile(exe / "source/sub/deeper/notes.txt", documentNamed("notes"));
    writeFile(exe / "source/sub/empty.xml", "");
    std::string errors;
    // The empty document is not well-formed XML: reported (status 1), and
    // converted as before.
    EXPECT_EQ(runIn(exe, errors), 1);
    EXPECT_EQ(errors,
              "sitconv: " + exe / "source/sub/empty.xml" + ": not well-formed XML: Error document empty.\n");
    EXPECT_EQ(readFile(exe / "out/plan.xml"), expectedOutput("plan"));
    EXPECT_EQ(readFile(exe / "out/notes.txt"), expectedOutput("notes"));
    EXPECT_EQ(readFile(exe / "out/empty.xml"),
              "{\"SITSYMBOLFILE\":{\"LayerGroups\":[]},\"ACTIONGROUPS\":{\"ActionGroupCount\":0,"
              "\"ActionGroups\":[]}}\n");
}

TEST(Batch, NoSourceOrAnEmptyOneDoesNothing) {
    TempDir exe;
    std::string errors;
    EXPECT_EQ(runIn(exe, errors), 0);
    ::mkdir((exe / "source").c_str(), 0777);
    EXPECT_EQ(runIn(exe, errors), 0);
    EXPECT_EQ(errors, "");
    EXPECT_FALSE(dir::isDirectory(exe / "out"));
}

TEST(Batch, AnUnreadableFileIsReportedAndTheBatchGoesOn) {
    TempDir exe;
    writeFile(exe / "source/a.xml", documentNamed("a"));
    ASSERT_EQ(::symlink((exe / "nowhere").c_str(), (exe / "source/b.xml").c_str()),
              0);  // listed, cannot be opened
    writeFile(exe / "source/c.xml", documentNamed("c"));
    std::string errors;
    EXPECT_EQ(runIn(exe, errors), 1);
    EXPECT_NE(errors.find("sitconv: " + exe / "source/b.xml" + ": cannot open"), std::string::npos) << errors;
    EXPECT_EQ(readFile(exe / "out/a.xml"), expectedOutput("a"));
    EXPECT_EQ(readFile(exe / "out/c.xml"), expectedOutput("c"));
    EXPECT_FALSE(fileExists(exe / "out/b.xml"));
}

TEST(Batch, SameNamedInputsAreReportedAndTheLaterWins) {
    TempDir exe;
    writeFile(exe / "source/x/plan.xml", documentNamed("first"));
    writeFile(exe / "source/y/plan.xml", documentNamed("second"));
    writeFile(exe / "source/z/plan.xml", documentNamed("third"));
    std::string errors;
    EXPECT_EQ(runIn(exe, errors), 1);
    EXPECT_NE(errors.find(exe / "source/y/plan.xml" + ": has the same name as " + exe / "source/x/plan.xml"),
              std::string::npos)
        << errors;
    EXPECT_NE(errors.find(exe / "source/z/plan.xml" + ": has the same name as " + exe / "source/y/plan.xml"),
              std::string::npos)
        << errors;
    EXPECT_EQ(readFile(exe / "out/plan.xml"), expectedOutput("third"));
}

TEST(Batch, AMissingOutIsCreatedAndAnImpossibleOneReported) {
    TempDir exe;
    writeFile(exe / "source/a.xml", documentNamed("a"));
    std::string errors;
    EXPECT_EQ(runIn(exe, errors), 0);
    EXPECT_TRUE(dir::isDirectory(exe / "out"));
    EXPECT_EQ(readFile(exe / "out/a.xml"), expectedOutput("a"));

    TempDir blocked;
    writeFile(blocked / "source/a.xml", documentNamed("a"));
    writeFile(blocked / "out", "a file where the folder should be");
    EXPECT_EQ(runIn(blocked, errors), 1);
    EXPECT_NE(errors.find("cannot create the output folder"), std::string::npos) << errors;
}

}  // namespace

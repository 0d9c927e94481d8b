// SPDX-License-Identifier: Apache-2.0
// The sitconv command line as a user runs it: option errors, version and
// help, single files, libraries, parallel runs, warnings, progress, and
// outputs that cannot be written.
#include "ProgramRun.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

using namespace sitconv_test;

const std::string kGolden = std::string(SITPLOT_TESTDATA_DIR) + "/sitconv/golden/";
const std::string kLibrary = std::string(SITPLOT_BINARY_DIR) + "/examples/symbol-library/sample.db";
const std::string kWrongKeyLibrary = std::string(SITPLOT_TEST_DATABASE_DIR) + "/wrong-key.db";

TEST(CommandLine, UsageAndSetUpErrorsGiveStatusTwoAndOneLine) {
    TempDir tmp;
    writeFile(tmp / "source/a.xml", readFile(kGolden + "layer_walk.xml"));
    writeFile(tmp / "afile", "x");
    const struct {
        std::vector<std::string> args;
        const char* says;
    } cases[] = {
        {{"--bogus"}, "--bogus"},
        {{"--jobs", "0", "source"}, "--jobs"},
        {{"--jobs", "many", "source"}, "--jobs"},
        {{"--format", "xml", "source"}, "--format"},
        {{"--quiet", "--progress", "source"}, "--quiet"},
        {{"missing-folder"}, "missing-folder: no such file or folder"},
        {{"--library", "no-such.db", "source"}, "no-such.db: cannot open the symbol library"},
        {{"--library", kWrongKeyLibrary, "source"}, "cannot open the symbol library"},
        {{"--library", tmp.path(), "source"}, "cannot open the symbol library"},
        {{"source", "afile/out"}, "cannot create the output folder"},
        {{"source", "out", "extra"}, "extra"},
    };
    for (const auto& c : cases) {
        const ProgramRun r = runSitconv(tmp.path(), c.args);
        EXPECT_EQ(r.status, 2) << c.args[0];
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_EQ(r.err.rfind("sitconv: ", 0), 0u) << r.err;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
        EXPECT_FALSE(fileExists(tmp / "out/a.xml")) << "nothing converted after " << c.args[0];
    }
}

TEST(CommandLine, VersionAndHelp) {
    TempDir tmp;
    const ProgramRun version = runSitconv(tmp.path(), {"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, std::string("sitconv ") + SITPLOT_PROJECT_VERSION + "\n");
    const ProgramRun help = runSitconv(tmp.path(), {"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* option :
         {"--library", "--format", "--jobs", "--progress", "--quiet", "--version", "SOURCE"}) {
        EXPECT_NE(help.out.find(option), std::string::npos) << option;
    }
    EXPECT_EQ(help.err, "");
}

TEST(CommandLine, OneFileIntoTheDefaultOutAndBothFormats) {
    TempDir tmp;
    writeFile(tmp / "in/plan.xml", readFile(kGolden + "symbol_full.xml"));
    const ProgramRun r = runSitconv(tmp.path(), {"--quiet", "--format", "both", "in/plan.xml"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(readFile(tmp / "out/plan.xml"), readFile(kGolden + "symbol_full.json"));
    EXPECT_NE(readFile(tmp / "out/plan.geojson").find("\"type\":\"FeatureCollection\""), std::string::npos);
    EXPECT_EQ(namesIn(tmp / "out"), (std::vector<std::string>{"plan.geojson", "plan.xml"}));

    const ProgramRun geoOnly = runSitconv(tmp.path(), {"--format", "geojson", "in", "geo"});
    EXPECT_EQ(geoOnly.status, 0);
    EXPECT_EQ(namesIn(tmp / "geo"), (std::vector<std::string>{"plan.geojson"}));
    EXPECT_EQ(readFile(tmp / "geo/plan.geojson"), readFile(tmp / "out/plan.geojson"));
}

TEST(CommandLine, ALibraryAnswersTheMarkTypes) {
    ASSERT_TRUE(fileExists(kLibrary)) << kLibrary;
    TempDir tmp;
    // Library 1 mark 1001 is of mark type 1 in the sample; the other is not.
    const std::string doc = documentWithSymbols(
        "<Symbol Guid=\"1\" Code=\"1,1001\"/><Symbol Guid=\"2\" Code=\"1,1004\"/><Symbol Guid=\"3\" "
        "Code=\"1,1001\"/>");
    writeFile(tmp / "in/a.xml", doc);
    writeFile(tmp / "in/b.xml", doc);  // a second document: the library stays open
    for (const char* jobs : {"1", "2"}) {
        const ProgramRun r = runSitconv(tmp.path(), {"--library", kLibrary, "--jobs", jobs, "in", "lib"});
        EXPECT_EQ(r.status, 0) << r.err;
        for (const char* name : {"lib/a.xml", "lib/b.xml"}) {
            const std::string out = readFile(tmp / name);
            size_t count = 0;
            for (size_t at = out.find("\"AvoidPoints\""); at != std::string::npos;
                 at = out.find("\"AvoidPoints\"", at + 1))
                ++count;
            EXPECT_EQ(count, 2u) << name << " jobs " << jobs;
            EXPECT_NE(out.find("\"DotDragLine\""), std::string::npos) << name;
        }
    }
    const ProgramRun none = runSitconv(tmp.path(), {"in", "plain"});
    EXPECT_EQ(readFile(tmp / "plain/a.xml").find("AvoidPoints"), std::string::npos);
    EXPECT_EQ(none.status, 0);
}

TEST(CommandLine, TwoJobsGiveTheSameFolderAndMessagesAsOne) {
    TempDir src;
    for (int i = 0; i < 14; ++i) {
        writeFile(src / ("batch/d" + std::to_string(i % 3) + "/f" + std::to_string(i) + ".xml"),
                  generatedDocument(20 + i * 37, i));
    }
    writeFile(src / "batch/d0/f5.xml", generatedDocument(3, 99));  // same name as d2/f5.xml
    writeFile(src / "batch/z/f5.xml", generatedDocument(5, 98));   // and again, later
    writeFile(
        src / "batch/d1/bad.xml",
        documentWithSymbols("<Symbol><GeoAttr><POINTS><Point X=\"nan\" Y=\"0\" Z=\"0\"/></POINTS>"
                            "</GeoAttr></Symbol><Symbol><GeoAttr><POINTS><Point X=\"1e6\" Y=\"0\" Z=\"0\"/>"
                            "</POINTS></GeoAttr></Symbol>"));
    ASSERT_EQ(::symlink((src / "nowhere").c_str(), (src / "batch/d1/broken.xml").c_str()), 0);
    TempDir one, two;
    const ProgramRun r1 = runSitconv(one.path(), {"--format", "both", src / "batch", "out"});
    const ProgramRun r2 = runSitconv(two.path(), {"--format", "both", "--jobs", "2", src / "batch", "out"});
    EXPECT_EQ(r1.status, 1);
    EXPECT_EQ(r2.status, 1);
    EXPECT_EQ(r1.err, r2.err);
    EXPECT_NE(r1.err.find("z/f5.xml: has the same name as " + src / "batch/d2/f5.xml"), std::string::npos)
        << r1.err;
    EXPECT_NE(r1.err.find("broken.xml: cannot open"), std::string::npos) << r1.err;
    EXPECT_NE(r1.err.find("bad.xml: warning: coordinates outside"), std::string::npos) << r1.err;
    const std::vector<std::string> names = namesIn(one / "out");
    EXPECT_EQ(names, namesIn(two / "out"));
    EXPECT_EQ(names.size(), 2u * 15u);  // 14 + bad, f5 three times in one
    for (const std::string& n : names)
        EXPECT_EQ(readFile(one / ("out/" + n)), readFile(two / ("out/" + n))) << n;
    EXPECT_EQ(readFile(one / "out/f5.xml").find("符号98"), readFile(one / "out/f5.xml").find("符号98"));
    EXPECT_NE(readFile(two / "out/f5.xml").find("符号98"), std::string::npos) << "the latest listed wins";

    const ProgramRun quiet =
        runSitconv(one.path(), {"--quiet", "--format", "geojson", src / "batch/d1", "q"});
    EXPECT_EQ(quiet.err.find("warning"), std::string::npos) << quiet.err;
    EXPECT_NE(quiet.err.find("non-finite"), std::string::npos) << quiet.err;
}

TEST(CommandLine, ProgressOnlyWhenAskedOffATerminal) {
    TempDir tmp;
    for (int i = 0; i < 8; ++i)
        writeFile(tmp / ("in/f" + std::to_string(i) + ".xml"), generatedDocument(5, i));
    const ProgramRun plain = runSitconv(tmp.path(), {"in", "a"});
    EXPECT_EQ(plain.err, "");
    const ProgramRun asked = runSitconv(tmp.path(), {"--progress", "in", "b"});
    EXPECT_EQ(asked.status, 0);
    EXPECT_NE(asked.err.find("8/8 files"), std::string::npos) << asked.err;
    EXPECT_NE(asked.err.find("MB/s"), std::string::npos) << asked.err;
}

TEST(CommandLine, LeftoversOfEndedRunsAreRemoved) {
    TempDir tmp;
    writeFile(tmp / "in/a.xml", generatedDocument(3, 1));
    const std::string live = ".sitconv-" + std::to_string(::getpid()) + "-7.tmp";
    for (const std::string& n : {std::string(".sitconv-2147483-1.tmp"), live, std::string(".sitconv-x-1.tmp"),
                                 std::string("keep.txt")}) {
        writeFile(tmp / ("out/" + n), "partial");
    }
    const ProgramRun r = runSitconv(tmp.path(), {"in", "out"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(namesIn(tmp / "out"),
              (std::vector<std::string>{live, ".sitconv-x-1.tmp", "a.xml", "keep.txt"}));
}

TEST(CommandLine, AFullDiskIsReportedPerFileAndLeavesTheOldOutput) {
    TempDir tmp;
    writeFile(tmp / "in/big.xml", generatedDocument(3000, 1));
    writeFile(tmp / "in/small.xml", generatedDocument(2, 2));
    writeFile(tmp / "out/big.xml", "the earlier output\n");
    // Files may not grow beyond 64 KiB: the big output cannot be written.
    const ProgramRun r =
        runSitconv(tmp.path(), {"--format", "both", "in", "out"}, "trap '' XFSZ; ulimit -f 64;");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("in/big.xml: cannot write out/big.xml"), std::string::npos) << r.err;
    EXPECT_EQ(readFile(tmp / "out/big.xml"), "the earlier output\n");
    EXPECT_FALSE(fileExists(tmp / "out/big.geojson"));
    EXPECT_NE(readFile(tmp / "out/small.xml").find("ACTIONGROUPS"), std::string::npos) << "the batch goes on";
    EXPECT_TRUE(fileExists(tmp / "out/small.geojson"));
    for (const std::string& n : namesIn(tmp / "out")) EXPECT_FALSE(isTemporary(n)) << n;
}

TEST(CommandLine, AnUnwritableOutputFolderIsReportedPerFile) {
    TempDir tmp;
    writeFile(tmp / "in/a.xml", generatedDocument(2, 1));
    writeFile(tmp / "in/b.xml", generatedDocument(2, 2));
    std::string out = tmp / "locked";
    if (::geteuid() == 0) {
        out = "/proc";  // permissions do not stop the superuser; nothing can be created here
    } else {
        ::mkdir(out.c_str(), 0555);
    }
    const ProgramRun r = runSitconv(tmp.path(), {"in", out});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("in/a.xml: cannot create " + out + "/a.xml"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("in/b.xml: cannot create " + out + "/b.xml"), std::string::npos) << r.err;
}

}  // namespace

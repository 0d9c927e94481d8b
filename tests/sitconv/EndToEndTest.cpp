// SPDX-License-Identifier: Apache-2.0
// The sitconv program itself, copied beside a "source" tree: status, silence
// and outputs, as a user runs it.
#include "SitconvTestSupport.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

namespace {

using namespace sitconv_test;

const std::string kProgram = std::string(SITPLOT_BINARY_DIR) + "/sitconv/sitconv";
const std::string kGolden = std::string(SITPLOT_TESTDATA_DIR) + "/sitconv/golden/";

// Runs the copied program; answers its exit status, stderr in errors.
int runProgram(const TempDir& exe, std::string& errors) {
    const std::string command = "cd / && '" + exe.path() + "/sitconv' > '" + exe.path() +
                                "/stdout.txt' 2> '" + exe.path() + "/stderr.txt'";
    const int raw = std::system(command.c_str());
    errors = readFile(exe / "stderr.txt");
    EXPECT_EQ(readFile(exe / "stdout.txt"), "");
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

class EndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(fileExists(kProgram)) << kProgram;
        ASSERT_EQ(std::system(("cp '" + kProgram + "' '" + exe.path() + "/'").c_str()), 0);
    }
    TempDir exe;
};

TEST_F(EndToEnd, ConvertsATreeSilently) {
    const char* const cases[] = {"symbol_full", "combination", "actions"};
    writeFile(exe / "source/symbol_full.xml", readFile(kGolden + "symbol_full.xml"));
    writeFile(exe / "source/2024/combination.xml", readFile(kGolden + "combination.xml"));
    writeFile(exe / "source/2024/drill/actions.xml", readFile(kGolden + "actions.xml"));
    std::string errors;
    EXPECT_EQ(runProgram(exe, errors), 0);
    EXPECT_EQ(errors, "");
    for (const char* c : cases) {
        EXPECT_EQ(readFile(exe / "out/" + c + ".xml"), readFile(kGolden + c + ".json")) << c;
    }
}

TEST_F(EndToEnd, ReportsProblemsAndEndsNonZero) {
    writeFile(exe / "source/a/plan.xml", readFile(kGolden + "layer_walk.xml"));
    writeFile(exe / "source/b/plan.xml", readFile(kGolden + "layer_walk.xml"));
    writeFile(exe / "source/c/bad.xml",
              documentWithSymbols(
                  "<Symbol><GeoAttr><POINTS><P X=\"nan\" Y=\"0\" Z=\"0\"/></POINTS></GeoAttr></Symbol>"));
    std::string errors;
    EXPECT_EQ(runProgram(exe, errors), 1);
    EXPECT_NE(errors.find("b/plan.xml: has the same name as"), std::string::npos) << errors;
    EXPECT_NE(errors.find("c/bad.xml: non-finite number in \"X\" written as null"), std::string::npos)
        << errors;
    EXPECT_EQ(readFile(exe / "out/plan.xml"), readFile(kGolden + "layer_walk.json"));
}

}  // namespace

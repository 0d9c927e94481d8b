// SPDX-License-Identifier: Apache-2.0
// Golden conversions: each document of tests/data/sitconv/golden targets one
// group of rules; both stages must reproduce the expected JSON byte for byte.
#include "SitconvTestSupport.h"

#include <gtest/gtest.h>

namespace {

using namespace sitconv_test;

struct GoldenCase {
    const char* name;  // <name>.xml in, <name>.json expected
    int markType;      // the library's answer for every symbol
};

const GoldenCase kGoldenCases[] = {
    {"empty_file", 0},  {"laygroups_not_first", 0},
    {"layer_walk", 0},  {"symbol_defaults", 0},
    {"symbol_full", 0}, {"line_types", 0},
    {"types", 0},       {"combination", 0},
    {"font_utf8", 0},   {"font_gbk", 0},
    {"actions", 0},     {"mark_type_one", 1},
};

void PrintTo(const GoldenCase& c, std::ostream* os) { *os << c.name; }

class Golden : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(Golden, ConvertsByteForByte) {
    const GoldenCase& c = GetParam();
    const std::string base = std::string(SITPLOT_TESTDATA_DIR) + "/sitconv/golden/" + c.name;
    ASSERT_TRUE(fileExists(base + ".xml")) << base;
    const std::string xml = readFile(base + ".xml");
    const std::string expected = readFile(base + ".json");
    ASSERT_FALSE(expected.empty()) << base << ".json";

    FakeMarks marks(c.markType);
    std::ostringstream errors;
    HQ::SituationConverter converter(marks, errors);
    TempDir dir;
    EXPECT_EQ(convertDocument(converter, dir, xml), expected);
    EXPECT_EQ(errors.str(), "");
    EXPECT_EQ(converter.problemCount(), 0);
    EXPECT_EQ(marks.documents, 1);  // the library is initialised once per document
}

INSTANTIATE_TEST_SUITE_P(Documents, Golden, ::testing::ValuesIn(kGoldenCases),
                         [](const ::testing::TestParamInfo<GoldenCase>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace

// SPDX-License-Identifier: Apache-2.0
// The engine conformance suite: one set of tests, written against the
// library manager, that every storage engine must pass on the symbol library
// built from examples/symbol-library (schema.sql, sample.sql) and
// tests/data/store/conformance.sql. What legitimately differs between the
// engines is a parameter, not a copy of the tests.
//
// Another engine joins the suite with its own instantiation:
//   INSTANTIATE_TEST_SUITE_P(MyEngine, EngineConformanceTest,
//                            ::testing::Values(MyEngineCase()), EngineCaseName);
#ifndef SITPLOT_TESTS_ENGINECONFORMANCE_H
#define SITPLOT_TESTS_ENGINECONFORMANCE_H

#include <markstore/SymbolLibManager.h>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>

struct EngineCase {
    std::string name;  // test name suffix
    int dbType;        // argument of init
    // Gives the connection settings to a freshly initialised manager. Answers
    // false (with a reason in *skip) when the database is not available.
    std::function<bool(HQ::IHQGS_SymbolLibManager*, std::string* skip)> configure;
    // Texts as the engine hands them out, given the UTF-8 text stored:
    // unchanged, or converted to the local code page.
    std::function<std::string(const std::string& utf8)> expectedText;
    bool firstRowWins;          // single-row reads take the first row (else the last)
    bool readsTrailingColumns;  // the two trailing Marks columns fill ExtraInt1/2
    bool writable;              // the database accepts writes
};

// Test names and failure messages show the case's name only.
inline void PrintTo(const EngineCase& c, std::ostream* os) { *os << c.name; }

inline std::string EngineCaseName(const ::testing::TestParamInfo<EngineCase>& info) {
    return info.param.name;
}

class EngineConformanceTest : public ::testing::TestWithParam<EngineCase> {
protected:
    void SetUp() override;
    void TearDown() override;
    std::string text(const std::string& utf8) const { return GetParam().expectedText(utf8); }

    HQ::IHQGS_SymbolLibManager* manager = nullptr;
};

#endif

// SPDX-License-Identifier: Apache-2.0
// The engine conformance suite on the MySQL engine, against the shared
// loopback server loaded with the same rows as the SQLite test library.
#include "EngineConformance.h"
#include "MySQLServer.h"

namespace {

EngineCase MySQLCase() {
    EngineCase c;
    c.name = "MySQL";
    c.dbType = 1;
    c.configure = [](HQ::IHQGS_SymbolLibManager* m, std::string* why) {
        MySQLSettings settings;
        if (!SharedMySQLSettings(&settings, why)) {
            // A missing server is a failure, not a reason to skip; a fatal
            // one, so that the test body does not run on a closed engine.
            [why] { FAIL() << *why; }();
            return false;
        }
        settings.applyTo(m);
        return true;
    };
    // The connection runs in UTF-8 and the engine converts nothing.
    c.expectedText = [](const std::string& utf8) { return utf8; };
    c.firstRowWins = false;
    c.readsTrailingColumns = true;
    c.writable = true;
    return c;
}

}  // namespace

INSTANTIATE_TEST_SUITE_P(MySQL, EngineConformanceTest, ::testing::Values(MySQLCase()), EngineCaseName);

// SPDX-License-Identifier: Apache-2.0
// Runs the built sitconv program with arguments, in a folder, under the
// test's locale; captures standard output and error and the exit status.
#ifndef SITCONV_TESTS_PROGRAM_RUN_H
#define SITCONV_TESTS_PROGRAM_RUN_H

#include "SitconvTestSupport.h"

#include <dirent.h>
#include <sys/wait.h>

#include <algorithm>
#include <string>
#include <vector>

namespace sitconv_test {

const std::string kSitconv = std::string(SITPLOT_BINARY_DIR) + "/sitconv/sitconv";

struct ProgramRun {
    int status = -1;
    std::string out, err;
};

inline std::string quoted(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += (c == '\'') ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// prefix: shell text put before the program (limits, traps).
inline ProgramRun runSitconv(const std::string& folder, const std::vector<std::string>& args,
                             const std::string& prefix = "") {
    std::string command = "cd " + quoted(folder) + " && " + prefix + " " + quoted(kSitconv);
    for (const std::string& a : args) command += " " + quoted(a);
    const std::string outFile = folder + "/.run-stdout", errFile = folder + "/.run-stderr";
    command += " > " + quoted(outFile) + " 2> " + quoted(errFile);
    const int raw = std::system(("bash -c " + quoted(command)).c_str());
    ProgramRun r;
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = readFile(outFile);
    r.err = readFile(errFile);
    std::remove(outFile.c_str());
    std::remove(errFile.c_str());
    return r;
}

// The names in folder (not "." and ".."), sorted.
inline std::vector<std::string> namesIn(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* d = ::opendir(folder.c_str())) {
        while (const dirent* e = ::readdir(d)) {
            const std::string n = e->d_name;
            if (n != "." && n != "..") names.push_back(n);
        }
        ::closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
}

inline bool isTemporary(const std::string& name) { return name.rfind(".sitconv-", 0) == 0; }

// A document of n placed symbols, each with a few points.
inline std::string generatedDocument(int n, int seed) {
    std::string symbols;
    for (int i = 0; i < n; ++i) {
        const int points = 1 + (i + seed) % 4;
        symbols += "<Symbol Guid=\"" + std::to_string(i) + "\" Code=\"5," + std::to_string(i % 9) +
                   "\" Name=\"符号" + std::to_string(seed) + "\"><GeoAttr><POINTS>";
        for (int p = 0; p < points; ++p) {
            symbols += "<Point X=\"" + std::to_string(116 + p * 0.01 + i * 1e-5) + "\" Y=\"" +
                       std::to_string(39 + (p % 2) * 0.01) + "\" Z=\"0\"/>";
        }
        symbols += "</POINTS></GeoAttr><StyleAttr><Fill Color=\"4278190335\" Mode=\"" +
                   std::to_string(i % 2) + "\"/></StyleAttr></Symbol>";
    }
    return documentWithSymbols(symbols);
}

}  // namespace sitconv_test

#endif

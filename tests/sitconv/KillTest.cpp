// SPDX-License-Identifier: Apache-2.0
// Outputs are whole or absent: a batch is stopped at random moments by
// SIGKILL, SIGINT or SIGTERM (one job and two); after each stop every output
// in the folder is absent or exactly the complete output, temporary files
// are gone after SIGINT/SIGTERM, and the next run removes what a SIGKILL
// left behind.
#include "ProgramRun.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <set>
#include <thread>

namespace {

using namespace sitconv_test;

pid_t start(const std::string& folder, const std::vector<std::string>& args) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, 1);
        ::dup2(null, 2);
        if (::chdir(folder.c_str()) != 0) ::_exit(127);
        std::vector<char*> argv{const_cast<char*>(kSitconv.c_str())};
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(kSitconv.c_str(), argv.data());
        ::_exit(127);
    }
    return pid;
}

std::vector<std::string> temporaries(const std::string& folder) {
    std::vector<std::string> found;
    for (const std::string& n : namesIn(folder)) {
        if (isTemporary(n)) found.push_back(n);
    }
    return found;
}

TEST(KillTest, EveryOutputIsWholeOrAbsentAfterAStop) {
    TempDir tmp;
    for (int i = 0; i < 14; ++i) {
        const int symbols = (i % 4 == 0) ? 2500 : 40 + 40 * i;
        writeFile(tmp / ("source/s" + std::to_string(i % 3) + "/doc" + std::to_string(i) + ".xml"),
                  generatedDocument(symbols, i));
    }
    const auto begun = std::chrono::steady_clock::now();
    const ProgramRun reference = runSitconv(tmp.path(), {"--format", "both", "source", "ref"});
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begun).count();
    ASSERT_EQ(reference.status, 0) << reference.err;
    const std::vector<std::string> names = namesIn(tmp / "ref");
    ASSERT_EQ(names.size(), 28u);

    std::mt19937 rng(1405);
    std::uniform_real_distribution<double> moment(0.0, seconds);
    const int signals[] = {SIGKILL, SIGINT, SIGTERM};
    const int kTries = 12;
    int stoppedEarly = 0;
    std::set<std::string> orphaned;  // temporary files that killed runs left
    for (int attempt = 0; attempt < kTries; ++attempt) {
        const int sig = signals[attempt % 3];
        const std::string jobs = (attempt / 3) % 2 == 0 ? "1" : "2";
        const pid_t pid = start(tmp.path(), {"--format", "both", "--jobs", jobs, "source", "out"});
        ASSERT_GT(pid, 0);
        std::this_thread::sleep_for(std::chrono::duration<double>(moment(rng)));
        ::kill(pid, sig);
        int status = 0;
        ::waitpid(pid, &status, 0);
        if (WIFSIGNALED(status)) ++stoppedEarly;

        if (sig == SIGKILL) {
            // What a killed run leaves stays until a later run removes it (a
            // run stopped too early may not have got to that yet); its
            // workers, told by the kernel, remove their own files.
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            const std::vector<std::string> left = temporaries(tmp / "out");
            orphaned.insert(left.begin(), left.end());
        } else {
            // A run stopped by SIGINT or SIGTERM removes every file of its
            // own (workers on the forwarded signal); only a killed run's
            // leftovers may remain.
            const auto onlyOrphans = [&] {
                for (const std::string& n : temporaries(tmp / "out"))
                    if (orphaned.count(n) == 0) return false;
                return true;
            };
            for (int wait = 0; wait < 500 && !onlyOrphans(); ++wait) {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
            EXPECT_TRUE(onlyOrphans()) << "signal " << sig << " attempt " << attempt;
        }
        for (const std::string& n : namesIn(tmp / "out")) {
            if (isTemporary(n)) continue;
            EXPECT_EQ(readFile(tmp / ("out/" + n)), readFile(tmp / ("ref/" + n)))
                << n << " after signal " << sig << " attempt " << attempt;
        }
    }
    EXPECT_GT(stoppedEarly, kTries / 2) << "the stops should mostly fall inside the run";

    const ProgramRun last = runSitconv(tmp.path(), {"--format", "both", "source", "out"});
    EXPECT_EQ(last.status, 0) << last.err;
    EXPECT_EQ(namesIn(tmp / "out"), names) << "leftovers removed";
    for (const std::string& n : names)
        EXPECT_EQ(readFile(tmp / ("out/" + n)), readFile(tmp / ("ref/" + n))) << n;
}

}  // namespace

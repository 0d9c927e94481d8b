// SPDX-License-Identifier: Apache-2.0
// Temporary outputs, their clean-up on signals and their renaming into place.
#include "AtomicFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace HQ {
namespace atomic {

namespace {

const char kPrefix[] = ".sitconv-";
const char kSuffix[] = ".tmp";

// Room for the held paths of one process: a worker holds at most two at a
// time, the parent those of the results waiting for their turn.
const int kSlots = 512;
const int kMaxWorkers = 256;

// The handler only reads these: a slot's path is complete before its flag
// is set, and the flag is cleared before the path changes.
struct Slot {
    volatile sig_atomic_t used = 0;
    char path[PATH_MAX] = {0};
};
Slot* g_slots = nullptr;  // allocated once, never freed (read by the handler)
volatile pid_t g_workers[kMaxWorkers] = {0};
std::atomic<unsigned long> g_counter{0};
bool g_installed = false;

Slot* slots() {
    if (g_slots == nullptr) g_slots = new Slot[kSlots];
    return g_slots;
}

void onSignal(int sig) {
    const int savedErrno = errno;
    for (int i = 0; i < kMaxWorkers; ++i) {
        if (g_workers[i] > 0) ::kill(g_workers[i], sig);
    }
    if (g_slots != nullptr) {
        for (int i = 0; i < kSlots; ++i) {
            if (g_slots[i].used) ::unlink(g_slots[i].path);
        }
    }
    ::signal(sig, SIG_DFL);
    errno = savedErrno;
    ::raise(sig);
}

// True while process pid runs. A process that has ended but was not reaped
// yet (a zombie: a worker whose parent was killed, on a system whose init
// does not reap) still answers kill(pid, 0), yet holds no file any more.
bool processRuns(pid_t pid) {
    if (pid <= 0 || (::kill(pid, 0) != 0 && errno == ESRCH)) return false;
    std::FILE* stat = std::fopen(("/proc/" + std::to_string(pid) + "/stat").c_str(), "r");
    if (stat == nullptr) return true;
    char line[512] = {};
    const size_t got = std::fread(line, 1, sizeof(line) - 1, stat);
    std::fclose(stat);
    // "pid (name) S ...": the state follows the last closing parenthesis.
    const char* close = std::strrchr(line, ')');
    if (got == 0 || close == nullptr || close[1] != ' ') return true;
    return close[2] != 'Z' && close[2] != 'X';
}

}  // namespace

bool isTemporaryName(const std::string& name, pid_t* pid) {
    const size_t prefix = sizeof(kPrefix) - 1, suffix = sizeof(kSuffix) - 1;
    if (name.size() <= prefix + suffix || name.compare(0, prefix, kPrefix) != 0 ||
        name.compare(name.size() - suffix, suffix, kSuffix) != 0) {
        return false;
    }
    const std::string middle = name.substr(prefix, name.size() - prefix - suffix);  // <pid>-<n>
    const size_t dash = middle.find('-');
    if (dash == 0 || dash == std::string::npos || dash + 1 == middle.size()) return false;
    for (size_t i = 0; i < middle.size(); ++i) {
        if (i != dash && (middle[i] < '0' || middle[i] > '9')) return false;
    }
    if (pid != nullptr) *pid = static_cast<pid_t>(std::strtol(middle.substr(0, dash).c_str(), nullptr, 10));
    return true;
}

int removeLeftovers(const std::string& folder) {
    DIR* d = ::opendir(folder.c_str());
    if (d == nullptr) return 0;
    int removed = 0;
    while (const dirent* e = ::readdir(d)) {
        pid_t pid = 0;
        if (!isTemporaryName(e->d_name, &pid) || processRuns(pid)) continue;
        if (::unlink((folder + "/" + e->d_name).c_str()) == 0) ++removed;
    }
    ::closedir(d);
    return removed;
}

std::string temporaryPath(const std::string& folder) {
    const unsigned long n = g_counter.fetch_add(1);
    return folder + "/" + kPrefix + std::to_string(::getpid()) + "-" + std::to_string(n) + kSuffix;
}

void hold(const std::string& path) {
    if (path.empty() || path.size() >= PATH_MAX) return;
    Slot* s = slots();
    for (int i = 0; i < kSlots; ++i) {
        if (s[i].used) continue;
        std::memcpy(s[i].path, path.c_str(), path.size() + 1);
        s[i].used = 1;
        return;
    }
}

void release(const std::string& path) {
    if (g_slots == nullptr || path.empty()) return;
    for (int i = 0; i < kSlots; ++i) {
        if (g_slots[i].used && path == g_slots[i].path) {
            g_slots[i].used = 0;
            return;
        }
    }
}

void installSignalCleanup() {
    if (g_installed) return;
    g_installed = true;
    slots();
    struct sigaction sa;
    std::memset(&sa, 0, sizeof(sa));
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sigaddset(&sa.sa_mask, SIGINT);
    sigaddset(&sa.sa_mask, SIGTERM);
    ::sigaction(SIGINT, &sa, nullptr);
    ::sigaction(SIGTERM, &sa, nullptr);
}

void addWorker(pid_t pid) {
    for (int i = 0; i < kMaxWorkers; ++i) {
        if (g_workers[i] == 0) {
            g_workers[i] = pid;
            return;
        }
    }
}

void removeWorker(pid_t pid) {
    for (int i = 0; i < kMaxWorkers; ++i) {
        if (g_workers[i] == pid) g_workers[i] = 0;
    }
}

void forgetInherited() {
    for (int i = 0; i < kMaxWorkers; ++i) g_workers[i] = 0;
    if (g_slots != nullptr) {
        for (int i = 0; i < kSlots; ++i) g_slots[i].used = 0;
    }
}

bool writeWholeFile(const std::string& path, const std::string& text, std::string& why) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        why = std::strerror(errno);
        return false;
    }
    const char* p = text.data();
    size_t left = text.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            why = n < 0 ? std::strerror(errno) : "nothing written";
            ::close(fd);
            return false;
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
    if (::close(fd) != 0) {
        why = std::strerror(errno);
        return false;
    }
    return true;
}

bool endsWithLineFeed(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st;
    char last = 0;
    const bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0 &&
                    ::pread(fd, &last, 1, st.st_size - 1) == 1 && last == '\n';
    ::close(fd);
    return ok;
}

bool commit(const std::string& temporary, const std::string& final, std::string& why) {
    if (::rename(temporary.c_str(), final.c_str()) != 0) {
        why = std::strerror(errno);
        discard(temporary);
        return false;
    }
    release(temporary);
    return true;
}

void discard(const std::string& temporary) {
    ::unlink(temporary.c_str());
    release(temporary);
}

}  // namespace atomic
}  // namespace HQ

// SPDX-License-Identifier: Apache-2.0
// Forked workers: a task pipe and a result pipe each; results are used in
// listing order, and only a bounded number of them wait for their turn.
#include "Workers.h"

#include "AtomicFile.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <map>
#include <vector>

namespace HQ {

namespace {

const std::uint64_t kNoMoreTasks = UINT64_MAX;
// Results that may wait for an earlier file, per worker.
const size_t kWaitingPerWorker = 4;

bool writeAll(int fd, const void* data, size_t size) {
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t n = ::write(fd, p, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        p += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

bool readAll(int fd, void* data, size_t size) {
    char* p = static_cast<char*>(data);
    while (size > 0) {
        const ssize_t n = ::read(fd, p, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        p += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

struct Header {
    std::uint64_t index;
    std::uint32_t readable;
    std::uint32_t problems;
    std::uint64_t sizes[3];  // messages, JSON temporary, GeoJSON temporary
};

bool sendResult(int fd, std::uint64_t index, const FileResult& r) {
    Header h{index,
             r.readable ? 1u : 0u,
             static_cast<std::uint32_t>(r.problems),
             {r.messages.size(), r.jsonTemporary.size(), r.geoJsonTemporary.size()}};
    return writeAll(fd, &h, sizeof(h)) && writeAll(fd, r.messages.data(), r.messages.size()) &&
           writeAll(fd, r.jsonTemporary.data(), r.jsonTemporary.size()) &&
           writeAll(fd, r.geoJsonTemporary.data(), r.geoJsonTemporary.size());
}

bool receiveResult(int fd, std::uint64_t& index, FileResult& r) {
    Header h;
    if (!readAll(fd, &h, sizeof(h))) return false;
    std::string* parts[3] = {&r.messages, &r.jsonTemporary, &r.geoJsonTemporary};
    for (int i = 0; i < 3; ++i) {
        parts[i]->resize(h.sizes[i]);
        if (h.sizes[i] > 0 && !readAll(fd, &(*parts[i])[0], h.sizes[i])) return false;
    }
    index = h.index;
    r.readable = h.readable != 0;
    r.problems = static_cast<int>(h.problems);
    return true;
}

[[noreturn]] void workerLoop(int tasks, int results, pid_t parent, const WorkerCalls& calls) {
    // A worker ends with its parent (its temporary files go with it).
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (::getppid() != parent) ::_exit(0);
    atomic::forgetInherited();
    calls.setUp();
    FileResult previous;
    std::uint64_t index;
    while (readAll(tasks, &index, sizeof(index)) && index != kNoMoreTasks) {
        // The parent holds the previous result's files by now.
        atomic::release(previous.jsonTemporary);
        atomic::release(previous.geoJsonTemporary);
        previous = calls.convert(static_cast<size_t>(index));
        if (!sendResult(results, index, previous)) break;
    }
    ::_exit(0);
}

struct Worker {
    pid_t pid = -1;
    int tasks = -1;    // parent writes task indexes
    int results = -1;  // parent reads results
    bool busy = false;
    std::uint64_t task = 0;
};

bool startWorker(Worker& w, std::vector<Worker>& all, const WorkerCalls& calls) {
    int taskPipe[2], resultPipe[2];
    if (::pipe2(taskPipe, O_CLOEXEC) != 0) return false;
    if (::pipe2(resultPipe, O_CLOEXEC) != 0) {
        ::close(taskPipe[0]);
        ::close(taskPipe[1]);
        return false;
    }
    const pid_t parent = ::getpid();
    const pid_t pid = ::fork();
    if (pid < 0) {
        for (int fd : {taskPipe[0], taskPipe[1], resultPipe[0], resultPipe[1]}) ::close(fd);
        return false;
    }
    if (pid == 0) {
        for (const Worker& other : all) {
            if (other.tasks >= 0) ::close(other.tasks);
            if (other.results >= 0) ::close(other.results);
        }
        ::close(taskPipe[1]);
        ::close(resultPipe[0]);
        workerLoop(taskPipe[0], resultPipe[1], parent, calls);
    }
    ::close(taskPipe[0]);
    ::close(resultPipe[1]);
    w.pid = pid;
    w.tasks = taskPipe[1];
    w.results = resultPipe[0];
    atomic::addWorker(pid);
    return true;
}

void stopWorker(Worker& w) {
    if (w.pid < 0) return;
    ::close(w.tasks);
    ::close(w.results);
    int status = 0;
    while (::waitpid(w.pid, &status, 0) < 0 && errno == EINTR) {
    }
    atomic::removeWorker(w.pid);
    w.pid = -1;
}

}  // namespace

void runInWorkers(size_t count, int jobs, const WorkerCalls& calls) {
    // A worker that ends early must not end the parent through a write to
    // its task pipe.
    struct sigaction ignore, previousPipe;
    std::memset(&ignore, 0, sizeof(ignore));
    ignore.sa_handler = SIG_IGN;
    ::sigaction(SIGPIPE, &ignore, &previousPipe);

    std::vector<Worker> workers(static_cast<size_t>(jobs));
    for (Worker& w : workers) {
        if (!startWorker(w, workers, calls)) w.pid = -1;
    }

    std::map<size_t, FileResult> waiting;
    size_t next = 0, nextUse = 0;
    const size_t window = kWaitingPerWorker * workers.size();
    auto useReady = [&]() {
        for (auto it = waiting.find(nextUse); it != waiting.end(); it = waiting.find(nextUse)) {
            calls.use(nextUse, it->second);
            waiting.erase(it);
            ++nextUse;
        }
    };

    for (;;) {
        // Hand out tasks to idle workers.
        for (Worker& w : workers) {
            if (w.pid < 0 || w.busy || next >= count || next >= nextUse + window) continue;
            const std::uint64_t index = next;
            if (!writeAll(w.tasks, &index, sizeof(index))) {
                stopWorker(w);
                continue;
            }
            w.busy = true;
            w.task = index;
            ++next;
        }
        std::vector<pollfd> fds;
        std::vector<Worker*> polled;
        for (Worker& w : workers) {
            if (w.pid >= 0 && w.busy) {
                fds.push_back(pollfd{w.results, POLLIN, 0});
                polled.push_back(&w);
            }
        }
        if (fds.empty()) {
            if (next >= count) break;
            // No worker left to hand the rest to: it is converted here.
            calls.setUp();
            for (; next < count; ++next) {
                waiting.emplace(next, calls.convert(next));
                useReady();
            }
            break;
        }
        if (::poll(fds.data(), fds.size(), -1) < 0) {
            if (errno == EINTR) continue;
            break;
        }
        for (size_t i = 0; i < fds.size(); ++i) {
            if (fds[i].revents == 0) continue;
            Worker& w = *polled[i];
            std::uint64_t index = 0;
            FileResult r;
            if (receiveResult(w.results, index, r)) {
                atomic::hold(r.jsonTemporary);
                atomic::hold(r.geoJsonTemporary);
                waiting.emplace(static_cast<size_t>(index), std::move(r));
            } else {
                waiting.emplace(static_cast<size_t>(w.task), calls.lost(static_cast<size_t>(w.task)));
                stopWorker(w);
            }
            w.busy = false;
        }
        useReady();
    }
    useReady();
    for (Worker& w : workers) stopWorker(w);
    ::sigaction(SIGPIPE, &previousPipe, nullptr);
}

}  // namespace HQ

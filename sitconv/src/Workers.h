// SPDX-License-Identifier: Apache-2.0
// Worker processes for a batch: the libraries' process-wide state (the
// library manager, the C locale) is not safe across threads, so files are
// converted by forked processes, one file at a time each, and their results
// are handed back to the parent, which uses them in listing order.
#ifndef SITCONV_WORKERS_H
#define SITCONV_WORKERS_H

#include "FileConversion.h"

#include <cstddef>
#include <functional>

namespace HQ {

struct WorkerCalls {
    // In each worker, once after it started.
    std::function<void()> setUp;
    // In a worker: converts task index.
    std::function<FileResult(size_t)> convert;
    // In the parent, strictly in index order 0, 1, 2, ...
    std::function<void(size_t, FileResult&)> use;
    // In the parent, for a task whose worker ended before answering.
    std::function<FileResult(size_t)> lost;
};

// Converts tasks 0 to count - 1 with jobs worker processes. A worker that
// cannot be started leaves the work to the others (with none at all, the
// tasks are converted in this process, with setUp called first).
void runInWorkers(size_t count, int jobs, const WorkerCalls& calls);

}  // namespace HQ

#endif

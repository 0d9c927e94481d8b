// SPDX-License-Identifier: Apache-2.0
// Outputs that are whole or absent: every output is written to a temporary
// file in its own folder and renamed over the final name only once it is
// complete. Temporary files are named ".sitconv-<pid>-<n>.tmp"; the files a
// process still holds are removed when it receives SIGINT or SIGTERM, and a
// later run removes those of processes that no longer exist.
#ifndef SITCONV_ATOMICFILE_H
#define SITCONV_ATOMICFILE_H

#include <sys/types.h>

#include <string>
#include <vector>

namespace HQ {
namespace atomic {

// True when name (without folder) follows the temporary files' pattern;
// pid is set to the process named in it.
bool isTemporaryName(const std::string& name, pid_t* pid = nullptr);

// Removes the temporary files in folder whose process no longer runs;
// answers how many were removed.
int removeLeftovers(const std::string& folder);

// A new temporary path in folder, held (see hold) by this process. The file
// itself is not created.
std::string temporaryPath(const std::string& folder);

// Registers path for removal on SIGINT/SIGTERM (hold) or takes it off that
// list again (release). Both are cheap and may be called from any place of
// the batch; the list has room for a fixed number of paths (the oldest hold
// is kept when it is full).
void hold(const std::string& path);
void release(const std::string& path);

// Installs the SIGINT/SIGTERM handlers: remove the held temporary files,
// send the same signal to the registered worker processes, then end with
// that signal's default action. Idempotent.
void installSignalCleanup();
// Worker processes that receive a forwarded signal (see installSignalCleanup).
void addWorker(pid_t pid);
void removeWorker(pid_t pid);
// In a new worker process: forget the parent's held files and workers.
void forgetInherited();

// Writes text to path (created or truncated), checking every write and the
// close; false with why set on failure (the file may then be partial).
bool writeWholeFile(const std::string& path, const std::string& text, std::string& why);

// True when the file at path is a complete converter output: not empty and
// ending in a line feed (the compact JSON has no other line feed).
bool endsWithLineFeed(const std::string& path);

// Renames temporary over final; false with why set when that fails.
bool commit(const std::string& temporary, const std::string& final, std::string& why);

// Removes a temporary file and releases it.
void discard(const std::string& temporary);

}  // namespace atomic
}  // namespace HQ

#endif

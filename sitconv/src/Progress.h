// SPDX-License-Identifier: Apache-2.0
// The batch's progress line on the error stream: files done of total,
// megabytes of input per second and the time left, redrawn in place (at most
// a few times a second) and cleared before any message line.
#ifndef SITCONV_PROGRESS_H
#define SITCONV_PROGRESS_H

#include <chrono>
#include <cstdint>
#include <iosfwd>
#include <string>

namespace HQ {

class Progress {
public:
    // enabled false: every call does nothing.
    Progress(std::ostream& out, bool enabled, std::size_t totalFiles, std::uint64_t totalBytes);
    // Clears the line before another line is written to the same stream.
    void clear();
    // One more file done (its input size); redraws when due.
    void advance(std::uint64_t bytes);
    // Clears the line for good.
    void finish();

    // The text of the line for the given state (no carriage return).
    static std::string format(std::size_t done, std::size_t total, std::uint64_t doneBytes,
                              std::uint64_t totalBytes, double seconds);

private:
    void draw();

    std::ostream& m_out;
    bool m_enabled;
    bool m_shown = false;
    std::size_t m_total, m_done = 0;
    std::uint64_t m_totalBytes, m_doneBytes = 0;
    std::chrono::steady_clock::time_point m_start, m_lastDraw;
};

// True when the progress line is wanted: asked for, or not asked away and
// standard error is a terminal with more than a handful of files.
bool progressWanted(bool asked, bool quiet, std::size_t files);

}  // namespace HQ

#endif

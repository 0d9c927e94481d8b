// SPDX-License-Identifier: Apache-2.0
// The progress line.
#include "Progress.h"

#include <unistd.h>

#include <cstdio>
#include <ostream>

namespace HQ {

namespace {
// Batches up to this many files finish too soon to need a progress line.
const std::size_t kHandful = 5;
const auto kRedrawInterval = std::chrono::milliseconds(200);
const double kMegabyte = 1e6;
}  // namespace

bool progressWanted(bool asked, bool quiet, std::size_t files) {
    if (asked) return true;
    return !quiet && files > kHandful && ::isatty(STDERR_FILENO) == 1;
}

Progress::Progress(std::ostream& out, bool enabled, std::size_t totalFiles, std::uint64_t totalBytes)
    : m_out(out),
      m_enabled(enabled),
      m_total(totalFiles),
      m_totalBytes(totalBytes),
      m_start(std::chrono::steady_clock::now()),
      m_lastDraw(m_start) {
    if (m_enabled) draw();
}

std::string Progress::format(std::size_t done, std::size_t total, std::uint64_t doneBytes,
                             std::uint64_t totalBytes, double seconds) {
    char text[160];
    const double rate = seconds > 0.0 ? static_cast<double>(doneBytes) / kMegabyte / seconds : 0.0;
    int n = std::snprintf(text, sizeof(text), "sitconv: %zu/%zu files, %.1f MB/s", done, total, rate);
    if (done > 0 && doneBytes > 0 && done < total) {
        const double left =
            seconds * static_cast<double>(totalBytes - doneBytes) / static_cast<double>(doneBytes);
        const long whole = static_cast<long>(left + 0.5);
        std::snprintf(text + n, sizeof(text) - static_cast<size_t>(n), ", %ld:%02ld left", whole / 60,
                      whole % 60);
    }
    return text;
}

void Progress::draw() {
    const auto now = std::chrono::steady_clock::now();
    const double seconds = std::chrono::duration<double>(now - m_start).count();
    m_out << '\r' << format(m_done, m_total, m_doneBytes, m_totalBytes, seconds) << "\x1b[K";
    m_out.flush();
    m_lastDraw = now;
    m_shown = true;
}

void Progress::clear() {
    if (!m_enabled || !m_shown) return;
    m_out << "\r\x1b[K";
    m_out.flush();
    m_shown = false;
}

void Progress::advance(std::uint64_t bytes) {
    if (!m_enabled) return;
    ++m_done;
    m_doneBytes += bytes;
    if (!m_shown || m_done == m_total || std::chrono::steady_clock::now() - m_lastDraw >= kRedrawInterval)
        draw();
}

void Progress::finish() {
    clear();
    m_enabled = false;
}

}  // namespace HQ

// SPDX-License-Identifier: Apache-2.0
// One input file: read once, converted in one pass into a temporary file,
// GeoJSON from the text written.
#include "FileConversion.h"

#include "AtomicFile.h"
#include <sitconv/GeoJson.h>

#include <sitconv/Batch.h>
#include <sitconv/Dir.h>
#include <sitconv/SituationConverter.h>
#include <sitconv/TextFile.h>

#include "XmlText.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <sstream>

namespace HQ {

namespace {

std::string line(const std::string& file, const std::string& message) {
    return "sitconv: " + file + ": " + message + "\n";
}

// The kind of a file that is not a regular file, for its report.
const char* kindOf(mode_t mode) {
    if (S_ISFIFO(mode)) return "a named pipe";
    if (S_ISSOCK(mode)) return "a socket";
    if (S_ISCHR(mode)) return "a character device";
    if (S_ISBLK(mode)) return "a block device";
    if (S_ISDIR(mode)) return "a folder";
    return "not a regular file";
}

// The document's text as the converter has always read it: pieces of at
// most 4095 bytes up to a line feed, each cut at its first NUL byte (a text
// file read with fgets). Without NUL bytes that is the file itself.
void dropAfterNulPerPiece(std::string& text) {
    if (std::memchr(text.data(), '\0', text.size()) == nullptr) return;
    std::string kept;
    kept.reserve(text.size());
    const size_t piece = TextFile::kMaxLinePiece;
    for (size_t i = 0; i < text.size();) {
        const size_t limit = std::min(text.size(), i + piece);
        const void* lf = std::memchr(text.data() + i, '\n', limit - i);
        const size_t end =
            lf != nullptr ? static_cast<size_t>(static_cast<const char*>(lf) - text.data()) + 1 : limit;
        const void* nul = std::memchr(text.data() + i, '\0', end - i);
        kept.append(
            text, i,
            (nul != nullptr ? static_cast<size_t>(static_cast<const char*>(nul) - text.data()) : end) - i);
        i = end;
    }
    text.swap(kept);
}

// Reads the whole input once. Only a regular file is read: a pipe, socket or
// device is opened without waiting and refused (why says what it is).
bool readInput(const std::string& path, std::string& text, std::string& why) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        why = std::string("cannot open: ") + std::strerror(errno);
        return false;
    }
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        why = std::string(kindOf(st.st_mode)) + ", not a regular file; skipped";
        ::close(fd);
        return false;
    }
    text.clear();
    // Room for the parser's padding, so that the text is not copied again.
    text.reserve(static_cast<size_t>(st.st_size) + xml::kParsePadding);
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof(buffer));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            why = "read error";
            ::close(fd);
            return false;
        }
        if (n == 0) break;
        text.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    dropAfterNulPerPiece(text);
    return true;
}

// The conversion of one input; may throw std::bad_alloc.
FileResult convertReadable(const FileTask& task, const ConversionSettings& settings, MarkTypeSource& marks) {
    FileResult result;
    std::string text, why;
    if (!readInput(task.input, text, why)) {
        result.readable = false;
        result.messages = line(task.input, why);
        return result;
    }

    const bool wantJson = (settings.formats & kJsonOutput) != 0;
    const bool wantGeoJson = (settings.formats & kGeoJsonOutput) != 0;
    // The converter names the file it writes; that is the final output here.
    const std::string& named = wantJson ? task.jsonOutput : task.geoJsonOutput;

    std::ostringstream stageMessages;
    SituationConverter converter(marks, stageMessages);
    converter.setReportName(task.input);
    const std::string jsonTemporary = atomic::temporaryPath(settings.outputFolder);
    atomic::hold(jsonTemporary);
    std::string json;
    bool complete;
    try {
        complete = converter.convertDocument(std::move(text), jsonTemporary, wantGeoJson ? &json : nullptr) ==
                   SituationConverter::kWritten;
    } catch (...) {
        atomic::discard(jsonTemporary);
        throw;
    }

    std::string messages = stageMessages.str();
    dir::replaceAll(messages, jsonTemporary.c_str(), named.c_str());
    result.problems = converter.problemCount();

    if (complete && wantGeoJson) {
        rapidjson::Document doc;
        doc.Parse<rapidjson::kParseFullPrecisionFlag>(json.c_str());
        std::string().swap(json);
        if (doc.HasParseError()) {
            messages += line(task.input, "cannot read the JSON output back for " + task.geoJsonOutput);
            ++result.problems;
        } else {
            GeoJsonText geo;
            try {
                geo = toGeoJson(doc);
            } catch (...) {
                atomic::discard(jsonTemporary);
                throw;
            }
            const std::string geoTemporary = atomic::temporaryPath(settings.outputFolder);
            atomic::hold(geoTemporary);
            if (atomic::writeWholeFile(geoTemporary, geo.text, why)) {
                result.geoJsonTemporary = geoTemporary;
            } else {
                atomic::discard(geoTemporary);
                messages += line(task.input, "cannot write " + task.geoJsonOutput + ": " + why);
                ++result.problems;
            }
            if (geo.outOfRange && !settings.quiet) {
                messages += line(task.input,
                                 "warning: coordinates outside the longitude/latitude range, "
                                 "written as they are in " +
                                     task.geoJsonOutput);
            }
        }
    }
    if (complete && wantJson) {
        result.jsonTemporary = jsonTemporary;
    } else {
        atomic::discard(jsonTemporary);
    }
    result.messages = messages;
    return result;
}

}  // namespace

FileResult convertFile(const FileTask& task, const ConversionSettings& settings, MarkTypeSource& marks) {
    try {
        return convertReadable(task, settings, marks);
    } catch (const std::bad_alloc&) {
        // What this document allocated is released again; the batch goes on.
        FileResult result;
        result.readable = false;
        result.messages = line(task.input, "not enough memory to convert it; skipped");
        return result;
    }
}

}  // namespace HQ

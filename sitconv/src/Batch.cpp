// SPDX-License-Identifier: Apache-2.0
// The batch: list the source, convert every file, rename the outputs into
// the output folder in listing order.
#include <sitconv/Batch.h>
#include <sitconv/Dir.h>
#include <sitconv/LibraryFileMarkTypes.h>
#include <sitconv/MarkTypeSource.h>

#include "AtomicFile.h"
#include "FileConversion.h"
#include <sitconv/GeoJson.h>
#include "Progress.h"
#include "Workers.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <memory>
#include <ostream>

namespace HQ {

namespace {

// Permissions asked for a created output folder (the umask applies).
const mode_t kOutputFolderMode = 0777;

std::string problemLine(const std::string& file, const std::string& message) {
    return "sitconv: " + file + ": " + message + "\n";
}

// Makes sure the output folder exists, creating missing parents too; false
// (reported) when it cannot.
bool ensureFolder(const std::string& folder, std::string& why) {
    if (dir::isDirectory(folder)) return true;
    for (size_t slash = folder.find('/', 1); slash != std::string::npos;
         slash = folder.find('/', slash + 1)) {
        const std::string parent = folder.substr(0, slash);
        if (!dir::isDirectory(parent)) ::mkdir(parent.c_str(), kOutputFolderMode);
    }
    if (::mkdir(folder.c_str(), kOutputFolderMode) != 0 && !dir::isDirectory(folder)) {
        why = std::string("cannot create the output folder: ") + std::strerror(errno);
        return false;
    }
    return true;
}

std::string baseName(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::uint64_t fileSize(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 ? static_cast<std::uint64_t>(st.st_size) : 0;
}

// The parent's side of the batch: the same-name rule, the messages and the
// renaming of each file's outputs, strictly in listing order.
class Collector {
public:
    Collector(std::ostream& errors, int formats, Progress& progress)
        : m_errors(errors), m_formats(formats), m_progress(progress) {}

    void use(const FileTask& task, FileResult& r) {
        std::string text;
        if (!r.readable) {
            text = r.messages;
            ++m_failures;
        } else {
            text = sameNameCheck(task) + r.messages;
            m_problems += r.problems;
            text += place(task, r.jsonTemporary, task.jsonOutput);
            text += place(task, r.geoJsonTemporary, task.geoJsonOutput);
        }
        if (!text.empty()) {
            m_progress.clear();
            m_errors << text;
            m_errors.flush();
        }
        m_progress.advance(task.bytes);
    }

    int status() const { return (m_failures > 0 || m_problems > 0) ? 1 : 0; }

private:
    // Outputs are flat: same-named inputs of different subfolders share an
    // output, and the later one's replaces the earlier one's. Reported once
    // per earlier input, naming the first output they share.
    std::string sameNameCheck(const FileTask& task) {
        std::string text;
        std::string reportedFor;
        const std::string* outputs[2] = {(m_formats & kJsonOutput) ? &task.jsonOutput : nullptr,
                                         (m_formats & kGeoJsonOutput) ? &task.geoJsonOutput : nullptr};
        bool clash = false;
        for (const std::string* output : outputs) {
            if (output == nullptr) continue;
            auto earlier = m_writers.find(*output);
            if (earlier == m_writers.end()) {
                m_writers.emplace(*output, task.input);
                continue;
            }
            if (earlier->second != reportedFor) {
                text += problemLine(task.input, "has the same name as " + earlier->second +
                                                    "; its output replaces that one's in " + *output);
                reportedFor = earlier->second;
                clash = true;
            }
            earlier->second = task.input;
        }
        if (clash) ++m_failures;
        return text;
    }

    std::string place(const FileTask& task, const std::string& temporary, const std::string& output) {
        if (temporary.empty()) return "";
        std::string why;
        if (atomic::commit(temporary, output, why)) return "";
        ++m_failures;
        return problemLine(task.input, "cannot write " + output + ": " + why);
    }

    std::ostream& m_errors;
    int m_formats;
    Progress& m_progress;
    int m_failures = 0;
    int m_problems = 0;
    std::map<std::string, std::string> m_writers;  // output path -> input that wrote it
};

// The mark-type source of one converting process.
class MarksHolder {
public:
    MarksHolder(MarkTypeSource* given, const std::string& library) : m_given(given), m_library(library) {}
    // Opens what the process needs; false when the library cannot be opened.
    bool setUp() {
        if (m_given != nullptr || m_source) return true;
        if (m_library.empty()) {
            m_source.reset(new LibraryMarkTypes);
            return true;
        }
        std::unique_ptr<LibraryFileMarkTypes> file(new LibraryFileMarkTypes);
        const bool ok = file->open(m_library);
        m_source = std::move(file);
        return ok;
    }
    MarkTypeSource& get() { return m_given != nullptr ? *m_given : *m_source; }

private:
    MarkTypeSource* m_given;
    std::string m_library;
    std::unique_ptr<MarkTypeSource> m_source;
};

}  // namespace

int runBatch(const std::string& exeFolder, std::ostream& errors, MarkTypeSource* marks) {
    BatchOptions options;
    options.source = exeFolder + "/source";
    options.outputFolder = exeFolder + "/out";
    // Here "source" is always a folder: anything else is an empty batch.
    if (!dir::isDirectory(options.source)) return 0;
    return runBatch(options, errors, marks);
}

int runBatch(const BatchOptions& options, std::ostream& errors, MarkTypeSource* marks) {
    std::vector<std::string> files;
    if (dir::isDirectory(options.source)) {
        dir::listFiles(options.source, files, true);
    } else if (!options.source.empty() && ::access(options.source.c_str(), F_OK) == 0) {
        files.push_back(options.source);
    }
    if (files.empty()) return 0;

    std::string outputFolder = options.outputFolder;
    while (outputFolder.size() > 1 && outputFolder.back() == '/') outputFolder.pop_back();
    std::string why;
    if (!ensureFolder(outputFolder, why)) {
        errors << problemLine(outputFolder, why);
        errors.flush();
        return options.setupFailureStatus;
    }
    atomic::installSignalCleanup();
    atomic::removeLeftovers(outputFolder);

    std::vector<FileTask> tasks;
    std::uint64_t totalBytes = 0;
    for (const std::string& input : files) {
        FileTask t;
        t.input = input;
        t.jsonOutput = outputFolder + "/" + baseName(input);
        t.geoJsonOutput = outputFolder + "/" + geoJsonName(baseName(input));
        t.bytes = fileSize(input);
        totalBytes += t.bytes;
        tasks.push_back(t);
    }

    ConversionSettings settings;
    settings.outputFolder = outputFolder;
    settings.formats = options.formats;
    settings.quiet = options.quiet;

    const bool showProgress =
        options.progress == kProgressAlways ||
        (options.progress == kProgressOnTerminal && progressWanted(false, options.quiet, tasks.size()));
    Progress progress(errors, showProgress, tasks.size(), totalBytes);
    Collector collector(errors, options.formats, progress);
    MarksHolder holder(marks, options.library);

    if (options.jobs <= 1 || tasks.size() == 1) {
        if (!holder.setUp()) {
            errors << problemLine(options.library, "cannot open the symbol library");
            return options.setupFailureStatus;
        }
        for (const FileTask& t : tasks) {
            FileResult r = convertFile(t, settings, holder.get());
            collector.use(t, r);
        }
    } else {
        WorkerCalls calls;
        bool libraryOpen = true;
        calls.setUp = [&]() { libraryOpen = holder.setUp(); };
        calls.convert = [&](size_t i) {
            if (!libraryOpen) {
                FileResult r;
                r.readable = false;
                r.messages = problemLine(tasks[i].input,
                                         "not converted: cannot open the symbol library " + options.library);
                return r;
            }
            return convertFile(tasks[i], settings, holder.get());
        };
        calls.use = [&](size_t i, FileResult& r) { collector.use(tasks[i], r); };
        calls.lost = [&](size_t i) {
            FileResult r;
            r.readable = false;
            r.messages = problemLine(tasks[i].input, "not converted: its worker process ended unexpectedly");
            return r;
        };
        const int jobs = static_cast<int>(std::min<size_t>(static_cast<size_t>(options.jobs), tasks.size()));
        runInWorkers(tasks.size(), jobs, calls);
    }
    progress.finish();
    return collector.status();
}

}  // namespace HQ

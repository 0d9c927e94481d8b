// The batch: list "source", convert every file into "out".
#include <sitconv/Batch.h>
#include <sitconv/Dir.h>
#include <sitconv/SituationConverter.h>
#include <sitconv/TextFile.h>

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <memory>
#include <ostream>

namespace HQ {

namespace {

// Permissions asked for a created output folder (the umask applies).
const mode_t kOutputFolderMode = 0777;

void problem(std::ostream& errors, const std::string& file, const std::string& message) {
    errors << "sitconv: " << file << ": " << message << '\n';
    errors.flush();
}

// Makes sure the output folder exists; false (reported) when it cannot.
bool ensureFolder(const std::string& folder, std::ostream& errors) {
    if (dir::isDirectory(folder)) return true;
    if (::mkdir(folder.c_str(), kOutputFolderMode) != 0) {
        problem(errors, folder, std::string("cannot create the output folder: ") + std::strerror(errno));
        return false;
    }
    return true;
}

}  // namespace

int runBatch(const std::string& exeFolder, std::ostream& errors, MarkTypeSource* marks) {
    const std::string sourceFolder = exeFolder + "/source";
    const std::string outputFolder = exeFolder + "/out";

    std::vector<std::string> files;
    dir::listFiles(sourceFolder, files, true);
    if (files.empty()) return 0;
    if (!ensureFolder(outputFolder, errors)) return 1;

    std::unique_ptr<LibraryMarkTypes> library;
    if (marks == nullptr) {
        library.reset(new LibraryMarkTypes);
        marks = library.get();
    }
    SituationConverter converter(*marks, errors);
    int failures = 0;
    std::map<std::string, std::string> writers;  // output path -> input that wrote it

    for (const std::string& input : files) {
        const size_t slash = input.rfind('/');
        const std::string output = outputFolder + input.substr(slash == std::string::npos ? 0 : slash);

        TextFile file;
        std::string text;
        if (!TextFile::fileExists(input) || !file.openFile(input, TextFile::kRead)) {
            problem(errors, input, std::string("cannot open: ") + std::strerror(errno));
            ++failures;
            continue;
        }
        if (!file.readAll(text)) {
            problem(errors, input, "read error");
            ++failures;
            continue;
        }
        file.closeFile();

        // Outputs are flat: same-named inputs of different subfolders share
        // one output, and the later one's replaces the earlier one's.
        auto earlier = writers.find(output);
        if (earlier != writers.end()) {
            problem(
                errors, input,
                "has the same name as " + earlier->second + "; its output replaces that one's in " + output);
            ++failures;
            earlier->second = input;
        } else {
            writers.emplace(output, input);
        }

        converter.setReportName(input);
        converter.convertLayers(output, text);
        converter.convertActionGroups(input, output);
    }
    return (failures > 0 || converter.problemCount() > 0) ? 1 : 0;
}

}  // namespace HQ

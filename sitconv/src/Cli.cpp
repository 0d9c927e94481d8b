// SPDX-License-Identifier: Apache-2.0
// The sitconv command line (CLI11).
#include <sitconv/Batch.h>
#include <sitconv/Cli.h>
#include <sitconv/Dir.h>
#include <sitconv/LibraryFileMarkTypes.h>

#include <CLI/CLI.hpp>

#include <unistd.h>

#include <ostream>

#ifndef SITCONV_VERSION
#define SITCONV_VERSION "unknown"
#endif

namespace HQ {

namespace {

const int kUsageError = 2;
// Upper bound of --jobs: worker processes beyond this only add overhead.
const int kMaxJobs = 64;

int usageError(std::ostream& errors, const std::string& message) {
    errors << "sitconv: " << message << '\n';
    errors.flush();
    return kUsageError;
}

}  // namespace

const char* sitconvVersion() { return SITCONV_VERSION; }

int runCommandLine(int argc, char** argv, std::ostream& out, std::ostream& errors) {
    std::string exeFolder;
    dir::getExeDir(exeFolder);
    if (argc <= 1) return runBatch(exeFolder, errors);

    CLI::App app("Converts situation XML documents into JSON and GeoJSON.", "sitconv");
    app.footer(
        "Without arguments: converts the folder \"source\" beside the executable into \"out\" beside it.\n"
        "Exit status: 0 every file converted, 1 some files failed, 2 usage or set-up error.\n"
        "See sitconv(1).");
    std::string source, output, library, format = "json";
    int jobs = 1;
    bool progress = false, quiet = false;
    app.add_option("SOURCE", source, "folder (searched recursively) or file to convert");
    app.add_option("OUT", output, "output folder, created when missing (default: ./out)");
    app.add_option("--library", library, "keyed SQLite symbol library answering the mark types")
        ->type_name("FILE");
    app.add_option("--format", format, "outputs to write (default: json)")
        ->check(CLI::IsMember({"json", "geojson", "both"}))
        ->type_name("json|geojson|both");
    app.add_option("--jobs", jobs, "files converted at once (default: 1)")
        ->check(CLI::Range(1, kMaxJobs))
        ->type_name("N");
    CLI::Option* progressFlag = app.add_flag(
        "--progress", progress, "show the progress line even when standard error is no terminal");
    app.add_flag("--quiet", quiet, "report errors only: no progress line, no warnings")
        ->excludes(progressFlag);
    app.set_version_flag("--version", std::string("sitconv ") + sitconvVersion());

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        out << app.help();
        return 0;
    } catch (const CLI::CallForVersion&) {
        out << "sitconv " << sitconvVersion() << '\n';
        return 0;
    } catch (const CLI::ParseError& e) {
        return usageError(errors, std::string(e.what()) + " (see sitconv --help)");
    }

    BatchOptions options;
    options.setupFailureStatus = kUsageError;
    options.jobs = jobs;
    options.quiet = quiet;
    options.formats = format == "geojson" ? kGeoJsonOutput
                      : format == "both"  ? (kJsonOutput | kGeoJsonOutput)
                                          : kJsonOutput;
    if (source.empty()) {
        options.source = exeFolder + "/source";
        options.outputFolder = exeFolder + "/out";
        // The folders beside the executable: an absent "source" is an empty batch.
        if (!dir::isDirectory(options.source)) options.source.clear();
    } else {
        if (::access(source.c_str(), F_OK) != 0)
            return usageError(errors, source + ": no such file or folder");
        options.source = source;
        options.outputFolder = output.empty() ? "out" : output;
    }
    if (!library.empty()) {
        LibraryFileMarkTypes probe;
        if (!probe.open(library)) return usageError(errors, library + ": cannot open the symbol library");
        options.library = library;
    }
    if (options.source.empty()) return 0;
    options.progress = progress ? kProgressAlways : quiet ? kNoProgress : kProgressOnTerminal;
    return runBatch(options, errors);
}

}  // namespace HQ

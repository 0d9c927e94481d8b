// SPDX-License-Identifier: Apache-2.0
// The converter's batch: every file below a source folder (or one source
// file) is converted into a flat output folder.
#ifndef SITCONV_BATCH_H
#define SITCONV_BATCH_H

#include <iosfwd>
#include <string>

namespace HQ {

class MarkTypeSource;

// Output formats, as bits of BatchOptions::formats.
enum OutputFormat { kJsonOutput = 1, kGeoJsonOutput = 2 };

// When the progress line is drawn: never; when standard error is a terminal
// and the batch has more than a handful of files; always.
enum ProgressMode { kNoProgress = 0, kProgressOnTerminal = 1, kProgressAlways = 2 };

struct BatchOptions {
    std::string source;        // a folder (searched recursively) or one file
    std::string outputFolder;  // created, with its parents, when missing
    int formats = kJsonOutput;
    int jobs = 1;                // files converted at once (worker processes when above 1)
    std::string library;         // symbol library file to open first; empty: none
    bool quiet = false;          // report problems only: no warnings
    int progress = kNoProgress;  // the progress line on the error stream, see ProgressMode
    int setupFailureStatus = 1;  // exit status when the output folder cannot be made
};

// Runs the batch for exeFolder (the executable's folder; see dir::getExeDir):
// source exeFolder/source, output exeFolder/out, JSON only, one file at a
// time. The files are listed recursively (dir::listFiles order) and
// converted in that order; outputs go flat into "out", which is created when
// missing. Answers the exit status: 0 when every file was converted without
// problem (also when "source" is absent or empty), 1 otherwise. Problems are
// written to errors, one line each: a file that cannot be read (the batch
// goes on), an "out" that cannot be created (the batch stops), two inputs
// with the same file name (the later output replaces the earlier), an output
// that cannot be written, and the conversion problems of SituationConverter.
// marks defaults to the process-wide symbol library manager.
//
// Every output is written to a temporary file in the output folder and
// renamed over its final name once both stages are done, so an output is
// either as it was before or complete (see AtomicFile.h); an output whose
// conversion could not be written completely is left as it was.
int runBatch(const std::string& exeFolder, std::ostream& errors, MarkTypeSource* marks = nullptr);

// The same batch with explicit folders and options. The output file of an
// input is its file name in the output folder (JSON) and that name with the
// extension ".geojson" (GeoJSON). With jobs above 1 the files are converted
// by worker processes, each with its own library state; the outputs and the
// messages are those of one job, in listing order. marks, when given, is
// used by every process instead of the library (tests).
int runBatch(const BatchOptions& options, std::ostream& errors, MarkTypeSource* marks = nullptr);

}  // namespace HQ

#endif

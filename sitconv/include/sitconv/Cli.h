// SPDX-License-Identifier: Apache-2.0
// The sitconv command line. Without arguments the program converts the
// folder "source" beside the executable into "out" beside it, as it always
// has; with arguments:
//
//   sitconv [OPTIONS] [SOURCE [OUT]]
//
// SOURCE is a folder (searched recursively) or one file; OUT the output
// folder (created when missing; "out" in the current folder when SOURCE is
// given without it). Options: --library FILE, --format json|geojson|both,
// --jobs N, --progress, --quiet, --help, --version. Exit status: 0 every
// file converted, 1 some files failed (each reported), 2 usage or set-up
// error (one line on the error stream).
#ifndef SITCONV_CLI_H
#define SITCONV_CLI_H

#include <iosfwd>

namespace HQ {

// The program's version text.
const char* sitconvVersion();

// Runs the program for argv; help and version go to out, everything else
// to errors. Answers the exit status.
int runCommandLine(int argc, char** argv, std::ostream& out, std::ostream& errors);

}  // namespace HQ

#endif

// SPDX-License-Identifier: Apache-2.0
// sitconv: converts situation XML documents into JSON (and GeoJSON). Without
// arguments it converts every file below "source" (beside the executable)
// into a JSON file of the same name in "out", printing nothing when all goes
// well; see sitconv --help and sitconv(1) for the options. Problems go to
// standard error; exit status 0 all converted, 1 some files failed, 2 usage
// or set-up error.
#include <sitconv/Cli.h>

#include <iostream>

int main(int argc, char** argv) { return HQ::runCommandLine(argc, argv, std::cout, std::cerr); }

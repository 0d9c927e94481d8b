// SPDX-License-Identifier: Apache-2.0
// One input file of the batch, converted into temporary outputs that the
// batch then renames into place (or discards) in listing order.
#ifndef SITCONV_FILECONVERSION_H
#define SITCONV_FILECONVERSION_H

#include <cstdint>
#include <string>

namespace HQ {

class MarkTypeSource;

struct FileTask {
    std::string input;
    std::string jsonOutput;     // final path of the JSON output
    std::string geoJsonOutput;  // final path of the GeoJSON output
    std::uint64_t bytes = 0;    // input size when listed (progress)
};

struct ConversionSettings {
    std::string outputFolder;
    int formats = 1;  // OutputFormat bits
    bool quiet = false;
};

struct FileResult {
    bool readable = true;          // false: the input could not be read (messages says why)
    int problems = 0;              // problems reported in messages
    std::string messages;          // the lines for the error stream, in order
    std::string jsonTemporary;     // complete JSON output to rename into place, or empty
    std::string geoJsonTemporary;  // complete GeoJSON output to rename into place, or empty
};

// Reads task.input and converts it (both stages, then GeoJSON when asked).
// Messages name the final output paths, never the temporary ones. The
// temporary files of the result are held for removal on a signal.
FileResult convertFile(const FileTask& task, const ConversionSettings& settings, MarkTypeSource& marks);

}  // namespace HQ

#endif

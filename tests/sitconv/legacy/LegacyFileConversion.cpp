// SPDX-License-Identifier: Apache-2.0
// One input file: read, both stages into a temporary file, GeoJSON from it.
#include "FileConversion.h"

#include "AtomicFile.h"
#include <sitconv/GeoJson.h>

#include <sitconv/Batch.h>
#include <sitconv/Dir.h>
#include "LegacySituationConverter.h"
#include <sitconv/TextFile.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

namespace HQ {
namespace legacy {

namespace {

std::string line(const std::string& file, const std::string& message) {
    return "sitconv: " + file + ": " + message + "\n";
}

bool readWhole(const std::string& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream s;
    s << in.rdbuf();
    text = s.str();
    return !in.bad();
}

}  // namespace

FileResult convertFile(const FileTask& task, const ConversionSettings& settings, MarkTypeSource& marks) {
    FileResult result;
    TextFile file;
    std::string text;
    if (!TextFile::fileExists(task.input) || !file.openFile(task.input, TextFile::kRead)) {
        result.readable = false;
        result.messages = line(task.input, std::string("cannot open: ") + std::strerror(errno));
        return result;
    }
    if (!file.readAll(text)) {
        result.readable = false;
        result.messages = line(task.input, "read error");
        return result;
    }
    file.closeFile();

    const bool wantJson = (settings.formats & kJsonOutput) != 0;
    const bool wantGeoJson = (settings.formats & kGeoJsonOutput) != 0;
    // The stages name the file they write; that is the final output here.
    const std::string& named = wantJson ? task.jsonOutput : task.geoJsonOutput;

    std::ostringstream stageMessages;
    SituationConverter converter(marks, stageMessages);
    converter.setReportName(task.input);
    const std::string jsonTemporary = atomic::temporaryPath(settings.outputFolder);
    atomic::hold(jsonTemporary);
    const bool layersWritten = converter.convertLayers(jsonTemporary, text) == 0;
    converter.convertActionGroups(task.input, jsonTemporary);
    // Stage 2 rewrites the whole file; a write cut short (full disk) leaves it
    // without its final line feed.
    const bool complete = layersWritten && atomic::endsWithLineFeed(jsonTemporary);

    std::string messages = stageMessages.str();
    dir::replaceAll(messages, jsonTemporary.c_str(), named.c_str());
    result.problems = converter.problemCount();

    if (complete && wantGeoJson) {
        std::string json;
        rapidjson::Document doc;
        if (readWhole(jsonTemporary, json)) doc.Parse<rapidjson::kParseFullPrecisionFlag>(json.c_str());
        if (json.empty() || doc.HasParseError()) {
            messages += line(task.input, "cannot read the JSON output back for " + task.geoJsonOutput);
            ++result.problems;
        } else {
            const GeoJsonText geo = toGeoJson(doc);
            const std::string geoTemporary = atomic::temporaryPath(settings.outputFolder);
            atomic::hold(geoTemporary);
            std::string why;
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

}  // namespace legacy
}  // namespace HQ

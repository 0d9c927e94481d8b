// SPDX-License-Identifier: Apache-2.0
// SituationConverter: converts one situation XML document after another into
// JSON, in two stages per document.
//
//   convertLayers        stage 1: the layer tree and its placed symbols
//   convertActionGroups  stage 2: reads stage 1's file back and adds the
//                        animation action groups
//
// Text handling: XML attribute texts are UTF-8; where a text is converted to
// the local code page (UTF8ToANSI) a text without a code-page form becomes
// empty. Every text entering a JSON document is turned back into UTF-8 on its
// own (ANSIToUTF8), so each multibyte character stays whole whatever its
// bytes. The output is compact JSON (RapidJSON Writer, default formatting)
// followed by one line feed, UTF-8.
//
// Problems are written to the error stream given at construction, one line
// each, prefixed with "sitconv: " and the file concerned, and counted in
// problemCount(): an output that cannot be written, a non-finite number
// (written as null), a text that has no UTF-8 form (written empty), action
// groups that cannot be added. Nothing is thrown; the stages run on the
// caller's thread and use the process-wide locale and library manager.
#ifndef SITCONV_SITUATIONCONVERTER_H
#define SITCONV_SITUATIONCONVERTER_H

#include <sitconv/MarkTypeSource.h>
#include <sitconv/SituationSymbol.h>
#include <sitconv/SymbolAction.h>

#include <rapidjson/document.h>

#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

class TiXmlElement;

namespace HQ {

class JsonStream;

class SituationConverter {
public:
    // Uses the process-wide symbol library manager and standard error.
    SituationConverter();
    // Uses marks and errors, which must outlive the converter.
    SituationConverter(MarkTypeSource& marks, std::ostream& errors);
    ~SituationConverter();
    SituationConverter(const SituationConverter&) = delete;
    SituationConverter& operator=(const SituationConverter&) = delete;

    // Names the document in problem reports (the input path); when empty the
    // output path is used.
    void setReportName(const std::string& name) { m_reportName = name; }
    // Problems reported since construction.
    int problemCount() const { return m_problems; }

    // How convertDocument ended.
    enum Outcome {
        kWritten,     // the output is complete
        kNotWritten,  // the output could not be created or written (reported)
        kRefused,     // the document is over a parsing limit (reported); nothing written
    };

    // Both stages in one pass: parses text (the whole input document) once
    // and writes to outputPath ("w+") the JSON document that stage 1 and
    // stage 2 together write, byte for byte, with the same problem reports.
    // Numbers of the layer tree come out as the stage-1 file's reading back
    // gave them (see JsonStream). In addition, a document that is not
    // well-formed XML is reported with the parser's message and position
    // (and converted as far as it was read, as before), and a document
    // nested deeper or with more attributes on one element than the parsing
    // limits allow is reported and refused. jsonCopy, when given, receives
    // the text written.
    Outcome convertDocument(std::string text, const std::string& outputPath, std::string* jsonCopy = nullptr);

    // Stage 1: parses text (the whole input document) and writes the JSON
    // document of its layer tree to outputPath ("w+"). Answers 0 when the
    // file was written, -1 when it could not be (reported).
    int convertLayers(const std::string& outputPath, const std::string& text);

    // Stage 2: reads inputPath again, collects its action groups and adds
    // them to the JSON document at outputPath (see writeActionGroups). A
    // failure leaves the output as stage 1 wrote it and is reported.
    void convertActionGroups(const std::string& inputPath, const std::string& outputPath);

    // Reads one "Symbol" element. asChild false: into target. asChild true:
    // into a new record that is then appended to target.combinationChildren.
    // Nested combination children are passed the same target, so they all
    // end up flattened in it. Missing attributes read as empty texts.
    // Always answers 0.
    int readSymbol(const TiXmlElement* element, SituationSymbol& target, bool asChild);

    // Builds the JSON object of symbol (texts copied into doc) and appends it
    // to array, which must be a JSON array of doc.
    void writeSymbol(rapidjson::Document& doc, rapidjson::Value& array, const SituationSymbol& symbol);

    // Reads the action groups of a parsed document (root: its root element,
    // or null) into groups and answers their count: the "ActionGroup"
    // elements of the first "ACTIONGROUPS" child of a "SITSYMBOLFILE" root.
    int collectActionGroups(const TiXmlElement* root, std::vector<ActionGroup>& groups);

    // Reads one "ActionGroup" element, appending its actions to group. An
    // "Action" whose first child element is not "ActionAttr" is left out.
    // Always answers true.
    bool readActionGroup(const TiXmlElement* element, ActionGroup& group);

    // Reads the JSON document at outputPath, adds "ACTIONGROUPS" (the first
    // actionGroupCount() groups) after its other members and writes it back.
    // False, leaving the file as it is, when it cannot be read, is not a JSON
    // object with "SITSYMBOLFILE", or cannot be written.
    bool writeActionGroups(const std::string& outputPath, const std::vector<ActionGroup>& groups);

    // Appends the JSON object of one group to array; groupIndex is written
    // as every action's "GroupIndex".
    void writeActionGroup(int groupIndex, rapidjson::Document& doc, rapidjson::Value& array,
                          const ActionGroup& group);

    // Number of "ActionGroup" elements of the document last read by stage 2.
    int actionGroupCount() const { return m_actionGroupCount; }

private:
    void report(const std::string& file, const std::string& message);
    void writeLayerTree(JsonStream& out, const TiXmlElement* root);
    void reportNumbersAndTexts(const std::string& name, const std::vector<std::string>& keys,
                               int unconvertibleTexts);
    bool writeJson(const rapidjson::Value& root, const std::string& outputPath);
    const std::string& reportName(const std::string& fallback) const;

    std::unique_ptr<MarkTypeSource> m_ownMarks;
    MarkTypeSource& m_marks;
    std::ostream& m_errors;
    std::string m_reportName;
    int m_problems = 0;
    int m_unconvertibleTexts = 0;  // texts of the document being built that lost their content
    int m_actionGroupCount = 0;
};

}  // namespace HQ

#endif

// SPDX-License-Identifier: Apache-2.0
// SituationConverter: set-up, problem reports, the one-pass conversion of a
// document, and stage 1 (the layer tree).
#include <sitconv/SituationConverter.h>
#include <sitconv/TextFile.h>

#include "JsonOutput.h"
#include "JsonStream.h"
#include "SymbolJson.h"
#include "XmlLimits.h"
#include "XmlText.h"

#include <geomkit/UtilityFunctions.h>

#include <cstdio>
#include <iostream>
#include <utility>

#include <unistd.h>

namespace HQ {

using namespace xml;

SituationConverter::SituationConverter()
    : m_ownMarks(new LibraryMarkTypes), m_marks(*m_ownMarks), m_errors(std::cerr) {}

SituationConverter::SituationConverter(MarkTypeSource& marks, std::ostream& errors)
    : m_marks(marks), m_errors(errors) {}

SituationConverter::~SituationConverter() = default;

void SituationConverter::report(const std::string& file, const std::string& message) {
    m_errors << "sitconv: " << file << ": " << message << '\n';
    m_errors.flush();
    ++m_problems;
}

const std::string& SituationConverter::reportName(const std::string& fallback) const {
    return m_reportName.empty() ? fallback : m_reportName;
}

bool SituationConverter::writeJson(const rapidjson::Value& root, const std::string& outputPath) {
    const SerializedJson json = serializeJson(root);
    const std::string& name = reportName(outputPath);
    reportNumbersAndTexts(name, json.nonFiniteKeys, m_unconvertibleTexts);
    m_unconvertibleTexts = 0;
    TextFile out;
    if (!out.openFile(outputPath, TextFile::kWrite)) {
        report(name, "cannot create " + outputPath);
        return false;
    }
    const bool written = out.writeLine(json.text) > 0;
    const bool closed = out.closeFile();
    if (!written || !closed) {
        report(name, "cannot write " + outputPath);
        return false;
    }
    return true;
}

namespace {

// The walk of the layer tree: one function for the list of groups, one for
// a group, one for a layer. Texts are written through the target's code-page
// conversion; each placed symbol is read by the converter and written at
// once, so that one symbol record exists at a time.
class LayerTreeWalk {
public:
    LayerTreeWalk(SituationConverter& converter, MarkTypeSource& marks, JsonStream& out)
        : m_converter(converter), m_marks(marks), o(out) {}

    // The "LayerGroups" array: the groups of "LAYGROUPS", which must be the
    // first child element of a "SITSYMBOLFILE" root; empty otherwise.
    void groups(const TiXmlElement* root) {
        o.startArray();
        const TiXmlElement* layGroups = root != nullptr ? root->FirstChildElement() : nullptr;
        if (named(root, "SITSYMBOLFILE") && named(layGroups, "LAYGROUPS")) {
            for (const TiXmlElement* g = layGroups->FirstChildElement(); g; g = g->NextSiblingElement()) {
                if (!named(g, "LayerGroup")) continue;
                if (!group(g)) break;
            }
        }
        o.endArray();
    }

private:
    // Writes the object of group g. False, writing nothing, when a group
    // nested first in g ends the list of groups (its texts are converted all
    // the same, and count as lost when they have no UTF-8 form).
    bool group(const TiXmlElement* g) {
        const TiXmlElement* first = g->FirstChildElement();
        if (named(first, "LayerGroup")) {
            o.convertOnly(ansiAttr(g, "Describe"));
            o.convertOnly(ansiAttr(g, "Name"));
            return false;
        }
        o.startObject();
        o.key("Describe"), o.text(ansiAttr(g, "Describe"));
        o.key("Visible"), o.boolean(isTrue(attr(g, "Visible")));
        o.key("LayerGroup Name"), o.text(ansiAttr(g, "Name"));
        o.key("Layers"), o.startArray();
        if (named(first, "LAYERS")) {
            for (const TiXmlElement* l = first->FirstChildElement(); l; l = l->NextSiblingElement()) {
                if (!named(l, "Layer")) continue;
                if (!layer(l)) break;
            }
        }
        o.endArray();
        o.endObject();
        return true;
    }

    // Writes the object of layer l. False, writing nothing, when a layer
    // nested first in l ends its group's layers.
    bool layer(const TiXmlElement* l) {
        const TiXmlElement* first = l->FirstChildElement();
        if (named(first, "Layer")) {
            o.convertOnly(ansiAttr(l, "Name"));
            o.convertOnly(ansiAttr(l, "Describe"));
            return false;
        }
        o.startObject();
        o.key("Name"), o.text(ansiAttr(l, "Name"));
        o.key("Describe"), o.text(ansiAttr(l, "Describe"));
        o.key("Visible"), o.boolean(isTrue(attr(l, "Visible")));
        if (has(l, "IsLayerActive")) o.key("IsLayerActive"), o.boolean(isTrue(attr(l, "IsLayerActive")));
        o.key("Symbols"), o.startArray();
        if (named(first, "SYMBOLS")) {
            for (const TiXmlElement* s = first->FirstChildElement(); s; s = s->NextSiblingElement()) {
                if (!named(s, "Symbol")) continue;
                SituationSymbol record;
                m_converter.readSymbol(s, record, false);
                writeSymbolJson(o, record, m_marks);
            }
        }
        o.endArray();
        o.endObject();
        return true;
    }

    SituationConverter& m_converter;
    MarkTypeSource& m_marks;
    JsonStream& o;
};

}  // namespace

void SituationConverter::writeLayerTree(JsonStream& out, const TiXmlElement* root) {
    LayerTreeWalk walk(*this, m_marks, out);
    out.key("SITSYMBOLFILE");
    out.startObject();
    out.key("LayerGroups");
    walk.groups(root);
    out.endObject();
}

void SituationConverter::reportNumbersAndTexts(const std::string& name, const std::vector<std::string>& keys,
                                               int unconvertibleTexts) {
    for (const std::string& key : keys) report(name, "non-finite number in \"" + key + "\" written as null");
    if (unconvertibleTexts > 0) {
        report(name, std::to_string(unconvertibleTexts) + " text(s) without a UTF-8 form written empty");
    }
}

int SituationConverter::convertLayers(const std::string& outputPath, const std::string& text) {
    m_marks.beginDocument();
    m_unconvertibleTexts = 0;

    TiXmlDocument xmlDoc;
    parseDocument(xmlDoc, text);

    const std::string& name = reportName(outputPath);
    std::FILE* file = std::fopen(outputPath.c_str(), "w+");
    JsonStream out(file, nullptr, false);
    out.startObject();
    writeLayerTree(out, xmlDoc.RootElement());
    out.endObject();
    const bool written = out.finish();
    reportNumbersAndTexts(name, out.firstNonFinite(), out.unconvertibleTexts());
    if (file == nullptr) {
        report(name, "cannot create " + outputPath);
        return -1;
    }
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
        report(name, "cannot write " + outputPath);
        return -1;
    }
    return 0;
}

SituationConverter::Outcome SituationConverter::convertDocument(std::string text,
                                                                const std::string& outputPath,
                                                                std::string* jsonCopy) {
    const std::string& name = reportName(outputPath);
    m_marks.beginDocument();
    m_unconvertibleTexts = 0;

    // TinyXML recurses once per nesting level and checks every attribute of
    // an element against the others: both are bounded before it runs.
    std::string why;
    if (!withinXmlLimits(text, why)) {
        report(name, why + "; not converted");
        return kRefused;
    }
    TiXmlDocument xmlDoc;
    text.append(kParsePadding, '\0');
    xmlDoc.Parse(text.c_str(), nullptr, TIXML_ENCODING_UNKNOWN);
    std::string().swap(text);  // the tree holds copies of every text
    if (xmlDoc.Error()) {
        // The reader gives no position for an empty document.
        std::string where;
        if (xmlDoc.ErrorRow() > 0) {
            where = " at line " + std::to_string(xmlDoc.ErrorRow()) + ", column " +
                    std::to_string(xmlDoc.ErrorCol());
        }
        report(name, std::string("not well-formed XML: ") + xmlDoc.ErrorDesc() + where);
    }

    const TiXmlElement* root = xmlDoc.RootElement();
    std::FILE* file = std::fopen(outputPath.c_str(), "w+");
    if (file == nullptr) {
        // Reported as the layer tree's output would have been.
        JsonStream nowhere(nullptr, nullptr, false);
        nowhere.startObject();
        writeLayerTree(nowhere, root);
        nowhere.endObject();
        reportNumbersAndTexts(name, nowhere.firstNonFinite(), nowhere.unconvertibleTexts());
        report(name, "cannot create " + outputPath);
        report(name, "action groups not added to " + outputPath);
        return kNotWritten;
    }
    std::string copy;
    bool written, readBackFailed;
    {
        JsonStream out(file, jsonCopy != nullptr ? &copy : nullptr, true);
        out.startObject();
        writeLayerTree(out, root);
        std::vector<ActionGroup> groups;
        m_actionGroupCount = collectActionGroups(root, groups);
        out.key("ACTIONGROUPS");
        out.startObject();
        out.key("ActionGroupCount"), out.integer(m_actionGroupCount);
        out.key("ActionGroups"), out.startArray();
        for (size_t i = 0; i < groups.size(); ++i) writeActionGroupJson(out, static_cast<int>(i), groups[i]);
        out.endArray();
        out.endObject();
        out.endObject();
        written = out.finish();
        readBackFailed = out.readBackFailed();
        if (!readBackFailed) {
            reportNumbersAndTexts(name, out.firstNonFinite(), out.unconvertibleTexts());
            reportNumbersAndTexts(name, out.laterNonFinite(), 0);
        }
    }
    if (readBackFailed) {
        // A number text that the reading back could not read made the whole
        // reading fail: the output stayed as first written, without action
        // groups. The Writer's number texts are always read, so this is a
        // safeguard; the library is asked about the symbols once more here.
        std::rewind(file);
        written = ::ftruncate(::fileno(file), 0) == 0;
        copy.clear();
        JsonStream out(file, jsonCopy != nullptr ? &copy : nullptr, false);
        out.startObject();
        writeLayerTree(out, root);
        out.endObject();
        written = out.finish() && written;
        reportNumbersAndTexts(name, out.firstNonFinite(), out.unconvertibleTexts());
        report(name, "action groups not added to " + outputPath);
    }
    if (!written) {
        std::fclose(file);
        report(name, "cannot write " + outputPath);
        return kNotWritten;
    }
    if (jsonCopy != nullptr) *jsonCopy = std::move(copy);
    const bool closed = std::fclose(file) == 0;
    if (!closed) {
        report(name, "cannot write " + outputPath);
        return kNotWritten;
    }
    return kWritten;
}

}  // namespace HQ

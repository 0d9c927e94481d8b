// SPDX-License-Identifier: Apache-2.0
// SituationConverter: set-up, problem reports, JSON texts and output, and
// stage 1 (the layer tree).
#include "LegacySituationConverter.h"
#include <sitconv/TextFile.h>

#include "LegacyJsonOutput.h"
#include "LegacyXmlText.h"

#include <geomkit/UtilityFunctions.h>

#include <functional>
#include <iostream>
#include <utility>

namespace HQ {
namespace legacy {

using namespace xml;
using rapidjson::Value;

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

// Every text enters the document as UTF-8, converted on its own. Building the
// whole document in the code page and converting the serialised text instead
// breaks characters whose second byte is 0x5C: the writer would escape that
// byte as a backslash.
Value SituationConverter::jsonText(const std::string& ansi, rapidjson::Document& doc) {
    const std::string utf8 = CHQGS_UtilityFunctions::ANSIToUTF8(ansi);
    if (!ansi.empty() && utf8.empty()) ++m_unconvertibleTexts;
    return Value(utf8.c_str(), static_cast<rapidjson::SizeType>(utf8.size()), doc.GetAllocator());
}

bool SituationConverter::writeJson(const Value& root, const std::string& outputPath) {
    const SerializedJson json = serializeJson(root);
    const std::string& name = reportName(outputPath);
    for (const std::string& key : json.nonFiniteKeys) {
        report(name, "non-finite number in \"" + key + "\" written as null");
    }
    if (m_unconvertibleTexts > 0) {
        report(name, std::to_string(m_unconvertibleTexts) + " text(s) without a UTF-8 form written empty");
        m_unconvertibleTexts = 0;
    }
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

// Stage 1's walk of the layer tree: one function for the list of groups,
// one for a group, one for a layer. Texts become JSON strings of the
// document through text (the converter's code-page conversion); each placed
// symbol is read and written by the converter.
class LayerTreeWalk {
public:
    using Text = std::function<Value(const std::string&)>;

    LayerTreeWalk(SituationConverter& converter, rapidjson::Document& doc, Text text)
        : m_converter(converter), m_doc(doc), a(doc.GetAllocator()), m_text(std::move(text)) {}

    // The "LayerGroups" array: the groups of "LAYGROUPS", which must be the
    // first child element of a "SITSYMBOLFILE" root; empty otherwise.
    Value groups(const TiXmlElement* root) {
        Value list(rapidjson::kArrayType);
        const TiXmlElement* layGroups = root != nullptr ? root->FirstChildElement() : nullptr;
        if (!named(root, "SITSYMBOLFILE") || !named(layGroups, "LAYGROUPS")) return list;
        for (const TiXmlElement* g = layGroups->FirstChildElement(); g; g = g->NextSiblingElement()) {
            if (!named(g, "LayerGroup")) continue;
            if (!addGroup(g, list)) break;
        }
        return list;
    }

private:
    // Appends the object of group g to list. False, appending nothing, when
    // a group nested first in g ends the list of groups.
    bool addGroup(const TiXmlElement* g, Value& list) {
        Value group(rapidjson::kObjectType);
        group.AddMember("Describe", attrText(g, "Describe"), a);
        group.AddMember("Visible", Value(isTrue(attr(g, "Visible"))), a);
        group.AddMember("LayerGroup Name", attrText(g, "Name"), a);
        Value layers(rapidjson::kArrayType);

        const TiXmlElement* first = g->FirstChildElement();
        if (named(first, "LAYERS")) {
            for (const TiXmlElement* l = first->FirstChildElement(); l; l = l->NextSiblingElement()) {
                if (!named(l, "Layer")) continue;
                if (!addLayer(l, layers)) break;
            }
        } else if (named(first, "LayerGroup")) {
            return false;
        }
        group.AddMember("Layers", layers, a);
        list.PushBack(group, a);
        return true;
    }

    // Appends the object of layer l to list. False, appending nothing, when
    // a layer nested first in l ends its group's layers.
    bool addLayer(const TiXmlElement* l, Value& list) {
        Value layer(rapidjson::kObjectType);
        layer.AddMember("Name", attrText(l, "Name"), a);
        layer.AddMember("Describe", attrText(l, "Describe"), a);
        layer.AddMember("Visible", Value(isTrue(attr(l, "Visible"))), a);
        if (has(l, "IsLayerActive")) {
            layer.AddMember("IsLayerActive", Value(isTrue(attr(l, "IsLayerActive"))), a);
        }
        Value symbols(rapidjson::kArrayType);

        const TiXmlElement* first = l->FirstChildElement();
        if (named(first, "SYMBOLS")) {
            for (const TiXmlElement* s = first->FirstChildElement(); s; s = s->NextSiblingElement()) {
                if (!named(s, "Symbol")) continue;
                SituationSymbol record;
                m_converter.readSymbol(s, record, false);
                m_converter.writeSymbol(m_doc, symbols, record);
            }
        } else if (named(first, "Layer")) {
            return false;
        }
        layer.AddMember("Symbols", symbols, a);
        list.PushBack(layer, a);
        return true;
    }

    // A group's or layer's attribute as a JSON text: UTF-8 in the XML,
    // through the local code page, back to UTF-8.
    Value attrText(const TiXmlElement* e, const char* name) const { return m_text(ansiAttr(e, name)); }

    SituationConverter& m_converter;
    rapidjson::Document& m_doc;
    rapidjson::Document::AllocatorType& a;
    Text m_text;
};

}  // namespace

int SituationConverter::convertLayers(const std::string& outputPath, const std::string& text) {
    m_marks.beginDocument();
    m_unconvertibleTexts = 0;

    TiXmlDocument xmlDoc;
    parseDocument(xmlDoc, text);

    rapidjson::Document doc;
    doc.SetObject();
    LayerTreeWalk walk(*this, doc, [this, &doc](const std::string& ansi) { return jsonText(ansi, doc); });
    Value groups = walk.groups(xmlDoc.RootElement());

    rapidjson::Document::AllocatorType& a = doc.GetAllocator();
    Value file(rapidjson::kObjectType);
    file.AddMember("LayerGroups", groups, a);
    doc.AddMember("SITSYMBOLFILE", file, a);
    return writeJson(doc, outputPath) ? 0 : -1;
}

}  // namespace legacy
}  // namespace HQ

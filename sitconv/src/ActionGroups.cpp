// SPDX-License-Identifier: Apache-2.0
// Stage 2: the animation action groups, added to the JSON file of stage 1.
#include <sitconv/SituationConverter.h>
#include <sitconv/TextFile.h>

#include "JsonStream.h"
#include "SymbolJson.h"
#include "XmlText.h"

#include <algorithm>

namespace HQ {

using namespace xml;
using rapidjson::Value;

namespace {

// Action types with fields of their own.
const int kBlinkAction = 1;
const int kRotateAction = 2;
const int kRouteAction = 8;
const int kMoveAction = 9;

// Attribute values read from their code-page text (a text without a
// code-page form becomes empty, hence 0).
int ansiInt(const TiXmlElement* e, const char* name) { return toInt(ansiAttr(e, name).c_str()); }
double ansiDouble(const TiXmlElement* e, const char* name) { return toDouble(ansiAttr(e, name).c_str()); }

void readTypeFields(const TiXmlElement* actionAttr, SymbolAction& action) {
    for (const TiXmlElement* c = actionAttr->FirstChildElement(); c; c = c->NextSiblingElement()) {
        switch (action.actionType) {
            case kBlinkAction:
                if (named(c, "ActionBlinkInterval")) action.blinkInterval = ansiInt(c, "BlinkInterval");
                break;
            case kRotateAction:
                if (named(c, "ActionRotateType")) action.rotateType = ansiInt(c, "RotateType");
                break;
            case kRouteAction:
                if (named(c, "ActionRouteBindGuid")) {
                    action.routeBindGuid = ansiInt(c, "RouteBindGuid");
                } else if (named(c, "ActionVisibleRoute")) {
                    action.isVisibleRoute = isTrue(ansiAttr(c, "IsVisibleRoute"));
                } else if (named(c, "ActionRotateRoute")) {
                    action.hasRotateCorrect = true;
                    action.rotateCorrect = ansiInt(c, "RotateCorrect");
                }
                break;
            case kMoveAction:
                if (named(c, "ActionMoveInfo")) {
                    action.moveType = ansiInt(c, "MoveType");
                    action.latitude = ansiDouble(c, "Latitude");
                    action.longitude = ansiDouble(c, "Longitude");
                    action.heading = ansiDouble(c, "Heading");
                    action.tilt = ansiDouble(c, "Tilt");
                    action.altitude = ansiDouble(c, "Altitude");
                }
                break;
            default:
                return;  // no fields of its own
        }
    }
}

// key:{ inner: v }, the form of the integer members of the action types.
template <class Out>
void intMember(Out& o, const char* key, const char* inner, int v) {
    o.key(key);
    o.startObject();
    o.key(inner), o.integer(v);
    o.endObject();
}

}  // namespace

bool SituationConverter::readActionGroup(const TiXmlElement* element, ActionGroup& group) {
    // "GroupIndex" is not carried over: the output numbers groups by position.
    for (const TiXmlNode* node = element->FirstChild(); node; node = node->NextSibling()) {
        const TiXmlElement* e = node->ToElement();
        if (!named(e, "Action")) continue;
        SymbolAction action;
        action.actionGuid = toInt(attr(e, "ActionGuid"));
        action.symbolGuid = toInt(attr(e, "SymbolGuid"));
        const TiXmlElement* actionAttr = e->FirstChildElement();
        if (!named(actionAttr, "ActionAttr")) continue;
        action.actionType = toInt(attr(actionAttr, "Type"));
        action.startTime = toInt(attr(actionAttr, "StartTime"));
        action.durationTime = toInt(attr(actionAttr, "DurationTime"));
        action.isPlayEndReset = isTrue(ansiAttr(actionAttr, "IsPlayEndReset"));
        readTypeFields(actionAttr, action);
        group.push_back(action);
    }
    return true;
}

int SituationConverter::collectActionGroups(const TiXmlElement* root, std::vector<ActionGroup>& groups) {
    int count = 0;
    if (named(root, "SITSYMBOLFILE")) {
        // A document without "ACTIONGROUPS" has no groups, like an empty one.
        const TiXmlElement* all = root->FirstChildElement("ACTIONGROUPS");
        for (const TiXmlElement* g = all ? all->FirstChildElement() : nullptr; g;
             g = g->NextSiblingElement()) {
            if (!named(g, "ActionGroup")) continue;
            ActionGroup group;
            readActionGroup(g, group);
            ++count;
            groups.push_back(std::move(group));
        }
    }
    return count;
}

void SituationConverter::convertActionGroups(const std::string& inputPath, const std::string& outputPath) {
    const std::string& name = reportName(inputPath);
    TextFile in;
    std::string text;
    if (!TextFile::fileExists(inputPath) || !in.openFile(inputPath, TextFile::kRead) || !in.readAll(text)) {
        report(name, "cannot read it again for its action groups; " + outputPath + " has none");
        return;
    }
    in.closeFile();

    TiXmlDocument xmlDoc;
    parseDocument(xmlDoc, text);

    std::vector<ActionGroup> groups;
    m_actionGroupCount = collectActionGroups(xmlDoc.RootElement(), groups);
    if (!writeActionGroups(outputPath, groups)) {
        report(name, "action groups not added to " + outputPath);
    }
}

bool SituationConverter::writeActionGroups(const std::string& outputPath,
                                           const std::vector<ActionGroup>& groups) {
    TextFile in;
    if (!TextFile::fileExists(outputPath) || !in.openFile(outputPath, TextFile::kRead)) return false;
    std::string text, piece;
    while (!in.atEnd()) {
        if (in.readLine(piece) == 0) {
            if (in.failed()) return false;
            continue;
        }
        text.append(piece, 0, piece.find('\n'));
    }
    in.closeFile();

    // The file is UTF-8 and is parsed as such, so that multibyte characters
    // pass through whole (see jsonText).
    rapidjson::Document doc;
    doc.Parse(text.c_str());
    if (doc.HasParseError() || !doc.IsObject() || !doc.HasMember("SITSYMBOLFILE")) return false;

    rapidjson::Document::AllocatorType& a = doc.GetAllocator();
    Value list(rapidjson::kArrayType);
    const int count = std::min(m_actionGroupCount, static_cast<int>(groups.size()));
    for (int i = 0; i < count; ++i) writeActionGroup(i, doc, list, groups[i]);
    Value all(rapidjson::kObjectType);
    all.AddMember("ActionGroupCount", Value(m_actionGroupCount), a);
    all.AddMember("ActionGroups", list, a);
    doc.AddMember("ACTIONGROUPS", all, a);
    return writeJson(doc, outputPath);
}

template <class Out>
void writeActionGroupJson(Out& o, int groupIndex, const ActionGroup& group) {
    o.startObject();
    o.key("Actions");
    o.startArray();
    for (const SymbolAction& act : group) {
        o.startObject();
        o.key("Action");
        o.startObject();
        o.key("GroupIndex"), o.integer(groupIndex);
        o.key("ActionGuid"), o.integer(act.actionGuid);
        o.key("SymbolGuid"), o.integer(act.symbolGuid);
        o.endObject();

        o.key("ActionAttr");
        o.startObject();
        o.key("Type"), o.integer(act.actionType);
        o.key("StartTime"), o.integer(act.startTime);
        o.key("DurationTime"), o.integer(act.durationTime);
        o.key("IsPlayEndReset"), o.boolean(act.isPlayEndReset);
        switch (act.actionType) {
            case kBlinkAction:
                intMember(o, "ActionBlinkInterval", "BlinkInterval", act.blinkInterval);
                break;
            case kRotateAction:
                intMember(o, "ActionRotateType", "RotateType", act.rotateType);
                break;
            case kRouteAction:
                intMember(o, "ActionRouteBindGuid", "RouteBindGuid", act.routeBindGuid);
                o.key("ActionVisibleRoute");
                o.startObject();
                o.key("IsVisibleRoute"), o.boolean(act.isVisibleRoute);
                o.endObject();
                intMember(o, "ActionRotateRoute", "RotateCorrect",
                          act.hasRotateCorrect ? act.rotateCorrect : 0);
                break;
            case kMoveAction:
                o.key("ActionMoveInfo");
                o.startObject();
                o.key("MoveType"), o.integer(act.moveType);
                o.key("Latitude"), o.directNumber(act.latitude);
                o.key("Longitude"), o.directNumber(act.longitude);
                o.key("Heading"), o.directNumber(act.heading);
                o.key("Tilt"), o.directNumber(act.tilt);
                o.key("Altitude"), o.directNumber(act.altitude);
                o.endObject();
                break;
            default:
                break;
        }
        o.endObject();
        o.endObject();
    }
    o.endArray();
    o.endObject();
}

template void writeActionGroupJson<JsonStream>(JsonStream&, int, const ActionGroup&);
template void writeActionGroupJson<JsonTree>(JsonTree&, int, const ActionGroup&);

void SituationConverter::writeActionGroup(int groupIndex, rapidjson::Document& doc, rapidjson::Value& array,
                                          const ActionGroup& group) {
    JsonTree tree(doc.GetAllocator());
    writeActionGroupJson(tree, groupIndex, group);
    array.PushBack(tree.result(), doc.GetAllocator());
}

}  // namespace HQ

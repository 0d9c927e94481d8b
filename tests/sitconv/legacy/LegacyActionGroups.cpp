// SPDX-License-Identifier: Apache-2.0
// Stage 2: the animation action groups, added to the JSON file of stage 1.
#include "LegacySituationConverter.h"
#include <sitconv/TextFile.h>

#include "LegacyXmlText.h"

#include <algorithm>

namespace HQ {
namespace legacy {

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

Value intMember(const char* key, int v, rapidjson::Document::AllocatorType& a) {
    Value o(rapidjson::kObjectType);
    o.AddMember(rapidjson::StringRef(key), Value(v), a);
    return o;
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

    m_actionGroupCount = 0;
    std::vector<ActionGroup> groups;
    const TiXmlElement* root = xmlDoc.RootElement();
    if (named(root, "SITSYMBOLFILE")) {
        // A document without "ACTIONGROUPS" has no groups, like an empty one.
        const TiXmlElement* all = root->FirstChildElement("ACTIONGROUPS");
        for (const TiXmlElement* g = all ? all->FirstChildElement() : nullptr; g;
             g = g->NextSiblingElement()) {
            if (!named(g, "ActionGroup")) continue;
            ActionGroup group;
            readActionGroup(g, group);
            ++m_actionGroupCount;
            groups.push_back(std::move(group));
        }
    }
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

void SituationConverter::writeActionGroup(int groupIndex, rapidjson::Document& doc, rapidjson::Value& array,
                                          const ActionGroup& group) {
    rapidjson::Document::AllocatorType& a = doc.GetAllocator();
    Value actions(rapidjson::kArrayType);
    for (const SymbolAction& act : group) {
        Value head(rapidjson::kObjectType);
        head.AddMember("GroupIndex", Value(groupIndex), a);
        head.AddMember("ActionGuid", Value(act.actionGuid), a);
        head.AddMember("SymbolGuid", Value(act.symbolGuid), a);

        Value body(rapidjson::kObjectType);
        body.AddMember("Type", Value(act.actionType), a);
        body.AddMember("StartTime", Value(act.startTime), a);
        body.AddMember("DurationTime", Value(act.durationTime), a);
        body.AddMember("IsPlayEndReset", Value(act.isPlayEndReset), a);
        switch (act.actionType) {
            case kBlinkAction:
                body.AddMember("ActionBlinkInterval", intMember("BlinkInterval", act.blinkInterval, a), a);
                break;
            case kRotateAction:
                body.AddMember("ActionRotateType", intMember("RotateType", act.rotateType, a), a);
                break;
            case kRouteAction: {
                body.AddMember("ActionRouteBindGuid", intMember("RouteBindGuid", act.routeBindGuid, a), a);
                Value visible(rapidjson::kObjectType);
                visible.AddMember("IsVisibleRoute", Value(act.isVisibleRoute), a);
                body.AddMember("ActionVisibleRoute", visible, a);
                body.AddMember("ActionRotateRoute",
                               intMember("RotateCorrect", act.hasRotateCorrect ? act.rotateCorrect : 0, a),
                               a);
                break;
            }
            case kMoveAction: {
                Value move(rapidjson::kObjectType);
                move.AddMember("MoveType", Value(act.moveType), a);
                move.AddMember("Latitude", Value(act.latitude), a);
                move.AddMember("Longitude", Value(act.longitude), a);
                move.AddMember("Heading", Value(act.heading), a);
                move.AddMember("Tilt", Value(act.tilt), a);
                move.AddMember("Altitude", Value(act.altitude), a);
                body.AddMember("ActionMoveInfo", move, a);
                break;
            }
            default:
                break;
        }

        Value entry(rapidjson::kObjectType);
        entry.AddMember("Action", head, a);
        entry.AddMember("ActionAttr", body, a);
        actions.PushBack(entry, a);
    }
    Value g(rapidjson::kObjectType);
    g.AddMember("Actions", actions, a);
    array.PushBack(g, a);
}

}  // namespace legacy
}  // namespace HQ

// SPDX-License-Identifier: Apache-2.0
// SituationSymbol: the in-memory record of one symbol placed on a layer of a
// situation document, as read from its "Symbol" element.
//
// Texts hold the local code page ("ANSI", GBK expected) unless a field says
// otherwise. A new record is all zero, false and empty. Records are plain
// values: copying one copies every text and list, the child records included.
#ifndef SITCONV_SITUATIONSYMBOL_H
#define SITCONV_SITUATIONSYMBOL_H

#include <geomkit/Point3D.h>

#include <string>
#include <vector>

namespace HQ {

struct SituationSymbol {
    // Identity and placement of the library symbol.
    int guid = 0;
    int libId = 0;  // "Code" before the first comma
    int code = 0;   // "Code" after the first comma
    bool canSelected = false;
    int operType = 0;  // 0 NONE, 1 SELECT, 2 SELECT_NOPOINT, 3 EDIT
    std::string name;
    bool isSetGenAttr = false;
    bool visible = false;
    int displayType = 0;  // 0-13, see the display-type names

    // Geometry ("GeoAttr").
    std::vector<CHQ_Point3D> points;
    int heightType = 0;
    double scale = 0.0;
    double floatHeight3D = 0.0;
    double thickness3D = 0.0;
    int wallTransparent = 0;
    double rotate = 0.0;
    bool isVisibleDragLine = false;

    // Style ("StyleAttr"). Colours are integers held in doubles.
    int styleDisplayType = 0;
    int lineType = 0;
    int dashLineLength = 0;    // read only when lineType is 2
    int dashLineInterval = 0;  // read only when lineType is 2
    double mainLineColor = 0.0;
    double mainLineWidth = 0.0;
    int surroundLineType = 0;
    double surroundLineColor = 0.0;
    double surroundLineWidth = 0.0;
    double fillColor = 0.0;
    int fillMode = 0;
    bool hasMirroring = false;  // set when a "Mirroring" element was read
    bool mirrorHorizontal = false;
    bool mirrorVertical = false;

    // Annotation ("AnnoTextAttr").
    std::string annoText;
    bool annoVisible = false;
    std::string annoFontFamily;  // empty or one of the three accepted GBK family names
    double annoFontWidth = 0.0;
    double annoFontHeight = 0.0;
    bool annoItalic = false;
    bool annoBold = false;
    double annoBackColor = 0.0;
    double annoTextColor = 0.0;
    int annoPosType = 0;
    int annoTextRotate = 0;  // used as a flag; nothing in a situation file sets it

    // Drag line ("DotDragLine").
    bool dragLineVisible = false;
    std::vector<CHQ_Point3D> dragLinePoints;

    // Inner texts ("InnerTextAttr"); the lists may differ in length.
    std::vector<int> innerTextIndexes;
    std::vector<std::string> innerTexts;
    std::vector<std::string> innerFontFamilies;
    std::vector<double> innerBackColors;
    std::vector<double> innerTextColors;

    // Dedicated text ("DedicatedText").
    std::string dedicatedText;
    std::string dedicatedTextFont;
    double dedicatedBackColor = 0.0;

    std::vector<CHQ_Point3D> avoidPoints;

    // "UserData": bytes exactly as in the XML (no code-page conversion).
    std::string userDataKey;
    std::string userDataValue;

    // Child symbol settings ("ChildSymbols").
    std::vector<int> childHMirroring;  // 0 or 1 per child
    std::vector<int> childVMirroring;  // 0 or 1 per child
    double childRotate = 0.0;          // the last child's value

    // Display ranges ("ShowRang", "HalfPixelRang").
    double showRangMin = 0.0;
    double showRangMax = 0.0;
    double halfPixelRangMin = 0.0;
    double halfPixelRangMax = 0.0;

    // Combination symbols: the declared count, and every "Symbol" found under
    // "CombinationChild" at any depth, flattened (inner ones first). The child
    // records' own lists of children stay empty.
    int combinationCount = 0;
    std::vector<SituationSymbol> combinationChildren;
};

}  // namespace HQ

#endif

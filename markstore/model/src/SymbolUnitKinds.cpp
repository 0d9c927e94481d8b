// SPDX-License-Identifier: Apache-2.0
// The nine drawing unit kinds: constructors, copies, data accessors and the
// geometry computed by Init.
#include <markstore/SymbolUnitKinds.h>

#include <geomkit/MathUtilityFunctions.h>
#include <pathalgo/PrimitiveAlgorithmPath.h>

#include "Int32Truncation.h"
#include "UnitFontAttrs.h"

#include <climits>
#include <cmath>
#include <cstring>
#include <memory>

namespace HQ {

namespace {

// Line width that text and text box units start with.
const double kTextLineWidth = 10.0;

// Sampling step of the ellipse: 1/180 written out as the stored symbols were
// computed with it; repeated addition of it gives 182 points.
const double kEllipseStep = 0.005555555555555556;

// Truncates toward zero to a 32-bit integer. Values outside the range (which
// only absurd coordinates produce) saturate and NaN gives 0, instead of the
// undefined behaviour of a plain conversion.
int TruncToInt(double v) {
    if (TruncatesToInt32(v)) return static_cast<int>(v);
    if (std::isnan(v)) return 0;
    return v > 0 ? INT_MAX : INT_MIN;
}

// The box spanned by two defining points, as the ellipse, arc and sector use
// it (the doubles as given, not truncated).
PathRect SpannedRect(const CHQ_Point2D& p0, const CHQ_Point2D& p1) {
    return PathRect(p0.x, p0.y, p1.x - p0.x, p1.y - p0.y);
}

// Whole-degree start and end of the arc of an arc or sector unit. The centre
// is the middle of P0 and P1 truncated to integers; the start direction is
// P3, the end direction P2, both measured from the +x direction and turned to
// 360 - angle below the centre line. The end is then raised so that the sweep
// end - start lies in 1 ... 360.
void ArcAngles(const std::vector<CHQ_Point2D>& pts, int& start, int& end) {
    const CHQ_Point2D& p0 = pts[0];
    const CHQ_Point2D& p1 = pts[1];
    const CHQ_Point2D& p2 = pts[2];
    const CHQ_Point2D& p3 = pts[3];
    const int cxi = TruncToInt((p0.x + p1.x) / 2);
    const int cyi = TruncToInt((p0.y + p1.y) / 2);
    const CHQ_Point2D centre(cxi, cyi);
    const CHQ_Point2D xAxis(cxi + 1.0, cyi);
    start = TruncToInt(CHQGS_MathUtilityFunctions::GetIntersectingAngle(centre, xAxis, p3));
    end = TruncToInt(CHQGS_MathUtilityFunctions::GetIntersectingAngle(centre, xAxis, p2));
    if (p3.y - cyi < 0) start = 360 - start;
    if (p2.y - cyi < 0) end = 360 - end;
    if (end - start < 0) end = end + 360;
    if (end == start) end = end + 360;
}

// A new path holding the pending arc of an arc or sector unit (needs four
// points), with its angles.
CPrimitiveAlgorithmPath* NewArcPath(const std::vector<CHQ_Point2D>& pts, int& start, int& end) {
    ArcAngles(pts, start, end);
    const PathRect r = SpannedRect(pts[0], pts[1]);
    CPrimitiveAlgorithmPath* arc = new CPrimitiveAlgorithmPath();
    arc->ArcMoveTo(r, start);
    arc->ArcTo(r, start, end - start);
    return arc;
}

// Number of defining points the arc, sector and text box need.
const std::size_t kFourPoints = 4;

}  // namespace

// ---- Line -------------------------------------------------------------------

CHQGS_SymbolUnitLine::CHQGS_SymbolUnitLine() : CHQGS_SymbolUnit() { type = Unit_Line; }

CHQGS_SymbolUnitLine::CHQGS_SymbolUnitLine(const CHQGS_SymbolUnitAttr& a,
                                           const std::vector<CHQ_Point2D>& points)
    : CHQGS_SymbolUnit(a, points) {
    type = Unit_Line;
}

CHQGS_SymbolUnitLine::CHQGS_SymbolUnitLine(const CHQGS_SymbolUnitLine& other) = default;

CHQGS_SymbolUnitLine& CHQGS_SymbolUnitLine::operator=(const CHQGS_SymbolUnitLine& other) = default;

CHQGS_SymbolUnitLine::~CHQGS_SymbolUnitLine() {}

void CHQGS_SymbolUnitLine::SetVectexs(const std::vector<CHQ_Point2D>& points) { vertexes = points; }

std::vector<CHQ_Point2D> CHQGS_SymbolUnitLine::GetVectexs() const { return vertexes; }

void CHQGS_SymbolUnitLine::initPath() {
    std::vector<CHQ_Point2D> list = vertexes;
    if (attr.IsClose && !list.empty()) list.push_back(list[0]);
    oriPts = list;
    // The unit's existing path is extended, not replaced.
    TransToPath(path, list);
}

void CHQGS_SymbolUnitLine::initRealPts() {}

// ---- Rect -------------------------------------------------------------------

CHQGS_SymbolUnitRect::CHQGS_SymbolUnitRect() : CHQGS_SymbolUnit() { type = Unit_Rect; }

CHQGS_SymbolUnitRect::CHQGS_SymbolUnitRect(const CHQGS_SymbolUnitAttr& a,
                                           const std::vector<CHQ_Point2D>& points)
    : CHQGS_SymbolUnit(a, points) {
    type = Unit_Rect;
}

CHQGS_SymbolUnitRect::CHQGS_SymbolUnitRect(const CHQGS_SymbolUnitRect& other) = default;

CHQGS_SymbolUnitRect& CHQGS_SymbolUnitRect::operator=(const CHQGS_SymbolUnitRect& other) = default;

CHQGS_SymbolUnitRect::~CHQGS_SymbolUnitRect() {}

void CHQGS_SymbolUnitRect::initPath() {}

void CHQGS_SymbolUnitRect::initRealPts() {}

// ---- Ellipse ----------------------------------------------------------------

CHQGS_SymbolUnitEllipse::CHQGS_SymbolUnitEllipse() : CHQGS_SymbolUnit() { type = Unit_Ellipse; }

CHQGS_SymbolUnitEllipse::CHQGS_SymbolUnitEllipse(const CHQGS_SymbolUnitAttr& a,
                                                 const std::vector<CHQ_Point2D>& points)
    : CHQGS_SymbolUnit(a, points) {
    type = Unit_Ellipse;
}

CHQGS_SymbolUnitEllipse::CHQGS_SymbolUnitEllipse(const CHQGS_SymbolUnitEllipse& other) = default;

CHQGS_SymbolUnitEllipse& CHQGS_SymbolUnitEllipse::operator=(const CHQGS_SymbolUnitEllipse& other) = default;

CHQGS_SymbolUnitEllipse::~CHQGS_SymbolUnitEllipse() {}

void CHQGS_SymbolUnitEllipse::initPath() {
    std::unique_ptr<CPrimitiveAlgorithmPath> ellipse(new CPrimitiveAlgorithmPath());
    if (actualPts.size() >= 2) ellipse->AddEllipse(SpannedRect(actualPts[0], actualPts[1]));
    // Sampled even without an ellipse: every point is then (0, 0).
    oriPts = Interpolation(ellipse.get(), kEllipseStep);
    replacePath(ellipse.release());
}

void CHQGS_SymbolUnitEllipse::initRealPts() {}

// ---- Arc --------------------------------------------------------------------

CHQGS_SymbolUnitArc::CHQGS_SymbolUnitArc() : CHQGS_SymbolUnit() { type = Unit_Arc; }

CHQGS_SymbolUnitArc::CHQGS_SymbolUnitArc(const CHQGS_SymbolUnitAttr& a,
                                         const std::vector<CHQ_Point2D>& points)
    : CHQGS_SymbolUnit(a, points) {
    type = Unit_Arc;
}

CHQGS_SymbolUnitArc::CHQGS_SymbolUnitArc(const CHQGS_SymbolUnitArc& other) = default;

CHQGS_SymbolUnitArc& CHQGS_SymbolUnitArc::operator=(const CHQGS_SymbolUnitArc& other) = default;

CHQGS_SymbolUnitArc::~CHQGS_SymbolUnitArc() {}

void CHQGS_SymbolUnitArc::initPath() {
    if (actualPts.size() < kFourPoints) return;
    int start = 0;
    int end = 0;
    std::unique_ptr<CPrimitiveAlgorithmPath> arc(NewArcPath(actualPts, start, end));
    // About one point per degree of sweep.
    oriPts = Interpolation(arc.get(), 1.0 / (end - start));
    replacePath(arc.release());
}

void CHQGS_SymbolUnitArc::initRealPts() {}

// ---- Sector -----------------------------------------------------------------

CHQGS_SymbolUnitSector::CHQGS_SymbolUnitSector() : CHQGS_SymbolUnit() { type = Unit_Sector; }

CHQGS_SymbolUnitSector::CHQGS_SymbolUnitSector(const CHQGS_SymbolUnitAttr& a,
                                               const std::vector<CHQ_Point2D>& points)
    : CHQGS_SymbolUnit(a, points) {
    type = Unit_Sector;
}

CHQGS_SymbolUnitSector::CHQGS_SymbolUnitSector(const CHQGS_SymbolUnitSector& other) = default;

CHQGS_SymbolUnitSector& CHQGS_SymbolUnitSector::operator=(const CHQGS_SymbolUnitSector& other) = default;

CHQGS_SymbolUnitSector::~CHQGS_SymbolUnitSector() {}

void CHQGS_SymbolUnitSector::initPath() {}

void CHQGS_SymbolUnitSector::initRealPts() {
    if (actualPts.size() < kFourPoints) return;
    oriPts.clear();
    int start = 0;
    int end = 0;
    std::unique_ptr<CPrimitiveAlgorithmPath> sector(NewArcPath(actualPts, start, end));
    // Sampling closes the pending circle into the path's elements.
    oriPts = Interpolation(sector.get(), 1.0 / (end - start));
    const CHQ_Point2D arcStart = sector->PointAtPercent(0);
    const CHQ_Point2D arcEnd = sector->CurrentPosition();
    const CHQ_Point2D centre((actualPts[0].x + actualPts[1].x) / 2, (actualPts[0].y + actualPts[1].y) / 2);
    // The two radii: end -> centre -> start, left pending in the path.
    const std::vector<CHQ_Point2D> radii = {arcEnd, centre, arcStart};
    TransToPath(sector.get(), radii);
    oriPts.insert(oriPts.end(), radii.begin(), radii.end());
    replacePath(sector.release());
}

// ---- Text -------------------------------------------------------------------

CHQGS_SymbolUnitText::CHQGS_SymbolUnitText()
    : CHQGS_SymbolUnit(), MARKSTORE_UNIT_FONT_ZERO, FontPos{0.0f, 0.0f} {
    type = Unit_Text;
    attr.LineWidth = kTextLineWidth;
}

CHQGS_SymbolUnitText::CHQGS_SymbolUnitText(const CHQGS_SymbolUnitAttr& a,
                                           const std::vector<CHQ_Point2D>& points)
    : CHQGS_SymbolUnit(a, points), MARKSTORE_UNIT_FONT_ZERO, FontPos{0.0f, 0.0f} {
    type = Unit_Text;
    attr.LineWidth = kTextLineWidth;
}

CHQGS_SymbolUnitText::CHQGS_SymbolUnitText(const CHQGS_SymbolUnitText& other) = default;

CHQGS_SymbolUnitText& CHQGS_SymbolUnitText::operator=(const CHQGS_SymbolUnitText& other) = default;

CHQGS_SymbolUnitText::~CHQGS_SymbolUnitText() {}

MARKSTORE_UNIT_FONT_ACCESSORS(CHQGS_SymbolUnitText)

float CHQGS_SymbolUnitText::GetFontPosX() const { return FontPos[0]; }
float CHQGS_SymbolUnitText::GetFontPosY() const { return FontPos[1]; }
void CHQGS_SymbolUnitText::SetFontPos(float x, float y) {
    FontPos[0] = x;
    FontPos[1] = y;
}
std::string CHQGS_SymbolUnitText::GetText() const { return Text; }
void CHQGS_SymbolUnitText::SetText(const std::string& text) { Text = text; }

std::vector<std::vector<CHQ_Point2D>> CHQGS_SymbolUnitText::GetAuxList(int index) const {
    if (index < 0 || index > 1) return {};
    return auxLists[index];
}

void CHQGS_SymbolUnitText::SetAuxList(int index, const std::vector<std::vector<CHQ_Point2D>>& lists) {
    if (index < 0 || index > 1) return;
    auxLists[index] = lists;
}

CHQ_Point2D CHQGS_SymbolUnitText::GetAuxPoint(int index) const {
    if (index < 0 || index > 1) return CHQ_Point2D();
    return auxPoints[index];
}

void CHQGS_SymbolUnitText::SetAuxPoint(int index, const CHQ_Point2D& point) {
    if (index < 0 || index > 1) return;
    auxPoints[index] = point;
}

void CHQGS_SymbolUnitText::initPath() {}

void CHQGS_SymbolUnitText::initRealPts() {}

// ---- Text box ---------------------------------------------------------------

CHQGS_SymbolUnitTextBox::CHQGS_SymbolUnitTextBox() : CHQGS_SymbolUnit(), MARKSTORE_UNIT_FONT_ZERO {
    type = Unit_TextBox;
    attr.LineWidth = kTextLineWidth;
}

CHQGS_SymbolUnitTextBox::CHQGS_SymbolUnitTextBox(const CHQGS_SymbolUnitAttr& a,
                                                 const std::vector<CHQ_Point2D>& points)
    : CHQGS_SymbolUnit(a, points), MARKSTORE_UNIT_FONT_ZERO {
    type = Unit_TextBox;
    attr.LineWidth = kTextLineWidth;
}

CHQGS_SymbolUnitTextBox::CHQGS_SymbolUnitTextBox(const CHQGS_SymbolUnitTextBox& other) = default;

CHQGS_SymbolUnitTextBox& CHQGS_SymbolUnitTextBox::operator=(const CHQGS_SymbolUnitTextBox& other) = default;

CHQGS_SymbolUnitTextBox::~CHQGS_SymbolUnitTextBox() {}

MARKSTORE_UNIT_FONT_ACCESSORS(CHQGS_SymbolUnitTextBox)

void CHQGS_SymbolUnitTextBox::initPath() {
    if (actualPts.size() < kFourPoints) return;
    const CHQ_Point2D& p0 = actualPts[0];
    const CHQ_Point2D& p1 = actualPts[1];
    const CHQ_Point2D& p2 = actualPts[2];
    const CHQ_Point2D& p3 = actualPts[3];
    oriPts.clear();
    oriPts.push_back(CHQ_Point2D(p0.x, p0.y));
    oriPts.push_back(CHQ_Point2D(p0.x, p1.y));
    oriPts.push_back(CHQ_Point2D(p1.x, p1.y));
    oriPts.push_back(CHQ_Point2D(p1.x, p0.y));
    oriPts.push_back(CHQ_Point2D(p2.x, p2.y));
    oriPts.push_back(CHQ_Point2D(p2.x, p3.y));
    oriPts.push_back(CHQ_Point2D(p3.x, p3.y));
    oriPts.push_back(CHQ_Point2D(p3.x, p2.y));
}

void CHQGS_SymbolUnitTextBox::initRealPts() {}

// ---- Picture ----------------------------------------------------------------

CHQGS_SymbolUnitPicture::CHQGS_SymbolUnitPicture()
    : CHQGS_SymbolUnit(), placement(), bufSize(0), buf(nullptr) {
    type = Unit_Picture;
}

CHQGS_SymbolUnitPicture::CHQGS_SymbolUnitPicture(const CHQGS_SymbolUnitPicture& other)
    : CHQGS_SymbolUnit(other), placement(other.placement), bufSize(0), buf(nullptr) {
    SetBufData(other.buf, other.bufSize);
}

CHQGS_SymbolUnitPicture& CHQGS_SymbolUnitPicture::operator=(const CHQGS_SymbolUnitPicture& other) {
    if (this == &other) return *this;
    CHQGS_SymbolUnit::operator=(other);
    placement = other.placement;
    SetBufData(other.buf, other.bufSize);
    return *this;
}

CHQGS_SymbolUnitPicture::~CHQGS_SymbolUnitPicture() {
    delete[] buf;
    buf = nullptr;
}

void CHQGS_SymbolUnitPicture::SetBufData(const char* data, int size) {
    char* copy = nullptr;
    if (data != nullptr && size > 0) {
        copy = new char[static_cast<std::size_t>(size)];
        std::memcpy(copy, data, static_cast<std::size_t>(size));
    } else {
        size = 0;
    }
    // Release the old buffer only after copying: data may point into it.
    delete[] buf;
    buf = copy;
    bufSize = size;
}

const char* CHQGS_SymbolUnitPicture::GetBufData() const { return buf; }

int CHQGS_SymbolUnitPicture::GetBufSize() const { return bufSize; }

CHQGS_PicturePlacement CHQGS_SymbolUnitPicture::GetPlacement() const { return placement; }

void CHQGS_SymbolUnitPicture::SetPlacement(const CHQGS_PicturePlacement& p) { placement = p; }

void CHQGS_SymbolUnitPicture::initPath() {}

void CHQGS_SymbolUnitPicture::initRealPts() {}

// ---- Combination ------------------------------------------------------------

CHQGS_SymbolUnitCombo::CHQGS_SymbolUnitCombo() : CHQGS_SymbolUnit() { type = Unit_Combo; }

CHQGS_SymbolUnitCombo::CHQGS_SymbolUnitCombo(const CHQGS_SymbolUnitAttr& a) : CHQGS_SymbolUnit(a) {
    type = Unit_Combo;
}

CHQGS_SymbolUnitCombo::CHQGS_SymbolUnitCombo(const CHQGS_SymbolUnitCombo& other) = default;

CHQGS_SymbolUnitCombo& CHQGS_SymbolUnitCombo::operator=(const CHQGS_SymbolUnitCombo& other) = default;

CHQGS_SymbolUnitCombo::~CHQGS_SymbolUnitCombo() {}

void CHQGS_SymbolUnitCombo::AddLine(const std::vector<CHQ_Point2D>& points) {
    lineGroups[GroupCount - 1].push_back(points);
}

std::vector<std::vector<CHQ_Point2D>> CHQGS_SymbolUnitCombo::GetLineGroup(int index) const {
    if (index < 0 || index >= GroupCount) return {};
    return lineGroups[index];
}

void CHQGS_SymbolUnitCombo::initPath() {}

void CHQGS_SymbolUnitCombo::initRealPts() {}

}  // namespace HQ

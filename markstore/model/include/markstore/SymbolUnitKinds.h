// SPDX-License-Identifier: Apache-2.0
// The nine drawing unit kinds. Each sets its Type_Unit code in its
// constructors and overrides the Init hooks:
//
//   kind      initPath                                   initRealPts
//   Line      polyline from the vertices into the path   -
//   Rect      -                                          -
//   Ellipse   new path with one ellipse; real points     -
//   Arc       new path with one arc; real points         -
//   Sector    -                                          new path: arc and two radii; real points
//   Text      -                                          -
//   TextBox   eight corner points into the real points   -
//   Picture   -                                          -
//   Combo     -                                          -
//
// P0 ... P3 below are actualPts[0 ... 3]. Kinds whose geometry needs more
// actual points than given leave their path and real points as they were
// (except the ellipse, see below). Copies are deep (see CHQGS_SymbolUnit);
// copies take the extra members by value. No operation throws.
#ifndef MARKSTORE_SYMBOLUNITKINDS_H
#define MARKSTORE_SYMBOLUNITKINDS_H

#include <markstore/MarkstoreExport.h>
#include <markstore/SymbolUnit.h>

#include <cstdint>
#include <string>
#include <vector>

namespace HQ {

// Polyline through its own vertex list (actualPts is not used). Init: the real
// points are the vertices, with the first one repeated at the end when the
// attributes say IsClose (and the list is not empty); the same points are
// appended to the unit's existing path (running Init twice appends them
// twice).
class MARKSTORE_API CHQGS_SymbolUnitLine : public CHQGS_SymbolUnit {
public:
    CHQGS_SymbolUnitLine();
    CHQGS_SymbolUnitLine(const CHQGS_SymbolUnitAttr& attr, const std::vector<CHQ_Point2D>& points);
    CHQGS_SymbolUnitLine(const CHQGS_SymbolUnitLine& other);
    CHQGS_SymbolUnitLine& operator=(const CHQGS_SymbolUnitLine& other);
    ~CHQGS_SymbolUnitLine() override;

    // Replaces the vertex list.
    void SetVectexs(const std::vector<CHQ_Point2D>& points);
    std::vector<CHQ_Point2D> GetVectexs() const;

protected:
    void initPath() override;
    void initRealPts() override;

    std::vector<CHQ_Point2D> vertexes;
};

// Rectangle: data for the host's renderer only; Init computes nothing.
class MARKSTORE_API CHQGS_SymbolUnitRect : public CHQGS_SymbolUnit {
public:
    CHQGS_SymbolUnitRect();
    CHQGS_SymbolUnitRect(const CHQGS_SymbolUnitAttr& attr, const std::vector<CHQ_Point2D>& points);
    CHQGS_SymbolUnitRect(const CHQGS_SymbolUnitRect& other);
    CHQGS_SymbolUnitRect& operator=(const CHQGS_SymbolUnitRect& other);
    ~CHQGS_SymbolUnitRect() override;

protected:
    void initPath() override;
    void initRealPts() override;
};

// Ellipse inscribed in the box spanned by P0 and P1. Init builds a new path
// holding the ellipse and samples it with a step of 1/180 into 182 real
// points. With fewer than two actual points the new path is empty and the 182
// real points are all (0, 0).
class MARKSTORE_API CHQGS_SymbolUnitEllipse : public CHQGS_SymbolUnit {
public:
    CHQGS_SymbolUnitEllipse();
    CHQGS_SymbolUnitEllipse(const CHQGS_SymbolUnitAttr& attr, const std::vector<CHQ_Point2D>& points);
    CHQGS_SymbolUnitEllipse(const CHQGS_SymbolUnitEllipse& other);
    CHQGS_SymbolUnitEllipse& operator=(const CHQGS_SymbolUnitEllipse& other);
    ~CHQGS_SymbolUnitEllipse() override;

protected:
    void initPath() override;
    void initRealPts() override;
};

// Circular arc on the circle inscribed in the box spanned by P0 and P1 (radius
// = half the box width), from the direction of P3 to the direction of P2 as
// seen from the box centre (truncated to integers). Angles are whole degrees;
// the sweep is 1 to 360. Init (needs four actual points) builds a new path
// with the arc and samples it at about one point per degree.
class MARKSTORE_API CHQGS_SymbolUnitArc : public CHQGS_SymbolUnit {
public:
    CHQGS_SymbolUnitArc();
    CHQGS_SymbolUnitArc(const CHQGS_SymbolUnitAttr& attr, const std::vector<CHQ_Point2D>& points);
    CHQGS_SymbolUnitArc(const CHQGS_SymbolUnitArc& other);
    CHQGS_SymbolUnitArc& operator=(const CHQGS_SymbolUnitArc& other);
    ~CHQGS_SymbolUnitArc() override;

protected:
    void initPath() override;
    void initRealPts() override;
};

// Sector: the arc of CHQGS_SymbolUnitArc closed by its two radii. Init (needs
// four actual points) builds a new path with the arc, then a move to the
// arc's end and lines to the centre and to the arc's start. The real points
// are the sampled arc followed by the arc's end, the centre and the arc's
// start.
class MARKSTORE_API CHQGS_SymbolUnitSector : public CHQGS_SymbolUnit {
public:
    CHQGS_SymbolUnitSector();
    CHQGS_SymbolUnitSector(const CHQGS_SymbolUnitAttr& attr, const std::vector<CHQ_Point2D>& points);
    CHQGS_SymbolUnitSector(const CHQGS_SymbolUnitSector& other);
    CHQGS_SymbolUnitSector& operator=(const CHQGS_SymbolUnitSector& other);
    ~CHQGS_SymbolUnitSector() override;

protected:
    void initPath() override;
    void initRealPts() override;
};

// Text: data for the host's renderer only; Init computes nothing. Both data
// constructors set the LineWidth of the attributes to 10.0. Strings are kept
// as given (the mark data reader does not convert them). Colours are R, G, B,
// A.
class MARKSTORE_API CHQGS_SymbolUnitText : public CHQGS_SymbolUnit {
public:
    CHQGS_SymbolUnitText();
    CHQGS_SymbolUnitText(const CHQGS_SymbolUnitAttr& attr, const std::vector<CHQ_Point2D>& points);
    CHQGS_SymbolUnitText(const CHQGS_SymbolUnitText& other);
    CHQGS_SymbolUnitText& operator=(const CHQGS_SymbolUnitText& other);
    ~CHQGS_SymbolUnitText() override;

    float GetFontAngle() const;
    void SetFontAngle(float angle);
    std::string GetFontName() const;
    void SetFontName(const std::string& name);
    std::int16_t GetFontWidth() const;
    void SetFontWidth(std::int16_t width);
    std::int16_t GetFontHeight() const;
    void SetFontHeight(std::int16_t height);
    // Copies the four colour bytes R, G, B, A into rgba.
    void GetFontColor(std::uint8_t rgba[4]) const;
    void SetFontColor(std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a);
    std::int16_t GetFontDistance() const;
    void SetFontDistance(std::int16_t distance);
    std::int16_t GetLineDistance() const;
    void SetLineDistance(std::int16_t distance);
    std::int16_t GetFontStyle() const;
    void SetFontStyle(std::int16_t style);
    float GetFontPosX() const;
    float GetFontPosY() const;
    void SetFontPos(float x, float y);
    std::string GetText() const;
    void SetText(const std::string& text);
    // Auxiliary lists and points: carried and copied only; index 0 or 1
    // (another index answers an empty list or (0, 0) and is ignored by the
    // setters).
    std::vector<std::vector<CHQ_Point2D>> GetAuxList(int index) const;
    void SetAuxList(int index, const std::vector<std::vector<CHQ_Point2D>>& lists);
    CHQ_Point2D GetAuxPoint(int index) const;
    void SetAuxPoint(int index, const CHQ_Point2D& point);

protected:
    void initPath() override;
    void initRealPts() override;

    float FontAngle;
    std::string FontName;
    std::int16_t FontWidth;
    std::int16_t FontHeight;
    std::uint8_t FontColor[4];
    std::int16_t FontDistance;
    std::int16_t LineDistance;
    std::int16_t FontStyle;
    float FontPos[2];  // X then Y
    std::string Text;
    std::vector<std::vector<CHQ_Point2D>> auxLists[2];
    CHQ_Point2D auxPoints[2];
};

// Text box: the font members of the text unit (no position, no text). Both
// data constructors set the LineWidth of the attributes to 10.0. Init (needs
// four actual points) lists the corners of the box spanned by P0 and P1, then
// those of the box spanned by P2 and P3, as the real points: (P0.x, P0.y),
// (P0.x, P1.y), (P1.x, P1.y), (P1.x, P0.y), then the same for P2, P3. The path
// is not touched.
class MARKSTORE_API CHQGS_SymbolUnitTextBox : public CHQGS_SymbolUnit {
public:
    CHQGS_SymbolUnitTextBox();
    CHQGS_SymbolUnitTextBox(const CHQGS_SymbolUnitAttr& attr, const std::vector<CHQ_Point2D>& points);
    CHQGS_SymbolUnitTextBox(const CHQGS_SymbolUnitTextBox& other);
    CHQGS_SymbolUnitTextBox& operator=(const CHQGS_SymbolUnitTextBox& other);
    ~CHQGS_SymbolUnitTextBox() override;

    float GetFontAngle() const;
    void SetFontAngle(float angle);
    std::string GetFontName() const;
    void SetFontName(const std::string& name);
    std::int16_t GetFontWidth() const;
    void SetFontWidth(std::int16_t width);
    std::int16_t GetFontHeight() const;
    void SetFontHeight(std::int16_t height);
    // Copies the four colour bytes R, G, B, A into rgba.
    void GetFontColor(std::uint8_t rgba[4]) const;
    void SetFontColor(std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a);
    std::int16_t GetFontDistance() const;
    void SetFontDistance(std::int16_t distance);
    std::int16_t GetLineDistance() const;
    void SetLineDistance(std::int16_t distance);
    std::int16_t GetFontStyle() const;
    void SetFontStyle(std::int16_t style);

protected:
    void initPath() override;
    void initRealPts() override;

    float FontAngle;
    std::string FontName;
    std::int16_t FontWidth;
    std::int16_t FontHeight;
    std::uint8_t FontColor[4];
    std::int16_t FontDistance;
    std::int16_t LineDistance;
    std::int16_t FontStyle;
};

// Placement block of a picture unit. The library only stores and copies it;
// its meaning belongs to the host. All zero by default.
struct CHQGS_PicturePlacement {
    float ValueA;
    float ValueB;
    std::uint32_t CountA;
    std::uint32_t CountB;
    std::uint8_t Flag;
    std::uint8_t Bytes[4];
};

// Picture: the image bytes of a picture (an owned buffer) and a placement
// block; Init computes nothing. The buffer is released when the unit is
// destroyed; copies own a copy of the bytes.
class MARKSTORE_API CHQGS_SymbolUnitPicture : public CHQGS_SymbolUnit {
public:
    CHQGS_SymbolUnitPicture();
    CHQGS_SymbolUnitPicture(const CHQGS_SymbolUnitPicture& other);
    CHQGS_SymbolUnitPicture& operator=(const CHQGS_SymbolUnitPicture& other);
    ~CHQGS_SymbolUnitPicture() override;

    // Replaces the buffer by a copy of size bytes of data; the previous buffer
    // is released. A size that is not positive, or null data, leaves an empty
    // buffer (null, size 0).
    void SetBufData(const char* data, int size);
    // The buffer (null when empty); the unit keeps ownership. Valid until the
    // next SetBufData, assignment or destruction.
    const char* GetBufData() const;
    // Byte count of the buffer.
    int GetBufSize() const;

    CHQGS_PicturePlacement GetPlacement() const;
    void SetPlacement(const CHQGS_PicturePlacement& placement);

protected:
    void initPath() override;
    void initRealPts() override;

    CHQGS_PicturePlacement placement;
    int bufSize;
    char* buf;
};

// Combination: four groups of point lists for the host's renderer; Init
// computes nothing. AddLine appends to the fourth group (index 3); the first
// three groups are carried and copied only.
class MARKSTORE_API CHQGS_SymbolUnitCombo : public CHQGS_SymbolUnit {
public:
    // Number of line groups.
    static const int GroupCount = 4;

    CHQGS_SymbolUnitCombo();
    explicit CHQGS_SymbolUnitCombo(const CHQGS_SymbolUnitAttr& attr);
    CHQGS_SymbolUnitCombo(const CHQGS_SymbolUnitCombo& other);
    CHQGS_SymbolUnitCombo& operator=(const CHQGS_SymbolUnitCombo& other);
    ~CHQGS_SymbolUnitCombo() override;

    // Appends a copy of the list to the fourth group.
    void AddLine(const std::vector<CHQ_Point2D>& points);
    // The lists of group index (0 to 3); another index answers an empty list.
    std::vector<std::vector<CHQ_Point2D>> GetLineGroup(int index) const;

protected:
    void initPath() override;
    void initRealPts() override;

    std::vector<std::vector<CHQ_Point2D>> lineGroups[GroupCount];
};

}  // namespace HQ

#endif

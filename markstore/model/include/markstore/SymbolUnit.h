// SPDX-License-Identifier: Apache-2.0
// CHQGS_SymbolUnit: the common base of the drawing units a symbol is made of,
// with the unit kind codes (Type_Unit) and the drawing attributes of a unit
// (CHQGS_SymbolUnitAttr).
//
// A unit holds three point lists and one drawing path:
//  - actualPts: the defining points given by the caller or the mark data
//    reader (input of Init);
//  - oriPts: the real points, the outline sampled from the path (computed by
//    Init);
//  - keyPts: key points, carried and copied only;
//  - path: the drawing path, owned by the unit and never null.
// Coordinates are in the caller's plane (doubles); angles are in degrees.
//
// Lifecycle: construct (by kind), fill attributes and points, then call Init
// once; Init calls initPath and then initRealPts of the unit's kind. A unit
// added to a CHQGS_Symbol belongs to that symbol, which destroys it.
// Destroying a unit destroys its path. No operation reports an error or
// throws.
#ifndef MARKSTORE_SYMBOLUNIT_H
#define MARKSTORE_SYMBOLUNIT_H

#include <markstore/MarkstoreExport.h>

#include <geomkit/Point2D.h>
#include <pathalgo/PrimitiveAlgorithmPath.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace HQ {

// Unit kind codes, answered by CHQGS_SymbolUnit::GetType. The same numbers are
// the "Style" codes of the mark data text. 6 and 8 to 12 are not used.
enum Type_Unit : std::int32_t {
    Unit_None = 0,
    Unit_Line = 1,
    Unit_Rect = 2,
    Unit_Ellipse = 3,
    Unit_Arc = 4,
    Unit_Sector = 5,
    Unit_Text = 7,
    Unit_TextBox = 13,
    Unit_Picture = 14,
    Unit_Combo = 15
};

// Line and fill styling of a unit: a plain value record, copied bytewise and
// passed by value across the library boundary. The pattern and style codes
// are opaque to the library; their drawing meaning belongs to the host's
// renderer. Colours are four bytes R, G, B, A.
//
// The default record is all zero (the whole object, padding included, so
// that copies compare bytewise equal) except IsNotFill = true and
// SpareB = -1.0.
struct CHQGS_SymbolUnitAttr {
    std::int16_t Style;       // carried only; the library never sets or reads it
    std::uint16_t LineStyle;  // line pattern code
    double LineWidth;         // line width (text and text box units set 10.0)
    bool IsClose;             // closed outline; a line unit repeats its first vertex
    bool IsOutline;           // an outline is drawn
    std::uint16_t FillStyle;  // fill pattern code
    std::uint8_t LineColor[4];
    std::uint8_t OutlineColor[4];
    std::uint8_t FillColor[4];
    bool IsLineStyleFixedness;  // the line style is fixed
    bool IsColorFixedness;      // the colours are fixed
    bool IsNotFill;             // the unit is not filled
    bool IsSpare;               // not used by the library
    float SpareA;               // not used by the library
    float SpareB;               // not used by the library

    CHQGS_SymbolUnitAttr() {
        // Zero the whole record first so that padding bytes are defined too.
        std::memset(static_cast<void*>(this), 0, sizeof(*this));
        IsNotFill = true;
        SpareB = -1.0f;
    }
};

class MARKSTORE_API CHQGS_SymbolUnit {
public:
    // type = Unit_None, default attributes, three empty lists, a new empty path.
    CHQGS_SymbolUnit();
    // As above with the attributes copied.
    explicit CHQGS_SymbolUnit(const CHQGS_SymbolUnitAttr& attr);
    // As above and actualPts = points; keyPts and oriPts empty.
    CHQGS_SymbolUnit(const CHQGS_SymbolUnitAttr& attr, const std::vector<CHQ_Point2D>& points);
    // Copies are deep: the copy owns a path of its own holding the same
    // geometry as the source's, so the source and the copy may be destroyed in
    // any order. Self-assignment is harmless.
    CHQGS_SymbolUnit(const CHQGS_SymbolUnit& other);
    CHQGS_SymbolUnit& operator=(const CHQGS_SymbolUnit& other);
    // Destroys the path.
    virtual ~CHQGS_SymbolUnit();

    // Computes the path and the real points: initPath(), then initRealPts().
    // Meant to be called once, after the unit's data is set.
    void Init();

    Type_Unit GetType() const;
    void SetAttr(const CHQGS_SymbolUnitAttr& attr);
    CHQGS_SymbolUnitAttr GetAttr() const;
    void SetActualPts(const std::vector<CHQ_Point2D>& points);
    std::vector<CHQ_Point2D> GetActualPts() const;
    std::vector<CHQ_Point2D> GetOriPts() const;
    std::vector<CHQ_Point2D> GetKeyPts() const;
    // The unit's path (never null); the unit keeps ownership. Ellipse, arc and
    // sector units replace their path in Init, so do not keep the pointer
    // across Init.
    CPrimitiveAlgorithmPath* GetPainterPath() const;

    // Appends the points to the path as a move to the first point and lines
    // through the rest (they gather into one pending polyline). Nothing
    // happens for an empty list or a null path.
    static void TransToPath(CPrimitiveAlgorithmPath* path, const std::vector<CHQ_Point2D>& points);

protected:
    // Kind hooks, called by Init in this order; the base does nothing.
    virtual void initPath();
    virtual void initRealPts();

    // Samples the path at t = 0, step, 2*step, ... (repeated addition) while
    // t < 1, then at 1.0. A step of 1/180 gives 182 points, the last two
    // nearly coincident. A null path answers an empty list; a step that is
    // not positive (or not a number) samples only t = 0 and t = 1.
    std::vector<CHQ_Point2D> Interpolation(CPrimitiveAlgorithmPath* path, double step);
    // Answers a copy of the list; the float is ignored.
    std::vector<CHQ_Point2D> Interpolation(const std::vector<CHQ_Point2D>& points, float step);

    // Replaces the unit's path by a new one the unit now owns (the previous
    // path is destroyed). A null argument is ignored.
    void replacePath(CPrimitiveAlgorithmPath* newPath);

    Type_Unit type;
    CHQGS_SymbolUnitAttr attr;
    std::vector<CHQ_Point2D> keyPts;
    std::vector<CHQ_Point2D> oriPts;
    std::vector<CHQ_Point2D> actualPts;
    CPrimitiveAlgorithmPath* path;
};

}  // namespace HQ

#endif

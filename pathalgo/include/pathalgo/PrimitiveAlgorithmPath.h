// SPDX-License-Identifier: Apache-2.0
// CPrimitiveAlgorithmPath: the drawing path. An ordered list of segments
// (polylines gathered from straight lines, circular arcs, whole ellipses and
// cubic Bezier curves) with a current point. It answers its total length and
// the point at a fraction of that length; callers sample it by asking for
// regular fractions.
//
// PathRect: the rectangle argument of the ellipse and arc operations.
//
// Units: coordinates are doubles in the caller's plane; angles are degrees.
// No operation reports an error: degenerate input gives degenerate geometry,
// and a query that finds no point answers (0, 0).
#ifndef PATHALGO_PRIMITIVEALGORITHMPATH_H
#define PATHALGO_PRIMITIVEALGORITHMPATH_H

#include <geomkit/GeomkitExport.h>
#include <geomkit/Point2D.h>
#include <pathalgo/PrimitiveAlgorithm.h>

#include <cstddef>
#include <memory>
#include <vector>

namespace HQ {

// An axis-parallel rectangle. Built from (x, y, w, h): left = x, top = y,
// right = x + w, bottom = y + h, then each axis is put in order (a negative
// extent swaps the sides), so width and height are never negative.
class GEOMKIT_API PathRect {
public:
    double left = 0.0;
    double top = 0.0;
    double right = 0.0;
    double bottom = 0.0;
    double width = 0.0;
    double height = 0.0;

    PathRect() = default;
    PathRect(double x, double y, double w, double h);
};

class GEOMKIT_API CPrimitiveAlgorithmPath {
public:
    // An empty path with the current point (0, 0).
    CPrimitiveAlgorithmPath();
    // Copies are deep: every segment, the pending one included, is cloned.
    CPrimitiveAlgorithmPath(const CPrimitiveAlgorithmPath& other);
    CPrimitiveAlgorithmPath& operator=(const CPrimitiveAlgorithmPath& other);
    CPrimitiveAlgorithmPath(CPrimitiveAlgorithmPath&& other) noexcept;
    CPrimitiveAlgorithmPath& operator=(CPrimitiveAlgorithmPath&& other) noexcept;
    // Destroys every segment.
    ~CPrimitiveAlgorithmPath();

    // A deep copy owned by the caller (delete it).
    CPrimitiveAlgorithmPath* Clone() const;

    // Closes the pending segment; the point becomes the current point.
    void MoveTo(double x, double y);
    void MoveTo(const CHQ_Point2D& p);

    // Straight line from the current point to p. Consecutive lines gather
    // into one pending polyline, which becomes an element only when closed
    // (by MoveTo, AddEllipse, ArcMoveTo, Length, PointAtPercent or
    // destruction). If the pending segment is an arc, the arc is closed and p
    // only becomes the current point: no line is drawn by this call.
    void LineTo(double x, double y);
    void LineTo(const CHQ_Point2D& p);

    // Appends the cubic Bezier (current, c1, c2, end); current = end. The
    // pending segment is NOT closed first, so a curve added while a polyline
    // is pending lands before that polyline.
    void CubicTo(const CHQ_Point2D& c1, const CHQ_Point2D& c2, const CHQ_Point2D& end);
    // A quadratic curve raised to one cubic: c1 = (2c + current) / 3,
    // c2 = (2c + end) / 3. Nothing is appended when current, c and end are
    // all exactly equal.
    void QuadTo(const CHQ_Point2D& c, const CHQ_Point2D& end);

    // Closes the pending segment and appends a whole ellipse; the current
    // point becomes the ellipse's end (its point of largest x).
    // Inscribed in the rectangle:
    void AddEllipse(const PathRect& rect);
    // With centre and half extents along x and y:
    void AddEllipse(const CHQ_Point2D& centre, double rx, double ry);
    void AddEllipse(double x, double y, double rx, double ry);

    // Closes the pending segment and starts a pending circle about the
    // rectangle's centre with radius width / 2 (start angle -angle, sweep
    // 360). The current point becomes (centre x + radius, centre y).
    void ArcMoveTo(const PathRect& rect, double angle);
    // Reshapes the pending circle, if there is one (otherwise nothing
    // happens): centre of rect, radius |width / 2|, circle angles from -start
    // to -(start + sweep). The current point becomes the arc's PointAt(1).
    void ArcTo(const PathRect& rect, double startAngle, double sweepAngle);

    // Closes the pending segment; the sum of the elements' lengths.
    double Length();
    // Closes the pending segment; the point at fraction f of the total
    // length. f = 0 gives the start of the first segment, f = 1 the end of the
    // last one of non-zero length. f above 1, NaN, or a path of length 0
    // answers (0, 0); f below 0 answers the start of the first segment.
    CHQ_Point2D PointAtPercent(double f);

    CHQ_Point2D CurrentPosition() const { return current_; }

    // Inspection. Elements are finished segments in path order; the pending
    // segment (a polyline being gathered or an arc being shaped) is not among
    // them until it is closed. The path keeps ownership of everything.
    std::size_t GetElementCount() const { return elements_.size(); }
    // Null when index is out of range.
    const CPrimitiveAlgorithm* GetElement(std::size_t index) const;
    // Null when nothing is pending.
    const CPrimitiveAlgorithm* GetPendingElement() const { return pending_.get(); }

private:
    void ClosePending();

    std::unique_ptr<CPrimitiveAlgorithm> pending_;
    std::vector<std::unique_ptr<CPrimitiveAlgorithm>> elements_;
    CHQ_Point2D current_;
};

}  // namespace HQ

#endif  // PATHALGO_PRIMITIVEALGORITHMPATH_H

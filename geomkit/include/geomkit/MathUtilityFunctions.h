// CHQGS_MathUtilityFunctions: geomkit's static plotting mathematics.
//
// Points are CHQ_Point2D, lists are std::vector<CHQ_Point2D>, angles are in
// degrees unless a name says radians. Several results are deliberately
// rounded to single precision, or use single-precision values of pi, 180/pi
// and pi/180: stored symbols were computed that way and must be reproduced
// bit for bit. No function throws; degenerate input answers a neutral value.
#ifndef GEOMKIT_MATHUTILITYFUNCTIONS_H
#define GEOMKIT_MATHUTILITYFUNCTIONS_H

#include <geomkit/GeomkitExport.h>
#include <geomkit/Point2D.h>
#include <geomkit/Point3D.h>

#include <list>
#include <vector>

namespace HQ {

class GEOMKIT_API CHQGS_MathUtilityFunctions {
public:
    CHQGS_MathUtilityFunctions() {}
    CHQGS_MathUtilityFunctions(const CHQGS_MathUtilityFunctions&) {}
    CHQGS_MathUtilityFunctions& operator=(const CHQGS_MathUtilityFunctions&) { return *this; }
    virtual ~CHQGS_MathUtilityFunctions() {}

    // ---- Plotting measures ----------------------------------------------


    // ---- end of plotting measures ----


    // ---- Percent positions and path sampling ----------------------------


    // ---- end of percent positions ----


    // ---- Bezier curves and control points -------------------------------
    //
    // A Bezier chain is laid out P0, C, C, P1, C, C, P2, ...: segment k uses
    // the four points 3k .. 3k + 3 and consecutive segments share their end
    // points; a closed chain repeats its first point at the end.

    // Samples a cubic Bezier chain in single precision. Every segment emits
    // steps + 1 points (both end points, so a shared end point appears twice);
    // the coordinates are single-precision values stored as double. steps
    // below 1 counts as 1. Fewer than four points give an empty result.
    static std::vector<CHQ_Point2D> CalcBezierCurve(const std::vector<CHQ_Point2D>& pts, int steps);
    // List variant kept for callers of the list interface: always an empty list.
    static std::list<CHQ_Point2D> CalcBezierCurve(const std::list<CHQ_Point2D>& pts, int steps);
    // Samples a cubic Bezier chain in double precision. Every segment emits
    // steps points for t = 0, 1/steps, ... (its end point is not emitted, so
    // the chain's last point is missing). Fewer than four points or steps <= 0
    // give an empty result.
    static std::vector<CHQ_Point2D> ComputeBeizerPts(const std::vector<CHQ_Point2D>& pts, int steps);
    // Offset from p1 of the control point after p1 on the curve p1 -> p2,
    // turned according to the angle at p1 between p1->p3 and p1->p2 (the
    // caller adds p1). (0, 0) when p1 and p3 coincide, or when that angle is
    // 0 or pi (straight continuation or fold-back).
    static CHQ_Point2D ComputeControlPoint_2_0_0(const CHQ_Point2D& p1, const CHQ_Point2D& p2,
                                                 const CHQ_Point2D& p3);
    // Closed 13-point Bezier chain of the kidney outline (a rounded blob)
    // through three points; two points get a third apex point to their left
    // (36 degree base angles). Any other count, or two coincident points,
    // gives an empty result.
    static std::vector<CHQ_Point2D> ComputeCtrPointsOfKidney(const std::vector<CHQ_Point2D>& pts);

    // ---- end of Bezier curves ----


    // ---- Arrow heads and line types -------------------------------------
    //
    // The line types turn key points into a Bezier chain (layout above):
    // n key points give 3n - 2 chain points when open, 3k + 1 when closed.
    // Inputs with fewer points than a builder needs give an empty result.

    // Arrow head at the last point E of a polyline, w being the unit of its
    // size: [tip E, first barb, notch, second barb]. The head is 12w long,
    // notched 8w deep and 2.5w wide on each side; a two-point line shorter
    // than 12w becomes a head of its own length (notch at 0.6, half width
    // 0.25 of it). Fewer than two points give an empty result.
    static std::vector<CHQ_Point2D> ComputeArrowPointsType(const std::vector<CHQ_Point2D>& pts, double w);
    // Open chain with tangents parallel to the chord of the neighbours.
    static std::vector<CHQ_Point2D> LineType_2_0_0(const std::vector<CHQ_Point2D>& pts);
    // Open chain with heuristic smooth tangents.
    static std::vector<CHQ_Point2D> LineType_2_0_1(const std::vector<CHQ_Point2D>& pts);
    // LineType_2_0_1 whose last segment is straight.
    static std::vector<CHQ_Point2D> LineType_2_1_3(const std::vector<CHQ_Point2D>& pts);
    // Closed smooth chain through the points; two points get a third vertex
    // (the second point turned 90 degrees counterclockwise about their midpoint).
    static std::vector<CHQ_Point2D> LineType_2_0_2(const std::vector<CHQ_Point2D>& pts);
    // Appends an open chain of 3n - 2 points with a straight last segment to
    // out (which is not cleared). Needs at least three points; otherwise
    // nothing is appended.
    static void LineType_2_1_6(const std::vector<CHQ_Point2D>& pts, std::vector<CHQ_Point2D>& out);
    // The kidney outline: exactly ComputeCtrPointsOfKidney.
    static std::vector<CHQ_Point2D> LineType_3_0_0(const std::vector<CHQ_Point2D>& pts);

    // ---- end of arrow heads ----


    // ---- Offset lines and mirrored split --------------------------------
    //
    // Offsets use x and y only; z of the vertex is carried over. "Left" is
    // the side reached by turning the direction of travel counterclockwise
    // (y up). Corners are mitred; the mitre of corners sharper than about 23
    // degrees is capped at 5w from the vertex.

    // Point at distance w left of the polyline a -> b -> c at its vertex b.
    static CHQ_Point3D computerLeftPoint(const CHQ_Point3D& a, const CHQ_Point3D& b, const CHQ_Point3D& c,
                                         float w);
    // Point at distance w right of a -> b -> c at b: computerLeftPoint(c, b, a, w).
    static CHQ_Point3D computerRightPoint(const CHQ_Point3D& a, const CHQ_Point3D& b,
                                          const CHQ_Point3D& c, float w);
    // Left offset polyline, one point per vertex; an open line is extended
    // straight at its ends. Fewer than two points give an empty result.
    static std::vector<CHQ_Point3D> computerLeftPoints(const std::vector<CHQ_Point3D>& pts, float w,
                                                       bool closed);
    // Right offset polyline, as computerLeftPoints.
    static std::vector<CHQ_Point3D> computerRightPoints(const std::vector<CHQ_Point3D>& pts, float w,
                                                        bool closed);
    // Left and right offsets of n plain points (w used in single precision).
    // left and right receive arrays of count points allocated with new[],
    // owned by the caller (delete[]); when count is 0 (n < 2 or pts null)
    // both are set to nullptr.
    static void computeLRPts(const CHQ_Point2D* pts, int n, double w, CHQ_Point2D*& left,
                             CHQ_Point2D*& right, int& count, bool closed);
    // Appends, point by point, the curve itself to first and its mirror image
    // across its chord (first to last point) to second; the end points are
    // moved w off the chord, as are interior points lying on it. Outputs are
    // appended to, not cleared. Fewer than two points or coincident first and
    // last points append nothing.
    static void spiltTwoLine(const std::vector<CHQ_Point2D>& pts, double w, std::vector<CHQ_Point2D>& first,
                             std::vector<CHQ_Point2D>& second);
    // The polyline without repeated vertices: a vertex is dropped when its
    // squared distance (x, y and z) from the input vertex before it is at
    // most 1e-10.
    static std::vector<CHQ_Point3D> processVerts(const std::vector<CHQ_Point3D>& pts);

    // ---- end of offset lines ----

private:
    // ---- Private helpers: plotting measures ----


    // ---- Private helpers: Bezier curves, arrow heads, offset lines ----

    // Control points [towards a, towards c] on both sides of b for a smooth
    // curve a -> b -> c.
    static std::vector<CHQ_Point2D> ComputeControlPoint(const CHQ_Point2D& a, const CHQ_Point2D& b,
                                                        const CHQ_Point2D& c);
    // One control point beside b, on the side of the segment b -> c.
    static CHQ_Point2D ComputeControlPointA(const CHQ_Point2D& a, const CHQ_Point2D& b, const CHQ_Point2D& c);
    // Closed 13-point kidney chain through exactly three points.
    static std::vector<CHQ_Point2D> ComputeBezierCtrPointFs(const std::vector<CHQ_Point2D>& pts);

    // ---- end of private helpers ----
};

} // namespace HQ

#endif

// SPDX-License-Identifier: Apache-2.0
// CHQGS_MathUtilityFunctions: geomkit's static plotting mathematics.
//
// Points are CHQ_Point2D, lists are std::vector<CHQ_Point2D>, angles are in
// degrees unless a name says radians. Several results are deliberately
// rounded to single precision, or use single-precision values of pi, 180/pi
// and pi/180: stored symbols were computed that way and must be reproduced
// bit for bit. No function throws; degenerate input answers a neutral value.
//
// Sections and their source files (geomkit/src):
//   Plotting measures (and their private helper) .. MathUtilityMeasures.cpp
//   Great-circle measures ......................... MathUtilitySphere.cpp
//   Percent positions and path sampling ........... MathUtilityPercent.cpp
//   Bezier curves and control points (and helpers)  MathUtilityCurves.cpp
//   Arrow heads and line types .................... MathUtilityArrows.cpp
//   Offset lines and mirrored split ............... MathUtilityOffsets.cpp
//   Mesh helpers (and the wall indices) ........... MathUtilityMesh.cpp
//   Text tessellation ............................. MathUtilityTextTessellation.cpp
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
    //
    // Single-precision constants used below: DEG_F = pi/180, RAD_F = 180/pi,
    // PI_F = pi and TWO_PI_F = 2*pi, each rounded to float and used as a
    // double. "Coincide" means both coordinate differences are <= 1e-6.

    // d * DEG_F and r * RAD_F.
    static double DegreeToRadian(double degrees);
    static double RadianToDegree(double radians);
    // |a - b| <= tol.
    static bool EqualFuzzy(double a, double b, double tol);

    // Plane distance; the 3-D overload ignores z.
    static double ComputeDistance(const CHQ_Point2D& p, const CHQ_Point2D& q);
    static double ComputeDistance(const CHQ_Point3D& p, const CHQ_Point3D& q);
    // Length of the polyline; 0 for fewer than two points.
    static double ComputeDistance(const std::vector<CHQ_Point2D>& pts);
    // Midpoint of p and q.
    static CHQ_Point2D ComputeCenterPos(const CHQ_Point2D& p, const CHQ_Point2D& q);
    // Mean point, summed and divided in single precision; (NaN, NaN) for an
    // empty list.
    static CHQ_Point2D ComputeCenterPos(const std::vector<CHQ_Point2D>& pts);
    // Centre of the circle through a, b, c; collinear points give
    // non-finite coordinates.
    static CHQ_Point2D ComputeCircleCentre(const CHQ_Point2D& a, const CHQ_Point2D& b, const CHQ_Point2D& c);
    // Distance from p to the infinite line through a and b; foot receives the
    // foot of the perpendicular. When a and b are the same point, foot = a and
    // the result is |p - a|.
    static double ptToLineDis(const CHQ_Point2D& p, const CHQ_Point2D& a, const CHQ_Point2D& b,
                              CHQ_Point2D& foot);

    // Points derived from the segment p -> q. The unit direction of p -> q
    // is the zero vector when p and q are the same point, so those results
    // then collapse onto p (or q).
    // p when dist <= 0, otherwise p + dist * direction (may lie beyond q).
    static CHQ_Point2D ComputeRatioPoint(const CHQ_Point2D& p, const CHQ_Point2D& q, double dist);
    // p + dist * direction, for any dist.
    static CHQ_Point2D ComputeRightPoint(const CHQ_Point2D& p, const CHQ_Point2D& q, double dist);
    // p - dist * direction: the point behind p.
    static CHQ_Point2D ComputeLeftPoint(const CHQ_Point2D& p, const CHQ_Point2D& q, double dist);
    // (p + k q) / (1 + k); k = -1 divides by zero.
    static CHQ_Point2D ComputeRatioPointF(const CHQ_Point2D& p, const CHQ_Point2D& q, double k);
    // The point dividing p -> q in the ratio r : |p - q|; p when p and q are
    // closer than 1e-6.
    static CHQ_Point2D ComputeLinePoint(const CHQ_Point2D& p, const CHQ_Point2D& q, double r);
    // (c.x + rx cos a, c.y + ry sin a) with a = angleDeg * DEG_F.
    static CHQ_Point2D CircleOnPoint(const CHQ_Point2D& c, double rx, double ry, double angleDeg);
    // The two points at distance w beside q across p -> q: [left, right] in a
    // y-up frame (the direction turned by 1.5707963 rad, not exactly pi/2).
    static std::vector<CHQ_Point2D> ComputeLRPt(const CHQ_Point2D& p, const CHQ_Point2D& q, float w);
    static CHQ_Point2D ComputeLPt(const CHQ_Point2D& p, const CHQ_Point2D& q, float w);
    static CHQ_Point2D ComputeRPt(const CHQ_Point2D& p, const CHQ_Point2D& q, float w);
    // The two points at distance w beside q across p -> q; first is the one
    // to the right of p -> q in a y-up frame, second the one to the left.
    static void ComputeLRPoint(const CHQ_Point2D& p, const CHQ_Point2D& q, float w, CHQ_Point2D& first,
                               CHQ_Point2D& second);
    // The two points on the line p q at distance dist from p: [the one away
    // from q, the one towards q].
    static std::vector<CHQ_Point2D> ComputeLeftRightPointF(const CHQ_Point2D& p, const CHQ_Point2D& q,
                                                           double dist);

    // Direction p -> q in degrees from +y towards +x, in (-270, 90] (computed
    // with PI_F); 0 when p and q are closer than 1e-6.
    static double GetAngle(const CHQ_Point2D& p, const CHQ_Point2D& q);
    // Direction p -> q in degrees counterclockwise from +x, in [0, 360).
    static double GetAngleEx(const CHQ_Point2D& p, const CHQ_Point2D& q);
    // atan(|b - a| / |c - b|) in degrees; 0 when a, b and c are one point.
    static double GetAngleEx(const CHQ_Point2D& a, const CHQ_Point2D& b, const CHQ_Point2D& c);
    // Unsigned angle at o between o -> p and o -> q, degrees in [0, 180],
    // rounded to single precision; 0 when two of the points coincide.
    static double GetIntersectingAngle(const CHQ_Point2D& o, const CHQ_Point2D& p, const CHQ_Point2D& q);
    // Side of p relative to the line a -> b, rounded to single precision:
    // positive on the right in a y-up frame, negative on the left, 0 on it.
    static double JudgePointPos(const CHQ_Point2D& p, const CHQ_Point2D& a, const CHQ_Point2D& b);

    // The offset v turned counterclockwise by angleDeg and placed at c.
    static CHQ_Point2D RotatePoint(const CHQ_Point2D& c, const CHQ_Point2D& v, double angleDeg);
    // p turned about c clockwise (y-up frame) by angleDeg, computed with PI_F;
    // both coordinates rounded to single precision.
    static CHQ_Point2D PointRotate(CHQ_Point2D p, CHQ_Point2D c, double angleDeg);

    // A x + B y + C = 0 through (x1, y1) and (x2, y2); the outputs are left
    // untouched when the two points coincide.
    static void CoefficientsOfDualisticOnceEqu(double x1, double y1, double x2, double y2, double& A,
                                               double& B, double& C);
    // Intersection of the infinite lines a1a2 and b1b2; false (out untouched)
    // when they are parallel or one of them is a single point.
    static bool IntersectLines(CHQ_Point2D& out, const CHQ_Point2D& a1, const CHQ_Point2D& a2,
                               const CHQ_Point2D& b1, const CHQ_Point2D& b2);
    // As IntersectLines, but the intersection must lie on both segments (the
    // x-ranges, and for a segment vertical within 1e-6 its y-range). out.x is
    // written even when false is returned for a point outside the segments.
    static bool IntersectLinesSegment(CHQ_Point2D& out, const CHQ_Point2D& a1, const CHQ_Point2D& a2,
                                      const CHQ_Point2D& b1, const CHQ_Point2D& b2);

    // True when pt lies on the polyline: within 2 * tol of a vertex in both
    // coordinates, or strictly between the ends of a segment (the cosine of
    // the angle at pt within tol / 100 of -1). False for fewer than 2 points.
    static bool IsPointOnLine(const CHQ_Point2D& pt, const std::vector<CHQ_Point2D>& line, double tol);
    // Crossing-number test (half-open: lower/left borders inside, upper/right
    // outside); false for an empty polygon.
    static bool IsPointOnPolygon(const CHQ_Point2D& pt, const std::vector<CHQ_Point2D>& polygon);

    // A copy in reverse order.
    static std::vector<CHQ_Point2D> ReversePoint(const std::vector<CHQ_Point2D>& pts);

    // ---- end of plotting measures ----

    // ---- Great-circle measures ------------------------------------------
    //
    // Measures on a sphere.

    // Initial bearing from 1 to 2 (degrees in, degrees out), clockwise from
    // north in (0, 360]: due north is 359.99999025..., not 0.
    static double Azimuth(double lon1, double lat1, double lon2, double lat2);
    // Initial bearing in radians, (-pi, pi].
    static double bearing(double lat1, double lon1, double lat2, double lon2);
    // Haversine distance (angles in radians) on a sphere of radius R.
    static double distance(double lat1, double lon1, double lat2, double lon2, double R);
    // The point reached from (lat1, lon1) after dist along the bearing theta
    // (radians) on a sphere of radius R.
    static void destination(double lat1, double lon1, double theta, double dist, double& lat2, double& lon2,
                            double R);
    // Latitude/longitude (degrees) of the normalised mean of the two points'
    // unit vectors. Always true; for antipodal points the answer is arbitrary.
    static bool sphericalMiddle(double lat1, double lon1, double lat2, double lon2, double& lat, double& lon);
    // Centre (degrees) of the small circle through three points; false, with
    // lat and lon untouched, for coincident points.
    static bool sphericalCircleCenter(double lat1, double lon1, double lat2, double lon2, double lat3,
                                      double lon3, double& lat, double& lon);

    // ---- end of great-circle measures ----

    // ---- Percent positions and path sampling ----------------------------
    //
    // Fractions are of the polyline's total length, expected in ascending
    // order within [0, 1]. For each fraction one position and one travel
    // direction (unit vector, single precision) are appended to the out
    // vectors, in the order of the fractions; a fraction outside [0, 1]
    // answers (0, 0) for both and does not split the line. The result is the
    // list of pieces between consecutive split points (the ends of the line
    // count as split points unless the first fraction is 0 or the last is 1;
    // a last fraction that lands on the end without being 1 leaves a final
    // one-point piece). A fraction smaller than an earlier one still
    // gets its position and direction but does not split the line. An empty
    // list of fractions answers nothing; an empty polyline answers no pieces
    // and (0, 0) positions; a zero-length segment has direction (0, 0).
    // Cost: linear in the points for the walk, plus a binary search over the
    // points for each fraction smaller than an earlier one.
    static std::vector<std::vector<CHQ_Point2D>> GetPercentPos(const std::vector<CHQ_Point2D>& line,
                                                               const std::vector<float>& fractions,
                                                               std::vector<CHQ_Point2D>& positions,
                                                               std::vector<CHQ_Point2D>& directions);
    // The position at one fraction ((0, 0) outside [0, 1]).
    static void GetPercentPos(const std::vector<CHQ_Point2D>& line, float fraction, CHQ_Point2D& position);
    // Samples the path at t = 0, step, 2 step, ... (t in single precision)
    // while t < 1, then at 1; every point comes back with x and y exchanged.
    // An empty list for a step below 2^-24 (about 6e-8), with which t could
    // never reach 1 (0, negative and NaN steps included). The path is the one of
    // the path module (pathalgo/PrimitiveAlgorithmPath.h).
    static std::vector<CHQ_Point2D> calculatePointsOnPainterPathOfArc(class CPrimitiveAlgorithmPath& path,
                                                                      double step);

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
    // (the second point turned 90 degrees counterclockwise about their midpoint);
    // one point gives four copies of it, no points an empty result.
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
    static CHQ_Point3D computerRightPoint(const CHQ_Point3D& a, const CHQ_Point3D& b, const CHQ_Point3D& c,
                                          float w);
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
    static void computeLRPts(const CHQ_Point2D* pts, int n, double w, CHQ_Point2D*& left, CHQ_Point2D*& right,
                             int& count, bool closed);
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

    // ---- Mesh helpers ---------------------------------------------------

    // Smooth per-vertex normals of an indexed triangle mesh, one per point,
    // unit length (or (0, 0, 0) for a point no proper triangle touches).
    // Face normals are e1 x e2 (e2 x e1 when reverse is true) of each index
    // triple, normalised, and added to each corner's sum unless that sum
    // already equals the face normal exactly. Triangles with a negative or
    // too large index, and a trailing partial triple, are skipped.
    static std::vector<CHQ_Point3D> ComputeNormals(const std::vector<CHQ_Point3D>& points,
                                                   const std::vector<int>& indices, bool reverse);

    // ---- end of mesh helpers ----

    // ---- Text tessellation ----------------------------------------------

    // Triangle mesh of text contours (for example from CHQGS_UtilityText,
    // in its units) as a slab of the given thickness centred on z = 0: the front
    // face at z = +thickness/2 and, when |thickness/2| exceeds 1e-6, the
    // back face at -thickness/2 and one side wall per contour.
    // Outputs are replaced: vertices, three indices per triangle, one normal
    // per vertex. Uses the process-wide tessellator (not thread safe) and
    // leaves the contours in it. Contours are filled by the positive winding
    // rule. Answers false with empty outputs when a contour has fewer than two
    // points, or a point or the thickness is not a finite number; otherwise
    // true, even when the face tessellates to nothing.
    static bool ComputeTextTessellation(const std::vector<std::vector<CHQ_Point2D>>& contours,
                                        double thickness, std::vector<CHQ_Point3D>& vertices,
                                        std::vector<int>& indices, std::vector<CHQ_Point3D>& normals);
    // Only the face, at z = +thickness/2, with the tessellator's winding.
    static bool ComputeTextTessellationFace(const std::vector<std::vector<CHQ_Point2D>>& contours,
                                            double thickness, std::vector<CHQ_Point3D>& vertices,
                                            std::vector<int>& indices, std::vector<CHQ_Point3D>& normals);

    // ---- end of text tessellation ----

private:
    // ---- Private helpers: plotting measures ----

    // Unsigned angle at o between o -> p and o -> q in degrees (computed with
    // PI_F), rounded to single precision; 0 when either arm is shorter than
    // about 1e-6.
    static double ComputeNipAngle(const CHQ_Point2D& o, const CHQ_Point2D& p, const CHQ_Point2D& q);

    // ---- Private helpers: Bezier curves, arrow heads, offset lines ----

    // Control points [towards a, towards c] on both sides of b for a smooth
    // curve a -> b -> c.
    static std::vector<CHQ_Point2D> ComputeControlPoint(const CHQ_Point2D& a, const CHQ_Point2D& b,
                                                        const CHQ_Point2D& c);
    // One control point beside b, on the side of the segment b -> c.
    static CHQ_Point2D ComputeControlPointA(const CHQ_Point2D& a, const CHQ_Point2D& b, const CHQ_Point2D& c);
    // Closed 13-point kidney chain through exactly three points.
    static std::vector<CHQ_Point2D> ComputeBezierCtrPointFs(const std::vector<CHQ_Point2D>& pts);

    // ---- Private helpers: mesh ----

    // Side-wall indices between ring 0..n-1 and ring n..2n-1 (point n + i
    // above point i): 6n entries when closed and n >= 3, else 6n - 6; count
    // receives the number. The caller frees the array with delete[]; null
    // (count 0) when n < 2.
    static int* CreatePlaneIndice(int n, int& count, bool closed);

    // ---- end of private helpers ----
};

}  // namespace HQ

#endif

// SPDX-License-Identifier: Apache-2.0
// CHQGS_UtilityTessellation: turns closed contours (outer rings and holes)
// into a triangle list through the system's polygon tessellator.
//
// Contours are added one by one and tessellated together under the positive
// winding rule: a region is filled where the contours wind around it a
// positive number of times, with the plane's orientation taken from the
// contours themselves. A hole must therefore be wound opposite to its outer
// ring; a ring wound like the outer one adds to it instead of cutting it out.
//
// Large input. From 2,000 contour points on, contours that are simple and
// disjoint are triangulated by a constrained Delaunay triangulation (the
// vendored CDT library) instead, in n log n time: a jagged star of 100,000
// points takes well under a second there, against half a minute in the
// system tessellator, whose sweep grows faster than the square of the point
// count on such outlines. Taken when: all points have one z; after dropping
// repeated consecutive points (a ring closed by repeating its first point
// included) and contours of fewer than three points, no two points are
// equal and no two edges cross, touch or overlap (decided exactly); all
// coordinates are at most 1e60 in magnitude; the contours' signed areas do
// not sum to zero. The filled region, the winding rule and the facing are
// the system tessellator's (rings wound alike nest and fill, opposite rings
// cut holes, a ring inside another wound the same way stays filled; the
// plane faces so that the contours' total area is positive, triangles run
// counter-clockwise seen from that side). What differs: each vertex comes
// once in the vertex list and triangles are Delaunay. Everything else
// (fewer points, several z, touching or self-intersecting contours, which
// need the tessellator's intersection vertices) goes to the system
// tessellator as before. Switch point: on this project's benchmark machine
// the system tessellator is faster below about 2,000 points (1,000-point
// star: 1.3 ms against 1.6 ms) and slower above (4,000: 13 ms against 7 ms;
// 10,000: 75 ms against 21 ms); glyph outlines, with tens to a few hundred
// points, stay well below it. Self-intersecting input is not routed through
// the library's intersection-resolving mode: its new vertices are placed in
// floating point without the tessellator's guarantees, so the region could
// differ; such input keeps the system tessellator at any size (1,000
// crossing vertices take about a second, 10,000 over a minute).
//
// Output: a vertex list (the contour points as the tessellator emits them,
// plus any intersection points it creates, each repeated once per primitive
// that uses it) and an index list with three entries per triangle into that
// vertex list. Triangle strips and fans are converted to plain triangles.
//
// State: all working state is class-wide, so there is one tessellator per
// process. Use it from one thread at a time only. The singleton returned by
// getInstance lives until the process ends; callers never delete it.
//
// Failure: degenerate input (no contour, fewer than three points, no area)
// and tessellator errors (a coordinate beyond the tessellator's limit of
// 1e150, a coordinate that is not a finite number, memory exhausted) make
// tesselated answer false with both outputs empty. Coordinates that are not
// finite numbers are refused before the tessellator sees them. A call that
// fails on an error writes one line "CHQGS_UtilityTessellation Error: <text>"
// to the standard error stream (the first error of the call: the
// tessellator's error text, or "coordinate is not a finite number"), however
// many vertices are at fault; degenerate input writes nothing. The process
// goes on.
#ifndef GEOMKIT_UTILITYTESSELLATION_H
#define GEOMKIT_UTILITYTESSELLATION_H

#include <geomkit/GeomkitExport.h>
#include <geomkit/Point2D.h>
#include <geomkit/Point3D.h>

#include <vector>

namespace HQ {

class GEOMKIT_API CHQGS_UtilityTessellation {
public:
    // The process-wide tessellator, created on the first call.
    static CHQGS_UtilityTessellation* getInstance();
    virtual ~CHQGS_UtilityTessellation() {}

    // Forgets every contour and empties the last run's outputs.
    void init();
    // Appends a copy of the contour; 2-D points get z = 0. Contours stay
    // until init or ClearContour, so a later tesselated uses them again.
    void addContour(std::vector<CHQ_Point3D> contour);
    void addContour(std::vector<CHQ_Point2D> contour);
    // Forgets every contour; the last run's outputs stay.
    void ClearContour();
    std::vector<std::vector<CHQ_Point3D>> getContours();

    // Tessellates every stored contour. On success vertices and indices are
    // replaced by the triangle list and true is answered; otherwise both are
    // emptied and false is answered.
    bool tesselated(std::vector<CHQ_Point3D>& vertices, std::vector<int>& indices);
    // The same for the one contour given; the stored contours are untouched.
    bool tesselated(std::vector<CHQ_Point3D> contour, std::vector<CHQ_Point3D>& vertices,
                    std::vector<int>& indices);

protected:
    CHQGS_UtilityTessellation();

    // Tessellator callbacks (standard signatures; type and error are GL/GLU
    // enumerants, data pointers are six-double vertex blocks x, y, z, 1, 0, 0).
    static void beginCallback(unsigned int type);
    static void vertexCallback(void* data);
    static void combineCallback(double coords[3], void* neighbours[4], float weights[4], void** out);
    static void endCallback();
    static void errorCallback(unsigned int errorCode);

    static CHQGS_UtilityTessellation* instance;
    static std::vector<std::vector<CHQ_Point3D>> m_contours;
    static std::vector<CHQ_Point3D> m_vertexs;    // output vertices of the current run
    static std::vector<int> m_indexs;             // three per triangle into m_vertexs
    static std::vector<CHQ_Point3D> m_tempverts;  // vertices of the primitive being emitted
    static int triangleMode;                      // GL primitive type of the current primitive
    static double currentWinding;                 // winding rule: positive (100132)

private:
    static bool run(const std::vector<std::vector<CHQ_Point3D>>& contours, std::vector<CHQ_Point3D>& vertices,
                    std::vector<int>& indices);
};

}  // namespace HQ

#endif

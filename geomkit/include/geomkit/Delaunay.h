// SPDX-License-Identifier: Apache-2.0
// CHQGS_Delaunay: turns a closed outline into the input record of a
// constrained Delaunay triangulator and reads the triangulator's output
// record back as points and triangle indices.
//
// Pipeline:
//   CHQGS_Delaunay d;
//   std::vector<CHQ_Point3D> outline = d.Init(points); // distinct points, z dropped
//   d.Triangulate();      // or a host triangulator on GetInRecord()/GetOutRecord()
//   d.Compute(pts, idx);  // pts: (x, y, 0) per output point; idx: corners of each triangle
//
// Records (triangulateio) have the field layout that C triangulators of the
// plane read and write: 64-bit pointers, double reals, 32-bit int integers.
//
// Memory of the records. The object owns every array reachable from its two
// records and releases it with free():
//   - the arrays Init allocates in the input record;
//   - the arrays a triangulator stores in the output record (ours does so with
//     malloc; a host triangulator writing these records must use malloc too,
//     and hands the arrays over by storing them);
//   - any array a host stores in the input record.
// Arrays are released by the next Init and by the destructor. Copies of an
// object share its arrays (pointers are copied, not the data); the arrays of
// a record stay valid while any copy that holds that record lives, and are
// released once, by the last one. Callers never free record arrays; to keep
// the data beyond the object's life, copy it out (Compute does).
//
// Sections and their source files (geomkit/src):
//   CHQGS_Delaunay and the memory of its records ... Delaunay.cpp (record
//                                                     helpers: TriangleRecord.h)
//   TriangulateOutline .............................. OutlineTriangulator.cpp
//                                                     (CDT wrapper: ConstrainedTriangulation.h)
#ifndef GEOMKIT_DELAUNAY_H
#define GEOMKIT_DELAUNAY_H

#include <geomkit/GeomkitExport.h>
#include <geomkit/Point3D.h>

#include <memory>
#include <vector>

namespace HQ {

// The triangulator record, field for field. Arrays hold per-item values one
// item after another (x and y interleaved for points, two ends per segment,
// corners per triangle, and so on); a null pointer means "absent".
struct triangulateio {
    double* pointlist;           // 2 per point
    double* pointattributelist;  // numberofpointattributes per point
    int* pointmarkerlist;        // 1 per point
    int numberofpoints;
    int numberofpointattributes;

    int* trianglelist;              // numberofcorners per triangle
    double* triangleattributelist;  // numberoftriangleattributes per triangle
    double* trianglearealist;       // 1 per triangle
    int* neighborlist;              // 3 per triangle
    int numberoftriangles;
    int numberofcorners;
    int numberoftriangleattributes;

    int* segmentlist;        // 2 per segment
    int* segmentmarkerlist;  // 1 per segment
    int numberofsegments;

    double* holelist;  // 2 per hole
    int numberofholes;

    double* regionlist;  // 4 per region
    int numberofregions;

    int* edgelist;        // 2 per edge
    int* edgemarkerlist;  // 1 per edge
    double* normlist;     // 2 per edge
    int numberofedges;
};

// Fills out with a constrained Delaunay triangulation of the closed outline
// described by in: its points (2-D) joined by its segments, which must form
// one closed loop through every point (without segments the points are taken
// in order as the loop). Only triangles inside the outline are produced,
// counter-clockwise, three corners each; the output points are the input
// points in their order (with their attributes), the output segments the
// input segments. The outline's edges are kept as triangle edges and every
// other edge is Delaunay (no point visible from a triangle lies inside its
// circumcircle). One loop only: the record's hole list is not read.
//
// Accepted: at least 3 points, coordinates finite and of magnitude at most
// 1e60, a simple polygon of non-zero area (points on one line are accepted
// as corners of a straight stretch). Refused with false, out left cleared
// (all arrays absent, all counts 0): fewer than 3 points, segments that do
// not form one loop, two equal points, crossing edges, an edge touching a
// point or edge other than its neighbours' common corner (self-touching,
// folding back), all points on one line, coordinates that are not finite or
// beyond 1e60. The decisions use exact orientation and in-circle
// predicates, so near-degenerate outlines are judged correctly, and no input
// can make the triangulation crash or loop.
//
// Out's previous pointers are overwritten, not freed: pass a cleared record
// (as Init leaves the output record) or use CHQGS_Delaunay::Triangulate.
// Output arrays are allocated with malloc; their owner frees them with free().
// Time grows as n log n (the vendored constrained Delaunay library, CDT):
// about 0.25 s for a jagged outline of 64,000 points.
GEOMKIT_API bool TriangulateOutline(const triangulateio& in, triangulateio& out);

class GEOMKIT_API CHQGS_Delaunay {
public:
    CHQGS_Delaunay();
    CHQGS_Delaunay(const CHQGS_Delaunay& other);
    CHQGS_Delaunay& operator=(const CHQGS_Delaunay& other);
    virtual ~CHQGS_Delaunay();

    // Removes repeated points (of equal points the last one is kept, order
    // otherwise unchanged) and answers the rest. With at least 3 points left
    // it fills the input record (x, y of each point, one attribute 0.04 per
    // point, the closed outline as segments (0,1) ... (n-1,0) with markers 0),
    // clears the output record and marks the object ready; otherwise it
    // clears the ready mark and leaves the records as they were.
    std::vector<CHQ_Point3D> Init(std::vector<CHQ_Point3D> points);

    // Runs TriangulateOutline from the input record into the output record.
    // The arrays the output record held before stay owned by the object
    // (copies may still use them) and are released with its other arrays.
    // False when not ready or when the outline cannot be triangulated (the
    // output record is then empty).
    bool Triangulate();

    // False, lists untouched, when not ready. Otherwise replaces points by
    // the output record's points as (x, y, 0) and indices by the corners of
    // its triangles, and answers true (two empty lists when the output record
    // is empty, as right after Init).
    bool Compute(std::vector<CHQ_Point3D>& points, std::vector<int>& indices);

    // The records, for a host triangulator that runs between Init and Compute.
    triangulateio& GetInRecord() { return inRecord; }
    triangulateio& GetOutRecord() { return outRecord; }

private:
    struct ArrayOwner;
    void adoptArrays() const;
    void releaseArrays();

    bool m_valid;
    triangulateio inRecord;
    triangulateio outRecord;
    // Owner of the arrays of the records, shared with copies.
    std::shared_ptr<ArrayOwner> m_arrays;
};

}  // namespace HQ

#endif

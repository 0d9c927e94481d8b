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


    // ---- end of Bezier curves ----


    // ---- Arrow heads and line types -------------------------------------


    // ---- end of arrow heads ----


    // ---- Offset lines and mirrored split --------------------------------


    // ---- end of offset lines ----


    // ---- Mesh normals and text tessellation -----------------------------

    // Smooth per-vertex normals of an indexed triangle mesh, one per point,
    // unit length (or (0, 0, 0) for a point no proper triangle touches).
    // Face normals are e1 x e2 (e2 x e1 when reverse is true) of each index
    // triple, normalised, and added to each corner's sum unless that sum
    // already equals the face normal exactly. Triangles with a negative or
    // too large index, and a trailing partial triple, are skipped.
    static std::vector<CHQ_Point3D> ComputeNormals(const std::vector<CHQ_Point3D>& points,
                                                   const std::vector<int>& indices, bool reverse);

    // Triangle mesh of text contours (for example from CHQGS_UtilityText,
    // in its units) as a slab of the given thickness centred on z = 0: the front
    // face at z = +thickness/2 and, when the thickness is not 0 (beyond
    // 1e-6), the back face at -thickness/2 and one side wall per contour.
    // Outputs are replaced: vertices, three indices per triangle, one normal
    // per vertex. Uses the process-wide tessellator (not thread safe) and
    // leaves the contours in it. Contours are filled by the positive winding
    // rule. Answers false with empty outputs when a contour has fewer than two
    // points; otherwise true, even when the face tessellates to nothing.
    static bool ComputeTextTessellation(const std::vector<std::vector<CHQ_Point2D>>& contours, double thickness,
                                        std::vector<CHQ_Point3D>& vertices, std::vector<int>& indices,
                                        std::vector<CHQ_Point3D>& normals);
    // Only the face, at z = +thickness/2, with the tessellator's winding.
    static bool ComputeTextTessellationFace(const std::vector<std::vector<CHQ_Point2D>>& contours,
                                            double thickness, std::vector<CHQ_Point3D>& vertices,
                                            std::vector<int>& indices, std::vector<CHQ_Point3D>& normals);

    // ---- end of mesh normals ----

private:
    // ---- Private helpers: plotting measures ----


    // ---- Private helpers: Bezier curves, arrow heads, offset lines ----


    // ---- Private helpers: mesh ----

    // Side-wall indices between ring 0..n-1 and ring n..2n-1 (point n + i
    // above point i): 6n entries when closed and n >= 3, else 6n - 6; count
    // receives the number. The caller frees the array with delete[]; null
    // (count 0) when n < 2.
    static int* CreatePlaneIndice(int n, int& count, bool closed);

    // ---- end of private helpers ----
};

} // namespace HQ

#endif

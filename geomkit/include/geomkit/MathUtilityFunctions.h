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

private:
    // ---- Private helpers: plotting measures ----


    // ---- Private helpers: Bezier curves, arrow heads, offset lines ----


    // ---- end of private helpers ----
};

} // namespace HQ

#endif

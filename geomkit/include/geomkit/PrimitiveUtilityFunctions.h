// SPDX-License-Identifier: Apache-2.0
// CHQGS_PrimitiveUtilityFunctions: positions at fractions of the length of a
// polyline or of a path of the path module, and sampling of paths into
// point lists.
//
// Fractions are of the total length, expected in ascending order within
// [0, 1]. The polyline forms behave exactly as
// CHQGS_MathUtilityFunctions::GetPercentPos (see there for the results of
// unusual input). A path is first sampled at 101 points (fractions 0, 0.01,
// ..., 0.99 and 1) and then treated as that polyline. Paths are borrowed,
// never kept; they are not const because sampling may complete pending
// elements of the path. No function throws.
#ifndef GEOMKIT_PRIMITIVEUTILITYFUNCTIONS_H
#define GEOMKIT_PRIMITIVEUTILITYFUNCTIONS_H

#include <geomkit/GeomkitExport.h>
#include <geomkit/Point2D.h>

#include <vector>

namespace HQ {

class CPrimitiveAlgorithmPath;  // pathalgo/PrimitiveAlgorithmPath.h

class GEOMKIT_API CHQGS_PrimitiveUtilityFunctions {
public:
    CHQGS_PrimitiveUtilityFunctions() {}
    CHQGS_PrimitiveUtilityFunctions& operator=(const CHQGS_PrimitiveUtilityFunctions&) { return *this; }
    ~CHQGS_PrimitiveUtilityFunctions() {}

    // Positions and travel directions (unit vectors, single precision) at the
    // fractions are appended to the out vectors, one each per fraction;
    // returns the pieces of the sampled path between them.
    static std::vector<std::vector<CHQ_Point2D> > GetPercentPos(CPrimitiveAlgorithmPath& path,
                                                                std::vector<float> fractions,
                                                                std::vector<CHQ_Point2D>& positions,
                                                                std::vector<CHQ_Point2D>& directions);
    // The same without the directions.
    static std::vector<std::vector<CHQ_Point2D> > GetPercentPos(CPrimitiveAlgorithmPath& path,
                                                                std::vector<float> fractions,
                                                                std::vector<CHQ_Point2D>& positions);
    // The position at one fraction of the sampled path ((0, 0) outside [0, 1]).
    static void GetPercentPos(CPrimitiveAlgorithmPath& path, float fraction, CHQ_Point2D& position);

    // Polyline forms, identical to those of CHQGS_MathUtilityFunctions.
    static std::vector<std::vector<CHQ_Point2D> > GetPercentPos(std::vector<CHQ_Point2D> line,
                                                                const std::vector<float>& fractions,
                                                                std::vector<CHQ_Point2D>& positions,
                                                                std::vector<CHQ_Point2D>& directions);
    static void GetPercentPos(std::vector<CHQ_Point2D> line, float fraction, CHQ_Point2D& position);

    // Sample the path at t = 0, step, 2 step, ... (t kept in single
    // precision) while t < 1, then at 1. The arc form exchanges x and y of
    // every point; the circle and line forms keep them. A step below 2^-24
    // (about 6e-8; 0, negative and NaN steps included), with which t could
    // never reach 1, answers an empty list.
    static std::vector<CHQ_Point2D> calculatePointsOnPainterPathOfArc(CPrimitiveAlgorithmPath& path,
                                                                      double step);
    static std::vector<CHQ_Point2D> calculatePointsOnPainterPathofCircle(CPrimitiveAlgorithmPath& path,
                                                                         double step);
    static std::vector<CHQ_Point2D> calculatePointsOnPainterPathofLine(CPrimitiveAlgorithmPath& path,
                                                                       double step);
};

}  // namespace HQ

#endif

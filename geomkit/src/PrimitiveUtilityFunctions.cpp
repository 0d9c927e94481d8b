// SPDX-License-Identifier: Apache-2.0
// Percent positions on polylines and on paths of the path module, and the
// sampling of paths into point lists.
#include <geomkit/MathUtilityFunctions.h>
#include <geomkit/PrimitiveUtilityFunctions.h>

#include "PathSampling.h"

namespace HQ {

using PieceList = std::vector<std::vector<CHQ_Point2D> >;

PieceList CHQGS_PrimitiveUtilityFunctions::GetPercentPos(CPrimitiveAlgorithmPath& path,
                                                         std::vector<float> fractions,
                                                         std::vector<CHQ_Point2D>& positions,
                                                         std::vector<CHQ_Point2D>& directions) {
    return CHQGS_MathUtilityFunctions::GetPercentPos(pathsampling::Hundredths(path), fractions, positions,
                                                     directions);
}

PieceList CHQGS_PrimitiveUtilityFunctions::GetPercentPos(CPrimitiveAlgorithmPath& path,
                                                         std::vector<float> fractions,
                                                         std::vector<CHQ_Point2D>& positions) {
    std::vector<CHQ_Point2D> directions;
    return GetPercentPos(path, fractions, positions, directions);
}

void CHQGS_PrimitiveUtilityFunctions::GetPercentPos(CPrimitiveAlgorithmPath& path, float fraction,
                                                    CHQ_Point2D& position) {
    CHQGS_MathUtilityFunctions::GetPercentPos(pathsampling::Hundredths(path), fraction, position);
}

PieceList CHQGS_PrimitiveUtilityFunctions::GetPercentPos(std::vector<CHQ_Point2D> line,
                                                         const std::vector<float>& fractions,
                                                         std::vector<CHQ_Point2D>& positions,
                                                         std::vector<CHQ_Point2D>& directions) {
    return CHQGS_MathUtilityFunctions::GetPercentPos(line, fractions, positions, directions);
}

void CHQGS_PrimitiveUtilityFunctions::GetPercentPos(std::vector<CHQ_Point2D> line, float fraction,
                                                    CHQ_Point2D& position) {
    CHQGS_MathUtilityFunctions::GetPercentPos(line, fraction, position);
}

std::vector<CHQ_Point2D> CHQGS_PrimitiveUtilityFunctions::calculatePointsOnPainterPathOfArc(
    CPrimitiveAlgorithmPath& path, double step) {
    return pathsampling::ByStep(path, step, true);
}

std::vector<CHQ_Point2D> CHQGS_PrimitiveUtilityFunctions::calculatePointsOnPainterPathofCircle(
    CPrimitiveAlgorithmPath& path, double step) {
    return pathsampling::ByStep(path, step, false);
}

std::vector<CHQ_Point2D> CHQGS_PrimitiveUtilityFunctions::calculatePointsOnPainterPathofLine(
    CPrimitiveAlgorithmPath& path, double step) {
    return pathsampling::ByStep(path, step, false);
}

}  // namespace HQ

// Percent positions on polylines and on paths of the path module, and the
// sampling of paths into point lists.
#include <geomkit/MathUtilityFunctions.h>
#include <geomkit/PrimitiveUtilityFunctions.h>

namespace HQ {

std::vector<std::vector<CHQ_Point2D> > CHQGS_PrimitiveUtilityFunctions::GetPercentPos(
    std::vector<CHQ_Point2D> line, const std::vector<float>& fractions, std::vector<CHQ_Point2D>& positions,
    std::vector<CHQ_Point2D>& directions) {
    return CHQGS_MathUtilityFunctions::GetPercentPos(line, fractions, positions, directions);
}

void CHQGS_PrimitiveUtilityFunctions::GetPercentPos(std::vector<CHQ_Point2D> line, float fraction,
                                                    CHQ_Point2D& position) {
    CHQGS_MathUtilityFunctions::GetPercentPos(line, fraction, position);
}

}  // namespace HQ

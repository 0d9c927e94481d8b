// Geometric predicates of the outline triangulator: orientation, in-circle
// test and segment contact, on plain double coordinates.
#ifndef GEOMKIT_SRC_OUTLINEPREDICATES_H
#define GEOMKIT_SRC_OUTLINEPREDICATES_H

#include "Tolerances.h"

#include <algorithm>
#include <cmath>

namespace HQ {
namespace outline {

struct Pt {
    double x, y;
};

using tolerance::kInCircleRelTol;

inline double Orient(const Pt& a, const Pt& b, const Pt& c) {
    return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}

// > 0 when d lies inside the circle through a, b, c (counter-clockwise),
// beyond the rounding error of the determinant.
inline bool InCircle(const Pt& a, const Pt& b, const Pt& c, const Pt& d) {
    const double adx = a.x - d.x, ady = a.y - d.y;
    const double bdx = b.x - d.x, bdy = b.y - d.y;
    const double cdx = c.x - d.x, cdy = c.y - d.y;
    const double alift = adx * adx + ady * ady;
    const double blift = bdx * bdx + bdy * bdy;
    const double clift = cdx * cdx + cdy * cdy;
    const double det =
        alift * (bdx * cdy - bdy * cdx) + blift * (cdx * ady - cdy * adx) + clift * (adx * bdy - ady * bdx);
    const double perm = alift * (std::fabs(bdx * cdy) + std::fabs(bdy * cdx)) +
                        blift * (std::fabs(cdx * ady) + std::fabs(cdy * adx)) +
                        clift * (std::fabs(adx * bdy) + std::fabs(ady * bdx));
    return det > kInCircleRelTol * perm;
}

inline bool OnSegment(const Pt& a, const Pt& b, const Pt& p) {
    return std::min(a.x, b.x) <= p.x && p.x <= std::max(a.x, b.x) && std::min(a.y, b.y) <= p.y &&
           p.y <= std::max(a.y, b.y);
}

inline int Sign(double v) { return (v > 0) - (v < 0); }

// True when the closed segments ab and cd share any point.
inline bool SegmentsTouch(const Pt& a, const Pt& b, const Pt& c, const Pt& d) {
    const int o1 = Sign(Orient(a, b, c)), o2 = Sign(Orient(a, b, d));
    const int o3 = Sign(Orient(c, d, a)), o4 = Sign(Orient(c, d, b));
    if (o1 != o2 && o3 != o4 && o1 != 0 && o2 != 0 && o3 != 0 && o4 != 0) return true;
    if (o1 == 0 && OnSegment(a, b, c)) return true;
    if (o2 == 0 && OnSegment(a, b, d)) return true;
    if (o3 == 0 && OnSegment(c, d, a)) return true;
    if (o4 == 0 && OnSegment(c, d, b)) return true;
    return false;
}

inline bool InTriangleClosed(const Pt& a, const Pt& b, const Pt& c, const Pt& p) {
    return Orient(a, b, p) >= 0 && Orient(b, c, p) >= 0 && Orient(c, a, p) >= 0;
}

}  // namespace outline
}  // namespace HQ

#endif

// SPDX-License-Identifier: Apache-2.0
// Small helpers shared by the geometry and path tests: random key points,
// point comparisons and polygon area.
#ifndef SITPLOT_TEST_GEOMETRYTESTSUPPORT_H
#define SITPLOT_TEST_GEOMETRYTESTSUPPORT_H

#include <geomkit/Point2D.h>
#include <geomkit/Point3D.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <random>
#include <vector>

namespace sitplot_test {

constexpr double kPi = 3.14159265358979323846;

// n points with both coordinates uniform in [-range, range).
inline std::vector<HQ::CHQ_Point2D> RandomPoints(std::mt19937& rng, std::size_t n, double range = 100.0) {
    std::uniform_real_distribution<double> u(-range, range);
    std::vector<HQ::CHQ_Point2D> p;
    for (std::size_t i = 0; i < n; ++i) p.emplace_back(u(rng), u(rng));
    return p;
}

inline double Dist(const HQ::CHQ_Point2D& a, const HQ::CHQ_Point2D& b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

// Bit-equal coordinates.
inline bool Same(const HQ::CHQ_Point2D& a, const HQ::CHQ_Point2D& b) { return a.x == b.x && a.y == b.y; }

// True when v holds a single-precision value.
inline bool IsFloat(double v) { return static_cast<double>(static_cast<float>(v)) == v; }

// Both coordinates of p within tol of (ex, ey).
template <typename P>
::testing::AssertionResult PtNear(const P& p, double ex, double ey, double tol) {
    if (std::fabs(p.x - ex) <= tol && std::fabs(p.y - ey) <= tol) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "(" << p.x << ", " << p.y << ") is not within " << tol << " of (" << ex << ", " << ey << ")";
}

// Expects both coordinates of p within tol of (x, y).
inline void ExpectPoint(const HQ::CHQ_Point2D& p, double x, double y, double tol) {
    EXPECT_NEAR(p.x, x, tol);
    EXPECT_NEAR(p.y, y, tol);
}

// Signed area of the ring in x and y (positive when counterclockwise).
inline double SignedArea(const std::vector<HQ::CHQ_Point3D>& r) {
    double a = 0;
    for (std::size_t i = 0; i < r.size(); ++i) {
        const HQ::CHQ_Point3D& p = r[i];
        const HQ::CHQ_Point3D& q = r[(i + 1) % r.size()];
        a += p.x * q.y - q.x * p.y;
    }
    return a / 2;
}

}  // namespace sitplot_test

#endif

// SPDX-License-Identifier: Apache-2.0
// Guards the compiler settings that keep single-precision roundings: a pair
// of float products returned as doubles must come back rounded. GCC's SLP
// vectorizer at -O2 (and FMA contraction) can silently drop the rounding.
#include <gtest/gtest.h>

#include "FloatRoundingProbe.h"

TEST(FloatRounding, FloatProductsAreRoundedBeforeWidening) {
    struct Case {
        double a, b, c, d;
    } cases[] = {
        {0.1, 0.2, 0.3, 0.7},
        {1.0 / 3.0, 2.0 / 3.0, 57.29577951308232, 0.017453292519943295},
        {123456.789, 0.000123, 3.141592653589793, 2.718281828459045},
    };
    for (const auto& c : cases) {
        const sitplot_test::PairD r = sitplot_test::FloatProducts(c.a, c.b, c.c, c.d);
        const float fx = static_cast<float>(c.a * c.c);
        const float fy = static_cast<float>(c.b * c.d);
        EXPECT_EQ(r.x, static_cast<double>(fx)) << "x product lost its float rounding";
        EXPECT_EQ(r.y, static_cast<double>(fy)) << "y product lost its float rounding";
        EXPECT_EQ(static_cast<double>(static_cast<float>(r.x)), r.x);
    }
}

TEST(FloatRounding, NoFusedMultiplyAdd) {
    // a*b + c with an intermediate rounding differs from fma(a, b, c) here.
    const double a = 1.0 + 0x1p-30, b = 1.0 - 0x1p-30, c = -1.0;
    // The exact product 1 - 2^-60 rounds to 1, so the sum is 0; fused it is -2^-60.
    EXPECT_EQ(sitplot_test::MulAdd(a, b, c), 0.0) << "multiply-add was fused";
}

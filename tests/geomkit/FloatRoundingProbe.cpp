// SPDX-License-Identifier: Apache-2.0
#include "FloatRoundingProbe.h"

namespace sitplot_test {

__attribute__((noinline)) PairD FloatProducts(double a, double b, double c, double d) {
    float x = a * c, y = b * d;
    return {x, y};
}

__attribute__((noinline)) double MulAdd(double a, double b, double c) { return a * b + c; }

}  // namespace sitplot_test

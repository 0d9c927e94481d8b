// SPDX-License-Identifier: Apache-2.0
// Functions compiled in their own translation unit with the project's
// options, opaque to the caller, so that the test sees what the compiler
// made of them.
#ifndef SITPLOT_TEST_FLOATROUNDINGPROBE_H
#define SITPLOT_TEST_FLOATROUNDINGPROBE_H

namespace sitplot_test {
struct PairD {
    double x, y;
};
PairD FloatProducts(double a, double b, double c, double d);
double MulAdd(double a, double b, double c);
}  // namespace sitplot_test

#endif

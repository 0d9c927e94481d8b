// SPDX-License-Identifier: Apache-2.0
// The doubles that a conversion to a signed 32-bit integer (truncation toward
// zero) can take. Outside this range, and for NaN, the conversion is undefined
// in C++; the processor's instruction then gives the "integer indefinite"
// value 0x80000000. The readers and the geometry of the model decide for
// themselves what such a value becomes, but all of them ask the same question.
#ifndef MARKSTORE_MODEL_INT32TRUNCATION_H
#define MARKSTORE_MODEL_INT32TRUNCATION_H

namespace HQ {

// Exclusive bounds: -2^31 - 1 and 2^31. Every double strictly between them
// truncates to a value in INT32_MIN ... INT32_MAX.
const double kInt32TruncationBelow = -2147483649.0;
const double kInt32TruncationAbove = 2147483648.0;

// True when v truncates to a 32-bit integer; false for NaN.
inline bool TruncatesToInt32(double v) { return v > kInt32TruncationBelow && v < kInt32TruncationAbove; }

}  // namespace HQ

#endif

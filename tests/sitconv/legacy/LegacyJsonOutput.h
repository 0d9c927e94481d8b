// SPDX-License-Identifier: Apache-2.0
// Serialisation of the converter's JSON documents: RapidJSON's compact
// Writer in its default formatting, except that a number that is not finite
// is written as null (the Writer would stop there and leave a cut document)
// and remembered with the key it belongs to.
#ifndef SITCONV_LEGACY_JSONOUTPUT_H
#define SITCONV_LEGACY_JSONOUTPUT_H

#include <rapidjson/document.h>

#include <string>
#include <vector>

namespace HQ {
namespace legacy {

struct SerializedJson {
    std::string text;                        // compact JSON, no trailing line feed
    std::vector<std::string> nonFiniteKeys;  // key of each non-finite number written as null
};

SerializedJson serializeJson(const rapidjson::Value& root);

// The unsigned 32-bit form of a colour held in a double: truncated toward
// zero to a signed 64-bit integer, of which the low 32 bits are taken. A
// value outside the 64-bit range (or NaN) gives what the x86 conversion
// gives, the "integer indefinite" 0x8000000000000000, whose low bits are 0.
unsigned int colourBits(double colour);

}  // namespace legacy
}  // namespace HQ

#endif

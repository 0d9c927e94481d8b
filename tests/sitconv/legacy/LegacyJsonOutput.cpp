// SPDX-License-Identifier: Apache-2.0
// Compact JSON text with non-finite numbers written as null.
#include "LegacyJsonOutput.h"

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <cmath>
#include <cstdint>

namespace HQ {
namespace legacy {

namespace {

// Document::Accept is a template on its handler, so these members hide the
// Writer's own for every value it visits.
class NullingWriter : public rapidjson::Writer<rapidjson::StringBuffer> {
    using Base = rapidjson::Writer<rapidjson::StringBuffer>;

public:
    explicit NullingWriter(rapidjson::StringBuffer& out) : Base(out) {}

    bool Key(const Ch* str, rapidjson::SizeType length, bool copy = false) {
        m_lastKey.assign(str, length);
        return Base::Key(str, length, copy);
    }
    bool Double(double d) {
        if (!std::isfinite(d)) {
            m_nonFinite.push_back(m_lastKey);
            return Base::Null();
        }
        return Base::Double(d);
    }

    std::vector<std::string> takeNonFinite() { return std::move(m_nonFinite); }

private:
    std::string m_lastKey;
    std::vector<std::string> m_nonFinite;
};

// 2^63: the first double beyond the signed 64-bit range.
const double kTwoPow63 = 9223372036854775808.0;

}  // namespace

SerializedJson serializeJson(const rapidjson::Value& root) {
    rapidjson::StringBuffer buffer;
    NullingWriter writer(buffer);
    root.Accept(writer);
    SerializedJson out;
    out.text.assign(buffer.GetString(), buffer.GetSize());
    out.nonFiniteKeys = writer.takeNonFinite();
    return out;
}

unsigned int colourBits(double colour) {
    if (!(colour >= -kTwoPow63 && colour < kTwoPow63)) return 0;  // integer indefinite: low bits 0
    const std::int64_t whole = static_cast<std::int64_t>(colour);
    return static_cast<unsigned int>(static_cast<std::uint64_t>(whole) & 0xFFFFFFFFu);
}

}  // namespace legacy
}  // namespace HQ

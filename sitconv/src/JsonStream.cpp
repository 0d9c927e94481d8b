// SPDX-License-Identifier: Apache-2.0
// The converter's JSON targets: streamed text and RapidJSON values.
#include "JsonStream.h"
#include "XmlText.h"

#include <geomkit/UtilityFunctions.h>

#include <rapidjson/internal/dtoa.h>
#include <rapidjson/reader.h>

#include <cmath>

namespace HQ {

namespace {

// What RapidJSON's Reader made of one number text.
struct ReadNumber : rapidjson::BaseReaderHandler<rapidjson::UTF8<>, ReadNumber> {
    enum Kind { kNone, kDouble, kInt, kUint, kInt64, kUint64 } kind = kNone;
    double d = 0.0;
    std::int64_t i = 0;
    std::uint64_t u = 0;
    bool Default() { return false; }
    bool Double(double v) {
        kind = kDouble, d = v;
        return true;
    }
    bool Int(int v) {
        kind = kInt, i = v;
        return true;
    }
    bool Uint(unsigned v) {
        kind = kUint, u = v;
        return true;
    }
    bool Int64(std::int64_t v) {
        kind = kInt64, i = v;
        return true;
    }
    bool Uint64(std::uint64_t v) {
        kind = kUint64, u = v;
        return true;
    }
};

}  // namespace

void JsonFileBuffer::Flush() {
    if (m_used == 0) return;
    if (m_copy != nullptr) m_copy->append(m_buffer, m_used);
    if (m_file != nullptr && !m_failed && std::fwrite(m_buffer, 1, m_used, m_file) != m_used) m_failed = true;
    m_used = 0;
}

std::string JsonTarget::utf8(const std::string& ansi) {
    const long ascii = xml::asciiLength(ansi.data(), ansi.size());
    if (ascii >= 0) return ansi.substr(0, static_cast<size_t>(ascii));
    std::string u = CHQGS_UtilityFunctions::ANSIToUTF8(ansi);
    if (!ansi.empty() && u.empty()) ++m_unconvertible;
    return u;
}

JsonStream::JsonStream(std::FILE* file, std::string* copy, bool readBack)
    : m_out(file, copy), m_writer(m_out), m_readBack(readBack) {}

void JsonStream::key(const char* k) {
    m_lastKey = k;
    m_writer.Key(k);
}

void JsonStream::text(const std::string& ansi) {
    const std::string u = utf8(ansi);
    m_writer.String(u.c_str(), static_cast<rapidjson::SizeType>(u.size()));
}

void JsonStream::number(double d) {
    if (!std::isfinite(d)) {
        m_firstNonFinite.push_back(m_lastKey);
        m_writer.Null();
        return;
    }
    if (!m_readBack) {
        m_writer.Double(d);
        return;
    }
    // The Writer's text of d (what Writer::Double writes), read as the
    // read-back read it: default flags, so not always the nearest double.
    char text[32];
    char* end =
        rapidjson::internal::dtoa(d, text, rapidjson::Writer<JsonFileBuffer>::kDefaultMaxDecimalPlaces);
    *end = '\0';
    rapidjson::Reader reader;
    rapidjson::StringStream in(text);
    ReadNumber read;
    if (reader.Parse<rapidjson::kParseDefaultFlags>(in, read).IsError()) {
        m_readBackFailed = true;
        m_writer.Double(d);
        return;
    }
    switch (read.kind) {
        case ReadNumber::kDouble:
            if (!std::isfinite(read.d)) {
                m_laterNonFinite.push_back(m_lastKey);
                m_writer.Null();
            } else {
                m_writer.Double(read.d);
            }
            break;
        case ReadNumber::kInt:
            m_writer.Int(static_cast<int>(read.i));
            break;
        case ReadNumber::kUint:
            m_writer.Uint(static_cast<unsigned>(read.u));
            break;
        case ReadNumber::kInt64:
            m_writer.Int64(read.i);
            break;
        case ReadNumber::kUint64:
            m_writer.Uint64(read.u);
            break;
        default:
            m_readBackFailed = true;
            m_writer.Double(d);
    }
}

void JsonStream::directNumber(double d) {
    if (!std::isfinite(d)) {
        m_laterNonFinite.push_back(m_lastKey);
        m_writer.Null();
        return;
    }
    m_writer.Double(d);
}

bool JsonStream::finish() {
    m_out.Put('\n');
    m_out.Flush();
    return !m_out.failed();
}

void JsonTree::text(const std::string& ansi) {
    const std::string u = utf8(ansi);
    add(rapidjson::Value(u.c_str(), static_cast<rapidjson::SizeType>(u.size()), m_a));
}

void JsonTree::add(rapidjson::Value v) {
    if (m_open.empty()) {
        m_result = std::move(v);
        return;
    }
    rapidjson::Value& top = m_open.back();
    if (top.IsObject()) {
        top.AddMember(m_keys.back(), v, m_a);
        m_keys.pop_back();
    } else {
        top.PushBack(v, m_a);
    }
}

void JsonTree::close() {
    rapidjson::Value done(std::move(m_open.back()));
    m_open.pop_back();
    add(std::move(done));
}

}  // namespace HQ

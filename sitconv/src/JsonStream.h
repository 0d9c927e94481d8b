// SPDX-License-Identifier: Apache-2.0
// The two targets the converter's JSON writers write to, with one interface:
//
//   JsonStream  the compact JSON text, written straight to a C stream (and,
//               when asked, copied into a string) through RapidJSON's Writer
//   JsonTree    a RapidJSON value built in a document's allocator
//
// Both take texts in the local code page and turn each into UTF-8 on its
// own, counting those that have no UTF-8 form (written empty).
//
// Numbers of the layer tree: the converted file has always been written,
// read back with RapidJSON's default (not full-precision) number parsing
// and written again before it was final. That reading is not exact for
// every double (and can even overflow to infinity near the largest double),
// so JsonStream in read-back mode writes each number as that round trip
// gives it: the Writer's text of the double, parsed again by the same
// Reader, written again. Non-finite numbers are written as null (the Writer
// would stop there) and remembered with their key, separately for the
// first writing and for the read-back.
#ifndef SITCONV_JSONSTREAM_H
#define SITCONV_JSONSTREAM_H

#include <rapidjson/document.h>
#include <rapidjson/writer.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace HQ {

// Output stream of the Writer: a buffer flushed to a C stream, optionally
// copied into a string as well.
class JsonFileBuffer {
public:
    typedef char Ch;
    JsonFileBuffer(std::FILE* file, std::string* copy) : m_file(file), m_copy(copy) {}
    void Put(char c) {
        if (m_used == sizeof(m_buffer)) Flush();
        m_buffer[m_used++] = c;
    }
    void Flush();
    bool failed() const { return m_failed; }

private:
    std::FILE* m_file;
    std::string* m_copy;
    bool m_failed = false;
    size_t m_used = 0;
    char m_buffer[1 << 16];
};

// Counters and keys shared by both targets.
class JsonTarget {
public:
    // Texts written empty because they have no UTF-8 form.
    int unconvertibleTexts() const { return m_unconvertible; }
    // Converts a text that is not written, counting it when lost (texts of
    // a group or layer that turned out not to be written).
    void convertOnly(const std::string& ansi) { utf8(ansi); }

protected:
    // The UTF-8 form of a code-page text (counted when lost).
    std::string utf8(const std::string& ansi);
    int m_unconvertible = 0;
};

class JsonStream : public JsonTarget {
public:
    // readBack: numbers of the layer tree as the read-back gives them (see
    // above); false gives them as the Writer writes the double itself.
    JsonStream(std::FILE* file, std::string* copy, bool readBack);

    void startObject() { m_writer.StartObject(); }
    void endObject() { m_writer.EndObject(); }
    void startArray() { m_writer.StartArray(); }
    void endArray() { m_writer.EndArray(); }
    void key(const char* k);
    void text(const std::string& ansi);
    void name(const char* utf8) { m_writer.String(utf8); }
    void boolean(bool b) { m_writer.Bool(b); }
    void integer(int i) { m_writer.Int(i); }
    void uinteger(unsigned u) { m_writer.Uint(u); }
    void uinteger64(std::uint64_t u) { m_writer.Uint64(u); }
    // A number of the layer tree (read back in read-back mode).
    void number(double d);
    // A number written once, as it is (the action groups were added after
    // the read-back).
    void directNumber(double d);

    // Ends the text with its line feed and flushes; false when a write failed.
    bool finish();

    // Keys of non-finite numbers written as null: at the first writing, and
    // at the read-back or written directly.
    const std::vector<std::string>& firstNonFinite() const { return m_firstNonFinite; }
    const std::vector<std::string>& laterNonFinite() const { return m_laterNonFinite; }
    // True when the read-back could not parse a number: the read-back would
    // have failed as a whole.
    bool readBackFailed() const { return m_readBackFailed; }

private:
    JsonFileBuffer m_out;
    rapidjson::Writer<JsonFileBuffer> m_writer;
    bool m_readBack;
    bool m_readBackFailed = false;
    std::string m_lastKey;
    std::vector<std::string> m_firstNonFinite, m_laterNonFinite;
};

class JsonTree : public JsonTarget {
public:
    explicit JsonTree(rapidjson::Document::AllocatorType& a) : m_a(a) {}

    void startObject() { m_open.emplace_back(rapidjson::kObjectType); }
    void startArray() { m_open.emplace_back(rapidjson::kArrayType); }
    void endObject() { close(); }
    void endArray() { close(); }
    void key(const char* k) { m_keys.emplace_back(k, m_a); }
    void text(const std::string& ansi);
    void name(const char* utf8) { add(rapidjson::Value(rapidjson::StringRef(utf8))); }
    void boolean(bool b) { add(rapidjson::Value(b)); }
    void integer(int i) { add(rapidjson::Value(i)); }
    void uinteger(unsigned u) { add(rapidjson::Value(u)); }
    void uinteger64(std::uint64_t u) { add(rapidjson::Value(u)); }
    void number(double d) { add(rapidjson::Value(d)); }
    void directNumber(double d) { add(rapidjson::Value(d)); }

    // The finished outermost value (moved out).
    rapidjson::Value& result() { return m_result; }

private:
    void add(rapidjson::Value v);
    void close();

    rapidjson::Document::AllocatorType& m_a;
    std::vector<rapidjson::Value> m_open;
    std::vector<rapidjson::Value> m_keys;
    rapidjson::Value m_result;
};

}  // namespace HQ

#endif

// SPDX-License-Identifier: Apache-2.0
// Reads a fuzz input as a stream of decisions: small numbers, integers and
// fractions biased towards their limits, and texts. Every read succeeds;
// past the end of the input the reads answer zeros and empty texts, so a
// harness never needs to check what is left.
#ifndef SITPLOT_FUZZ_FUZZINPUT_H
#define SITPLOT_FUZZ_FUZZINPUT_H

#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

// Stops the run when a harness's check fails, naming the harness and the
// check; libFuzzer keeps the input that got there.
inline void FuzzRequire(bool condition, const char* target, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "%s: %s\n", target, what);
    std::abort();
}

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size), pos_(0) {}

    bool empty() const { return pos_ >= size_; }
    std::size_t left() const { return size_ - pos_; }

    std::uint8_t byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    bool flag() { return (byte() & 1) != 0; }

    // A number in [0, bound) (0 for a bound of 0).
    unsigned below(unsigned bound) {
        if (bound == 0) return 0;
        unsigned v = byte();
        if (bound > 256) v = v << 8 | byte();
        if (bound > 65536) v = v << 8 | byte();
        return v % bound;
    }

    // A 32-bit integer; half the time one of the 16- and 32-bit limits or
    // their neighbours, else raw bytes.
    int integer() {
        static const long long kLimits[] = {0,         1,
                                            -1,        2,
                                            SHRT_MAX,  SHRT_MAX + 1,
                                            SHRT_MIN,  SHRT_MIN - 1,
                                            USHRT_MAX, USHRT_MAX + 1,
                                            INT_MAX,   INT_MAX - 1,
                                            INT_MIN,   INT_MIN + 1,
                                            1000,      -1000};
        const std::uint8_t tag = byte();
        if (tag < 128) return static_cast<int>(kLimits[tag % (sizeof kLimits / sizeof kLimits[0])]);
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v = v << 8 | byte();
        int out;
        std::memcpy(&out, &v, sizeof out);
        return out;
    }

    // A double; mostly hostile values (NaN, infinities, huge, tiny, limits
    // of the tessellator and the triangulator), else a small integer grid
    // value or raw bytes.
    double fraction() {
        static const double kHostile[] = {std::numeric_limits<double>::quiet_NaN(),
                                          std::numeric_limits<double>::infinity(),
                                          -std::numeric_limits<double>::infinity(),
                                          1e300,
                                          -1e300,
                                          1e150,
                                          -1e150,
                                          1e60,
                                          1e-300,
                                          std::numeric_limits<double>::denorm_min(),
                                          std::numeric_limits<double>::max(),
                                          -0.0,
                                          0.0,
                                          1.0,
                                          0.5,
                                          static_cast<double>(INT_MAX) + 1.0};
        const std::uint8_t tag = byte();
        if (tag < 64) return kHostile[tag % (sizeof kHostile / sizeof kHostile[0])];
        if (tag < 224) return static_cast<double>(static_cast<int>(byte()) - 128) / (tag & 7 ? 1 : 8);
        std::uint64_t v = 0;
        for (int i = 0; i < 8; ++i) v = v << 8 | byte();
        double out;
        std::memcpy(&out, &v, sizeof out);
        return out;
    }

    // A text of up to maxLength bytes: a length, then that many bytes.
    std::string text(unsigned maxLength) {
        const std::size_t n = below(maxLength + 1);
        const std::size_t take = n < left() ? n : left();
        std::string out(reinterpret_cast<const char*>(data_ + pos_), take);
        pos_ += take;
        return out;
    }

    // Everything not read yet.
    std::string rest() {
        std::string out(reinterpret_cast<const char*>(data_ + pos_), left());
        pos_ = size_;
        return out;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_;
};

#endif

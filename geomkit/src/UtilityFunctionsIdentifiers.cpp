// SPDX-License-Identifier: Apache-2.0
// Identifier and random-number members of CHQGS_UtilityFunctions.
#include <geomkit/UtilityFunctions.h>

#include "UniquenessId.h"

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <random>

namespace HQ {

namespace {

// One 100-nanosecond tick per 1/10,000,000 s.
using Ticks100ns = std::chrono::duration<std::int64_t, std::ratio<1, 10000000>>;

}  // namespace

int CHQGS_UtilityFunctions::CreateUniquenessID() {
    using namespace std::chrono;
    const auto sinceEpoch = system_clock::now().time_since_epoch();
    const std::int64_t millisTotal = duration_cast<milliseconds>(sinceEpoch).count();
    const std::int64_t seconds = millisTotal / 1000;
    const std::int64_t millis = millisTotal % 1000;

    std::mt19937 engine(static_cast<std::uint32_t>(duration_cast<Ticks100ns>(sinceEpoch).count()));
    const std::uint32_t u = engine();

    const std::uint32_t seed = static_cast<std::uint32_t>(seconds % 65536 + millis) ^ u;
    std::srand(seed);
    const int r1 = std::rand();
    const int r2 = std::rand();
    const int r3 = std::rand();
    const int r4 = std::rand();
    return detail::UniquenessIdFromDraws(r1, r2, r3, r4);
}

int CHQGS_UtilityFunctions::GetRand() {
    constexpr int kLowest = 100;  // three-digit values: 100..999
    constexpr int kSpan = 900;
    return kLowest + std::rand() % kSpan;
}

}  // namespace HQ

// C++20 std::chrono as the oracle of the packed date-time tests: a word as
// sys_seconds and back, random moments of years 1..4095, random counts.
#pragma once

#include <chrono>
#include <cstdint>
#include <random>

#include "qel_datetime.h"

namespace qel::test {

using namespace std::chrono;
inline constexpr uint64_t kKeyBits = (uint64_t{1} << 38) - 1;  // the six fields, bits 0-37

inline sys_seconds time_of(const TDateTime& t) {
    return sys_days{year{t.year()} / t.month() / t.day()} + hours{t.hour()} + minutes{t.minute()} +
           seconds{t.second()};
}

inline DateTimeInt word_of(sys_seconds t, uint64_t reserved) {
    const year_month_day ymd{floor<days>(t)};
    const auto s = int((t - floor<days>(t)).count());
    return (reserved & ~kKeyBits) | EncodeMinuteTime(int(ymd.year()), int(unsigned(ymd.month())),
                                                     int(unsigned(ymd.day())), s / 3600, s / 60 % 60, s % 60);
}

inline sys_seconds random_time(std::mt19937_64& rng) {
    const sys_seconds first = sys_days{year{1} / 1 / 1}, end = sys_days{year{4096} / 1 / 1};
    return first + seconds{int64_t(rng() % uint64_t((end - first).count()))};
}

// A signed count of random magnitude below 2^max_bits (<= 63): small, medium and huge alike.
inline int64_t random_count(std::mt19937_64& rng, int max_bits) {
    const auto bits = rng() % uint64_t(max_bits + 1), magnitude = bits == 0 ? 0 : rng() >> (64 - bits);
    return rng() % 2 ? -int64_t(magnitude) : int64_t(magnitude);
}

}  // namespace qel::test

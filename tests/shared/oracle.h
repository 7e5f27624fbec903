// std::chrono's proleptic Gregorian calendar (C++20; years -32767..32767) as
// the independent oracle of day serials, weekdays and moments.
#pragma once

#include <chrono>
#include <cstdint>
#include <random>

#include "qel_datetime.h"

namespace qel::oracle {

using namespace std::chrono;

inline constexpr sys_days kEpoch = year{1899} / December / 30;  // serial 0
inline constexpr uint64_t kKeyBits = (uint64_t{1} << 38) - 1;   // the six fields of a word, bits 0-37

inline int64_t serial_of(int32_t y, unsigned m, unsigned d) { return (sys_days{year{y} / m / d} - kEpoch).count(); }
inline year_month_day date_of(int64_t serial) { return year_month_day{kEpoch + days{serial}}; }
inline int32_t weekday_of(int64_t serial) { return int32_t(weekday{kEpoch + days{serial}}.iso_encoding()); }
// A date of 0001-01-01..9999-12-31.
inline bool valid_date(int64_t y, int64_t m, int64_t d) {
    return y >= 1 && y <= 9999 && m >= 1 && m <= 12 && d >= 1 && d <= 31 &&
           year_month_day{year{int(y)} / unsigned(m) / unsigned(d)}.ok();
}

// A word's moment, and a moment as a word with the given reserved bits.
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
// A random moment of the years 1..4095, and a signed count of random
// magnitude below 2^max_bits (<= 63): small, medium and huge alike.
inline sys_seconds random_time(std::mt19937_64& rng) {
    const sys_seconds first = sys_days{year{1} / 1 / 1}, end = sys_days{year{4096} / 1 / 1};
    return first + seconds{int64_t(rng() % uint64_t((end - first).count()))};
}
inline int64_t random_count(std::mt19937_64& rng, int max_bits) {
    const auto bits = rng() % uint64_t(max_bits + 1), magnitude = bits == 0 ? 0 : rng() >> (64 - bits);
    return rng() % 2 ? -int64_t(magnitude) : int64_t(magnitude);
}

}  // namespace qel::oracle

// The packed word's layout as the interface documents it, written out here
// rather than taken from the library's own Field: second bits 0-5, minute
// 6-11, hour 12-16, day 17-21, month 22-25, year 26-37, reserved 38-63. A
// field keeps the low bits of what is stored in it.
namespace qel::word {

struct Bits {
    int shift, width;
    constexpr uint64_t mask() const { return ((uint64_t{1} << width) - 1) << shift; }
    constexpr int32_t get(uint64_t w) const { return int32_t((w & mask()) >> shift); }
    constexpr uint64_t set(uint64_t w, int64_t v) const { return (w & ~mask()) | ((uint64_t(v) << shift) & mask()); }
};
inline constexpr Bits kSecond{0, 6}, kMinute{6, 6}, kHour{12, 5}, kDay{17, 5}, kMonth{22, 4}, kYear{26, 12};
inline constexpr uint64_t kTimeBits = 0x1FFFF, kDateBits = 0x3FFFFE0000, kKeyBits = 0x3FFFFFFFFF, kReservedBits = ~kKeyBits;

constexpr uint64_t pack(int64_t y, int64_t mo, int64_t d, int64_t h, int64_t mi, int64_t s) {
    return kYear.set(kMonth.set(kDay.set(kHour.set(kMinute.set(kSecond.set(0, s), mi), h), d), mo), y);
}
static_assert(pack(2000, 2, 29, 23, 59, 58) == 0x1F40BB7EFA && pack(4095, 15, 31, 31, 63, 63) == kKeyBits);

}  // namespace qel::word

// Pre-generated benchmark inputs: fixed-seed pseudo-random arrays over the
// ranges users convert (Gregorian 0001-9999 and 1900-2100, the lunar years of
// the table), so that every run and every implementation of a family sees the
// same values in the same order. Each array is built once, on first use.
#pragma once

#include <cstdint>
#include <random>
#include <vector>

#include "datetime/packed.h"
#include "qel_datetime.h"
#include "reference/lunar_reference.h"

namespace qel::bench {

// A power of two, to index with & (kInputs - 1); large enough that the branch
// predictor cannot learn the sequence, small enough to stay in the L1/L2 cache.
inline constexpr std::size_t kInputs = 4096;

struct Ymd {
    uint16_t year, month, day;
};

struct LunarDate {
    int32_t year, month, day, leap;
};

// A moment and a signed count (of seconds or months) to step it by.
struct Step {
    DateTimeInt word;
    int64_t count;
};

template <class T, class Make>
std::vector<T> generate(uint32_t seed, Make make) {
    std::mt19937_64 rng(seed);
    std::vector<T> v(kInputs);
    for (auto& x : v) x = make(rng);
    return v;
}

inline int64_t uniform(std::mt19937_64& rng, int64_t lo, int64_t hi) {
    return std::uniform_int_distribution<int64_t>(lo, hi)(rng);
}

// Serials of days from `first_year`-01-01 to `last_year`-12-31, uniformly.
inline std::vector<DateInt> serials(int first_year, int last_year, uint32_t seed) {
    const DateInt first = EncodeDate(static_cast<uint16_t>(first_year), 1, 1);
    const DateInt last = EncodeDate(static_cast<uint16_t>(last_year), 12, 31);
    return generate<DateInt>(seed, [&](auto& rng) { return uniform(rng, first, last); });
}

inline std::vector<Ymd> dates(int first_year, int last_year, uint32_t seed) {
    std::vector<Ymd> v;
    for (DateInt s : serials(first_year, last_year, seed)) {
        Ymd d{};
        DecodeDate(s, &d.year, &d.month, &d.day);
        v.push_back(d);
    }
    return v;
}

// Moments of 1900-2100, to the second.
inline DateTimeInt random_moment(std::mt19937_64& rng) {
    constexpr DateInt kFirst = 2, kLast = 73415;  // 1900-01-01, 2100-12-31
    Ymd d{};
    DecodeDate(uniform(rng, kFirst, kLast), &d.year, &d.month, &d.day);
    return datetime::pack(d.year, d.month, d.day, uniform(rng, 0, 23), uniform(rng, 0, 59),
                          uniform(rng, 0, 59));
}

// The lunar date of every Gregorian day in `serials` by the literal walk.
inline std::vector<LunarDate> lunar_dates(const std::vector<DateInt>& serials) {
    std::vector<LunarDate> v;
    for (DateInt s : serials) {
        LunarDate p{};
        qel::reference::gdate_to_pdate_walk(s, &p.year, &p.month, &p.day, &p.leap);
        v.push_back(p);
    }
    return v;
}

// The Gregorian days of the lunar conversions: 1900-01-01 .. 2100-12-31, the
// whole range of the table, uniformly (shared by the library, the literal
// walks and ICU).
inline const std::vector<DateInt>& lunar_range_serials() {
    static const std::vector<DateInt> v = serials(1900, 2100, 11);
    return v;
}

inline const std::vector<Ymd>& lunar_range_dates() {
    static const std::vector<Ymd> v = dates(1900, 2100, 11);
    return v;
}

// The lunar dates of those days.
inline const std::vector<LunarDate>& lunar_range_pdates() {
    static const std::vector<LunarDate> v = lunar_dates(lunar_range_serials());
    return v;
}

}  // namespace qel::bench

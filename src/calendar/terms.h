// The 4,824 solar terms of 1900-2100 as instants (seconds since 1970 UTC),
// derived at compile time from the library's day table (SolarTermTable, days
// from 1 January in UTC+8) and the generated second of each day.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "calendar/solar_term_instants.h"
#include "gregorian/civil.h"
#include "lunar/solar_term_table.h"
#include "qel_calendar.h"

namespace qel::calendar {

inline constexpr int32_t kTermsPerYear = 24;
inline constexpr int32_t kTermCount = (QEL_LAST_YEAR - QEL_FIRST_YEAR + 1) * kTermsPerYear;  // 4824
inline constexpr int64_t kSecondsPerDay = 86400;
inline constexpr int64_t kCstOffset = 8 * 3600;  // China Standard Time is UTC+8
inline constexpr int64_t kSerialOf1970 = QEL_EPOCH_UNIX;

constexpr std::array<int64_t, kTermCount> term_instants() noexcept {
    std::array<int64_t, kTermCount> instants{};
    for (size_t i = 0; i < instants.size(); ++i) {
        const auto year = static_cast<uint32_t>(QEL_FIRST_YEAR + int32_t(i / kTermsPerYear));
        const DateInt day = gregorian::serial_from_civil(year, 1, 1) + lunar::SolarTermTable[i];
        instants[i] = (day - kSerialOf1970) * kSecondsPerDay + kSolarTermSecondOfDay[i] - kCstOffset;
    }
    return instants;
}
inline constexpr auto kTermInstants = term_instants();

constexpr bool instants_increase() noexcept {
    for (size_t i = 1; i < kTermInstants.size(); ++i)
        if (kTermInstants[i] <= kTermInstants[i - 1]) return false;
    return true;
}
static_assert(instants_increase(), "terms follow each other about 15 days apart");
// The March equinox of 2000 fell at 07:35 UTC (2000-03-20T07:35Z, 953537700).
static_assert(kTermInstants[100 * 24 + 5] / 60 == 953537700 / 60, "equinox 2000");

// Terms 2(m - 1) and 2(m - 1) + 1 fall in Gregorian month m (小寒 and 大寒 in
// January .. 大雪 and 冬至 in December), so a day's term is one of two.
constexpr bool two_terms_a_month() noexcept {
    for (size_t i = 0; i < kTermInstants.size(); ++i) {
        const int64_t local_day = (kTermInstants[i] + kCstOffset) / kSecondsPerDay + kSerialOf1970;
        if (gregorian::civil_from_serial(local_day).month != (i % kTermsPerYear) / 2 + 1) return false;
    }
    return true;
}
static_assert(two_terms_a_month(), "two terms in every month");

// The four pillars are covered from the 立春 (term 2) of 1900, the first
// pillar year the terms open, to the last second of 2100 in UTC+8.
inline constexpr int64_t kPillarsFirstInstant = kTermInstants[2];
inline constexpr int64_t kPillarsEndInstant =
    (gregorian::serial_from_civil(QEL_LAST_YEAR + 1, 1, 1) - kSerialOf1970) * kSecondsPerDay - kCstOffset;

constexpr qel_term term_at(size_t index) noexcept {
    return {QEL_FIRST_YEAR + static_cast<int32_t>(index / kTermsPerYear),
            static_cast<int32_t>(index % kTermsPerYear), kTermInstants[index]};
}

// The number of terms at or before `instant` (0 .. kTermCount), by binary search.
constexpr size_t terms_up_to(int64_t instant) noexcept {
    size_t low = 0, high = kTermInstants.size();
    while (low < high) {
        const size_t mid = low + (high - low) / 2;
        if (kTermInstants[mid] <= instant) low = mid + 1;
        else high = mid;
    }
    return low;
}

}  // namespace qel::calendar

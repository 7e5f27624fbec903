// The 13,344 solar terms of 1645-2200 as instants (seconds since 1970 UTC).
// The generated table holds them as 64-bit numbers; the library keeps each
// as its 16-bit distance from a mean year after the term's instant in 1645
// (the Sun's perturbations and the drift of Delta T stay within 9 hours of
// it, checked below), so a term is one read, a multiply and two adds.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "calendar/solar_term_instants.h"
#include "calendar/term_instants_extended.h"
#include "gregorian/civil.h"
#include "lunar/solar_term_table.h"
#include "qel_calendar.h"

namespace qel::calendar {

inline constexpr int32_t kTermsPerYear = 24;
inline constexpr int32_t kTermCount = (QEL_LAST_YEAR - QEL_FIRST_YEAR + 1) * kTermsPerYear;  // 13344
inline constexpr int64_t kSecondsPerDay = 86400;
inline constexpr int64_t kCstOffset = 8 * 3600;  // China Standard Time is UTC+8
inline constexpr int64_t kSerialOf1970 = QEL_EPOCH_UNIX;
// The tropical year, 365.24220 days, in whole seconds.
inline constexpr int64_t kMeanYearSeconds = 31556926;

constexpr int64_t floor_div(int64_t a, int64_t b) noexcept { return a / b - (a % b != 0 && (a < 0) != (b < 0)); }

static_assert(kTermInstantFirstYear == QEL_FIRST_YEAR && kTermInstantLastYear == QEL_LAST_YEAR &&
                  std::size(kTermInstantTable) == size_t{kTermCount},
              "the generated terms span the covered years");

// The terms of the first year: the bases of the mean instants. (Only these
// 24 and the residuals are read at run time; the generated table stays a
// compile-time source.)
inline constexpr auto kTermBase = [] {
    std::array<int64_t, kTermsPerYear> base{};
    for (size_t k = 0; k != base.size(); ++k) base[k] = kTermInstantTable[k];
    return base;
}();

constexpr int64_t mean_instant(size_t index) noexcept {
    return kTermBase[index % kTermsPerYear] + static_cast<int64_t>(index / kTermsPerYear) * kMeanYearSeconds;
}

inline constexpr auto kTermResidual = [] {
    std::array<int16_t, kTermCount> residual{};
    for (size_t i = 0; i != residual.size(); ++i) residual[i] = static_cast<int16_t>(kTermInstantTable[i] - mean_instant(i));
    return residual;
}();

constexpr int64_t term_instant(size_t index) noexcept { return mean_instant(index) + kTermResidual[index]; }

constexpr bool residuals_fit() noexcept {
    for (size_t i = 0; i < kTermResidual.size(); ++i)
        if (term_instant(i) != kTermInstantTable[i]) return false;
    return true;
}
static_assert(residuals_fit(), "every term within 16 bits of seconds of its mean instant");

// 1900-2100: the days of qel_datetime's term table, the seconds of the
// published instants.
constexpr bool published_terms_kept() noexcept {
    constexpr size_t offset = size_t{kSolarTermFirstYear - QEL_FIRST_YEAR} * kTermsPerYear;
    for (size_t i = 0; i < std::size(kSolarTermSecondOfDay); ++i) {
        const auto year = static_cast<uint32_t>(kSolarTermFirstYear + int32_t(i / kTermsPerYear));
        const DateInt day = gregorian::serial_from_civil(year, 1, 1) + lunar::SolarTermTable[i];
        if (term_instant(offset + i) != (day - kSerialOf1970) * kSecondsPerDay + kSolarTermSecondOfDay[i] - kCstOffset)
            return false;
    }
    return true;
}
static_assert(published_terms_kept(), "the terms of 1900-2100 are the published ones");

// The term indices of a Gregorian year.
constexpr size_t term_index(int32_t year, int32_t term) noexcept {
    return static_cast<size_t>(year - QEL_FIRST_YEAR) * kTermsPerYear + static_cast<size_t>(term);
}

constexpr bool instants_increase() noexcept {
    for (size_t i = 1; i < size_t{kTermCount}; ++i)
        if (term_instant(i) <= term_instant(i - 1)) return false;
    return true;
}
static_assert(instants_increase(), "terms follow each other about 15 days apart");
// The March equinox of 2000 fell at 07:35 UTC (2000-03-20T07:35Z, 953537700).
static_assert(term_instant(term_index(2000, 5)) / 60 == 953537700 / 60, "equinox 2000");

// Terms 2(m - 1) and 2(m - 1) + 1 fall in Gregorian month m (小寒 and 大寒 in
// January .. 大雪 and 冬至 in December), so a day's term is one of two.
constexpr bool two_terms_a_month() noexcept {
    for (size_t i = 0; i < size_t{kTermCount}; ++i) {
        const int64_t local_day = floor_div(term_instant(i) + kCstOffset, kSecondsPerDay) + kSerialOf1970;
        if (gregorian::civil_from_serial(local_day).month != (i % kTermsPerYear) / 2 + 1) return false;
    }
    return true;
}
static_assert(two_terms_a_month(), "two terms in every month");

// The four pillars are covered from the 立春 (term 2) of 1645, the first
// pillar year the terms open, to the last second of 2200 in UTC+8.
inline constexpr int64_t kPillarsFirstInstant = term_instant(2);
inline constexpr int64_t kPillarsEndInstant =
    (gregorian::serial_from_civil(QEL_LAST_YEAR + 1, 1, 1) - kSerialOf1970) * kSecondsPerDay - kCstOffset;

constexpr qel_term term_at(size_t index) noexcept {
    return {QEL_FIRST_YEAR + static_cast<int32_t>(index / kTermsPerYear),
            static_cast<int32_t>(index % kTermsPerYear), term_instant(index)};
}

// The number of terms at or before `instant` (0 .. kTermCount), by binary search.
constexpr size_t terms_up_to(int64_t instant) noexcept {
    size_t low = 0, high = size_t{kTermCount};
    while (low < high) {
        const size_t mid = low + (high - low) / 2;
        if (term_instant(mid) <= instant) low = mid + 1;
        else high = mid;
    }
    return low;
}

}  // namespace qel::calendar

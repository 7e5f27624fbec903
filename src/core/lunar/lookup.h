// The four lookups of the lunar year table: a year's leap month and its
// length, the length of an ordinary month and of the whole year, in days.
// Every year without a stored entry (before 1900, after 2103) reads as a zero
// entry, like the three stored after 2100: twelve small months, no leap month.
// Constant time for every argument; no read outside LunarYearInfo.
#pragma once

#include <cstdint>

#include "lunar/year_table.h"

namespace qel::lunar {

inline constexpr int32_t kSmallMonthDays = 29;
inline constexpr int32_t kBigMonthDays = 30;
inline constexpr uint16_t kLeapNibbleMask = 0x000F;
// The nibble that marks "no leap month here, and last year's leap month is big".
inline constexpr uint16_t kBigLeapMonthBefore = 15;
// The flag of month 1 is bit 15, of month 12 bit 4: mask 0x10000 >> month.
inline constexpr uint32_t kMonthFlagBase = 0x10000;

constexpr uint16_t year_entry(int64_t year) noexcept {
    if (year < kFirstYear || year >= kFirstYear + kStoredYears) return 0;
    return LunarYearInfo[year - kFirstYear];
}

// The ordinary month that the year's leap month follows (1-12), or 0.
constexpr int32_t leap_month(int64_t year) noexcept {
    const int32_t nibble = year_entry(year) & kLeapNibbleMask;
    return nibble == kBigLeapMonthBefore ? 0 : nibble;
}

// 29 or 30, or 0 when the year has no leap month. The length is kept in the
// next year's entry (nibble 15 there: big).
constexpr int32_t leap_month_days(int64_t year) noexcept {
    if (leap_month(year) == 0) return 0;
    return (year_entry(year + 1) & kLeapNibbleMask) == kBigLeapMonthBefore ? kBigMonthDays
                                                                           : kSmallMonthDays;
}

// With leap != 0 the length of the year's leap month, whatever the month;
// otherwise the ordinary month's length, 0 for a month outside 1-12.
constexpr int32_t month_days(int64_t year, int64_t month, int64_t leap) noexcept {
    if (leap != 0) return leap_month_days(year);
    if (month < 1 || month > 12) return 0;
    return (year_entry(year) & (kMonthFlagBase >> month)) ? kBigMonthDays : kSmallMonthDays;
}

// Twelve small months (348 days), one more day per big month, and the leap month.
constexpr int32_t year_days(int64_t year) noexcept {
    int32_t days = 12 * kSmallMonthDays;
    for (uint32_t bits = year_entry(year) >> 4u; bits != 0; bits >>= 1) days += static_cast<int32_t>(bits & 1u);
    return days + leap_month_days(year);
}

static_assert(leap_month(1900) == 8 && leap_month(2033) == 11 && leap_month(2018) == 0, "nibbles");
static_assert(year_days(2017) == 384 && year_days(2100) == 354 && year_days(2101) == 348,
              "2017: 348 + 6 big months + a leap month of 30 days");

}  // namespace qel::lunar

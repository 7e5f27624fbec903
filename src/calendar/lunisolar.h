// The lunar calendar as qel_calendar reads it: one flat table of months, each
// with its first day and its number, leap flag and length, and one entry per
// lunar year pointing at its first month. Every lunar question of the
// library (a day's lunar date, a date's day, a month's length, a year's leap
// month, a step by months) is a constant number of reads in it.
//
// The months are derived at compile time from the published year table
// (LunarYearInfo); a day is found by a guess from the mean synodic month
// (29.530589 days), which the table's own months keep within one month of
// the truth (checked below for every month), and at most one step each way.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "gregorian/civil.h"
#include "lunar/lookup.h"
#include "lunar/year_index.h"

namespace qel::calendar::lunisolar {

// Per month: bits 0-3 the month number (1-12), bit 4 the leap flag, bits
// 16-31 the lunar year minus kFirstYear. A month's length is not stored: it
// is the distance to the next month's first day.
inline constexpr uint32_t kNumberMask = 0x0F;
inline constexpr uint32_t kLeapBit = 0x10;
inline constexpr uint32_t kYearShift = 16;

struct Month {
    int32_t first;  // day serial of its first day
    uint32_t info;
};

struct Year {
    uint16_t first_month;  // index of its month 1 in kMonths
    uint8_t leap_month;    // the month its leap month follows, 0 for none
    uint8_t reserved;
};

inline constexpr int32_t kFirstYear = lunar::kFirstYear;
inline constexpr int32_t kLastYear = lunar::kLastYear;
inline constexpr size_t kYears = static_cast<size_t>(kLastYear - kFirstYear) + 1;
inline constexpr size_t kMonthCount = static_cast<size_t>(lunar::kFirstMonthIndex[lunar::kTableYears]);

// kMonthCount months and a sentinel whose first day ends the table.
inline constexpr auto kMonths = [] {
    std::array<Month, kMonthCount + 1> months{};
    size_t k = 0;
    for (size_t i = 0; i < kYears; ++i) {
        const int32_t year = kFirstYear + static_cast<int32_t>(i);
        const int32_t leap = lunar::leap_month(year);
        int64_t first = lunar::kNewYearSerial[i];
        for (int32_t m = 1; m <= 12; ++m) {
            for (int32_t is_leap = 0; is_leap <= (m == leap ? 1 : 0); ++is_leap) {
                const int32_t days = lunar::month_days(year, m, is_leap);
                months[k++] = {static_cast<int32_t>(first),
                               static_cast<uint32_t>(m) | (is_leap ? kLeapBit : 0u) | (uint32_t(i) << kYearShift)};
                first += days;
            }
        }
    }
    months[k] = {static_cast<int32_t>(lunar::kNewYearSerial[kYears]), uint32_t(kYears) << kYearShift};
    return months;
}();

// kYears years and a sentinel whose first month is the table's end.
inline constexpr auto kYearTable = [] {
    std::array<Year, kYears + 1> years{};
    for (size_t i = 0; i <= kYears; ++i)
        years[i] = {static_cast<uint16_t>(lunar::kFirstMonthIndex[i]),
                    static_cast<uint8_t>(i < kYears ? lunar::leap_month(kFirstYear + int32_t(i)) : 0), 0};
    return years;
}();

inline constexpr int64_t kFirstSerial = kMonths.front().first;
inline constexpr int64_t kEndSerial = kMonths.back().first;  // the day after the last

constexpr bool in_range(int64_t serial) noexcept { return serial >= kFirstSerial && serial < kEndSerial; }
constexpr bool year_in_range(int64_t year) noexcept { return year >= kFirstYear && year <= kLastYear; }

// The mean synodic month, 29.530589 days, as days x 10^6.
inline constexpr int64_t kSynodicMonthE6 = 29530589;

// The month index of a serial's first guess: months elapsed at the mean rate.
constexpr size_t guess(int64_t serial) noexcept {
    const int64_t k = (serial - kFirstSerial) * 1000000 / kSynodicMonthE6;
    return static_cast<size_t>(k < 0 ? 0 : k >= int64_t(kMonthCount) ? int64_t(kMonthCount) - 1 : k);
}

// Precondition: in_range(serial). The month holding it.
constexpr size_t month_of(int64_t serial) noexcept {
    size_t k = guess(serial);
    if (kMonths[k].first > serial) --k;
    else if (kMonths[k + 1].first <= serial) ++k;
    return k;
}

// The guess is off by at most one month at every month's first and last day,
// so the single step each way above always lands.
constexpr bool guess_within_one() noexcept {
    for (size_t k = 0; k < kMonthCount; ++k) {
        for (const int64_t s : {int64_t{kMonths[k].first}, int64_t{kMonths[k + 1].first} - 1}) {
            size_t g = guess(s);
            if (kMonths[g].first > s) --g;
            else if (kMonths[g + 1].first <= s) ++g;
            if (g != k) return false;
        }
    }
    return true;
}
static_assert(guess_within_one(), "the mean-month guess is corrected by one step");

constexpr int32_t number(size_t k) noexcept { return static_cast<int32_t>(kMonths[k].info & kNumberMask); }
constexpr int32_t leap(size_t k) noexcept { return (kMonths[k].info & kLeapBit) ? 1 : 0; }
constexpr int32_t days(size_t k) noexcept { return kMonths[k + 1].first - kMonths[k].first; }
constexpr int32_t year(size_t k) noexcept { return kFirstYear + static_cast<int32_t>(kMonths[k].info >> kYearShift); }

// Per year. Preconditions: year_in_range(year).
constexpr const Year& year_entry(int32_t y) noexcept { return kYearTable[static_cast<size_t>(y - kFirstYear)]; }
constexpr int32_t leap_month(int32_t y) noexcept { return year_entry(y).leap_month; }
constexpr size_t first_month(int32_t y) noexcept { return year_entry(y).first_month; }
constexpr size_t months_in(int32_t y) noexcept { return size_t(kYearTable[size_t(y - kFirstYear) + 1].first_month) - first_month(y); }
constexpr int32_t year_days(int32_t y) noexcept {
    return kMonths[kYearTable[size_t(y - kFirstYear) + 1].first_month].first - kMonths[first_month(y)].first;
}
// The index of ordinary month `m` (1-12) or of the leap month (is_leap) of
// year y; the month must exist.
constexpr size_t month_index(int32_t y, int32_t m, int32_t is_leap) noexcept {
    const int32_t l = leap_month(y);
    return first_month(y) + static_cast<size_t>(m - 1 + ((l > 0 && (m > l || (m == l && is_leap))) ? 1 : 0));
}
// 29 or 30; 0 for a leap month the year does not have. Preconditions: 1 <= m <= 12.
constexpr int32_t month_days(int32_t y, int32_t m, int32_t is_leap) noexcept {
    if (is_leap && leap_month(y) != m) return 0;
    return days(month_index(y, m, is_leap));
}

// Agreement with the year table it is derived from, and published facts.
constexpr bool matches_year_table() noexcept {
    for (int32_t y = kFirstYear; y <= kLastYear; ++y) {
        if (year_days(y) != lunar::year_days(y) || leap_month(y) != lunar::leap_month(y)) return false;
        for (int32_t m = 1; m <= 12; ++m)
            if (month_days(y, m, 0) != lunar::month_days(y, m, 0) ||
                (leap_month(y) == m && month_days(y, m, 1) != lunar::leap_month_days(y)))
                return false;
    }
    return true;
}
static_assert(matches_year_table(), "the months are the year table's");
static_assert(kMonths[month_index(2017, 6, 1)].first == gregorian::serial_from_civil(2017, 7, 23), "闰六月 2017");
static_assert(kFirstSerial == gregorian::serial_from_civil(1900, 1, 31) &&
                  kEndSerial == gregorian::serial_from_civil(2101, 1, 29),
              "lunar 1900-01-01 .. 2100-12-29");

}  // namespace qel::calendar::lunisolar

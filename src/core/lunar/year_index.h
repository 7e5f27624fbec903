// Tables derived at compile time from LunarYearInfo alone, so that a
// conversion is a few table reads instead of a walk over year and month
// lengths from 1900:
//   kNewYearSerial    the day serial (days since 1899-12-30) of lunar new year
//                     1900 .. 2101 (the last: the day after lunar 2100 ends);
//   kMonthStart       per year, days from its new year to the first day of each
//                     month in calendar order (1..L, leap L, L+1..12), then the
//                     year's length;
//   kFirstMonthIndex  lunar months from 1900-01 to month 1 of 1900 .. 2101;
//   kYearOfMonthIndex the year of each of those months.
// A month's place in calendar order (its "position", 0-based) is its number
// minus 1, plus 1 after the leap month; the leap month L sits at position L.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "gregorian/civil.h"
#include "lunar/lookup.h"

namespace qel::lunar {

// Day 1 of month 1 of lunar 1900 is Gregorian 1900-01-31.
inline constexpr DateInt kBaseSerial = gregorian::serial_from_civil(1900, 1, 31);
// Lunar 1899 is known only as its month 12 of 30 days: Gregorian 1900-01-01..30.
inline constexpr int32_t kYearBefore = kFirstYear - 1;
inline constexpr int32_t kLastMonthBeforeDays = 30;
inline constexpr int32_t kMaxMonthsInYear = 13;

inline constexpr auto kNewYearSerial = [] {
    std::array<DateInt, kTableYears + 1> s{};
    s[0] = kBaseSerial;
    for (size_t i = 0; i < kTableYears; ++i) s[i + 1] = s[i] + year_days(kFirstYear + int64_t(i));
    return s;
}();

inline constexpr auto kMonthStart = [] {
    std::array<std::array<int16_t, kMaxMonthsInYear + 1>, kTableYears> starts{};
    for (size_t i = 0; i < kTableYears; ++i) {
        const int64_t year = kFirstYear + int64_t(i);
        const int32_t leap = leap_month(year);
        int16_t day = 0;  // [0, 385]
        size_t k = 0;
        for (int32_t m = 1; m <= 12; ++m) {
            starts[i][k++] = day;
            day = static_cast<int16_t>(day + month_days(year, m, 0));
            if (m == leap) {
                starts[i][k++] = day;
                day = static_cast<int16_t>(day + leap_month_days(year));
            }
        }
        while (k < starts[i].size()) starts[i][k++] = day;
    }
    return starts;
}();

inline constexpr auto kFirstMonthIndex = [] {
    std::array<int32_t, kTableYears + 1> index{};
    for (size_t i = 0; i < kTableYears; ++i)
        index[i + 1] = index[i] + 12 + (leap_month(kFirstYear + int64_t(i)) > 0 ? 1 : 0);
    return index;
}();

// The table year (as an index from 1900) of every month index of the table,
// so that turning a month index back into a year is one byte read.
inline constexpr auto kYearOfMonthIndex = [] {
    std::array<uint8_t, static_cast<size_t>(kFirstMonthIndex[kTableYears])> year{};
    for (size_t i = 0; i < kTableYears; ++i)
        for (auto k = kFirstMonthIndex[i]; k < kFirstMonthIndex[i + 1]; ++k)
            year[static_cast<size_t>(k)] = static_cast<uint8_t>(i);
    return year;
}();
static_assert(kTableYears - 1 <= UINT8_MAX, "a year index fits a byte");

// Every month index of the table as one byte: the month number (bits 0-3),
// the leap flag (bit 4) and a big month of 30 days (bit 5), so that a month
// step lands on its month and its length with one read.
inline constexpr uint8_t kMonthNumberMask = 0x0F;
inline constexpr uint8_t kMonthLeapBit = 0x10;
inline constexpr uint8_t kMonthBigBit = 0x20;
inline constexpr auto kMonthOfIndex = [] {
    std::array<uint8_t, static_cast<size_t>(kFirstMonthIndex[kTableYears])> months{};
    size_t k = 0;
    for (size_t i = 0; i < kTableYears; ++i) {
        const int64_t year = kFirstYear + int64_t(i);
        const int32_t leap = leap_month(year);
        for (int32_t m = 1; m <= 12; ++m) {
            months[k++] = static_cast<uint8_t>(m | (month_days(year, m, 0) == kBigMonthDays ? kMonthBigBit : 0));
            if (m == leap)
                months[k++] = static_cast<uint8_t>(m | kMonthLeapBit |
                                                   (leap_month_days(year) == kBigMonthDays ? kMonthBigBit : 0));
        }
    }
    return months;
}();

struct MonthOfYear {
    int32_t month;
    int32_t leap;  // 0 or 1
    int32_t days;  // 29 or 30
};

// The month at index `k` of the table (0 <= k < kFirstMonthIndex[kTableYears]).
constexpr MonthOfYear month_of_index(size_t k) noexcept {
    const uint8_t m = kMonthOfIndex[k];
    return {m & kMonthNumberMask, (m & kMonthLeapBit) ? 1 : 0, (m & kMonthBigBit) ? kBigMonthDays : kSmallMonthDays};
}

// Position of ordinary month `month` (1-12) or, with in_leap, of the leap
// month, in a year whose leap month is `leap` (0: none).
constexpr int32_t month_position(int32_t month, bool in_leap, int32_t leap) noexcept {
    if (in_leap) return leap;
    return month - 1 + (leap > 0 && month > leap ? 1 : 0);
}

// Leap nibbles are 0, 2..11 or 15: no leap month after month 1 or 12, which
// keeps the month steps simple (a leap month never ends or starts a year).
constexpr bool leap_months_inside_year() noexcept {
    for (int32_t y = kFirstYear; y <= kLastYear; ++y)
        if (leap_month(y) == 1 || leap_month(y) == 12) return false;
    return true;
}
static_assert(leap_months_inside_year(), "no leap month after month 1 or 12");

// The serial of a day of the table's years. Preconditions: 1900 <= year <=
// 2100, 0 <= position < months of the year.
constexpr DateInt lunar_serial(int32_t year, int32_t position, int32_t day) noexcept {
    const auto i = static_cast<size_t>(year - kFirstYear);
    return kNewYearSerial[i] + kMonthStart[i][static_cast<size_t>(position)] + day - 1;
}

// Independent calendar facts (Spring Festival and leap-month dates as published).
using gregorian::serial_from_civil;
static_assert(kBaseSerial == 32, "1900-01-31");
static_assert(kNewYearSerial[2000 - kFirstYear] == serial_from_civil(2000, 2, 5), "Spring Festival 2000");
static_assert(kNewYearSerial[2017 - kFirstYear] == serial_from_civil(2017, 1, 28), "Spring Festival 2017");
static_assert(kNewYearSerial[2024 - kFirstYear] == serial_from_civil(2024, 2, 10), "Spring Festival 2024");
static_assert(kNewYearSerial[2100 - kFirstYear] == serial_from_civil(2100, 2, 9), "Spring Festival 2100");
static_assert(kNewYearSerial[kTableYears] == serial_from_civil(2101, 1, 29), "lunar 2100 ends 2101-01-28");
static_assert(lunar_serial(1900, 8, 1) == serial_from_civil(1900, 9, 24), "leap month 8 of 1900");
static_assert(lunar_serial(2017, 6, 1) == serial_from_civil(2017, 7, 23), "leap month 6 of 2017");
static_assert(lunar_serial(2033, 11, 1) == serial_from_civil(2033, 12, 22), "leap month 11 of 2033");
// 74 of the 201 years have a leap month (the 383- to 385-day years).
static_assert(kFirstMonthIndex[kTableYears] == 201 * 12 + 74, "months of the table");

}  // namespace qel::lunar

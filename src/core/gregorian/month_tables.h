// The Gregorian leap rule and the two month tables, read as [leap][month - 1].
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace qel::gregorian {

// Divisible by 4, and not by 100 unless by 400 (2000 and 2016 leap; 1900 and
// 2100 not). C++ remainders truncate toward zero, so the rule holds for year 0
// (leap) and negative years (-4 leap, -100 not) alike.
constexpr bool IsLeapYear(int64_t year) noexcept {
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

// Month lengths of a common year (row 0) and a leap year (row 1).
inline constexpr uint16_t MonthDaysTable[2][12] = {
    {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
    {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
};

// The 1-based day of the year on which each month begins: 1 plus the lengths
// of the months before it, summed at compile time from MonthDaysTable.
inline constexpr auto MonthFirstDayTable = [] {
    std::array<std::array<int32_t, 12>, 2> first{};
    for (size_t leap = 0; leap < 2; ++leap) {
        first[leap][0] = 1;
        for (size_t m = 1; m < 12; ++m) first[leap][m] = first[leap][m - 1] + MonthDaysTable[leap][m - 1];
    }
    return first;
}();

static_assert(MonthFirstDayTable[0][2] == 60 && MonthFirstDayTable[1][2] == 61, "1 March");
static_assert(MonthFirstDayTable[0][11] == 335 && MonthFirstDayTable[1][11] == 336, "1 December");

// Days in month 1..12 of `year`. Precondition: 1 <= month <= 12.
constexpr int32_t days_in_month(int64_t year, uint32_t month) noexcept {
    return MonthDaysTable[IsLeapYear(year) ? 1 : 0][month - 1];
}

}  // namespace qel::gregorian

// The literal Gregorian decoder: days are taken off in whole 400-year cycles,
// then centuries, four-year groups, years and months, one step at a time.
// Slow on purpose: it is the independent reference that the constant-time
// decoder of the library is proved against, and a benchmark baseline.
#pragma once

#include <cstdint>

namespace qel::reference {

inline constexpr uint16_t kMonthDays[2][12] = {
    {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
    {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
};

constexpr bool is_leap(uint16_t y) { return y % 4 == 0 && (y % 100 != 0 || y % 400 == 0); }

// Serial (days since 1899-12-30) to year, month, day; defined for serials from
// -693594 (the null date, 0-0-0) on. Returns 1.
inline int32_t decode_date_loop(int64_t date, uint16_t* year, uint16_t* month, uint16_t* day) {
    if (date == -693594) {
        *year = *month = *day = 0;
        return 1;
    }
    int64_t n = date + 693593;  // days since 0001-01-01
    int64_t y = 1;
    while (n >= 146097) {  // one pass per 400 years
        n -= 146097;
        y += 400;
    }
    int64_t c = n / 36524;
    n -= 36524 * c;
    if (c == 4) {  // the last day of a 400-year cycle
        c = 3;
        n += 36524;
    }
    y += 100 * c;
    const int64_t q = n / 1461;
    n %= 1461;
    y += 4 * q;
    int64_t a = n / 365;
    n %= 365;
    if (a == 4) {  // 31 December of the leap year that closes a group of four
        a = 3;
        n += 365;
    }
    y += a;
    const int leap = is_leap(static_cast<uint16_t>(y)) ? 1 : 0;
    int m = 1;
    while (n >= kMonthDays[leap][m - 1]) {
        n -= kMonthDays[leap][m - 1];
        ++m;
    }
    *year = static_cast<uint16_t>(y);
    *month = static_cast<uint16_t>(m);
    *day = static_cast<uint16_t>(n + 1);
    return 1;
}

}  // namespace qel::reference

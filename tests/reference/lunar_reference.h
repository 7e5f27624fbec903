// The literal lunar algorithms: the table lookups read bit by bit, the
// Gregorian-lunar conversion as a walk that subtracts year and month lengths
// from the 1900 base one at a time, and month stepping one month per step.
// Slow on purpose: they are the independent reference that the table-driven
// library is proved against, and benchmark baselines. They share only the
// year table itself with the library.
#pragma once

#include <cstdint>

#include "lunar/year_table.h"
#include "reference/gregorian_reference.h"

namespace qel::reference {

// Gregorian 1900-01-31 (serial 32) is day 1 of month 1 of lunar 1900.
inline constexpr int64_t kLunarBaseSerial = 32;

// The entry of a year: stored for 1900-2103 (the last three are zero); every
// other year reads as zero as well.
inline int32_t lunar_entry(int64_t year) {
    if (year < 1900 || year > 2103) return 0;
    return qel::lunar::LunarYearInfo[year - 1900];
}

inline int32_t leap_month(int64_t year) {
    const int32_t nibble = lunar_entry(year) & 0xF;
    return nibble == 15 ? 0 : nibble;
}

inline int32_t leap_month_days(int64_t year) {
    if (leap_month(year) == 0) return 0;
    return (lunar_entry(year + 1) & 0xF) == 15 ? 30 : 29;
}

// A month outside 1-12 has no flag; it counts 0 days, as in the library.
inline int32_t month_days(int64_t year, int64_t month, int32_t leap) {
    if (leap != 0) return leap_month_days(year);
    if (month < 1 || month > 12) return 0;
    return (lunar_entry(year) & (0x10000 >> month)) ? 30 : 29;
}

inline int32_t year_days(int64_t year) {
    int32_t days = 348;
    for (int32_t mask = 0x8000; mask >= 0x0010; mask >>= 1)
        if (lunar_entry(year) & mask) ++days;
    return days + leap_month_days(year);
}

inline bool pdate_valid(int64_t year, int64_t month, int64_t day, int32_t leap) {
    if (year < 1899 || year > 2100) return false;
    if (year == 1899) return month == 12 && day >= 1 && day <= 30 && leap == 0;
    if (month < 1 || month > 12 || day < 1) return false;
    if (leap != 0) return month == leap_month(year) && day <= leap_month_days(year);
    return day <= month_days(year, month, 0);
}

// Serial to lunar date by the walk. Precondition: the serial lies within
// 2^31 days of the base (the offset is a 32-bit count).
inline int32_t gdate_to_pdate_walk(int64_t date, int32_t* lunar_year, int32_t* lunar_month,
                                   int32_t* lunar_day, int32_t* leap) {
    *lunar_year = 1899, *lunar_month = 1, *lunar_day = 1, *leap = 0;
    auto offset = static_cast<int32_t>(date - kLunarBaseSerial);
    if (offset < 0) {
        *lunar_month = 12, *lunar_day = offset + 31;
        return 1;
    }
    int32_t y = 1900, len = 0;
    while (offset > 0) {  // whole years, 1900 .. 2099 at most
        len = year_days(y);
        ++y;
        offset -= len;
        if (y == 2100) break;
    }
    if (offset < 0) offset += len, --y;
    const int32_t L = leap_month(y);
    int32_t m = 1, in_leap = 0;
    while (offset > 0) {  // months in calendar order, the leap month after month L
        if (L > 0 && m == L + 1 && in_leap == 0) {
            m = L, in_leap = 1, len = leap_month_days(y);
        } else {
            len = month_days(y, m, 0);
            if (in_leap == 1 && m == L + 1) in_leap = 0;
        }
        ++m;
        offset -= len;
        if (m == 13) break;
    }
    if (offset == 0 && L > 0 && m == L + 1) {
        if (in_leap == 1) in_leap = 0;  // day 1 of the month after the leap month
        else in_leap = 1, m = L;        // day 1 of the leap month
    } else if (offset < 0) {
        offset += len, --m;
    }
    *lunar_year = y, *lunar_month = m, *lunar_day = offset + 1, *leap = in_leap;
    return 1;
}

// Lunar date to Gregorian by summing lengths from the base. Precondition:
// 1899 <= year <= 2100, 1 <= month <= 12, and the result within 0001..9999.
inline int32_t pdate_to_gdate_walk(int32_t year, int32_t month, int32_t day, int32_t leap,
                                   int32_t* gyear, int32_t* gmonth, int32_t* gday) {
    if (year == 1899) {
        if (month != 12 || day < 1 || day > 30 || leap != 0) return 0;
        *gyear = 1900, *gmonth = 1, *gday = day;
        return 1;
    }
    const int32_t L = leap_month(year);
    if (leap != 0 && month != L) return -1;
    int64_t days = 0;
    for (int32_t y = 1900; y < year; ++y) days += year_days(y);
    for (int32_t k = 1; k < month; ++k) days += month_days(year, k, 0);
    if (L > 0 && month > L) days += leap_month_days(year);
    if (leap != 0) days += month_days(year, month, 0);
    uint16_t y = 0, m = 0, d = 0;
    decode_date_loop(kLunarBaseSerial + days + day - 1, &y, &m, &d);
    *gyear = y, *gmonth = m, *gday = d;
    return 1;
}

// Month stepping, one month per step. Years are counted in 64 bits and stored
// back modulo 2^32, like the library's. A leap flag on a month that is not
// the year's leap month walks as that ordinary month, but within the start
// year the ordinary and the leap month L count as one: forward it arrives on
// the leap month, backward on the ordinary one. Runs |months| steps.
inline int32_t inc_p_month_walk(int32_t* year, int32_t* month, int32_t* day, int32_t* leap,
                                int32_t months, int32_t clamp) {
    int64_t y = *year, m = *month;
    int32_t flag = *leap;
    const int64_t start = y;
    const bool odd = flag != 0 && !(leap_month(y) > 0 && m == leap_month(y));
    if (odd && months != 0) flag = 0;
    for (int32_t i = 0; i < months; ++i) {
        const int32_t L = leap_month(y);
        if (flag == 0 && L > 0 && m == L) flag = 1;
        else if (odd && y == start && L > 0 && m + 1 == L) m = L, flag = 1;
        else if (m == 12) ++y, m = 1, flag = 0;
        else ++m, flag = 0;
    }
    for (int32_t i = 0; i > months; --i) {
        const int32_t L = leap_month(y);
        if (flag != 0) flag = 0;
        else if (m == 1) --y, m = 12, flag = leap_month(y) == 12 ? 1 : 0;
        else if (L > 0 && m - 1 == L) m = L, flag = (odd && y == start) ? 0 : 1;
        else --m;
    }
    *year = static_cast<int32_t>(static_cast<uint32_t>(y));
    *month = static_cast<int32_t>(static_cast<uint32_t>(m));
    *leap = flag;
    const bool valid = pdate_valid(*year, *month, *day, *leap);
    if (clamp != 0 && !valid) {
        *day = month_days(*year, *month, *leap);
        return 1;
    }
    return valid ? 1 : 0;
}

}  // namespace qel::reference

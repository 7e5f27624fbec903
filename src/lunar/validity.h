// Lunar date validity: the test every lunar operation makes before it names,
// converts or steps a date. The table's years 1900-2100, and lunar 1899 as far
// as it is known (its month 12 of 30 days, Gregorian 1900-01-01..30).
#pragma once

#include <cstdint>

#include "lunar/lookup.h"
#include "lunar/year_index.h"

namespace qel::lunar {

constexpr bool valid_date(int64_t year, int64_t month, int64_t day, int64_t leap) noexcept {
    if (year < kYearBefore || year > kLastYear) return false;
    if (year == kYearBefore)
        return month == 12 && day >= 1 && day <= kLastMonthBeforeDays && leap == 0;
    if (month < 1 || month > 12 || day < 1) return false;
    if (leap != 0) return month == leap_month(year) && day <= leap_month_days(year);
    return day <= month_days(year, month, 0);
}

static_assert(valid_date(2017, 6, 30, 1) && !valid_date(2017, 6, 30, 0), "2017: leap month 6 big, month 6 small");
static_assert(valid_date(1899, 12, 30, 0) && !valid_date(1899, 11, 1, 0), "of lunar 1899 only month 12");

}  // namespace qel::lunar

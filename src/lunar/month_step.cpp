// incPMonth: stepping a lunar date by months.
//
// Month stepping counts months in calendar order (1..L, the leap month L,
// L+1..12, then month 1 of the next year) on one global index: month 1 of
// lunar 1900 is index 0, the table's years are read from kFirstMonthIndex,
// and every year outside 1900-2100 counts twelve months without a leap month,
// as its zero entry reads. A step of n months is then one addition, so every
// count, INT32_MIN and INT32_MAX included, takes constant time.
#include <cstdint>

#include "gregorian/civil.h"
#include "lunar/lookup.h"
#include "lunar/validity.h"
#include "lunar/year_index.h"
#include "qel_datetime.h"

namespace qel::lunar {
namespace {

// Floor division, for month indexes before 1900.
constexpr int64_t floor_div(int64_t a, int64_t b) noexcept { return a / b - (a % b < 0 ? 1 : 0); }

struct MonthStep {
    int64_t year;
    int64_t month;
    int32_t leap;
    int32_t days;  // the month's length when it is a month of the table, else 0
};

// Index of month 1 of `year` (any year; outside the table twelve months a year).
constexpr int64_t first_month_index(int64_t year) noexcept {
    if (year < kFirstYear) return (year - kFirstYear) * 12;
    if (year > kLastYear + 1) return kFirstMonthIndex[kTableYears] + (year - kLastYear - 1) * 12;
    return kFirstMonthIndex[static_cast<size_t>(year - kFirstYear)];
}

constexpr MonthStep month_from_index(int64_t index) noexcept {
    const int64_t table_end = kFirstMonthIndex[kTableYears];
    if (index < 0 || index >= table_end) {
        const int64_t from = index < 0 ? 0 : table_end;  // month 1 of 1900, or of 2101
        const int64_t years = floor_div(index - from, 12);
        const int64_t year = (index < 0 ? kFirstYear : kLastYear + 1) + years;
        return {year, index - from - years * 12 + 1, 0, 0};
    }
    const auto k = static_cast<size_t>(index);
    const MonthOfYear m = month_of_index(k);
    return {kFirstYear + kYearOfMonthIndex[k], m.month, m.leap, m.days};
}

// `months` (non-zero) steps from (year, month, flag). A flag set on a month
// that is not the year's leap month walks as that ordinary month, except that
// within the start year the ordinary and the leap month L count as one month:
// forward it arrives on the leap month, backward on the ordinary one. A month
// outside 1-12 moves by one a step (it is neither 12 nor a leap month) until
// it reaches 1 (from below, forward) or 12 (from above, backward).
constexpr MonthStep step_months(int64_t year, int64_t month, int32_t flag, int64_t months) noexcept {
    const int32_t leap = leap_month(year);
    const bool in_leap = flag != 0 && leap > 0 && month == leap;
    const bool odd_flag = flag != 0 && !in_leap;
    if (month < 1 || month > 12) {
        const int64_t edge = month < 1 ? 1 : 12;
        const int64_t to_edge = edge - month;  // steps to the edge, signed
        if ((months > 0) != (to_edge > 0) || (months > 0 ? months < to_edge : months > to_edge))
            return {year, month + months, 0, 0};  // moving away, or not yet there
        months -= to_edge;
        month = edge;
        if (months == 0) return {year, month, 0, 0};
    }
    int64_t index =
        first_month_index(year) + month_position(static_cast<int32_t>(month), in_leap, leap);
    if (odd_flag && leap > 0) {
        if (months > 0 && month < leap && month + months >= leap) ++index;  // onto the leap month
        if (months < 0 && month > leap && month + months <= leap) --index;  // past the leap month
    }
    return month_from_index(index + months);
}

}  // namespace
}  // namespace qel::lunar

using namespace qel::lunar;
using qel::gregorian::wrap32;

extern "C" int32_t incPMonth(int32_t* year, int32_t* month, int32_t* day, int32_t* leap, int32_t months,
                  int32_t clamp) noexcept {
    if (!year || !month || !day || !leap) return 0;
    if (months != 0) {
        const MonthStep s = step_months(*year, *month, *leap, months);
        *year = wrap32(s.year);
        *month = wrap32(s.month);
        *leap = s.leap;
        if (s.days > 0) {  // a month of the table: its length came with it
            if (*day >= 1 && *day <= s.days) return 1;
            if (clamp == 0) return 0;
            *day = s.days;
            return 1;
        }
    }
    const bool valid = valid_date(*year, *month, *day, *leap);
    if (clamp != 0 && !valid) {
        *day = month_days(*year, *month, *leap);
        return 1;
    }
    return valid ? 1 : 0;
}

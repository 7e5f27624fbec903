// The next lunar date that has a given day: findPDateInDay over the rest of
// the year and the next (month by month), findPDateInMonthDay over 60 years
// (year by year). Both loops are bounded by those spans whatever the input.
#include <cstdint>

#include "gregorian/civil.h"
#include "lunar/validity.h"
#include "qel_datetime.h"

namespace {

// findPDateInDay tries the rest of the year and the next year; findPDateInMonthDay 60 years.
constexpr int64_t kDaySearchYears = 2;
constexpr int64_t kMonthDaySearchYears = 60;

}  // namespace

using qel::gregorian::wrap32;
using qel::lunar::valid_date;

extern "C" {

// Month by month over the rest of the year and all of the next. Months below 1
// can never match, so the search starts at month 1 of the same year.
int32_t findPDateInDay(int32_t* year, int32_t* month, int32_t* day) noexcept {
    if (!year || !month || !day) return 0;
    const int64_t start = *year;
    int64_t y = start;
    int64_t m = *month < 1 ? 1 : *month;
    while (!valid_date(y, m, *day, 0)) {  // at most 24 passes
        if (++m > 12) {
            ++y;
            m = 1;
        }
        if (y - start >= kDaySearchYears) return 0;
    }
    *year = wrap32(y);
    *month = wrap32(m);
    return 1;
}

int32_t findPDateInMonthDay(int32_t* year, int32_t* month, int32_t* day) noexcept {
    if (!year || !month || !day) return 0;
    const int64_t start = *year;
    for (int64_t y = start; y - start < kMonthDaySearchYears; ++y) {
        if (valid_date(y, *month, *day, 0)) {
            *year = wrap32(y);
            return 1;
        }
    }
    return 0;
}

}  // extern "C"

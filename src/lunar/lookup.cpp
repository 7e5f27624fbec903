// The two exported lookups of the lunar year table (lookup.h holds them all).
#include <cstdint>

#include "lunar/lookup.h"
#include "qel_datetime.h"

extern "C" {

int32_t GetLeapMonthInPYear(int32_t year) noexcept { return qel::lunar::leap_month(year); }

int32_t getPMonthDays(int32_t year, int32_t month, int32_t leap) noexcept {
    return qel::lunar::month_days(year, month, leap);
}

}  // extern "C"

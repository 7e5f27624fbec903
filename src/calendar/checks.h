// The checks of a Gregorian date, a lunar date and a clock time, with the
// reason of a failure: the one definition of validity that the conversions,
// the pillars and the messages all use.
#pragma once

#include <cstddef>
#include <cstdint>

#include "gregorian/civil.h"
#include "calendar/lunisolar.h"
#include "qel_calendar.h"

namespace qel::calendar {

constexpr bool within(int64_t v, int64_t low, int64_t high) noexcept { return low <= v && v <= high; }

constexpr int32_t date_reason(int32_t year, int32_t month, int32_t day) noexcept {
    if (!within(year, 1, 9999)) return QEL_REASON_YEAR;
    if (!within(month, 1, 12)) return QEL_REASON_MONTH;
    if (!within(day, 1, 31)) return QEL_REASON_DAY;
    if (day > gregorian::days_in_month(year, static_cast<uint32_t>(month))) return QEL_REASON_MONTH_LENGTH;
    return QEL_REASON_NONE;
}

// The order of the checks is the conversion's: the year (QEL_E_RANGE), the
// leap flag (QEL_E_ARGUMENT), then the fields and the year's months.
// Precondition: lunisolar::calendar_ok(calendar).
constexpr int32_t lunar_reason(size_t calendar, int32_t year, int32_t month, int32_t day, int32_t leap) noexcept {
    if (!lunisolar::year_in_range(year)) return QEL_REASON_YEAR;
    if (leap != 0 && leap != 1) return QEL_REASON_LEAP_FLAG;
    if (!within(month, 1, 12)) return QEL_REASON_MONTH;
    if (!within(day, 1, 30)) return QEL_REASON_DAY;
    if (leap == 1) {
        const int32_t leap_of_year = lunisolar::leap_month(calendar, year);
        if (leap_of_year == 0) return QEL_REASON_NO_LEAP_MONTH;
        if (leap_of_year != month) return QEL_REASON_OTHER_LEAP_MONTH;
    }
    if (day > lunisolar::month_days(calendar, year, month, leap)) return QEL_REASON_MONTH_LENGTH;
    return QEL_REASON_NONE;
}

constexpr int32_t time_reason(int32_t hour, int32_t minute, int32_t second) noexcept {
    if (!within(hour, 0, 23)) return QEL_REASON_HOUR;
    if (!within(minute, 0, 59)) return QEL_REASON_MINUTE;
    if (!within(second, 0, 59)) return QEL_REASON_SECOND;
    return QEL_REASON_NONE;
}

constexpr int32_t status_of(int32_t reason) noexcept {
    return reason == QEL_REASON_NONE        ? QEL_OK
           : reason == QEL_REASON_YEAR      ? QEL_E_RANGE
           : reason == QEL_REASON_LEAP_FLAG ? QEL_E_ARGUMENT
                                            : QEL_E_DATE;
}

}  // namespace qel::calendar

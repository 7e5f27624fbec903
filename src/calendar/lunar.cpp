// Lunar dates of the table years 1900-2100: conversion both ways, month
// lengths, the leap month, and the date as Chinese text.
#include <cstddef>
#include <cstdint>

#include "calendar/checks.h"
#include "calendar/lunar.h"
#include "calendar/names.h"
#include "calendar/text.h"
#include "calendar/lunisolar.h"
#include "qel_calendar.h"

namespace qel::calendar {

int32_t lunar_serial_checked(int32_t year, int32_t month, int32_t day, int32_t leap, int64_t* serial) noexcept {
    const int32_t status = status_of(lunar_reason(year, month, day, leap));
    if (status != QEL_OK) return status;
    *serial = lunisolar::kMonths[lunisolar::month_index(year, month, leap)].first + day - 1;
    return QEL_OK;
}

}  // namespace qel::calendar

using namespace qel::calendar;

extern "C" {

int32_t qel_lunar_of_serial(int64_t serial, qel_lunar_date* out) noexcept {
    namespace ls = qel::calendar::lunisolar;
    if (out == nullptr) return QEL_E_ARGUMENT;
    if (!ls::in_range(serial)) return QEL_E_RANGE;
    const size_t k = ls::month_of(serial);
    *out = {ls::year(k), ls::number(k), static_cast<int32_t>(serial - ls::kMonths[k].first) + 1, ls::leap(k)};
    return QEL_OK;
}

int32_t qel_serial_of_lunar(int32_t year, int32_t month, int32_t day, int32_t leap, int64_t* serial) noexcept {
    if (serial == nullptr) return QEL_E_ARGUMENT;
    return lunar_serial_checked(year, month, day, leap, serial);
}

int32_t qel_lunar_month_days(int32_t year, int32_t month, int32_t leap) noexcept {
    int64_t serial = 0;
    const int32_t status = lunar_serial_checked(year, month, 1, leap, &serial);
    return status == QEL_OK ? lunisolar::month_days(year, month, leap) : status;
}

int32_t qel_lunar_leap_month(int32_t year) noexcept {
    if (!lunisolar::year_in_range(year)) return QEL_E_RANGE;
    return lunisolar::leap_month(year);
}

int32_t qel_lunar_year_days(int32_t year) noexcept {
    if (!lunisolar::year_in_range(year)) return QEL_E_RANGE;
    return lunisolar::year_days(year);
}

int32_t qel_lunar_year_months(int32_t year, qel_lunar_month* out, size_t capacity) noexcept {
    if (out == nullptr && capacity > 0) return QEL_E_ARGUMENT;
    if (!lunisolar::year_in_range(year)) return QEL_E_RANGE;
    const size_t first = lunisolar::first_month(year), count = lunisolar::months_in(year);
    for (size_t i = 0; i < count && i < capacity; ++i) {
        const size_t k = first + i;
        out[i] = {lunisolar::number(k), lunisolar::leap(k), lunisolar::days(k), 0, lunisolar::kMonths[k].first};
    }
    return static_cast<int32_t>(count);
}

int32_t qel_lunar_step(int32_t year, int32_t month, int32_t day, int32_t leap, int64_t count, int32_t unit,
                       uint32_t flags, qel_lunar_date* out) noexcept {
    if (out == nullptr || (unit != QEL_UNIT_MONTH && unit != QEL_UNIT_YEAR) || (flags & ~QEL_STEP_NO_CLAMP) != 0)
        return QEL_E_ARGUMENT;
    const int32_t start = status_of(lunar_reason(year, month, day, leap));
    if (start != QEL_OK) return start;
    qel_lunar_date to{};
    int32_t days = 0;
    if (unit == QEL_UNIT_MONTH) {
        // Months in calendar order are consecutive entries of the month table.
        const auto from = static_cast<int64_t>(lunisolar::month_index(year, month, leap));
        const auto total = static_cast<int64_t>(lunisolar::kMonthCount);
        if (count < -from || count >= total - from) return QEL_E_RANGE;  // also keeps from + count in range
        const auto k = static_cast<size_t>(from + count);
        to = {lunisolar::year(k), lunisolar::number(k), day, lunisolar::leap(k)};
        days = lunisolar::days(k);
    } else {
        if (count < lunisolar::kFirstYear - year || count > lunisolar::kLastYear - year) return QEL_E_RANGE;
        const auto y = static_cast<int32_t>(year + count);
        const int32_t to_leap = leap == 1 && lunisolar::leap_month(y) == month ? 1 : 0;
        to = {y, month, day, to_leap};
        days = lunisolar::month_days(y, month, to_leap);
    }
    if (day <= days) {
        *out = to;
        return QEL_OK;
    }
    if (flags & QEL_STEP_NO_CLAMP) return QEL_E_DATE;
    to.day = days;
    *out = to;
    return QEL_CLAMPED;
}

int32_t qel_lunar_text(int32_t year, int32_t month, int32_t day, int32_t leap, uint32_t flags, char* buf,
                       size_t size) noexcept {
    if ((flags & ~QEL_NAME_PLAIN_MONTHS) != 0) return fail_text(QEL_E_ARGUMENT, buf, size);
    int64_t serial = 0;
    const int32_t status = lunar_serial_checked(year, month, day, leap, &serial);
    if (status != QEL_OK) return fail_text(status, buf, size);
    char month_name[32];
    const int32_t month_length = qel_name(QEL_NAME_LUNAR_MONTH, month, flags | (leap ? QEL_NAME_LEAP : 0u),
                                          month_name, sizeof month_name);
    if (month_length < 0) return fail_text(month_length, buf, size);
    ShortText text;
    text.append({month_name, static_cast<size_t>(month_length)});
    text.append(kDayNames[day]);
    return write_text(text.view(), buf, size);
}

}  // extern "C"

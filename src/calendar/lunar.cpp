// Lunar dates of the table years 1900-2100: conversion both ways, month
// lengths, the leap month, and the date as Chinese text.
#include <cstddef>
#include <cstdint>

#include "calendar/checks.h"
#include "calendar/lunar.h"
#include "calendar/names.h"
#include "calendar/text.h"
#include "lunar/locate.h"
#include "lunar/lookup.h"
#include "lunar/year_index.h"
#include "qel_calendar.h"

namespace qel::calendar {

int32_t lunar_serial_checked(int32_t year, int32_t month, int32_t day, int32_t leap, int64_t* serial) noexcept {
    const int32_t status = status_of(lunar_reason(year, month, day, leap));
    if (status != QEL_OK) return status;
    *serial = lunar::lunar_serial(year, lunar::month_position(month, leap == 1, lunar::leap_month(year)), day);
    return QEL_OK;
}

}  // namespace qel::calendar

using namespace qel::calendar;

extern "C" {

int32_t qel_lunar_of_serial(int64_t serial, qel_lunar_date* out) noexcept {
    if (out == nullptr) return QEL_E_ARGUMENT;
    if (!qel::lunar::in_table(serial)) return QEL_E_RANGE;
    const qel::lunar::TableDay t = qel::lunar::locate(serial);
    const qel::lunar::MonthOfYear m = qel::lunar::month_of_index(t.month_index);
    *out = {qel::lunar::kFirstYear + static_cast<int32_t>(t.year_index), m.month, t.day, m.leap};
    return QEL_OK;
}

int32_t qel_serial_of_lunar(int32_t year, int32_t month, int32_t day, int32_t leap, int64_t* serial) noexcept {
    if (serial == nullptr) return QEL_E_ARGUMENT;
    return lunar_serial_checked(year, month, day, leap, serial);
}

int32_t qel_lunar_month_days(int32_t year, int32_t month, int32_t leap) noexcept {
    int64_t serial = 0;
    const int32_t status = lunar_serial_checked(year, month, 1, leap, &serial);
    return status == QEL_OK ? qel::lunar::month_days(year, month, leap) : status;
}

int32_t qel_lunar_leap_month(int32_t year) noexcept {
    if (year < qel::lunar::kFirstYear || year > qel::lunar::kLastYear) return QEL_E_RANGE;
    return qel::lunar::leap_month(year);
}

int32_t qel_lunar_year_days(int32_t year) noexcept {
    if (year < qel::lunar::kFirstYear || year > qel::lunar::kLastYear) return QEL_E_RANGE;
    return qel::lunar::year_days(year);
}

int32_t qel_lunar_year_months(int32_t year, qel_lunar_month* out, size_t capacity) noexcept {
    if (out == nullptr && capacity > 0) return QEL_E_ARGUMENT;
    if (year < qel::lunar::kFirstYear || year > qel::lunar::kLastYear) return QEL_E_RANGE;
    const auto i = static_cast<size_t>(year - qel::lunar::kFirstYear);
    const auto first = static_cast<size_t>(qel::lunar::kFirstMonthIndex[i]);
    const auto count = static_cast<size_t>(qel::lunar::kFirstMonthIndex[i + 1]) - first;
    for (size_t k = 0; k < count && k < capacity; ++k) {
        const qel::lunar::MonthOfYear m = qel::lunar::month_of_index(first + k);
        out[k] = {m.month, m.leap, m.days, 0, qel::lunar::kNewYearSerial[i] + qel::lunar::kMonthStart[i][k]};
    }
    return static_cast<int32_t>(count);
}

int32_t qel_lunar_step(int32_t year, int32_t month, int32_t day, int32_t leap, int64_t count, int32_t unit,
                       uint32_t flags, qel_lunar_date* out) noexcept {
    namespace lunar = qel::lunar;
    if (out == nullptr || (unit != QEL_UNIT_MONTH && unit != QEL_UNIT_YEAR) || (flags & ~QEL_STEP_NO_CLAMP) != 0)
        return QEL_E_ARGUMENT;
    const int32_t start = status_of(lunar_reason(year, month, day, leap));
    if (start != QEL_OK) return start;
    qel_lunar_date to{};
    int32_t days = 0;
    if (unit == QEL_UNIT_MONTH) {
        // Months in calendar order are consecutive indexes of the table.
        const int64_t total = lunar::kFirstMonthIndex[lunar::kTableYears];
        const int64_t from = lunar::kFirstMonthIndex[static_cast<size_t>(year - lunar::kFirstYear)] +
                             lunar::month_position(month, leap == 1, lunar::leap_month(year));
        if (count < -from || count >= total - from) return QEL_E_RANGE;  // also keeps from + count in range
        const auto k = static_cast<size_t>(from + count);
        const lunar::MonthOfYear m = lunar::month_of_index(k);
        to = {lunar::kFirstYear + lunar::kYearOfMonthIndex[k], m.month, day, m.leap};
        days = m.days;
    } else {
        if (count < lunar::kFirstYear - year || count > lunar::kLastYear - year) return QEL_E_RANGE;
        const auto y = static_cast<int32_t>(year + count);
        const int32_t to_leap = leap == 1 && lunar::leap_month(y) == month ? 1 : 0;
        to = {y, month, day, to_leap};
        days = lunar::month_days(y, month, to_leap);
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

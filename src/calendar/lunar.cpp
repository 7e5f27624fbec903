// Lunar dates of the table years 1900-2100: conversion both ways, month
// lengths, the leap month, and the date as Chinese text.
#include <cstddef>
#include <cstdint>

#include "calendar/lunar.h"
#include "calendar/names.h"
#include "calendar/text.h"
#include "lunar/locate.h"
#include "lunar/lookup.h"
#include "lunar/year_index.h"
#include "qel_calendar.h"

namespace qel::calendar {

int32_t lunar_serial_checked(int32_t year, int32_t month, int32_t day, int32_t leap, int64_t* serial) noexcept {
    if (year < lunar::kFirstYear || year > lunar::kLastYear) return QEL_E_RANGE;
    if (leap != 0 && leap != 1) return QEL_E_ARGUMENT;
    const int32_t leap_of_year = lunar::leap_month(year);
    if (month < 1 || month > 12 || (leap == 1 && month != leap_of_year)) return QEL_E_DATE;
    if (day < 1 || day > lunar::month_days(year, month, leap)) return QEL_E_DATE;
    *serial = lunar::lunar_serial(year, lunar::month_position(month, leap == 1, leap_of_year), day);
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

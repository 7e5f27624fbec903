// Lunar dates of the three calendars: conversion both ways, the months of a
// year, a step by months or years, a month's source, and the date as text.
#include <cstddef>
#include <cstdint>

#include "calendar/checks.h"
#include "calendar/festivals.h"
#include "calendar/lunar.h"
#include "calendar/names.h"
#include "calendar/text.h"
#include "calendar/lunisolar.h"
#include "qel_calendar.h"

namespace qel::calendar {

int32_t lunar_serial_checked(size_t calendar, int32_t year, int32_t month, int32_t day, int32_t leap,
                             int64_t* serial) noexcept {
    const int32_t status = status_of(lunar_reason(calendar, year, month, day, leap));
    if (status != QEL_OK) return status;
    const lunisolar::Year& y = lunisolar::year_entry(calendar, year);
    *serial = lunisolar::first_day(calendar, y, lunisolar::month_index(calendar, year, month, leap)) + day - 1;
    return QEL_OK;
}

}  // namespace qel::calendar

using namespace qel::calendar;
namespace ls = qel::calendar::lunisolar;

namespace {

// The month's source and flags from the sources' flags of its first day.
qel_month_info month_info(size_t calendar, int32_t year, int32_t index) noexcept {
    const ls::Year& y = ls::year_entry(calendar, year);
    const uint8_t m = ls::month_entry(calendar, y, index);
    const int64_t first = ls::first_day(calendar, y, index);
    const uint8_t f = ls::source_flags(calendar, first);
    const bool published = (calendar == QEL_CALENDAR_CHINESE && year >= qel::lunar::kFirstYear &&
                            year <= qel::lunar::kLastYear) ||
                           (calendar == QEL_CALENDAR_KOREAN && first + ls::days(m) <= ls::kKoreanPublishedEnd);
    const bool overridden = (f & qel::lunar::kComputedRecord) != 0;
    uint32_t flags = 0;
    if (f & qel::lunar::kComputedStartUncertain) flags |= QEL_MONTH_START_UNCERTAIN;
    if (f & qel::lunar::kComputedLabelUncertain) flags |= QEL_MONTH_LABEL_UNCERTAIN;
    if (f & qel::lunar::kComputedEnginesDiffer) flags |= QEL_MONTH_ENGINES_DIFFER;
    if (overridden || (f & qel::lunar::kComputedDiffersFromPublished)) flags |= QEL_MONTH_COMPUTATION_DIFFERS;
    return {year, ls::number(m), ls::leap(m), ls::days(m), first,
            published ? QEL_SOURCE_PUBLISHED : overridden ? QEL_SOURCE_RECORD : QEL_SOURCE_COMPUTED, flags};
}

}  // namespace

extern "C" {

int32_t qel_lunar_of_serial_in(int32_t calendar, int64_t serial, qel_lunar_date* out) noexcept {
    if (out == nullptr || !ls::calendar_ok(calendar)) return QEL_E_ARGUMENT;
    if (!ls::in_range(serial)) return QEL_E_RANGE;
    const auto c = static_cast<size_t>(calendar);
    const ls::Found m = ls::month_of(c, serial);
    *out = {ls::kFirstYear + ls::year_index_of(c, m.ordinal, m.month), ls::number(m.month),
            static_cast<int32_t>(serial - m.first) + 1, ls::leap(m.month)};
    return QEL_OK;
}

int32_t qel_lunar_of_serial(int64_t serial, qel_lunar_date* out) noexcept {
    return qel_lunar_of_serial_in(QEL_CALENDAR_CHINESE, serial, out);
}

int32_t qel_serial_of_lunar_in(int32_t calendar, int32_t year, int32_t month, int32_t day, int32_t leap,
                               int64_t* serial) noexcept {
    if (serial == nullptr || !ls::calendar_ok(calendar)) return QEL_E_ARGUMENT;
    return lunar_serial_checked(static_cast<size_t>(calendar), year, month, day, leap, serial);
}

int32_t qel_serial_of_lunar(int32_t year, int32_t month, int32_t day, int32_t leap, int64_t* serial) noexcept {
    return qel_serial_of_lunar_in(QEL_CALENDAR_CHINESE, year, month, day, leap, serial);
}

int32_t qel_lunar_month_days(int32_t year, int32_t month, int32_t leap) noexcept {
    int64_t serial = 0;
    const int32_t status = lunar_serial_checked(QEL_CALENDAR_CHINESE, year, month, 1, leap, &serial);
    return status == QEL_OK ? ls::month_days(QEL_CALENDAR_CHINESE, year, month, leap) : status;
}

int32_t qel_lunar_leap_month(int32_t year) noexcept {
    if (!ls::year_in_range(year)) return QEL_E_RANGE;
    return ls::leap_month(QEL_CALENDAR_CHINESE, year);
}

int32_t qel_lunar_year_days(int32_t year) noexcept {
    if (!ls::year_in_range(year)) return QEL_E_RANGE;
    return ls::year_days(QEL_CALENDAR_CHINESE, year);
}

int32_t qel_lunar_year_months_in(int32_t calendar, int32_t year, qel_lunar_month* out, size_t capacity) noexcept {
    if ((out == nullptr && capacity > 0) || !ls::calendar_ok(calendar)) return QEL_E_ARGUMENT;
    if (!ls::year_in_range(year)) return QEL_E_RANGE;
    const auto c = static_cast<size_t>(calendar);
    const ls::Year& y = ls::year_entry(c, year);
    const int32_t months = ls::months_in(c, year);
    for (int32_t i = 0; i < months && static_cast<size_t>(i) < capacity; ++i) {
        const uint8_t m = ls::month_entry(c, y, i);
        out[i] = {ls::number(m), ls::leap(m), ls::days(m), 0, ls::first_day(c, y, i)};
    }
    return months;
}

int32_t qel_lunar_year_months(int32_t year, qel_lunar_month* out, size_t capacity) noexcept {
    return qel_lunar_year_months_in(QEL_CALENDAR_CHINESE, year, out, capacity);
}

int32_t qel_lunar_month_info(int32_t calendar, int32_t year, int32_t month, int32_t leap,
                             qel_month_info* out) noexcept {
    if (out == nullptr || !ls::calendar_ok(calendar)) return QEL_E_ARGUMENT;
    const auto c = static_cast<size_t>(calendar);
    int64_t serial = 0;
    const int32_t status = lunar_serial_checked(c, year, month, 1, leap, &serial);
    if (status != QEL_OK) return status;
    *out = month_info(c, year, ls::month_index(c, year, month, leap));
    return QEL_OK;
}

int32_t qel_lunar_step(int32_t year, int32_t month, int32_t day, int32_t leap, int64_t count, int32_t unit,
                       uint32_t flags, qel_lunar_date* out) noexcept {
    if (out == nullptr || (unit != QEL_UNIT_MONTH && unit != QEL_UNIT_YEAR) ||
        (flags & ~(QEL_STEP_NO_CLAMP | QEL_OPT_CALENDAR_MASK)) != 0 || calendar_of(flags) >= QEL_CALENDAR_COUNT)
        return QEL_E_ARGUMENT;
    const size_t c = calendar_of(flags);
    const int32_t start = status_of(lunar_reason(c, year, month, day, leap));
    if (start != QEL_OK) return start;
    qel_lunar_date to{};
    int32_t days = 0;
    if (unit == QEL_UNIT_MONTH) {
        // Months in calendar order: an ordinal of the calendar's months.
        ls::MonthRef r{year, ls::month_index(c, year, month, leap)};
        if (!ls::step_months(c, r, count)) return QEL_E_RANGE;
        const uint8_t m = ls::month_entry(c, ls::year_entry(c, r.year), r.index);
        to = {r.year, ls::number(m), day, ls::leap(m)};
        days = ls::days(m);
    } else {
        if (count < ls::kFirstYear - year || count > ls::kLastYear - year) return QEL_E_RANGE;
        const auto y = static_cast<int32_t>(year + count);
        const int32_t to_leap = leap == 1 && ls::leap_month(c, y) == month ? 1 : 0;
        to = {y, month, day, to_leap};
        days = ls::month_days(c, y, month, to_leap);
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
    const uint32_t language = flags & (QEL_NAME_KOREAN | QEL_NAME_VIETNAMESE);
    if ((flags & ~(QEL_NAME_PLAIN_MONTHS | QEL_NAME_KOREAN | QEL_NAME_VIETNAMESE | QEL_OPT_CALENDAR_MASK)) != 0 ||
        language == (QEL_NAME_KOREAN | QEL_NAME_VIETNAMESE) || calendar_of(flags) >= QEL_CALENDAR_COUNT)
        return fail_text(QEL_E_ARGUMENT, buf, size);
    int64_t serial = 0;
    const int32_t status = lunar_serial_checked(calendar_of(flags), year, month, day, leap, &serial);
    if (status != QEL_OK) return fail_text(status, buf, size);
    const uint32_t name_flags = (flags & (QEL_NAME_PLAIN_MONTHS | language)) | (leap ? QEL_NAME_LEAP : 0u);
    char month_name[48], day_name[32];
    const int32_t month_length = qel_name(QEL_NAME_LUNAR_MONTH, month, name_flags, month_name, sizeof month_name);
    const int32_t day_length = qel_name(QEL_NAME_LUNAR_DAY, day, language, day_name, sizeof day_name);
    if (month_length < 0) return fail_text(month_length, buf, size);
    if (day_length < 0) return fail_text(day_length, buf, size);
    const std::string_view m{month_name, static_cast<size_t>(month_length)}, d{day_name, static_cast<size_t>(day_length)};
    // Chinese writes the month and the day together, Korean month then day
    // ("윤6월 1일"), Vietnamese day then month ("mùng 1 tháng Sáu").
    ShortText text;
    text.append(language == QEL_NAME_VIETNAMESE ? d : m);
    if (language != 0) text.append(" ");
    text.append(language == QEL_NAME_VIETNAMESE ? m : d);
    return write_text(text.view(), buf, size);
}

}  // extern "C"

// Festival dates by year and festivals by name.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "calendar/festivals.h"
#include "calendar/names.h"
#include "calendar/terms.h"
#include "gregorian/civil.h"
#include "calendar/lunar.h"
#include "calendar/lunisolar.h"
#include "qel_calendar.h"

using namespace qel::calendar;

extern "C" {

int32_t qel_festival_date(int32_t festival, int32_t year, uint32_t options, int64_t* serial) noexcept {
    if (festival < 0 || festival >= QEL_FESTIVAL_COUNT || !festival_options_ok(options) || serial == nullptr ||
        !keeps(calendar_of(options), festival))
        return QEL_E_ARGUMENT;
    if (year < QEL_FIRST_YEAR || year > QEL_LAST_YEAR) return QEL_E_RANGE;
    const FestivalDef& f = kFestivals[festival];
    const size_t calendar = calendar_of(options);
    switch (f.rule) {
        case FestivalRule::kLunarDay: {
            const bool south = festival == QEL_FESTIVAL_XIAONIAN && (options & QEL_OPT_XIAONIAN_SOUTH);
            return lunar_serial_checked(calendar, year, f.month, south ? kXiaonianSouthDay : f.day, 0, serial);
        }
        case FestivalRule::kLunarYearEnd:
            return lunar_serial_checked(calendar, year, 12, lunisolar::month_days(calendar, year, 12, 0), 0, serial);
        case FestivalRule::kSolarTerm: {
            // The term's day in UTC+8.
            const int64_t local = term_instant(term_index(year, f.day)) + kCstOffset;
            *serial = floor_div(local, kSecondsPerDay) + kSerialOf1970;
            return QEL_OK;
        }
        case FestivalRule::kGregorian:
            *serial = qel::gregorian::serial_from_civil(static_cast<uint32_t>(year), static_cast<uint32_t>(f.month),
                                                        static_cast<uint32_t>(f.day));
            return QEL_OK;
    }
    return QEL_E_ARGUMENT;
}

int32_t qel_festivals_of_year(int32_t year, uint32_t options, qel_festival_day* out, size_t capacity) noexcept {
    if (!festival_options_ok(options) || (out == nullptr && capacity > 0)) return QEL_E_ARGUMENT;
    if (year < QEL_FIRST_YEAR || year > QEL_LAST_YEAR) return QEL_E_RANGE;
    // A lunar new year falls between 21 January and 20 February, so the
    // festivals inside Gregorian year y are those of lunar years y - 1 (腊八,
    // 小年 and 除夕 in January or February) and y, and the year's own terms
    // and Gregorian days. Ordered by day, then festival: an insertion sort
    // of at most 28 entries.
    qel_festival_day found[QEL_FESTIVAL_DAYS_MAX] = {};
    size_t n = 0;
    const int64_t first = qel::gregorian::serial_from_civil(static_cast<uint32_t>(year), 1, 1);
    const int64_t end = qel::gregorian::serial_from_civil(static_cast<uint32_t>(year) + 1, 1, 1);
    for (int32_t f = 0; f < QEL_FESTIVAL_COUNT; ++f) {
        if (!keeps(calendar_of(options), f)) continue;
        const bool lunar = kFestivals[f].rule == FestivalRule::kLunarDay || kFestivals[f].rule == FestivalRule::kLunarYearEnd;
        for (int32_t y = lunar ? year - 1 : year; y <= year; ++y) {
            int64_t serial = 0;
            if (qel_festival_date(f, y, options, &serial) != QEL_OK || serial < first || serial >= end) continue;
            size_t k = n++;
            for (; k > 0 && found[k - 1].serial > serial; --k) found[k] = found[k - 1];
            found[k] = {serial, f, 0};
        }
    }
    for (size_t k = 0; k < n && k < capacity; ++k) out[k] = found[k];
    return static_cast<int32_t>(n);
}

int32_t qel_festival_of_name(const char* name, size_t length) noexcept {
    if (name == nullptr) return QEL_E_ARGUMENT;
    const std::string_view s(name, length);
    for (int32_t f = 0; f < QEL_FESTIVAL_COUNT; ++f) {
        const FestivalDef& d = kFestivals[f];
        if (equal_ascii_nocase(s, d.key) || equal_ascii_nocase(s, d.english) || s == d.chinese || s == d.short_name ||
            (!s.empty() && (s == d.korean || s == d.vietnamese)))
            return f;
    }
    return QEL_E_ARGUMENT;
}

}  // extern "C"

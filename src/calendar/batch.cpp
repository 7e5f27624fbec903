// Batch calls: many days in one call, for the bindings and databases. Each
// element is independent and gets its own status; nothing allocates.
//
// The lunar conversion keeps the month of the previous element: a day in the
// same lunar month (the next day of a sorted range, a repeat) is one subtract
// and compare, and only a day outside it goes through the table search.
#include <cstddef>
#include <cstdint>

#include "calendar/day.h"
#include "calendar/lunisolar.h"
#include "calendar/lunar.h"
#include "qel_calendar.h"

namespace {

using namespace qel::calendar;

constexpr int64_t kMaxEpoch = int64_t{1} << 40;

bool epoch_ok(int64_t epoch) noexcept { return epoch >= -kMaxEpoch && epoch <= kMaxEpoch; }

// The serial of count + epoch (|epoch| <= 2^40), saturated at the ends of
// int64: outside every range either way.
constexpr qel::DateInt serial_of_count(int64_t count, int64_t epoch) noexcept {
    if (epoch > 0 && count > INT64_MAX - epoch) return INT64_MAX;
    if (epoch < 0 && count < INT64_MIN - epoch) return INT64_MIN;
    return count + epoch;
}

template <typename T>
void put(T* array, size_t i, T value) noexcept {
    if (array) array[i] = value;
}

// The lunar month that the last converted day fell in.
struct MonthRun {
    qel::DateInt first = 0;   // serial of its day 1
    int32_t days = 0;    // 0 until a month is known
    int32_t year = 0, month = 0, leap = 0;
};

}  // namespace

extern "C" {

int64_t qel_lunar_of_days_in(int32_t calendar, const int64_t* days, size_t n, int64_t epoch, int32_t* year,
                             int32_t* month, int32_t* day, int32_t* leap, int8_t* status) noexcept {
    if (!epoch_ok(epoch) || (days == nullptr && n > 0) || !lunisolar::calendar_ok(calendar)) return QEL_E_ARGUMENT;
    const auto c = static_cast<size_t>(calendar);
    MonthRun run;
    int64_t ok = 0;
    for (size_t i = 0; i < n; ++i) {
        const qel::DateInt s = serial_of_count(days[i], epoch);
        auto offset = static_cast<uint64_t>(s) - static_cast<uint64_t>(run.first);
        if (offset >= static_cast<uint64_t>(run.days)) {
            if (!lunisolar::in_range(s)) {
                put(year, i, 0), put(month, i, 0), put(day, i, 0), put(leap, i, 0);
                put(status, i, static_cast<int8_t>(QEL_E_RANGE));
                continue;
            }
            const lunisolar::MonthRef r = lunisolar::month_of(c, s);
            const lunisolar::Year& y = lunisolar::year_entry(c, r.year);
            run = {y.first + lunisolar::offset_of(r.month, r.index), lunisolar::days(r.month), r.year,
                   lunisolar::number(r.month), lunisolar::leap(r.month)};
            offset = static_cast<uint64_t>(s - run.first);
        }
        put(year, i, run.year), put(month, i, run.month), put(leap, i, run.leap);
        put(day, i, static_cast<int32_t>(offset) + 1);
        put(status, i, static_cast<int8_t>(QEL_OK));
        ++ok;
    }
    return ok;
}

int64_t qel_lunar_of_days(const int64_t* days, size_t n, int64_t epoch, int32_t* year, int32_t* month,
                          int32_t* day, int32_t* leap, int8_t* status) noexcept {
    return qel_lunar_of_days_in(QEL_CALENDAR_CHINESE, days, n, epoch, year, month, day, leap, status);
}

int64_t qel_days_of_lunar_in(int32_t calendar, const int32_t* year, const int32_t* month, const int32_t* day,
                             const int32_t* leap, size_t n, int64_t epoch, int64_t* days, int8_t* status) noexcept {
    if (!epoch_ok(epoch) || ((year == nullptr || month == nullptr || day == nullptr || leap == nullptr) && n > 0) ||
        !lunisolar::calendar_ok(calendar))
        return QEL_E_ARGUMENT;
    int64_t ok = 0;
    for (size_t i = 0; i < n; ++i) {
        int64_t serial = 0;
        const int32_t st = lunar_serial_checked(static_cast<size_t>(calendar), year[i], month[i], day[i], leap[i], &serial);
        put(days, i, st == QEL_OK ? serial - epoch : INT64_MIN);
        put(status, i, static_cast<int8_t>(st));
        ok += st == QEL_OK;
    }
    return ok;
}

int64_t qel_days_of_lunar(const int32_t* year, const int32_t* month, const int32_t* day, const int32_t* leap,
                          size_t n, int64_t epoch, int64_t* days, int8_t* status) noexcept {
    return qel_days_of_lunar_in(QEL_CALENDAR_CHINESE, year, month, day, leap, n, epoch, days, status);
}

int64_t qel_day_facts_of_days(const int64_t* days, size_t n, int64_t epoch, uint32_t options, qel_day_facts* out,
                              int8_t* status) noexcept {
    return qel_day_facts_of_days_strided(days, n, epoch, options, out, sizeof(qel_day_facts), status);
}

int64_t qel_day_facts_of_days_strided(const int64_t* days, size_t n, int64_t epoch, uint32_t options, void* out,
                                      size_t stride, int8_t* status) noexcept {
    if (!epoch_ok(epoch) || (days == nullptr && n > 0) || !festival_options_ok(options) ||
        stride < QEL_DAY_FACTS_SIZE_1_0 || stride % 8 != 0)
        return QEL_E_ARGUMENT;
    auto* bytes = static_cast<unsigned char*>(out);
    int64_t ok = 0;
    for (size_t i = 0; i < n; ++i) {
        const qel::DateInt s = serial_of_count(days[i], epoch);
        const bool in_range = s >= QEL_FIRST_SERIAL && s <= QEL_LAST_SERIAL;
        if (bytes) {
            auto* element = bytes + i * stride;
            if (stride == sizeof(qel_day_facts) && in_range) {
                fill_day(s, options, *reinterpret_cast<qel_day_facts*>(element));  // the common case, in place
            } else {
                qel_day_facts_get(s, options, reinterpret_cast<qel_day_facts*>(element), stride);
            }
        }
        put(status, i, static_cast<int8_t>(in_range ? QEL_OK : QEL_E_RANGE));
        ok += in_range;
    }
    return ok;
}

}  // extern "C"

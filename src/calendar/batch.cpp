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

// The serial of count + epoch, added modulo 2^64: with |epoch| <= 2^40 a
// sum beyond int64 wraps to within 2^40 of the other end, outside every
// range just as the true sum is, so no element needs a saturation test.
constexpr qel::DateInt serial_of_count(int64_t count, int64_t epoch) noexcept {
    return static_cast<qel::DateInt>(static_cast<uint64_t>(count) + static_cast<uint64_t>(epoch));
}
static_assert(serial_of_count(INT64_MAX, 1) == INT64_MIN && serial_of_count(INT64_MIN, -kMaxEpoch) > kMaxEpoch,
              "an overflowing sum lands outside every range");

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

struct LunarColumns {
    int32_t *year, *month, *day, *leap;
    int8_t* status;
};

// The conversion loop, inlined once per calendar so that its table offsets
// are constants.
QEL_ALWAYS_INLINE int64_t lunar_of_days(size_t c, const int64_t* days, size_t n, int64_t epoch,
                                        const LunarColumns& out) noexcept {
    MonthRun run;
    int64_t ok = 0;
    for (size_t i = 0; i < n; ++i) {
        const qel::DateInt s = serial_of_count(days[i], epoch);
        auto offset = static_cast<uint64_t>(s) - static_cast<uint64_t>(run.first);
        if (offset >= static_cast<uint64_t>(run.days)) {
            if (!lunisolar::in_range(s)) {
                put(out.year, i, 0), put(out.month, i, 0), put(out.day, i, 0), put(out.leap, i, 0);
                put(out.status, i, static_cast<int8_t>(QEL_E_RANGE));
                continue;
            }
            const lunisolar::Found m = lunisolar::month_of(c, s);
            run = {m.first, lunisolar::days(m.month), lunisolar::kFirstYear + lunisolar::year_index_of(c, m.ordinal, m.month),
                   lunisolar::number(m.month), lunisolar::leap(m.month)};
            offset = static_cast<uint64_t>(s - run.first);
        }
        put(out.year, i, run.year), put(out.month, i, run.month), put(out.leap, i, run.leap);
        put(out.day, i, static_cast<int32_t>(offset) + 1);
        put(out.status, i, static_cast<int8_t>(QEL_OK));
        ++ok;
    }
    return ok;
}

}  // namespace

extern "C" {

int64_t qel_lunar_of_days_in(int32_t calendar, const int64_t* days, size_t n, int64_t epoch, int32_t* year,
                             int32_t* month, int32_t* day, int32_t* leap, int8_t* status) noexcept {
    if (!epoch_ok(epoch) || (days == nullptr && n > 0) || !lunisolar::calendar_ok(calendar)) return QEL_E_ARGUMENT;
    const LunarColumns out{year, month, day, leap, status};
    switch (calendar) {
        case QEL_CALENDAR_KOREAN: return lunar_of_days(QEL_CALENDAR_KOREAN, days, n, epoch, out);
        case QEL_CALENDAR_VIETNAMESE: return lunar_of_days(QEL_CALENDAR_VIETNAMESE, days, n, epoch, out);
        default: return lunar_of_days(QEL_CALENDAR_CHINESE, days, n, epoch, out);
    }
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

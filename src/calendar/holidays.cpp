// Holiday status, working days and working-day steps, over the built-in
// table and an optional table of the caller's that covers other years (or
// replaces the built-in one in its years).
#include "calendar/holidays.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "gregorian/civil.h"
#include "qel_calendar.h"

namespace {

using namespace qel::calendar;

// Serials [first, end) of a caller's table, or an empty span without one.
struct Span {
    int64_t first = 0, end = 0;
    bool contains(int64_t s) const noexcept { return s >= first && s < end; }
};

// QEL_OK and the span a caller's table covers, or QEL_E_ARGUMENT for one
// that is not sorted, repeats a day, leaves its years or holds bad values.
int32_t check(const qel_holiday_table* extra, Span& span) noexcept {
    span = {};
    if (extra == nullptr) return QEL_OK;
    if (extra->first_year < 1 || extra->last_year > 9999 || extra->first_year > extra->last_year ||
        (extra->days == nullptr && extra->count > 0))
        return QEL_E_ARGUMENT;
    span = {qel::gregorian::serial_from_civil(static_cast<uint32_t>(extra->first_year), 1, 1),
            qel::gregorian::serial_from_civil(static_cast<uint32_t>(extra->last_year), 12, 31) + 1};
    for (size_t i = 0; i < extra->count; ++i) {
        const qel_holiday_day& d = extra->days[i];
        if (!span.contains(d.serial) || (i > 0 && d.serial <= extra->days[i - 1].serial) || d.status < QEL_DAY_ORDINARY ||
            d.status > QEL_DAY_WORK || d.holiday < 0 || d.holiday >= QEL_HOLIDAY_COUNT)
            return QEL_E_ARGUMENT;
    }
    return QEL_OK;
}

// The status of a day inside a caller's table (binary search).
int32_t extra_status(const qel_holiday_table& t, int64_t serial, int32_t* holiday) noexcept {
    size_t low = 0, high = t.count;
    while (low < high) {
        const size_t mid = low + (high - low) / 2;
        if (t.days[mid].serial < serial) low = mid + 1;
        else high = mid;
    }
    if (low < t.count && t.days[low].serial == serial) {
        if (holiday) *holiday = t.days[low].holiday;
        return t.days[low].status;
    }
    if (holiday) *holiday = 0;
    return QEL_DAY_ORDINARY;
}

int32_t status_of(int64_t serial, const qel_holiday_table* extra, const Span& span, int32_t* holiday) noexcept {
    if (span.contains(serial)) return extra_status(*extra, serial, holiday);
    return builtin_status(serial, holiday);
}

// Monday to Friday in [a, b), a <= b: whole weeks and the rest day by day.
int64_t weekdays(int64_t a, int64_t b) noexcept {
    const int64_t n = b - a;
    int64_t count = n / 7 * 5;
    for (int64_t s = a + n / 7 * 7; s < b; ++s) count += !is_weekend(s);
    return count;
}

// Working days in [a, b), a <= b, every day covered (else QEL_E_RANGE).
int32_t count_covered(int64_t a, int64_t b, const qel_holiday_table* extra, const Span& span, int64_t* count) noexcept {
    int64_t total = 0;
    // Three pieces: before the caller's span, inside it, after it.
    const int64_t cuts[4] = {a, span.end > span.first ? std::max(a, std::min(b, span.first)) : b,
                             span.end > span.first ? std::max(a, std::min(b, span.end)) : b, b};
    for (int piece = 0; piece < 3; ++piece) {
        const int64_t from = cuts[piece], to = cuts[piece + 1];
        if (from >= to) continue;
        if (piece == 1) {
            total += weekdays(from, to);
            for (size_t i = 0; i < extra->count; ++i) {
                const qel_holiday_day& d = extra->days[i];
                if (d.serial >= from && d.serial < to) total += works(d.status, d.serial) - !is_weekend(d.serial);
            }
        } else {
            if (from < kHolidayFirstSerial || to > kHolidayEndSerial) return QEL_E_RANGE;
            total += kWorkdaysBefore[static_cast<size_t>(to - kHolidayFirstSerial)] -
                     kWorkdaysBefore[static_cast<size_t>(from - kHolidayFirstSerial)];
        }
    }
    *count = total;
    return QEL_OK;
}

// The covered days around `s`: [low, high) of the built-in table or the
// caller's span, joined with the other where they touch or overlap; empty
// when `s` is covered by neither.
void covered_around(int64_t s, const Span& extra, int64_t& low, int64_t& high) noexcept {
    const Span builtin{kHolidayFirstSerial, kHolidayEndSerial};
    low = high = s;
    const bool in_builtin = builtin.contains(s);
    if (!in_builtin && !extra.contains(s)) return;
    const Span& home = in_builtin ? builtin : extra;
    const Span& other = in_builtin ? extra : builtin;
    low = home.first, high = home.end;
    if (other.end > other.first && other.first <= high && other.end >= low)
        low = std::min(low, other.first), high = std::max(high, other.end);
}

}  // namespace

extern "C" {

int32_t qel_holiday_years(int32_t* first_year, int32_t* last_year) noexcept {
    if (first_year) *first_year = kHolidayFirstYear;
    if (last_year) *last_year = kHolidayLastYear;
    return QEL_OK;
}

int32_t qel_holiday_status(int64_t serial, const qel_holiday_table* extra, int32_t* holiday) noexcept {
    Span span;
    if (const int32_t st = check(extra, span); st != QEL_OK) return st;
    return status_of(serial, extra, span, holiday);
}

int32_t qel_is_workday(int64_t serial, const qel_holiday_table* extra) noexcept {
    Span span;
    if (const int32_t st = check(extra, span); st != QEL_OK) return st;
    const int32_t status = status_of(serial, extra, span, nullptr);
    return status < 0 ? status : works(status, serial) ? 1 : 0;
}

int32_t qel_workdays_between(int64_t from, int64_t to, const qel_holiday_table* extra, int64_t* count) noexcept {
    Span span;
    if (count == nullptr) return QEL_E_ARGUMENT;
    if (const int32_t st = check(extra, span); st != QEL_OK) return st;
    int64_t n = 0;
    const bool backwards = to < from;
    const int32_t st = backwards ? count_covered(to, from, extra, span, &n) : count_covered(from, to, extra, span, &n);
    if (st != QEL_OK) return st;
    *count = backwards ? -n : n;
    return QEL_OK;
}

int32_t qel_add_workdays(int64_t from, int64_t n, const qel_holiday_table* extra, int64_t* serial) noexcept {
    Span span;
    if (serial == nullptr) return QEL_E_ARGUMENT;
    if (const int32_t st = check(extra, span); st != QEL_OK) return st;
    int64_t low = 0, high = 0;  // the covered days around `from`
    covered_around(from, span, low, high);
    if (low == high || n > high - low || n < low - high) return QEL_E_RANGE;  // also keeps n + 1 and -n in range
    // Binary search over the covered days for the day whose count of working
    // days from `from` is n: the count grows with the day, one per working day.
    int64_t lo = 0, hi = 0, want = 0;
    const auto count = [&](int64_t a, int64_t b) {
        int64_t c = 0;
        count_covered(a, b, extra, span, &c);
        return c;
    };
    if (n >= 0) {
        // The smallest d >= from with n + 1 working days in [from, d]: when
        // `from` is no working day, n = 0 rolls forward to the next one.
        want = n + 1;
        lo = from, hi = high - 1;
        if (count(from, high) < want) return QEL_E_RANGE;
        while (lo < hi) {
            const int64_t mid = lo + (hi - lo) / 2;
            if (count(from, mid + 1) >= want) hi = mid;
            else lo = mid + 1;
        }
    } else {
        // The largest d < from with -n working days in [d, from).
        want = -n;
        lo = low, hi = from - 1;
        if (from <= low || count(low, from) < want) return QEL_E_RANGE;
        while (lo < hi) {
            const int64_t mid = lo + (hi - lo + 1) / 2;
            if (count(mid, from) >= want) lo = mid;
            else hi = mid - 1;
        }
    }
    *serial = lo;
    return QEL_OK;
}

}  // extern "C"

// The WebAssembly face of qel_calendar for JavaScript: thin wrappers over the
// C interface that take and return 32-bit integers and doubles only. An i64
// in an export signature would be split into two i32 halves by emscripten's
// legalizer (or need BigInt at every call); a packed int32 result comes back
// in a register, so the scalar calls read no memory at all.
//
// Results that do not fit in one int32 go to static buffers whose addresses
// JavaScript reads once. The batch calls work on static chunk buffers: the
// caller copies a chunk of its typed array in, makes one call, copies the
// fields out. Nothing here allocates.
#include <cstddef>
#include <cstdint>

#include "qel_calendar.h"

namespace {

constexpr int32_t kChunk = 8192;

alignas(8) int64_t g_days64[kChunk];
alignas(8) int32_t g_in[kChunk];       // batch input: day counts, or lunar years
alignas(8) int32_t g_month32[kChunk];  // lunar fields as the C calls take and give them
alignas(8) int32_t g_day32[kChunk];
alignas(8) int32_t g_leap32[kChunk];
alignas(8) int32_t g_year32[kChunk];
alignas(8) int32_t g_out_days[kChunk];
int8_t g_status[kChunk];
// The lunar fields narrowed to the bytes they need: fresh output arrays cost
// a page fault per 4 KiB on first touch, as much as the conversion itself.
alignas(8) uint16_t g_year16[kChunk];
uint8_t g_month8[kChunk];
uint8_t g_day8[kChunk];
uint8_t g_leap8[kChunk];
uint8_t g_valid8[kChunk];

double g_f64[6];
char g_text[256];

// The facts of the last qjs_day_facts, as qel_day_facts_of writes them.
// JavaScript reads each member at the offset qel_day_facts_field gives for
// its name (qjs_fact_field), so the layout has one source: the library.
qel_day_facts g_facts;

// A lunar date in one positive int32: leap in bit 0, day in bits 1-5, month
// in bits 6-9 (bits 0-9 index the table of texts), the year from bit 10 (no
// base year: the covered years are the library's to change).
int32_t pack_lunar(const qel_lunar_date& d) { return d.year << 10 | d.month << 6 | d.day << 1 | d.leap; }

// A Gregorian day as yyyymmdd, or the status of a failed call.
int32_t pack_ymd(int32_t status, int64_t serial) {
    if (status != QEL_OK) return status;
    int32_t y = 0, m = 0, d = 0;
    const int32_t st = qel_date_of_serial(serial, &y, &m, &d);
    return st == QEL_OK ? y * 10000 + m * 100 + d : st;
}

int32_t serial_of(int32_t y, int32_t m, int32_t d, int64_t* serial) { return qel_serial_of_date(y, m, d, serial); }

// The calendar (qel_calendar_kind) in the options of the calls that take
// options or flags.
uint32_t with_calendar(int32_t options, int32_t calendar) {
    return static_cast<uint32_t>(options) | QEL_OPT_CALENDAR(calendar);
}

}  // namespace

extern "C" {

// Addresses of the static buffers, in this order.
int32_t qjs_buffers(int32_t which) {
    const void* b[] = {g_in, g_month32, g_day32, g_leap32, g_out_days, g_year16, g_month8,
                       g_day8, g_leap8, g_valid8, &g_facts, g_f64, g_text};
    constexpr int32_t count = sizeof b / sizeof b[0];
    return which >= 0 && which < count ? static_cast<int32_t>(reinterpret_cast<uintptr_t>(b[which])) : 0;
}

int32_t qjs_chunk(void) { return kChunk; }

// Every lunar call takes a calendar, qel_calendar_kind (0 is the Chinese).

// The lunar date of a Gregorian date, packed, or a negative status.
int32_t qjs_lunar_of_ymd(int32_t y, int32_t m, int32_t d, int32_t calendar) {
    int64_t serial = 0;
    qel_lunar_date l;
    int32_t st = serial_of(y, m, d, &serial);
    if (st == QEL_OK) st = qel_lunar_of_serial_in(calendar, serial, &l);
    return st == QEL_OK ? pack_lunar(l) : st;
}

// The Gregorian date (yyyymmdd) of a lunar date, or a negative status.
int32_t qjs_ymd_of_lunar(int32_t y, int32_t m, int32_t d, int32_t leap, int32_t calendar) {
    int64_t serial = 0;
    return pack_ymd(qel_serial_of_lunar_in(calendar, y, m, d, leap, &serial), serial);
}

// The month a lunar year's leap month follows, 0 for none, or a negative status.
int32_t qjs_lunar_leap_month(int32_t y, int32_t calendar) {
    qel_lunar_month months[QEL_LUNAR_MONTHS_MAX];
    const int32_t n = qel_lunar_year_months_in(calendar, y, months, QEL_LUNAR_MONTHS_MAX);
    if (n < 0) return n;
    for (int32_t i = 0; i < n && i < QEL_LUNAR_MONTHS_MAX; ++i)
        if (months[i].leap) return months[i].month;
    return 0;
}

// A month's provenance (qel_lunar_month_info): source | flags << 4 | days << 12,
// its first day (yyyymmdd) in g_f64[0]; or a negative status.
int32_t qjs_month_info(int32_t y, int32_t m, int32_t leap, int32_t calendar) {
    qel_month_info info;
    const int32_t st = qel_lunar_month_info(calendar, y, m, leap, &info);
    if (st != QEL_OK) return st;
    g_f64[0] = static_cast<double>(pack_ymd(QEL_OK, info.first_serial));
    return info.source | static_cast<int32_t>(info.flags) << 4 | info.days << 12;
}

// The calendar of a name of n bytes (UTF-8) in g_text (qel_calendar_of_name).
int32_t qjs_calendar_of_name(int32_t n) {
    return n >= 0 && n < static_cast<int32_t>(sizeof g_text) ? qel_calendar_of_name(g_text, static_cast<size_t>(n))
                                                              : QEL_E_ARGUMENT;
}

// The language flag of qel_name for a calendar's own names.
int32_t qjs_language(int32_t calendar) {
    return calendar == QEL_CALENDAR_KOREAN       ? static_cast<int32_t>(QEL_NAME_KOREAN)
           : calendar == QEL_CALENDAR_VIETNAMESE ? static_cast<int32_t>(QEL_NAME_VIETNAMESE)
                                                 : 0;
}

// A lunar date as its calendar prints it, in the calendar's language, into
// g_text: the length or a negative status.
int32_t qjs_lunar_text(int32_t y, int32_t m, int32_t d, int32_t leap, int32_t calendar) {
    return qel_lunar_text(y, m, d, leap, with_calendar(qjs_language(calendar), calendar), g_text, sizeof g_text);
}

int32_t qjs_count(int32_t what) { return qel_count(what); }

// Member `index` of qel_day_facts (qel_day_facts_field): its name into g_text
// and its offset | size << 12 | signedness << 20, or a negative status.
int32_t qjs_fact_field(int32_t index) {
    qel_field f;
    const int32_t st = qel_day_facts_field(index, &f);
    if (st != QEL_OK) return st;
    int32_t n = 0;
    while (f.name[n] != '\0' && n < static_cast<int32_t>(sizeof g_text) - 1) g_text[n] = f.name[n], ++n;
    g_text[n] = '\0';
    return static_cast<int32_t>(f.offset) | static_cast<int32_t>(f.size) << 12 | (f.is_signed != 0) << 20;
}

// The facts of a day into g_facts; the status.
int32_t qjs_day_facts(int32_t y, int32_t m, int32_t d, int32_t options, int32_t calendar) {
    int64_t serial = 0;
    int32_t st = serial_of(y, m, d, &serial);
    if (st == QEL_OK) st = qel_day_facts_of(serial, with_calendar(options, calendar), &g_facts);
    return st;
}

// The range of a domain (qel_domain_range) into g_f64: first and last year,
// first and last day (yyyymmdd), first and last instant; the status.
int32_t qjs_range(int32_t domain) {
    qel_range r;
    const int32_t st = qel_domain_range(domain, &r);
    if (st != QEL_OK) return st;
    const double values[6] = {static_cast<double>(r.first_year), static_cast<double>(r.last_year),
                              static_cast<double>(pack_ymd(QEL_OK, r.first_serial)),
                              static_cast<double>(pack_ymd(QEL_OK, r.last_serial)),
                              static_cast<double>(r.first_instant), static_cast<double>(r.last_instant)};
    for (int i = 0; i < 6; ++i) g_f64[i] = values[i];
    return QEL_OK;
}

// The batch epochs JavaScript names "unix" (0) and "serial" (1): the day
// serial of their day 0, from the header's macros.
int32_t qjs_epoch(int32_t which) { return which == 0 ? QEL_EPOCH_UNIX : which == 1 ? QEL_EPOCH_SERIAL : QEL_E_ARGUMENT; }

// A lunar date moved by n months (years = 0) or years (years = 1) under
// qel_lunar_step's rule: packed as pack_lunar, with bit 30 set when day 30
// became 29 (QEL_CLAMPED), or a negative status (QEL_E_DATE for such a day
// when no_clamp is set).
int32_t qjs_lunar_step(int32_t y, int32_t m, int32_t d, int32_t leap, int32_t n, int32_t years, int32_t no_clamp,
                       int32_t calendar) {
    qel_lunar_date out;
    const int32_t st = qel_lunar_step(y, m, d, leap, n, years ? QEL_UNIT_YEAR : QEL_UNIT_MONTH,
                                      with_calendar(no_clamp ? QEL_STEP_NO_CLAMP : 0, calendar), &out);
    return st < 0 ? st : pack_lunar(out) | (st == QEL_CLAMPED) << 30;
}

// The zi convention of an option word of n bytes in g_text (qel_zi_of_name).
int32_t qjs_zi_of_name(int32_t n) {
    return n >= 0 && n < static_cast<int32_t>(sizeof g_text) ? qel_zi_of_name(g_text, static_cast<size_t>(n))
                                                              : QEL_E_ARGUMENT;
}

// The instant of a term into g_f64[0] (Unix seconds); the status.
int32_t qjs_term_instant(int32_t year, int32_t term) {
    int64_t instant = 0;
    const int32_t st = qel_term_instant(year, term, &instant);
    if (st == QEL_OK) g_f64[0] = static_cast<double>(instant);
    return st;
}

// The day of a festival as yyyymmdd, or a negative status.
int32_t qjs_festival_date(int32_t festival, int32_t year, int32_t options, int32_t calendar) {
    int64_t serial = 0;
    return pack_ymd(qel_festival_date(festival, year, with_calendar(options, calendar), &serial), serial);
}

// The festival days inside a Gregorian year, in order: each day as yyyymmdd
// in g_in and its festival in g_month32; their count, or a negative status.
int32_t qjs_festivals_of_year(int32_t year, int32_t options, int32_t calendar) {
    qel_festival_day days[QEL_FESTIVAL_DAYS_MAX];
    int32_t n = qel_festivals_of_year(year, with_calendar(options, calendar), days, QEL_FESTIVAL_DAYS_MAX);
    if (n > QEL_FESTIVAL_DAYS_MAX) n = QEL_FESTIVAL_DAYS_MAX;  // never: the maximum always suffices
    for (int32_t i = 0; i < n; ++i) {
        g_in[i] = pack_ymd(QEL_OK, days[i].serial);
        g_month32[i] = days[i].festival;
    }
    return n;
}

// The four pillars as four 6-bit sexagenary indices (year in bits 18-23 ..
// hour in bits 0-5), or a negative status.
static int32_t pack_pillars(int32_t st, const qel_pillars& p) {
    return st == QEL_OK ? p.year << 18 | p.month << 12 | p.day << 6 | p.hour : st;
}
int32_t qjs_pillars_of_cst(int32_t y, int32_t mo, int32_t d, int32_t h, int32_t mi, int32_t s, int32_t zi) {
    qel_pillars p;
    return pack_pillars(qel_pillars_of_cst(y, mo, d, h, mi, s, zi, &p), p);
}
int32_t qjs_pillars_of_instant(double instant, int32_t zi) {
    // Beyond +-2^53 a double is no whole second; far outside the table anyway.
    if (!(instant > -9.0e15 && instant < 9.0e15)) return QEL_E_RANGE;
    qel_pillars p;
    return pack_pillars(qel_pillars_of_instant(static_cast<int64_t>(instant), zi, &p), p);
}

// Holiday status | holiday << 4, or QEL_E_RANGE outside the table's years.
int32_t qjs_holiday_status(int32_t y, int32_t m, int32_t d) {
    int64_t serial = 0;
    int32_t holiday = 0;
    int32_t st = serial_of(y, m, d, &serial);
    if (st == QEL_OK) st = qel_holiday_status(serial, nullptr, &holiday);
    return st < 0 ? st : st | holiday << 4;
}

// 1 for a working day, 0 for a day off, or a negative status.
int32_t qjs_is_workday(int32_t y, int32_t m, int32_t d) {
    int64_t serial = 0;
    const int32_t st = serial_of(y, m, d, &serial);
    return st == QEL_OK ? qel_is_workday(serial, nullptr) : st;
}

int32_t qjs_holiday_years(void) {
    int32_t first = 0, last = 0;
    qel_holiday_years(&first, &last);
    return first << 16 | last;
}

// The working days in [from, to) into g_f64[0]; the status.
int32_t qjs_workdays(int32_t y1, int32_t m1, int32_t d1, int32_t y2, int32_t m2, int32_t d2) {
    int64_t from = 0, to = 0, count = 0;
    int32_t st = serial_of(y1, m1, d1, &from);
    if (st == QEL_OK) st = serial_of(y2, m2, d2, &to);
    if (st == QEL_OK) st = qel_workdays_between(from, to, nullptr, &count);
    if (st == QEL_OK) g_f64[0] = static_cast<double>(count);
    return st;
}

// The day n working days after a date (yyyymmdd), or a negative status.
int32_t qjs_add_workdays(int32_t y, int32_t m, int32_t d, int32_t n) {
    int64_t serial = 0;
    int32_t st = serial_of(y, m, d, &serial);
    if (st == QEL_OK) st = qel_add_workdays(serial, n, nullptr, &serial);
    return pack_ymd(st, serial);
}

// A name into g_text (UTF-8, NUL-terminated): its length or a negative status.
int32_t qjs_name(int32_t kind, int32_t index, int32_t flags) {
    return qel_name(kind, index, static_cast<uint32_t>(flags), g_text, sizeof g_text);
}

// The English text of a failure into g_text, from qel_calendar's one set of
// messages (a bad input reads the same in every binding): its length, 0 when
// nothing is wrong.
int32_t qjs_date_message(int32_t y, int32_t m, int32_t d) { return qel_date_message(y, m, d, g_text, sizeof g_text); }
int32_t qjs_lunar_message(int32_t y, int32_t m, int32_t d, int32_t leap, int32_t calendar) {
    return qel_lunar_message_in(calendar, y, m, d, leap, g_text, sizeof g_text);
}
int32_t qjs_time_message(int32_t h, int32_t mi, int32_t s) { return qel_time_message(h, mi, s, g_text, sizeof g_text); }
int32_t qjs_range_message(int32_t domain) { return qel_range_message(domain, g_text, sizeof g_text); }

int32_t qjs_version(void) { return static_cast<int32_t>(reinterpret_cast<uintptr_t>(qel_calendar_version())); }

// n <= kChunk day counts in g_in (days since the epoch serial) to lunar
// fields: year (uint16), month, day, leap and valid (0/1) as bytes. Failed
// elements are 0 throughout. The number of valid elements.
int32_t qjs_lunar_batch(int32_t n, int32_t epoch, int32_t calendar) {
    if (n < 0 || n > kChunk) return QEL_E_ARGUMENT;
    for (int32_t i = 0; i < n; ++i) g_days64[i] = g_in[i];
    const int64_t ok = qel_lunar_of_days_in(calendar, g_days64, static_cast<size_t>(n), epoch, g_year32, g_month32,
                                            g_day32, g_leap32, g_status);
    for (int32_t i = 0; i < n; ++i) {
        g_year16[i] = static_cast<uint16_t>(g_year32[i]);
        g_month8[i] = static_cast<uint8_t>(g_month32[i]);
        g_day8[i] = static_cast<uint8_t>(g_day32[i]);
        g_leap8[i] = static_cast<uint8_t>(g_leap32[i]);
        g_valid8[i] = g_status[i] == QEL_OK;
    }
    return static_cast<int32_t>(ok);
}

// n <= kChunk lunar dates (g_in years, g_month32, g_day32, g_leap32) to day
// counts since the epoch serial in g_out_days (0 where invalid) and valid
// bytes. The number of valid elements.
int32_t qjs_days_batch(int32_t n, int32_t epoch, int32_t calendar) {
    if (n < 0 || n > kChunk) return QEL_E_ARGUMENT;
    const auto count = static_cast<size_t>(n);
    const int64_t ok =
        qel_days_of_lunar_in(calendar, g_in, g_month32, g_day32, g_leap32, count, epoch, g_days64, g_status);
    for (int32_t i = 0; i < n; ++i) {
        const bool valid = g_status[i] == QEL_OK;
        g_out_days[i] = valid ? static_cast<int32_t>(g_days64[i]) : 0;
        g_valid8[i] = valid;
    }
    return static_cast<int32_t>(ok);
}

}  // extern "C"

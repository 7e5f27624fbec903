// Fuzzes qel_calendar, every export, with arbitrary arguments: null pointers,
// buffers of 0 and 1 bytes, huge batch counts, each enumeration one past its
// ends, callers' holiday tables that break their rules. The exports are
// checked against each other and against qel_datetime: every status is one of
// the four codes, a failure writes nothing, the conversions round-trip, the
// facts of a day agree with the single calls, batch elements equal the scalar
// calls, and texts are snprintf-style UTF-8 cut at a character boundary.
#include <algorithm>
#include <cctype>
#include <cstring>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>

#include "calendar/terms.h"
#include "fuzz_support.h"
#include "qel_calendar.h"

using namespace qel::fuzz;

namespace {

constexpr int32_t kUnset = -77777;  // an out-value that no call writes
constexpr int64_t kDay = 86400, kCst = 8 * 3600;
constexpr int64_t kMaxEpoch = int64_t{1} << 40;
// The pillars run from the 立春 of 1900 (before it the year pillar would need
// the 立春 of 1899, outside the term table) to the end of 2100 in UTC+8.
constexpr int64_t kFirstTerm = qel::calendar::kTermInstants.front(), kLastTerm = qel::calendar::kTermInstants.back();
constexpr int64_t kFirstPillar = qel::calendar::kTermInstants[2];
constexpr int64_t kEndPillar = (73416 - QEL_EPOCH_UNIX) * kDay - kCst;  // 2101-01-01 00:00 UTC+8

bool is_status(int64_t s) { return s == QEL_OK || s == QEL_E_RANGE || s == QEL_E_DATE || s == QEL_E_ARGUMENT; }

// A required out-pointer left null: the call fails, with QEL_E_ARGUMENT when
// it would otherwise have succeeded.
void check_null_out(int32_t status, int32_t with_out) {
    QEL_FUZZ_CHECK(is_status(status) && status != QEL_OK && (with_out != QEL_OK || status == QEL_E_ARGUMENT));
}

template <class T>
bool same_bytes(const T& x, const T& y) { return std::memcmp(&x, &y, sizeof x) == 0; }  // no padding in these

template <class T>
T filled() {
    T v;
    std::memset(&v, 0x55, sizeof v);
    return v;
}

uint64_t u64(int64_t v) { return static_cast<uint64_t>(v); }  // for sums that wrap

// An instant near a solar term, or near an end of the tables or integers.
int64_t instant(Args& a) {
    if (a.flag()) {
        const size_t k = a.raw<uint16_t>() % qel::calendar::kTermInstants.size();
        const int64_t step = a.pick<int64_t>({0, 1, -1, 3600, -3600, kDay, -kDay, 15 * kDay});
        return static_cast<int64_t>(u64(qel::calendar::kTermInstants[k]) + u64(step));
    }
    return a.pick<int64_t>({0, kFirstTerm, kLastTerm, kFirstPillar, kEndPillar,
                            (QEL_FIRST_SERIAL - QEL_EPOCH_UNIX) * kDay - kCst,
                            (QEL_LAST_SERIAL + 1 - QEL_EPOCH_UNIX) * kDay - kCst, kI64Min, kI64Max});
}

int64_t lunar_serial(Args& a) {
    if (a.flag()) return a.serial();
    return QEL_FIRST_LUNAR_SERIAL + a.raw<uint32_t>() % (QEL_LAST_LUNAR_SERIAL - QEL_FIRST_LUNAR_SERIAL + 1);
}

uint32_t options(Args& a) { return a.pick<uint32_t>({0, QEL_OPT_XIAONIAN_SOUTH, 2, 3, 0x80000000u}); }

bool valid_utf8(std::string_view s) {
    for (size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        const size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (n == 0 || i + n > s.size()) return false;
        for (size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += n;
    }
    return true;
}

// A text call made with room to spare, then with the buffer the input picks
// (null, 0 or 1 byte, a few): the same result, the longest prefix of the text
// that fits and ends on a character boundary, NUL-terminated, and not a byte
// written at or past `size`. Returns the status or length; `text` gets the text.
template <class Call>
int32_t check_text(Args& a, std::string& text, Call call) {
    char big[128];
    std::memset(big, 0x55, sizeof big);
    const int32_t length = call(big, sizeof big);
    if (length < 0) {
        QEL_FUZZ_CHECK(is_status(length) && big[0] == '\0');
    } else {
        QEL_FUZZ_CHECK(static_cast<size_t>(length) < sizeof big && std::strlen(big) == static_cast<size_t>(length));
        text.assign(big, static_cast<size_t>(length));
        QEL_FUZZ_CHECK(valid_utf8(text));
    }
    char small[40];
    std::memset(small, 0x55, sizeof small);
    const size_t size = a.pick<uint8_t>({0, 1, 2, 3, 4, 5, 7}) % sizeof small;
    const bool null = a.raw<uint8_t>() < 32;
    const int32_t r = call(null ? nullptr : small, size);
    if (null && size > 0) {
        check_null_out(r, length < 0 ? length : QEL_OK);
        return length;
    }
    QEL_FUZZ_CHECK(r == length);
    for (size_t i = size; i < sizeof small; ++i) QEL_FUZZ_CHECK(small[i] == 0x55);
    if (size == 0) return length;
    const size_t kept = strnlen(small, size);
    QEL_FUZZ_CHECK(kept < size && (length >= 0 || kept == 0));
    if (length < 0) return length;
    QEL_FUZZ_CHECK(kept <= text.size() && text.compare(0, kept, small, kept) == 0);
    if (kept < text.size()) {  // cut: at a boundary, before a character that does not fit
        const auto lead = static_cast<unsigned char>(text[kept]);
        const size_t next = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        QEL_FUZZ_CHECK((lead & 0xC0) != 0x80 && kept + next > size - 1);
    }
    return length;
}

void check_dates(Args& a) {
    const int32_t y = a.year(), m = a.month(), d = a.day();
    int64_t serial = kUnset;
    const int32_t status = qel_serial_of_date(y, m, d, &serial);
    check_null_out(qel_serial_of_date(y, m, d, nullptr), status);
    QEL_FUZZ_CHECK(status == (y < 1 || y > 9999 ? QEL_E_RANGE : valid_date(y, m, d) ? QEL_OK : QEL_E_DATE));
    QEL_FUZZ_CHECK(serial == (status == QEL_OK ? chrono_serial(y, unsigned(m), unsigned(d)) : kUnset));

    // Instants: the day and second in UTC+8 by floor division, and back.
    const int64_t t = instant(a);
    const __int128 local = __int128{t} + kCst;
    const __int128 days = (local - (local % kDay + kDay) % kDay) / kDay;
    const __int128 want = days + QEL_EPOCH_UNIX;
    int64_t s = kUnset, back = kUnset;
    int32_t second = kUnset;
    const int32_t st = qel_cst_of_instant(t, &s, &second);
    const bool in = want >= QEL_FIRST_SERIAL && want <= QEL_LAST_SERIAL;
    QEL_FUZZ_CHECK(st == (in ? QEL_OK : QEL_E_RANGE) && qel_cst_of_instant(t, nullptr, nullptr) == st);
    if (in) {
        QEL_FUZZ_CHECK(s == want && second == local - days * kDay);
        QEL_FUZZ_CHECK(qel_instant_of_cst(s, second, &back) == QEL_OK && back == t);
    } else {
        QEL_FUZZ_CHECK(s == kUnset && second == kUnset);
    }

    const int64_t day = a.serial();
    const int32_t sec = a.pick<int32_t>({0, 1, 43200, 86399, 86400, -1, kI32Min, kI32Max});
    back = kUnset;
    const int32_t bs = qel_instant_of_cst(day, sec, &back);
    check_null_out(qel_instant_of_cst(day, sec, nullptr), bs);
    const bool day_ok = day >= QEL_FIRST_SERIAL && day <= QEL_LAST_SERIAL, sec_ok = sec >= 0 && sec < kDay;
    QEL_FUZZ_CHECK(day_ok && sec_ok ? bs == QEL_OK
                   : day_ok         ? bs == QEL_E_ARGUMENT
                                    : bs == QEL_E_RANGE || (!sec_ok && bs == QEL_E_ARGUMENT));
    s = kUnset, second = kUnset;
    if (bs == QEL_OK) QEL_FUZZ_CHECK(qel_cst_of_instant(back, &s, &second) == QEL_OK && s == day && second == sec);
    else QEL_FUZZ_CHECK(back == kUnset);
}

void check_lunar(Args& a) {
    const int64_t s = lunar_serial(a);
    qel_lunar_date p{kUnset, kUnset, kUnset, kUnset};
    const int32_t status = qel_lunar_of_serial(s, &p);
    check_null_out(qel_lunar_of_serial(s, nullptr), status);
    const bool in = s >= QEL_FIRST_LUNAR_SERIAL && s <= QEL_LAST_LUNAR_SERIAL;
    QEL_FUZZ_CHECK(status == (in ? QEL_OK : QEL_E_RANGE));
    if (in) {
        qel_lunar_date q{};
        int64_t back = kUnset;
        QEL_FUZZ_CHECK(GDateToPDateByTDate(s, &q.year, &q.month, &q.day, &q.leap) == 1 && same_bytes(p, q));
        QEL_FUZZ_CHECK(qel_serial_of_lunar(p.year, p.month, p.day, p.leap, &back) == QEL_OK && back == s);
        const int32_t leap_month = qel_lunar_leap_month(p.year);
        QEL_FUZZ_CHECK(leap_month == GetLeapMonthInPYear(p.year) && (!p.leap || leap_month == p.month));
    } else {
        QEL_FUZZ_CHECK(p.year == kUnset && p.month == kUnset && p.day == kUnset && p.leap == kUnset);
    }

    // Any lunar date: valid as qel_datetime has it, and its text.
    const int32_t y = a.year(), m = a.month(), d = a.day(), leap = a.pick<int32_t>({0, 1, 2, -1, kI32Min});
    const bool year_ok = y >= QEL_FIRST_YEAR && y <= QEL_LAST_YEAR, leap_ok = leap == 0 || leap == 1;
    int64_t serial = kUnset;
    const int32_t st = qel_serial_of_lunar(y, m, d, leap, &serial);
    check_null_out(qel_serial_of_lunar(y, m, d, leap, nullptr), st);
    QEL_FUZZ_CHECK(!year_ok ? st == QEL_E_RANGE
                   : !leap_ok ? st == QEL_E_ARGUMENT
                              : st == (PDateIsValid(y, m, d, leap) ? QEL_OK : QEL_E_DATE));
    p = {kUnset, kUnset, kUnset, kUnset};
    if (st == QEL_OK)
        QEL_FUZZ_CHECK(qel_lunar_of_serial(serial, &p) == QEL_OK && same_bytes(p, qel_lunar_date{y, m, d, leap}));
    else
        QEL_FUZZ_CHECK(serial == kUnset);
    QEL_FUZZ_CHECK(qel_lunar_leap_month(y) == (year_ok ? GetLeapMonthInPYear(y) : QEL_E_RANGE));
    const int32_t month_st = qel_serial_of_lunar(y, m, 1, leap, &serial);
    QEL_FUZZ_CHECK(qel_lunar_month_days(y, m, leap) == (month_st == QEL_OK ? getPMonthDays(y, m, leap) : month_st));

    const uint32_t flags = a.pick<uint32_t>({0, QEL_NAME_LEAP, QEL_NAME_PLAIN_MONTHS, 3, 4, 0x80000000u});
    std::string text;
    const int32_t length = check_text(a, text, [&](char* buf, size_t size) {
        return qel_lunar_text(y, m, d, leap, flags, buf, size);
    });
    if ((flags & ~QEL_NAME_PLAIN_MONTHS) != 0) QEL_FUZZ_CHECK(length == QEL_E_ARGUMENT);
    else QEL_FUZZ_CHECK(st == QEL_OK ? length > 0 : length == st);
    if (st == QEL_OK && flags == QEL_NAME_PLAIN_MONTHS) {
        // qel_datetime's GBK text with the plain month numbers, its leap mark
        // 润 read as the calendars' 闰.
        const tpdate date{y, m, d, leap};
        TAnsiString gbk;
        std::string want = utf8_of_gbk(pdate2text(&date, &gbk, 3)->c_str());
        if (leap) want.replace(0, std::strlen("润"), "闰");
        QEL_FUZZ_CHECK(text == want);
    }
}

void check_day_facts(Args& a) {
    const int64_t s = a.flag() ? lunar_serial(a) : a.serial();
    const uint32_t opt = options(a);
    auto f = filled<qel_day_facts>();
    const int32_t status = qel_day_facts_of(s, opt, &f);
    check_null_out(qel_day_facts_of(s, opt, nullptr), status);
    const bool in = s >= QEL_FIRST_SERIAL && s <= QEL_LAST_SERIAL;
    if (status == QEL_E_ARGUMENT) {
        QEL_FUZZ_CHECK(opt > QEL_OPT_XIAONIAN_SOUTH && same_bytes(f, filled<qel_day_facts>()));
        return;
    }
    QEL_FUZZ_CHECK(status == (in ? QEL_OK : QEL_E_RANGE) && (opt <= QEL_OPT_XIAONIAN_SOUTH || !in));
    if (!in) {
        qel_day_facts zero{};
        zero.serial = s;
        zero.term = -1;
        zero.holiday_status = QEL_E_RANGE;
        QEL_FUZZ_CHECK(same_bytes(f, zero));
        return;
    }
    // The Gregorian fields against std::chrono and the single calls.
    const auto ymd = chrono_date(s);
    const auto sd = std::chrono::sys_days{ymd};
    int64_t jan1 = 0;
    QEL_FUZZ_CHECK(f.serial == s && f.year == int(ymd.year()) && f.month == int(unsigned(ymd.month())) &&
                   f.day == int(unsigned(ymd.day())) &&
                   f.weekday == int(std::chrono::weekday{sd}.iso_encoding()) && f.reserved == 0);
    QEL_FUZZ_CHECK(qel_serial_of_date(f.year, 1, 1, &jan1) == QEL_OK && f.day_of_year == s - jan1 + 1);
    // The lunar fields as qel_lunar_of_serial and the month and year calls give them.
    qel_lunar_date p{};
    if (qel_lunar_of_serial(s, &p) == QEL_OK) {
        QEL_FUZZ_CHECK(f.flags == 0 && f.lunar_year == p.year && f.lunar_month == p.month && f.lunar_day == p.day &&
                       f.lunar_leap == p.leap && f.lunar_month_days == qel_lunar_month_days(p.year, p.month, p.leap) &&
                       f.lunar_leap_month == qel_lunar_leap_month(p.year) && f.year_cycle == (p.year - 4) % 60);
    } else {
        QEL_FUZZ_CHECK(f.flags == QEL_DAY_NO_LUNAR && f.lunar_year == 0 && f.lunar_month == 0 && f.lunar_day == 0 &&
                       f.lunar_leap == 0 && f.lunar_month_days == 0 && f.lunar_leap_month == 0 && f.year_cycle == 0);
    }
    QEL_FUZZ_CHECK(f.day_cycle >= 0 && f.day_cycle < 60);
    int32_t holiday = 0;
    const int32_t holiday_status = qel_holiday_status(s, nullptr, &holiday);
    QEL_FUZZ_CHECK(f.holiday_status == holiday_status && f.holiday == (holiday_status > 0 ? holiday : 0));
    // The day pillar at noon is the day's cycle index.
    qel_pillars noon{};
    if (qel_pillars_of_cst(f.year, f.month, f.day, 12, 0, 0, QEL_ZI_LATE, &noon) == QEL_OK)
        QEL_FUZZ_CHECK(noon.day == f.day_cycle);
    // The term of the day: the one whose instant falls on it in UTC+8.
    const bool covered = f.year >= QEL_FIRST_YEAR && f.year <= QEL_LAST_YEAR;
    int64_t midnight = 0, t = 0;
    qel_term next{};
    QEL_FUZZ_CHECK(qel_instant_of_cst(s, 0, &midnight) == QEL_OK);
    const bool has_term = covered && qel_term_next(midnight - 1, &next) == QEL_OK && next.instant < midnight + kDay;
    if (has_term)
        QEL_FUZZ_CHECK(f.term == next.term && f.term_instant == next.instant &&
                       qel_term_instant(f.year, f.term, &t) == QEL_OK && t == next.instant);
    else
        QEL_FUZZ_CHECK(f.term == -1 && f.term_instant == 0);
    // Each festival bit exactly on the day qel_festival_date gives.
    for (int32_t k = 0; k < 64; ++k) {
        const bool lunar = k <= QEL_FESTIVAL_NEW_YEARS_EVE;
        const int32_t year = lunar ? f.lunar_year : f.year;
        int64_t day = kUnset;
        const bool want = k < QEL_FESTIVAL_COUNT && (lunar ? f.flags == 0 : covered) &&
                          qel_festival_date(k, year, opt, &day) == QEL_OK && day == s;
        QEL_FUZZ_CHECK(((f.festivals >> k) & 1u) == (want ? 1u : 0u));
    }
}

bool same_term(const qel_term& x, const qel_term& y) {
    return x.year == y.year && x.term == y.term && x.instant == y.instant;
}

int64_t term_number(const qel_term& t) { return int64_t{t.year} * 24 + t.term; }

void check_terms(Args& a) {
    const int32_t y = a.year(), k = a.pick<int32_t>({0, 1, 2, 6, 22, 23, 24, -1, kI32Min, kI32Max});
    int64_t t = kUnset;
    const int32_t status = qel_term_instant(y, k, &t);
    check_null_out(qel_term_instant(y, k, nullptr), status);
    const bool k_ok = k >= 0 && k < 24, y_ok = y >= QEL_FIRST_YEAR && y <= QEL_LAST_YEAR;
    QEL_FUZZ_CHECK(k_ok ? status == (y_ok ? QEL_OK : QEL_E_RANGE)
                        : status == QEL_E_ARGUMENT || (!y_ok && status == QEL_E_RANGE));
    if (status == QEL_OK) {
        const qel_term term{y, k, t};
        qel_term got{};
        QEL_FUZZ_CHECK(qel_term_in_force(t, &got) == QEL_OK && same_term(got, term));
        QEL_FUZZ_CHECK(qel_term_next(t - 1, &got) == QEL_OK && same_term(got, term));
        QEL_FUZZ_CHECK(qel_term_previous(t + 1, &got) == QEL_OK && same_term(got, term));
        // Its day in UTC+8 is qel_datetime's day of the term.
        int64_t s = 0;
        QEL_FUZZ_CHECK(qel_cst_of_instant(t, &s, nullptr) == QEL_OK);
        const TDateTime day(getLunarTermDay(y, k));
        QEL_FUZZ_CHECK(chrono_serial(day.year(), unsigned(day.month()), unsigned(day.day())) == s);
    } else {
        QEL_FUZZ_CHECK(t == kUnset);
    }

    // The terms around any instant.
    const int64_t u = instant(a);
    const qel_term unset{kUnset, kUnset, kUnset};
    qel_term in_force = unset, next = unset, previous = unset;
    const int32_t sf = qel_term_in_force(u, &in_force), sn = qel_term_next(u, &next),
                  sp = qel_term_previous(u, &previous);
    check_null_out(qel_term_in_force(u, nullptr), sf);
    check_null_out(qel_term_next(u, nullptr), sn);
    check_null_out(qel_term_previous(u, nullptr), sp);
    QEL_FUZZ_CHECK(sf == (u >= kFirstTerm ? QEL_OK : QEL_E_RANGE) && sn == (u < kLastTerm ? QEL_OK : QEL_E_RANGE) &&
                   sp == (u > kFirstTerm ? QEL_OK : QEL_E_RANGE));
    for (const qel_term* found : {&in_force, &next, &previous}) {
        if (same_term(*found, unset)) continue;
        QEL_FUZZ_CHECK(qel_term_instant(found->year, found->term, &t) == QEL_OK && t == found->instant);
    }
    QEL_FUZZ_CHECK(sf != QEL_OK || in_force.instant <= u);
    QEL_FUZZ_CHECK(sn != QEL_OK || next.instant > u);
    QEL_FUZZ_CHECK(sf != QEL_OK || sn != QEL_OK || term_number(next) == term_number(in_force) + 1);
    qel_term before{};
    QEL_FUZZ_CHECK(sp != QEL_OK || (previous.instant < u && qel_term_in_force(u - 1, &before) == QEL_OK &&
                                    same_term(before, previous)));
    QEL_FUZZ_CHECK(sf == QEL_OK || same_term(in_force, unset));
    QEL_FUZZ_CHECK(sn == QEL_OK || same_term(next, unset));
    QEL_FUZZ_CHECK(sp == QEL_OK || same_term(previous, unset));
}

void check_pillars(Args& a) {
    const int64_t t = instant(a);
    const int32_t zi = a.pick<int32_t>({QEL_ZI_LATE, QEL_ZI_EARLY, 2, -1, kI32Min});
    const bool zi_ok = zi == QEL_ZI_LATE || zi == QEL_ZI_EARLY, in = t >= kFirstPillar && t < kEndPillar;
    auto p = filled<qel_pillars>();
    const int32_t status = qel_pillars_of_instant(t, zi, &p);
    check_null_out(qel_pillars_of_instant(t, zi, nullptr), status);
    QEL_FUZZ_CHECK(zi_ok ? status == (in ? QEL_OK : QEL_E_RANGE)
                         : status == QEL_E_ARGUMENT || (!in && status == QEL_E_RANGE));
    if (status != QEL_OK) {
        QEL_FUZZ_CHECK(same_bytes(p, filled<qel_pillars>()));
        return;
    }

    // The civil fields give the same pillars.
    int64_t s = 0;
    int32_t sec = 0;
    QEL_FUZZ_CHECK(qel_cst_of_instant(t, &s, &sec) == QEL_OK);
    const auto ymd = chrono_date(s);
    const int32_t hour = sec / 3600;
    auto q = filled<qel_pillars>();
    QEL_FUZZ_CHECK(qel_pillars_of_cst(int(ymd.year()), int(unsigned(ymd.month())), int(unsigned(ymd.day())), hour,
                                      sec / 60 % 60, sec % 60, zi, &q) == QEL_OK &&
                   same_bytes(p, q));
    QEL_FUZZ_CHECK(p.year >= 0 && p.year < 60 && p.month >= 0 && p.month < 60 && p.hour >= 0 && p.hour < 60);
    // Year: from the last 立春 at or before t, to the next one.
    int64_t start = 0, next_start = kI64Max;
    QEL_FUZZ_CHECK(p.year_start.term == 2 && p.year == (p.year_start.year - 4) % 60 &&
                   qel_term_instant(p.year_start.year, 2, &start) == QEL_OK && start == p.year_start.instant &&
                   start <= t);
    qel_term_instant(p.year_start.year + 1, 2, &next_start);
    QEL_FUZZ_CHECK(next_start > t);
    // Month: from the last 节 (an even term) at or before t; 小寒 opens a 丑
    // month, 立春 a 寅 month, and so on.
    qel_term now{};
    QEL_FUZZ_CHECK(qel_term_in_force(t, &now) == QEL_OK && p.month_start.term % 2 == 0 &&
                   term_number(now) - term_number(p.month_start) <= 1 && p.month_start.instant <= t &&
                   qel_term_instant(p.month_start.year, p.month_start.term, &start) == QEL_OK &&
                   start == p.month_start.instant && p.month % 12 == (p.month_start.term / 2 + 1) % 12);
    // Day: the day's cycle index, of the next day in the late 子 hour when
    // that hour counts to it.
    qel_day_facts facts{};
    QEL_FUZZ_CHECK(qel_day_facts_of(s + (zi == QEL_ZI_EARLY && hour == 23), 0, &facts) == QEL_OK &&
                   p.day == facts.day_cycle);
    // Hour: the 时辰 of two hours, 子 from 23:00.
    QEL_FUZZ_CHECK(p.hour % 12 == (hour + 1) / 2 % 12);
    // Month and hour pillars run through the sixty-cycle without a break: the
    // second before this month or 时辰 began has the index before.
    qel_pillars before{};
    if (qel_pillars_of_instant(p.month_start.instant - 1, zi, &before) == QEL_OK)
        QEL_FUZZ_CHECK((before.month + 1) % 60 == p.month);
    const int64_t shichen_start = t - (sec + 3600) % 7200;
    if (qel_pillars_of_instant(shichen_start - 1, zi, &before) == QEL_OK)
        QEL_FUZZ_CHECK((before.hour + 1) % 60 == p.hour);

    // Any civil fields.
    const int32_t y = a.year(), m = a.month(), d = a.day();
    const int32_t h = a.pick<int32_t>({0, 1, 22, 23, 24, -1}), mi = a.pick<int32_t>({0, 59, 60, -1}),
                  se = a.pick<int32_t>({0, 59, 60, -1});
    q = filled<qel_pillars>();
    const int32_t cs = qel_pillars_of_cst(y, m, d, h, mi, se, zi, &q);
    check_null_out(qel_pillars_of_cst(y, m, d, h, mi, se, zi, nullptr), cs);
    int32_t want = QEL_E_RANGE;  // or what the instant of valid fields gives
    auto expected = filled<qel_pillars>();
    if (y >= QEL_FIRST_YEAR && y <= QEL_LAST_YEAR) {
        want = QEL_E_DATE;
        int64_t day = 0, u = 0;
        if (valid_date(y, m, d) && h >= 0 && h < 24 && mi >= 0 && mi < 60 && se >= 0 && se < 60) {
            QEL_FUZZ_CHECK(qel_serial_of_date(y, m, d, &day) == QEL_OK &&
                           qel_instant_of_cst(day, h * 3600 + mi * 60 + se, &u) == QEL_OK);
            want = qel_pillars_of_instant(u, zi_ok ? zi : QEL_ZI_LATE, &expected);
        }
    }
    QEL_FUZZ_CHECK(zi_ok ? cs == want : cs == QEL_E_ARGUMENT || (want != QEL_OK && cs == want));
    QEL_FUZZ_CHECK(same_bytes(q, cs == QEL_OK ? expected : filled<qel_pillars>()));
}

bool equal_nocase(std::string_view x, std::string_view y) {
    if (x.size() != y.size()) return false;
    for (size_t i = 0; i < x.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(x[i])) != std::tolower(static_cast<unsigned char>(y[i])))
            return false;
    return true;
}

std::string name_of(int32_t kind, int32_t index) {
    char buf[64];
    const int32_t n = qel_name(kind, index, 0, buf, sizeof buf);
    QEL_FUZZ_CHECK(n > 0);
    return std::string(buf, static_cast<size_t>(n));
}

void check_names(Args& a) {
    const int32_t kind = a.pick<int32_t>({QEL_NAME_STEM, QEL_NAME_BRANCH, QEL_NAME_CYCLE, QEL_NAME_ANIMAL,
                                          QEL_NAME_LUNAR_MONTH, QEL_NAME_LUNAR_DAY, QEL_NAME_TERM,
                                          QEL_NAME_TERM_ENGLISH, QEL_NAME_TERM_KEY, QEL_NAME_FESTIVAL,
                                          QEL_NAME_FESTIVAL_SHORT, QEL_NAME_FESTIVAL_ENGLISH, QEL_NAME_FESTIVAL_KEY,
                                          QEL_NAME_HOLIDAY, QEL_NAME_HOLIDAY_ENGLISH, QEL_NAME_HOLIDAY_KEY,
                                          QEL_NAME_KIND_COUNT, -1});
    const int32_t index = a.flag() ? a.raw<uint8_t>() % 64 - 1
                                   : a.pick<int32_t>({0, 1, 9, 10, 11, 12, 13, 23, 24, 25, 29, 30, 31, 59, 60, -1});
    const uint32_t flags = a.pick<uint32_t>({0, QEL_NAME_LEAP, QEL_NAME_PLAIN_MONTHS, 3, 4, 0x80000000u});
    std::string name;
    const int32_t length = check_text(a, name, [&](char* buf, size_t size) {
        return qel_name(kind, index, flags, buf, size);
    });
    // Index ranges by kind, as the header lists them.
    static constexpr int32_t kFirst[] = {0, 0, 0, 0, 1, 1, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1};
    static constexpr int32_t kLast[] = {9, 11, 59, 11, 12, 30, 23, 23, 23, 24, 24, 24, 24, 9, 9, 9};
    static_assert(std::size(kFirst) == QEL_NAME_KIND_COUNT && std::size(kLast) == QEL_NAME_KIND_COUNT,
                  "a range for every name kind");
    const bool known = kind >= 0 && kind < QEL_NAME_KIND_COUNT && index >= kFirst[kind] && index <= kLast[kind] &&
                       (flags & ~(kind == QEL_NAME_LUNAR_MONTH ? 3u : 0u)) == 0;
    QEL_FUZZ_CHECK(known ? length > 0 : length == QEL_E_ARGUMENT);
    if (!known) return;
    if (kind == QEL_NAME_CYCLE)
        QEL_FUZZ_CHECK(name == name_of(QEL_NAME_STEM, index % 10) + name_of(QEL_NAME_BRANCH, index % 12));
    if (kind == QEL_NAME_LUNAR_MONTH)
        QEL_FUZZ_CHECK(name.rfind("闰", 0) == ((flags & QEL_NAME_LEAP) ? 0 : std::string::npos));
    if (kind >= QEL_NAME_TERM && kind <= QEL_NAME_TERM_KEY)
        QEL_FUZZ_CHECK(qel_term_of_name(name.data(), name.size()) == index);
    if (kind >= QEL_NAME_FESTIVAL && kind <= QEL_NAME_FESTIVAL_KEY)
        QEL_FUZZ_CHECK(qel_festival_of_name(name.data(), name.size()) == index);

    // A name typed by someone: this one with its letters' case changed, or
    // any bytes, in a heap block of exactly their length.
    char typed[32];
    size_t n = a.text(typed, sizeof typed);
    const bool retyped = a.flag() && name.size() < sizeof typed;
    if (retyped) {
        n = name.size();
        for (size_t i = 0; i < n; ++i)
            typed[i] = std::isalpha(static_cast<unsigned char>(name[i])) && a.flag()
                           ? static_cast<char>(name[i] ^ 0x20)
                           : name[i];
    }
    const std::unique_ptr<char[]> exact(new char[n]);
    std::memcpy(exact.get(), typed, n);
    const std::string_view s(exact.get(), n);
    const int32_t term = qel_term_of_name(exact.get(), n), festival = qel_festival_of_name(exact.get(), n);
    QEL_FUZZ_CHECK(term == QEL_E_ARGUMENT ||
                   (term >= 0 && term < 24 &&
                    (s == name_of(QEL_NAME_TERM, term) || equal_nocase(s, name_of(QEL_NAME_TERM_ENGLISH, term)) ||
                     equal_nocase(s, name_of(QEL_NAME_TERM_KEY, term)))));
    QEL_FUZZ_CHECK(festival == QEL_E_ARGUMENT ||
                   (festival >= 0 && festival < QEL_FESTIVAL_COUNT &&
                    (s == name_of(QEL_NAME_FESTIVAL, festival) || s == name_of(QEL_NAME_FESTIVAL_SHORT, festival) ||
                     equal_nocase(s, name_of(QEL_NAME_FESTIVAL_ENGLISH, festival)) ||
                     equal_nocase(s, name_of(QEL_NAME_FESTIVAL_KEY, festival)))));
    if (retyped && kind >= QEL_NAME_TERM && kind <= QEL_NAME_TERM_KEY) QEL_FUZZ_CHECK(term == index);
    if (retyped && kind >= QEL_NAME_FESTIVAL && kind <= QEL_NAME_FESTIVAL_KEY) QEL_FUZZ_CHECK(festival == index);
    QEL_FUZZ_CHECK(qel_term_of_name(nullptr, n) == QEL_E_ARGUMENT &&
                   qel_festival_of_name(nullptr, SIZE_MAX) == QEL_E_ARGUMENT);
    QEL_FUZZ_CHECK(std::strlen(qel_calendar_version()) > 0);
}

// qel_step against 128-bit arithmetic and std::chrono: time units move the
// second count, calendar units the month count year * 12 + month - 1 with the
// day cut to the new month's last (QEL_CLAMPED) or refused (QEL_E_DATE).
void check_step(Args& a) {
    const int64_t s =
        a.flag() ? a.serial() : QEL_FIRST_SERIAL + a.raw<uint32_t>() % (QEL_LAST_SERIAL - QEL_FIRST_SERIAL + 1);
    const int32_t sec = a.pick<int32_t>({0, 1, 43200, 86399, 86400, -1, kI32Min, kI32Max});
    const int32_t unit = a.pick<int32_t>({QEL_UNIT_SECOND, QEL_UNIT_MINUTE, QEL_UNIT_HOUR, QEL_UNIT_DAY, QEL_UNIT_WEEK,
                                          QEL_UNIT_MONTH, QEL_UNIT_YEAR, -1, QEL_UNIT_YEAR + 1});
    const uint32_t flags = a.pick<uint32_t>({0, QEL_STEP_NO_CLAMP, 2, 0x80000000u});
    const int64_t count = a.flag() ? a.count() : a.count64();
    int64_t out = kUnset;
    int32_t out_sec = kUnset;
    const int32_t st = qel_step(s, sec, count, unit, flags, &out, &out_sec);
    check_null_out(qel_step(s, sec, count, unit, flags, nullptr, &out_sec), st == QEL_CLAMPED ? QEL_OK : st);
    check_null_out(qel_step(s, sec, count, unit, flags, &out, nullptr), st == QEL_CLAMPED ? QEL_OK : st);
    const bool argument_ok = unit >= QEL_UNIT_SECOND && unit <= QEL_UNIT_YEAR && flags <= QEL_STEP_NO_CLAMP &&
                             sec >= 0 && sec < kDay;
    const bool start_ok = s >= QEL_FIRST_SERIAL && s <= QEL_LAST_SERIAL;
    if (!argument_ok || !start_ok) {
        QEL_FUZZ_CHECK(((!argument_ok && st == QEL_E_ARGUMENT) || (!start_ok && st == QEL_E_RANGE)) && out == kUnset &&
                       out_sec == kUnset);
        return;
    }
    __int128 want_day = 0;
    int32_t want_sec = sec, want = QEL_OK;
    if (unit <= QEL_UNIT_WEEK) {
        static constexpr int64_t kPer[] = {1, 60, 3600, kDay, 7 * kDay};
        const __int128 total = __int128{s} * kDay + sec + __int128{count} * kPer[unit];
        const __int128 rem = (total % kDay + kDay) % kDay;
        want_day = (total - rem) / kDay;
        want_sec = static_cast<int32_t>(rem);
    } else {
        const auto ymd = chrono_date(s);
        const __int128 index = __int128{int(ymd.year())} * 12 + (unsigned(ymd.month()) - 1) +
                               __int128{count} * (unit == QEL_UNIT_YEAR ? 12 : 1);
        const __int128 month0 = (index % 12 + 12) % 12, year = (index - month0) / 12;
        if (year >= 1 && year <= 9999) {
            using namespace std::chrono;
            const year_month_day_last last{std::chrono::year{int(year)} / month{unsigned(month0) + 1} /
                                           std::chrono::last};
            const unsigned d = unsigned(ymd.day()), length = unsigned(last.day());
            want = d <= length ? QEL_OK : (flags & QEL_STEP_NO_CLAMP) ? QEL_E_DATE : QEL_CLAMPED;
            want_day = chrono_serial(int(year), unsigned(month0) + 1, std::min(d, length));
        } else {
            want_day = kI64Min;  // no such year
        }
    }
    if (want_day < QEL_FIRST_SERIAL || want_day > QEL_LAST_SERIAL) want = QEL_E_RANGE;
    QEL_FUZZ_CHECK(st == want);
    if (st == QEL_OK || st == QEL_CLAMPED)
        QEL_FUZZ_CHECK(out == want_day && out_sec == want_sec);
    else
        QEL_FUZZ_CHECK(out == kUnset && out_sec == kUnset);
}

// A caller's holiday table from the input: its years and up to eight days in
// or near them, mostly valid, with the rules qel_calendar.h sets for it.
struct Extra {
    qel_holiday_day days[8];
    qel_holiday_table table;
    int64_t first = 0, end = 0;  // the serials it covers, [first, end)
    bool valid = false;
};

const qel_holiday_table* extra_of(Args& a, Extra& e) {
    if (a.flag()) return nullptr;
    const int32_t first = a.pick<int32_t>({2027, 2003, 2010, 2026, 1, 9999, 0, 10000});
    const auto last = static_cast<int32_t>(static_cast<uint32_t>(first) + a.pick<uint32_t>({0, 1, 2, ~0u}));
    const bool years_ok = first >= 1 && last <= 9999 && first <= last;
    if (years_ok) {
        QEL_FUZZ_CHECK(qel_serial_of_date(first, 1, 1, &e.first) == QEL_OK &&
                       qel_serial_of_date(last, 12, 31, &e.end) == QEL_OK);
        ++e.end;
    }
    const size_t count = a.raw<uint8_t>() % 9;
    int64_t serial = years_ok ? static_cast<int64_t>(u64(e.first) + u64(a.pick<int64_t>({0, 1, -1, 30}))) : a.serial();
    e.valid = years_ok;
    for (size_t i = 0; i < count; ++i) {
        e.days[i] = {serial, a.pick<int32_t>({QEL_DAY_OFF, QEL_DAY_WORK, QEL_DAY_ORDINARY, 3, -1}),
                     a.pick<int32_t>({1, 2, 6, 8, 9, 0, QEL_HOLIDAY_COUNT, -1})};
        const qel_holiday_day& d = e.days[i];
        e.valid = e.valid && d.serial >= e.first && d.serial < e.end && (i == 0 || d.serial > e.days[i - 1].serial) &&
                  d.status >= QEL_DAY_ORDINARY && d.status <= QEL_DAY_WORK && d.holiday >= 0 &&
                  d.holiday < QEL_HOLIDAY_COUNT;
        serial = static_cast<int64_t>(u64(serial) + u64(a.pick<int64_t>({1, 2, 7, 0, 400})));
    }
    const bool null_days = a.raw<uint8_t>() < 16;
    e.table = {null_days ? nullptr : e.days, null_days && count > 0 && a.flag() ? SIZE_MAX : count, first, last};
    e.valid = e.valid && !(null_days && e.table.count > 0);
    return &e.table;
}

// Holiday status and working days against the tables and each other: the
// caller's table inside its years, the built-in one elsewhere (the day facts
// agree with it), a working day a weekday not off or a make-up day, the count
// of working days additive and, over short ranges, the sum of the single days,
// and a step of n working days landing on a working day n working days away.
void check_holidays(Args& a) {
    int32_t first_year = kUnset, last_year = kUnset;
    int64_t lo = 0, hi = 0;  // the built-in table's serials
    QEL_FUZZ_CHECK(qel_holiday_years(&first_year, &last_year) == QEL_OK && first_year <= last_year &&
                   qel_serial_of_date(first_year, 1, 1, &lo) == QEL_OK &&
                   qel_serial_of_date(last_year + 1, 1, 1, &hi) == QEL_OK);
    QEL_FUZZ_CHECK(qel_holiday_years(nullptr, nullptr) == QEL_OK);
    Extra e;
    const qel_holiday_table* extra = extra_of(a, e);
    // A day of the built-in table or near it, of the caller's, or any.
    const int64_t s = a.flag()   ? lo - 40 + a.raw<uint16_t>() % (hi - lo + 80)
                      : a.flag() ? static_cast<int64_t>(u64(e.first) + a.raw<uint16_t>() % 800)
                                 : a.serial();
    const int64_t step = a.flag() ? a.pick<int64_t>({0, 1, -1, 7, -7, 30, 366, -366}) : a.raw<int16_t>();
    const int64_t to = a.flag() ? static_cast<int64_t>(u64(s) + u64(step)) : a.serial();
    const int64_t n = a.pick<int64_t>({0, 1, -1, 5, -5, 250, -250, 6000, -6000, kI64Min, kI64Max});
    int32_t holiday = kUnset;
    int64_t count = kUnset, day = kUnset;
    const int32_t st = qel_holiday_status(s, extra, &holiday), works = qel_is_workday(s, extra);
    const int32_t bs = qel_workdays_between(s, to, extra, &count), as = qel_add_workdays(s, n, extra, &day);
    check_null_out(qel_workdays_between(s, to, extra, nullptr), bs);
    check_null_out(qel_add_workdays(s, n, extra, nullptr), as);
    if (extra && !e.valid) {
        QEL_FUZZ_CHECK(st == QEL_E_ARGUMENT && works == QEL_E_ARGUMENT && bs == QEL_E_ARGUMENT &&
                       as == QEL_E_ARGUMENT && holiday == kUnset && count == kUnset && day == kUnset);
        return;
    }
    // The status: the caller's day, or ordinary, inside its years.
    int32_t want_holiday = 0, want = QEL_DAY_ORDINARY;
    if (extra && s >= e.first && s < e.end) {
        for (size_t i = 0; i < e.table.count; ++i)
            if (e.days[i].serial == s) want = e.days[i].status, want_holiday = e.days[i].holiday;
    } else {
        want = qel_holiday_status(s, nullptr, &want_holiday);
        if (s < lo || s >= hi)
            QEL_FUZZ_CHECK(want == QEL_E_RANGE);
        else  // the holiday of an off or work day, none of an ordinary one
            QEL_FUZZ_CHECK(want >= QEL_DAY_ORDINARY && want <= QEL_DAY_WORK && want_holiday >= 0 &&
                           want_holiday < QEL_HOLIDAY_COUNT && (want == QEL_DAY_ORDINARY) == (want_holiday == 0));
        qel_day_facts f{};
        if (qel_day_facts_of(s, 0, &f) == QEL_OK) QEL_FUZZ_CHECK(f.holiday_status == want);
    }
    QEL_FUZZ_CHECK(st == want && holiday == (st < 0 ? kUnset : want_holiday));
    if (st >= 0) {
        const bool weekend = std::chrono::weekday{std::chrono::sys_days{chrono_date(s)}}.iso_encoding() >= 6;
        QEL_FUZZ_CHECK(works == (st == QEL_DAY_WORK || (st == QEL_DAY_ORDINARY && !weekend) ? 1 : 0));
    } else {
        QEL_FUZZ_CHECK(works == st);
    }
    // Working days in [s, to), or minus those in [to, s).
    QEL_FUZZ_CHECK(bs == QEL_OK || (bs == QEL_E_RANGE && count == kUnset));
    const int64_t low = std::min(s, to), high = std::max(s, to);
    if (low >= QEL_FIRST_SERIAL && high <= QEL_LAST_SERIAL && high - low <= 400) {
        int64_t sum = 0;
        int32_t status = QEL_OK;
        for (int64_t d = low; d < high && status == QEL_OK; ++d) {
            const int32_t w = qel_is_workday(d, extra);
            if (w < 0) status = w;
            else sum += w;
        }
        QEL_FUZZ_CHECK(bs == status && (bs != QEL_OK || count == (to >= s ? sum : -sum)));
    }
    int64_t left = 0, right = 0;
    const int64_t mid = low + static_cast<int64_t>((u64(high) - u64(low)) / 2);
    if (bs == QEL_OK)
        QEL_FUZZ_CHECK(qel_workdays_between(s, mid, extra, &left) == QEL_OK &&
                       qel_workdays_between(mid, to, extra, &right) == QEL_OK && left + right == count);
    // n working days on.
    QEL_FUZZ_CHECK(as == QEL_OK || (as == QEL_E_RANGE && day == kUnset));
    if (as == QEL_OK) {
        QEL_FUZZ_CHECK(qel_is_workday(day, extra) == 1 && (n >= 0 ? day >= s : day < s));
        QEL_FUZZ_CHECK(qel_workdays_between(std::min(s, day), std::max(s, day), extra, &count) == QEL_OK &&
                       count == (n >= 0 ? n : -n));
    } else if (extra == nullptr && s >= lo && s < hi) {  // fewer than needed before the table ends
        QEL_FUZZ_CHECK(n >= 0 ? qel_workdays_between(s, hi, nullptr, &count) == QEL_OK && count <= n
                              : qel_workdays_between(lo, s, nullptr, &count) == QEL_OK && u64(count) < -u64(n));
    }
}

// The batch calls against the scalar calls, element by element, with any
// epoch and null outputs; a null input fails whatever the count (up to
// SIZE_MAX) and writes nothing.
void check_batches(Args& a) {
    constexpr size_t kMax = 40;
    const size_t n = a.pick<uint8_t>({0, 1, 2, 3, 17, 40}) % (kMax + 1);
    const int64_t epoch =
        a.pick<int64_t>({0, QEL_EPOCH_UNIX, QEL_EPOCH_POSTGRES, kMaxEpoch, -kMaxEpoch, kI64Min, kI64Max});
    const bool epoch_ok = epoch >= -kMaxEpoch && epoch <= kMaxEpoch;
    const size_t huge = a.flag() ? SIZE_MAX : 1;
    const uint8_t nulls = a.raw<uint8_t>();
    auto out = [nulls](auto* p, int bit) { return (nulls >> bit) & 1 ? nullptr : p; };
    // Days counted from the epoch: a run from one serial in steps, or any.
    int64_t days[kMax];
    const int64_t first = a.serial(), step = a.pick<int64_t>({1, 0, -1, 29, 400, kMaxEpoch, kI64Max});
    for (size_t i = 0; i < n; ++i) {
        const uint64_t run = u64(first) - u64(epoch) + u64(step) * i;
        days[i] = a.flag() ? static_cast<int64_t>(run) : a.serial();
    }
    auto serial_of = [&](size_t i, int64_t* s) {  // false when days[i] + epoch is no int64_t
        const __int128 sum = __int128{days[i]} + epoch;
        *s = static_cast<int64_t>(sum);
        return sum >= kI64Min && sum <= kI64Max;
    };

    int32_t y[kMax], m[kMax], d[kMax], l[kMax];
    int8_t st[kMax];
    const auto untouched = [&] { return y[0] == 0x55555555 && static_cast<uint8_t>(st[0]) == 0x55; };
    std::memset(y, 0x55, sizeof y), std::memset(m, 0x55, sizeof m), std::memset(d, 0x55, sizeof d);
    std::memset(l, 0x55, sizeof l), std::memset(st, 0x55, sizeof st);
    QEL_FUZZ_CHECK(qel_lunar_of_days(nullptr, huge, 0, y, m, d, l, st) == QEL_E_ARGUMENT && untouched());
    QEL_FUZZ_CHECK(qel_lunar_of_days(nullptr, 0, epoch, y, m, d, l, st) == (epoch_ok ? 0 : QEL_E_ARGUMENT));
    int64_t ok = qel_lunar_of_days(days, n, epoch, out(y, 0), out(m, 1), out(d, 2), out(l, 3), out(st, 4));
    int64_t want = 0;
    for (size_t i = 0; epoch_ok && i < n; ++i) {
        int64_t s = 0;
        qel_lunar_date p{};  // a failed element gets 0 in each field
        const int32_t status = serial_of(i, &s) ? qel_lunar_of_serial(s, &p) : QEL_E_RANGE;
        want += status == QEL_OK;
        QEL_FUZZ_CHECK(((nulls & 1) || y[i] == p.year) && ((nulls & 2) || m[i] == p.month) &&
                       ((nulls & 4) || d[i] == p.day) && ((nulls & 8) || l[i] == p.leap) &&
                       ((nulls & 16) || st[i] == status));
    }
    QEL_FUZZ_CHECK(epoch_ok ? ok == want : ok == QEL_E_ARGUMENT && untouched());

    // Back: lunar dates of the table and any others.
    for (size_t i = 0; i < n; ++i) {
        qel_lunar_date p{a.year(), a.month(), a.day(), a.pick<int32_t>({0, 1, 2, -1})};
        if (a.flag()) qel_lunar_of_serial(lunar_serial(a), &p);
        y[i] = p.year, m[i] = p.month, d[i] = p.day, l[i] = p.leap;
    }
    int64_t back[kMax];
    std::memset(back, 0x55, sizeof back), std::memset(st, 0x55, sizeof st);
    const int32_t* inputs[4] = {y, m, d, l};
    inputs[a.raw<uint8_t>() % 4] = nullptr;
    QEL_FUZZ_CHECK(qel_days_of_lunar(inputs[0], inputs[1], inputs[2], inputs[3], huge, 0, back, st) ==
                       QEL_E_ARGUMENT &&
                   back[0] == 0x5555555555555555 && static_cast<uint8_t>(st[0]) == 0x55);
    ok = qel_days_of_lunar(y, m, d, l, n, epoch, out(back, 0), out(st, 1));
    want = 0;
    for (size_t i = 0; epoch_ok && i < n; ++i) {
        int64_t s = 0;
        const int32_t status = qel_serial_of_lunar(y[i], m[i], d[i], l[i], &s);
        want += status == QEL_OK;
        QEL_FUZZ_CHECK(((nulls & 1) || back[i] == (status == QEL_OK ? s - epoch : kI64Min)) &&
                       ((nulls & 2) || st[i] == status));
    }
    QEL_FUZZ_CHECK(epoch_ok ? ok == want : ok == QEL_E_ARGUMENT && back[0] == 0x5555555555555555);

    // Day facts.
    const uint32_t opt = options(a);
    qel_day_facts facts[kMax];
    std::memset(facts, 0x55, sizeof facts), std::memset(st, 0x55, sizeof st);
    QEL_FUZZ_CHECK(qel_day_facts_of_days(nullptr, huge, 0, 0, facts, st) == QEL_E_ARGUMENT &&
                   facts[0].year == 0x55555555 && static_cast<uint8_t>(st[0]) == 0x55);
    ok = qel_day_facts_of_days(days, n, epoch, opt, out(facts, 0), out(st, 1));
    if (!epoch_ok || opt > QEL_OPT_XIAONIAN_SOUTH) {
        QEL_FUZZ_CHECK(ok == QEL_E_ARGUMENT && facts[0].year == 0x55555555 && static_cast<uint8_t>(st[0]) == 0x55);
        return;
    }
    want = 0;
    for (size_t i = 0; i < n; ++i) {
        int64_t s = 0;
        qel_day_facts f{};
        f.term = -1;
        const bool fits = serial_of(i, &s);
        const int32_t status = fits ? qel_day_facts_of(s, opt, &f) : QEL_E_RANGE;
        want += status == QEL_OK;
        QEL_FUZZ_CHECK((nulls & 2) || st[i] == status);
        if (nulls & 1) continue;
        // A sum that overflows is saturated: no scalar call has that serial.
        if (!fits) f.serial = facts[i].serial, f.holiday_status = QEL_E_RANGE;
        QEL_FUZZ_CHECK(same_bytes(facts[i], f));
    }
    QEL_FUZZ_CHECK(ok == want);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return run_operations(data, size,
                          {check_dates, check_lunar, check_day_facts, check_terms, check_pillars, check_names,
                           check_batches, check_holidays, check_step});
}

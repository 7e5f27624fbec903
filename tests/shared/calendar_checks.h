// The checks of qel_calendar, for any arguments: every status is one of the
// four codes, a failure writes nothing, a needed null out-pointer is refused,
// the conversions round-trip, the facts of a day agree with the single calls
// and with qel_datetime, batch elements equal the scalar calls, and texts are
// snprintf-style UTF-8 cut at a character boundary. calendar_test sweeps them
// over every day, term and hour and over the hostile tables.
#pragma once

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include <vector>

#include "calendar/terms.h"
#include "lunar/computed_months_korean.h"
#include "lunar/computed_months_vietnamese.h"
#include "qel_calendar.h"
#include "qel_datetime.h"
#include "shared/check.h"
#include "shared/gbk.h"
#include "shared/hostile.h"
#include "shared/oracle.h"

namespace qel::checks {

using oracle::valid_date;

inline constexpr int32_t kUnset = -77777;  // an out-value that no call writes
inline constexpr int64_t kDaySeconds = 86400, kCst = 8 * 3600, kMaxEpoch = int64_t{1} << 40;
inline constexpr int64_t kFirstTerm = hostile::kFirstTermInstant, kLastTerm = hostile::kLastTermInstant;
// The pillars run from the first 立春 to the end of the last year in UTC+8.
inline constexpr int64_t kFirstPillar = hostile::kPillarInstant, kEndPillar = hostile::kPillarsEnd;

inline bool is_status(int64_t s) { return s == QEL_OK || s == QEL_E_RANGE || s == QEL_E_DATE || s == QEL_E_ARGUMENT; }

// A needed out-pointer left null: the call fails, with QEL_E_ARGUMENT when it
// would otherwise have succeeded.
inline bool null_out(int32_t status, int32_t with_out) {
    QEL_CHECK(is_status(status) && status != QEL_OK && (with_out != QEL_OK || status == QEL_E_ARGUMENT));
    return true;
}

template <class T>
bool same_bytes(const T& x, const T& y) { return std::memcmp(&x, &y, sizeof x) == 0; }  // no padding in these
template <class T>
T filled() {
    T v;
    std::memset(&v, 0x55, sizeof v);
    return v;
}
inline uint64_t u64(int64_t v) { return static_cast<uint64_t>(v); }  // for sums that wrap

inline bool valid_utf8(std::string_view s) {
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

// A text call made with room to spare, then with `size` bytes of a buffer (or
// a null buffer): the same result, the longest prefix of the text that fits
// and ends on a character boundary, NUL-terminated, and not a byte written at
// or past `size`. `length` gets the status or length, `text` the text.
template <class Call>
bool check_text(Call call, size_t size, bool null, int32_t& length, std::string& text) {
    char big[128];
    std::memset(big, 0x55, sizeof big);
    length = call(big, sizeof big);
    if (length < 0) {
        QEL_CHECK(is_status(length) && big[0] == '\0');
    } else {
        QEL_CHECK(static_cast<size_t>(length) < sizeof big && std::strlen(big) == static_cast<size_t>(length));
        text.assign(big, static_cast<size_t>(length));
        QEL_CHECK(valid_utf8(text));
    }
    char small[40];
    std::memset(small, 0x55, sizeof small);
    size %= sizeof small;
    const int32_t r = call(null ? nullptr : small, size);
    if (null && size > 0) return null_out(r, length < 0 ? length : QEL_OK);
    QEL_CHECK(r == length);
    for (size_t i = size; i < sizeof small; ++i) QEL_CHECK(small[i] == 0x55);
    if (size == 0) return true;
    size_t kept = 0;
    while (kept < size && small[kept] != '\0') ++kept;
    QEL_CHECK(kept < size && (length >= 0 || kept == 0));
    if (length < 0) return true;
    QEL_CHECK(kept <= text.size() && text.compare(0, kept, small, kept) == 0);
    if (kept < text.size()) {  // cut: at a boundary, before a character that does not fit
        const auto lead = static_cast<unsigned char>(text[kept]);
        const size_t next = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        QEL_CHECK((lead & 0xC0) != 0x80 && kept + next > size - 1);
    }
    return true;
}

// A Gregorian date's serial, against chrono.
inline bool check_serial_of_date(int32_t y, int32_t m, int32_t d) {
    int64_t serial = kUnset;
    const int32_t status = qel_serial_of_date(y, m, d, &serial);
    QEL_CHECK_ALL(null_out(qel_serial_of_date(y, m, d, nullptr), status));
    QEL_CHECK(status == (y < 1 || y > 9999 ? QEL_E_RANGE : valid_date(y, m, d) ? QEL_OK : QEL_E_DATE));
    QEL_CHECK(serial == (status == QEL_OK ? oracle::serial_of(y, unsigned(m), unsigned(d)) : kUnset));
    return true;
}

// An instant's day and second in UTC+8, by floor division, and back.
inline bool check_instant(int64_t t) {
    int64_t local = 0, s = kUnset, back = kUnset;
    int32_t second = kUnset;
    const bool sum_ok = !__builtin_add_overflow(t, kCst, &local);
    const int64_t days = local / kDaySeconds - (local % kDaySeconds < 0), want = days + QEL_EPOCH_UNIX;
    const bool in = sum_ok && want >= QEL_FIRST_SERIAL && want <= QEL_LAST_SERIAL;
    const int32_t st = qel_cst_of_instant(t, &s, &second);
    QEL_CHECK(st == (in ? QEL_OK : QEL_E_RANGE) && qel_cst_of_instant(t, nullptr, nullptr) == st);
    if (!in) {
        QEL_CHECK(s == kUnset && second == kUnset);
        return true;
    }
    QEL_CHECK(s == want && second == local - days * kDaySeconds);
    QEL_CHECK(qel_instant_of_cst(s, second, &back) == QEL_OK && back == t);
    return true;
}

// The instant of a day and second in UTC+8, and back.
inline bool check_instant_of_cst(int64_t day, int32_t sec) {
    int64_t back = kUnset, s = kUnset;
    int32_t second = kUnset;
    const int32_t bs = qel_instant_of_cst(day, sec, &back);
    QEL_CHECK_ALL(null_out(qel_instant_of_cst(day, sec, nullptr), bs));
    const bool day_ok = day >= QEL_FIRST_SERIAL && day <= QEL_LAST_SERIAL, sec_ok = sec >= 0 && sec < kDaySeconds;
    QEL_CHECK(day_ok && sec_ok ? bs == QEL_OK
              : day_ok         ? bs == QEL_E_ARGUMENT
                               : bs == QEL_E_RANGE || (!sec_ok && bs == QEL_E_ARGUMENT));
    if (bs == QEL_OK) QEL_CHECK(qel_cst_of_instant(back, &s, &second) == QEL_OK && s == day && second == sec);
    else QEL_CHECK(back == kUnset);
    return true;
}

// The months of each calendar read literally: the generated months in
// order and, for the Chinese years 1900-2100, qel_datetime's months found day
// by day. Month k lasts until month k + 1 begins.
struct LiteralMonth {
    int64_t first;
    int32_t year, month, leap, days;
};
inline std::vector<LiteralMonth> literal_months_of(int32_t calendar) {
    std::vector<LiteralMonth> months;
    auto add = [&](const qel::lunar::ComputedMonth* list, size_t n) {
        for (size_t k = 0; k < n; ++k)
            months.push_back({list[k].first_day, list[k].year, list[k].month, list[k].flags & 1, 0});
    };
    if (calendar == QEL_CALENDAR_CHINESE) {
        add(qel::lunar::kComputedMonthsEarly, std::size(qel::lunar::kComputedMonthsEarly));
        for (int64_t s = qel::lunar::kComputedMonthsEarlyEnd; s < qel::lunar::kComputedMonthsLate[0].first_day; ++s) {
            int32_t y = 0, m = 0, d = 0, leap = 0;
            if (GDateToPDateByTDate(s, &y, &m, &d, &leap) == 1 && d == 1) months.push_back({s, y, m, leap, 0});
        }
        add(qel::lunar::kComputedMonthsLate, std::size(qel::lunar::kComputedMonthsLate));
    } else if (calendar == QEL_CALENDAR_KOREAN) {
        add(qel::lunar::kComputedMonthsKorean, std::size(qel::lunar::kComputedMonthsKorean));
    } else {
        add(qel::lunar::kComputedMonthsVietnamese, std::size(qel::lunar::kComputedMonthsVietnamese));
    }
    for (size_t k = 0; k < months.size(); ++k)
        months[k].days = int32_t((k + 1 < months.size() ? months[k + 1].first : qel::lunar::kComputedMonthsLateEnd) -
                                 months[k].first);
    return months;
}
inline const std::vector<LiteralMonth>& literal_months(int32_t calendar) {
    static const std::vector<LiteralMonth> months[3] = {literal_months_of(0), literal_months_of(1), literal_months_of(2)};
    return months[calendar];
}
// The month holding serial s, or null.
inline const LiteralMonth* literal_month_of(int32_t calendar, int64_t s) {
    const auto& months = literal_months(calendar);
    auto it = std::upper_bound(months.begin(), months.end(), s, [](int64_t v, const LiteralMonth& m) { return v < m.first; });
    if (it == months.begin() || s >= it[-1].first + it[-1].days) return nullptr;
    return &it[-1];
}
// Month `m` (ordinary or leap) of lunar year y, or null.
inline const LiteralMonth* literal_month(int32_t calendar, int32_t y, int32_t m, int32_t leap) {
    static const auto index = [] {
        std::vector<std::vector<const LiteralMonth*>> by(3, std::vector<const LiteralMonth*>(560 * 26));
        for (int32_t c = 0; c < 3; ++c)
            for (const auto& month : literal_months(c))
                by[size_t(c)][size_t(month.year - 1645) * 26 + size_t(month.month * 2 + month.leap)] = &month;
        return by;
    }();
    if (y < 1645 || y > 2200 || m < 1 || m > 12 || (leap != 0 && leap != 1)) return nullptr;
    return index[size_t(calendar)][size_t(y - 1645) * 26 + size_t(m * 2 + leap)];
}
inline int32_t literal_leap_month(int32_t calendar, int32_t y) {
    for (int32_t m = 1; m <= 12; ++m)
        if (literal_month(calendar, y, m, 1)) return m;
    return 0;
}

// The lunar date of a serial in each calendar: the literal months', and back.
inline bool check_lunar_of_serial(int64_t s) {
    for (int32_t c = 0; c < QEL_CALENDAR_COUNT; ++c) {
        qel_lunar_date p{kUnset, kUnset, kUnset, kUnset};
        const int32_t status = qel_lunar_of_serial_in(c, s, &p);
        QEL_CHECK_ALL(null_out(qel_lunar_of_serial_in(c, s, nullptr), status));
        const LiteralMonth* month = literal_month_of(c, s);
        QEL_CHECK(status == (month ? QEL_OK : QEL_E_RANGE));
        if (!month) {
            QEL_CHECK(same_bytes(p, qel_lunar_date{kUnset, kUnset, kUnset, kUnset}));
            continue;
        }
        QEL_CHECK(same_bytes(p, qel_lunar_date{month->year, month->month, int32_t(s - month->first) + 1, month->leap}));
        int64_t back = kUnset;
        QEL_CHECK(qel_serial_of_lunar_in(c, p.year, p.month, p.day, p.leap, &back) == QEL_OK && back == s);
        // The year's months hold this one, at its place, and count beyond a
        // small capacity.
        qel_lunar_month months[QEL_LUNAR_MONTHS_MAX];
        const int32_t n = qel_lunar_year_months_in(c, p.year, months, QEL_LUNAR_MONTHS_MAX);
        const int32_t index = p.month - 1 + (literal_leap_month(c, p.year) && (p.month > literal_leap_month(c, p.year) || p.leap));
        QEL_CHECK(n == 12 + (literal_leap_month(c, p.year) != 0) && qel_lunar_year_months_in(c, p.year, months, 1) == n);
        qel_lunar_year_months_in(c, p.year, months, QEL_LUNAR_MONTHS_MAX);
        QEL_CHECK(months[index].first_serial == month->first && months[index].days == month->days &&
                  months[index].month == p.month && months[index].leap == p.leap);
        if (c == QEL_CALENDAR_CHINESE) {
            int32_t days = 0;
            for (int32_t k = 0; k < n; ++k) days += months[k].days;
            QEL_CHECK(qel_lunar_year_days(p.year) == days);
            QEL_CHECK(qel_lunar_of_serial(s, &p) == QEL_OK && qel_lunar_leap_month(p.year) == literal_leap_month(c, p.year));
            if (p.year >= 1900 && p.year <= 2100) QEL_CHECK(qel_lunar_leap_month(p.year) == GetLeapMonthInPYear(p.year));
        }
    }
    return true;
}

// Any lunar date: valid as the literal months have it, its month's length,
// and its text, which in 1900-2100 is qel_datetime's GBK text with the plain
// month numbers (the leap mark 润 there, 闰 here).
inline bool check_lunar_date(int32_t y, int32_t m, int32_t d, int32_t leap, uint32_t flags, size_t size, bool null) {
    const bool year_ok = y >= QEL_FIRST_YEAR && y <= QEL_LAST_YEAR, leap_ok = leap == 0 || leap == 1;
    const LiteralMonth* month = year_ok && leap_ok ? literal_month(QEL_CALENDAR_CHINESE, y, m, leap) : nullptr;
    int64_t serial = kUnset;
    const int32_t st = qel_serial_of_lunar(y, m, d, leap, &serial);
    QEL_CHECK_ALL(null_out(qel_serial_of_lunar(y, m, d, leap, nullptr), st));
    QEL_CHECK(!year_ok  ? st == QEL_E_RANGE
              : !leap_ok ? st == QEL_E_ARGUMENT
                         : st == (month && d >= 1 && d <= month->days ? QEL_OK : QEL_E_DATE));
    if (year_ok && leap_ok && y >= 1900 && y <= 2100) QEL_CHECK((st == QEL_OK) == PDateIsValid(y, m, d, leap));
    qel_lunar_date p{kUnset, kUnset, kUnset, kUnset};
    if (st == QEL_OK)
        QEL_CHECK(qel_lunar_of_serial(serial, &p) == QEL_OK && same_bytes(p, qel_lunar_date{y, m, d, leap}));
    else
        QEL_CHECK(serial == kUnset);
    QEL_CHECK(qel_lunar_leap_month(y) == (year_ok ? literal_leap_month(QEL_CALENDAR_CHINESE, y) : QEL_E_RANGE));
    const int32_t month_st = qel_serial_of_lunar(y, m, 1, leap, &serial);
    QEL_CHECK(qel_lunar_month_days(y, m, leap) == (month_st == QEL_OK ? month->days : month_st));

    std::string text;
    int32_t length = 0;
    QEL_CHECK_ALL(check_text([&](char* buf, size_t n) { return qel_lunar_text(y, m, d, leap, flags, buf, n); }, size,
                             null, length, text));
    const uint32_t language = flags & (QEL_NAME_KOREAN | QEL_NAME_VIETNAMESE);
    const bool flags_ok = (flags & ~(QEL_NAME_PLAIN_MONTHS | QEL_NAME_KOREAN | QEL_NAME_VIETNAMESE | QEL_OPT_CALENDAR_MASK)) == 0 &&
                          language != (QEL_NAME_KOREAN | QEL_NAME_VIETNAMESE) && (flags & QEL_OPT_CALENDAR_MASK) != QEL_OPT_CALENDAR_MASK;
    int64_t in_calendar = 0;
    const int32_t st_c = flags_ok ? qel_serial_of_lunar_in(int32_t(flags >> 8 & 3), y, m, d, leap, &in_calendar) : QEL_E_ARGUMENT;
    QEL_CHECK(st_c == QEL_OK ? length > 0 : length == st_c);
    if (st == QEL_OK && flags == QEL_NAME_PLAIN_MONTHS && y >= 1900 && y <= 2100) {
        const tpdate date{y, m, d, leap};
        TAnsiString gbk;
        if (leap) text.replace(0, std::strlen("闰"), "润");
        QEL_CHECK(oracle::gbk(text) == pdate2text(&date, &gbk, 3)->c_str());
    }
    return true;
}

inline bool same_term(const qel_term& x, const qel_term& y) {
    return x.year == y.year && x.term == y.term && x.instant == y.instant;
}
inline int64_t term_number(const qel_term& t) { return int64_t{t.year} * 24 + t.term; }

// The facts of a day, against chrono and the single calls: the Gregorian
// fields, the lunar ones, the holiday status, the day pillar at noon, the
// term whose instant falls on the day, and each festival bit exactly on the
// day qel_festival_date gives.
inline bool check_day_facts(int64_t s, uint32_t opt) {
    auto f = filled<qel_day_facts>();
    const int32_t status = qel_day_facts_of(s, opt, &f);
    QEL_CHECK_ALL(null_out(qel_day_facts_of(s, opt, nullptr), status));
    const bool in = s >= QEL_FIRST_SERIAL && s <= QEL_LAST_SERIAL;
    const auto calendar = static_cast<int32_t>(opt >> 8 & 3);
    const bool opt_ok = (opt & ~(QEL_OPT_XIAONIAN_SOUTH | QEL_OPT_CALENDAR_MASK)) == 0 && calendar < QEL_CALENDAR_COUNT;
    if (status == QEL_E_ARGUMENT) {
        QEL_CHECK(!opt_ok && same_bytes(f, filled<qel_day_facts>()));
        return true;
    }
    QEL_CHECK(status == (in ? QEL_OK : QEL_E_RANGE) && (opt_ok || !in));
    if (!in) {
        qel_day_facts zero{};
        zero.serial = s;
        zero.term = -1;
        zero.holiday_status = QEL_E_RANGE;
        QEL_CHECK(same_bytes(f, zero));
        return true;
    }
    const auto ymd = oracle::date_of(s);
    int64_t jan1 = 0;
    QEL_CHECK(f.serial == s && f.year == int(ymd.year()) && f.month == int(unsigned(ymd.month())) &&
              f.day == int(unsigned(ymd.day())) && f.weekday == oracle::weekday_of(s) && f.reserved == 0);
    QEL_CHECK(qel_serial_of_date(f.year, 1, 1, &jan1) == QEL_OK && f.day_of_year == s - jan1 + 1);
    qel_lunar_date p{};
    if (qel_lunar_of_serial_in(calendar, s, &p) == QEL_OK) {
        const LiteralMonth* month = literal_month_of(calendar, s);
        QEL_CHECK(f.flags == 0 && f.lunar_year == p.year && f.lunar_month == p.month && f.lunar_day == p.day &&
                  f.lunar_leap == p.leap && f.lunar_month_days == month->days &&
                  f.lunar_leap_month == literal_leap_month(calendar, p.year) && f.year_cycle == (p.year - 4) % 60);
    } else {
        QEL_CHECK(f.flags == QEL_DAY_NO_LUNAR && f.lunar_year == 0 && f.lunar_month == 0 && f.lunar_day == 0 &&
                  f.lunar_leap == 0 && f.lunar_month_days == 0 && f.lunar_leap_month == 0 && f.year_cycle == 0);
    }
    QEL_CHECK(f.day_cycle >= 0 && f.day_cycle < 60);
    int32_t holiday = 0;
    const int32_t holiday_status = qel_holiday_status(s, nullptr, &holiday);
    QEL_CHECK(f.holiday_status == holiday_status && f.holiday == (holiday_status > 0 ? holiday : 0));
    qel_pillars noon{};
    if (qel_pillars_of_cst(f.year, f.month, f.day, 12, 0, 0, QEL_ZI_LATE, &noon) == QEL_OK)
        QEL_CHECK(noon.day == f.day_cycle);
    const bool covered = f.year >= QEL_FIRST_YEAR && f.year <= QEL_LAST_YEAR;
    int64_t midnight = 0, t = 0;
    qel_term next{};
    QEL_CHECK(qel_instant_of_cst(s, 0, &midnight) == QEL_OK);
    if (covered && qel_term_next(midnight - 1, &next) == QEL_OK && next.instant < midnight + kDaySeconds)
        QEL_CHECK(f.term == next.term && f.term_instant == next.instant &&
                  qel_term_instant(f.year, f.term, &t) == QEL_OK && t == next.instant);
    else
        QEL_CHECK(f.term == -1 && f.term_instant == 0);
    // The lunar festivals never in a leap month; 除夕 the eve of 春节.
    QEL_CHECK(f.lunar_leap == 0 || (f.festivals & ((uint64_t{2} << QEL_FESTIVAL_NEW_YEARS_EVE) - 1)) == 0);
    qel_lunar_date after{};
    if (f.festivals >> QEL_FESTIVAL_NEW_YEARS_EVE & 1)
        QEL_CHECK(qel_lunar_of_serial_in(calendar, s + 1, &after) != QEL_OK || (after.month == 1 && after.day == 1 && !after.leap));
    for (int32_t k = 0; k < 64; ++k) {
        const bool lunar = k <= QEL_FESTIVAL_NEW_YEARS_EVE || k == QEL_FESTIVAL_HUNG_KINGS;
        int64_t day = kUnset;
        const bool want = k < QEL_FESTIVAL_COUNT && (lunar ? f.flags == 0 : covered) &&
                          qel_festival_date(k, lunar ? f.lunar_year : f.year, opt, &day) == QEL_OK && day == s;
        QEL_CHECK(((f.festivals >> k) & 1u) == (want ? 1u : 0u));
    }
    return true;
}

// A term's instant by year and number, found again around it, on the day
// qel_datetime gives.
inline bool check_term_instant(int32_t y, int32_t k) {
    int64_t t = kUnset;
    const int32_t status = qel_term_instant(y, k, &t);
    QEL_CHECK_ALL(null_out(qel_term_instant(y, k, nullptr), status));
    const bool k_ok = k >= 0 && k < 24, y_ok = y >= QEL_FIRST_YEAR && y <= QEL_LAST_YEAR;
    QEL_CHECK(k_ok ? status == (y_ok ? QEL_OK : QEL_E_RANGE)
                   : status == QEL_E_ARGUMENT || (!y_ok && status == QEL_E_RANGE));
    if (status != QEL_OK) {
        QEL_CHECK(t == kUnset);
        return true;
    }
    const qel_term term{y, k, t};
    qel_term got{};
    QEL_CHECK(qel_term_in_force(t, &got) == QEL_OK && same_term(got, term));
    QEL_CHECK(qel_term_next(t - 1, &got) == QEL_OK && same_term(got, term));
    QEL_CHECK(qel_term_previous(t + 1, &got) == QEL_OK && same_term(got, term));
    int64_t s = 0;
    QEL_CHECK(qel_cst_of_instant(t, &s, nullptr) == QEL_OK);
    if (y < 1900 || y > 2100) return true;
    const TDateTime day(getLunarTermDay(y, k));
    QEL_CHECK(oracle::serial_of(day.year(), unsigned(day.month()), unsigned(day.day())) == s);
    return true;
}

// The terms in force at, next after and previous to any instant.
inline bool check_terms_around(int64_t u) {
    const qel_term unset{kUnset, kUnset, kUnset};
    qel_term in_force = unset, next = unset, previous = unset, before{};
    const int32_t sf = qel_term_in_force(u, &in_force), sn = qel_term_next(u, &next),
                  sp = qel_term_previous(u, &previous);
    QEL_CHECK_ALL(null_out(qel_term_in_force(u, nullptr), sf));
    QEL_CHECK_ALL(null_out(qel_term_next(u, nullptr), sn));
    QEL_CHECK_ALL(null_out(qel_term_previous(u, nullptr), sp));
    QEL_CHECK(sf == (u >= kFirstTerm ? QEL_OK : QEL_E_RANGE) && sn == (u < kLastTerm ? QEL_OK : QEL_E_RANGE) &&
              sp == (u > kFirstTerm ? QEL_OK : QEL_E_RANGE));
    int64_t t = 0;
    for (const qel_term* found : {&in_force, &next, &previous})
        if (!same_term(*found, unset))
            QEL_CHECK(qel_term_instant(found->year, found->term, &t) == QEL_OK && t == found->instant);
    QEL_CHECK(sf == QEL_OK ? in_force.instant <= u : same_term(in_force, unset));
    QEL_CHECK(sn == QEL_OK ? next.instant > u : same_term(next, unset));
    QEL_CHECK(sf != QEL_OK || sn != QEL_OK || term_number(next) == term_number(in_force) + 1);
    QEL_CHECK(sp == QEL_OK ? previous.instant < u && qel_term_in_force(u - 1, &before) == QEL_OK &&
                                 same_term(before, previous)
                           : same_term(previous, unset));
    return true;
}

// The four pillars of an instant: the same from its civil fields; the year
// from the last 立春, the month from the last 节 (小寒 opens a 丑 month, 立春 a
// 寅 month ...), the day's cycle index (the next day's in the late 子 hour
// under the early convention), the 时辰 of two hours from 23:00; month and
// hour run through the sixty-cycle without a break.
inline bool check_pillars(int64_t t, int32_t zi) {
    const bool zi_ok = zi == QEL_ZI_LATE || zi == QEL_ZI_EARLY, in = t >= kFirstPillar && t < kEndPillar;
    auto p = filled<qel_pillars>();
    const int32_t status = qel_pillars_of_instant(t, zi, &p);
    QEL_CHECK_ALL(null_out(qel_pillars_of_instant(t, zi, nullptr), status));
    QEL_CHECK(zi_ok ? status == (in ? QEL_OK : QEL_E_RANGE)
                    : status == QEL_E_ARGUMENT || (!in && status == QEL_E_RANGE));
    if (status != QEL_OK) {
        QEL_CHECK(same_bytes(p, filled<qel_pillars>()));
        return true;
    }
    int64_t s = 0;
    int32_t sec = 0;
    QEL_CHECK(qel_cst_of_instant(t, &s, &sec) == QEL_OK);
    const auto ymd = oracle::date_of(s);
    const int32_t hour = sec / 3600;
    auto q = filled<qel_pillars>();
    QEL_CHECK(qel_pillars_of_cst(int(ymd.year()), int(unsigned(ymd.month())), int(unsigned(ymd.day())), hour,
                                 sec / 60 % 60, sec % 60, zi, &q) == QEL_OK &&
              same_bytes(p, q));
    QEL_CHECK(p.year >= 0 && p.year < 60 && p.month >= 0 && p.month < 60 && p.hour >= 0 && p.hour < 60);
    int64_t start = 0, next_start = hostile::kI64Max;
    QEL_CHECK(p.year_start.term == 2 && p.year == (p.year_start.year - 4) % 60 &&
              qel_term_instant(p.year_start.year, 2, &start) == QEL_OK && start == p.year_start.instant &&
              start <= t);
    qel_term_instant(p.year_start.year + 1, 2, &next_start);
    QEL_CHECK(next_start > t);
    qel_term now{};
    QEL_CHECK(qel_term_in_force(t, &now) == QEL_OK && p.month_start.term % 2 == 0 &&
              term_number(now) - term_number(p.month_start) <= 1 && p.month_start.instant <= t &&
              qel_term_instant(p.month_start.year, p.month_start.term, &start) == QEL_OK &&
              start == p.month_start.instant && p.month % 12 == (p.month_start.term / 2 + 1) % 12);
    qel_day_facts facts{};
    QEL_CHECK(qel_day_facts_of(s + (zi == QEL_ZI_EARLY && hour == 23), 0, &facts) == QEL_OK &&
              p.day == facts.day_cycle);
    QEL_CHECK(p.hour % 12 == (hour + 1) / 2 % 12);
    qel_pillars before{};
    if (qel_pillars_of_instant(p.month_start.instant - 1, zi, &before) == QEL_OK)
        QEL_CHECK((before.month + 1) % 60 == p.month);
    if (qel_pillars_of_instant(t - (sec + 3600) % 7200 - 1, zi, &before) == QEL_OK)
        QEL_CHECK((before.hour + 1) % 60 == p.hour);
    return true;
}

// The pillars of any civil fields: those of the fields' instant, or the
// status of fields that are no date, time or covered year.
inline bool check_pillars_of_cst(int32_t y, int32_t m, int32_t d, int32_t h, int32_t mi, int32_t se, int32_t zi) {
    const bool zi_ok = zi == QEL_ZI_LATE || zi == QEL_ZI_EARLY;
    auto q = filled<qel_pillars>(), expected = filled<qel_pillars>();
    const int32_t cs = qel_pillars_of_cst(y, m, d, h, mi, se, zi, &q);
    QEL_CHECK_ALL(null_out(qel_pillars_of_cst(y, m, d, h, mi, se, zi, nullptr), cs));
    int32_t want = QEL_E_RANGE;
    if (y >= QEL_FIRST_YEAR && y <= QEL_LAST_YEAR) {
        want = QEL_E_DATE;
        int64_t day = 0, u = 0;
        if (valid_date(y, m, d) && h >= 0 && h < 24 && mi >= 0 && mi < 60 && se >= 0 && se < 60) {
            QEL_CHECK(qel_serial_of_date(y, m, d, &day) == QEL_OK &&
                      qel_instant_of_cst(day, h * 3600 + mi * 60 + se, &u) == QEL_OK);
            want = qel_pillars_of_instant(u, zi_ok ? zi : QEL_ZI_LATE, &expected);
        }
    }
    QEL_CHECK(zi_ok ? cs == want : cs == QEL_E_ARGUMENT || (want != QEL_OK && cs == want));
    QEL_CHECK(same_bytes(q, cs == QEL_OK ? expected : filled<qel_pillars>()));
    return true;
}

inline bool equal_nocase(std::string_view x, std::string_view y) {
    return x.size() == y.size() && std::equal(x.begin(), x.end(), y.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
           });
}

inline std::string name_of(int32_t kind, int32_t index, uint32_t flags = 0) {
    char buf[64];
    const int32_t n = qel_name(kind, index, flags, buf, sizeof buf);
    return n > 0 ? std::string(buf, static_cast<size_t>(n)) : std::string();
}

// The index range of each name kind, as the header lists them.
inline constexpr int32_t kFirstIndex[] = {0, 0, 0, 0, 1, 1, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1};
inline constexpr int32_t kLastIndex[] = {9, 11, 59, 11, 12, 30, 23, 23, 23, 25, 25, 25, 25, 9, 9, 9};
static_assert(std::size(kFirstIndex) == QEL_NAME_KIND_COUNT && std::size(kLastIndex) == QEL_NAME_KIND_COUNT,
              "a range for every name kind");

// Any name: known exactly for the listed kinds, indexes and flags; a cycle is
// its stem and branch, 闰 leads a leap month, and a term or festival name
// (Chinese, English, key) is read back to its index, also with the case of
// its letters flipped by the bits of `case_flips`.
inline bool check_name(int32_t kind, int32_t index, uint32_t flags, size_t size, bool null, uint32_t case_flips) {
    std::string name;
    int32_t length = 0;
    QEL_CHECK_ALL(check_text([&](char* buf, size_t n) { return qel_name(kind, index, flags, buf, n); }, size, null,
                             length, name));
    // One language flag on the translated kinds; a festival named in Korean
    // or Vietnamese only where that calendar keeps it.
    const uint32_t language = flags & (QEL_NAME_KOREAN | QEL_NAME_VIETNAMESE);
    const bool translated = kind <= QEL_NAME_TERM || kind == QEL_NAME_FESTIVAL || kind == QEL_NAME_FESTIVAL_SHORT;
    const uint32_t allowed = (kind == QEL_NAME_LUNAR_MONTH ? 3u : 0u) | (translated ? 12u : 0u);
    int64_t day = 0;
    const int32_t calendar = language == QEL_NAME_KOREAN ? QEL_CALENDAR_KOREAN : QEL_CALENDAR_VIETNAMESE;
    const bool kept = language == 0 || kind < QEL_NAME_FESTIVAL ||
                      qel_festival_date(index, 2000, QEL_OPT_CALENDAR(calendar), &day) != QEL_E_ARGUMENT;
    const bool known = kind >= 0 && kind < QEL_NAME_KIND_COUNT && index >= kFirstIndex[kind] &&
                       index <= kLastIndex[kind] && (flags & ~allowed) == 0 && language != 12u && kept;
    QEL_CHECK(known ? length > 0 : length == QEL_E_ARGUMENT);
    if (!known) return true;
    if (kind == QEL_NAME_CYCLE)
        QEL_CHECK(name == name_of(QEL_NAME_STEM, index % 10, language) + (language == QEL_NAME_VIETNAMESE ? " " : "") +
                              name_of(QEL_NAME_BRANCH, index % 12, language));
    if (kind == QEL_NAME_LUNAR_MONTH && language == 0)
        QEL_CHECK(name.rfind("闰", 0) == ((flags & QEL_NAME_LEAP) ? 0 : std::string::npos));
    if (language == 0)
        for (size_t i = 0; i < name.size() && i < 32; ++i)
            if (std::isalpha(static_cast<unsigned char>(name[i])) && (case_flips >> i & 1)) name[i] ^= 0x20;
    if (kind >= QEL_NAME_TERM && kind <= QEL_NAME_TERM_KEY) QEL_CHECK(qel_term_of_name(name.data(), name.size()) == index);
    if (kind >= QEL_NAME_FESTIVAL && kind <= QEL_NAME_FESTIVAL_KEY)
        QEL_CHECK(qel_festival_of_name(name.data(), name.size()) == index);
    return true;
}

// Any text looked up as a term or a festival: no match, or a name of what it
// matched (Chinese exactly, English and keys in any case).
inline bool check_name_lookup(std::string_view s) {
    const int32_t term = qel_term_of_name(s.data(), s.size()), festival = qel_festival_of_name(s.data(), s.size());
    QEL_CHECK(term == QEL_E_ARGUMENT ||
              (term >= 0 && term < 24 &&
               (s == name_of(QEL_NAME_TERM, term) || equal_nocase(s, name_of(QEL_NAME_TERM_ENGLISH, term)) ||
                equal_nocase(s, name_of(QEL_NAME_TERM_KEY, term)))));
    QEL_CHECK(festival == QEL_E_ARGUMENT ||
              (festival >= 0 && festival < QEL_FESTIVAL_COUNT &&
               (s == name_of(QEL_NAME_FESTIVAL, festival) || s == name_of(QEL_NAME_FESTIVAL_SHORT, festival) ||
                equal_nocase(s, name_of(QEL_NAME_FESTIVAL_ENGLISH, festival)) ||
                equal_nocase(s, name_of(QEL_NAME_FESTIVAL_KEY, festival)))));
    QEL_CHECK(qel_term_of_name(nullptr, s.size()) == QEL_E_ARGUMENT &&
              qel_festival_of_name(nullptr, SIZE_MAX) == QEL_E_ARGUMENT && std::strlen(qel_calendar_version()) > 0);
    return true;
}

// qel_step against chrono: time units move the second count (every sum that
// overflows is far out of range), calendar units the month count year * 12 +
// month - 1 with the day cut to the new month's last (QEL_CLAMPED) or refused
// (QEL_E_DATE).
inline bool check_step(int64_t s, int32_t sec, int64_t count, int32_t unit, uint32_t flags) {
    int64_t out = kUnset;
    int32_t out_sec = kUnset;
    const int32_t st = qel_step(s, sec, count, unit, flags, &out, &out_sec);
    const int32_t with_out = st == QEL_CLAMPED ? QEL_OK : st;
    QEL_CHECK_ALL(null_out(qel_step(s, sec, count, unit, flags, nullptr, &out_sec), with_out));
    QEL_CHECK_ALL(null_out(qel_step(s, sec, count, unit, flags, &out, nullptr), with_out));
    const bool argument_ok = unit >= QEL_UNIT_SECOND && unit <= QEL_UNIT_YEAR && flags <= QEL_STEP_NO_CLAMP &&
                             sec >= 0 && sec < kDaySeconds;
    const bool start_ok = s >= QEL_FIRST_SERIAL && s <= QEL_LAST_SERIAL;
    if (!argument_ok || !start_ok) {
        QEL_CHECK(((!argument_ok && st == QEL_E_ARGUMENT) || (!start_ok && st == QEL_E_RANGE)) && out == kUnset &&
                  out_sec == kUnset);
        return true;
    }
    int64_t want_day = hostile::kI64Min;  // none when a sum overflows
    int32_t want_sec = sec, want = QEL_OK;
    if (unit <= QEL_UNIT_WEEK) {
        static constexpr int64_t kPer[] = {1, 60, 3600, kDaySeconds, 7 * kDaySeconds};
        int64_t moved = 0, total = 0;
        if (!__builtin_mul_overflow(count, kPer[unit], &moved) && !__builtin_add_overflow(s * kDaySeconds + sec, moved, &total)) {
            want_day = total / kDaySeconds - (total % kDaySeconds < 0);
            want_sec = static_cast<int32_t>((total % kDaySeconds + kDaySeconds) % kDaySeconds);
        }
    } else {
        const auto ymd = oracle::date_of(s);
        int64_t months = 0, index = 0;
        if (!__builtin_mul_overflow(count, unit == QEL_UNIT_YEAR ? 12 : 1, &months) &&
            !__builtin_add_overflow(int64_t{int(ymd.year())} * 12 + (unsigned(ymd.month()) - 1), months, &index)) {
            const int64_t month0 = (index % 12 + 12) % 12, year = (index - month0) / 12;
            if (year >= 1 && year <= 9999) {
                using namespace std::chrono;
                const unsigned d = unsigned(ymd.day()),
                               length = unsigned(year_month_day_last{std::chrono::year{int(year)} /
                                                                     month{unsigned(month0) + 1} / last}
                                                     .day());
                want = d <= length ? QEL_OK : (flags & QEL_STEP_NO_CLAMP) ? QEL_E_DATE : QEL_CLAMPED;
                want_day = oracle::serial_of(int(year), unsigned(month0) + 1, std::min(d, length));
            }
        }
    }
    if (want_day < QEL_FIRST_SERIAL || want_day > QEL_LAST_SERIAL) want = QEL_E_RANGE;
    QEL_CHECK(st == want);
    if (st == QEL_OK || st == QEL_CLAMPED) QEL_CHECK(out == want_day && out_sec == want_sec);
    else QEL_CHECK(out == kUnset && out_sec == kUnset);
    return true;
}

// A caller's holiday table with the rules qel_calendar.h sets for it: years
// 1..9999 in order, days sorted and inside them, known statuses and holidays.
struct Extra {
    qel_holiday_day days[8];
    qel_holiday_table table;
    int64_t first = 0, end = 0;  // the serials it covers, [first, end)
    bool valid = false;
};

// Completes a table whose days and fields are set: its span and validity.
inline void judge(Extra& e) {
    const qel_holiday_table& t = e.table;
    e.valid = t.first_year >= 1 && t.last_year <= 9999 && t.first_year <= t.last_year && !(!t.days && t.count > 0);
    if (t.first_year >= 1 && t.last_year <= 9999 && t.first_year <= t.last_year) {
        e.first = oracle::serial_of(t.first_year, 1, 1);
        e.end = oracle::serial_of(t.last_year, 12, 31) + 1;
    }
    for (size_t i = 0; e.valid && t.days && i < t.count; ++i) {
        const qel_holiday_day& d = t.days[i];
        e.valid = d.serial >= e.first && d.serial < e.end && (i == 0 || d.serial > t.days[i - 1].serial) &&
                  d.status >= QEL_DAY_ORDINARY && d.status <= QEL_DAY_WORK && d.holiday >= 0 &&
                  d.holiday < QEL_HOLIDAY_COUNT;
    }
}

// Holiday status and working days against the tables and each other: the
// caller's table inside its years, the built-in one elsewhere (and the day
// facts agree with it), a working day a weekday not off or a make-up day, the
// count of working days additive and, over short ranges, the sum of the
// single days, and a step of n working days landing on a working day n
// working days away.
inline bool check_holidays(int64_t s, int64_t to, int64_t n, const Extra* e) {
    const qel_holiday_table* extra = e ? &e->table : nullptr;
    int32_t first_year = kUnset, last_year = kUnset;
    int64_t lo = 0, hi = 0;  // the built-in table's serials
    QEL_CHECK(qel_holiday_years(&first_year, &last_year) == QEL_OK && first_year <= last_year &&
              qel_serial_of_date(first_year, 1, 1, &lo) == QEL_OK &&
              qel_serial_of_date(last_year + 1, 1, 1, &hi) == QEL_OK && qel_holiday_years(nullptr, nullptr) == QEL_OK);
    int32_t holiday = kUnset;
    int64_t count = kUnset, day = kUnset;
    const int32_t st = qel_holiday_status(s, extra, &holiday), works = qel_is_workday(s, extra);
    const int32_t bs = qel_workdays_between(s, to, extra, &count), as = qel_add_workdays(s, n, extra, &day);
    QEL_CHECK_ALL(null_out(qel_workdays_between(s, to, extra, nullptr), bs));
    QEL_CHECK_ALL(null_out(qel_add_workdays(s, n, extra, nullptr), as));
    if (e && !e->valid) {
        QEL_CHECK(st == QEL_E_ARGUMENT && works == QEL_E_ARGUMENT && bs == QEL_E_ARGUMENT && as == QEL_E_ARGUMENT &&
                  holiday == kUnset && count == kUnset && day == kUnset);
        return true;
    }
    int32_t want_holiday = 0, want = QEL_DAY_ORDINARY;
    if (e && s >= e->first && s < e->end) {
        for (size_t i = 0; i < e->table.count; ++i)
            if (e->days[i].serial == s) want = e->days[i].status, want_holiday = e->days[i].holiday;
    } else {
        want = qel_holiday_status(s, nullptr, &want_holiday);
        if (s < lo || s >= hi)
            QEL_CHECK(want == QEL_E_RANGE);
        else  // the holiday of an off or work day, none of an ordinary one
            QEL_CHECK(want >= QEL_DAY_ORDINARY && want <= QEL_DAY_WORK && want_holiday >= 0 &&
                      want_holiday < QEL_HOLIDAY_COUNT && (want == QEL_DAY_ORDINARY) == (want_holiday == 0));
        qel_day_facts f{};
        if (qel_day_facts_of(s, 0, &f) == QEL_OK) QEL_CHECK(f.holiday_status == want);
    }
    QEL_CHECK(st == want && holiday == (st < 0 ? kUnset : want_holiday));
    const bool weekend = st >= 0 && oracle::weekday_of(s) >= 6;
    QEL_CHECK(works == (st < 0 ? st : st == QEL_DAY_WORK || (st == QEL_DAY_ORDINARY && !weekend) ? 1 : 0));
    // Working days in [s, to), or minus those in [to, s).
    QEL_CHECK(bs == QEL_OK || (bs == QEL_E_RANGE && count == kUnset));
    const int64_t low = std::min(s, to), high = std::max(s, to);
    if (low >= QEL_FIRST_SERIAL && high <= QEL_LAST_SERIAL && high - low <= 400) {
        int64_t sum = 0;
        int32_t status = QEL_OK;
        for (int64_t d = low; d < high && status == QEL_OK; ++d) {
            const int32_t w = qel_is_workday(d, extra);
            if (w < 0) status = w;
            else sum += w;
        }
        QEL_CHECK(bs == status && (bs != QEL_OK || count == (to >= s ? sum : -sum)));
    }
    int64_t left = 0, right = 0;
    const int64_t mid = low + static_cast<int64_t>((u64(high) - u64(low)) / 2);
    if (bs == QEL_OK)
        QEL_CHECK(qel_workdays_between(s, mid, extra, &left) == QEL_OK &&
                  qel_workdays_between(mid, to, extra, &right) == QEL_OK && left + right == count);
    QEL_CHECK(as == QEL_OK || (as == QEL_E_RANGE && day == kUnset));
    if (as == QEL_OK) {
        QEL_CHECK(qel_is_workday(day, extra) == 1 && (n >= 0 ? day >= s : day < s));
        QEL_CHECK(qel_workdays_between(std::min(s, day), std::max(s, day), extra, &count) == QEL_OK &&
                  count == (n >= 0 ? n : -n));
    } else if (extra == nullptr && s >= lo && s < hi) {  // fewer than needed before the table ends
        QEL_CHECK(n >= 0 ? qel_workdays_between(s, hi, nullptr, &count) == QEL_OK && count <= n
                         : qel_workdays_between(lo, s, nullptr, &count) == QEL_OK && u64(count) < -u64(n));
    }
    return true;
}

// The batch calls against the scalar calls, element by element (at most 40),
// with any epoch; output k is null when bit k of `nulls` is set. A null
// input is refused for a count of 1 and of SIZE_MAX, a bad epoch or option
// for any count, and nothing is written then. `Out` holds a call's output
// arrays; run(out, null_input, count, epoch) makes the batch call, and
// element(i, out, status) checks element i against the scalar call, whose
// status it sets.
inline bool epoch_ok(int64_t epoch) { return epoch >= -kMaxEpoch && epoch <= kMaxEpoch; }

template <class Out, class Run, class Element>
bool check_batch(size_t n, int64_t epoch, bool bad_option, Run run, Element element) {
    Out out, fill;
    std::memset(&out, 0x55, sizeof out), std::memset(&fill, 0x55, sizeof fill);
    for (const size_t count : {size_t{1}, SIZE_MAX}) QEL_CHECK(run(out, true, count, 0) == QEL_E_ARGUMENT && same_bytes(out, fill));
    const bool refused = !epoch_ok(epoch) || bad_option;
    QEL_CHECK(run(out, true, 0, epoch) == (refused ? QEL_E_ARGUMENT : 0) && same_bytes(out, fill));
    const int64_t ok = run(out, false, n, epoch);
    if (refused) {
        QEL_CHECK(ok == QEL_E_ARGUMENT && same_bytes(out, fill));
        return true;
    }
    int64_t want = 0;
    for (size_t i = 0; i < n; ++i) {
        int32_t status = QEL_E_ARGUMENT;
        QEL_CHECK_ALL(element(i, out, status));
        want += status == QEL_OK;
    }
    QEL_CHECK(ok == want);
    return true;
}

inline bool check_lunar_of_days(const int64_t* days, size_t n, int64_t epoch, uint8_t nulls) {
    struct Out { int32_t y[40], m[40], d[40], l[40]; int8_t st[40]; };
    const auto run = [&](Out& o, bool null_input, size_t count, int64_t e) {
        return qel_lunar_of_days(null_input ? nullptr : days, count, e, check::unless(nulls, 0, o.y), check::unless(nulls, 1, o.m),
                                 check::unless(nulls, 2, o.d), check::unless(nulls, 3, o.l), check::unless(nulls, 4, o.st));
    };
    return check_batch<Out>(n, epoch, false, run, [&](size_t i, const Out& o, int32_t& status) {
        int64_t s = 0;
        qel_lunar_date p{};  // a failed element gets 0 in each field
        status = __builtin_add_overflow(days[i], epoch, &s) ? QEL_E_RANGE : qel_lunar_of_serial(s, &p);
        QEL_CHECK(((nulls & 1) || o.y[i] == p.year) && ((nulls & 2) || o.m[i] == p.month) && ((nulls & 4) || o.d[i] == p.day) &&
                  ((nulls & 8) || o.l[i] == p.leap) && ((nulls & 16) || o.st[i] == status));
        return true;
    });
}

// `null_input` (0-3) names the input array left null in the refused call.
inline bool check_days_of_lunar(const int32_t* y, const int32_t* m, const int32_t* d, const int32_t* l, size_t n,
                                int64_t epoch, uint8_t nulls, int null_input) {
    struct Out { int64_t back[40]; int8_t st[40]; };
    const auto run = [&](Out& o, bool null_in, size_t count, int64_t e) {
        const int32_t* in[4] = {y, m, d, l};
        if (null_in) in[null_input & 3] = nullptr;
        return qel_days_of_lunar(in[0], in[1], in[2], in[3], count, e, check::unless(nulls, 0, o.back), check::unless(nulls, 1, o.st));
    };
    return check_batch<Out>(n, epoch, false, run, [&](size_t i, const Out& o, int32_t& status) {
        int64_t s = 0;
        status = qel_serial_of_lunar(y[i], m[i], d[i], l[i], &s);
        QEL_CHECK(((nulls & 1) || o.back[i] == (status == QEL_OK ? s - epoch : hostile::kI64Min)) && ((nulls & 2) || o.st[i] == status));
        return true;
    });
}

inline bool check_day_facts_of_days(const int64_t* days, size_t n, int64_t epoch, uint32_t opt, uint8_t nulls) {
    struct Out { qel_day_facts facts[40]; int8_t st[40]; };
    const auto run = [&](Out& o, bool null_input, size_t count, int64_t e) {
        return qel_day_facts_of_days(null_input ? nullptr : days, count, e, opt, check::unless(nulls, 0, o.facts), check::unless(nulls, 1, o.st));
    };
    return check_batch<Out>(n, epoch, opt > QEL_OPT_XIAONIAN_SOUTH, run, [&](size_t i, const Out& o, int32_t& status) {
        int64_t s = 0;
        qel_day_facts f{};
        f.term = -1;
        const bool fits = !__builtin_add_overflow(days[i], epoch, &s);
        status = fits ? qel_day_facts_of(s, opt, &f) : QEL_E_RANGE;
        QEL_CHECK((nulls & 2) || o.st[i] == status);
        if (nulls & 1) return true;
        // A sum that overflows is saturated: no scalar call has that serial.
        if (!fits) f.serial = o.facts[i].serial, f.holiday_status = QEL_E_RANGE;
        QEL_CHECK(same_bytes(o.facts[i], f));
        return true;
    });
}

}  // namespace qel::checks

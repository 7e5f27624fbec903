// The checks of the lunar C functions, the tpdate members, the GBK names and
// the solar-term days, for any arguments. The conversions are checked against
// each other: the valid lunar dates are exactly the images of Gregorian
// 1900-01-01 .. 2101-01-28, every conversion round-trips, a failed one writes
// nothing, and a month walk of +n then -n comes back; the searches against
// their literal walks; the names against text composed here in UTF-8 from the
// rules of Chinese numerals and the two cycles, in GBK by the platform.
// lunar_test sweeps them over the table and the hostile tables.
#pragma once

#include <cstdint>
#include <string>

#include "shared/oracle.h"
#include "gregorian/civil.h"
#include "lunar/year_index.h"
#include "qel_datetime.h"
#include "shared/check.h"
#include "shared/gbk.h"
#include "shared/hostile.h"

namespace qel::checks {

namespace greg = qel::gregorian;

inline constexpr int32_t kNone = -77777;  // an out-value that no call writes
inline constexpr DateInt kBase = 32;      // 1900-01-31, lunar 1900-01-01
inline constexpr DateInt kFirstDay = 2;   // 1900-01-01, lunar 1899-12-01
inline constexpr DateInt kLastDay = 73443;  // 2101-01-28, lunar 2100-12-29

struct Lunar {
    int32_t year = kNone, month = kNone, day = kNone, leap = kNone;
    bool operator==(const Lunar&) const = default;
};

inline Lunar lunar_of(DateInt serial) {
    Lunar p;
    GDateToPDateByTDate(serial, &p.year, &p.month, &p.day, &p.leap);
    return p;
}

// The serial of a lunar date through PDateToGDate, or false.
inline bool serial_of(const Lunar& p, DateInt* serial) {
    int32_t y = 0, m = 0, d = 0;
    return PDateToGDate(p.year, p.month, p.day, p.leap, &y, &m, &d) == 1 &&
           greg::TryEncodeDate(static_cast<uint16_t>(y), static_cast<uint16_t>(m), static_cast<uint16_t>(d), serial) == 1;
}

// Valid exactly when the date converts to a day of the table's range that
// converts back to it; a failed conversion writes nothing.
inline bool check_valid(const Lunar& p) {
    DateInt s = 0;
    int32_t y = kNone, m = kNone, d = kNone;
    if (PDateToGDate(p.year, p.month, p.day, p.leap, &y, &m, &d) != 1) QEL_CHECK(y == kNone && m == kNone && d == kNone);
    const bool valid = serial_of(p, &s) && s >= kFirstDay && s <= kLastDay &&
                       lunar_of(s) == Lunar{p.year, p.month, p.day, p.leap != 0};
    QEL_CHECK(PDateIsValid(p.year, p.month, p.day, p.leap) == (valid ? 1 : 0));
    return true;
}

// GDateToPDate (and tpdate::fromGDate) of any fields, with the null pointers
// of `nulls` (bits 0-3): -2 outside 1900-2100, -1 for no date, else the
// lunar date of its serial, which converts back.
inline bool check_gregorian_to_lunar(int32_t y, int32_t m, int32_t d, uint8_t nulls) {
    Lunar p;
    const int32_t status = GDateToPDate(y, m, d, check::unless(nulls, 0, &p.year), check::unless(nulls, 1, &p.month),
                                        check::unless(nulls, 2, &p.day), check::unless(nulls, 3, &p.leap));
    tpdate record{1, 2, 3, 4};
    record.fromGDate(y, m, d);
    DateInt s = 0;
    const bool date = greg::TryEncodeDate(static_cast<uint16_t>(y), static_cast<uint16_t>(m), static_cast<uint16_t>(d), &s);
    if (y < 1900 || y > 2100 || !date) {
        QEL_CHECK(status == (y < 1900 || y > 2100 ? -2 : -1) && p == Lunar{});
        QEL_CHECK(record.year == 1 && record.month == 2 && record.day == 3 && record.leap == 4);
        return true;
    }
    const Lunar full = lunar_of(s);
    DateInt back = 0;
    QEL_CHECK(status == 1 && serial_of(full, &back) && back == s);
    QEL_CHECK_ALL(check_valid(full));
    QEL_CHECK(p.year == ((nulls & 1) ? kNone : full.year) && p.month == ((nulls & 2) ? kNone : full.month) &&
              p.day == ((nulls & 4) ? kNone : full.day) && p.leap == ((nulls & 8) ? kNone : full.leap));
    QEL_CHECK(record.year == full.year && record.month == full.month && record.day == full.day && record.leap == full.leap);
    return true;
}

// GDateToPDateByTDate (and tpdate::fromGDate) of any serial: before the
// table's base the day count runs on in month 12 of 1899, saturated; after it
// in a month 13 of 2100; inside, a valid date that converts back.
inline bool check_serial_to_lunar(DateInt s) {
    const Lunar p = lunar_of(s);
    tpdate record{1, 2, 3, 4};
    record.fromGDate(s);
    QEL_CHECK(record.year == p.year && record.month == p.month && record.day == p.day && record.leap == p.leap);
    QEL_CHECK(GDateToPDateByTDate(s, nullptr, nullptr, nullptr, nullptr) == 1);
    if (s < kBase) {
        const int64_t day = s < INT32_MIN ? INT32_MIN : 31 + (s - kBase);
        QEL_CHECK(p == (Lunar{1899, 12, static_cast<int32_t>(day < INT32_MIN ? INT32_MIN : day), 0}));
    } else if (s > kLastDay) {
        QEL_CHECK(p.year == 2100 && p.month == 13 && p.leap == 0 && p.day == (s - kLastDay > INT32_MAX ? INT32_MAX : s - kLastDay));
    } else {
        DateInt back = 0;
        QEL_CHECK(serial_of(p, &back) && back == s);
        QEL_CHECK_ALL(check_valid(p));
    }
    return true;
}

// Lunar to Gregorian for any two dates: DaysBetweenPDate is the difference of
// their serials (0 when either fails), tpdate::asGDate the date at 00:00 (null
// when it fails); lunar 1899 has only its month 12 of 30 days; a leap flag on
// any month but the year's leap month fails with -1.
inline bool check_lunar_to_gregorian(const Lunar& p, const Lunar& q) {
    QEL_CHECK_ALL(check_valid(p));
    DateInt sp = 0, sq = 0;
    const bool cp = serial_of(p, &sp), cq = serial_of(q, &sq);
    QEL_CHECK(!PDateIsValid(p.year, p.month, p.day, p.leap) || cp);
    QEL_CHECK(DaysBetweenPDate(p.year, p.month, p.day, p.leap, q.year, q.month, q.day, q.leap) ==
              (cp && cq ? static_cast<int32_t>(sq - sp) : 0));
    const TDateTime g = tpdate{p.year, p.month, p.day, p.leap}.asGDate();
    if (!cp) {
        QEL_CHECK(g.isNull());
    } else {
        const greg::CivilDate c = greg::decode(sp);
        QEL_CHECK(g.value == word::pack(c.year, c.month, c.day, 0, 0, 0));
    }
    int32_t y = kNone, m = kNone, d = kNone;
    const int32_t status = PDateToGDate(p.year, p.month, p.day, p.leap, &y, &m, &d);
    if (p.year == 1899) QEL_CHECK(status == ((p.month == 12 && p.day >= 1 && p.day <= 30 && p.leap == 0) ? 1 : 0));
    if (p.year >= 1900 && p.year <= 2100 && p.month >= 1 && p.month <= 12 && p.leap != 0)
        QEL_CHECK((status == -1) == (p.month != GetLeapMonthInPYear(p.year)));
    return true;
}

// The leap month (none after month 1 or 12) and the month lengths; day
// `days` of a month exists and day `days + 1` does not. Outside the table
// twelve small months and no leap month.
inline bool check_lookups(int32_t y, int32_t m, int32_t leap) {
    const int32_t lm = GetLeapMonthInPYear(y), days = getPMonthDays(y, m, leap);
    const bool table = y >= 1900 && y <= 2100;
    QEL_CHECK(lm >= 0 && lm <= 12 && (table ? lm != 1 && lm != 12 : lm == 0));
    if (leap != 0) {
        QEL_CHECK(lm == 0 ? days == 0 : days == 29 || days == 30);
        if (lm != 0 && table) QEL_CHECK(PDateIsValid(y, lm, days, 1) && !PDateIsValid(y, lm, days + 1, 1));
    } else if (m < 1 || m > 12) {
        QEL_CHECK(days == 0);
    } else {
        QEL_CHECK(table ? days == 29 || days == 30 : days == 29);
        if (table) QEL_CHECK(PDateIsValid(y, m, days, 0) && !PDateIsValid(y, m, days + 1, 0));
    }
    return true;
}

// incPMonth (and tpdate::incMonth) by n and back by -n: always a result,
// checked or clamped, the same month again when the walk stays in the table,
// n months of 29 or 30 days between their first days.
inline bool check_month_walk(const Lunar& start, int32_t n, int32_t clamp) {
    Lunar p = start;
    const int32_t r = incPMonth(&p.year, &p.month, &p.day, &p.leap, n, clamp);
    const bool valid = PDateIsValid(p.year, p.month, p.day, p.leap) == 1;
    QEL_CHECK((r == 0 || r == 1) && (clamp ? r == 1 : (r == 1) == valid) && (clamp || p.day == start.day));
    tpdate record{start.year, start.month, start.day, start.leap};
    QEL_CHECK(record.incMonth(n, clamp) == (r == 1));
    QEL_CHECK(record.year == p.year && record.month == p.month && record.day == p.day && record.leap == p.leap);
    Lunar untouched = start;
    QEL_CHECK(incPMonth(nullptr, &untouched.month, &untouched.day, &untouched.leap, n, clamp) == 0 && untouched == start);
    if (!PDateIsValid(start.year, start.month, 1, start.leap) || start.year < 1900 || p.year < 1900 || p.year > 2100 ||
        n == INT32_MIN)
        return true;
    Lunar back = p;
    back.day = start.day;
    incPMonth(&back.year, &back.month, &back.day, &back.leap, -n, 0);
    QEL_CHECK(back == (Lunar{start.year, start.month, start.day, n == 0 ? start.leap : start.leap != 0}));
    DateInt from = 0, to = 0;
    QEL_CHECK(serial_of({start.year, start.month, 1, start.leap}, &from) && serial_of({p.year, p.month, 1, p.leap}, &to));
    const int64_t days = to - from, lo = n < 0 ? int64_t{n} * 30 : int64_t{n} * 29;
    QEL_CHECK(days >= lo && days <= lo + (n < 0 ? -int64_t{n} : int64_t{n}));
    return true;
}

// findPDateInDay (by_month) or findPDateInMonthDay, with the null pointers of
// `nulls` (bits 0-2), against the literal walks over the candidates (an
// ordinary month that has the day): the rest of the year and the next, month
// by month (a month below 1 starts at 1, one above 12 at the next year);
// 60 years, year by year.
inline bool check_lunar_searches(int32_t y0, int32_t m0, int32_t d0, uint8_t nulls, bool by_month) {
    int32_t y = y0, m = m0, d = d0;
    int32_t *py = check::unless(nulls, 0, &y), *pm = check::unless(nulls, 1, &m), *pd = check::unless(nulls, 2, &d);
    const int32_t found = by_month ? findPDateInDay(py, pm, pd) : findPDateInMonthDay(py, pm, pd);
    if (!py || !pm || !pd || !found) QEL_CHECK(found == 0 && y == y0 && m == m0 && d == d0);
    if (!py || !pm || !pd) return true;
    QEL_CHECK(!found || (d == d0 && PDateIsValid(y, m, d, 0) == 1));
    int64_t want_year = -1, want_month = -1;
    if (by_month) {
        int64_t year = y0, month = m0 < 1 ? 1 : m0;
        if (month > 12) ++year, month = 1;
        for (; year - y0 < 2 && want_year < 0; ++year, month = 1)
            for (; month <= 12 && want_year < 0; ++month)
                if (year <= INT32_MAX && PDateIsValid(int32_t(year), int32_t(month), d0, 0)) want_year = year, want_month = month;
    } else {
        for (int64_t k = 0; k < 60 && want_year < 0 && int64_t{y0} + k <= INT32_MAX; ++k)
            if (PDateIsValid(int32_t(y0 + k), m0, d0, 0)) want_year = y0 + k, want_month = m0;
    }
    QEL_CHECK((want_year >= 0) == (found == 1) && (!found || (y == want_year && m == want_month)));
    return true;
}

// A solar term's day: 0 outside 1900-2100 and terms 0-23; else a date at
// 00:00, term k in month k / 2 + 1, the odd ones (the zhongqi) on days 18-24,
// the even ones on days 3-9, each year's dates rising with k.
inline bool check_term_day(int32_t y, int32_t k) {
    const DateTimeInt w = getLunarTermDay(y, k);
    if (y < 1900 || y > 2100 || k < 0 || k > 23) {
        QEL_CHECK(w == 0);
        return true;
    }
    const int32_t day = word::kDay.get(w);
    QEL_CHECK((w & ~word::kDateBits) == 0 && word::kYear.get(w) == y && word::kMonth.get(w) == k / 2 + 1);
    QEL_CHECK(k % 2 ? day >= 18 && day <= 24 : day >= 3 && day <= 9);
    if (k > 0) QEL_CHECK(getLunarTermDay(y, k - 1) < w);
    return true;
}

// The GBK names of a lunar date: empty for no date (or a null one), null for
// a null text; else the month (润 before a leap month) and day names, the
// year's animal and its stem and branch (lunar 4 CE began a 甲子 cycle).
inline bool check_gbk_names(const tpdate& date, int32_t parts) {
    static const std::string kDigits[] = {"", "一", "二", "三", "四", "五", "六", "七", "八", "九", "十"};
    static const char* const kStems[] = {"甲", "乙", "丙", "丁", "戊", "己", "庚", "辛", "壬", "癸"};
    static const char* const kBranches[] = {"子", "丑", "寅", "卯", "辰", "巳", "午", "未", "申", "酉", "戌", "亥"};
    static const char* const kAnimals[] = {"鼠", "牛", "虎", "兔", "龙", "蛇", "马", "羊", "猴", "鸡", "狗", "猪"};
    const bool valid = PDateIsValid(date.year, date.month, date.day, date.leap) == 1;
    std::string want, day;
    if (valid && (parts & 2))
        want = (date.leap ? "润" : "") + (date.month <= 10 ? kDigits[date.month] : "十" + kDigits[date.month - 10]) + "月";
    if (valid && date.day <= 10) day = "初" + kDigits[date.day];
    else if (valid) day = date.day % 10 == 0 ? kDigits[date.day / 10] + "十" : (date.day < 20 ? "十" : "廿") + kDigits[date.day % 10];
    if (parts & 1) want += day;
    const int32_t cycle = valid ? (date.year - 4) % 60 : 0;
    TAnsiString text("stale text");
    QEL_CHECK(pdate2text(&date, &text, parts) == &text && text.c_str() == oracle::gbk(want));
    QEL_CHECK(pdate2Animal_signs(&date, &text) == &text && text.c_str() == oracle::gbk(valid ? kAnimals[cycle % 12] : ""));
    QEL_CHECK(pdate2TianGanDiZhi(&date, &text) == &text &&
              text.c_str() == oracle::gbk(valid ? std::string(kStems[cycle % 10]) + kBranches[cycle % 12] : ""));
    for (auto* f : {+[](const tpdate* p, TAnsiString* t) { return pdate2text(p, t, 3); }, &pdate2Animal_signs, &pdate2TianGanDiZhi}) {
        text = "stale text";
        QEL_CHECK(f(nullptr, &text) == &text && text.length() == 0 && f(&date, nullptr) == nullptr);
    }
    return true;
}

}  // namespace qel::checks

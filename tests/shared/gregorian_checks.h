// The checks of the Gregorian C functions, for any arguments: std::chrono is
// the oracle for every date it can hold, the weekday queries are checked
// against the month laid out day by day and the nearest-date searches against
// their literal month-by-month and year-by-year walks. gregorian_test sweeps
// them over 0001..9999 and the hostile tables.
#pragma once

#include <cstdint>
#include <iterator>

#include "gregorian/civil.h"
#include "qel_datetime.h"
#include "shared/check.h"
#include "shared/oracle.h"

namespace qel::checks {

namespace greg = qel::gregorian;

inline bool valid16(int64_t y, int64_t m, int64_t d) {
    return oracle::valid_date(static_cast<uint16_t>(y), static_cast<uint16_t>(m), static_cast<uint16_t>(d));
}

// DecodeDate's fields of a serial: 0, 0, 0 outside -693593..23242572, else
// chrono's date (to year 32767) that encodes back (to year 9999).
inline bool decoded(DateInt s, unsigned short y, unsigned short m, unsigned short d) {
    if (s <= greg::kNullDate || s > greg::kLastDecodable) {
        QEL_CHECK(y == 0 && m == 0 && d == 0);
        return true;
    }
    if (y <= 32767) {
        const auto want = oracle::date_of(s);
        QEL_CHECK(int(want.year()) == y && unsigned(want.month()) == m && unsigned(want.day()) == d);
    }
    DateInt back = 0;
    if (y <= 9999) QEL_CHECK(greg::TryEncodeDate(y, m, d, &back) == 1 && back == s);
    return true;
}

// EncodeDate and GDateIsValid of any 16-bit fields, and back.
inline bool check_encode(uint16_t y, uint16_t m, uint16_t d) {
    const DateInt s = EncodeDate(y, m, d);
    const bool valid = oracle::valid_date(y, m, d);
    QEL_CHECK(GDateIsValid(y, m, d) == (valid ? 1 : 0));
    if (!valid) {
        QEL_CHECK(s == greg::kNullDate);
        return true;
    }
    QEL_CHECK(s == oracle::serial_of(y, m, d));
    unsigned short yy = 0, mm = 0, dd = 0;
    QEL_CHECK(DecodeDate(s, &yy, &mm, &dd) == 1 && yy == y && mm == m && dd == d);
    return true;
}

// DecodeDate of any serial, with all fields and with each alone.
inline bool check_decode(DateInt s) {
    unsigned short f[3] = {0xEEEE, 0xEEEE, 0xEEEE}, only[3] = {0xEEEE, 0xEEEE, 0xEEEE};
    QEL_CHECK(DecodeDate(s, &f[0], &f[1], &f[2]) == 1);
    QEL_CHECK_ALL(decoded(s, f[0], f[1], f[2]));
    DecodeDate(s, &only[0], nullptr, nullptr), DecodeDate(s, nullptr, &only[1], nullptr);
    DecodeDate(s, nullptr, nullptr, &only[2]);
    QEL_CHECK(only[0] == f[0] && only[1] == f[1] && only[2] == f[2]);
    return true;
}

// IncDate: the date moved within the decoder's range, else the null date.
inline bool check_inc_date(uint16_t y, uint16_t m, uint16_t d, int64_t days) {
    unsigned short ny = 0xEEEE, nm = 0xEEEE, nd = 0xEEEE;
    QEL_CHECK(IncDate(y, m, d, &ny, &nm, &nd, days) == 1);
    DateInt s = 0, sum = 0;
    if (!greg::TryEncodeDate(y, m, d, &s) || __builtin_add_overflow(s, days, &sum)) {
        QEL_CHECK(ny == 0 && nm == 0 && nd == 0);
        return true;
    }
    return decoded(sum, ny, nm, nd);
}

// daysOfMonthG and DayOfGYear of any year: chrono's proleptic calendar has
// the same leap rule on signed years, and the year's residue modulo 400
// answers for those outside its range. The day is not validated; the day of
// the year saturates at the ends of int32.
inline bool check_month_tables(int32_t y, int32_t m, int32_t d) {
    const int32_t len = daysOfMonthG(y, m), doy = DayOfGYear(y, m, d);
    if (m < 1 || m > 12) {
        QEL_CHECK(len == 0 && doy == 0);
        return true;
    }
    using namespace std::chrono;
    const int32_t y400 = static_cast<int32_t>(((int64_t{y} % 400) + 400) % 400);
    const year_month ym = year{y400} / month{static_cast<unsigned>(m)};
    QEL_CHECK(len == static_cast<int32_t>(unsigned((ym / last).day())));
    const int64_t want = (sys_days{ym / 1} - sys_days{year{y400} / January / 1}).count() + d;
    QEL_CHECK(doy == (want > INT32_MAX ? INT32_MAX : want < INT32_MIN ? INT32_MIN : want));
    return true;
}

// DayOfWeek of any serial: the truncating remainder of the day ordinal
// (serial + 693594) by 7, 0 read as 7; chrono's ISO weekday where it reaches.
inline bool check_day_of_week(DateInt s) {
    int64_t ordinal = 0;
    const auto r = static_cast<int32_t>(__builtin_add_overflow(s, greg::kEpochOffset, &ordinal)
                                            ? (s % 7 + greg::kEpochOffset % 7) % 7
                                            : ordinal % 7);
    QEL_CHECK(DayOfWeek(s) == (r == 0 ? 7 : r));
    if (s > greg::kNullDate && s <= greg::kLastSerial) QEL_CHECK(DayOfWeek(s) == oracle::weekday_of(s));
    return true;
}

// The weekday queries of a month against the month laid out day by day: the
// row of day n is (n - 1 + weekday of the 1st - 1) / 7, weeks running Monday
// to Sunday; rows and weekdays past their ends find nothing in the month.
// Every row and weekday of `kArgs` with every other.
inline constexpr uint8_t kRowsAndWeekdays[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 254, 255};
template <size_t N = std::size(kRowsAndWeekdays)>
bool check_weekday_queries(uint16_t y, uint16_t m, const uint8_t (&kArgs)[N] = kRowsAndWeekdays) {
    const int32_t rows = weeksInMonth(y, m);
    if (!oracle::valid_date(y, m, 1)) {
        QEL_CHECK(rows == 0);
        for (uint8_t row : kArgs)
            for (uint8_t wd : kArgs)
                QEL_CHECK(getDateByWeeksday(y, m, row, wd) == 0 && getDateByWeekdays(y, m, row, wd) == 0 &&
                          lastweekDayDate(y, m, wd) == 0);
        return true;
    }
    using namespace std::chrono;
    const int64_t serial0 = oracle::serial_of(y, m, 1) - 1;  // day 0 of the month
    const int32_t first_wd = oracle::weekday_of(serial0 + 1);
    const auto len = static_cast<int32_t>(unsigned((year{y} / month{m} / last).day()));
    const int32_t last_row = (len - 1 + first_wd - 1) / 7;
    QEL_CHECK(rows == last_row + 1 && rows >= 4 && rows <= 6);
    DateInt cell[6][8] = {}, nth[6][8] = {};  // [row][weekday], [occurrence][weekday]
    int32_t seen[8] = {};
    for (int32_t n = 1; n <= len; ++n) {
        const int32_t wd = (n - 1 + first_wd - 1) % 7 + 1, row = (n - 1 + first_wd - 1) / 7;
        cell[row][wd] = nth[seen[wd]++][wd] = serial0 + n;
    }
    for (uint8_t wd : kArgs) {
        const bool weekday = wd >= 1 && wd <= 7;
        const DateInt in_last = lastweekDayDate(y, m, wd);
        QEL_CHECK(weekday ? in_last == cell[last_row][wd] : in_last == 0 || (in_last > serial0 && in_last <= serial0 + len));
        for (uint8_t row : kArgs) {
            const DateInt by_row = getDateByWeeksday(y, m, row, wd), by_count = getDateByWeekdays(y, m, row, wd);
            if (weekday) {
                QEL_CHECK(by_row == (row < 6 ? cell[row][wd] : 0) && by_count == (row < 6 ? nth[row][wd] : 0));
            } else {  // no weekday: any answer lies in the month
                QEL_CHECK(by_row == 0 || (by_row > serial0 && by_row <= serial0 + len));
                QEL_CHECK(by_count == 0 || (by_count > serial0 && by_count <= serial0 + len));
            }
        }
    }
    return true;
}

// The literal searches: one candidate per step, judged as 16-bit values.
inline bool walk_in_day(int32_t& y, int32_t& m, int32_t d) {
    int64_t year = y, month = m;
    for (int advanced = 0;;) {
        if (valid16(year, month, d)) {
            y = static_cast<int32_t>(static_cast<uint32_t>(year));
            m = static_cast<int32_t>(month);
            return true;
        }
        if (++month > 12) {
            ++year, month = 1;
            if (++advanced >= 5) return false;
        }
    }
}

// findGDateInDay (by_month) or findGDateInMonthDay, with the null pointers of
// `nulls` (bits 0-2): the date the walk finds, or nothing changed. A walk
// counting up from a month far below 1 is not run; the bounds must do there.
inline bool check_searches(int32_t y0, int32_t m0, int32_t d0, uint8_t nulls, bool by_month) {
    int32_t y = y0, m = m0, d = d0;
    int32_t *py = check::unless(nulls, 0, &y), *pm = check::unless(nulls, 1, &m), *pd = check::unless(nulls, 2, &d);
    const int32_t found = by_month ? findGDateInDay(py, pm, pd) : findGDateInMonthDay(py, pm, pd);
    if (!py || !pm || !pd || found == 0) {
        QEL_CHECK(found == 0 && y == y0 && m == m0 && d == d0);
        if (!py || !pm || !pd) return true;
    } else {
        QEL_CHECK(found == 1 && d == d0 && valid16(y, m, d));
    }
    const int64_t years_on = static_cast<uint32_t>(y) - static_cast<uint32_t>(y0);  // 32-bit wrap
    if (by_month) {
        QEL_CHECK(found == 0 || (years_on <= 4 && (years_on > 0 || m >= m0)));
        if (m0 < -1000) return true;
        int32_t wy = y0, wm = m0;
        const bool walked = walk_in_day(wy, wm, d0);
        QEL_CHECK(walked == (found == 1) && (!walked || (wy == y && wm == m)));
    } else {
        int64_t want = -1;
        for (int64_t k = 0; k < 60 && want < 0; ++k)
            if (valid16(int64_t{y0} + k, m0, d0)) want = k;
        QEL_CHECK((want >= 0) == (found == 1) && (found == 0 || (years_on == want && m == m0)));
    }
    return true;
}

}  // namespace qel::checks

// Fuzzes the Gregorian C functions: serials, validity, month lengths, day of
// year and week, the weekday-of-month queries and the nearest-date searches.
// std::chrono is the oracle for every date it can hold; the searches are
// checked against their literal month-by-month and year-by-year walks.
#include "fuzz_support.h"

using namespace qel::fuzz;
using namespace std::chrono;
namespace greg = qel::gregorian;

namespace {

bool valid16(int64_t y, int64_t m, int64_t d) {
    return valid_date(static_cast<uint16_t>(y), static_cast<uint16_t>(m), static_cast<uint16_t>(d));
}

void check_encode(Args& a) {
    const uint16_t y = a.year16(), m = a.month16(), d = a.day16();
    const DateInt s = EncodeDate(y, m, d);
    const bool valid = valid_date(y, m, d);
    QEL_FUZZ_CHECK(GDateIsValid(y, m, d) == (valid ? 1 : 0));
    if (!valid) {
        QEL_FUZZ_CHECK(s == greg::kNullDate);
        return;
    }
    QEL_FUZZ_CHECK(s == chrono_serial(y, m, d));
    unsigned short yy = 0, mm = 0, dd = 0;
    QEL_FUZZ_CHECK(DecodeDate(s, &yy, &mm, &dd) == 1);
    QEL_FUZZ_CHECK(yy == y && mm == m && dd == d);
}

// DecodeDate writes 0, 0, 0 outside -693593..23242572 and the date otherwise;
// within 0001..9999 it round-trips through TryEncodeDate. Null pointers skip.
void expect_decoded(DateInt s, unsigned short y, unsigned short m, unsigned short d) {
    if (s <= greg::kNullDate || s > greg::kLastDecodable) {
        QEL_FUZZ_CHECK(y == 0 && m == 0 && d == 0);
        return;
    }
    if (y <= 32767) {
        const year_month_day want = chrono_date(s);
        QEL_FUZZ_CHECK(int(want.year()) == y && unsigned(want.month()) == m &&
                       unsigned(want.day()) == d);
    }
    DateInt back = 0;
    if (y <= 9999) QEL_FUZZ_CHECK(greg::TryEncodeDate(y, m, d, &back) == 1 && back == s);
}

void check_decode(Args& a) {
    const DateInt s = a.serial();
    unsigned short y = 0xEEEE, m = 0xEEEE, d = 0xEEEE;
    QEL_FUZZ_CHECK(DecodeDate(s, &y, &m, &d) == 1);
    expect_decoded(s, y, m, d);
    unsigned short only = 0xEEEE;  // each field alone, the others skipped
    switch (a.op() % 3) {
        case 0: DecodeDate(s, &only, nullptr, nullptr); QEL_FUZZ_CHECK(only == y); break;
        case 1: DecodeDate(s, nullptr, &only, nullptr); QEL_FUZZ_CHECK(only == m); break;
        default: DecodeDate(s, nullptr, nullptr, &only); QEL_FUZZ_CHECK(only == d); break;
    }
}

void check_inc_date(Args& a) {
    const uint16_t y = a.year16(), m = a.month16(), d = a.day16();
    const int64_t days = a.flag() ? a.count() : a.serial();
    unsigned short ny = 0xEEEE, nm = 0xEEEE, nd = 0xEEEE;
    QEL_FUZZ_CHECK(IncDate(y, m, d, &ny, &nm, &nd, days) == 1);
    DateInt s = 0, sum = 0;
    if (!greg::TryEncodeDate(y, m, d, &s) || __builtin_add_overflow(s, days, &sum)) {
        QEL_FUZZ_CHECK(ny == 0 && nm == 0 && nd == 0);
        return;
    }
    expect_decoded(sum, ny, nm, nd);
}

void check_month_tables(Args& a) {
    const int32_t y = a.year(), m = a.month(), d = a.day();
    const int32_t len = daysOfMonthG(y, m);
    const int32_t doy = DayOfGYear(y, m, d);
    if (m < 1 || m > 12) {
        QEL_FUZZ_CHECK(len == 0 && doy == 0);
        return;
    }
    // chrono's proleptic calendar has the same leap rule on signed years;
    // outside its range the year's residue modulo 400 gives the same answer.
    const int32_t y400 = static_cast<int32_t>(((int64_t{y} % 400) + 400) % 400);
    const year_month ym = year{y400} / month{static_cast<unsigned>(m)};
    QEL_FUZZ_CHECK(len == static_cast<int32_t>(unsigned((ym / last).day())));
    const int64_t first = (sys_days{ym / 1} - sys_days{year{y400} / January / 1}).count() + 1;
    const int64_t want = first + d - 1;
    QEL_FUZZ_CHECK(doy == (want > kI32Max ? kI32Max : want < kI32Min ? kI32Min : want));
}

void check_day_of_week(Args& a) {
    const DateInt s = a.serial();
    const int32_t wd = DayOfWeek(s);
    // The documented rule, formed exactly in 128 bits: the truncating
    // remainder of the day ordinal, 0 read as 7.
    const auto r = static_cast<int32_t>((static_cast<__int128>(s) + greg::kEpochOffset) % 7);
    QEL_FUZZ_CHECK(wd == (r == 0 ? 7 : r));
    if (s > greg::kNullDate && s <= greg::kLastSerial)
        QEL_FUZZ_CHECK(static_cast<unsigned>(wd) == weekday{kEpoch + days{s}}.iso_encoding());
}

// The weekday queries against the month laid out day by day: the row of day
// n is (n - 1 + weekday of the 1st - 1) / 7, weeks running Monday to Sunday.
void check_weekday_queries(Args& a) {
    const uint16_t y = a.year16(), m = a.month16();
    const uint8_t row = a.small(), wd = a.small();
    const int32_t rows = weeksInMonth(y, m);
    const DateInt by_row = getDateByWeeksday(y, m, row, wd);
    const DateInt by_count = getDateByWeekdays(y, m, row, wd);
    const DateInt in_last = lastweekDayDate(y, m, wd);
    if (!valid_date(y, m, 1)) {
        QEL_FUZZ_CHECK(rows == 0 && by_row == 0 && by_count == 0 && in_last == 0);
        return;
    }
    const sys_days first{year{y} / month{m} / 1};
    const auto first_wd = static_cast<int32_t>(weekday{first}.iso_encoding());
    const auto len = static_cast<int32_t>(unsigned((year{y} / month{m} / last).day()));
    const int32_t last_row = (len - 1 + first_wd - 1) / 7;
    QEL_FUZZ_CHECK(rows == last_row + 1 && rows >= 4 && rows <= 6);
    const int64_t serial0 = (first - kEpoch).count() - 1;  // serial of day 0 of the month
    if (wd < 1 || wd > 7) {  // no weekday: any answer lies in the month
        for (const DateInt r : {by_row, by_count, in_last})
            QEL_FUZZ_CHECK(r == 0 || (r > serial0 && r <= serial0 + len));
        return;
    }
    DateInt want_row = 0, want_count = 0, want_last = 0;
    int32_t seen = 0;
    for (int32_t n = 1; n <= len; ++n) {
        if ((n - 1 + first_wd - 1) % 7 + 1 != wd) continue;
        const int32_t r = (n - 1 + first_wd - 1) / 7;
        if (r == row) want_row = serial0 + n;
        if (seen++ == row) want_count = serial0 + n;
        if (r == last_row) want_last = serial0 + n;
    }
    QEL_FUZZ_CHECK(by_row == want_row && by_count == want_count && in_last == want_last);
}

// The literal searches, run when their walk is short.
bool walk_in_day(int32_t& y, int32_t& m, int32_t d) {
    int64_t year = y, month = m;
    for (int advanced = 0;;) {
        if (valid16(year, month, d)) {
            y = static_cast<int32_t>(static_cast<uint32_t>(year));
            m = static_cast<int32_t>(month);
            return true;
        }
        if (++month > 12) {
            ++year;
            month = 1;
            if (++advanced >= 5) return false;
        }
    }
}

void check_searches(Args& a) {
    const int32_t y0 = a.year(), m0 = a.month(), d0 = a.day();
    int32_t y = y0, m = m0, d = d0;
    const uint8_t nulls = a.op();
    int32_t* py = (nulls & 1) ? nullptr : &y;
    int32_t* pm = (nulls & 2) ? nullptr : &m;
    int32_t* pd = (nulls & 4) ? nullptr : &d;
    const bool by_month = a.flag();
    const int32_t found = by_month ? findGDateInDay(py, pm, pd) : findGDateInMonthDay(py, pm, pd);
    if (!py || !pm || !pd || found == 0) {
        QEL_FUZZ_CHECK(found == 0 && y == y0 && m == m0 && d == d0);
        if (!py || !pm || !pd) return;
    } else {
        QEL_FUZZ_CHECK(found == 1 && d == d0 && valid16(y, m, d));
    }
    const int64_t years_on = static_cast<uint32_t>(y) - static_cast<uint32_t>(y0);  // 32-bit wrap
    if (by_month) {
        QEL_FUZZ_CHECK(found == 0 || (years_on <= 4 && (years_on > 0 || m >= m0)));
        if (m0 < -1000) return;  // a long walk: the bounds above must do
        int32_t wy = y0, wm = m0;
        const bool walked = walk_in_day(wy, wm, d0);
        QEL_FUZZ_CHECK(walked == (found == 1) && (!walked || (wy == y && wm == m)));
    } else {
        int64_t want = -1;
        for (int64_t k = 0; k < 60 && want < 0; ++k)
            if (valid16(int64_t{y0} + k, m0, d0)) want = k;
        QEL_FUZZ_CHECK((want >= 0) == (found == 1));
        QEL_FUZZ_CHECK(found == 0 || (years_on == want && m == m0));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return run_operations(data, size,
                          {check_encode, check_decode, check_inc_date, check_month_tables, check_day_of_week,
                           check_weekday_queries, check_searches});
}

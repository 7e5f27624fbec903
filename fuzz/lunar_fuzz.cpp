// Fuzzes the lunar C functions, the tpdate members and the solar terms. The
// conversions are checked against each other: the valid lunar dates are
// exactly the images of Gregorian 1900-01-01 .. 2101-01-28, every conversion
// round-trips, a failed one writes nothing, and a month walk of +n then -n
// comes back. The searches are checked against their literal walks.
#include "fuzz_support.h"
#include "lunar/year_index.h"

using namespace qel::fuzz;
using namespace qel::datetime;
namespace greg = qel::gregorian;

namespace {

constexpr int32_t kUnset = -77777;  // an out-value that no call writes
constexpr DateInt kBase = 32;          // 1900-01-31, lunar 1900-01-01
constexpr DateInt kFirstDay = 2;       // 1900-01-01, lunar 1899-12-01
constexpr DateInt kLastDay = 73443;    // 2101-01-28, lunar 2100-12-29

struct Lunar {
    int32_t year = kUnset, month = kUnset, day = kUnset, leap = kUnset;
    bool operator==(const Lunar& o) const {
        return year == o.year && month == o.month && day == o.day && leap == o.leap;
    }
    bool unset() const { return *this == Lunar{}; }
};

Lunar lunar_of(DateInt serial) {
    Lunar p;
    QEL_FUZZ_CHECK(GDateToPDateByTDate(serial, &p.year, &p.month, &p.day, &p.leap) == 1);
    return p;
}

// The serial of a lunar date through PDateToGDate, or false.
bool serial_of(const Lunar& p, DateInt* serial) {
    int32_t y = kUnset, m = kUnset, d = kUnset;
    const int32_t status = PDateToGDate(p.year, p.month, p.day, p.leap, &y, &m, &d);
    if (status != 1) {
        QEL_FUZZ_CHECK(y == kUnset && m == kUnset && d == kUnset);
        return false;
    }
    QEL_FUZZ_CHECK(greg::TryEncodeDate(static_cast<uint16_t>(y), static_cast<uint16_t>(m),
                                       static_cast<uint16_t>(d), serial) == 1);
    return true;
}

// Valid exactly when the date converts to a day of the table's range that
// converts back to it.
bool expect_valid(const Lunar& p) {
    DateInt s = 0;
    const bool valid = serial_of(p, &s) && s >= kFirstDay && s <= kLastDay &&
                       lunar_of(s) == Lunar{p.year, p.month, p.day, p.leap != 0};
    QEL_FUZZ_CHECK(PDateIsValid(p.year, p.month, p.day, p.leap) == (valid ? 1 : 0));
    return valid;
}

Lunar some_lunar(Args& a) {
    if (a.flag()) {  // a real date, near a year end or a leap month
        const DateInt s = kFirstDay + static_cast<DateInt>(a.raw<uint32_t>() % (kLastDay - kFirstDay + 1));
        return lunar_of(s);
    }
    return {a.year(), a.month(), a.day(), a.pick<int32_t>({0, 1, 2, -1, kI32Min})};
}

void check_gregorian_to_lunar(Args& a) {
    const int32_t y = a.year(), m = a.month(), d = a.day();
    Lunar p;
    const uint8_t nulls = a.op();
    const int32_t status = GDateToPDate(y, m, d, (nulls & 1) ? nullptr : &p.year, (nulls & 2) ? nullptr : &p.month,
                                        (nulls & 4) ? nullptr : &p.day, (nulls & 8) ? nullptr : &p.leap);
    DateInt s = 0;
    if (y < 1900 || y > 2100) {
        QEL_FUZZ_CHECK(status == -2 && p.unset());
        return;
    }
    if (!greg::TryEncodeDate(static_cast<uint16_t>(y), static_cast<uint16_t>(m), static_cast<uint16_t>(d), &s)) {
        QEL_FUZZ_CHECK(status == -1 && p.unset());
        return;
    }
    const Lunar full = lunar_of(s);
    QEL_FUZZ_CHECK(status == 1 && expect_valid(full));
    QEL_FUZZ_CHECK(p.year == ((nulls & 1) ? kUnset : full.year) && p.month == ((nulls & 2) ? kUnset : full.month) &&
                   p.day == ((nulls & 4) ? kUnset : full.day) && p.leap == ((nulls & 8) ? kUnset : full.leap));
    DateInt back = 0;
    QEL_FUZZ_CHECK(serial_of(full, &back) && back == s);
    tpdate record{1, 2, 3, 4};
    record.fromGDate(y, m, d);
    QEL_FUZZ_CHECK(record.year == full.year && record.month == full.month && record.day == full.day &&
                   record.leap == full.leap);
}

void check_serial_to_lunar(Args& a) {
    const DateInt s = a.serial();
    const Lunar p = lunar_of(s);
    tpdate record{1, 2, 3, 4};
    record.fromGDate(s);
    QEL_FUZZ_CHECK(record.year == p.year && record.month == p.month && record.day == p.day && record.leap == p.leap);
    if (s < kBase) {  // lunar 1899 month 12, day 31 + days before the base, saturated
        const int64_t day = s < kI32Min ? kI32Min : 31 + (s - kBase);
        QEL_FUZZ_CHECK(p == (Lunar{1899, 12, static_cast<int32_t>(day < kI32Min ? kI32Min : day), 0}));
    } else if (s > kLastDay) {
        QEL_FUZZ_CHECK(p.year == 2100 && p.month == 13 && p.leap == 0);
    } else {
        DateInt back = 0;
        QEL_FUZZ_CHECK(expect_valid(p) && serial_of(p, &back) && back == s);
    }
    QEL_FUZZ_CHECK(GDateToPDateByTDate(s, nullptr, nullptr, nullptr, nullptr) == 1);
}

void check_lunar_to_gregorian(Args& a) {
    const Lunar p = some_lunar(a), q = some_lunar(a);
    const bool valid = expect_valid(p);
    DateInt sp = 0, sq = 0;
    const bool cp = serial_of(p, &sp), cq = serial_of(q, &sq);
    QEL_FUZZ_CHECK(!valid || cp);
    const int32_t between = DaysBetweenPDate(p.year, p.month, p.day, p.leap, q.year, q.month, q.day, q.leap);
    QEL_FUZZ_CHECK(between == (cp && cq ? static_cast<int32_t>(sq - sp) : 0));
    const tpdate record{p.year, p.month, p.day, p.leap};
    const TDateTime g = record.asGDate();
    if (!cp) {
        QEL_FUZZ_CHECK(g.isNull());
    } else {
        const greg::CivilDate c = greg::decode(sp);
        QEL_FUZZ_CHECK(g.value == pack(c.year, c.month, c.day, 0, 0, 0));
    }
    // The one lunar month of 1899, and the leap flag on a month that is not
    // the year's leap month.
    int32_t y = kUnset, m = kUnset, d = kUnset;
    const int32_t status = PDateToGDate(p.year, p.month, p.day, p.leap, &y, &m, &d);
    if (p.year == 1899)
        QEL_FUZZ_CHECK(status == ((p.month == 12 && p.day >= 1 && p.day <= 30 && p.leap == 0) ? 1 : 0));
    if (p.year >= 1900 && p.year <= 2100 && p.month >= 1 && p.month <= 12 && p.leap != 0)
        QEL_FUZZ_CHECK((status == -1) == (p.month != GetLeapMonthInPYear(p.year)));
}

void check_lookups(Args& a) {
    const int32_t y = a.year(), m = a.month(), leap = a.pick<int32_t>({0, 1, -1});
    const int32_t lm = GetLeapMonthInPYear(y);
    const int32_t days = getPMonthDays(y, m, leap);
    QEL_FUZZ_CHECK(lm >= 0 && lm <= 12 && (y >= 1900 && y <= 2100 ? lm != 1 && lm != 12 : lm == 0));
    if (leap != 0) {
        QEL_FUZZ_CHECK(lm == 0 ? days == 0 : days == 29 || days == 30);
    } else if (m < 1 || m > 12) {
        QEL_FUZZ_CHECK(days == 0);
    } else {
        QEL_FUZZ_CHECK(days == 29 || days == 30);
        if (y < 1900 || y > 2100) QEL_FUZZ_CHECK(days == 29);
        // Day `days` of the month exists and day `days + 1` does not.
        if (y >= 1900 && y <= 2100) QEL_FUZZ_CHECK(PDateIsValid(y, m, days, 0) && !PDateIsValid(y, m, days + 1, 0));
    }
}

// incPMonth by n and back by -n: the same month when the walk stays in the
// table, and always a written result, checked or clamped.
void check_month_walk(Args& a) {
    const Lunar start = some_lunar(a);
    const int32_t n = a.flag() ? a.pick<int32_t>({1, -1, 12, -12, 13, -13, 100, -100, 2412, -2412})
                               : a.count();
    const int32_t clamp = a.flag() ? 0 : 1;
    Lunar p = start;
    const int32_t r = incPMonth(&p.year, &p.month, &p.day, &p.leap, n, clamp);
    QEL_FUZZ_CHECK(r == 0 || r == 1);
    const bool valid = PDateIsValid(p.year, p.month, p.day, p.leap) == 1;
    QEL_FUZZ_CHECK(clamp ? r == 1 : (r == 1) == valid);
    QEL_FUZZ_CHECK(clamp || p.day == start.day);
    tpdate record{start.year, start.month, start.day, start.leap};
    QEL_FUZZ_CHECK(record.incMonth(n, clamp) == (r == 1));
    QEL_FUZZ_CHECK(record.year == p.year && record.month == p.month && record.day == p.day && record.leap == p.leap);
    Lunar untouched = start;
    QEL_FUZZ_CHECK(incPMonth(nullptr, &untouched.month, &untouched.day, &untouched.leap, n, clamp) == 0 &&
                   untouched == start);
    if (!PDateIsValid(start.year, start.month, 1, start.leap) || start.year < 1900 || p.year < 1900 ||
        p.year > 2100 || n == kI32Min)
        return;
    Lunar back = p;
    back.day = start.day;
    incPMonth(&back.year, &back.month, &back.day, &back.leap, -n, 0);
    QEL_FUZZ_CHECK(back == (Lunar{start.year, start.month, start.day, n == 0 ? start.leap : start.leap != 0}));
    // n months apart: n months of 29 or 30 days between their first days,
    // and n places apart in the table's count of months.
    DateInt from = 0, to = 0;
    QEL_FUZZ_CHECK(serial_of({start.year, start.month, 1, start.leap}, &from) &&
                   serial_of({p.year, p.month, 1, p.leap}, &to));
    const int64_t days = to - from, lo = n < 0 ? int64_t{n} * 30 : int64_t{n} * 29;
    QEL_FUZZ_CHECK(days >= lo && days <= lo + (n < 0 ? -int64_t{n} : int64_t{n}));
    using namespace qel::lunar;
    auto index = [](const Lunar& q) {
        return kFirstMonthIndex[static_cast<size_t>(q.year - kFirstYear)] +
               month_position(q.month, q.leap != 0, leap_month(q.year));
    };
    QEL_FUZZ_CHECK(index(p) - index(start) == n);
}

// The literal searches over the candidate test (an ordinary month that has
// the day), with the long count up from a month below 1 taken in one step.
bool find_in_day(int32_t& y, int32_t& m, int32_t d) {
    int64_t year = y, month = m < 1 ? 1 : m;
    if (month > 12) ++year, month = 1;
    for (; year - y < 2; ++year, month = 1)
        for (; month <= 12; ++month)
            if (year <= kI32Max && PDateIsValid(static_cast<int32_t>(year), static_cast<int32_t>(month), d, 0)) {
                y = static_cast<int32_t>(year);
                m = static_cast<int32_t>(month);
                return true;
            }
    return false;
}

void check_searches(Args& a) {
    const int32_t y0 = a.year(), m0 = a.month(), d0 = a.day();
    int32_t y = y0, m = m0, d = d0;
    const uint8_t nulls = a.op();
    int32_t* py = (nulls & 1) ? nullptr : &y;
    int32_t* pm = (nulls & 2) ? nullptr : &m;
    int32_t* pd = (nulls & 4) ? nullptr : &d;
    const bool by_month = a.flag();
    const int32_t found = by_month ? findPDateInDay(py, pm, pd) : findPDateInMonthDay(py, pm, pd);
    if (!py || !pm || !pd || !found) QEL_FUZZ_CHECK(found == 0 && y == y0 && m == m0 && d == d0);
    if (!py || !pm || !pd) return;
    QEL_FUZZ_CHECK(!found || (d == d0 && PDateIsValid(y, m, d, 0) == 1));
    if (by_month) {
        int32_t wy = y0, wm = m0;
        const bool walked = find_in_day(wy, wm, d0);
        QEL_FUZZ_CHECK(walked == (found == 1) && (!walked || (wy == y && wm == m)));
    } else {
        int64_t want = -1;
        for (int64_t k = 0; k < 60 && want < 0 && int64_t{y0} + k <= kI32Max; ++k)
            if (PDateIsValid(static_cast<int32_t>(y0 + k), m0, d0, 0)) want = k;
        QEL_FUZZ_CHECK((want >= 0) == (found == 1) && (!found || (y - int64_t{y0} == want && m == m0)));
    }
}

// Term k falls in month k / 2 + 1: the odd terms (the zhongqi) on days 18-24,
// the even ones on days 3-9, each year's dates rising with k.
void check_solar_terms(Args& a) {
    const int32_t y = a.year(), k = a.pick<int32_t>({0, 1, 11, 22, 23, 24, -1, 100, kI32Min, kI32Max});
    const DateTimeInt w = getLunarTermDay(y, k);
    if (y < 1900 || y > 2100 || k < 0 || k > 23) {
        QEL_FUZZ_CHECK(w == 0);
        return;
    }
    QEL_FUZZ_CHECK((w & ~kDateBits) == 0 && kYear.get(w) == y && kMonth.get(w) == k / 2 + 1);
    QEL_FUZZ_CHECK(k % 2 ? kDay.get(w) >= 18 && kDay.get(w) <= 24 : kDay.get(w) >= 3 && kDay.get(w) <= 9);
    if (k > 0) QEL_FUZZ_CHECK(getLunarTermDay(y, k - 1) < w);
}

void check_today(Args& a) {
    tpdate record{a.year(), a.month(), a.day(), 0};
    const tpdate before = record;
    record.loadcurrent();
    const bool same = record.year == before.year && record.month == before.month && record.day == before.day;
    QEL_FUZZ_CHECK(same || PDateIsValid(record.year, record.month, record.day, record.leap) == 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return run_operations(data, size,
                          {check_gregorian_to_lunar, check_serial_to_lunar, check_lunar_to_gregorian, check_lookups,
                           check_month_walk, check_searches, check_solar_terms, check_today});
}

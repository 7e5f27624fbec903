// The three lunisolar calendars as qel_calendar reads them: Chinese, Korean
// and Vietnamese, the lunar years 1645-2200. Per calendar and lunar year one
// 8-byte entry: the day serial of its new year, one bit per month for its
// length, its leap month. Every lunar question of the library (a day's lunar
// date, a date's day, a month's length, a year's leap month, a step by
// months) is a constant number of reads and a popcount.
//
// The entries are derived at compile time from the month lists: for the
// Chinese calendar the published table (LunarYearInfo, 1900-2100) between
// the computed months of 1645-1899 and 2101-2200; for the Korean and the
// Vietnamese calendars their computed months. A day's year is found by a
// guess from the mean tropical year and one step, its month by a guess from
// the mean synodic month (29.530589 days) and one step; the tests check both
// on every day of every calendar.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "gregorian/civil.h"
#include "lunar/computed_months.h"
#include "lunar/computed_months_korean.h"
#include "lunar/computed_months_vietnamese.h"
#include "lunar/lookup.h"
#include "lunar/year_index.h"
#include "qel_calendar.h"

namespace qel::calendar::lunisolar {

inline constexpr int32_t kFirstYear = QEL_FIRST_YEAR;
inline constexpr int32_t kLastYear = QEL_LAST_YEAR;
inline constexpr size_t kYears = static_cast<size_t>(kLastYear - kFirstYear) + 1;
inline constexpr size_t kCalendars = 3;  // QEL_CALENDAR_CHINESE, _KOREAN, _VIETNAMESE
inline constexpr int32_t kMaxMonths = 13;

struct Year {
    int32_t first;         // day serial of day 1 of month 1
    uint16_t first_month;  // index of its month 1 in kMonths (the three calendars one after another)
    uint8_t leap_month;    // the month its leap month follows, 0 for none
    uint8_t months;        // 12 or 13; the sentinel after the last year: 0
};
static_assert(sizeof(Year) == 8, "one 8-byte entry per year");

// A month: bits 0-3 its number (1-12), bit 4 the leap flag, bit 5 set for 30
// days, bits 6-7 its first day's distance from the mean: month i of a year
// begins kMeanOffset[i] + (bits 6-7) - 2 days after the new year (the months'
// lengths alternate closely enough to stay within -2 .. +1 of the mean).
inline constexpr uint32_t kNumberMask = 0x0F;
inline constexpr uint32_t kLeapShift = 4;
inline constexpr uint32_t kBigShift = 5;
inline constexpr uint32_t kDeviationShift = 6;
inline constexpr int32_t kDeviationBias = 2;

// Month i's mean first day, i x 29.530589 days rounded.
inline constexpr auto kMeanOffset = [] {
    std::array<int16_t, 13> mean{};
    for (int64_t i = 0; i != 13; ++i) mean[static_cast<size_t>(i)] = static_cast<int16_t>((i * 29530589 + 500000) / 1000000);
    return mean;
}();

// A month as the sources list it.
using Source = lunar::ComputedMonth;

// The Chinese months in order: computed before 1900, published 1900-2100,
// computed after; their flags say which source decided.
inline constexpr size_t kPublishedMonths = static_cast<size_t>(lunar::kFirstMonthIndex[lunar::kTableYears]);
inline constexpr size_t kChineseMonths =
    std::size(lunar::kComputedMonthsEarly) + kPublishedMonths + std::size(lunar::kComputedMonthsLate);

constexpr uint8_t published_flags(int32_t first_day) noexcept {
    for (const Source& m : lunar::kPublishedMonthsFlagged)
        if (m.first_day == first_day) return m.flags;
    return 0;
}

inline constexpr auto kChineseSource = [] {
    std::array<Source, kChineseMonths> months{};
    size_t k = 0;
    for (const Source& m : lunar::kComputedMonthsEarly) months[k++] = m;
    for (size_t i = 0; i != lunar::kTableYears; ++i) {
        const int32_t year = lunar::kFirstYear + static_cast<int32_t>(i);
        const int32_t leap = lunar::leap_month(year);
        int64_t first = lunar::kNewYearSerial[i];
        for (int32_t m = 1; m <= 12; ++m) {
            for (int32_t is_leap = 0; is_leap <= (m == leap ? 1 : 0); ++is_leap) {
                const auto day = static_cast<int32_t>(first);
                months[k++] = {day, static_cast<int16_t>(year), static_cast<uint8_t>(m),
                               static_cast<uint8_t>((is_leap ? lunar::kComputedLeap : 0) | published_flags(day))};
                first += lunar::month_days(year, m, is_leap);
            }
        }
    }
    for (const Source& m : lunar::kComputedMonthsLate) months[k++] = m;
    return months;
}();

static_assert(lunar::kComputedMonthsEarlyEnd == lunar::kNewYearSerial[0] &&
                  lunar::kComputedMonthsLate[0].first_day == lunar::kNewYearSerial[lunar::kTableYears],
              "the computed months meet the published table at lunar 1900-01-01 and 2101-01-01");
static_assert(lunar::kComputedMonthsKoreanEnd == lunar::kComputedMonthsLateEnd &&
                  lunar::kComputedMonthsVietnameseEnd == lunar::kComputedMonthsLateEnd &&
                  lunar::kComputedMonthsKorean[0].first_day == lunar::kComputedMonthsEarly[0].first_day &&
                  lunar::kComputedMonthsVietnamese[0].first_day == lunar::kComputedMonthsEarly[0].first_day,
              "the three calendars span the same days");

inline constexpr int64_t kFirstSerial = lunar::kComputedMonthsEarly[0].first_day;
inline constexpr int64_t kEndSerial = lunar::kComputedMonthsLateEnd;  // the day after the last

inline constexpr size_t kMonthCount = kChineseMonths + std::size(lunar::kComputedMonthsKorean) +
                                      std::size(lunar::kComputedMonthsVietnamese);

// The year and month tables of the three calendars, built together: each
// calendar's months follow the previous calendar's in kMonths.
struct Tables {
    std::array<std::array<Year, kYears + 1>, kCalendars> years{};
    std::array<uint8_t, kMonthCount> months{};
    bool deviations_fit = true;
};

template <typename List>
constexpr void add_calendar(Tables& t, size_t calendar, const List& list, size_t n, size_t& k) noexcept {
    auto& years = t.years[calendar];
    for (size_t j = 0; j < n; ++j, ++k) {
        const Source& m = list[j];
        Year& y = years[static_cast<size_t>(m.year - kFirstYear)];
        const int32_t end = j + 1 < n ? list[j + 1].first_day : static_cast<int32_t>(kEndSerial);
        if (y.months == 0) y = {m.first_day, static_cast<uint16_t>(k), 0, 0};
        const bool leap = (m.flags & lunar::kComputedLeap) != 0;
        if (leap) y.leap_month = m.month;
        const int32_t deviation = m.first_day - y.first - kMeanOffset[y.months] + kDeviationBias;
        if (deviation < 0 || deviation > 3 || y.months >= 13) t.deviations_fit = false;
        t.months[k] = static_cast<uint8_t>(uint32_t(m.month) | uint32_t(leap) << kLeapShift |
                                           uint32_t(end - m.first_day == 30) << kBigShift |
                                           uint32_t(deviation & 3) << kDeviationShift);
        ++y.months;
    }
    years[kYears] = {static_cast<int32_t>(kEndSerial), static_cast<uint16_t>(k), 0, 0};
}

inline constexpr Tables kTables = [] {
    Tables t;
    size_t k = 0;
    add_calendar(t, QEL_CALENDAR_CHINESE, kChineseSource, kChineseMonths, k);
    add_calendar(t, QEL_CALENDAR_KOREAN, lunar::kComputedMonthsKorean, std::size(lunar::kComputedMonthsKorean), k);
    add_calendar(t, QEL_CALENDAR_VIETNAMESE, lunar::kComputedMonthsVietnamese,
                 std::size(lunar::kComputedMonthsVietnamese), k);
    return t;
}();
static_assert(kMonthCount <= 0xFFFF, "month indices fit the year entries");
static_assert(kTables.deviations_fit, "every month begins within -2 .. +1 days of its mean first day");

// [calendar][year - kFirstYear], and a sentinel year whose first day ends the calendar.
inline constexpr const auto& kYearTable = kTables.years;
inline constexpr const auto& kMonths = kTables.months;

// Preconditions below: calendar < kCalendars, in_range(serial), year_in_range(y).
constexpr bool in_range(int64_t serial) noexcept { return serial >= kFirstSerial && serial < kEndSerial; }
constexpr bool year_in_range(int64_t year) noexcept { return year >= kFirstYear && year <= kLastYear; }
constexpr bool calendar_ok(int64_t calendar) noexcept { return calendar >= 0 && calendar < int64_t(kCalendars); }

constexpr const Year& year_entry(size_t calendar, int32_t y) noexcept {
    return kYearTable[calendar][static_cast<size_t>(y - kFirstYear)];
}

// A month of a year, and its parts.
constexpr uint8_t month_entry(const Year& y, int32_t i) noexcept {
    return kMonths[static_cast<size_t>(y.first_month) + static_cast<size_t>(i)];
}
// The first day of month i with entry m, in days after the new year.
constexpr int32_t offset_of(uint8_t m, int32_t i) noexcept {
    return kMeanOffset[static_cast<size_t>(i)] + (m >> kDeviationShift) - kDeviationBias;
}

// A month of a calendar: its year and index 0-12 within it (the leap month
// counted in order).
struct MonthRef {
    int32_t year;
    int32_t index;
    uint8_t month = 0;  // month_of only: the month's entry in kMonths
};

// The number (1-12) and leap flag of month index i of a year.
constexpr int32_t number(uint8_t m) noexcept { return static_cast<int32_t>(m & kNumberMask); }
constexpr int32_t leap(uint8_t m) noexcept { return m >> kLeapShift & 1; }
constexpr int32_t days(uint8_t m) noexcept { return 29 + (m >> kBigShift & 1); }
constexpr int32_t number(const Year& y, int32_t i) noexcept { return number(month_entry(y, i)); }
constexpr int32_t leap(const Year& y, int32_t i) noexcept { return leap(month_entry(y, i)); }
constexpr int32_t days(const Year& y, int32_t i) noexcept { return days(month_entry(y, i)); }
constexpr int64_t first_day(const Year& y, int32_t i) noexcept { return y.first + offset_of(month_entry(y, i), i); }

// The month of a day within the lunar year at index yi (the year holding it
// or the one before): one step back at most, then the month by the mean
// synodic month, 29.530589 days ~ 65536 / 2218, and one step either way.
constexpr MonthRef month_in(const std::array<Year, kYears + 1>& years, int64_t yi, int64_t serial) noexcept {
    if (years[static_cast<size_t>(yi)].first > serial) --yi;
    const Year& y = years[static_cast<size_t>(yi)];
    const auto d = static_cast<int32_t>(serial - y.first);
    // 2218 / 65536 keeps the guess of a year's last day (383 or 384) below 13.
    auto i = static_cast<int32_t>((static_cast<uint32_t>(d) * 2218u) >> 16);
    const uint8_t* m = &kMonths[y.first_month];
    if (offset_of(m[i], i) > d) --i;
    else if (i + 1 < y.months && offset_of(m[i + 1], i + 1) <= d) ++i;
    return {kFirstYear + static_cast<int32_t>(yi), i, m[i]};
}

// The year by the mean tropical year (365.2422 days ~ 2^32 / 11759231 days),
// corrected by one step.
inline constexpr int64_t kYearsPerDayQ32 = 11759231;

constexpr MonthRef month_of(size_t calendar, int64_t serial) noexcept {
    const auto& years = kYearTable[calendar];
    int64_t yi = ((serial - kFirstSerial) * kYearsPerDayQ32 >> 32) + 1;
    if (yi > int64_t(kYears)) yi = int64_t(kYears);
    if (years[static_cast<size_t>(yi)].first > serial) --yi;
    return month_in(years, yi, serial);
}

// The same when the Gregorian year of the day is known: the lunar year is
// that year or the one before.
constexpr MonthRef month_of(size_t calendar, int64_t serial, int32_t gregorian_year) noexcept {
    return month_in(kYearTable[calendar], gregorian_year - kFirstYear, serial);
}

constexpr int32_t leap_month(size_t calendar, int32_t y) noexcept { return year_entry(calendar, y).leap_month; }
constexpr int32_t months_in(size_t calendar, int32_t y) noexcept { return year_entry(calendar, y).months; }
constexpr int32_t year_days(size_t calendar, int32_t y) noexcept {
    return (&year_entry(calendar, y))[1].first - year_entry(calendar, y).first;
}
// The index of ordinary month m (1-12) or of the leap month (is_leap) of y;
// the month must exist.
constexpr int32_t month_index(size_t calendar, int32_t y, int32_t m, int32_t is_leap) noexcept {
    const int32_t l = leap_month(calendar, y);
    return m - 1 + ((l > 0 && (m > l || (m == l && is_leap))) ? 1 : 0);
}
// 29 or 30; 0 for a leap month the year does not have. Preconditions: 1 <= m <= 12.
constexpr int32_t month_days(size_t calendar, int32_t y, int32_t m, int32_t is_leap) noexcept {
    if (is_leap && leap_month(calendar, y) != m) return 0;
    return days(year_entry(calendar, y), month_index(calendar, y, m, is_leap));
}

// The mean 12.368267 months of a tropical year, x 10^6.
inline constexpr int64_t kMonthsPerYearE6 = 12368267;

// The month `count` months after `ref` in calendar order (its ordinal is its
// index in kMonths less the calendar's first); false when it leaves the
// calendar (any count).
constexpr bool step_months(size_t calendar, MonthRef& ref, int64_t count) noexcept {
    const auto& years = kYearTable[calendar];
    const int64_t base = years[0].first_month;
    const auto before = [&](int64_t yi) { return int64_t{years[static_cast<size_t>(yi)].first_month} - base; };
    const int64_t from = before(ref.year - kFirstYear) + ref.index;
    const int64_t total = before(int64_t(kYears));
    if (count < -from || count >= total - from) return false;
    const int64_t to = from + count;
    int64_t yi = to * 1000000 / kMonthsPerYearE6;
    if (yi >= int64_t(kYears)) yi = int64_t(kYears) - 1;
    if (before(yi) > to) --yi;
    else if (before(yi + 1) <= to) ++yi;
    ref = {kFirstYear + static_cast<int32_t>(yi), static_cast<int32_t>(to - before(yi))};
    return true;
}


// Both guesses (a day's year and month, a month ordinal's year) land within
// one step for every day and every month of the three calendars: the tests
// compare the lookup with the months read literally on every day and every
// month ordinal.

// The published years read as the year table they come from.
constexpr bool matches_year_table() noexcept {
    for (int32_t y = lunar::kFirstYear; y <= lunar::kLastYear; ++y) {
        if (year_days(QEL_CALENDAR_CHINESE, y) != lunar::year_days(y) ||
            leap_month(QEL_CALENDAR_CHINESE, y) != lunar::leap_month(y))
            return false;
        for (int32_t m = 1; m <= 12; ++m)
            if (month_days(QEL_CALENDAR_CHINESE, y, m, 0) != lunar::month_days(y, m, 0) ||
                (lunar::leap_month(y) == m && month_days(QEL_CALENDAR_CHINESE, y, m, 1) != lunar::leap_month_days(y)))
                return false;
    }
    return true;
}
static_assert(matches_year_table(), "1900-2100 are the published table's");
static_assert(first_day(year_entry(QEL_CALENDAR_CHINESE, 2017), month_index(QEL_CALENDAR_CHINESE, 2017, 6, 1)) ==
                  gregorian::serial_from_civil(2017, 7, 23),
              "闰六月 2017");
static_assert(year_entry(QEL_CALENDAR_VIETNAMESE, 1985).first == gregorian::serial_from_civil(1985, 1, 21) &&
                  year_entry(QEL_CALENDAR_CHINESE, 1985).first == gregorian::serial_from_civil(1985, 2, 20),
              "Tết 1985 a month before the Spring Festival");
static_assert(kFirstSerial == gregorian::serial_from_civil(1645, 1, 28) &&
                  kEndSerial == gregorian::serial_from_civil(2201, 2, 4),
              "lunar 1645-01-01 .. 2200-12-29");

// ---- Provenance and uncertainty of a month ------------------------------

// The Korea Astronomy and Space Science Institute's table ends on 2050-12-31:
// it gives the months that end by then (the next one starts by then).
inline constexpr int64_t kKoreanPublishedEnd = gregorian::serial_from_civil(2051, 1, 1);

struct Flagged {
    int32_t first_day;
    uint8_t calendar;
    uint8_t flags;  // the sources' flags, lunar::kComputed*
};

inline constexpr uint8_t kNotLeap = static_cast<uint8_t>(~lunar::kComputedLeap);

// The months of a list (a C array or std::array of Source) with a flag
// besides the leap flag.
template <typename List>
constexpr size_t count_flagged(const List& months) noexcept {
    size_t n = 0;
    for (const Source& m : months) n += (m.flags & kNotLeap) != 0;
    return n;
}

inline constexpr size_t kFlaggedCount = count_flagged(kChineseSource) +
                                        count_flagged(lunar::kComputedMonthsKorean) +
                                        count_flagged(lunar::kComputedMonthsVietnamese);

// Every month with a flag besides the leap flag, by calendar and first day.
inline constexpr auto kFlagged = [] {
    std::array<Flagged, kFlaggedCount> out{};
    size_t n = 0;
    auto add = [&](uint8_t calendar, const Source& m) {
        if ((m.flags & kNotLeap) != 0) out[n++] = {m.first_day, calendar, static_cast<uint8_t>(m.flags & kNotLeap)};
    };
    for (const Source& m : kChineseSource) add(QEL_CALENDAR_CHINESE, m);
    for (const Source& m : lunar::kComputedMonthsKorean) add(QEL_CALENDAR_KOREAN, m);
    for (const Source& m : lunar::kComputedMonthsVietnamese) add(QEL_CALENDAR_VIETNAMESE, m);
    return out;
}();

// The sources' flags of the month starting on `first` (0 for none), by
// binary search within the calendar's part of kFlagged.
constexpr uint8_t source_flags(size_t calendar, int64_t first) noexcept {
    size_t low = 0, high = kFlagged.size();
    while (low < high) {
        const size_t mid = low + (high - low) / 2;
        const Flagged& f = kFlagged[mid];
        if (f.calendar < calendar || (f.calendar == calendar && f.first_day < first)) low = mid + 1;
        else high = mid;
    }
    return low < kFlagged.size() && kFlagged[low].calendar == calendar && kFlagged[low].first_day == first
               ? kFlagged[low].flags
               : 0;
}

}  // namespace qel::calendar::lunisolar

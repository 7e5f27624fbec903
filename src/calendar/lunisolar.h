// The three lunisolar calendars as qel_calendar reads them: Chinese, Korean
// and Vietnamese, the lunar years 1645-2200. One byte per month: its number,
// leap flag and length, and its first day as a deviation of 0-3 days from a
// linear mean new moon of its calendar (29.530589 days a month). Per calendar
// and lunar year one 8-byte entry: the day serial of its new year, the
// ordinal of its first month, its leap month, its sexagenary year. Every lunar question of the
// library (a day's lunar date, a date's day, a month's length, a year's leap
// month, a step by months) is a constant number of reads.
//
// The tables are derived at compile time from the month lists: for the
// Chinese calendar the published table (LunarYearInfo, 1900-2100) between
// the computed months of 1645-1899 and 2101-2200; for the Korean and the
// Vietnamese calendars their computed months. A day's month is found by a
// guess from the mean synodic month and one step, a month's year from its
// ordinal and number by the mean 12.368267 months of a year; compile-time
// checks prove both for every day and every month.
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
    uint16_t first_month;  // ordinal of its month 1 among its calendar's months
    uint8_t leap_month;    // the month its leap month follows, 0 for none
    uint8_t cycle;         // its place in the sexagenary cycle, (year - 4) mod 60
};
static_assert(sizeof(Year) == 8, "one 8-byte entry per year");

// A month: bits 0-3 its number (1-12), bit 4 the leap flag, bits 5-6 its
// first day's deviation from its calendar's mean new moon, bit 7 set for 30
// days (the top bit: a length is a shift and an add).
// Month g of a calendar (its ordinal, from 0) begins on day
//   floor((g * kMonthQ26 + phase) / 2^26) + (bits 5-6) - kDeviationBias
// after kFirstSerial. True new moons stray from the mean by less than 15
// hours and the civil day adds less than one, so one phase per calendar keeps
// every deviation within four values.
inline constexpr uint32_t kNumberMask = 0x0F;
inline constexpr uint32_t kLeapShift = 4;
inline constexpr uint32_t kDeviationShift = 5;
inline constexpr uint32_t kBigShift = 7;
inline constexpr int64_t kDeviationBias = 3;
inline constexpr int64_t kOneQ32 = int64_t{1} << 32;
// The mean synodic month, 29.530589 days, in 2^-26 days: it and the phases
// fit 32-bit immediates; the error of the last month, 6877 x 2^-27 days, is
// far below a day.
inline constexpr int64_t kOneQ26 = int64_t{1} << 26;
inline constexpr uint64_t kMonthQ26 = uint64_t{29530589} * (uint64_t{1} << 26) / 1000000;
// Its reciprocal, months per day, and the mean months per tropical year
// (12.368267) as years per month, both x 2^32: the guesses.
inline constexpr uint64_t kMonthsPerDayQ32 = (uint64_t{1000000} << 32) / 29530589;
inline constexpr uint64_t kYearsPerMonthQ32 = (uint64_t{1000000} << 32) / 12368267;

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

// Each calendar's months, then a sentinel month whose first day ends it.
inline constexpr size_t kMonthCount = kChineseMonths + std::size(lunar::kComputedMonthsKorean) +
                                      std::size(lunar::kComputedMonthsVietnamese) + kCalendars;

// Where a calendar's months lie in kMonths and the phase of its mean new moon.
struct Span {
    uint32_t first;       // index of its first month in kMonths
    uint32_t count;       // its months, the sentinel not counted
    uint64_t phase;       // of its first days, in 2^-26 days
    uint64_t year_phase;  // of its years, in 2^-32 years (year_index_of)
};

// The year and month tables of the three calendars, built together: each
// calendar's months follow the previous calendar's in kMonths.
struct Tables {
    std::array<std::array<Year, kYears + 1>, kCalendars> years{};
    std::array<Span, kCalendars> spans{};
    std::array<uint8_t, kMonthCount> months{};
    bool deviations_fit = true;
};

// The phase that puts every first day of a calendar, its end included,
// within the four deviations: any value in [max r, min r + 4 x 2^26) with
// r = (first day - kFirstSerial) x 2^26 - g x kMonthQ26; the middle one.
template <typename List>
constexpr uint64_t phase_of(const List& list, size_t n) noexcept {
    int64_t low = INT64_MAX, high = INT64_MIN;
    for (size_t g = 0; g <= n; ++g) {
        const int64_t first = g < n ? int64_t{list[g].first_day} : kEndSerial;
        const int64_t r = (first - kFirstSerial) * kOneQ26 - static_cast<int64_t>(g * kMonthQ26);
        if (r < low) low = r;
        if (r > high) high = r;
    }
    return static_cast<uint64_t>((high + low + (kDeviationBias + 1) * kOneQ26) / 2);
}

constexpr int64_t mean_first(uint64_t phase, int64_t g) noexcept {
    return kFirstSerial + static_cast<int64_t>((static_cast<uint64_t>(g) * kMonthQ26 + phase) >> 26) - kDeviationBias;
}

// A month's year from its ordinal g and number n: the year's month 1 is
// month g - n + 1 or, after a leap month, g - n, and the ordinals of the
// years' first months stray from the mean by less than a month, so
//   year index = floor(((g - n + 1) x kYearsPerMonthQ32 + year phase) / 2^32)
// for a phase in [max of y x 2^32 - x K, min of (y + 1) x 2^32 - x K) over
// the months (x = g - n + 1, K = kYearsPerMonthQ32); the middle one, and
// 0 when the interval is empty (year_fits then fails). The phase stored
// includes the K of the + 1.
template <typename List>
constexpr uint64_t year_phase_of(const List& list, size_t n) noexcept {
    int64_t low = INT64_MIN, high = INT64_MAX;
    for (size_t g = 0; g != n; ++g) {
        const int64_t x = static_cast<int64_t>(g) - list[g].month + 1;
        const int64_t y = list[g].year - kFirstYear, xk = x * static_cast<int64_t>(kYearsPerMonthQ32);
        if (y * kOneQ32 - xk > low) low = y * kOneQ32 - xk;
        if ((y + 1) * kOneQ32 - xk < high) high = (y + 1) * kOneQ32 - xk;
    }
    return low < high && low >= 0 ? static_cast<uint64_t>(low + (high - low) / 2) + kYearsPerMonthQ32 : 0;
}

template <typename List>
constexpr void add_calendar(Tables& t, size_t calendar, const List& list, size_t n, size_t& k) noexcept {
    auto& years = t.years[calendar];
    const uint64_t phase = phase_of(list, n);
    t.spans[calendar] = {static_cast<uint32_t>(k), static_cast<uint32_t>(n), phase, year_phase_of(list, n)};
    const auto deviation = [&](size_t g, int64_t first) {
        const int64_t d = first - mean_first(phase, static_cast<int64_t>(g));
        if (d < 0 || d > 3) t.deviations_fit = false;
        return static_cast<uint32_t>(d & 3) << kDeviationShift;
    };
    for (size_t g = 0; g != n; ++g) {
        const Source& m = list[g];
        Year& y = years[static_cast<size_t>(m.year - kFirstYear)];
        const int32_t end = g + 1 < n ? list[g + 1].first_day : static_cast<int32_t>(kEndSerial);
        if (g == 0 || list[g - 1].year != m.year)
            y = {m.first_day, static_cast<uint16_t>(g), 0, static_cast<uint8_t>((m.year - 4) % 60)};
        const bool leap = (m.flags & lunar::kComputedLeap) != 0;
        if (leap) y.leap_month = m.month;
        if (g - y.first_month >= 13) t.deviations_fit = false;
        t.months[k++] = static_cast<uint8_t>(uint32_t(m.month) | uint32_t(leap) << kLeapShift |
                                             uint32_t(end - m.first_day == 30) << kBigShift |
                                             deviation(g, m.first_day));
    }
    t.months[k++] = static_cast<uint8_t>(deviation(n, kEndSerial));
    years[kYears] = {static_cast<int32_t>(kEndSerial), static_cast<uint16_t>(n), 0, 0};
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
static_assert(kChineseMonths <= 0xFFFF && std::size(lunar::kComputedMonthsKorean) <= 0xFFFF &&
                  std::size(lunar::kComputedMonthsVietnamese) <= 0xFFFF,
              "month ordinals fit the year entries");
static_assert(kTables.deviations_fit, "every month begins within the four deviations of its mean new moon");

// [calendar][year - kFirstYear], and a sentinel year whose first day ends the calendar.
inline constexpr const auto& kYearTable = kTables.years;
inline constexpr const auto& kMonths = kTables.months;
inline constexpr const auto& kSpans = kTables.spans;

// Preconditions below: calendar < kCalendars, in_range(serial), year_in_range(y),
// 0 <= g <= the calendar's month count (the sentinel).
constexpr bool in_range(int64_t serial) noexcept { return serial >= kFirstSerial && serial < kEndSerial; }
constexpr bool year_in_range(int64_t year) noexcept { return year >= kFirstYear && year <= kLastYear; }
constexpr bool calendar_ok(int64_t calendar) noexcept { return calendar >= 0 && calendar < int64_t(kCalendars); }

constexpr const Year& year_entry(size_t calendar, int32_t y) noexcept {
    return kYearTable[calendar][static_cast<size_t>(y - kFirstYear)];
}

// The parts of a month's entry.
constexpr int32_t number(uint8_t m) noexcept { return static_cast<int32_t>(m & kNumberMask); }
constexpr int32_t leap(uint8_t m) noexcept { return m >> kLeapShift & 1; }
constexpr int32_t days(uint8_t m) noexcept { return 29 + (m >> kBigShift); }

// Month g of a calendar: its entry and its first day.
constexpr uint8_t month_at(size_t calendar, int64_t g) noexcept {
    return kMonths[kSpans[calendar].first + static_cast<size_t>(g)];
}
constexpr int64_t first_of(size_t calendar, int64_t g, uint8_t m) noexcept {
    return mean_first(kSpans[calendar].phase, g) + (m >> kDeviationShift & 3);
}
constexpr int64_t first_of(size_t calendar, int64_t g) noexcept { return first_of(calendar, g, month_at(calendar, g)); }

// Month index i (0-12, the leap month counted in order) of a year.
constexpr int64_t ordinal(const Year& y, int32_t i) noexcept { return int64_t{y.first_month} + i; }
constexpr uint8_t month_entry(size_t calendar, const Year& y, int32_t i) noexcept {
    return month_at(calendar, ordinal(y, i));
}
constexpr int64_t first_day(size_t calendar, const Year& y, int32_t i) noexcept {
    return first_of(calendar, ordinal(y, i));
}

// The month holding a day: its ordinal, entry and first day.
struct Found {
    int64_t ordinal;
    int64_t first;
    uint8_t month;
};

// The guess by the mean synodic month is the month or the one before it
// (checked below for every day), whose first day is one month length back.
constexpr Found month_of(size_t calendar, int64_t serial) noexcept {
    int64_t g = static_cast<int64_t>(static_cast<uint64_t>(serial - kFirstSerial) * kMonthsPerDayQ32 >> 32);
    uint8_t m = month_at(calendar, g);
    int64_t first = first_of(calendar, g, m);
    if (first + days(m) <= serial) {
        first += days(m);
        m = month_at(calendar, ++g);
    }
    return {g, first, m};
}

// The lunar year (its index from kFirstYear) of month g with entry m.
constexpr int32_t year_index_of(size_t calendar, int64_t g, uint8_t m) noexcept {
    const auto x = static_cast<uint64_t>(g - number(m));  // + 1 is in the phase
    return static_cast<int32_t>((x * kYearsPerMonthQ32 + kSpans[calendar].year_phase) >> 32);
}

// The month guess is the month or the one before: it is monotonic in the
// day, so it suffices that the first day of every month guesses no earlier
// than the month before and its last day no later than the month itself.
constexpr bool month_guess_fits(size_t calendar) noexcept {
    const int64_t n = kSpans[calendar].count;
    const auto guess = [](int64_t serial) {
        return static_cast<int64_t>(static_cast<uint64_t>(serial - kFirstSerial) * kMonthsPerDayQ32 >> 32);
    };
    for (int64_t g = 0; g != n; ++g) {
        const int64_t low = guess(first_of(calendar, g)), high = guess(first_of(calendar, g + 1) - 1);
        if (low < g - 1 || high > g) return false;
    }
    return true;
}
// Every month's year by year_index_of is the year it lies in.
constexpr bool year_fits(size_t calendar) noexcept {
    const auto& years = kYearTable[calendar];
    for (size_t y = 0; y != kYears; ++y)
        for (int64_t g = years[y].first_month; g != years[y + 1].first_month; ++g)
            if (year_index_of(calendar, g, month_at(calendar, g)) != static_cast<int32_t>(y)) return false;
    return true;
}
static_assert(month_guess_fits(QEL_CALENDAR_CHINESE) && year_fits(QEL_CALENDAR_CHINESE), "one step");
static_assert(month_guess_fits(QEL_CALENDAR_KOREAN) && year_fits(QEL_CALENDAR_KOREAN), "one step");
static_assert(month_guess_fits(QEL_CALENDAR_VIETNAMESE) && year_fits(QEL_CALENDAR_VIETNAMESE), "one step");

constexpr int32_t leap_month(size_t calendar, int32_t y) noexcept { return year_entry(calendar, y).leap_month; }
constexpr int32_t months_in(size_t calendar, int32_t y) noexcept {
    return (&year_entry(calendar, y))[1].first_month - year_entry(calendar, y).first_month;
}
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
    return days(month_entry(calendar, year_entry(calendar, y), month_index(calendar, y, m, is_leap)));
}

// A month of a calendar by its year and index 0-12 within it.
struct MonthRef {
    int32_t year;
    int32_t index;
};

// The month `count` months after `ref` in calendar order; false when it
// leaves the calendar (any count).
constexpr bool step_months(size_t calendar, MonthRef& ref, int64_t count) noexcept {
    const int64_t from = ordinal(year_entry(calendar, ref.year), ref.index);
    const int64_t total = kSpans[calendar].count;
    if (count < -from || count >= total - from) return false;
    const int64_t to = from + count;
    const int32_t yi = year_index_of(calendar, to, month_at(calendar, to));
    ref = {kFirstYear + yi, static_cast<int32_t>(to - kYearTable[calendar][static_cast<size_t>(yi)].first_month)};
    return true;
}

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
static_assert(first_day(QEL_CALENDAR_CHINESE, year_entry(QEL_CALENDAR_CHINESE, 2017),
                        month_index(QEL_CALENDAR_CHINESE, 2017, 6, 1)) ==
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

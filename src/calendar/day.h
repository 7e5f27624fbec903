// The facts of one day, filled from the Gregorian decoder, the lunar table,
// the term table and the festival tables: a handful of table reads and no
// loop. Shared by qel_day_facts_of and the batch call.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>

#include "calendar/festivals.h"
#include "calendar/holidays.h"
#include "calendar/terms.h"
#include "gregorian/civil.h"
#include "calendar/lunisolar.h"
#include "qel_calendar.h"

namespace qel::calendar {

inline constexpr int32_t kCycle = 60;

// Floor modulo for |v| far below 2^62.
constexpr int32_t floor_mod(int64_t v, int32_t n) noexcept {
    const int64_t r = v % n;
    return static_cast<int32_t>(r < 0 ? r + n : r);
}

// x mod d by a multiply and a shift: with m = ceil(2^32 / d) and e = m d - 2^32,
// floor(x m / 2^32) = floor(x / d + x e / (d 2^32)) is floor(x / d) while
// x e < 2^32 (the fraction of x / d is at most (d - 1) / d): fewer steps
// than a compiler's remainder for any 32-bit x, and the inputs here are
// bounded (serials shifted non-negative).
template <uint32_t D>
constexpr uint32_t small_mod(uint32_t x) noexcept {
    constexpr uint64_t m = ((uint64_t{1} << 32) + D - 1) / D;
    constexpr uint64_t limit = (uint64_t{1} << 32) / (m * D - (uint64_t{1} << 32));
    static_assert(limit > (1u << 22), "exact for serials shifted from 0001-01-01 and beyond 9999");
    return x - static_cast<uint32_t>(x * m >> 32) * D;
}
static_assert(small_mod<420>(4194303) == 4194303 % 420 && small_mod<420>(419) == 419 && small_mod<420>(420) == 0,
              "small_mod");

// 1900-01-01 (serial 2) is a 甲戌 day, number 10 of the cycle: the day-cycle
// anchor of the almanacs (its Julian Day Number 2415021 gives (2415021 + 49)
// mod 60 = 10 as well). Every day is one step on.
constexpr int32_t day_cycle(DateInt serial) noexcept { return floor_mod(serial + 8, kCycle); }
// Lunar year 4 AD began a 甲子 cycle (1984 did too): (year - 4) mod 60.
constexpr int32_t year_cycle(int32_t lunar_year) noexcept { return floor_mod(lunar_year - 4, kCycle); }
// Serial 0, 1899-12-30, was a Saturday (ISO 6).
constexpr int32_t iso_weekday(DateInt serial) noexcept { return floor_mod(serial + 5, 7) + 1; }
// The index that has stem s (0-9) and branch b (0-11): i = s (mod 10) and
// i = b (mod 12), solved as 6s - 5b (mod 60); s and b must have one parity.
constexpr int32_t sexagenary(int32_t stem, int32_t branch) noexcept { return (6 * stem + 55 * branch) % kCycle; }

static_assert(day_cycle(gregorian::serial_from_civil(2017, 7, 23)) == 47, "2017-07-23 辛亥");
static_assert(year_cycle(2017) == 33 && year_cycle(1984) == 0, "丁酉, 甲子");
static_assert(lunisolar::year_entry(QEL_CALENDAR_CHINESE, 2017).cycle == year_cycle(2017) &&
                  lunisolar::year_entry(QEL_CALENDAR_KOREAN, lunisolar::kFirstYear).cycle == year_cycle(1645) &&
                  lunisolar::year_entry(QEL_CALENDAR_VIETNAMESE, lunisolar::kLastYear).cycle == year_cycle(2200),
              "the year table's cycles are year_cycle's");
static_assert(iso_weekday(2) == 1, "1900-01-01 was a Monday");
static_assert(sexagenary(2, 2) == 2 && sexagenary(9, 11) == 59, "丙寅, 癸亥");

// The days of the month (1-31) on which each term falls in some year,
// earliest and latest: a day outside both windows of its month has no term,
// and most days are decided by that test alone.
struct DayWindow {
    uint8_t first, last;
};
inline constexpr auto kTermWindow = [] {
    std::array<DayWindow, kTermsPerYear> window{};
    for (auto& w : window) w = {31, 1};
    for (size_t i = 0; i != size_t{kTermCount}; ++i) {
        const auto year = static_cast<uint32_t>(QEL_FIRST_YEAR + int32_t(i / kTermsPerYear));
        const auto month = static_cast<uint32_t>(i % kTermsPerYear / 2 + 1);
        const int64_t day = floor_div(term_instant(i) + kCstOffset, kSecondsPerDay) + kSerialOf1970 -
                            gregorian::serial_from_civil(year, month, 1) + 1;
        DayWindow& w = window[i % kTermsPerYear];
        if (day < w.first) w.first = static_cast<uint8_t>(day);
        if (day > w.last) w.last = static_cast<uint8_t>(day);
    }
    return window;
}();

// Per Gregorian month, bit d set when day d lies in a window of one of its
// two terms: one read decides most days.
inline constexpr auto kTermDays = [] {
    std::array<uint32_t, 13> days{};
    for (size_t k = 0; k != kTermWindow.size(); ++k)
        for (uint32_t d = kTermWindow[k].first; d <= kTermWindow[k].last; ++d) days[k / 2 + 1] |= 1u << d;
    return days;
}();

// The solar term on a day, if any: each Gregorian month m holds terms
// 2(m - 1) and 2(m - 1) + 1 (小寒 and 大寒 in January .. 大雪 and 冬至 in
// December), so a day's term is one of two, each a comparison of its instant
// with the day's first second in UTC+8. Precondition: the year is covered.
constexpr int32_t term_of_day(DateInt serial, int32_t year, int32_t month, int32_t day) noexcept {
    if ((kTermDays[static_cast<size_t>(month)] >> day & 1u) == 0) return -1;
    const int64_t start = (serial - kSerialOf1970) * kSecondsPerDay - kCstOffset;
    const size_t k = term_index(year, 2 * (month - 1));
    for (size_t i = k; i < k + 2; ++i) {
        const int64_t t = term_instant(i);
        if (t >= start && t < start + kSecondsPerDay) return static_cast<int32_t>(i - k) + 2 * (month - 1);
    }
    return -1;
}

// qel_datetime's term days of 1900-2100 are the days of these instants.
constexpr bool term_days_agree() noexcept {
    for (size_t i = 0; i < std::size(lunar::SolarTermTable); ++i) {
        const auto year = static_cast<int32_t>(kSolarTermFirstYear + int32_t(i / kTermsPerYear));
        const auto term = static_cast<int32_t>(i % kTermsPerYear);
        const DateInt day = gregorian::serial_from_civil(uint32_t(year), 1, 1) + lunar::SolarTermTable[i];
        const gregorian::CivilDate c = gregorian::civil_from_serial(day);
        if (term_of_day(day, year, term / 2 + 1, c.day) != term) return false;
    }
    return true;
}
static_assert(term_days_agree(), "the term days of 1900-2100 are qel_datetime's");

// Serials from 0001-01-01 on are non-negative when shifted by this multiple
// of 420 (= lcm(7, 60)): the weekday and the day cycle are then unsigned
// remainders.
inline constexpr int64_t kShift = 420 * 1652;  // 693840 > 693593
static_assert((kShift + 5) % 7 == 5 % 7 && kShift % 60 == 0, "the shift keeps both cycles");

// A day's weekday and day cycle repeat every 420 days: one remainder and
// one read give both.
struct Cycles {
    uint8_t weekday;  // ISO 1-7
    uint8_t day_cycle;
};
inline constexpr auto kCycles = [] {
    std::array<Cycles, 420> table{};
    for (int64_t i = 0; i != 420; ++i)
        table[static_cast<size_t>(i)] = {static_cast<uint8_t>(iso_weekday(i - kShift)),
                                         static_cast<uint8_t>(day_cycle(i - kShift))};
    return table;
}();

// Inlined into its callers with the calendar a constant, so that the table
// offsets and phases of that calendar fold into the code.
#if defined(__GNUC__)
#define QEL_ALWAYS_INLINE [[gnu::always_inline]] inline
#else
#define QEL_ALWAYS_INLINE inline
#endif

// Precondition: QEL_FIRST_SERIAL <= serial <= QEL_LAST_SERIAL.
QEL_ALWAYS_INLINE void fill_day_in(size_t calendar, DateInt serial, uint32_t options, qel_day_facts& f) noexcept {
    const gregorian::CivilDate c = gregorian::civil_from_serial(serial);
    const auto shifted = static_cast<uint32_t>(serial + kShift);
    f.serial = serial;
    f.year = c.year;
    f.month = c.month;
    f.day = c.day;
    const Cycles cycles = kCycles[small_mod<420>(shifted)];
    f.weekday = cycles.weekday;
    f.day_of_year = static_cast<int32_t>(serial - gregorian::serial_of_year_start(c.year));
    f.reserved = 0;
    f.day_cycle = cycles.day_cycle;
    f.term = -1;
    f.term_instant = 0;
    int32_t holiday = 0;
    f.holiday_status = builtin_status(serial, &holiday);
    f.holiday = f.holiday_status > QEL_DAY_ORDINARY ? holiday : 0;
    uint64_t festivals = 0;
    const uint64_t kept = kCalendarFestivals[calendar];
    if (lunisolar::in_range(serial)) {
        const lunisolar::Found m = lunisolar::month_of(calendar, serial);
        const int32_t yi = lunisolar::year_index_of(calendar, m.ordinal, m.month);
        const auto day = static_cast<int32_t>(serial - m.first) + 1;
        f.flags = 0;
        f.lunar_year = lunisolar::kFirstYear + yi;
        f.lunar_month = lunisolar::number(m.month);
        f.lunar_day = day;
        f.lunar_leap = lunisolar::leap(m.month);
        f.lunar_month_days = lunisolar::days(m.month);
        const lunisolar::Year& y = lunisolar::kYearTable[calendar][static_cast<size_t>(yi)];
        f.lunar_leap_month = y.leap_month;
        f.year_cycle = y.cycle;
        festivals = lunar_festivals(f.lunar_month, day, f.lunar_leap, f.lunar_month_days, options, kept);
    } else {
        f.flags = QEL_DAY_NO_LUNAR;
        f.lunar_year = f.lunar_month = f.lunar_day = f.lunar_leap = 0;
        f.lunar_month_days = f.lunar_leap_month = f.year_cycle = 0;
    }
    if (c.year >= QEL_FIRST_YEAR && c.year <= QEL_LAST_YEAR) {
        const auto year = static_cast<int32_t>(c.year), month = static_cast<int32_t>(c.month);
        festivals |= kGregorianDayBits[c.month][c.day] & kept;
        f.term = term_of_day(serial, year, month, static_cast<int32_t>(c.day));
        if (f.term >= 0) {
            f.term_instant = term_instant(term_index(year, f.term));
            festivals |= kTermBits[static_cast<size_t>(f.term)] & kept;
        }
    }
    f.festivals = festivals;
}

QEL_ALWAYS_INLINE void fill_day(DateInt serial, uint32_t options, qel_day_facts& f) noexcept {
    const size_t calendar = calendar_of(options);
    if (calendar == QEL_CALENDAR_CHINESE) return fill_day_in(QEL_CALENDAR_CHINESE, serial, options, f);
    if (calendar == QEL_CALENDAR_KOREAN) return fill_day_in(QEL_CALENDAR_KOREAN, serial, options, f);
    return fill_day_in(QEL_CALENDAR_VIETNAMESE, serial, options, f);
}

}  // namespace qel::calendar

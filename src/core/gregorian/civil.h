// Day serials: days since 1899-12-30 (serial 0). The encoder covers
// 0001-01-01 (-693593) .. 9999-12-31 (2958465); the decoder runs on to
// 65535-12-31 (23242572), the last date whose year fits 16 bits, and maps the
// null date -693594 to 0, 0, 0.
//
// The encoder counts ordinal days: whole years before the date, then the days
// of its year from the month table. The decoder works on the "computational
// calendar" of Neri & Schneider, "Euclidean affine functions and their
// application to calendar algorithms" (Software: Practice and Experience,
// 2023): years that begin on 1 March, so that the leap day is the last day of
// the year and the year and the day of the year come from multiplies instead
// of divisions. Days are counted from 0000-03-01 (rata 0).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "gregorian/month_tables.h"
#include "day_serial.h"

namespace qel::gregorian {

// 693594: the ordinal of 1899-12-30 when 0001-01-01 is day 1.
inline constexpr DateInt kEpochOffset = 693594;
// The serial before 0001-01-01: decodes to year 0, month 0, day 0.
inline constexpr DateInt kNullDate = -kEpochOffset;
inline constexpr DateInt kFirstSerial = -693593;    // 0001-01-01
inline constexpr DateInt kLastSerial = 2958465;     // 9999-12-31
inline constexpr DateInt kLastDecodable = 23242572;  // 65535-12-31
// 0000-03-01 lies 306 days (March to December) before 0001-01-01.
inline constexpr DateInt kRata0 = kFirstSerial - 306;  // serial of 0000-03-01

struct CivilDate {
    uint16_t year;
    uint16_t month;
    uint16_t day;
};

// The leap rule without a branch (Neri & Schneider): a year that is not a
// multiple of 100 is leap when it is a multiple of 4; a multiple of 100 is a
// multiple of 25, so it is a multiple of 400 exactly when it is one of 16. One
// multiply-and-compare for the 100 test and a conditional mask; IsLeapYear's
// short-circuit tests branch on the year, which random dates mispredict.
constexpr bool is_leap_year_branchless(uint32_t year) noexcept {
    return (year & (year % 100 == 0 ? 15u : 3u)) == 0;
}

// Both rules repeat every 400 years (lcm of 100 and 16), so one cycle proves them equal.
constexpr bool leap_rules_agree() noexcept {
    for (uint32_t y = 0; y < 400; ++y)
        if (is_leap_year_branchless(y) != IsLeapYear(y)) return false;
    return true;
}
static_assert(leap_rules_agree(), "the branchless leap rule is the Gregorian rule");

// A month of a common year (row 0) or a leap year (row 1): the days of the year
// before it and its length, from MonthFirstDayTable and MonthDaysTable, side
// by side so that the validating encoder finds both in one load.
struct MonthSpan {
    uint16_t days_before;  // [0, 335]
    uint16_t length;       // [28, 31]
};
inline constexpr auto kMonthSpans = [] {
    std::array<std::array<MonthSpan, 12>, 2> spans{};
    for (std::size_t leap = 0; leap < 2; ++leap)
        for (std::size_t m = 0; m < 12; ++m)
            spans[leap][m] = {static_cast<uint16_t>(MonthFirstDayTable[leap][m] - 1), MonthDaysTable[leap][m]};
    return spans;
}();

// Precondition: 1 <= month <= 12.
constexpr MonthSpan month_span(uint32_t year, uint32_t month) noexcept {
    return kMonthSpans[is_leap_year_branchless(year) ? 1 : 0][month - 1];
}

// Year 1-9999, month 1-12, day 1-month length. The day test is one unsigned
// compare (day 0 wraps around).
constexpr bool GDateValid(uint32_t year, uint32_t month, uint32_t day) noexcept {
    if (year - 1 >= 9999 || month - 1 >= 12) return false;
    return day - 1 < month_span(year, month).length;
}

// Serial of a date. Precondition: a valid date (1 <= year <= 9999).
// The ordinal count: 365 days for every year before this one, plus one for
// each leap year among them (multiples of 4, less those of 100, plus those of
// 400), plus the days of the year before the month and the day. 365 y + y / 4
// is taken as 1461 y / 4, one multiply and one shift.
constexpr DateInt serial_of_year_start(uint32_t year) noexcept {  // the serial of 1 January, less 1
    const uint32_t y = year - 1;                                         // whole years before: [0, 9998]
    const uint32_t centuries = y / 100;                                  // [0, 99]
    const uint32_t days_before_year = 1461 * y / 4 - centuries + centuries / 4;  // < 3.66e6
    return DateInt{days_before_year} - kEpochOffset;
}
constexpr DateInt serial_from_civil(uint32_t year, uint32_t month, uint32_t day) noexcept {
    return serial_of_year_start(year) + month_span(year, month).days_before + day;
}

// Month and day of each day of a year that begins on 1 March (index 0) and
// ends on 29 February (index 365), laid out from the leap row of
// MonthDaysTable: the decoder reads the month and the day in one load.
struct MonthDay {
    uint8_t month;  // 3..12, then 1 and 2 of the next civil year
    uint8_t day;
};
inline constexpr auto kMonthDayFromMarch = [] {
    std::array<MonthDay, 366> table{};
    std::size_t i = 0;
    for (uint32_t k = 0; k < 12; ++k) {
        const uint32_t month = (k + 2) % 12 + 1;  // 3, 4, .., 12, 1, 2
        for (uint32_t day = 1; day <= MonthDaysTable[1][month - 1]; ++day)
            table[i++] = {static_cast<uint8_t>(month), static_cast<uint8_t>(day)};
    }
    return table;
}();
static_assert(kMonthDayFromMarch[306].month == 1 && kMonthDayFromMarch[306].day == 1, "1 January");
static_assert(kMonthDayFromMarch[365].month == 2 && kMonthDayFromMarch[365].day == 29, "29 February");

// The second half of the Neri-Schneider decoder. Within a run of years that
// begins on 1 March of `first_year` and in which every fourth year (the one
// whose February closes it) is a leap year, day `day_of_run` gives the year of
// the run and the day of the year from one 64-bit multiply of 4 day + 3 by
// 2939745 (= 2^32 / 1461, rounded up): the high half is the quotient by
// 1461 / 4 days, the low half the remainder scaled. Rounding the multiplier up
// adds 5.1e-5 per year of the run to the remainder, which stays exact while
// that is below 1: for runs of up to 19,000 years. A century is such a run; so is 1900-03-01 ..
// 2100-02-28, whose only century year, 2000, is a leap year.
constexpr CivilDate civil_from_day_of_run(uint32_t first_year, uint32_t day_of_run) noexcept {
    const uint64_t p2 = uint64_t{2939745} * (4 * day_of_run + 3);
    const auto year_of_run = static_cast<uint32_t>(p2 >> 32);
    const uint32_t day_of_year = static_cast<uint32_t>(p2) / 2939745 / 4;  // [0, 365], from 1 March
    const MonthDay md = kMonthDayFromMarch[day_of_year];
    const uint32_t jan_feb = md.month <= 2;  // of the next civil year
    return {static_cast<uint16_t>(first_year + year_of_run + jan_feb), md.month, md.day};
}

// 1900-03-01 .. 2100-02-28, where the years of most dates in use lie: one run
// of 200 years with a leap year every fourth, so the century step is skipped.
inline constexpr DateInt kSerial1900_03_01 = 61;  // 1900-01-01 is 2; + 31 + 28
// Days from 1900-03-01 to 2100-03-01: 200 years of 1461 / 4 days, less the
// 29 February that 2100 does not have.
inline constexpr uint32_t kDaysOf1900To2100 = 200 * 1461 / 4 - 1;

// Days from 1900-03-01, or a value of kDaysOf1900To2100 and above for a serial
// outside the modern run (below it the unsigned difference wraps around).
constexpr uint64_t day_of_modern_run(DateInt serial) noexcept {
    return static_cast<uint64_t>(serial) - static_cast<uint64_t>(kSerial1900_03_01);
}

// Year, month and day of a serial in [kNullDate + 1, kLastDecodable], by
// centuries. Neri-Schneider: the century and the day of the century come from
// one division of 4n + 3 by the days of 400 years (exact for every rata day
// below 2^30; here rata < 2.4e7), then the century is a run of
// civil_from_day_of_run.
constexpr CivilDate civil_from_serial_by_century(DateInt serial) noexcept {
    const auto n = static_cast<uint32_t>(serial - kRata0);     // [306, 23936471]
    const uint32_t n1 = 4 * n + 3;
    const uint32_t century = n1 / 146097;
    const uint32_t day_of_century = n1 % 146097 / 4;
    return civil_from_day_of_run(100 * century, day_of_century);
}

// Precondition: kNullDate < serial <= kLastDecodable.
constexpr CivilDate civil_from_serial(DateInt serial) noexcept {
    const uint64_t modern = day_of_modern_run(serial);
    if (modern < kDaysOf1900To2100) return civil_from_day_of_run(1900, static_cast<uint32_t>(modern));
    return civil_from_serial_by_century(serial);
}

// Any serial: the null date and everything outside the decodable range give
// 0, 0, 0. The modern run is tried first: most serials in use lie there, and
// it needs no range test.
constexpr CivilDate decode(DateInt serial) noexcept {
    const uint64_t modern = day_of_modern_run(serial);
    if (modern < kDaysOf1900To2100) return civil_from_day_of_run(1900, static_cast<uint32_t>(modern));
    if (serial <= kNullDate || serial > kLastDecodable) return {0, 0, 0};
    return civil_from_serial_by_century(serial);
}

// Values stored back into the interface's 32-bit fields keep their low 32 bits.
constexpr int32_t wrap32(int64_t v) noexcept {
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(v) & 0xFFFFFFFFu));
}

// The validating encoder every day count of the library goes through:
// 1 and the serial written for a valid date, 0 and nothing written otherwise.
constexpr int32_t TryEncodeDate(uint16_t year, uint16_t month, uint16_t day, DateInt* serial) noexcept {
    if (!GDateValid(year, month, day)) return 0;
    *serial = serial_from_civil(year, month, day);
    return 1;
}

static_assert(serial_from_civil(1899, 12, 30) == 0, "serial 0");
static_assert(serial_from_civil(1900, 1, 1) == 2, "1900 is the day after 1899-12-31");
static_assert(serial_from_civil(1, 1, 1) == kFirstSerial, "0001-01-01");
static_assert(serial_from_civil(9999, 12, 31) == kLastSerial, "9999-12-31");
static_assert(civil_from_serial(36585).month == 2 && civil_from_serial(36585).day == 29, "2000-02-29");
static_assert(civil_from_serial(kLastDecodable).year == 65535, "65535-12-31");
static_assert(serial_from_civil(1900, 3, 1) == kSerial1900_03_01, "1900-03-01");
static_assert(serial_from_civil(2100, 3, 1) == kSerial1900_03_01 + kDaysOf1900To2100, "2100-03-01");
static_assert(civil_from_serial(kSerial1900_03_01 + kDaysOf1900To2100 - 1).day == 28, "2100-02-28: fast path");
static_assert(civil_from_serial(kSerial1900_03_01 + kDaysOf1900To2100).month == 3, "2100-03-01: general");

}  // namespace qel::gregorian

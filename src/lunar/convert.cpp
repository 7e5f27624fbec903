// Gregorian <-> lunar conversion through the derived tables of year_index.h.
// Gregorian to lunar: a guess from the mean year, corrected against the
// sorted new-year serials, finds the lunar year, and the year's month offsets
// the month; lunar to Gregorian is the new year's serial plus the month's
// offset plus the day.
// Both give, answer for answer, what the walk that subtracts year and month
// lengths one at a time from the 1900 base gives, including its answers
// outside the table: before lunar 1900 the count runs on in month 12 of 1899,
// after lunar 2100 in a month 13 of 2100.
#include <cstdint>

#include "gregorian/civil.h"
#include "lunar/locate.h"
#include "lunar/lookup.h"
#include "lunar/year_index.h"
#include "qel_datetime.h"

namespace qel::lunar {
namespace {

struct LunarDate {
    int32_t year, month, day, leap;
};

// The base, 1900-01-31, would be day 31 of that month 12.
constexpr int32_t kBaseAsDayBefore = 31;
// The month number the walk reaches once all twelve months of 2100 are used up.
constexpr int32_t kMonthAfterTable = 13;

constexpr int32_t saturate32(int64_t v) noexcept {
    return v < INT32_MIN ? INT32_MIN : v > INT32_MAX ? INT32_MAX : static_cast<int32_t>(v);
}

constexpr LunarDate lunar_from_serial(DateInt serial) noexcept {
    if (serial < kBaseSerial) {
        // Days before the base count down from day 31 (day 0 is 1899-12-31).
        // The day, serial - 1, is formed only above INT32_MIN.
        const int32_t day = serial <= INT32_MIN
                                ? INT32_MIN
                                : static_cast<int32_t>(serial - kBaseSerial + kBaseAsDayBefore);
        return {kYearBefore, 12, day, 0};
    }
    if (serial >= kTableEndSerial) return {kLastYear, kMonthAfterTable, saturate32(serial - kTableEndSerial + 1), 0};
    const TableDay t = locate(serial);
    const MonthOfYear m = month_of_index(t.month_index);
    return {kFirstYear + static_cast<int32_t>(t.year_index), m.month, t.day, m.leap};
}

static_assert(lunar_from_serial(gregorian::serial_from_civil(2017, 8, 21)).day == 30, "leap 6 ends");
static_assert(lunar_from_serial(gregorian::serial_from_civil(2101, 1, 29)).month == 13, "past 2100");

// Status as PDateToGDate reports it; the serial is written only with status 1.
int32_t serial_from_lunar(int32_t year, int32_t month, int32_t day, int32_t leap,
                          DateInt* serial) noexcept {
    if (year == kYearBefore) {
        if (month != 12 || day < 1 || day > kLastMonthBeforeDays || leap != 0) return 0;
        *serial = kBaseSerial - kBaseAsDayBefore + day;  // Gregorian 1900-01-day
        return 1;
    }
    if (year < kFirstYear || year > kLastYear) return 0;
    const int32_t leap_of_year = leap_month(year);
    if (leap != 0 && month != leap_of_year) return -1;
    if (month < 1 || month > 12) return 0;
    const DateInt s = lunar_serial(year, month_position(month, leap != 0, leap_of_year), day);
    if (s < gregorian::kFirstSerial || s > gregorian::kLastSerial) return 0;
    *serial = s;
    return 1;
}

// Writes each given out-value of a converted date.
void write_lunar(const LunarDate& d, int32_t* year, int32_t* month, int32_t* day,
                 int32_t* leap) noexcept {
    if (year) *year = d.year;
    if (month) *month = d.month;
    if (day) *day = d.day;
    if (leap) *leap = d.leap;
}

}  // namespace
}  // namespace qel::lunar

using namespace qel::lunar;

extern "C" {

int32_t GDateToPDate(int32_t year, int32_t month, int32_t day, int32_t* lunarYear,
                     int32_t* lunarMonth, int32_t* lunarDay, int32_t* leap) noexcept {
    if (year < kFirstYear || year > kLastYear) return -2;
    // The Gregorian encoder takes 16-bit fields: month and day are read as such.
    DateInt serial = 0;
    if (!qel::gregorian::TryEncodeDate(static_cast<uint16_t>(year), static_cast<uint16_t>(month),
                                       static_cast<uint16_t>(day), &serial))
        return -1;
    write_lunar(lunar_from_serial(serial), lunarYear, lunarMonth, lunarDay, leap);
    return 1;
}

// The base date is a constant, so the conversion cannot fail: every given
// out-value is written (the presets 1899-01-01 would only show on a failure).
int32_t GDateToPDateByTDate(DateInt serial, int32_t* lunarYear, int32_t* lunarMonth,
                            int32_t* lunarDay, int32_t* leap) noexcept {
    write_lunar(lunar_from_serial(serial), lunarYear, lunarMonth, lunarDay, leap);
    return 1;
}

int32_t PDateToGDate(int32_t lunarYear, int32_t lunarMonth, int32_t lunarDay, int32_t leap,
                     int32_t* year, int32_t* month, int32_t* day) noexcept {
    DateInt serial = 0;
    const int32_t status = serial_from_lunar(lunarYear, lunarMonth, lunarDay, leap, &serial);
    if (status != 1) return status;
    const qel::gregorian::CivilDate g = qel::gregorian::civil_from_serial(serial);
    if (year) *year = g.year;
    if (month) *month = g.month;
    if (day) *day = g.day;
    return 1;
}

int32_t DaysBetweenPDate(int32_t year1, int32_t month1, int32_t day1, int32_t leap1,
                         int32_t year2, int32_t month2, int32_t day2, int32_t leap2) noexcept {
    DateInt first = 0, second = 0;
    if (serial_from_lunar(year1, month1, day1, leap1, &first) != 1) return 0;
    if (serial_from_lunar(year2, month2, day2, leap2, &second) != 1) return 0;
    return static_cast<int32_t>(second - first);  // both within 0001..9999: fits 32 bits
}

}  // extern "C"

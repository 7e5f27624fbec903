// Time between two packed date-times: signed distances in minutes and seconds,
// and durations written in the packed layout (years of 365 days, months of 30
// days, days, hours, minutes, seconds), read back with the field accessors.
#include <cstdint>

#include "datetime/packed.h"
#include "datetime/time_units.h"
#include "gregorian/civil.h"
#include "qel_datetime.h"

namespace qel::datetime {
namespace {

namespace greg = qel::gregorian;

inline constexpr int32_t kDaysPerDurationYear = 365;
inline constexpr int32_t kDaysPerDurationMonth = 30;

// The serial of the word's date, or the null date when it is not valid, as
// EncodeDate answers. A year field is at most 4095, so serials stay within
// [-693594, 802074] and their differences far from any overflow.
DateInt serial_or_null(DateTimeInt word) noexcept {
    DateInt serial = greg::kNullDate;
    greg::TryEncodeDate(static_cast<uint16_t>(kYear.get(word)), static_cast<uint16_t>(kMonth.get(word)),
                        static_cast<uint16_t>(kDay.get(word)), &serial);
    return serial;
}

// Minutes from `earlier` to `later`, the seconds fields not read.
int64_t minutes_between(DateTimeInt later, DateTimeInt earlier) noexcept {
    const int64_t days = serial_or_null(later) - serial_or_null(earlier);
    const int64_t hours = days * kHoursPerDay + (kHour.get(later) - kHour.get(earlier));
    return hours * kMinutesPerHour + (kMinute.get(later) - kMinute.get(earlier));
}

// Field-by-field subtraction with one borrow per field, from the seconds up,
// in the radices 60, 60, 24, 30 and 12; no real month length is consulted.
// Precondition: `later` is not below `earlier` in the ordering key, so the
// year difference ends non-negative: at the first field (from the year down)
// where the two differ, later's is larger, and the single borrow from below
// can take at most 1 from that difference. The day difference is the one that
// can stay negative for valid dates: day 1 against day 31 with an hour
// borrowed is -31 + 30; it is stored as 0.
DateTimeInt field_difference(DateTimeInt later, DateTimeInt earlier) noexcept {
    int32_t second = kSecond.get(later) - kSecond.get(earlier);
    int32_t minute = kMinute.get(later) - kMinute.get(earlier);
    int32_t hour = kHour.get(later) - kHour.get(earlier);
    int32_t day = kDay.get(later) - kDay.get(earlier);
    int32_t month = kMonth.get(later) - kMonth.get(earlier);
    int32_t year = kYear.get(later) - kYear.get(earlier);
    if (second < 0) {
        second += kSecondsPerMinute;
        --minute;
    }
    if (minute < 0) {
        minute += kMinutesPerHour;
        --hour;
    }
    if (hour < 0) {
        hour += kHoursPerDay;
        --day;
    }
    if (day < 0) {
        day += kDaysPerDurationMonth;
        --month;
    }
    if (month < 0) {
        month += kMonthsPerYear;
        --year;
    }
    if (day < 0) day = 0;
    return pack(year, month, day, hour, minute, second);
}

}  // namespace
}  // namespace qel::datetime

using namespace qel::datetime;

extern "C" {

int64_t minutesDelta(DateTimeInt first, DateTimeInt second) noexcept {
    return minutes_between(first, second);
}

int64_t secondsDelta(DateTimeInt first, DateTimeInt second) noexcept {
    return minutes_between(first, second) * kSecondsPerMinute + (kSecond.get(first) - kSecond.get(second));
}

// Every quotient is unsigned and truncating; the whole days split into
// 365-day years, then 30-day months (0..12: days 360..364 of a year give month
// 12) and days (0..29). The year count keeps its low 12 bits.
DateTimeInt FormatSecondsDelta(uint64_t seconds) noexcept {
    const uint64_t days = seconds / kSecondsPerDay;
    const uint64_t day_of_year = days % kDaysPerDurationYear;
    return pack(static_cast<int64_t>(days / kDaysPerDurationYear),
                static_cast<int64_t>(day_of_year / kDaysPerDurationMonth),
                static_cast<int64_t>(day_of_year % kDaysPerDurationMonth),
                static_cast<int64_t>(seconds / kSecondsPerHour % kHoursPerDay),
                static_cast<int64_t>(seconds / kSecondsPerMinute % kMinutesPerHour),
                static_cast<int64_t>(seconds % kSecondsPerMinute));
}

// An earlier `first` gives the duration of the swapped pair, so the result is
// always a duration; the reserved bits are those of `first` either way.
DateTimeInt FormatTwoTimeDelta(DateTimeInt first, DateTimeInt second) noexcept {
    const bool first_earlier = (first & kKeyBits) < (second & kKeyBits);
    const DateTimeInt duration =
        first_earlier ? field_difference(second, first) : field_difference(first, second);
    return (first & kReservedBits) | duration;
}

}  // extern "C"

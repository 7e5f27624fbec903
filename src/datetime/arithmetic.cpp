// Stepping TDateTime and TDate through the Gregorian calendar: by days and
// weeks, by months and years, and by minutes and seconds with the carry into
// days. A step that crosses days encodes the stored date to its day serial
// (days since 1899-12-30), adds the count and decodes the sum: one encode, one
// add, one decode for any count. Month and year steps work on the year and
// month fields and then judge the day against the new month.
#include <cstdint>

#include "datetime/packed.h"
#include "datetime/time_units.h"
#include "gregorian/civil.h"
#include "gregorian/month_tables.h"
#include "qel_datetime.h"

namespace qel::datetime {
namespace {

namespace greg = qel::gregorian;


// Moves a date by `days`. False, with the date unchanged, when the date is not
// valid or the target serial lies outside [kNullDate, kLastDecodable]: the
// serials that the decoder maps to a date (or, for kNullDate, to 0, 0, 0). The
// bounds are compared before the add, so that no count overflows; a valid
// serial lies in [-693593, 2958465], far from either end of int64.
bool step_civil(greg::CivilDate& date, int64_t days) noexcept {
    DateInt serial = 0;
    if (!greg::TryEncodeDate(date.year, date.month, date.day, &serial)) return false;
    if (days < greg::kNullDate - serial || days > greg::kLastDecodable - serial) return false;
    date = greg::decode(serial + days);
    return true;
}

// The date fields of a word moved by `days`, stored through the 12/4/5-bit
// masks (a year above 4095 keeps its low 12 bits); time and reserved bits kept.
DateTimeInt step_days(DateTimeInt word, int64_t days) noexcept {
    greg::CivilDate date{static_cast<uint16_t>(kYear.get(word)), static_cast<uint16_t>(kMonth.get(word)),
                         static_cast<uint16_t>(kDay.get(word))};
    if (!step_civil(date, days)) return word;
    return kDay.set(kMonth.set(kYear.set(word, date.year), date.month), date.day);
}

struct DayCarry {
    int64_t days;         // whole days to move the date by
    int64_t time_of_day;  // [0, units_per_day)
};

// floor((count + time_of_day) / units_per_day) and the remainder, without
// forming the sum, which could leave int64 for a count near INT64_MAX. The
// count is split first into whole days and a remainder in (-units_per_day,
// units_per_day); the remainder plus the stored time of day (at most
// 31:63:63, 115443 s, when the fields are out of range) then needs one more
// floor division. |count / units_per_day| <= 2^63 / 1440, so adding the second
// quotient (-1..2) cannot overflow.
constexpr DayCarry carry_days(int64_t count, int64_t time_of_day, int64_t units_per_day) noexcept {
    const int64_t rest = count % units_per_day + time_of_day;  // (-units_per_day, 3 units_per_day)
    int64_t extra = rest / units_per_day;
    int64_t remainder = rest % units_per_day;
    if (remainder < 0) {  // truncation rounded toward zero: borrow the whole day before midnight
        remainder += units_per_day;
        --extra;
    }
    return {count / units_per_day + extra, remainder};
}

static_assert(carry_days(-1, 0, kMinutesPerDay).days == -1 &&
                  carry_days(-1, 0, kMinutesPerDay).time_of_day == 1439,
              "a minute before midnight is the previous day");
static_assert(carry_days(0, 24 * 60, kMinutesPerDay).days == 1, "hour 24 is midnight of the next day");
static_assert(carry_days(INT64_MAX, 31 * 3600 + 63 * 60 + 63, kSecondsPerDay).days ==
                  INT64_MAX / kSecondsPerDay + 1,
              "no overflow at the top of the range");

// The month step on a word. The month index counts months from January of the
// stored year; a floor division by 12 splits it into the year carry and the
// month 1..12 (a stored month 0 or 13..15 is normalised the same way). Both are
// formed in 64 bits: |months| <= 12 * 2^31 keeps every term far below 2^63.
bool step_months(DateTimeInt& word, int64_t months, bool clamp) noexcept {
    const int64_t index = kMonth.get(word) - 1 + months;
    int64_t carry = index / kMonthsPerYear;
    int64_t month_index = index % kMonthsPerYear;
    if (month_index < 0) {
        month_index += kMonthsPerYear;
        --carry;
    }
    const int64_t year = kYear.get(word) + carry;
    const auto month = static_cast<uint32_t>(month_index + 1);  // [1, 12]
    const auto day = static_cast<uint32_t>(kDay.get(word));
    word = kMonth.set(kYear.set(word, year), month);
    // Validity as GDateIsValid judges it, on the year taken as 16 bits.
    const bool valid = greg::GDateValid(static_cast<uint16_t>(year), month, day);
    if (valid || !clamp) return valid;
    // The clamp gives the month's length by the leap rule on the full year.
    word = kDay.set(word, greg::days_in_month(year, month));
    return true;
}

// The minute and second steps: carry the count into days through the serial
// (only when the carry is not zero, so that a step within the day works on
// any stored date), then write the time of day.
DateTimeInt step_minutes(DateTimeInt word, int64_t minutes) noexcept {
    const int64_t time_of_day = kHour.get(word) * kMinutesPerHour + kMinute.get(word);
    const DayCarry c = carry_days(minutes, time_of_day, kMinutesPerDay);
    if (c.days != 0) word = step_days(word, c.days);
    return kMinute.set(kHour.set(word, c.time_of_day / kMinutesPerHour), c.time_of_day % kMinutesPerHour);
}

DateTimeInt step_seconds(DateTimeInt word, int64_t seconds) noexcept {
    const int64_t time_of_day =
        kHour.get(word) * kSecondsPerHour + kMinute.get(word) * int64_t{kSecondsPerMinute} + kSecond.get(word);
    const DayCarry c = carry_days(seconds, time_of_day, kSecondsPerDay);
    if (c.days != 0) word = step_days(word, c.days);
    const int64_t hour = c.time_of_day / kSecondsPerHour;         // [0, 23]
    const int64_t minute = c.time_of_day % kSecondsPerHour / kSecondsPerMinute;  // [0, 59]
    return kSecond.set(kMinute.set(kHour.set(word, hour), minute), c.time_of_day % 60);
}

}  // namespace
}  // namespace qel::datetime

using namespace qel::datetime;

TDateTime& TDateTime::incDay(int32_t days) noexcept {
    value = step_days(value, days);
    return *this;
}

TDateTime& TDateTime::incWeek(QelLong weeks) noexcept {
    value = step_days(value, int64_t{weeks} * 7);
    return *this;
}

bool TDateTime::incMonth(QelLong months, QelLong clamp) noexcept {
    return step_months(value, months, clamp != 0);
}

bool TDateTime::incYear(QelLong years, QelLong clamp) noexcept {
    return step_months(value, int64_t{years} * kMonthsPerYear, clamp != 0);
}

TDateTime& TDateTime::incMinute(int64_t minutes) noexcept {
    value = step_minutes(value, minutes);
    return *this;
}

TDateTime& TDateTime::incSecond(int64_t seconds) noexcept {
    value = step_seconds(value, seconds);
    return *this;
}

// The three 16-bit fields are stored whole: a target up to 65535-12-31 keeps
// its full year.
TDate& TDate::incDay(int32_t days) noexcept {
    qel::gregorian::CivilDate date{wYear, wMonth, wDay};
    if (step_civil(date, days)) {
        wYear = date.year;
        wMonth = date.month;
        wDay = date.day;
    }
    return *this;
}

TDate& TDate::IncMonth(int32_t months) noexcept {
    TDateTime stepped(*this);
    stepped.incMonth(months, 0);
    return fromDateTime(stepped);
}

extern "C" {

int32_t IncMonth(DateTimeInt* value, QelLong months, QelLong clamp) noexcept {
    if (!value) return 0;
    return step_months(*value, months, clamp != 0) ? 1 : 0;
}

DateTimeInt IncWeek(DateTimeInt value, QelLong weeks) noexcept {
    return step_days(value, int64_t{weeks} * 7);
}
DateTimeInt IncMinute(DateTimeInt value, int64_t minutes) noexcept { return step_minutes(value, minutes); }
DateTimeInt IncSecond(DateTimeInt value, int64_t seconds) noexcept { return step_seconds(value, seconds); }

}  // extern "C"

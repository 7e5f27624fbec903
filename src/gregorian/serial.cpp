// The exported Gregorian operations on day serials: encode, decode, step by
// days, validity, month length, day of the year, day of the week.
#include <cstdint>

#include "gregorian/civil.h"
#include "gregorian/month_tables.h"
#include "qel_datetime.h"

using namespace qel::gregorian;

extern "C" {

DateInt EncodeDate(unsigned short year, unsigned short month, unsigned short day) noexcept {
    DateInt serial = kNullDate;
    TryEncodeDate(year, month, day, &serial);
    return serial;
}

int32_t DecodeDate(DateInt serial, unsigned short* year, unsigned short* month,
                   unsigned short* day) noexcept {
    const CivilDate date = decode(serial);
    if (year) *year = date.year;
    if (month) *month = date.month;
    if (day) *day = date.day;
    return 1;
}

int32_t IncDate(unsigned short year, unsigned short month, unsigned short day,
                unsigned short* newYear, unsigned short* newMonth, unsigned short* newDay,
                int64_t days) noexcept {
    DateInt serial = 0;
    // An invalid start, or a count that leaves the decodable range (checked
    // before adding, so that no count overflows), gives the null date.
    if (!TryEncodeDate(year, month, day, &serial) || days < kNullDate - serial ||
        days > kLastDecodable - serial)
        return DecodeDate(kNullDate, newYear, newMonth, newDay);
    return DecodeDate(serial + days, newYear, newMonth, newDay);
}

int32_t GDateIsValid(unsigned short year, unsigned short month, unsigned short day) noexcept {
    return GDateValid(year, month, day) ? 1 : 0;
}

int32_t daysOfMonthG(int32_t year, int32_t month) noexcept {
    if (month < 1 || month > 12) return 0;
    return days_in_month(year, static_cast<uint32_t>(month));
}

int32_t DayOfGYear(int32_t year, int32_t month, int32_t day) noexcept {
    if (month < 1 || month > 12) return 0;
    const int64_t day_of_year =
        int64_t{MonthFirstDayTable[IsLeapYear(year) ? 1 : 0][static_cast<size_t>(month - 1)]} + day - 1;
    if (day_of_year > INT32_MAX) return INT32_MAX;
    if (day_of_year < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(day_of_year);
}

int32_t DayOfWeek(DateInt serial) noexcept {
    // The weekday is (serial + 693594) rem 7, the remainder taking the sign of
    // the dividend (0001-01-01, ordinal 1, is a Monday). The sum is reduced
    // before it is formed so that no serial overflows: 693594 = 7 * 99084 + 6.
    int32_t r = static_cast<int32_t>((serial % 7 + 6 + 7) % 7);  // Euclidean residue, [0, 6]
    if (serial < kNullDate && r != 0) r -= 7;                      // negative dividend: [-6, -1]
    return r == 0 ? 7 : r;
}

}  // extern "C"

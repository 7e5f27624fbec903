// Day serials: days since 1899-12-30 (serial 0). The encoder covers
// 0001-01-01 (-693593) .. 9999-12-31 (2958465); the decoder runs on to
// 65535-12-31 (23242572), the last date whose year fits 16 bits, and maps the
// null date -693594 to 0, 0, 0.
//
// Both directions work on the "computational calendar" of Neri & Schneider,
// "Euclidean affine functions and their application to calendar algorithms"
// (Software: Practice and Experience, 2023): years that begin on 1 March, so
// that the leap day is the last day of the year and every month's start is an
// affine function of its index. Days are counted from 0000-03-01 (rata 0).
#pragma once

#include <cstdint>

#include "gregorian/month_tables.h"
#include "qel_datetime.h"

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

constexpr bool GDateValid(uint32_t year, uint32_t month, uint32_t day) noexcept {
    return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
           day <= static_cast<uint32_t>(days_in_month(year, month));
}

// Serial of a date. Precondition: a valid date (1 <= year <= 9999).
// Neri-Schneider rata die: January and February count as months 13 and 14 of
// the previous year; 1461/4 days per year less the century leap days, and
// (979 m - 2919) / 32 days from 1 March to the first of month m (3 <= m <= 14).
constexpr DateInt serial_from_civil(uint32_t year, uint32_t month, uint32_t day) noexcept {
    const uint32_t jan_feb = month <= 2;                       // 0 or 1
    const uint32_t y = year - jan_feb;                         // [0, 9999]
    const uint32_t m = jan_feb ? month + 12 : month;           // [3, 14]
    const uint32_t century = y / 100;                          // [0, 99]
    const uint32_t days_of_years = 1461 * y / 4 - century + century / 4;  // < 3.7e6
    const uint32_t days_of_months = (979 * m - 2919) / 32;     // [0, 337]
    return DateInt{days_of_years} + days_of_months + day - 1 + kRata0;
}

// Year, month and day of a serial in [kNullDate + 1, kLastDecodable].
// Neri-Schneider: the century and the day of the century come from one
// division of 4n + 3 by the days of 400 years; the year of the century and the
// day of the year from one 64-bit multiply by 2939745 (= 2^32 * 4 / 1461,
// rounded up); the month and day from one multiply by 2141 and a shift
// (2141 / 65536 ~ 5 / 153). Exact for every rata day below 2^30; here
// rata < 2.4e7.
constexpr CivilDate civil_from_serial(DateInt serial) noexcept {
    const auto n = static_cast<uint32_t>(serial - kRata0);     // [306, 23936471]
    const uint32_t n1 = 4 * n + 3;
    const uint32_t century = n1 / 146097;
    const uint32_t day_of_century = n1 % 146097 / 4;
    const uint32_t n2 = 4 * day_of_century + 3;
    const uint64_t p2 = uint64_t{2939745} * n2;
    const auto year_of_century = static_cast<uint32_t>(p2 >> 32);
    const uint32_t day_of_year = static_cast<uint32_t>(p2) / 2939745 / 4;  // [0, 365], from 1 March
    const uint32_t n3 = 2141 * day_of_year + 197913;
    const uint32_t month = n3 >> 16;                           // [3, 14]
    const uint32_t day = (n3 & 0xFFFF) / 2141;                 // [0, 30]
    const uint32_t jan_feb = day_of_year >= 306;
    return {static_cast<uint16_t>(100 * century + year_of_century + jan_feb),
            static_cast<uint16_t>(jan_feb ? month - 12 : month), static_cast<uint16_t>(day + 1)};
}

// Any serial: the null date and everything outside the decodable range give
// 0, 0, 0.
constexpr CivilDate decode(DateInt serial) noexcept {
    if (serial <= kNullDate || serial > kLastDecodable) return {0, 0, 0};
    return civil_from_serial(serial);
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

}  // namespace qel::gregorian

// Hostile and meaningful argument values, one table per domain: the ends of
// the integer types, of each range the interface documents and of each packed
// field, with the values next to them. The reliability probes take their
// products (tests/reliability), the fuzzer moves them by small steps (fuzz/)
// and the unit tests sweep them, so an edge added here reaches all three.
#pragma once

#include <cstdint>
#include <limits>

#include "calendar/terms.h"
#include "shared/oracle.h"
#include "gregorian/civil.h"
#include "qel_calendar.h"

namespace qel::hostile {

inline constexpr int32_t kI32Min = std::numeric_limits<int32_t>::min(), kI32Max = std::numeric_limits<int32_t>::max();
inline constexpr int64_t kI64Min = std::numeric_limits<int64_t>::min(), kI64Max = std::numeric_limits<int64_t>::max();

// Years: 1-9999, the 12-bit field (4095) and 16 bits (65535; 67552 reads as
// 2016 there), the lunar tables 1645-2200 and 1900-2100, leap and century
// years.
inline constexpr int32_t kYears[] = {kI32Min, -1, 0, 1, 4, 1644, 1645, 1899, 1900, 1901, 1984, 2000, 2015, 2016, 2017,
                                     2033, 2096, 2097, 2099, 2100, 2101, 2200, 2201, 4095, 4096, 9995, 9999, 10000, 65535, 65536,
                                     67552, kI32Max - 2, kI32Max};
// Months: 0 and 13, the 4-bit field (15, 16), and values that read as
// months 1-12 when taken as 16 bits (-65535 is 1, 65548 is 12).
inline constexpr int32_t kMonths[] = {kI32Min, -1000000000, -140000, -131070, -131061, -65536, -65535, -65524,
                                      -65523, -3, -1, 0, 1, 2, 4, 6, 11, 12, 13, 15, 16, 65537, 65548, 65549,
                                      1000000000, kI32Max};
inline constexpr int32_t kDays[] = {kI32Min, -65505, -1, 0, 1, 15, 28, 29, 30, 31, 32, 65565, kI32Max};
inline constexpr int32_t kLeapFlags[] = {0, 1, 2, -1, kI32Min, kI32Max};

// Lunar dates that exist or just fail to: lunar 1899's last month, leap months
// (1900's 8th, 2017's big 6th, 2033's 11th), the ends of the published and
// the computed tables, a leap flag on a year or a month without one.
struct LunarDate {
    int32_t year, month, day, leap;
};
inline constexpr LunarDate kLunarDates[] = {
    {1899, 12, 1, 0}, {1899, 12, 30, 0}, {1899, 12, 31, 0}, {1899, 11, 1, 0}, {1899, 12, 1, 1}, {1900, 1, 1, 0},
    {1900, 8, 29, 1}, {2017, 6, 30, 1}, {2017, 6, 30, 0}, {2017, 5, 1, 1}, {2018, 6, 1, 1}, {2033, 11, 1, 1},
    {2024, 12, 29, 0}, {2024, 12, 30, 0}, {2100, 12, 29, 0}, {2100, 12, 30, 0}, {2101, 1, 1, 0}, {2017, 13, 1, 0},
    {2017, 0, 1, 0}, {2017, 1, 0, 0}, {2017, 1, kI32Max, 0}, {2017, 1, kI32Min, 0}, {kI32Min, 1, 1, 0},
    {2017, 6, 1, 2}, {2017, 6, 1, -1}, {1644, 12, 1, 0}, {1645, 1, 1, 0}, {2200, 12, 30, 0}, {2201, 1, 1, 0}};

// Day serials: the null date and the ends of the encoder's (0001..9999) and
// the decoder's (65535-12-31) ranges, 1900-01-01 and the lunar tables' ends
// (1900-2100 and 1645-2200), and the ends of 32 and 64 bits.
inline constexpr int64_t kSerials[] = {kI64Min, kI64Min + 1, -(int64_t{1} << 40), kI32Min, gregorian::kNullDate - 1,
                                       gregorian::kNullDate, gregorian::kFirstSerial, 0, 1, 2, 32, 45320, 73415,
                                       73416, 73443, 73444, QEL_FIRST_LUNAR_SERIAL - 1, QEL_FIRST_LUNAR_SERIAL,
                                       QEL_LAST_LUNAR_SERIAL, QEL_LAST_LUNAR_SERIAL + 1, gregorian::kLastSerial, gregorian::kLastSerial + 1,
                                       gregorian::kLastDecodable, gregorian::kLastDecodable + 1, kI32Max,
                                       int64_t{1} << 40, kI64Max};
// Counts of days, weeks, months and years; of minutes and seconds.
inline constexpr int32_t kCounts[] = {kI32Min, kI32Min / 7, kI32Min / 12, -1000000000, -146097, -2412, -13, -12, -1,
                                      0, 1, 7, 12, 13, 1440, 2412, 146097, 1000000000, kI32Max / 12, kI32Max / 7,
                                      kI32Max};
inline constexpr int64_t kCounts64[] = {kI64Min, kI64Min + 1, kI64Min / 60, -(int64_t{1} << 50), -(int64_t{1} << 40),
                                        kI32Min, -86400, -1440, -1, 0, 1, 59, 60, 1440, 86400, 31536000, kI32Max,
                                        1000000000000, int64_t{1} << 40, int64_t{1} << 50, kI64Max / 60, kI64Max - 1,
                                        kI64Max};

// Packed words: valid moments, the fields' maxima, out-of-range fields,
// reserved bits set.
inline constexpr uint64_t kWords[] = {0, ~uint64_t{0}, word::pack(4095, 15, 31, 31, 63, 63),
                                      word::pack(1, 1, 1, 0, 0, 0), word::pack(2000, 2, 29, 23, 59, 58),
                                      word::pack(2017, 6, 30, 24, 60, 60), word::pack(2001, 2, 29, 0, 0, 0),
                                      word::pack(4095, 12, 31, 23, 59, 59), uint64_t{1} << 40,
                                      word::pack(2100, 12, 31, 0, 0, 0) | word::kReservedBits};
// Fields of a word, or of a civil time of day.
inline constexpr int32_t kClockFields[] = {kI32Min, -1, 0, 1, 22, 23, 24, 31, 59, 60, 63, 64, kI32Max};
inline constexpr int32_t kSecondsOfDay[] = {kI32Min, -1, 0, 1, 3599, 43200, 82800, 86399, 86400, kI32Max};
// 8-bit weekdays and week rows.
inline constexpr uint8_t kSmall[] = {0, 1, 2, 4, 5, 6, 7, 8, 255};
inline constexpr int32_t kFlags[] = {0, 1, 2, -1, kI32Min};

// Instants (seconds since 1970 UTC): the ends of 0001..9999 in UTC+8, of the
// terms (the first, the 立春 where the pillars begin, the last) and of the
// pillars (2201-01-01 00:00 UTC+8), 1970, the 2000 equinox.
constexpr int64_t cst_midnight(int64_t serial) { return (serial - QEL_EPOCH_UNIX) * 86400 - 8 * 3600; }
inline constexpr int64_t kFirstTermInstant = calendar::term_instant(0), kPillarInstant = calendar::term_instant(2),
                         kLastTermInstant = calendar::term_instant(calendar::kTermCount - 1),
                         kPillarsEnd = cst_midnight(gregorian::serial_from_civil(QEL_LAST_YEAR + 1, 1, 1));
inline constexpr int64_t kInstants[] = {kI64Min, kI64Min + 1, cst_midnight(QEL_FIRST_SERIAL) - 1,
                                        cst_midnight(QEL_FIRST_SERIAL), kFirstTermInstant - 1, kFirstTermInstant,
                                        kPillarInstant - 1, kPillarInstant, 0, 953537700, kLastTermInstant,
                                        kLastTermInstant + 1, kPillarsEnd - 1, kPillarsEnd,
                                        cst_midnight(QEL_LAST_SERIAL + 1) - 1, cst_midnight(QEL_LAST_SERIAL + 1), kI64Max};
// Indexes of names, terms, festivals, kinds and units.
inline constexpr int32_t kIndexes[] = {kI32Min, -1, 0, 1, 2, 6, 9, 10, 11, 12, 13, 15, 16, 22, 23, 24, 25, 29, 30, 31,
                                       59, 60, 100, kI32Max};
inline constexpr uint32_t kOptions[] = {0, 1, 2, 3, 4, 8, 12, 0x100, 0x201, 0x300, 0x80000000u, 0xFFFFFFFFu};
inline constexpr int64_t kEpochs[] = {kI64Min, -(int64_t{1} << 40) - 1, -(int64_t{1} << 40), 0, QEL_EPOCH_UNIX,
                                      QEL_EPOCH_POSTGRES, int64_t{1} << 40, (int64_t{1} << 40) + 1, kI64Max};
// Serials at the ends of the built-in holiday years 2004-2026 and of a
// caller's table for 2027.
inline constexpr int64_t kHolidaySerials[] = {kI64Min, kI32Min, 0, gregorian::serial_from_civil(2003, 12, 31),
                                              gregorian::serial_from_civil(2004, 1, 1),
                                              gregorian::serial_from_civil(2017, 7, 23),
                                              gregorian::serial_from_civil(2024, 2, 9),
                                              gregorian::serial_from_civil(2026, 12, 31),
                                              gregorian::serial_from_civil(2027, 1, 1),
                                              gregorian::serial_from_civil(2027, 6, 1),
                                              gregorian::serial_from_civil(2028, 1, 1), kI32Max, kI64Max};

// Texts, each in 64 bytes (NUL-padded), so that a length up to 64 stays
// inside: empty, dates, digits beyond 32 bits, invalid UTF-8, names.
inline constexpr char kTexts[][64] = {"", "2017-03-09 10:20:30", "2016/12/28", "9999-99-99", "-2147483648", "+",
                                      "99999999999999999999", "\xff\xfe\x80", "元宵", "Mid-Autumn Festival",
                                      "WINTER-SOLSTICE", "小寒", "\xe5\x85"};

}  // namespace qel::hostile

// The tool's view of one day, every answer taken from the library: the day
// serial, weekday, lunar date and its Chinese names, and the sexagenary day.
#pragma once

#include <optional>
#include <string>

#include "date_parse.h"
#include "encoding.h"
#include "qel_datetime.h"

namespace qeldate {

// The library's lunar table and solar terms cover these years; the lunar
// commands accept Gregorian years in the same range.
inline constexpr int kFirstLunarYear = 1900;
inline constexpr int kLastLunarYear = 2100;

DateInt serial_of(const Ymd& date);  // Precondition: a valid date
Ymd date_of(DateInt serial);
int weekday_of(DateInt serial);  // 1 = Monday .. 7 = Sunday
const char* weekday_name(int weekday);
const char* weekday_abbr(int weekday);  // Mon .. Sun
const char* month_name(int month);      // January .. December

struct Lunar {
    int year = 0, month = 0, day = 0, leap = 0;
};

// The lunar date of a Gregorian date 1900-01-01 .. 2100-12-31, else nothing.
std::optional<Lunar> lunar_of(const Ymd& date);
// The day serial of a lunar date that exists, else nothing.
std::optional<DateInt> serial_of_lunar(const Lunar& lunar);

// The library's GBK names in the output encoding. Precondition: a valid date.
std::string lunar_text(const Lunar& lunar, int parts, const Text& text);  // 2 month, 1 day, 3 both
std::string lunar_year_name(const Lunar& lunar, const Text& text);        // stem and branch, 丁酉
std::string lunar_animal(const Lunar& lunar, const Text& text);           // 鸡

// The sexagenary day count: 0 = 甲子 .. 59 = 癸亥, every day one step on.
int day_cycle_index(DateInt serial);
// Its stem-branch name, 辛亥 for 2017-07-23.
std::string day_cycle_name(DateInt serial, const Text& text);

// "Now": QELDATE_TODAY (YYYY-MM-DD or YYYY-MM-DDTHH:MM:SS) when it is set,
// else the local clock. A bad QELDATE_TODAY is a UsageError.
Moment current_moment();

}  // namespace qeldate

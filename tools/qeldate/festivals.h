// The traditional festivals (the tool's own list) and the look-ups of lunar
// dates that people make: which festivals fall on a day, when a festival or a
// lunar date comes next, and a lunar date's day in each year (birthdays).
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "date_parse.h"
#include "day_info.h"

namespace qeldate {

struct Context;

enum class FestivalRule {
    kLunarDay,      // a fixed day of an ordinary lunar month
    kLunarYearEnd,  // the last day of the lunar year, 29 or 30 of month 12
    kSolarTerm,     // the day of a solar term
};

struct Festival {
    const char* key;      // for `qeldate next`
    const char* chinese;  // UTF-8
    const char* short_chinese;  // two characters, for the month grid
    const char* english;
    FestivalRule rule;
    int month = 0, day = 0;  // kLunarDay
    int term = 0;            // kSolarTerm
};

inline constexpr Festival kFestivals[] = {
    {"spring-festival", "春节", "春节", "Spring Festival", FestivalRule::kLunarDay, 1, 1},
    {"lantern", "元宵节", "元宵", "Lantern Festival", FestivalRule::kLunarDay, 1, 15},
    {"qingming", "清明节", "清明", "Qingming Festival", FestivalRule::kSolarTerm, 0, 0, 6},
    {"dragon-boat", "端午节", "端午", "Dragon Boat Festival", FestivalRule::kLunarDay, 5, 5},
    {"qixi", "七夕", "七夕", "Qixi Festival", FestivalRule::kLunarDay, 7, 7},
    {"mid-autumn", "中秋节", "中秋", "Mid-Autumn Festival", FestivalRule::kLunarDay, 8, 15},
    {"double-ninth", "重阳节", "重阳", "Double Ninth Festival", FestivalRule::kLunarDay, 9, 9},
    {"winter-solstice", "冬至", "冬至", "Winter Solstice Festival", FestivalRule::kSolarTerm, 0, 0, 23},
    {"laba", "腊八节", "腊八", "Laba Festival", FestivalRule::kLunarDay, 12, 8},
    {"new-years-eve", "除夕", "除夕", "New Year's Eve", FestivalRule::kLunarYearEnd},
};

// The festivals of a day (none outside 1900..2100).
std::vector<const Festival*> festivals_on(const Ymd& date);
// The festival's day in a year: the lunar year for the lunar festivals, the
// Gregorian year for those of the solar terms. Nothing outside the table.
std::optional<DateInt> festival_day(const Festival& festival, int year);
// The first day on or after `from` that is the festival.
std::optional<DateInt> next_festival(const Festival& festival, DateInt from);
// A festival by key, Chinese name (UTF-8 or GBK) or English name.
const Festival* find_festival(std::string_view name);

// A lunar date in a given lunar year, for dates that recur: day 30 in a month
// of 29 days falls on day 29, and a day of a leap month falls in the ordinary
// month of the same number in years without that leap month.
std::optional<Lunar> lunar_anniversary(int lunar_year, int month, int day, bool leap);
// The next day on or after `from` that is exactly lunar month-day (of the
// leap month with `leap`), in a year where that day exists.
std::optional<DateInt> next_lunar_date(int month, int day, bool leap, DateInt from);

// `qeldate next WHAT`.
void run_next(const Context& context, std::string_view what, bool leap);

}  // namespace qeldate

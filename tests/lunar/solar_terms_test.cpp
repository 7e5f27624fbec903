// The solar-term table and getLunarTermDay: published rows and almanac
// instants. (Every term's day against its instant in UTC+8, and the
// arguments out of range, are checked by check_term_day and
// check_term_instant in lunar_test and calendar_test; every instant of
// 1901-2099 against lunar-javascript's in lunar_js_test.)
#include <chrono>
#include <climits>
#include <cstdint>
#include <cstdlib>

#include <gtest/gtest.h>

#include "lunar/solar_term_table.h"
#include "qel_datetime.h"
#include "calendar/solar_term_instants.h"

namespace {

using namespace std::chrono;
using qel::lunar::SolarTermTable;

constexpr int kDaySeconds = 86400;

int cell(int y, int term) { return (y - 1900) * 24 + term; }
sys_days term_day(int y, int term) { return sys_days{year{y} / 1 / 1} + days{SolarTermTable[cell(y, term)]}; }

// The term's instant (UTC+8, truncated), in seconds from 1900-01-01 00:00 UTC+8.
int64_t term_instant(int y, int term) {
    return (term_day(y, term) - sys_days{year{1900} / 1 / 1}).count() * int64_t{kDaySeconds} +
           qel::calendar::kSolarTermSecondOfDay[cell(y, term)];
}

TEST(SolarTerms, PublishedRows) {
    static constexpr uint16_t kRows[][25] = {
        {1900, 5, 19, 34, 49, 64, 79, 94, 109, 125, 140, 156, 172, 187, 203, 219, 234, 250, 265, 281, 296, 311, 326, 340, 355},
        {1901, 5, 20, 34, 49, 64, 79, 94, 110, 125, 141, 156, 172, 188, 203, 219, 235, 250, 266, 281, 296, 311, 326, 341, 355},
        {2000, 5, 20, 34, 49, 64, 79, 94, 110, 125, 141, 156, 172, 188, 203, 219, 235, 250, 266, 281, 296, 311, 326, 341, 355},
        {2001, 4, 19, 34, 48, 63, 78, 94, 109, 124, 140, 155, 171, 187, 203, 218, 234, 249, 265, 280, 295, 310, 325, 340, 355},
        {2099, 4, 19, 33, 48, 63, 78, 93, 109, 124, 140, 155, 171, 187, 202, 218, 234, 249, 265, 280, 295, 310, 325, 340, 354},
        {2100, 4, 19, 34, 48, 63, 78, 94, 109, 124, 140, 155, 171, 187, 203, 218, 234, 249, 265, 280, 295, 310, 325, 340, 355},
    };
    for (const auto& row : kRows)
        for (int term = 0; term < 24; ++term)
            EXPECT_EQ(SolarTermTable[cell(row[0], term)], row[term + 1]) << row[0] << " term " << term;
}

TEST(SolarTerms, PublishedDatesAndBadArguments) {
    struct Case {
        int32_t year, term;
        DateTimeInt word;
        const char* why;
    } static constexpr kCases[] = {
        {2000, 0, 0x1F404C0000, "2000-01-06"},
        {1900, 0, 0x1DB04C0000, "1900-01-06, the first cell"},
        {2100, 23, 0x20D32C0000, "2100-12-22, the last cell"},
        {2000, 4, 0x1F40CA0000, "2000-03-05: offset 64 in a leap year"},
        {2001, 4, 0x1F44CA0000, "2001-03-05: offset 63"},
        {2019, 5, 0x1F8CEA0000, "2019-03-21 05:58; 20 March in UTC"},
        {2015, 11, 0x1F7DAC0000, "2015-06-22 00:38; 21 June in UTC"},
        {2021, 23, 0x1F972A0000, "2021-12-21 23:59"},
        {2000, 24, 0, "no term 24"}, {1899, 0, 0, "before the table"}, {2101, 0, 0, "after the table"},
    };
    for (const Case& c : kCases) EXPECT_EQ(getLunarTermDay(c.year, c.term), c.word) << c.why;
}

// Equinoxes (terms 5, 17) and solstices (11, 23) as the almanac offices
// publish them, in UTC to the minute.
TEST(SolarTerms, EquinoxesAndSolsticesMatchTheAlmanac) {
    static constexpr int kEvents[][6] = {  // year, term, month, day, hour, minute
        {2000, 5, 3, 20, 7, 35},  {2000, 11, 6, 21, 1, 48},  {2000, 17, 9, 22, 17, 28}, {2000, 23, 12, 21, 13, 37},
        {2012, 5, 3, 20, 5, 14},  {2012, 11, 6, 20, 23, 9},  {2012, 17, 9, 22, 14, 49}, {2012, 23, 12, 21, 11, 12},
        {2020, 5, 3, 20, 3, 50},  {2020, 11, 6, 20, 21, 44}, {2020, 17, 9, 22, 13, 31}, {2020, 23, 12, 21, 10, 2},
        {2024, 5, 3, 20, 3, 6},   {2024, 11, 6, 20, 20, 51}, {2024, 17, 9, 22, 12, 44}, {2024, 23, 12, 21, 9, 21},
        {2015, 11, 6, 21, 16, 38}, {2019, 5, 3, 20, 21, 58},
    };
    const sys_seconds origin = sys_days{year{1900} / 1 / 1} - hours{8};  // 00:00 UTC+8
    for (const auto& [y, term, m, d, h, min] : kEvents) {
        const sys_seconds utc = sys_days{year{y} / m / d} + hours{h} + minutes{min};
        EXPECT_LE(std::llabs(term_instant(y, term) - (utc - origin).count()), 60) << y << " term " << term;
    }
}

}  // namespace

// The solar-term table and getLunarTermDay: published rows and dates.
// (Every term's day against its instant in UTC+8, and the arguments out of
// range, are checked by check_term_day and check_term_instant in lunar_test
// and calendar_test; every instant of 1901-2099 against lunar-javascript's in
// lunar_js_test.)
#include <climits>
#include <cstdint>

#include <gtest/gtest.h>

#include "lunar/solar_term_table.h"
#include "qel_datetime.h"

namespace {

using qel::lunar::SolarTermTable;

int cell(int y, int term) { return (y - 1900) * 24 + term; }

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

}  // namespace

// The lunar year table and its lookups: facts the table must reproduce, and
// the answers for the years and months it does not hold.
#include <climits>
#include <cstdint>
#include <map>

#include <gtest/gtest.h>

#include "lunar/lookup.h"
#include "qel_datetime.h"

namespace {

using qel::lunar::year_days;

TEST(LunarTable, YearLengthsMonthSumsAndBigLeapMarkers) {
    std::map<int, int> histogram;
    for (int32_t y = 1900; y <= 2100; ++y) {
        ++histogram[year_days(y)];
        const int32_t leap = GetLeapMonthInPYear(y);
        int32_t sum = leap ? getPMonthDays(y, leap, 1) : 0;
        for (int32_t m = 1; m <= 12; ++m) sum += getPMonthDays(y, m, 0);
        EXPECT_EQ(sum, year_days(y)) << y;
        // Nibble 15 marks exactly the years that follow a big leap month.
        const bool marker = (qel::lunar::LunarYearInfo[y - 1900] & 0xF) == 15;
        EXPECT_EQ(marker, qel::lunar::leap_month_days(y - 1) == 30) << y;
    }
    EXPECT_EQ(histogram, (std::map<int, int>{{353, 1}, {354, 84}, {355, 42}, {383, 6}, {384, 65}, {385, 3}}));
    // The leap flag asks for the year's leap month whatever the month: 2017 has a
    // 30-day leap month 6, 2018 none.
    EXPECT_EQ(getPMonthDays(2017, 6, 0) + getPMonthDays(2017, 3, 1) + getPMonthDays(2018, 1, 1), 29 + 30 + 0);
}

TEST(LunarTable, OutsideTheTableTwelveSmallMonthsAndNoMonth13) {
    for (int32_t y : {INT32_MIN, 0, 1899, 2101, 2103, 2104, INT32_MAX}) {
        EXPECT_EQ(GetLeapMonthInPYear(y) + getPMonthDays(y, 1, 1), 0) << y;
        for (int32_t m = 1; m <= 12; ++m) EXPECT_EQ(getPMonthDays(y, m, 0), 29) << y << '/' << m;
    }
    for (int32_t m : {INT32_MIN, 0, 13, 16, 17, INT32_MAX})  // 13..16 would read the leap nibble
        EXPECT_EQ(getPMonthDays(2017, m, 0), 0) << m;
}

}  // namespace

// Weekday-of-month queries against a brute-force walk of each month's days,
// with weekdays taken from std::chrono, for every month of the years 1..9999.
#include <array>
#include <chrono>
#include <cstdint>

#include <gtest/gtest.h>

#include "qel_datetime.h"

namespace {

using namespace std::chrono;

constexpr sys_days kEpoch = year{1899} / December / 30;

// The calendar rows of one month, built by walking its days: cell[row][weekday]
// is the serial of that day, or 0 when the cell lies in another month.
struct WalkedMonth {
    int rows = 0;
    std::array<std::array<DateInt, 8>, 6> cell{};
    std::array<std::array<DateInt, 8>, 6> nth{};  // nth[k][wd]: the (k+1)-th wd
};

WalkedMonth walk(int y, unsigned m) {
    WalkedMonth w;
    const year_month ym = year{y} / month{m};
    std::array<int, 8> seen{};
    int row = 0;
    for (sys_days d = ym / 1; d <= sys_days{ym / last}; d += days{1}) {
        const unsigned wd = weekday{d}.iso_encoding();
        if (wd == 1 && d != sys_days{ym / 1}) ++row;  // a Monday starts a new row
        w.cell[row][wd] = (d - kEpoch).count();
        w.nth[seen[wd]++][wd] = (d - kEpoch).count();
    }
    w.rows = row + 1;
    return w;
}

TEST(WeekdayQuery, EveryMonthOfYears1To9999MatchesTheWalk) {
    for (int y = 1; y <= 9999; ++y) {
        for (unsigned m = 1; m <= 12; ++m) {
            const WalkedMonth w = walk(y, m);
            const auto yy = static_cast<unsigned short>(y), mm = static_cast<unsigned short>(m);
            ASSERT_EQ(weeksInMonth(yy, mm), w.rows) << y << '-' << m;
            for (unsigned char wd = 1; wd <= 7; ++wd) {
                for (unsigned char k = 0; k < 6; ++k) {
                    ASSERT_EQ(getDateByWeeksday(yy, mm, k, wd), w.cell[k][wd])
                        << y << '-' << m << " row " << int(k) << " weekday " << int(wd);
                    ASSERT_EQ(getDateByWeekdays(yy, mm, k, wd), w.nth[k][wd])
                        << y << '-' << m << " occurrence " << int(k) << " weekday " << int(wd);
                }
                ASSERT_EQ(lastweekDayDate(yy, mm, wd), w.cell[w.rows - 1][wd]) << y << '-' << m;
            }
        }
    }
}

TEST(WeekdayQuery, December2016) {
    // 1 December 2016 is a Thursday; the month spans rows 0..4.
    EXPECT_EQ(weeksInMonth(2016, 12), 5);
    EXPECT_EQ(getDateByWeeksday(2016, 12, 0, 1), 0) << "the Monday of row 0 is 28 November";
    EXPECT_EQ(getDateByWeeksday(2016, 12, 0, 4), 42705);
    EXPECT_EQ(getDateByWeeksday(2016, 12, 4, 7), 0) << "that Sunday is 1 January";
    EXPECT_EQ(getDateByWeekdays(2016, 12, 0, 1), 42709) << "the first Monday is in row 1";
    EXPECT_EQ(getDateByWeekdays(2016, 12, 4, 4), 42733) << "fifth Thursday";
    EXPECT_EQ(lastweekDayDate(2016, 12, 1), 42730);
    EXPECT_EQ(lastweekDayDate(2016, 12, 7), 0) << "the last row ends on a Saturday";
    // 0 is also the serial of 1899-12-30, the Saturday of that month's last row.
    EXPECT_EQ(lastweekDayDate(1899, 12, 6), 0);
}

TEST(WeekdayQuery, ArgumentsOutsideTheirRanges) {
    for (unsigned short y : {0, 10000, 65535})
        for (unsigned short m : {0, 1, 12, 13}) {
            EXPECT_EQ(weeksInMonth(y, m), 0) << y << '-' << m;
            EXPECT_EQ(getDateByWeeksday(y, m, 1, 1), 0);
            EXPECT_EQ(getDateByWeekdays(y, m, 1, 1), 0);
            EXPECT_EQ(lastweekDayDate(y, m, 1), 0);
        }
    // A weekday beyond 7 lands past the end of the month: no such day.
    EXPECT_EQ(getDateByWeeksday(2016, 12, 0, 255), 0);
    EXPECT_EQ(getDateByWeekdays(2016, 12, 0, 200), 0);
    EXPECT_EQ(lastweekDayDate(2016, 12, 255), 0);
    EXPECT_EQ(getDateByWeeksday(2016, 12, 255, 1), 0);
    // Weekday 0 is the Sunday before Monday: row 1's is 4 December.
    EXPECT_EQ(getDateByWeeksday(2016, 12, 1, 0), 42708);
}

}  // namespace

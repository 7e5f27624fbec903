// Gregorian <-> lunar conversion: the table-driven functions against the
// literal walks on every serial from 1899-01-01 to 2102-12-31, round trips
// over the whole table, and the answers beyond its edges.
#include <array>
#include <climits>
#include <cstdint>

#include <gtest/gtest.h>

#include "gregorian/civil.h"
#include "qel_datetime.h"
#include "reference/lunar_reference.h"

namespace {

using qel::gregorian::serial_from_civil;
using Lunar = std::array<int32_t, 4>;  // year, month, day, leap
using Gregorian = std::array<int32_t, 3>;

Lunar by_serial(DateInt serial) {
    Lunar l{-7, -7, -7, -7};
    EXPECT_EQ(GDateToPDateByTDate(serial, &l[0], &l[1], &l[2], &l[3]), 1);
    return l;
}

TEST(Convert, EqualsTheWalkOnEverySerialFrom1899To2102) {
    for (DateInt s = serial_from_civil(1899, 1, 1); s <= serial_from_civil(2102, 12, 31); ++s) {
        Lunar want{};
        qel::reference::gdate_to_pdate_walk(s, &want[0], &want[1], &want[2], &want[3]);
        ASSERT_EQ(by_serial(s), want) << "serial " << s;
    }
}

// Every day converts, is valid, converts back (as the walk sums it), and is one
// day after the day before it.
TEST(Convert, EveryDayOfTheTableRoundTrips) {
    Lunar prev{1899, 12, 1, 0};
    for (DateInt s = serial_from_civil(1900, 1, 1); s <= serial_from_civil(2101, 1, 28); ++s) {
        const auto g = qel::gregorian::civil_from_serial(s);
        Lunar l = by_serial(s);
        if (g.year <= 2100) {
            ASSERT_EQ(GDateToPDate(g.year, g.month, g.day, &l[0], &l[1], &l[2], &l[3]), 1);
        }
        ASSERT_EQ(PDateIsValid(l[0], l[1], l[2], l[3]), 1) << "serial " << s;
        Gregorian back{}, walk{};
        ASSERT_EQ(PDateToGDate(l[0], l[1], l[2], l[3], &back[0], &back[1], &back[2]), 1);
        qel::reference::pdate_to_gdate_walk(l[0], l[1], l[2], l[3], &walk[0], &walk[1], &walk[2]);
        ASSERT_EQ(back, (Gregorian{g.year, g.month, g.day}));
        ASSERT_EQ(back, walk);
        ASSERT_EQ(DaysBetweenPDate(prev[0], prev[1], prev[2], prev[3], l[0], l[1], l[2], l[3]), s == 2 ? 0 : 1);
        prev = l;
    }
}

TEST(Convert, BeyondTheTableTheDayCountRunsOnAndSaturates) {
    EXPECT_EQ(by_serial(INT32_MIN + 1), (Lunar{1899, 12, INT32_MIN, 0}));
    EXPECT_EQ(by_serial(INT64_MIN), (Lunar{1899, 12, INT32_MIN, 0}));
    EXPECT_EQ(by_serial(INT64_MAX), (Lunar{2100, 13, INT32_MAX, 0}));
}

TEST(Convert, FailuresWriteNothing) {
    for (const Gregorian& g : {Gregorian{1899, 12, 31}, {2101, 1, 1}, {INT32_MIN, 1, 1}, {2000, 2, 30}, {2000, 0, 1}}) {
        Lunar l{-7, -7, -7, -7};
        EXPECT_EQ(GDateToPDate(g[0], g[1], g[2], &l[0], &l[1], &l[2], &l[3]), g[0] == 2000 ? -1 : -2) << g[0];
        EXPECT_EQ(l, (Lunar{-7, -7, -7, -7}));
    }
    // 16-bit fields, as the Gregorian encoder takes them: month 65537 is 1.
    EXPECT_EQ(GDateToPDate(2017, 65537, 28, nullptr, nullptr, nullptr, nullptr), 1);
    const struct { Lunar l; int32_t status; } p2g[] = {
        {{2017, 5, 1, 1}, -1}, {{2018, 1, 1, 1}, -1}, {{2017, 13, 1, 2}, -1}, {{1899, 12, 31, 0}, 0},
        {{1899, 12, 1, 1}, 0}, {{1898, 12, 1, 0}, 0}, {{2101, 1, 1, 0}, 0},   {{2017, 13, 1, 0}, 0},
        {{2017, 1, INT32_MIN, 0}, 0}};  // before 0001-01-01
    for (const auto& [l, status] : p2g) {
        Gregorian g{-7, -7, -7};
        EXPECT_EQ(PDateToGDate(l[0], l[1], l[2], l[3], &g[0], &g[1], &g[2]), status) << l[0] << '/' << l[1];
        EXPECT_EQ(g, (Gregorian{-7, -7, -7}));
        EXPECT_EQ(DaysBetweenPDate(l[0], l[1], l[2], l[3], 2017, 1, 1, 0), 0);
    }
    Gregorian g{};  // days run on past the month's end: ordinary month 6 of 2017 has 29
    EXPECT_EQ(PDateToGDate(2017, 6, 30, 0, &g[0], &g[1], &g[2]), 1);
    EXPECT_EQ(g, (Gregorian{2017, 7, 23}));
    EXPECT_EQ(DaysBetweenPDate(2017, 6, 1, 1, 2017, 6, 1, 0), -29);
}

}  // namespace

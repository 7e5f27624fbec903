// The nearest-date searches against the literal month-by-month and
// year-by-year walks, including values that only test valid as 16-bit.
#include <climits>
#include <cstdint>

#include <gtest/gtest.h>

#include "qel_datetime.h"

namespace {

bool valid16(int64_t y, int64_t m, int64_t d) {
    return GDateIsValid(static_cast<unsigned short>(y), static_cast<unsigned short>(m),
                        static_cast<unsigned short>(d)) == 1;
}

// The walks as written: one candidate per step.
int32_t day_walk(int32_t* y, int32_t* m, int32_t* d) {
    int64_t year = *y, month = *m;
    for (int advanced = 0;;) {
        if (valid16(year, month, *d)) {
            *y = static_cast<int32_t>(static_cast<uint32_t>(year));
            *m = static_cast<int32_t>(month);
            return 1;
        }
        if (++month > 12) {
            ++year;
            ++advanced;
            month = 1;
        }
        if (advanced >= 5) return 0;
    }
}

int32_t month_day_walk(int32_t* y, int32_t* m, int32_t* d) {
    for (int64_t year = *y, tried = 0; tried < 60; ++tried, ++year)
        if (valid16(year, *m, *d)) {
            *y = static_cast<int32_t>(static_cast<uint32_t>(year));
            return 1;
        }
    return 0;
}

struct Triple {
    int32_t y, m, d;
    bool operator==(const Triple&) const = default;
};

TEST(NearestDate, TableOfCalendarFacts) {
    struct Case {
        Triple in;
        int32_t (*search)(int32_t*, int32_t*, int32_t*);
        int result;
        Triple out;
    };
    const Case cases[] = {
        {{2016, 2, 30}, findGDateInDay, 1, {2016, 3, 30}},
        {{2015, 2, 29}, findGDateInDay, 1, {2015, 3, 29}},
        {{2016, 13, 5}, findGDateInDay, 1, {2017, 1, 5}},
        {{2016, -3, 5}, findGDateInDay, 1, {2016, 1, 5}},
        {{0, 5, 5}, findGDateInDay, 1, {1, 1, 5}},
        {{9999, 12, 31}, findGDateInDay, 1, {9999, 12, 31}},
        {{2016, 5, 32}, findGDateInDay, 0, {2016, 5, 32}},
        {{2016, 5, 0}, findGDateInDay, 0, {2016, 5, 0}},
        {{2015, 2, 29}, findGDateInMonthDay, 1, {2016, 2, 29}},
        {{2097, 2, 29}, findGDateInMonthDay, 1, {2104, 2, 29}},  // 2100 is not leap
        {{0, 2, 29}, findGDateInMonthDay, 1, {4, 2, 29}},
        {{2016, 4, 31}, findGDateInMonthDay, 0, {2016, 4, 31}},
        {{9999, 2, 29}, findGDateInMonthDay, 0, {9999, 2, 29}},
        // Values that test as 16-bit: month -65535 is month 1, year 67552 is 2016.
        {{2016, -65535, 31}, findGDateInDay, 1, {2016, -65535, 31}},
        {{67552, 2, 29}, findGDateInMonthDay, 1, {67552, 2, 29}},
    };
    for (const auto& c : cases) {
        Triple t = c.in;
        EXPECT_EQ(c.search(&t.y, &t.m, &t.d), c.result) << c.in.y << '-' << c.in.m << '-' << c.in.d;
        EXPECT_EQ(t, c.out) << c.in.y << '-' << c.in.m << '-' << c.in.d;
    }
    int32_t y = 2016, m = 2;
    EXPECT_EQ(findGDateInDay(&y, &m, nullptr), 0);
    EXPECT_EQ(findGDateInMonthDay(nullptr, &m, &y), 0);
}

TEST(NearestDate, AgreesWithTheWalksOnAGrid) {
    const int32_t years[] = {INT32_MIN, -1, 0, 1, 1899, 2015, 2016, 2096, 2097, 9995, 9999,
                             10000, 65535, 65536, 67552, INT32_MAX - 2, INT32_MAX};
    const int32_t months[] = {-140000, -131070, -131061, -65536, -65535, -65524, -65523, -3, 0,
                              1, 2, 4, 11, 12, 13, 65537, 65548, 65549, INT32_MAX};
    const int32_t days[] = {-65505, 0, 1, 28, 29, 30, 31, 32, 65565};
    for (int32_t y : years)
        for (int32_t m : months)
            for (int32_t d : days) {
                Triple want{y, m, d}, got{y, m, d};
                ASSERT_EQ(findGDateInDay(&got.y, &got.m, &got.d), day_walk(&want.y, &want.m, &want.d))
                    << y << ' ' << m << ' ' << d;
                ASSERT_EQ(got, want) << y << ' ' << m << ' ' << d;
                want = got = {y, m, d};
                ASSERT_EQ(findGDateInMonthDay(&got.y, &got.m, &got.d),
                          month_day_walk(&want.y, &want.m, &want.d))
                    << y << ' ' << m << ' ' << d;
                ASSERT_EQ(got, want) << y << ' ' << m << ' ' << d;
            }
}

TEST(NearestDate, ExtremeMonthsFinishAtOnce) {
    // The literal walk would count INT32_MIN up toward 1 one month at a time.
    Triple t{2016, INT32_MIN, 15};
    EXPECT_EQ(findGDateInDay(&t.y, &t.m, &t.d), 1);
    // INT32_MIN = -32768 * 65536 tests as month 0; the next month tests as 1.
    EXPECT_EQ(t, (Triple{2016, INT32_MIN + 1, 15}));
}

}  // namespace

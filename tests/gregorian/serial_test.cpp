// Day serials against two independent oracles: C++20 std::chrono for every day
// 0001-01-01..9999-12-31, and the literal 400-year-loop decoder for every
// serial the decoder accepts.
#include <chrono>
#include <climits>
#include <cstdint>

#include <gtest/gtest.h>

#include "gregorian/civil.h"
#include "qel_datetime.h"
#include "reference/gregorian_reference.h"

namespace {

using namespace std::chrono;

constexpr sys_days kEpoch = year{1899} / December / 30;  // serial 0

TEST(Serial, EveryDayOfYears1To9999AgreesWithChrono) {
    const sys_days first = year{1} / January / 1;
    const sys_days last = year{9999} / December / 31;
    for (sys_days d = first; d <= last; d += days{1}) {
        const year_month_day ymd{d};
        const auto y = static_cast<unsigned short>(int(ymd.year()));
        const auto m = static_cast<unsigned short>(unsigned(ymd.month()));
        const auto dd = static_cast<unsigned short>(unsigned(ymd.day()));
        const DateInt serial = (d - kEpoch).count();

        ASSERT_EQ(EncodeDate(y, m, dd), serial) << int(y) << '-' << m << '-' << dd;
        unsigned short y2 = 0, m2 = 0, d2 = 0;
        ASSERT_EQ(DecodeDate(serial, &y2, &m2, &d2), 1);
        ASSERT_EQ(year_month_day(year{y2} / m2 / d2), ymd) << "serial " << serial;
        ASSERT_EQ(GDateIsValid(y, m, dd), 1);
        ASSERT_EQ(DayOfWeek(serial), int(weekday{d}.iso_encoding())) << "serial " << serial;
        ASSERT_EQ(DayOfGYear(y, m, dd), (d - sys_days{ymd.year() / January / 1}).count() + 1);
        if (dd == 1) {
            const auto last_day = unsigned(year_month_day_last(ymd.year(), month_day_last(ymd.month())).day());
            ASSERT_EQ(daysOfMonthG(y, m), int(last_day));
            ASSERT_EQ(GDateIsValid(y, m, static_cast<unsigned short>(last_day + 1)), 0);
        }
    }
}

TEST(Serial, DecodeEqualsTheLiteralDecoderOnEveryDecodableSerial) {
    for (DateInt s = qel::gregorian::kNullDate; s <= qel::gregorian::kLastDecodable; ++s) {
        unsigned short y = 0, m = 0, d = 0, ry = 0, rm = 0, rd = 0;
        DecodeDate(s, &y, &m, &d);
        qel::reference::decode_date_loop(s, &ry, &rm, &rd);
        ASSERT_TRUE(y == ry && m == rm && d == rd) << "serial " << s;
    }
}

struct DateCase {
    unsigned short y, m, d;
    DateInt serial;
    const char* why;
};

TEST(Serial, CalendarFacts) {
    const DateCase cases[] = {
        {1899, 12, 30, 0, "serial 0"},
        {1899, 12, 31, 1, ""},
        {1900, 1, 1, 2, "1900-01-01 is 2, not 1"},
        {1, 1, 1, -693593, "first encodable day"},
        {9999, 12, 31, 2958465, "last encodable day"},
        {2000, 2, 29, 36585, "leap day of a 400-year leap year"},
        {2000, 12, 31, 36891, "last day of a 400-year cycle (c = 4 in the literal decoder)"},
        {2004, 12, 31, 38352, "closes a four-year group (a = 4)"},
        {1996, 12, 31, 35430, "closes a four-year group (a = 4)"},
        {10000, 1, 1, 2958466, "decodes beyond 9999 but does not encode"},
        {65535, 12, 31, 23242572, "last decodable day"},
    };
    for (const auto& c : cases) {
        unsigned short y = 0, m = 0, d = 0;
        DecodeDate(c.serial, &y, &m, &d);
        EXPECT_TRUE(y == c.y && m == c.m && d == c.d) << c.serial << ' ' << c.why;
        if (c.y <= 9999) {
            EXPECT_EQ(EncodeDate(c.y, c.m, c.d), c.serial) << c.why;
        }
    }
}

TEST(Serial, InvalidDatesAndTheNullDate) {
    // Not valid: year 0 and 10000, month 0 and 13, day 0, 31 April, 29 February
    // of 1900 and 2100 (centuries not divisible by 400).
    const unsigned short invalid[][3] = {{1900, 2, 29}, {2100, 2, 29}, {0, 1, 1},   {10000, 1, 1},
                                         {2016, 0, 1},  {2016, 13, 1}, {2016, 1, 0}, {2016, 4, 31}};
    for (const auto& d : invalid) {
        EXPECT_EQ(GDateIsValid(d[0], d[1], d[2]), 0) << d[0] << '-' << d[1] << '-' << d[2];
        EXPECT_EQ(EncodeDate(d[0], d[1], d[2]), -693594) << "an invalid date encodes to the null date";
    }
    EXPECT_EQ(GDateIsValid(2000, 2, 29), 1);

    // The null date and everything the decoder does not cover decode to 0-0-0.
    for (DateInt s : {DateInt{-693594}, DateInt{-693595}, DateInt{23242573}, DateInt{INT64_MIN},
                      DateInt{INT64_MAX}}) {
        unsigned short y = 1, m = 1, d = 1;
        EXPECT_EQ(DecodeDate(s, &y, &m, &d), 1);
        EXPECT_TRUE(y == 0 && m == 0 && d == 0) << s;
    }
    unsigned short y = 7;
    EXPECT_EQ(DecodeDate(2, &y, nullptr, nullptr), 1) << "null pointers are skipped";
    EXPECT_EQ(y, 1900);
}

TEST(Serial, DayOfWeekOverTheWholeInt64Range) {
    // 1899-12-30 Saturday, 1900-01-01 Monday, 0001-01-01 Monday; below the null
    // date the truncating remainder is negative.
    const std::pair<DateInt, int> cases[] = {
        {0, 6}, {2, 1}, {-693593, 1}, {-693594, 7}, {-693595, -1}, {-693601, 7}, {-693600, -6},
        {INT64_MAX, 6},  // INT64_MAX = 2^63 - 1 is divisible by 7 (2^3 = 1 mod 7): 0 + 6
        {INT64_MIN, -2}, // -2^63 = -1 mod 7: (-1 + 6) - 7
    };
    for (const auto& [serial, weekday] : cases) EXPECT_EQ(DayOfWeek(serial), weekday) << serial;
    // Around the null date, against the formula in plain 64-bit arithmetic.
    for (DateInt s = -700000; s < -680000; ++s) {
        const int64_t r = (s + 693594) % 7;
        ASSERT_EQ(DayOfWeek(s), r == 0 ? 7 : r) << s;
    }
}

TEST(Serial, MonthLengthAndDayOfYearOnSignedYears) {
    EXPECT_EQ(daysOfMonthG(1900, 2), 28);
    EXPECT_EQ(daysOfMonthG(2000, 2), 29);
    EXPECT_EQ(daysOfMonthG(0, 2), 29);
    EXPECT_EQ(daysOfMonthG(-4, 2), 29);
    EXPECT_EQ(daysOfMonthG(-100, 2), 28);
    EXPECT_EQ(daysOfMonthG(INT32_MIN, 2), 29) << "-2^31 is divisible by 400";
    EXPECT_EQ(DayOfGYear(2016, 3, 1), 61);
    EXPECT_EQ(DayOfGYear(2015, 3, 1), 60);
    EXPECT_EQ(DayOfGYear(2016, 12, 31), 366);
    EXPECT_EQ(DayOfGYear(2015, 1, 40), 40) << "the day is not validated";
    EXPECT_EQ(DayOfGYear(2015, 12, INT32_MAX), INT32_MAX) << "saturates";
    EXPECT_EQ(DayOfGYear(2015, 1, INT32_MIN), INT32_MIN);
    for (int month : {INT32_MIN, -1, 0, 13, INT32_MAX}) {
        EXPECT_EQ(daysOfMonthG(2016, month), 0) << month;
        EXPECT_EQ(DayOfGYear(2016, month, 1), 0) << month;
    }
}

TEST(Serial, IncDate) {
    struct Case {
        unsigned short y, m, d;
        int64_t days;
        unsigned short ny, nm, nd;
    };
    const Case cases[] = {
        {2016, 2, 28, 1, 2016, 2, 29},      {2016, 12, 31, 1, 2017, 1, 1},
        {2016, 3, 1, -1, 2016, 2, 29},      {1, 1, 1, -1, 0, 0, 0},
        {1, 1, 1, -2, 0, 0, 0},             {9999, 12, 31, 1, 10000, 1, 1},
        {1, 1, 1, 23242572 + 693593, 65535, 12, 31},
        {1, 1, 1, 23242572 + 693594, 0, 0, 0},
        {2016, 2, 30, 1, 0, 0, 0},          // an invalid start gives the null date
        {2016, 1, 1, INT64_MAX, 0, 0, 0},   {2016, 1, 1, INT64_MIN, 0, 0, 0},
    };
    for (const auto& c : cases) {
        unsigned short y = 9, m = 9, d = 9;
        EXPECT_EQ(IncDate(c.y, c.m, c.d, &y, &m, &d, c.days), 1);
        EXPECT_TRUE(y == c.ny && m == c.nm && d == c.nd)
            << c.y << '-' << c.m << '-' << c.d << " + " << c.days << " gave " << y << '-' << m << '-' << d;
    }
}

}  // namespace

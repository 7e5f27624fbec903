// The Gregorian C functions swept through the checks of
// shared/gregorian_checks.h: over every day and month of 0001..9999 and the hostile tables; the
// decoder against the literal 400-year-loop decoder on every serial it
// accepts; and the calendar facts that fix the serials.
#include <gtest/gtest.h>

#include "reference/gregorian_reference.h"
#include "shared/gregorian_checks.h"
#include "shared/hostile.h"

namespace {

using namespace qel::checks;
namespace hostile = qel::hostile;

TEST(Gregorian, EveryDayAndMonthOfYears1To9999) {
    for (int y = 1; y <= 9999; ++y)
        for (unsigned m = 1; m <= 12; ++m) {
            ASSERT_CHECK(check_weekday_queries(uint16_t(y), uint16_t(m))) << y << "-" << m;
            for (unsigned d = 1; d <= 32; ++d) {
                ASSERT_CHECK(check_encode(uint16_t(y), uint16_t(m), uint16_t(d)) && check_month_tables(y, int(m), int(d)))
                    << y << "-" << m << "-" << d;
                if (d <= 28) {
                    ASSERT_CHECK(check_day_of_week(EncodeDate(uint16_t(y), uint16_t(m), uint16_t(d))));
                }
            }
        }
}

TEST(Gregorian, DecodeEqualsTheLiteralDecoderOnEveryDecodableSerial) {
    for (DateInt s = greg::kNullDate; s <= greg::kLastDecodable; ++s) {
        unsigned short y = 0, m = 0, d = 0, ry = 0, rm = 0, rd = 0;
        DecodeDate(s, &y, &m, &d);
        qel::reference::decode_date_loop(s, &ry, &rm, &rd);
        ASSERT_TRUE(y == ry && m == rm && d == rd) << "serial " << s;
    }
}

TEST(Gregorian, HostileFieldsSerialsAndCounts) {
    for (int32_t y : hostile::kYears)
        for (int32_t m : hostile::kMonths) {
            ASSERT_CHECK(check_weekday_queries(uint16_t(y), uint16_t(m))) << y << "-" << m;
            for (int32_t d : hostile::kDays) {
                ASSERT_CHECK(check_encode(uint16_t(y), uint16_t(m), uint16_t(d)) && check_month_tables(y, m, d))
                    << y << "-" << m << "-" << d;
                for (uint8_t nulls : {0, 1, 2, 4})
                    ASSERT_CHECK(check_searches(y, m, d, nulls, true) && check_searches(y, m, d, nulls, false))
                        << y << "-" << m << "-" << d << " " << int(nulls);
                for (int64_t days : hostile::kCounts) ASSERT_CHECK(check_inc_date(uint16_t(y), uint16_t(m), uint16_t(d), days));
                for (int64_t days : hostile::kSerials) ASSERT_CHECK(check_inc_date(uint16_t(y), uint16_t(m), uint16_t(d), days));
            }
        }
    for (DateInt s : hostile::kSerials)
        for (DateInt step : {-7, -1, 0, 1, 6})  // not "near": a macro of windows.h
            ASSERT_CHECK(check_decode(int64_t(uint64_t(s) + uint64_t(step))) &&
                         check_day_of_week(int64_t(uint64_t(s) + uint64_t(step))))
                << s << " " << step;
    for (DateInt s = -700000; s < -680000; ++s) ASSERT_CHECK(check_day_of_week(s)) << s;
}

TEST(Gregorian, CalendarFacts) {
    const struct {
        unsigned short y, m, d;
        DateInt serial;
    } rows[] = {
        {1899, 12, 30, 0},         {1900, 1, 1, 2},         // 1900-01-01 is 2, not 1
        {1, 1, 1, -693593},        {9999, 12, 31, 2958465},  // the encoder's range
        {2000, 2, 29, 36585},      {2000, 12, 31, 36891},    // the last day of a 400-year cycle
        {10000, 1, 1, 2958466},    {65535, 12, 31, 23242572},  // decoded, not encoded
    };
    for (const auto& r : rows) {
        unsigned short y = 0, m = 0, d = 0;
        DecodeDate(r.serial, &y, &m, &d);
        EXPECT_TRUE(y == r.y && m == r.m && d == r.d) << r.serial;
        EXPECT_EQ(EncodeDate(r.y, r.m, r.d), r.y <= 9999 ? r.serial : -693594);
    }
    // 1 December 2016 is a Thursday; the month spans rows 0..4; its first
    // Monday is in row 1, its last row ends on a Saturday.
    EXPECT_EQ(weeksInMonth(2016, 12), 5);
    EXPECT_EQ(getDateByWeeksday(2016, 12, 0, 4), 42705);
    EXPECT_EQ(getDateByWeekdays(2016, 12, 0, 1), 42709);
    EXPECT_EQ(lastweekDayDate(2016, 12, 7), 0);
    EXPECT_EQ(DayOfWeek(2), 1) << "1900-01-01, a Monday";
    int32_t y = 2097, m = 2, d = 29;
    EXPECT_EQ(findGDateInMonthDay(&y, &m, &d), 1);
    EXPECT_EQ(y, 2104) << "2100 is not a leap year";
}

}  // namespace

// The Gregorian C functions swept through the checks of
// shared/gregorian_checks.h (std::chrono's calendar, serial 0 = 1899-12-30,
// as the oracle) over every day and month of 0001..9999 and the hostile
// tables, and the decoder against the literal 400-year-loop decoder on every
// serial it accepts.
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

}  // namespace

// TDateTime, TDate and the packed C functions swept through the checks of
// shared/datetime_checks.h over random words and counts of every magnitude and over
// the hostile tables, and the documented cases: invalid stored values,
// extreme counts, durations.
#include <gtest/gtest.h>

#include <random>

#include "shared/datetime_checks.h"
#include "shared/hostile.h"

namespace {

using namespace qel::checks;
namespace hostile = qel::hostile;
using qel::oracle::random_count;

TEST(DateTime, RandomWordsAndCounts) {
    std::mt19937_64 rng(20240131);
    for (int i = 0; i < 60000; ++i) {
        // A moment of 1..4095 with random reserved bits, or any bits with short years and zero fields.
        const DateTimeInt w = i % 2 ? qel::oracle::word_of(qel::oracle::random_time(rng), rng()) : rng() >> (i % 48);
        const DateTimeInt other = i % 4 ? w ^ (rng() & rng() & rng()) : rng();  // often equal keys
        const auto n = int32_t(random_count(rng, 31));
        const int64_t n64 = random_count(rng, 63);
        const auto f = [&](int bits) { return int32_t(random_count(rng, bits)); };
        ASSERT_CHECK(check_construct(f(13), f(5), f(6), f(6), f(7), f(7), w, uint8_t(rng()), random_count(rng, 25)))
            << std::hex << w;
        ASSERT_CHECK(check_setter(w, i % 12, f(31), f(31), f(31), other) && check_compare(w, other))
            << std::hex << w << " " << other;
        ASSERT_CHECK(check_day_steps(w, n, f(15), f(5), f(6)) && check_time_steps(w, n64, true) &&
                     check_time_steps(w, n64 >> 6, false))
            << std::hex << w << std::dec << " " << n << " " << n64;
        ASSERT_CHECK(check_month_steps(w, int32_t(random_count(rng, i % 3 ? 15 : 31)), f(1), i % 5 == 0, f(15), f(5), f(6)))
            << std::hex << w;
        ASSERT_CHECK(check_differences(w, other, uint64_t(n64)) && check_render(w, other)) << std::hex << w << " " << other;
    }
}

TEST(DateTime, HostileWordsAndCounts) {
    for (DateTimeInt w : hostile::kWords) {
        for (int32_t n : hostile::kCounts)
            for (int32_t clamp : hostile::kFlags) {
                ASSERT_CHECK(check_day_steps(w, n, n, n, n) && check_month_steps(w, n, clamp, false, 2000, 1, 31) &&
                             check_month_steps(w, n, clamp, true, 1900, 2, 29))
                    << std::hex << w << std::dec << " " << n << " " << clamp;
                for (int which = 0; which < 12; ++which) ASSERT_CHECK(check_setter(w, which, n, clamp, n, ~w));
            }
        for (int64_t n : hostile::kCounts64) ASSERT_CHECK(check_time_steps(w, n, true) && check_time_steps(w, n, false));
        for (DateTimeInt x : hostile::kWords)
            ASSERT_CHECK(check_compare(w, x) && check_differences(w, x, x) && check_render(w, x)) << std::hex << w << " " << x;
        for (const char* text : hostile::kTexts) ASSERT_CHECK(check_parse(text, w)) << text;
    }
    for (int32_t y : hostile::kYears)
        for (int32_t m : hostile::kMonths)
            for (int32_t d : hostile::kDays) ASSERT_CHECK(check_construct(y, m, d, m, d, y, ~uint64_t(d), uint8_t(y), y));
}

TEST(DateTime, TheLayoutAndTheDocumentedCases) {
    const auto at = EncodeMinuteTime;
    // (The bit layout is held by the sweeps above against tests/shared/oracle.h.)
    EXPECT_EQ(TDate().setdays(70000, 1, 1).year(), 4464) << "70000 mod 65536";
    EXPECT_EQ(TDate().fromDateTime(TDateTime(TDate(5000, 1, 1))).year(), 904) << "5000 through 12 bits";
    // Steps of stored values that are not valid, and of extreme counts.
    struct Row {  // step: d(ays), s(econds), M(onths), Y(ears)
        DateTimeInt from; char step; int64_t count; int32_t clamp; DateTimeInt want; bool ok;
    };
    const Row rows[] = {
        {0, 'd', 1, 0, 0, 0},                                            // the null date has no serial
        {at(2001, 2, 29, 0, 0, 0), 's', -1, 0, at(2001, 2, 29, 23, 59, 59), 0},  // no carry: time stepped
        {at(2000, 1, 1, 31, 63, 63), 's', 0, 0, at(2000, 1, 2, 8, 4, 3), 0},     // 31:63:63 is 1 day 08:04:03
        {0, 'M', 0, 1, at(4095, 12, 31, 0, 0, 0), 1},                    // year -1, month 12, clamped
        {at(2000, 1, 31, 0, 0, 0), 'M', INT32_MAX, 1, at(634, 8, 31, 0, 0, 0), 1},  // 16-bit year 45690
        {at(1900, 2, 29, 0, 0, 0), 'Y', 65536, 1, at(1900, 2, 29, 0, 0, 0), 1},   // 67436 is leap
    };
    for (const auto& r : rows) {
        TDateTime x(r.from | (uint64_t{0x2A5} << 50));
        bool ok = false;
        if (r.step == 'd') x.incDay(int32_t(r.count));
        if (r.step == 's') x.incSecond(r.count);
        if (r.step == 'M') ok = x.incMonth(int32_t(r.count), r.clamp);
        if (r.step == 'Y') ok = x.incYear(int32_t(r.count), r.clamp);
        EXPECT_TRUE(x.value == (r.want | (uint64_t{0x2A5} << 50)) && ok == r.ok) << r.step << " " << r.count;
    }
    // Durations: 1 year 1 month 24 days 21:49:45; 360 days are month 12.
    EXPECT_EQ(FormatTwoTimeDelta(at(2016, 3, 15, 10, 20, 30), at(2015, 1, 20, 12, 30, 45)), 74538093u);
    EXPECT_EQ(FormatTwoTimeDelta(at(2016, 3, 1, 0, 0, 0), at(2016, 1, 31, 1, 0, 0)), at(0, 1, 0, 23, 0, 0));
    EXPECT_EQ(FormatSecondsDelta(31535999), at(0, 12, 4, 23, 59, 59));
    EXPECT_EQ(secondsDelta(at(2016, 13, 1, 0, 1, 1), at(0, 5, 9, 0, 0, 0)), 61) << "two invalid dates";
    // The date read from fixed positions: separators not read, values masked.
    TDateTime parsed(at(1999, 1, 2, 8, 9, 10));
    EXPECT_EQ(parsed.fromDateString("2016/12/28").value, at(2016, 12, 28, 8, 9, 10));
    EXPECT_EQ(parsed.fromDateString("9999-13-32").value, at(1807, 13, 0, 8, 9, 10));
    EXPECT_STREQ(TDateTime(5, 1, 1, 0, 0, 0).asDateTimeString().c_str(), "5-01-01 00:00:00") << "year not padded";
}

}  // namespace

// Distances against std::chrono; durations against the numbers they must add up to.
#include <cstdint>
#include <utility>

#include <gtest/gtest.h>

#include "datetime/chrono_oracle.h"

namespace {

using namespace qel::test;

// The six fields as one number of seconds in the radices of the borrow chain
// (years of 12 months of 30 days).
int64_t chain_seconds(DateTimeInt w) {
    const TDateTime t(w);
    return ((((int64_t{t.year()} * 12 + t.month()) * 30 + t.day()) * 24 + t.hour()) * 60 + t.minute()) * 60 +
           t.second();
}

TEST(Difference, DeltasAgreeWithChronoAndDurationsAddUp) {
    std::mt19937_64 rng(11);
    for (int i = 0; i < 100000; ++i) {
        const sys_seconds a = random_time(rng);
        sys_seconds b = i % 2 ? random_time(rng) : a + seconds{random_count(rng, 22)};  // near pairs too
        if (b < sys_days{year{1} / 1 / 1} || b >= sys_days{year{4096} / 1 / 1}) b = a;
        const DateTimeInt first = word_of(a, rng()), second = word_of(b, rng());
        ASSERT_EQ(secondsDelta(first, second), (a - b).count());
        ASSERT_EQ(minutesDelta(first, second), (floor<minutes>(a) - floor<minutes>(b)).count());
        // The later minus the earlier field by field, except that a day of -1
        // (day 1 against day 31 with an hour borrowed) is 0: one day more.
        const TDateTime d(FormatTwoTimeDelta(first, second));
        const int64_t apart = (chain_seconds(first) - chain_seconds(second)) *
                              ((first & kKeyBits) < (second & kKeyBits) ? -1 : 1);
        const int64_t excess = chain_seconds(d.value) - apart;
        ASSERT_TRUE(d.month() < 12 && d.day() <= 30 && d.hour() < 24 && d.minute() < 60 &&
                    d.second() < 60);  // day 31 - day 1
        ASSERT_TRUE(excess == 0 || (excess == 86400 && d.day() == 0)) << std::hex << first << ' ' << second;
        ASSERT_EQ(d.value & ~kKeyBits, first & ~kKeyBits) << "reserved bits of first";
    }
}

TEST(Difference, TheDocumentedCases) {
    const auto at = EncodeMinuteTime;
    EXPECT_EQ(secondsDelta(0, at(1, 1, 1, 0, 0, 0)), -86400) << "invalid counts as the day before 0001-01-01";
    EXPECT_EQ(secondsDelta(at(2016, 13, 1, 0, 1, 1), at(0, 5, 9, 0, 0, 0)), 61) << "two invalid dates";
    const DateTimeInt later = at(2016, 3, 15, 10, 20, 30), earlier = at(2015, 1, 20, 12, 30, 45);
    EXPECT_EQ(FormatTwoTimeDelta(later, earlier), 74538093u) << "1 year 1 month 24 days 21:49:45";
    EXPECT_EQ(FormatTwoTimeDelta(earlier | (7ull << 60), later), 74538093u | (7ull << 60)) << "swapped pair";
    EXPECT_EQ(FormatTwoTimeDelta(at(2016, 3, 1, 0, 0, 0), at(2016, 1, 31, 1, 0, 0)), at(0, 1, 0, 23, 0, 0));
    // 360 days are month 12, 365 days a year; the year count keeps 12 bits (UINT64_MAX: 584942417355 years).
    const std::pair<uint64_t, DateTimeInt> rows[] = {
        {59, 59}, {60, 64}, {3600, 4096}, {86400, 131072}, {90061, 135233}, {31104000, 50331648},
        {31103999, at(0, 11, 29, 23, 59, 59)}, {31535999, at(0, 12, 4, 23, 59, 59)}, {31536000, 67108864},
        {4096ull * 365 * 86400, 0}, {UINT64_MAX, at(1483, 0, 26, 7, 0, 15)}};
    for (const auto& [seconds, want] : rows) EXPECT_EQ(FormatSecondsDelta(seconds), want) << seconds;
}

}  // namespace

// Validity against the set of dates that the conversion produces, the two
// searches at the table's edges, and month stepping against the list of all
// lunar months in calendar order and against the literal one-month walk.
#include <array>
#include <climits>
#include <random>
#include <set>
#include <vector>

#include <gtest/gtest.h>

#include "qel_datetime.h"
#include "reference/lunar_reference.h"

namespace {

using Lunar = std::array<int32_t, 4>;  // year, month, day, leap

std::vector<Lunar> every_lunar_day() {
    std::vector<Lunar> days;
    for (DateInt s = EncodeDate(1900, 1, 1); s <= EncodeDate(2101, 1, 28); ++s) {
        Lunar& l = days.emplace_back();
        GDateToPDateByTDate(s, &l[0], &l[1], &l[2], &l[3]);
    }
    return days;
}

TEST(Validate, GridAgreesWithTheDatesTheConversionProduces) {
    const auto days = every_lunar_day();
    const std::set<Lunar> exists(days.begin(), days.end());
    for (int32_t y = 1895; y <= 2105; ++y)
        for (int32_t m = -1; m <= 14; ++m)
            for (int32_t d = -1; d <= 32; ++d)
                for (int32_t leap = 0; leap <= 2; ++leap)
                    ASSERT_EQ(PDateIsValid(y, m, d, leap), int32_t(exists.count({y, m, d, leap != 0})))
                        << y << '/' << m << '/' << d << '/' << leap;
}

TEST(Validate, SearchesFindTheNextOrdinaryMonthOrYear) {
    using Search = int32_t (*)(int32_t*, int32_t*, int32_t*);
    const struct { Search f; std::array<int32_t, 3> in, out; } cases[] = {
        {findPDateInDay, {2017, 6, 30}, {2017, 8, 30}},  // small 6 and 7; never the leap month
        {findPDateInDay, {2017, INT32_MIN, 5}, {2017, 1, 5}},
        {findPDateInDay, {1897, 5, 30}, {0, 0, 0}},  // 1899-12-30 is a year too far
        {findPDateInDay, {INT32_MAX, INT32_MAX, 1}, {0, 0, 0}},
        {findPDateInMonthDay, {2017, 6, 30}, {2022, 6, 30}},
        {findPDateInMonthDay, {1841, 1, 1}, {1900, 1, 1}},  // the 60th year tried
        {findPDateInMonthDay, {1840, 1, 1}, {0, 0, 0}},
    };
    for (const auto& c : cases) {
        auto v = c.in;
        const bool found = c.out[0] != 0;
        EXPECT_EQ(c.f(&v[0], &v[1], &v[2]), found ? 1 : 0) << c.in[0] << '/' << c.in[1];
        EXPECT_EQ(v, found ? c.out : c.in);
    }
    EXPECT_EQ(findPDateInDay(nullptr, nullptr, nullptr) + findPDateInMonthDay(nullptr, nullptr, nullptr), 0);
}

TEST(Step, EqualsAnIndexIntoTheListOfMonthsAndReturnsOnTheWayBack) {
    std::vector<Lunar> months;  // each month of the table, in calendar order, as its day 1
    for (const Lunar& l : every_lunar_day())
        if (l[2] == 1 && l[0] >= 1900) months.push_back(l);
    std::mt19937 rng(2017);
    for (int i = 0; i < 20000; ++i) {
        const int from = int(rng() % months.size()), to = int(rng() % months.size());
        Lunar v = months[from];
        ASSERT_EQ(incPMonth(&v[0], &v[1], &v[2], &v[3], to - from, 0), 1);
        ASSERT_EQ(v, months[to]) << from << " -> " << to;
        ASSERT_EQ(incPMonth(&v[0], &v[1], &v[2], &v[3], from - to, 0), 1);
        ASSERT_EQ(v, months[from]);
    }
}

// Any start (months outside 1-12, any flag, years far outside the table),
// counts within 400 months so that the walk stays short.
TEST(Step, EqualsTheOneMonthWalk) {
    std::mt19937 rng(1900);
    auto pick = [&rng](int64_t lo, int64_t hi) { return static_cast<int32_t>(lo + rng() % (hi - lo + 1)); };
    for (int i = 0; i < 40000; ++i) {
        const int32_t y = i % 10 ? pick(1890, 2110) : pick(INT32_MIN, INT32_MAX);
        Lunar v{y, pick(-3, 15), pick(-1, 31), pick(-1, 2)}, want = v;
        const int32_t months = pick(-400, 400), clamp = pick(0, 1);
        const int32_t r = qel::reference::inc_p_month_walk(&want[0], &want[1], &want[2], &want[3], months, clamp);
        ASSERT_EQ(incPMonth(&v[0], &v[1], &v[2], &v[3], months, clamp), r);
        ASSERT_EQ(v, want) << y << " by " << months;
    }
}

TEST(Step, LeapMonthCasesAndExtremeCounts) {
    const struct { Lunar in; int32_t months, clamp, result; Lunar out; } cases[] = {
        {{2017, 6, 15, 0}, 1, 0, 1, {2017, 6, 15, 1}},  {{2017, 7, 15, 0}, -1, 0, 1, {2017, 6, 15, 1}},
        {{2017, 4, 10, 1}, 2, 0, 1, {2017, 6, 10, 1}},  {{2017, 8, 10, 1}, -2, 0, 1, {2017, 6, 10, 0}},
        {{2018, 1, 10, 1}, 0, 1, 1, {2018, 1, 0, 1}},   {{2100, 12, 15, 0}, 1, 1, 1, {2101, 1, 29, 0}},
        // Past the table twelve months a year: 2^31 - 1 months is 178956970 years and 7 months.
        {{2101, 1, 1, 0}, INT32_MAX, 0, 0, {2101 + 178956970, 8, 1, 0}},
        {{-2000, 1, 1, 0}, INT32_MIN, 1, 1, {-2000 - 178956971, 5, 29, 0}},
        {{INT32_MAX, 12, 1, 0}, 1, 0, 0, {INT32_MIN, 1, 1, 0}},  // years wrap modulo 2^32
        {{2017, INT32_MAX, 1, 0}, INT32_MAX, 0, 0, {2017, -2, 1, 0}},
    };
    for (const auto& c : cases) {
        Lunar v = c.in;
        EXPECT_EQ(incPMonth(&v[0], &v[1], &v[2], &v[3], c.months, c.clamp), c.result) << c.in[0] << '/' << c.in[1];
        EXPECT_EQ(v, c.out) << c.in[0] << '/' << c.in[1] << " by " << c.months;
    }
    for (const auto& trip : {std::array{INT32_MAX, -INT32_MAX, 0}, std::array{INT32_MIN, INT32_MAX, 1}}) {
        Lunar v{2017, 6, 15, 1};  // far past the table and back
        for (int32_t months : trip) incPMonth(&v[0], &v[1], &v[2], &v[3], months, 0);
        EXPECT_EQ(v, (Lunar{2017, 6, 15, 1})) << trip[0];
    }
    EXPECT_EQ(incPMonth(nullptr, nullptr, nullptr, nullptr, 1, 1), 0);
}

}  // namespace

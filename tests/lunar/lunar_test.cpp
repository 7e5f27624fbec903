// The lunar C functions, the tpdate members and the GBK names swept through
// the checks of shared/lunar_checks.h: over every serial from 1899 to 2102 against the literal
// walk, a dense grid around the table and the hostile tables; month steps
// against the literal one-month walk and the list of all months; and the
// table's calendar facts.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <vector>

#include "lunar/lookup.h"
#include "reference/lunar_reference.h"
#include "shared/lunar_checks.h"

namespace {

using namespace qel::checks;
namespace hostile = qel::hostile;

TEST(Lunar, EverySerialFrom1899To2102) {
    Lunar before{1899, 12, 1, 0};
    for (DateInt s = greg::serial_from_civil(1899, 1, 1); s <= greg::serial_from_civil(2102, 12, 31); ++s) {
        Lunar walk;
        qel::reference::gdate_to_pdate_walk(s, &walk.year, &walk.month, &walk.day, &walk.leap);
        ASSERT_EQ(lunar_of(s), walk) << "serial " << s;
        ASSERT_CHECK(check_serial_to_lunar(s)) << s;
        const greg::CivilDate g = greg::decode(s);
        ASSERT_CHECK(check_gregorian_to_lunar(g.year, g.month, g.day, uint8_t(s % 16))) << s;
        if (s < kFirstDay || s > kLastDay) continue;
        ASSERT_CHECK(check_lunar_to_gregorian(walk, before) && check_gbk_names({walk.year, walk.month, walk.day, walk.leap}, int32_t(s % 8)))
            << s;
        ASSERT_EQ(DaysBetweenPDate(before.year, before.month, before.day, before.leap, walk.year, walk.month, walk.day,
                                   walk.leap), s == kFirstDay ? 0 : 1);
        before = walk;
    }
}

// Every field combination around the table: the conversions and validity,
// and the literal walk where the date exists.
TEST(Lunar, GridAroundTheTable) {
    for (int32_t y = 1895; y <= 2105; ++y)
        for (int32_t m = -1; m <= 14; ++m)
            for (int32_t d = -1; d <= 32; ++d)
                for (int32_t leap = 0; leap <= 2; ++leap) {
                    ASSERT_CHECK(check_lunar_to_gregorian({y, m, d, leap}, {2017, 6, 1, 1}));
                    // Validity and the conversion against the literal walk.
                    const bool valid = PDateIsValid(y, m, d, leap) == 1;
                    ASSERT_EQ(valid, qel::reference::pdate_valid(y, m, d, leap)) << y << "-" << m << "-" << d << " " << leap;
                    int32_t g[3] = {}, w[3] = {};
                    if (!valid) continue;
                    ASSERT_TRUE(PDateToGDate(y, m, d, leap, &g[0], &g[1], &g[2]) == 1 &&
                                qel::reference::pdate_to_gdate_walk(y, m, d, leap, &w[0], &w[1], &w[2]) == 1 &&
                                g[0] == w[0] && g[1] == w[1] && g[2] == w[2]);
                }
}

TEST(Lunar, HostileArguments) {
    for (int32_t y : hostile::kYears) {
        for (int32_t k : hostile::kIndexes) ASSERT_CHECK(check_term_day(y, k)) << y << " " << k;
        for (int32_t m : hostile::kMonths) {
            for (int32_t leap : hostile::kLeapFlags) ASSERT_CHECK(check_lookups(y, m, leap)) << y << " " << m << " " << leap;
            for (int32_t d : hostile::kDays)
                for (uint8_t nulls : {0, 3, 8}) {
                    ASSERT_CHECK(check_gregorian_to_lunar(y, m, d, nulls) && check_lunar_searches(y, m, d, nulls, true) &&
                                 check_lunar_searches(y, m, d, nulls, false))
                        << y << "-" << m << "-" << d << " " << int(nulls);
                }
        }
    }
    for (const auto& p : hostile::kLunarDates) {
        for (const auto& q : hostile::kLunarDates)
            ASSERT_CHECK(check_lunar_to_gregorian({p.year, p.month, p.day, p.leap}, {q.year, q.month, q.day, q.leap}));
        for (int32_t n : hostile::kCounts)
            ASSERT_CHECK(check_month_walk({p.year, p.month, p.day, p.leap}, n, 0) &&
                         check_month_walk({p.year, p.month, p.day, p.leap}, n, 1))
                << p.year << "-" << p.month << "-" << p.day << " by " << n;
        for (int32_t parts : {-1, 0, 1, 2, 3, 4, INT32_MIN}) ASSERT_CHECK(check_gbk_names({p.year, p.month, p.day, p.leap}, parts));
    }
    for (DateInt s : hostile::kSerials) ASSERT_CHECK(check_serial_to_lunar(s)) << s;
}

// Every month of the table as its day 1, stepped to every other by the
// difference of their places in calendar order and back; any start (months
// outside 1-12, any flag, years far outside the table) against the literal
// one-month walk for counts within 400 months.
TEST(Lunar, MonthStepsAgreeWithTheListOfMonthsAndTheWalk) {
    std::vector<Lunar> months;
    for (DateInt s = kBase; s <= kLastDay; ++s)
        if (lunar_of(s).day == 1) months.push_back(lunar_of(s));
    std::mt19937 rng(2017);
    for (int i = 0; i < 20000; ++i) {
        const int from = int(rng() % months.size()), to = int(rng() % months.size());
        Lunar v = months[size_t(from)];
        ASSERT_EQ(incPMonth(&v.year, &v.month, &v.day, &v.leap, to - from, 0), 1);
        ASSERT_EQ(v, months[size_t(to)]) << from << " -> " << to;
        ASSERT_CHECK(check_month_walk(months[size_t(from)], to - from, int32_t(i % 2)));
    }
    auto pick = [&rng](int64_t lo, int64_t hi) { return static_cast<int32_t>(lo + rng() % uint64_t(hi - lo + 1)); };
    for (int i = 0; i < 40000; ++i) {
        const int32_t y = i % 10 ? pick(1890, 2110) : pick(INT32_MIN, INT32_MAX);
        Lunar v{y, pick(-3, 15), pick(-1, 31), pick(-1, 2)}, want = v;
        const int32_t n = pick(-400, 400), clamp = pick(0, 1);
        const int32_t r = qel::reference::inc_p_month_walk(&want.year, &want.month, &want.day, &want.leap, n, clamp);
        ASSERT_EQ(incPMonth(&v.year, &v.month, &v.day, &v.leap, n, clamp), r);
        ASSERT_EQ(v, want) << y << " by " << n;
    }
}

TEST(Lunar, CalendarFactsOfTheTable) {
    // Year lengths: 12 months of 29 or 30 days and the leap month; nibble 15
    // marks exactly the years after a big leap month.
    std::map<int, int> histogram;
    for (int32_t y = 1900; y <= 2100; ++y) {
        ++histogram[qel::lunar::year_days(y)];
        EXPECT_EQ((qel::lunar::LunarYearInfo[y - 1900] & 0xF) == 15, qel::lunar::leap_month_days(y - 1) == 30) << y;
    }
    EXPECT_EQ(histogram, (std::map<int, int>{{353, 1}, {354, 84}, {355, 42}, {383, 6}, {384, 65}, {385, 3}}));
    // 2017: a leap month 6 of 30 days, ordinary 6 and 7 of 29; 2018 none.
    EXPECT_EQ(tpdate({2017, 6, 1, 1}).asGDate().value, TDateTime(2017, 7, 23, 0, 0, 0).value);
    EXPECT_EQ(getPMonthDays(2017, 6, 1) + getPMonthDays(2017, 6, 0) + getPMonthDays(2017, 7, 0), 30 + 29 + 29);
    int32_t y = 2017, m = 6, d = 30;
    EXPECT_EQ(findPDateInDay(&y, &m, &d), 1);
    EXPECT_TRUE(y == 2017 && m == 8) << "never the leap month";
}

}  // namespace

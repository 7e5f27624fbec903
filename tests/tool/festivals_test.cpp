// Festivals found from a day (festivals_on) agree with festivals placed in a
// year (festival_day) on every day of 1900-2100; New Year's Eve is the last
// day of the lunar year whether month 12 has 29 or 30 days.
#include <set>

#include <gtest/gtest.h>

#include "festivals.h"

namespace {

using namespace qeldate;

TEST(QeldateFestivals, EveryDayOf1900To2100) {
    std::set<std::pair<DateInt, const Festival*>> placed;
    for (int year = kFirstLunarYear - 1; year <= kLastLunarYear; ++year)
        for (const Festival& f : kFestivals)
            if (const auto day = festival_day(f, year)) placed.insert({*day, &f});
    const DateInt first = serial_of({1900, 1, 1}), last = serial_of({2100, 12, 31});
    std::set<std::pair<DateInt, const Festival*>> found;
    for (DateInt serial = first; serial <= last; ++serial)
        for (const Festival* f : festivals_on(date_of(serial))) found.insert({serial, f});
    std::erase_if(placed, [&](const auto& p) { return p.first < first || p.first > last; });
    EXPECT_EQ(found, placed);
    // Two solar-term festivals in each of 201 years; eight lunar ones in each
    // lunar year 1900-2099; Laba and the eve of lunar 1899 (January 1900); six
    // of lunar 2100, whose Laba and eve fall in 2101.
    EXPECT_EQ(found.size(), 201u * 2 + 200u * 8 + 2 + 6);
}

TEST(QeldateFestivals, NewYearsEveEndsMonth12) {
    const Festival& eve = kFestivals[std::size(kFestivals) - 1];
    const Festival& spring = kFestivals[0];
    int short_months = 0;
    for (int year = kFirstLunarYear; year < kLastLunarYear; ++year) {
        const DateInt day = *festival_day(eve, year);
        const Lunar l = *lunar_of(date_of(day));
        ASSERT_EQ(l.month, 12) << year;
        ASSERT_TRUE(l.day == 29 || l.day == 30) << year;
        ASSERT_EQ(*festival_day(spring, year + 1), day + 1) << year;
        short_months += l.day == 29;
    }
    EXPECT_GT(short_months, 0);  // both lengths occur
}

}  // namespace

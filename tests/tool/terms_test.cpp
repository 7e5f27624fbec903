// The order of solar-term instants: "the current term" and "the next term"
// at every instant of 1900-2100 and across each new year.
#include <gtest/gtest.h>

#include "day_info.h"
#include "terms.h"

namespace {

using qeldate::Moment;
using qeldate::TermTime;

Moment at(const TermTime& t, int delta_seconds) {
    const int s = t.second_of_day + delta_seconds;  // stays within the day for the deltas used below
    return {t.date, s / 3600, s / 60 % 60, s % 60, true};
}

TEST(QeldateTerms, CurrentAndNextAtEveryInstant) {
    for (int year = qeldate::kFirstLunarYear; year <= qeldate::kLastLunarYear; ++year) {
        for (int term = 0; term < qeldate::kTermCount; ++term) {
            const TermTime t = *qeldate::term_time(year, term);
            ASSERT_EQ(qeldate::term_on(t.date)->term, term) << year << " term " << term;
            const auto current = qeldate::term_at_or_before(at(t, 0));
            const auto next = qeldate::term_after(at(t, 0));
            ASSERT_TRUE(current && current->year == year && current->term == term) << year << " term " << term;
            const bool last = year == qeldate::kLastLunarYear && term == qeldate::kTermCount - 1;
            ASSERT_EQ(next.has_value(), !last);
            if (next) {
                ASSERT_EQ(next->term, (term + 1) % qeldate::kTermCount);
                ASSERT_GT(next->serial, t.serial);
            }
            if (t.second_of_day > 0) {  // a second earlier the previous term still holds
                const auto before = qeldate::term_at_or_before(at(t, -1));
                ASSERT_EQ(before.has_value(), !(year == qeldate::kFirstLunarYear && term == 0));
                if (before) {
                    ASSERT_EQ(before->term, (term + qeldate::kTermCount - 1) % qeldate::kTermCount);
                }
            }
        }
    }
    // Outside the table there is no term to name.
    EXPECT_FALSE(qeldate::term_time(1899, 23));
    EXPECT_FALSE(qeldate::term_time(2101, 0));
    EXPECT_FALSE(qeldate::term_on({2101, 1, 5}));
}

}  // namespace

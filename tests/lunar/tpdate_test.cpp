// The tpdate record: its C layout, and its members, which hand their four
// fields to the conversion and stepping functions.
#include <array>
#include <cstddef>

#include <gtest/gtest.h>

#include "qel_datetime.h"

namespace {

static_assert(sizeof(tpdate) == 16 && offsetof(tpdate, leap) == 12, "four 32-bit fields, as in C");

std::array<int32_t, 4> fields(const tpdate& p) { return {p.year, p.month, p.day, p.leap}; }

TEST(Tpdate, ConvertsStepsAndFailsWithoutWriting) {
    const tpdate leap6{2017, 6, 1, 1}, leap5{2017, 5, 1, 1}, nov1899{1899, 11, 1, 0};
    EXPECT_EQ(leap6.asGDate().value, TDateTime(2017, 7, 23, 0, 0, 0).value);
    EXPECT_TRUE(leap5.asGDate().isNull() && nov1899.asGDate().isNull());  // no such months
    tpdate p{7, 7, 7, 7};
    EXPECT_EQ(fields(p.fromGDate(2101, 1, 1).fromGDate(2000, 2, 30)), fields({7, 7, 7, 7}));
    EXPECT_EQ(fields(p.fromGDate(int64_t{1})), fields({1899, 12, 0, 0}));  // no range test
    EXPECT_EQ(fields(p.fromGDate(1900, 1, 1)), fields({1899, 12, 1, 0}));
    EXPECT_TRUE(p.incMonth(13, 1));  // 1899-12, then 1900 with its leap month 8
    EXPECT_EQ(fields(p), fields({1900, 12, 1, 0}));
    EXPECT_FALSE(p.fromGDate(2017, 8, 21).incMonth(-1, 0));  // leap 6-30 to ordinary 6 (29 days)
    EXPECT_EQ(fields(p), fields({2017, 6, 30, 0}));

    TDateTime before, after;
    before.loadcurrentlocal();
    TDateTime today = p.loadcurrent().asGDate();
    after.loadcurrentlocal();
    EXPECT_TRUE(today.dateEqual(before) || today.dateEqual(after));  // midnight may pass between
}

}  // namespace

// Rendering against the C library's snprintf on random words (the 16-bit form
// code unit by code unit), and the fixed-position date parser on a table.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>

#include <gtest/gtest.h>

#include "qel_datetime.h"

namespace {

TEST(Text, RenderingMatchesSnprintfOnRandomWords) {
    std::mt19937_64 rng(5);
    for (int i = 0; i < 50000; ++i) {
        const uint64_t w = rng() >> (i % 48);  // short years and zero fields too
        const auto f = [w](int shift, int width) { return int(w >> shift & ((1u << width) - 1)); };
        char want[64], want_date[32];
        std::snprintf(want, sizeof want, "%d-%02d-%02d %02d:%02d:%02d", f(26, 12), f(22, 4), f(17, 5),
                      f(12, 5), f(6, 6), f(0, 6));
        std::snprintf(want_date, sizeof want_date, "%d-%02d-%02d", f(26, 12), f(22, 4), f(17, 5));
        const TDateTime t(w);
        ASSERT_STREQ(t.asDateTimeString().c_str(), want);
        ASSERT_STREQ(t.asDateString().c_str(), want_date);
        const TWideString wide = t.asDateTimeStringW();
        ASSERT_EQ(wide.length(), std::strlen(want)) << want;
        for (size_t k = 0; k <= wide.length(); ++k) ASSERT_EQ(wide.c_str()[k], (unsigned char)want[k]) << want;
    }
    EXPECT_STREQ(TDateTime(5, 1, 1, 0, 0, 0).asDateTimeString().c_str(), "5-01-01 00:00:00")
        << "year not padded";
}

TEST(Text, FromDateStringReadsThreeFixedFieldsAndKeepsTheRest) {
    const struct { const char* text; int y, m, d; } rows[] = {
        {"2017-03-09 10:20:30", 2017, 3, 9}, {"2016/12/28", 2016, 12, 28},  // positions 4 and 7 not read
        {"9999-13-32", 1807, 13, 0}, {"-001-+2", 4095, 2, 0}};              // masked, not validated
    const DateTimeInt start = EncodeMinuteTime(1999, 1, 2, 8, 9, 10) | (0x3Full << 58);
    for (const auto& r : rows) {
        TDateTime t(start);
        const DateTimeInt want = (start & ~0x3FFFFE0000ull) | EncodeMinuteTime(r.y, r.m, r.d, 0, 0, 0);
        EXPECT_EQ(t.fromDateString(r.text).value, want) << r.text;
        EXPECT_EQ(t.fromDateString(nullptr).value, want) << "a null text changes nothing";
    }
}

}  // namespace

// The bit layout is the external interface: the setters against the field
// positions written out here, ordering and equality against the raw bits, and
// which operations zero, take over or keep the reserved bits 38-63.
#include <cstdint>

#include <gtest/gtest.h>

#include "datetime/chrono_oracle.h"

namespace {

using qel::test::kKeyBits;
constexpr uint64_t kDateBits = kKeyBits & ~uint64_t{0x1FFFF};                            // bits 17-37
constexpr unsigned kShift[6] = {26, 22, 17, 12, 6, 0}, kWidth[6] = {12, 4, 5, 5, 6, 6};  // year .. second
constexpr void (*kSet[6])(TDateTime&, int32_t) = {
    [](TDateTime& x, int32_t a) { x.setYear(a); },   [](TDateTime& x, int32_t a) { x.setMonth(a); },
    [](TDateTime& x, int32_t a) { x.setday(a); },    [](TDateTime& x, int32_t a) { x.sethour(a); },
    [](TDateTime& x, int32_t a) { x.setminute(a); }, [](TDateTime& x, int32_t a) { x.setsecond(a); }};

TEST(Fields, EachSetterChangesOnlyItsFieldAndTheCompositesAgree) {
    std::mt19937_64 rng(1);
    for (int i = 0; i < 20000; ++i) {
        const uint64_t w = rng();
        int32_t v[6], got[6];
        TDateTime all(w), a(w), b(w);
        for (int f = 0; f < 6; ++f) {
            const uint64_t mask = ((uint64_t{1} << kWidth[f]) - 1) << kShift[f];
            TDateTime t(w);
            kSet[f](t, v[f] = int32_t(rng() >> (i % 64)));  // negative, huge and small values
            kSet[f](all, v[f]);
            ASSERT_EQ(t.value, (w & ~mask) | ((uint64_t(uint32_t(v[f])) << kShift[f]) & mask))
                << f << ' ' << v[f];
        }
        DecodeMinuteTime(all.value, &got[0], &got[1], &got[2], &got[3], &got[4], &got[5]);
        for (int f = 0; f < 6; ++f) ASSERT_EQ(got[f], int32_t(uint32_t(v[f]) & ((1u << kWidth[f]) - 1)));
        ASSERT_TRUE(all.year() == got[0] && all.getYear() == got[0] && all.month() == got[1] &&
                    all.day() == got[2] && all.hour() == got[3] && all.minute() == got[4] &&
                    all.second() == got[5]);
        a.setDate(v[0], v[1], v[2]).setTime(v[3], v[4], v[5]);
        b.setDateTime(v[0], v[1], v[2], v[3], v[4], v[5]);
        ASSERT_TRUE(a == all && b == all &&
                    TDateTime(v[0], v[1], v[2], v[3], v[4], v[5]).value == (all.value & kKeyBits) &&
                    EncodeMinuteTime(v[0], v[1], v[2], v[3], v[4], v[5]) == (all.value & kKeyBits));
    }
}

TEST(Fields, OrderingIsTheUnsignedKeyAndEqualityAllSixtyFourBits) {
    std::mt19937_64 rng(2);
    for (int i = 0; i < 100000; ++i) {
        uint64_t a = rng(), b = i % 4 ? a ^ (rng() & rng() & rng()) : rng();  // often equal keys
        const TDateTime x(a), y(b);
        const uint64_t ka = a & kKeyBits, kb = b & kKeyBits;
        ASSERT_TRUE((x < y) == (ka < kb) && (x <= y) == (ka <= kb) && (x > y) == (ka > kb) &&
                    (x >= y) == (ka >= kb));
        ASSERT_TRUE((x == y) == (a == b) && (x == b) == (a == b) && (x != b) == (a != b) &&
                    x.isNull() == (a == 0));
        TDateTime z(a);
        ASSERT_TRUE(z.dateEqual(y) == (((a ^ b) & kDateBits) == 0) && z.dateEqual(b) == z.dateEqual(y));
        ASSERT_EQ(z.copyDate(y).value, (a & ~kDateBits) | (b & kDateBits));
        ASSERT_TRUE(&z.asUInt64() == &z.value && &z.asDateTimeInt() == &z.value);
    }
}

TEST(Fields, ReservedBitsAndTDate) {
    const uint64_t w = 0xFEDCBA9876543210u, o = 0x0123456789ABCDEFu;
    TDateTime cleared(w), taken(w), kept(w), now(w);
    cleared.clear();
    for (const uint64_t zero :
         {TDateTime().value, TDateTime::null().value, cleared.value, TDateTime(TDate(9, 9, 9)).value,
          TDateTime(-1, -1, -1, -1, -1, -1).value, EncodeMinuteTime(-1, -1, -1, -1, -1, -1)})
        EXPECT_EQ(zero & ~kKeyBits, 0u);
    EXPECT_TRUE(TDateTime(o).value == o && TDateTime(w).setUInt64(o).value == o &&
                (taken = TDateTime(o)).value == o);
    kept.setDate(-1, -1, -1).setTime(-1, -1, -1).setDate(int64_t{36585}).copyDate(TDateTime(o));
    EXPECT_EQ(kept.value, (w & ~kKeyBits) | (o & kDateBits) | 0x1FFFF)
        << "setTime(-1, -1, -1) sets bits 0-16";
    EXPECT_EQ(now.loadcurrentlocal().value & ~kKeyBits, w & ~kKeyBits);
    EXPECT_EQ(GDateIsValid(uint16_t(now.year()), uint16_t(now.month()), uint16_t(now.day())), 1);

    EXPECT_EQ(TDateTime(2000, 2, 29, 23, 59, 58).value, 0x1F40BB7EFAu) << "the worked example of the layout";
    EXPECT_EQ(TDateTime().setDate(int64_t{36585}).value, TDateTime(2000, 2, 29, 0, 0, 0).value);
    DecodeMinuteTime(w, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(TDate().setdays(70000, 1, 1).year(), 4464) << "70000 mod 65536";
    EXPECT_EQ(TDate().fromDateTime(TDateTime(TDate(5000, 1, 1))).year(), 904) << "5000 through 12 bits";
    EXPECT_TRUE(TDate(2000, 2, 29).asDateInt() == 36585 && TDate(2001, 2, 29).asDateInt() == -693594);
}

}  // namespace

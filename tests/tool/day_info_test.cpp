// The sexagenary day count of qeldate against the Julian Day Number, counted
// independently through std::chrono, on every day of 1900-2100.
#include <chrono>
#include <string>

#include <gtest/gtest.h>

#include "day_info.h"

namespace {

using namespace std::chrono;
using qeldate::Encoding;
using qeldate::Text;

// Julian Day Number of the civil day 1970-01-01 (noon JD 2440587.5 + 0.5).
constexpr long kJdnOf1970_01_01 = 2440588;

// The day's place in the sixty-cycle, 0 = 甲子: (JDN + 49) mod 60, the rule
// the day cycle follows in Julian Days (e.g. JDN 2451545, 2000-01-01, gives
// 54 = 戊午).
int cycle_from_jdn(sys_days day) { return static_cast<int>((day.time_since_epoch().count() + kJdnOf1970_01_01 + 49) % 60); }

TEST(QeldateDayCycle, AgreesWithTheJulianDayOnEveryDayOf1900To2100) {
    const sys_days serial_epoch = year{1899} / December / 30;
    for (sys_days d = year{1900} / January / 1; d <= sys_days{year{2100} / December / 31}; d += days{1})
        ASSERT_EQ(qeldate::day_cycle_index((d - serial_epoch).count()), cycle_from_jdn(d)) << "serial " << (d - serial_epoch).count();
}

TEST(QeldateDayCycle, NamesAreStemThenBranch) {
    // The ten stems and twelve branches, written out here in UTF-8.
    const std::u8string stems = u8"甲乙丙丁戊己庚辛壬癸", branches = u8"子丑寅卯辰巳午未申酉戌亥";
    const auto nth = [](const std::u8string& s, int i) { return std::string(s.begin() + 3 * i, s.begin() + 3 * i + 3); };
    const sys_days serial_epoch = year{1899} / December / 30;
    const sys_days first = year{1900} / January / 1;
    for (int k = 0; k < 60; ++k) {
        const sys_days d = first + days{k};
        const int cycle = cycle_from_jdn(d);
        EXPECT_EQ(qeldate::day_cycle_name((d - serial_epoch).count(), Text(Encoding::kUtf8)),
                  nth(stems, cycle % 10) + nth(branches, cycle % 12)) << "serial " << (d - serial_epoch).count();
    }
    // Days whose names are well known: the founding of the People's Republic
    // on a 甲子 day, and the first day of 2000, 戊午.
    EXPECT_EQ(qeldate::day_cycle_name(qeldate::serial_of({1949, 10, 1}), Text(Encoding::kUtf8)), "甲子");
    EXPECT_EQ(qeldate::day_cycle_name(qeldate::serial_of({2000, 1, 1}), Text(Encoding::kUtf8)), "戊午");
}

}  // namespace

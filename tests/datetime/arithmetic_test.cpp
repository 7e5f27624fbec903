// Steps against std::chrono: random words of years 1..4095 moved by counts of
// every magnitude (targets beyond the decodable range too), the extreme
// counts, and a table of stored values that are not valid.
#include <climits>
#include <cstdint>
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "datetime/chrono_oracle.h"

namespace {

using namespace qel::test;

// A step of whole days plus seconds, both exact in 64 bits for every count
// (no 128-bit type on every target).
struct Delta {
    int64_t days, seconds;  // seconds in [0, 86400)
};
constexpr Delta per_unit(int64_t count, int64_t unit_seconds) {
    // Floor division by quotient and remainder: q * per_day itself would
    // overflow for counts near INT64_MIN.
    const int64_t per_day = 86400 / unit_seconds, r = count % per_day;
    return {count / per_day - (r < 0), (r < 0 ? r + per_day : r) * unit_seconds};
}

// The value after moving `w` by `delta`, with the year before the 12-bit mask:
// the target's date when it lies in 0001-01-01..65535-12-31, 0-0-0 on the day
// before, else the stored date. chrono's years end at 32767, so late days go
// back 83 cycles of 400 years.
std::pair<TDateTime, int> expected_step(DateTimeInt w, Delta delta) {
    const int64_t t = time_of(TDateTime(w)).time_since_epoch().count(),
                  base_day = t / 86400 - (t % 86400 < 0),
                  seconds = t - base_day * 86400 + delta.seconds,  // [0, 172800)
                  day = base_day + delta.days + seconds / 86400;
    const auto tod = int32_t(seconds % 86400);
    TDateTime want(w);
    want.setTime(tod / 3600, tod / 60 % 60, tod % 60);
    const int64_t first = sys_days{year{1} / 1 / 1}.time_since_epoch().count(),
                  cycles = day > 4000000 ? 83 : 0;
    if (day < first - 1 ||
        day > sys_days{year{65535 - 33200} / 12 / 31}.time_since_epoch().count() + 83 * 146097)
        return {want, want.year()};
    if (day == first - 1) return {want.setDate(0, 0, 0), 0};
    const year_month_day ymd{sys_days{days{int64_t(day) - cycles * 146097}}};
    const int y = int(ymd.year()) + int(cycles) * 400;
    return {want.setDate(y, int(unsigned(ymd.month())), int(unsigned(ymd.day()))), y};
}

// The names of the day-crossing steps of `w` that disagree with the oracle.
std::string failed_steps(DateTimeInt w, int32_t n_days, int32_t weeks, int64_t minutes, int64_t seconds) {
    const auto [by_days, full_year] = expected_step(w, {n_days, 0});
    const DateTimeInt by_weeks = expected_step(w, {int64_t{weeks} * 7, 0}).first.value;
    const DateTimeInt by_minutes = expected_step(w, per_unit(minutes, 60)).first.value;
    const DateTimeInt by_seconds = expected_step(w, per_unit(seconds, 1)).first.value;
    TDate date;
    date.fromDateTime(TDateTime(w)).incDay(n_days);
    std::string failed;
    if (TDateTime(w).incDay(n_days).value != by_days.value) failed += "incDay ";
    if (TDateTime(w).incWeek(weeks).value != by_weeks || IncWeek(w, weeks) != by_weeks) failed += "incWeek ";
    if (TDateTime(w).incMinute(minutes).value != by_minutes || IncMinute(w, minutes) != by_minutes)
        failed += "incMinute ";
    if (TDateTime(w).incSecond(seconds).value != by_seconds || IncSecond(w, seconds) != by_seconds)
        failed += "incSecond ";
    if (date.year() != full_year || date.month() != by_days.month() || date.day() != by_days.day())
        failed += "TDate";
    return failed;
}

TEST(Arithmetic, DayWeekMinuteAndSecondStepsAgreeWithChrono) {
    std::mt19937_64 rng(20240131);
    for (int i = 0; i < 40000; ++i) {
        const DateTimeInt w = word_of(random_time(rng), rng());
        const auto n_days = int32_t(random_count(rng, 31)), weeks = int32_t(random_count(rng, 31));
        const int64_t minutes = random_count(rng, 63), seconds = random_count(rng, 63);
        ASSERT_EQ(failed_steps(w, n_days, weeks, minutes, seconds), "")
            << std::hex << w << std::dec << ' ' << n_days << ' ' << weeks << ' ' << minutes << ' ' << seconds;
    }
    // The ends of the 12-bit years and a leap day against the extreme counts.
    const int64_t to_last = 23242572 - EncodeDate(4095, 12, 31);  // days to 65535-12-31, the last decodable
    for (const DateTimeInt w :
         {EncodeMinuteTime(1, 1, 1, 0, 0, 0), EncodeMinuteTime(4095, 12, 31, 23, 59, 59) | ~kKeyBits,
          EncodeMinuteTime(2000, 2, 29, 12, 0, 0)})
        for (const int64_t n : {int64_t{INT64_MIN}, int64_t{INT32_MIN}, int64_t{-1}, int64_t{0}, int64_t{1},
                                to_last, to_last + 1, int64_t{613566757} /* 7 x that wraps to 3 in 32 bits */,
                                int64_t{INT32_MAX}, int64_t{INT64_MAX}})
            ASSERT_EQ(failed_steps(w, int32_t(n), int32_t(n), n, n), "")
                << std::hex << w << std::dec << ' ' << n;
}

// Month and year steps against chrono's year_month arithmetic, on stored dates
// that need not exist (month 0..15, day 0..31), with and without the clamp.
TEST(Arithmetic, MonthAndYearStepsAgreeWithChrono) {
    std::mt19937_64 rng(7);
    for (int i = 0; i < 100000; ++i) {
        const int y = int(rng() % 4096), m = int(rng() % 16), d = int(rng() % 32);
        const DateTimeInt w = (rng() & ~kKeyBits) | EncodeMinuteTime(y, m, d, 23, 7, 8);
        const bool by_years = rng() % 2;
        const auto count = int32_t(random_count(rng, by_years ? 14 : 18));  // years stay within chrono's
        const int32_t months_count = by_years ? 12 * count : count, clamp = int32_t(rng() % 3) - 1;
        const year_month ym = year{y} / January + months{m - 1 + months_count};
        const bool valid = ym.year() >= year{1} && ym.year() <= year{9999} && (ym / d).ok();
        TDateTime want(w), got(w), plain(w);
        want.setDate(int(ym.year()), int(unsigned(ym.month())),
                     valid || !clamp ? d : int(unsigned((ym / last).day())));
        const bool ok = by_years ? got.incYear(count, clamp) : got.incMonth(count, clamp);
        ASSERT_TRUE(got == want && ok == (valid || clamp))
            << y << '-' << m << '-' << d << ' ' << count << ' ' << by_years;
        DateTimeInt raw = w;
        TDate date{uint16_t(y), uint16_t(m), uint16_t(d)};
        plain.incMonth(months_count, 0);
        ASSERT_TRUE(IncMonth(&raw, months_count, clamp) == int(ok) && raw == got.value);
        ASSERT_EQ(date.IncMonth(months_count).year() * 10000 + date.month() * 100 + date.day(),
                  plain.year() * 10000 + plain.month() * 100 + plain.day())
            << "TDate::IncMonth";
    }
}

TEST(Arithmetic, InvalidStoredValuesAndExtremeCounts) {
    const auto at = EncodeMinuteTime;
    struct Row {  // step: d(ays), m(inutes), s(econds), M(onths), Y(ears)
        DateTimeInt from; char step; int64_t count; int32_t clamp; DateTimeInt want; bool ok; const char* why;
    };
    const Row rows[] = {
        {0, 'd', 1, 0, 0, 0, "the null date has no serial: unchanged"},
        {0, 'm', 5, 0, at(0, 0, 0, 0, 5, 0), 0, "within the day the date is not read"},
        {at(2001, 2, 29, 0, 0, 0), 's', -1, 0, at(2001, 2, 29, 23, 59, 59), 0, "no carry, time stepped"},
        {at(2000, 1, 1, 31, 63, 63), 's', 0, 0, at(2000, 1, 2, 8, 4, 3), 0, "31:63:63 is 1 day 08:04:03"},
        {0, 'M', 0, 1, at(4095, 12, 31, 0, 0, 0), 1, "the null value: year -1, month 12, clamped"},
        {at(2000, 1, 31, 0, 0, 0), 'M', INT32_MAX, 1, at(634, 8, 31, 0, 0, 0), 1, "16-bit year 45690"},
        {at(2053, 2, 30, 0, 0, 0), 'Y', INT32_MAX, 1, at(2052, 2, 28, 0, 0, 0), 1, "2147485700: not leap"},
        {at(1900, 2, 29, 0, 0, 0), 'Y', 65536, 0, at(1900, 2, 29, 0, 0, 0), 0, "67436 is 1900 in 16 bits"},
        {at(1900, 2, 29, 0, 0, 0), 'Y', 65536, 1, at(1900, 2, 29, 0, 0, 0), 1, "but 67436 is leap"},
    };
    for (const auto& r : rows) {
        TDateTime t(r.from | (uint64_t{0x2A5} << 50));
        bool ok = false;
        if (r.step == 'd') t.incDay(int32_t(r.count));
        if (r.step == 'm') t.incMinute(r.count);
        if (r.step == 's') t.incSecond(r.count);
        if (r.step == 'M') ok = t.incMonth(int32_t(r.count), r.clamp);
        if (r.step == 'Y') ok = t.incYear(int32_t(r.count), r.clamp);
        EXPECT_TRUE(t.value == (r.want | (uint64_t{0x2A5} << 50)) && ok == r.ok) << r.why;
    }
    EXPECT_EQ(IncMonth(nullptr, 1, 1), 0);
}

}  // namespace

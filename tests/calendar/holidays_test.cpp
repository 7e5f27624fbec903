// The holiday table against the cross-checked sources it was generated from
// (fixtures/holidays.tsv) on every covered day, and the working-day calls
// through check_holidays (shared/calendar_checks.h): from every covered day,
// and with callers' tables that keep or break their rules.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <string>

#include "shared/calendar_checks.h"

namespace {

using namespace qel::checks;
using qel::oracle::serial_of;

struct Covered {
    int64_t first = 0, end = 0;  // [first, end)
    Covered() {
        int32_t y0 = 0, y1 = 0;
        qel_holiday_years(&y0, &y1);
        first = serial_of(y0, 1, 1), end = serial_of(y1, 12, 31) + 1;
    }
};

TEST(Holidays, TableIsTheSourcesDayByDay) {
    std::map<int64_t, std::string> want;  // serial -> "off new-year"
    std::ifstream in(QEL_FIXTURE_DIR "/holidays.tsv");
    ASSERT_TRUE(in) << "fixtures/holidays.tsv";
    for (std::string line; std::getline(in, line);) {
        int y, m, d;
        char status[8], key[48];
        if (line.empty() || line[0] == '#') continue;
        ASSERT_EQ(std::sscanf(line.c_str(), "%d-%d-%d\t%7s\t%47s", &y, &m, &d, status, key), 5) << line;
        want[serial_of(y, unsigned(m), unsigned(d))] = std::string(status) + " " + key;
    }
    const Covered c;
    for (int64_t s = c.first; s < c.end; ++s) {
        int32_t holiday = -1;
        const int32_t status = qel_holiday_status(s, nullptr, &holiday);
        const std::string got = status == QEL_DAY_OFF    ? "off " + name_of(QEL_NAME_HOLIDAY_KEY, holiday)
                                : status == QEL_DAY_WORK ? "work " + name_of(QEL_NAME_HOLIDAY_KEY, holiday)
                                                         : "";
        ASSERT_EQ(got, want.count(s) ? want[s] : "") << "serial " << s;
    }
    EXPECT_EQ(qel_holiday_status(c.first - 1, nullptr, nullptr), QEL_E_RANGE) << "unknown before the table";
    EXPECT_EQ(qel_holiday_status(c.end, nullptr, nullptr), QEL_E_RANGE) << "unknown after it";
}

// From every covered day (and 40 either side): counts to days up to a year
// away, steps of -10 .. 250 working days.
TEST(Holidays, WorkingDaysFromEveryDay) {
    const Covered c;
    for (int64_t s = c.first - 40; s < c.end + 40; ++s)
        for (int64_t n : {-10, -3, -1, 0, 1, 2, 5, 10, 250})
            ASSERT_CHECK(check_holidays(s, s + n * 37 % 400, n, nullptr)) << s << " " << n;
    for (int64_t s : qel::hostile::kHolidaySerials)
        for (int64_t n : qel::hostile::kCounts64) ASSERT_CHECK(check_holidays(s, s / 2 + n / 2, n, nullptr)) << s << " " << n;
    // 2025: 中秋 and 国庆 1-8 October, 11 October (a Saturday) worked.
    int64_t got = 0;
    ASSERT_EQ(qel_add_workdays(serial_of(2025, 9, 30), 3, nullptr, &got), QEL_OK);
    EXPECT_EQ(got, serial_of(2025, 10, 11));
}

// A caller's table for 2027 (Saturday 2027-02-20 worked), and tables that
// break the rules: unsorted, a day outside the years, a bad status or
// holiday, a null array, years in the wrong order or outside 1..9999.
TEST(Holidays, CallerTables) {
    const qel_holiday_day good[] = {{serial_of(2027, 1, 1), QEL_DAY_OFF, QEL_HOLIDAY_NEW_YEAR},
                                    {serial_of(2027, 2, 20), QEL_DAY_WORK, QEL_HOLIDAY_SPRING_FESTIVAL},
                                    {serial_of(2027, 3, 1), QEL_DAY_ORDINARY, 0}};
    const struct {
        qel_holiday_day days[3];
        size_t count;
        int32_t first, last;
    } tables[] = {{{good[0], good[1], good[2]}, 3, 2027, 2027}, {{good[1], good[0]}, 2, 2027, 2027},
                  {{good[0]}, 1, 2026, 2028},
                  {{{serial_of(2028, 1, 1), QEL_DAY_OFF, 1}}, 1, 2027, 2027},
                  {{{serial_of(2027, 1, 1), 3, 1}}, 1, 2027, 2027},
                  {{{serial_of(2027, 1, 1), QEL_DAY_OFF, QEL_HOLIDAY_COUNT}}, 1, 2027, 2027},
                  {{}, 0, 2027, 2026}, {{}, 0, 0, 1}, {{}, 0, 9999, 10000}, {{good[0]}, 1, 1, 9999}};
    for (const auto& t : tables)
        for (bool null_days : {false, true}) {
            Extra e;
            std::copy(t.days, t.days + t.count, e.days);
            e.table = {null_days ? nullptr : e.days, t.count, t.first, t.last};
            judge(e);
            for (int64_t s : qel::hostile::kHolidaySerials)
                for (int64_t n : {-300, -1, 0, 1, 2, 300})
                    ASSERT_CHECK(check_holidays(s, static_cast<int64_t>(u64(s) + u64(9 * n)), n, &e)) << t.first << " " << s << " " << n;
        }
}

}  // namespace

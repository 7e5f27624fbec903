// The holiday table against its three sources' own days
// (fixtures/holidays_*.tsv), merged here with tools/gen/holidays/resolutions.tsv,
// on every covered day, and the working-day calls
// through check_holidays (shared/calendar_checks.h): from every covered day,
// and with callers' tables that keep or break their rules.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

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

// "off new-year" for each day a file marks; a `why` column is read and ignored.
using Days = std::map<int64_t, std::string>;
Days read_days(const std::string& file, std::set<int>* years_off) {
    Days days;
    std::ifstream in(file);
    EXPECT_TRUE(in) << file;
    for (std::string line; std::getline(in, line);) {
        int y = 0, m = 0, d = 0;
        char status[8] = {}, key[48] = {};
        if (line.empty() || line[0] == '#') continue;
        EXPECT_EQ(std::sscanf(line.c_str(), "%d-%d-%d\t%7[a-z]\t%47[a-z-]", &y, &m, &d, status, key), 5) << file << ": " << line;
        const int64_t s = serial_of(y, unsigned(m), unsigned(d));
        EXPECT_TRUE(qel::oracle::valid_date(y, m, d) && !days.count(s)) << file << ": " << line;
        days[s] = std::string(status) == "none" ? "" : std::string(status) + " " + key;
        if (years_off && std::string(status) == "off") years_off->insert(y);
    }
    return days;
}

// The three sources' own days, merged here: where all agree, their word; where
// they differ, the line of tools/gen/holidays/resolutions.tsv for the day,
// which must be what one of them says. A disagreement no line settles, a line
// where none is needed, and a make-up working day that is not a Saturday or
// Sunday all fail. The years are those every source has days off in.
TEST(Holidays, TableIsTheSourcesMergedDayByDay) {
    std::vector<Days> sources;
    std::set<int> common;
    for (const char* name : {"chinese-days", "lunar-javascript", "tyme4ts"}) {
        std::set<int> years;
        sources.push_back(read_days(std::string(QEL_FIXTURE_DIR "/holidays_") + name + ".tsv", &years));
        if (common.empty() && sources.size() == 1) common = years;
        std::erase_if(common, [&](int y) { return !years.count(y); });
    }
    const Days resolved = read_days(QEL_HOLIDAY_RESOLUTIONS, nullptr);
    ASSERT_FALSE(common.empty());
    int32_t y0 = 0, y1 = 0;
    qel_holiday_years(&y0, &y1);
    ASSERT_TRUE(*common.begin() == y0 && *common.rbegin() == y1 && int(common.size()) == y1 - y0 + 1) << y0 << "-" << y1;
    const auto says = [](const Days& days, int64_t s) { return days.count(s) ? days.at(s) : std::string(); };
    const Covered c;
    for (const auto& [s, v] : resolved) EXPECT_TRUE(s >= c.first && s < c.end) << "resolution outside the years, serial " << s;
    int settled = 0;
    for (int64_t s = c.first; s < c.end; ++s) {
        const std::string a = says(sources[0], s), b = says(sources[1], s), d = says(sources[2], s);
        std::string want = a;
        if (a != b || a != d) {
            ASSERT_TRUE(resolved.count(s)) << "serial " << s << " unsettled: " << a << " | " << b << " | " << d;
            want = resolved.at(s), ++settled;
            ASSERT_TRUE(want == a || want == b || want == d) << "serial " << s << " resolved as no source says";
        } else {
            ASSERT_FALSE(resolved.count(s)) << "serial " << s << " resolved, but all sources say " << a;
        }
        ASSERT_TRUE(!want.starts_with("work") || qel::oracle::weekday_of(s) >= 6) << "make-up day on a weekday, serial " << s;
        int32_t holiday = -1;
        const int32_t status = qel_holiday_status(s, nullptr, &holiday);
        const std::string got = status == QEL_DAY_OFF    ? "off " + name_of(QEL_NAME_HOLIDAY_KEY, holiday)
                                : status == QEL_DAY_WORK ? "work " + name_of(QEL_NAME_HOLIDAY_KEY, holiday)
                                                         : "";
        ASSERT_EQ(got, want) << "serial " << s;
    }
    EXPECT_EQ(settled, int(resolved.size())) << "every resolution settles a disagreement";
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

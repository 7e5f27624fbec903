// The holiday table against the cross-checked sources it was generated from
// (fixtures/holidays.tsv), and the working-day arithmetic against a plain
// day-by-day count, over every covered day.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "qel_calendar.h"

namespace {

int64_t serial(int y, int m, int d) {
    int64_t s = 0;
    EXPECT_EQ(qel_serial_of_date(y, m, d, &s), QEL_OK);
    return s;
}

struct Covered {
    int64_t first = 0, end = 0;  // [first, end)
    std::vector<int64_t> before; // working days before each day, counted one day at a time
    Covered() {
        int32_t y0 = 0, y1 = 0;
        qel_holiday_years(&y0, &y1);
        first = serial(y0, 1, 1), end = serial(y1, 12, 31) + 1;
        before.push_back(0);
        // A working day: a make-up day, or Monday to Friday and no holiday;
        // the weekday from the day facts, the status from the table.
        for (int64_t s = first; s < end; ++s) {
            qel_day_facts f{};
            qel_day_facts_of(s, 0, &f);
            const bool works = f.holiday_status == QEL_DAY_WORK || (f.holiday_status == QEL_DAY_ORDINARY && f.weekday <= 5);
            EXPECT_EQ(qel_is_workday(s, nullptr), works ? 1 : 0) << s;
            before.push_back(before.back() + works);
        }
    }
    int64_t count(int64_t a, int64_t b) const { return before[size_t(b - first)] - before[size_t(a - first)]; }
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
        want[serial(y, m, d)] = std::string(status) + " " + key;
    }
    const Covered c;
    for (int64_t s = c.first; s < c.end; ++s) {
        int32_t holiday = -1;
        const int32_t status = qel_holiday_status(s, nullptr, &holiday);
        char key[48];
        qel_name(QEL_NAME_HOLIDAY_KEY, holiday, 0, key, sizeof key);
        const std::string got = status == QEL_DAY_OFF ? std::string("off ") + key
                              : status == QEL_DAY_WORK ? std::string("work ") + key : "";
        ASSERT_EQ(got, want.count(s) ? want[s] : "") << "serial " << s;
        qel_day_facts f{};
        qel_day_facts_of(s, 0, &f);
        ASSERT_EQ(f.holiday_status, status);
        ASSERT_EQ(f.holiday, status == QEL_DAY_ORDINARY ? 0 : holiday);
    }
    EXPECT_EQ(qel_holiday_status(c.first - 1, nullptr, nullptr), QEL_E_RANGE) << "unknown before the table";
    EXPECT_EQ(qel_holiday_status(c.end, nullptr, nullptr), QEL_E_RANGE) << "unknown after it";
    EXPECT_EQ(qel_is_workday(c.end, nullptr), QEL_E_RANGE);
    qel_day_facts f{};
    qel_day_facts_of(c.end, 0, &f);
    EXPECT_EQ(f.holiday_status, QEL_E_RANGE);
}

// Every pair of month starts, both ways, against the day-by-day count.
TEST(Holidays, WorkdaysBetweenEveryPairOfMonthStarts) {
    const Covered c;
    std::vector<int64_t> starts;
    for (int64_t s = c.first; s <= c.end; ++s) {
        qel_day_facts f{};
        qel_day_facts_of(s, 0, &f);
        if (f.day == 1) starts.push_back(s);
    }
    for (const int64_t a : starts)
        for (const int64_t b : starts) {
            int64_t n = 0;
            ASSERT_EQ(qel_workdays_between(a, b, nullptr, &n), QEL_OK);
            ASSERT_EQ(n, a <= b ? c.count(a, b) : -c.count(b, a)) << a << ".." << b;
        }
    int64_t n = 0;
    EXPECT_EQ(qel_workdays_between(c.first - 1, c.first + 10, nullptr, &n), QEL_E_RANGE);
    EXPECT_EQ(qel_workdays_between(c.first, c.end + 1, nullptr, &n), QEL_E_RANGE);
    EXPECT_EQ(qel_workdays_between(INT64_MIN, INT64_MAX, nullptr, &n), QEL_E_RANGE);
}

// From every covered day, steps of -10..10 and 250 working days against a
// walk over the day-by-day count.
TEST(Holidays, AddWorkdaysFromEveryDay) {
    const Covered c;
    for (int64_t d = c.first; d < c.end; ++d) {
        for (const int64_t n : {-10, -3, -1, 0, 1, 2, 5, 10, 250}) {
            int64_t want = d;  // the walk
            if (n >= 0) {
                while (want < c.end && c.count(d, want + 1) < n + 1) ++want;
            } else {
                want = d - 1;
                while (want >= c.first && c.count(want, d) < -n) --want;
            }
            const bool inside = want >= c.first && want < c.end;
            int64_t got = 0;
            ASSERT_EQ(qel_add_workdays(d, n, nullptr, &got), inside ? QEL_OK : QEL_E_RANGE) << d << " " << n;
            if (inside) ASSERT_EQ(got, want) << d << " " << n;
        }
    }
    // 2025: 国庆 and 中秋 1-8 October, 11 October (a Saturday) worked.
    int64_t got = 0;
    ASSERT_EQ(qel_add_workdays(serial(2025, 9, 30), 3, nullptr, &got), QEL_OK);
    EXPECT_EQ(got, serial(2025, 10, 11));
    EXPECT_EQ(qel_add_workdays(c.first, INT64_MAX, nullptr, &got), QEL_E_RANGE);
    EXPECT_EQ(qel_add_workdays(c.first, INT64_MIN, nullptr, &got), QEL_E_RANGE);
}

// A caller's table adds a year (and its rules), and bad tables are refused.
TEST(Holidays, CallerTableExtendsAndReplaces) {
    const qel_holiday_day days[] = {{serial(2027, 1, 1), QEL_DAY_OFF, QEL_HOLIDAY_NEW_YEAR},
                                    {serial(2027, 2, 20), QEL_DAY_WORK, QEL_HOLIDAY_SPRING_FESTIVAL}};
    const qel_holiday_table t{days, 2, 2027, 2027};
    int32_t holiday = 0;
    EXPECT_EQ(qel_holiday_status(serial(2027, 1, 1), &t, &holiday), QEL_DAY_OFF);
    EXPECT_EQ(holiday, QEL_HOLIDAY_NEW_YEAR);
    EXPECT_EQ(qel_is_workday(serial(2027, 2, 20), &t), 1) << "a Saturday worked";
    EXPECT_EQ(qel_is_workday(serial(2027, 1, 4), &t), 1);
    int64_t n = 0;
    // 2026-12-28 (Mon) .. 2027-01-04: 28-31 December worked, 1 January off.
    ASSERT_EQ(qel_workdays_between(serial(2026, 12, 28), serial(2027, 1, 4), &t, &n), QEL_OK);
    EXPECT_EQ(n, 4);
    int64_t day = 0;
    ASSERT_EQ(qel_add_workdays(serial(2026, 12, 31), 1, &t, &day), QEL_OK);
    EXPECT_EQ(day, serial(2027, 1, 4));
    EXPECT_EQ(qel_add_workdays(serial(2027, 12, 31), 1, &t, &day), QEL_E_RANGE);
    const qel_holiday_day unsorted[] = {days[1], days[0]};
    const qel_holiday_day outside[] = {{serial(2028, 1, 1), QEL_DAY_OFF, 1}};
    const qel_holiday_day bad_status[] = {{serial(2027, 1, 1), 3, 1}};
    for (const qel_holiday_table& bad : {qel_holiday_table{unsorted, 2, 2027, 2027}, qel_holiday_table{outside, 1, 2027, 2027},
                                         qel_holiday_table{bad_status, 1, 2027, 2027}, qel_holiday_table{nullptr, 1, 2027, 2027},
                                         qel_holiday_table{days, 2, 2027, 2026}})
        EXPECT_EQ(qel_holiday_status(serial(2027, 1, 1), &bad, nullptr), QEL_E_ARGUMENT);
}

}  // namespace

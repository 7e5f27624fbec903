// qel_calendar against qel_datetime's exports (a separate path through the
// same table), against the literal walk, against calendar facts, and against
// its own scalar calls for the batch calls. The independent oracle for day
// pillars, festivals and the four pillars is lunar_js_test.cpp.
#include <algorithm>
#include <chrono>
#include <cstring>
#include <tuple>
#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "qel_calendar.h"
#include "qel_datetime.h"
#include "reference/lunar_reference.h"

namespace {

constexpr int64_t kFirstTableDay = QEL_FIRST_LUNAR_SERIAL, kLastTableDay = QEL_LAST_LUNAR_SERIAL;
constexpr int64_t k1900 = 2, k2101 = 73416;  // 1900-01-01 and 2101-01-01

std::string name(int32_t kind, int32_t index, uint32_t flags = 0) {
    char buf[64];
    return qel_name(kind, index, flags, buf, sizeof buf) >= 0 ? buf : "<error>";
}

qel_day_facts facts(int64_t serial, uint32_t options = 0) {
    qel_day_facts f{};
    EXPECT_EQ(qel_day_facts_of(serial, options, &f), QEL_OK) << serial;
    return f;
}

// Every day of 1900-2101 against qel_datetime's own answers; the lunar date
// against the literal year-and-month walk.
TEST(DayFacts, AgreeWithTheListedLibraryOnEveryDay) {
    for (int64_t s = k1900; s <= kLastTableDay + 400; ++s) {
        const qel_day_facts f = facts(s);
        unsigned short y, m, d;
        DecodeDate(s, &y, &m, &d);
        ASSERT_EQ((std::array{f.year, f.month, f.day}), (std::array<int32_t, 3>{y, m, d})) << s;
        ASSERT_EQ(f.weekday, DayOfWeek(s)) << s;
        ASSERT_EQ(f.day_of_year, DayOfGYear(y, m, d)) << s;
        const bool in_table = s >= kFirstTableDay && s <= kLastTableDay;
        ASSERT_EQ(f.flags, in_table ? 0 : QEL_DAY_NO_LUNAR) << s;
        if (in_table) {
            std::array<int32_t, 4> walk{};
            qel::reference::gdate_to_pdate_walk(s, &walk[0], &walk[1], &walk[2], &walk[3]);
            ASSERT_EQ((std::array{f.lunar_year, f.lunar_month, f.lunar_day, f.lunar_leap}), walk) << s;
            ASSERT_EQ(f.lunar_month_days, getPMonthDays(f.lunar_year, f.lunar_month, f.lunar_leap)) << s;
            ASSERT_EQ(f.lunar_leap_month, GetLeapMonthInPYear(f.lunar_year)) << s;
            ASSERT_EQ(f.year_cycle, (f.lunar_year - 1864) % 60) << s;
            qel_lunar_date l{};
            int64_t back = 0;
            ASSERT_EQ(qel_lunar_of_serial(s, &l), QEL_OK);
            ASSERT_EQ(qel_serial_of_lunar(l.year, l.month, l.day, l.leap, &back), QEL_OK);
            ASSERT_EQ(back, s);
        }
        // The term of the day: the getLunarTermDay of one of the month's two terms.
        int32_t want_term = -1;
        for (int32_t k = 2 * (f.month - 1); f.year <= 2100 && k < 2 * f.month; ++k)
            if (TDate().fromDateTime(TDateTime(getLunarTermDay(f.year, k))).asDateInt() == s) want_term = k;
        ASSERT_EQ(f.term, want_term) << s;
        if (f.term >= 0) {
            int64_t day = 0;
            int32_t second = 0;
            ASSERT_EQ(qel_cst_of_instant(f.term_instant, &day, &second), QEL_OK);
            ASSERT_EQ(day, s) << "the instant falls on its day in UTC+8";
        }
    }
}

// Every lunar festival falls on exactly one day of each lunar year, the one
// qel_festival_date gives, never in a leap month; 除夕 is the eve of 春节; the
// other festivals once in each Gregorian year.
TEST(Festivals, EachOnceAYearOnTheDayTheLookupGives) {
    std::array<std::array<int, QEL_FESTIVAL_COUNT>, 202> lunar_count{}, gregorian_count{};
    for (uint32_t options : {0u, unsigned{QEL_OPT_XIAONIAN_SOUTH}}) {
        lunar_count = {}, gregorian_count = {};
        for (int64_t s = k1900; s <= kLastTableDay; ++s) {
            const qel_day_facts f = facts(s, options);
            for (int32_t fest = 0; fest < QEL_FESTIVAL_COUNT; ++fest) {
                if (!(f.festivals >> fest & 1)) continue;
                const bool lunar = fest <= QEL_FESTIVAL_NEW_YEARS_EVE;
                const int32_t year = lunar ? f.lunar_year : f.year;
                ASSERT_TRUE(!lunar || (f.flags == 0 && f.lunar_leap == 0)) << s << " festival " << fest;
                ++(lunar ? lunar_count : gregorian_count)[year - 1900][fest];
                int64_t day = 0;
                ASSERT_EQ(qel_festival_date(fest, year, options, &day), QEL_OK);
                ASSERT_EQ(day, s) << name(QEL_NAME_FESTIVAL, fest) << " " << year;
            }
            if (f.festivals >> QEL_FESTIVAL_NEW_YEARS_EVE & 1) {
                qel_lunar_date next{};
                ASSERT_EQ(qel_lunar_of_serial(s + 1, &next) == QEL_OK ? next.month * 100 + next.day : 101, 101) << s;
            }
        }
        for (int32_t y = 1900; y <= 2100; ++y)
            for (int32_t fest = 0; fest < QEL_FESTIVAL_COUNT; ++fest)
                ASSERT_EQ((fest <= QEL_FESTIVAL_NEW_YEARS_EVE ? lunar_count : gregorian_count)[y - 1900][fest], 1)
                    << name(QEL_NAME_FESTIVAL, fest) << " in " << y;
    }
    // 2024: 春节 10 February, 中秋 17 September, 除夕 of lunar 2024 on 28 January 2025 (29 days in month 12).
    for (const auto [fest, year, date] : {std::tuple{QEL_FESTIVAL_SPRING, 2024, 45332},
                                          {QEL_FESTIVAL_MID_AUTUMN, 2024, 45552},
                                          {QEL_FESTIVAL_NEW_YEARS_EVE, 2024, 45685}}) {
        int64_t day = 0;
        EXPECT_EQ(qel_festival_date(fest, year, 0, &day), QEL_OK);
        EXPECT_EQ(day, date) << name(QEL_NAME_FESTIVAL, fest);
    }
}

TEST(Festivals, NamesRoundTripAndBadArgumentsAreRefused) {
    for (int32_t f = 0; f < QEL_FESTIVAL_COUNT; ++f)
        for (int32_t kind : {QEL_NAME_FESTIVAL, QEL_NAME_FESTIVAL_SHORT, QEL_NAME_FESTIVAL_ENGLISH, QEL_NAME_FESTIVAL_KEY}) {
            const std::string n = name(kind, f);
            EXPECT_EQ(qel_festival_of_name(n.data(), n.size()), f) << n;
        }
    EXPECT_EQ(qel_festival_of_name("MID-AUTUMN", 10), QEL_FESTIVAL_MID_AUTUMN);
    EXPECT_EQ(qel_festival_of_name("中秋节x", 9), QEL_FESTIVAL_MID_AUTUMN) << "the length bounds the name";
    EXPECT_EQ(qel_festival_of_name("中", 3), QEL_E_ARGUMENT);
    EXPECT_EQ(qel_festival_of_name(nullptr, 0), QEL_E_ARGUMENT);
    int64_t day = 0;
    EXPECT_EQ(qel_festival_date(QEL_FESTIVAL_COUNT, 2000, 0, &day), QEL_E_ARGUMENT);
    EXPECT_EQ(qel_festival_date(-1, 2000, 0, &day), QEL_E_ARGUMENT);
    EXPECT_EQ(qel_festival_date(0, 2000, 2, &day), QEL_E_ARGUMENT);
    EXPECT_EQ(qel_festival_date(0, 1899, 0, &day), QEL_E_RANGE);
    EXPECT_EQ(qel_festival_date(0, 2101, 0, &day), QEL_E_RANGE);
}

// Around every term instant: in force from its second on, next until then.
TEST(Terms, InForceNextAndPreviousAroundEveryInstant) {
    int64_t first = 0, last = 0;
    ASSERT_EQ(qel_term_instant(1900, 0, &first), QEL_OK);
    ASSERT_EQ(qel_term_instant(2100, 23, &last), QEL_OK);
    qel_term t{};
    for (int32_t y = 1900; y <= 2100; ++y) {
        for (int32_t k = 0; k < 24; ++k) {
            int64_t at = 0;
            ASSERT_EQ(qel_term_instant(y, k, &at), QEL_OK);
            const auto same = [&](const qel_term& x) { return x.year == y && x.term == k && x.instant == at; };
            ASSERT_EQ(qel_term_in_force(at, &t), QEL_OK);
            ASSERT_TRUE(same(t)) << y << " " << k;
            ASSERT_EQ(qel_term_next(at - 1, &t), QEL_OK);
            ASSERT_TRUE(same(t)) << y << " " << k;
            ASSERT_EQ(qel_term_previous(at + 1, &t), QEL_OK);
            ASSERT_TRUE(same(t)) << y << " " << k;
            if (at != first) {
                ASSERT_EQ(qel_term_in_force(at - 1, &t), QEL_OK);
                ASSERT_EQ(t.year * 24 + t.term, y * 24 + k - 1);
            }
        }
    }
    EXPECT_EQ(qel_term_in_force(first - 1, &t), QEL_E_RANGE);
    EXPECT_EQ(qel_term_previous(first, &t), QEL_E_RANGE);
    EXPECT_EQ(qel_term_next(last, &t), QEL_E_RANGE);
    EXPECT_EQ(qel_term_in_force(INT64_MIN, &t), QEL_E_RANGE);
    EXPECT_EQ(qel_term_previous(INT64_MIN, &t), QEL_E_RANGE);
    EXPECT_EQ(qel_term_next(INT64_MAX, &t), QEL_E_RANGE);
    EXPECT_EQ(qel_term_in_force(INT64_MAX, &t), QEL_OK);
    int64_t at = 0;
    EXPECT_EQ(qel_term_instant(2000, 24, &at), QEL_E_ARGUMENT);
    EXPECT_EQ(qel_term_instant(2101, 0, &at), QEL_E_RANGE);
    for (int32_t k = 0; k < 24; ++k)
        for (int32_t kind : {QEL_NAME_TERM, QEL_NAME_TERM_ENGLISH, QEL_NAME_TERM_KEY}) {
            const std::string n = name(kind, k);
            EXPECT_EQ(qel_term_of_name(n.data(), n.size()), k) << n;
        }
}

// Hour by hour over the covered range: the hour pillar steps every two hours
// without a break, the day pillar at midnight (or 23:00 for the early
// convention), the month pillar exactly at each 节 and the year at 立春.
TEST(Pillars, StepOnlyAtTheirBoundaries) {
    int64_t start = 0, end = 0;
    ASSERT_EQ(qel_term_instant(1900, 2, &start), QEL_OK);
    ASSERT_EQ(qel_instant_of_cst(k2101 - 1, 86399, &end), QEL_OK);
    qel_pillars before{}, p{}, early{};
    const auto floor_mod = [](int64_t v, int64_t n) { return (v % n + n) % n; };
    const int64_t first_hour = start + 3600 - floor_mod(start, 3600);
    ASSERT_EQ(qel_pillars_of_instant(first_hour, QEL_ZI_LATE, &before), QEL_OK);
    for (int64_t t = first_hour + 3600; t <= end; t += 3600) {
        ASSERT_EQ(qel_pillars_of_instant(t, QEL_ZI_LATE, &p), QEL_OK) << t;
        ASSERT_EQ(qel_pillars_of_instant(t, QEL_ZI_EARLY, &early), QEL_OK) << t;
        const auto hour = floor_mod(t / 3600 + 8, 24);
        ASSERT_EQ(p.hour, (before.hour + (hour % 2 == 1)) % 60) << t;
        ASSERT_EQ(p.day, (before.day + (hour == 0)) % 60) << t;
        ASSERT_EQ(early.day, (p.day + (hour == 23)) % 60) << t;
        ASSERT_EQ(early.hour, p.hour);
        const bool new_month = p.month_start.instant > t - 3600;
        ASSERT_EQ(p.month, (before.month + new_month) % 60) << t;
        ASSERT_EQ(p.month_start.term % 2, 0);
        const bool new_year = p.year_start.instant > t - 3600;
        ASSERT_EQ(p.year, (before.year + new_year) % 60) << t;
        ASSERT_EQ(p.month_start.instant == p.year_start.instant, p.month % 12 == 2) << "寅 months open the year";
        before = p;
    }
    // 2024-02-04 16:27:xx: 立春. A minute before, 癸卯 year 乙丑 month; a minute after, 甲辰 丙寅.
    int64_t lichun = 0;
    ASSERT_EQ(qel_term_instant(2024, 2, &lichun), QEL_OK);
    ASSERT_EQ(qel_pillars_of_instant(lichun - 60, QEL_ZI_LATE, &p), QEL_OK);
    EXPECT_EQ(name(QEL_NAME_CYCLE, p.year) + name(QEL_NAME_CYCLE, p.month), "癸卯乙丑");
    ASSERT_EQ(qel_pillars_of_instant(lichun + 60, QEL_ZI_LATE, &p), QEL_OK);
    EXPECT_EQ(name(QEL_NAME_CYCLE, p.year) + name(QEL_NAME_CYCLE, p.month), "甲辰丙寅");
    // Civil fields and the instant agree; the covered range and bad fields.
    ASSERT_EQ(qel_pillars_of_cst(2024, 2, 4, 16, 28, 0, QEL_ZI_LATE, &early), QEL_OK);
    EXPECT_EQ(early.month, p.month);
    EXPECT_EQ(qel_pillars_of_instant(start - 1, QEL_ZI_LATE, &p), QEL_E_RANGE);
    EXPECT_EQ(qel_pillars_of_instant(end + 1, QEL_ZI_LATE, &p), QEL_E_RANGE);
    EXPECT_EQ(qel_pillars_of_cst(2100, 12, 31, 23, 59, 59, QEL_ZI_EARLY, &p), QEL_OK);
    EXPECT_EQ(qel_pillars_of_cst(1900, 1, 15, 0, 0, 0, QEL_ZI_LATE, &p), QEL_E_RANGE);
    EXPECT_EQ(qel_pillars_of_cst(2023, 2, 29, 0, 0, 0, QEL_ZI_LATE, &p), QEL_E_DATE);
    EXPECT_EQ(qel_pillars_of_cst(2023, 2, 28, 24, 0, 0, QEL_ZI_LATE, &p), QEL_E_DATE);
    EXPECT_EQ(qel_pillars_of_cst(2023, 2, 28, 0, 0, 0, 2, &p), QEL_E_ARGUMENT);
    EXPECT_EQ(qel_pillars_of_instant(0, QEL_ZI_LATE, nullptr), QEL_E_ARGUMENT);
}

TEST(Names, AsChineseCalendarsPrintThem) {
    const struct {
        int32_t kind, index;
        uint32_t flags;
        const char* want;
    } rows[] = {
        {QEL_NAME_CYCLE, 0, 0, "甲子"},       {QEL_NAME_CYCLE, 33, 0, "丁酉"},
        {QEL_NAME_CYCLE, 59, 0, "癸亥"},      {QEL_NAME_STEM, 9, 0, "癸"},
        {QEL_NAME_BRANCH, 11, 0, "亥"},       {QEL_NAME_ANIMAL, 9, 0, "鸡"},
        {QEL_NAME_LUNAR_MONTH, 1, 0, "正月"}, {QEL_NAME_LUNAR_MONTH, 11, 0, "冬月"},
        {QEL_NAME_LUNAR_MONTH, 12, 0, "腊月"}, {QEL_NAME_LUNAR_MONTH, 11, QEL_NAME_PLAIN_MONTHS, "十一月"},
        {QEL_NAME_LUNAR_MONTH, 1, QEL_NAME_PLAIN_MONTHS, "一月"},
        {QEL_NAME_LUNAR_MONTH, 6, QEL_NAME_LEAP, "闰六月"}, {QEL_NAME_LUNAR_DAY, 10, 0, "初十"},
        {QEL_NAME_LUNAR_DAY, 20, 0, "二十"},  {QEL_NAME_LUNAR_DAY, 21, 0, "廿一"},
        {QEL_NAME_LUNAR_DAY, 30, 0, "三十"},  {QEL_NAME_TERM, 23, 0, "冬至"},
        {QEL_NAME_TERM_ENGLISH, 5, 0, "Spring Equinox"}, {QEL_NAME_FESTIVAL_SHORT, QEL_FESTIVAL_NATIONAL_DAY, 0, "国庆"},
    };
    for (const auto& r : rows) EXPECT_EQ(name(r.kind, r.index, r.flags), r.want) << r.kind << " " << r.index;
    char buf[64];
    EXPECT_EQ(qel_lunar_text(2017, 6, 1, 1, 0, buf, sizeof buf), 15);
    EXPECT_STREQ(buf, "闰六月初一");
    EXPECT_EQ(qel_lunar_text(2033, 11, 1, 1, QEL_NAME_PLAIN_MONTHS, buf, sizeof buf), 18);
    EXPECT_STREQ(buf, "闰十一月初一");
    // Refusals leave "" behind.
    for (const auto [kind, index, flags] : {std::tuple{-1, 0, 0u}, {QEL_NAME_KIND_COUNT, 0, 0u}, {QEL_NAME_STEM, 10, 0u},
                                            {QEL_NAME_LUNAR_MONTH, 0, 0u}, {QEL_NAME_LUNAR_DAY, 31, 0u},
                                            {QEL_NAME_LUNAR_MONTH, 1, 4u}, {QEL_NAME_STEM, 1, QEL_NAME_LEAP}}) {
        buf[0] = 'x';
        EXPECT_EQ(qel_name(kind, index, flags, buf, sizeof buf), QEL_E_ARGUMENT) << kind << " " << index;
        EXPECT_STREQ(buf, "");
    }
    EXPECT_EQ(qel_lunar_text(2018, 6, 1, 1, 0, buf, sizeof buf), QEL_E_DATE) << "2018 has no leap month";
    EXPECT_EQ(qel_lunar_text(2017, 6, 1, 0, QEL_NAME_LEAP, buf, sizeof buf), QEL_E_ARGUMENT) << "the leap flag decides";
    EXPECT_EQ(qel_lunar_text(1899, 12, 1, 0, 0, buf, sizeof buf), QEL_E_RANGE);
}

// snprintf semantics: the full length always; what fits, cut back to a whole
// character, always terminated.
TEST(Names, ShortBuffersHoldWholeCharacters) {
    const std::string full = "闰六月初一";
    for (size_t size = 0; size <= full.size() + 1; ++size) {
        char buf[32];
        std::fill(std::begin(buf), std::end(buf), '#');
        ASSERT_EQ(qel_lunar_text(2017, 6, 1, 1, 0, size ? buf : nullptr, size), int32_t(full.size()));
        if (size == 0) continue;
        const std::string got = buf;
        ASSERT_EQ(got, full.substr(0, (size - 1) / 3 * 3)) << "size " << size;
        ASSERT_EQ(buf[size], '#') << "nothing written past the buffer";
    }
    EXPECT_EQ(qel_name(QEL_NAME_STEM, 0, 0, nullptr, 4), QEL_E_ARGUMENT);
}

TEST(LunarDates, StatusOfEveryKindOfBadDate) {
    int64_t s = 0;
    const struct {
        int32_t y, m, d, leap, status;
    } rows[] = {
        {1900, 1, 1, 0, QEL_OK},          {2100, 12, 29, 0, QEL_OK},          {1899, 12, 30, 0, QEL_E_RANGE},
        {2101, 1, 1, 0, QEL_E_RANGE},     {INT32_MIN, 1, 1, 0, QEL_E_RANGE}, {2017, 6, 30, 1, QEL_OK},
        {2017, 5, 1, 1, QEL_E_DATE},      {2018, 6, 1, 1, QEL_E_DATE},        {2017, 6, 1, 2, QEL_E_ARGUMENT},
        {2017, 13, 1, 0, QEL_E_DATE},     {2017, 0, 1, 0, QEL_E_DATE},        {2017, 1, 0, 0, QEL_E_DATE},
        {2024, 12, 30, 0, QEL_E_DATE},    {2024, 12, 29, 0, QEL_OK},          {2017, 1, INT32_MAX, 0, QEL_E_DATE},
    };
    for (const auto& r : rows) EXPECT_EQ(qel_serial_of_lunar(r.y, r.m, r.d, r.leap, &s), r.status) << r.y << "-" << r.m << "-" << r.d;
    EXPECT_EQ(qel_serial_of_lunar(2000, 1, 1, 0, nullptr), QEL_E_ARGUMENT);
    EXPECT_EQ(qel_lunar_month_days(2017, 6, 1), 30);
    EXPECT_EQ(qel_lunar_month_days(2018, 6, 1), QEL_E_DATE);
    EXPECT_EQ(qel_lunar_leap_month(2033), 11);
    EXPECT_EQ(qel_lunar_leap_month(2101), QEL_E_RANGE);
    qel_lunar_date l{};
    EXPECT_EQ(qel_lunar_of_serial(kFirstTableDay - 1, &l), QEL_E_RANGE);
    EXPECT_EQ(qel_lunar_of_serial(kLastTableDay + 1, &l), QEL_E_RANGE);
    EXPECT_EQ(qel_lunar_of_serial(INT64_MIN, &l), QEL_E_RANGE);
    qel_day_facts f{};
    EXPECT_EQ(qel_day_facts_of(QEL_FIRST_SERIAL, 0, &f), QEL_OK);
    EXPECT_EQ(qel_day_facts_of(QEL_LAST_SERIAL, 0, &f), QEL_OK);
    EXPECT_EQ(f.flags, QEL_DAY_NO_LUNAR);
    EXPECT_EQ(qel_day_facts_of(QEL_LAST_SERIAL + 1, 0, &f), QEL_E_RANGE);
    EXPECT_EQ(f.term, -1);
    EXPECT_EQ(qel_day_facts_of(0, 8, &f), QEL_E_ARGUMENT);
    EXPECT_EQ(qel_serial_of_date(2024, 2, 30, &s), QEL_E_DATE);
    EXPECT_EQ(qel_serial_of_date(10000, 1, 1, &s), QEL_E_RANGE);
}

// The batch calls equal the scalar calls element by element, on sorted runs
// (the month-run fast path), shuffled days, repeats and hostile counts.
TEST(Batch, EqualsTheScalarCalls) {
    std::vector<int64_t> days;
    for (int64_t s = kFirstTableDay - 40; s <= kLastTableDay + 40; ++s) days.push_back(s - QEL_EPOCH_UNIX);
    std::vector<int64_t> shuffled = days;
    std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937_64(7));
    shuffled.insert(shuffled.end(), {INT64_MIN, INT64_MAX, -(int64_t{1} << 62) - 1, 0, 0, 1});
    for (const auto& input : {days, shuffled}) {
        const size_t n = input.size();
        std::vector<int32_t> y(n), m(n), d(n), leap(n);
        std::vector<int8_t> status(n);
        const int64_t ok = qel_lunar_of_days(input.data(), n, QEL_EPOCH_UNIX, y.data(), m.data(), d.data(), leap.data(), status.data());
        std::vector<int64_t> back(n);
        std::vector<int8_t> back_status(n);
        EXPECT_EQ(qel_days_of_lunar(y.data(), m.data(), d.data(), leap.data(), n, QEL_EPOCH_UNIX, back.data(), back_status.data()), ok);
        std::vector<qel_day_facts> batch(n);
        const int64_t facts_ok = qel_day_facts_of_days(input.data(), n, QEL_EPOCH_UNIX, 0, batch.data(), nullptr);
        EXPECT_EQ(facts_ok, int64_t(n) - (n == days.size() ? 0 : 3));
        int64_t counted = 0;
        for (size_t i = 0; i < n; ++i) {
            const bool small = input[i] > -(int64_t{1} << 62) && input[i] < (int64_t{1} << 62);
            qel_lunar_date l{};
            const int32_t st = small ? qel_lunar_of_serial(input[i] + QEL_EPOCH_UNIX, &l) : QEL_E_RANGE;
            ASSERT_EQ(status[i], st) << input[i];
            ASSERT_EQ((std::array{y[i], m[i], d[i], leap[i]}), (std::array{l.year, l.month, l.day, l.leap})) << input[i];
            ASSERT_EQ(back[i], st == QEL_OK ? input[i] : INT64_MIN);
            counted += st == QEL_OK;
            qel_day_facts f{};
            const int32_t fs = small ? qel_day_facts_of(input[i] + QEL_EPOCH_UNIX, 0, &f) : QEL_E_RANGE;
            if (fs == QEL_OK) ASSERT_EQ(0, std::memcmp(&f, &batch[i], sizeof f)) << input[i];
        }
        EXPECT_EQ(ok, counted);
    }
    // Null outputs are skipped; a bad epoch or a null input is refused whole.
    const int64_t one = 45332;
    EXPECT_EQ(qel_lunar_of_days(&one, 1, 0, nullptr, nullptr, nullptr, nullptr, nullptr), 1);
    EXPECT_EQ(qel_lunar_of_days(&one, 1, (int64_t{1} << 40) + 1, nullptr, nullptr, nullptr, nullptr, nullptr), QEL_E_ARGUMENT);
    EXPECT_EQ(qel_lunar_of_days(nullptr, 1, 0, nullptr, nullptr, nullptr, nullptr, nullptr), QEL_E_ARGUMENT);
    EXPECT_EQ(qel_lunar_of_days(nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(qel_day_facts_of_days(&one, 1, 0, 2, nullptr, nullptr), QEL_E_ARGUMENT);
}

// Steps against std::chrono: time units as seconds since the serial epoch,
// months and years through year_month_day with the day clamped (or refused).
TEST(Step, AgreesWithChrono) {
    using namespace std::chrono;
    const sys_days epoch = year{1899} / December / 30;
    const sys_days first = year{1} / January / 1, last = year{9999} / December / 31;
    std::mt19937_64 rng(2024);
    std::uniform_int_distribution<int64_t> day(QEL_FIRST_SERIAL, QEL_LAST_SERIAL), second(0, 86399);
    const int64_t span = int64_t{QEL_LAST_SERIAL - QEL_FIRST_SERIAL + 1};
    const int64_t unit_seconds[] = {1, 60, 3600, 86400, 604800};
    for (int i = 0; i < 200000; ++i) {
        const int64_t s = day(rng);
        const auto sod = static_cast<int32_t>(second(rng));
        const int32_t unit = static_cast<int32_t>(rng() % 7);
        const int64_t reach = unit <= QEL_UNIT_WEEK ? span * 86400 / unit_seconds[unit] : unit == QEL_UNIT_MONTH ? 120000 : 10000;
        const int64_t count = std::uniform_int_distribution<int64_t>(-reach, reach)(rng) >> (rng() % 40);
        const uint32_t flags = rng() % 2 ? QEL_STEP_NO_CLAMP : 0u;
        int64_t got_day = 0;
        int32_t got_second = 0;
        const int32_t st = qel_step(s, sod, count, unit, flags, &got_day, &got_second);
        const sys_days d = epoch + days{s};
        if (unit <= QEL_UNIT_WEEK) {
            const sys_seconds t = d + seconds{sod} + seconds{count * unit_seconds[unit]};
            const sys_days want = floor<days>(t);
            const bool in = want >= first && want <= last;
            ASSERT_EQ(st, in ? QEL_OK : QEL_E_RANGE) << s << " " << count << " unit " << unit;
            if (in) ASSERT_EQ((std::pair{got_day, got_second}), (std::pair{(want - epoch).count(), int32_t((t - want).count())}));
        } else {
            const year_month_day ymd{d};
            const year_month_day moved = ymd + months{unit == QEL_UNIT_YEAR ? count * 12 : count};
            const bool in = moved.year() >= year{1} && moved.year() <= year{9999};
            const year_month_day last_of{moved.year() / moved.month() / std::chrono::last};
            const bool missing = in && !moved.ok();
            const int32_t want = !in ? QEL_E_RANGE : missing ? (flags ? QEL_E_DATE : QEL_CLAMPED) : QEL_OK;
            ASSERT_EQ(st, want) << s << " " << count << " unit " << unit;
            if (st >= 0) ASSERT_EQ(got_day, (sys_days{missing ? last_of : moved} - epoch).count());
        }
    }
    int64_t d = 0;
    int32_t t = 0;
    EXPECT_EQ(qel_step(QEL_LAST_SERIAL, 86399, 1, QEL_UNIT_SECOND, 0, &d, &t), QEL_E_RANGE);
    EXPECT_EQ(qel_step(QEL_FIRST_SERIAL, 0, INT64_MIN, QEL_UNIT_WEEK, 0, &d, &t), QEL_E_RANGE);
    EXPECT_EQ(qel_step(0, 0, INT64_MAX, QEL_UNIT_YEAR, 0, &d, &t), QEL_E_RANGE);
    EXPECT_EQ(qel_step(0, 86400, 1, QEL_UNIT_DAY, 0, &d, &t), QEL_E_ARGUMENT);
    EXPECT_EQ(qel_step(0, 0, 1, 7, 0, &d, &t), QEL_E_ARGUMENT);
    EXPECT_EQ(qel_step(0, 0, 1, QEL_UNIT_DAY, 2, &d, &t), QEL_E_ARGUMENT);
}

}  // namespace

// The contract calls of qel_calendar: the checks and messages against the
// conversions over whole grids, the ranges at their edges, the lunar year
// and step calls against day-by-day walks, the festivals of a year against
// the day facts of every day, the sized and strided day facts; and the
// cross-surface questions of tests/contract/questions.tsv, which qeldate and
// every binding answer too.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "qel_calendar.h"

namespace {

template <class F, class... A>
std::string text(F f, A... a) {
    char buf[256];
    const int32_t n = f(a..., buf, sizeof buf);
    return n < 0 ? "<status " + std::to_string(n) + ">" : std::string(buf);
}

std::string iso(int64_t serial) {
    int32_t y = 0, m = 0, d = 0;
    if (qel_date_of_serial(serial, &y, &m, &d) != QEL_OK) return "<range>";
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", y, m, d);
    return buf;
}

// Every status of the conversions comes with its reason and a message, and
// the message is empty exactly when there is nothing wrong.
TEST(Checks, AgreeWithTheConversionsOnWholeGrids) {
    for (int32_t y : {-1, 0, 1, 1899, 1900, 2023, 2024, 2100, 2101, 9999, 10000})
        for (int32_t m = -1; m <= 14; ++m)
            for (int32_t d = -1; d <= 32; ++d) {
                int32_t reason = -1;
                int64_t serial = 0;
                ASSERT_EQ(qel_check_date(y, m, d, &reason), qel_serial_of_date(y, m, d, &serial)) << y << m << d;
                ASSERT_EQ(reason == QEL_REASON_NONE, text(qel_date_message, y, m, d).empty());
                for (int32_t leap : {-1, 0, 1, 2}) {
                    ASSERT_EQ(qel_check_lunar(y, m, d, leap, &reason), qel_serial_of_lunar(y, m, d, leap, &serial))
                        << y << " " << m << " " << d << " " << leap;
                    ASSERT_EQ(reason == QEL_REASON_NONE, text(qel_lunar_message, y, m, d, leap).empty());
                }
            }
    for (int32_t h = -1; h <= 25; ++h)
        for (int32_t mi : {-1, 0, 59, 60})
            for (int32_t s : {-1, 0, 59, 60}) {
                int32_t reason = -1;
                qel_pillars p;
                ASSERT_EQ(qel_check_time(h, mi, s, &reason), qel_pillars_of_cst(2000, 1, 1, h, mi, s, 0, &p));
                ASSERT_EQ(reason == QEL_REASON_NONE, text(qel_time_message, h, mi, s).empty());
            }
}

// Each domain's range, probed one step inside and outside with its own call.
TEST(Ranges, EveryDomainEndsWhereItsCallsDo) {
    auto lunar_ok = [](int64_t s) { qel_lunar_date l; return qel_lunar_of_serial(s, &l) == QEL_OK; };
    auto facts_ok = [](int64_t s) { qel_day_facts f; return qel_day_facts_of(s, 0, &f) == QEL_OK; };
    auto holiday_ok = [](int64_t s) { return qel_holiday_status(s, nullptr, nullptr) >= 0; };
    auto pillars_ok = [](int64_t t) { qel_pillars p; return qel_pillars_of_instant(t, 0, &p) == QEL_OK; };
    auto term_year_ok = [](int64_t y) { int64_t t; return qel_term_instant(int32_t(y), 0, &t) == QEL_OK; };
    auto lunar_year_ok = [](int64_t y) { return qel_lunar_leap_month(int32_t(y)) >= 0; };
    auto edges = [](auto ok, int64_t first, int64_t last) {
        return ok(first) && ok(last) && !ok(first - 1) && !ok(last + 1);
    };
    qel_range r[QEL_DOMAIN_COUNT];
    for (int32_t d = 0; d < QEL_DOMAIN_COUNT; ++d) {
        ASSERT_EQ(qel_domain_range(d, &r[d]), QEL_OK);
        EXPECT_EQ(qel_range_message(d, nullptr, 0) > 0, true);
    }
    EXPECT_TRUE(edges(facts_ok, r[QEL_DOMAIN_GREGORIAN].first_serial, r[QEL_DOMAIN_GREGORIAN].last_serial));
    EXPECT_TRUE(edges(lunar_ok, r[QEL_DOMAIN_LUNAR].first_serial, r[QEL_DOMAIN_LUNAR].last_serial));
    EXPECT_TRUE(edges(lunar_year_ok, r[QEL_DOMAIN_LUNAR].first_year, r[QEL_DOMAIN_LUNAR].last_year));
    EXPECT_TRUE(edges(term_year_ok, r[QEL_DOMAIN_TERMS].first_year, r[QEL_DOMAIN_TERMS].last_year));
    EXPECT_TRUE(edges(pillars_ok, r[QEL_DOMAIN_PILLARS].first_instant, r[QEL_DOMAIN_PILLARS].last_instant));
    EXPECT_TRUE(edges(holiday_ok, r[QEL_DOMAIN_HOLIDAYS].first_serial, r[QEL_DOMAIN_HOLIDAYS].last_serial));
    qel_range unknown;
    EXPECT_EQ(qel_domain_range(QEL_DOMAIN_COUNT, &unknown), QEL_E_ARGUMENT);
}

// The festivals of every Gregorian year equal the days the day facts mark.
TEST(Festivals, OfAYearAreTheMarkedDays) {
    qel_range terms;
    ASSERT_EQ(qel_domain_range(QEL_DOMAIN_TERMS, &terms), QEL_OK);
    for (uint32_t options : {0u, unsigned{QEL_OPT_XIAONIAN_SOUTH}})
        for (int32_t y = terms.first_year; y <= terms.last_year; ++y) {
            std::vector<std::pair<int64_t, int32_t>> marked;
            int64_t jan1 = 0, next = 0;
            qel_serial_of_date(y, 1, 1, &jan1), qel_serial_of_date(y + 1, 1, 1, &next);
            for (int64_t s = jan1; s < next; ++s) {
                qel_day_facts f;
                ASSERT_EQ(qel_day_facts_of(s, options, &f), QEL_OK);
                for (int32_t k = 0; k < QEL_FESTIVAL_COUNT; ++k)
                    if (f.festivals >> k & 1) marked.emplace_back(s, k);
            }
            qel_festival_day days[QEL_FESTIVAL_DAYS_MAX];
            const int32_t n = qel_festivals_of_year(y, options, days, QEL_FESTIVAL_DAYS_MAX);
            ASSERT_EQ(n, int32_t(marked.size())) << y;
            for (int32_t k = 0; k < n; ++k)
                ASSERT_TRUE(days[k].serial == marked[size_t(k)].first && days[k].festival == marked[size_t(k)].second)
                    << y << " " << k;
        }
}

// The sized and strided calls write what qel_day_facts_of writes, and zeros
// past it for a caller whose structure is larger.
TEST(DayFacts, SizedAndStridedEqualThePlainCall) {
    struct Larger {
        qel_day_facts facts;
        int64_t later_fields[3];
    };
    const int64_t days[] = {-700000, 2, 42939, 73443, 2958465, 2958466};
    Larger larger[6];
    std::memset(larger, 0x5A, sizeof larger);
    int8_t status[6];
    EXPECT_EQ(qel_day_facts_of_days_strided(days, 6, 0, 0, larger, sizeof(Larger), status), 4);
    for (size_t i = 0; i < 6; ++i) {
        qel_day_facts plain, sized;
        Larger one;
        std::memset(&one, 0x5A, sizeof one);
        const int32_t st = qel_day_facts_of(days[i], 0, &plain);
        EXPECT_EQ(qel_day_facts_get(days[i], 0, &sized, sizeof sized), st);
        EXPECT_EQ(qel_day_facts_get(days[i], 0, &one.facts, sizeof one), st);
        EXPECT_EQ(status[i], st);
        EXPECT_EQ(std::memcmp(&plain, &sized, sizeof plain), 0);
        EXPECT_EQ(std::memcmp(&larger[i], &one, sizeof one), 0);
        EXPECT_TRUE(one.later_fields[0] == 0 && one.later_fields[2] == 0);
    }
    qel_day_facts f;
    EXPECT_EQ(qel_day_facts_get(2, 0, &f, QEL_DAY_FACTS_SIZE_1_0 - 8), QEL_E_ARGUMENT);
    EXPECT_EQ(qel_day_facts_of_days_strided(days, 1, 0, 0, larger, sizeof(qel_day_facts) + 4, status), QEL_E_ARGUMENT);
}

// ---- The cross-surface questions ------------------------------------------

struct Lunar {
    int32_t y = 0, m = 0, d = 0, leap = 0;
};
Lunar parse_lunar(std::istringstream& in) {
    Lunar l;
    char dash1 = 0, dash2 = 0;
    in >> l.y >> dash1 >> l.m >> dash2 >> l.d;
    std::string word;
    const auto at = in.tellg();
    if (in >> word && word == "leap") l.leap = 1;
    else in.clear(), in.seekg(at);
    return l;
}
std::string show(const qel_lunar_date& l) {
    return std::to_string(l.year) + "-" + std::to_string(l.month) + "-" + std::to_string(l.day) + (l.leap ? " leap" : "");
}
std::string range(int32_t domain) { return "! " + text(qel_range_message, domain); }

std::string answer(const std::string& kind, const std::string& input) {
    std::istringstream in(input);
    if (kind == "lunar") {
        int32_t y = 0, m = 0, d = 0;
        char dash = 0;
        in >> y >> dash >> m >> dash >> d;
        int64_t serial = 0;
        if (qel_serial_of_date(y, m, d, &serial) != QEL_OK) return "! " + text(qel_date_message, y, m, d);
        qel_lunar_date l{};
        if (qel_lunar_of_serial(serial, &l) != QEL_OK) return range(QEL_DOMAIN_LUNAR);
        return show(l);
    }
    if (kind == "solar") {
        const Lunar l = parse_lunar(in);
        int64_t serial = 0;
        if (qel_serial_of_lunar(l.y, l.m, l.d, l.leap, &serial) != QEL_OK)
            return "! " + text(qel_lunar_message, l.y, l.m, l.d, l.leap);
        return iso(serial);
    }
    if (kind == "festival" || kind == "festival_of_lunar_year") {
        int32_t year = 0;
        std::string key;
        in >> year >> key;
        const int32_t f = qel_festival_of_name(key.data(), key.size());
        if (kind == "festival_of_lunar_year") {
            int64_t serial = 0;
            return qel_festival_date(f, year, 0, &serial) == QEL_OK ? iso(serial) : range(QEL_DOMAIN_LUNAR);
        }
        qel_festival_day days[QEL_FESTIVAL_DAYS_MAX];
        const int32_t n = qel_festivals_of_year(year, 0, days, QEL_FESTIVAL_DAYS_MAX);
        if (n < 0) return range(QEL_DOMAIN_TERMS);
        std::string out;
        for (int32_t k = 0; k < n; ++k)
            if (days[k].festival == f) out += (out.empty() ? "" : " ") + iso(days[k].serial);
        return out.empty() ? "-" : out;
    }
    if (kind == "pillars") {
        int32_t y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
        char zi[16] = {};
        std::sscanf(input.c_str(), "%d-%d-%dT%d:%d:%d %15s", &y, &mo, &d, &h, &mi, &s, zi);
        const int32_t convention = qel_zi_of_name(zi, std::strlen(zi));
        if (qel_check_date(y, mo, d, nullptr) == QEL_E_DATE) return "! " + text(qel_date_message, y, mo, d);
        if (qel_check_time(h, mi, s, nullptr) != QEL_OK) return "! " + text(qel_time_message, h, mi, s);
        qel_pillars p{};
        if (qel_pillars_of_cst(y, mo, d, h, mi, s, convention, &p) != QEL_OK) return range(QEL_DOMAIN_PILLARS);
        std::string out;
        for (int32_t i : {p.year, p.month, p.day, p.hour})
            out += (out.empty() ? "" : " ") + text(qel_name, int32_t{QEL_NAME_CYCLE}, i, 0u);
        return out;
    }
    if (kind == "add_months" || kind == "add_years") {
        const Lunar l = parse_lunar(in);
        int64_t n = 0;
        in >> n;
        qel_lunar_date out{};
        const int32_t st = qel_lunar_step(l.y, l.m, l.d, l.leap, n, kind == "add_months" ? QEL_UNIT_MONTH : QEL_UNIT_YEAR,
                                          0, &out);
        if (st < 0) return st == QEL_E_RANGE ? range(QEL_DOMAIN_LUNAR) : "! " + text(qel_lunar_message, l.y, l.m, l.d, l.leap);
        return show(out);
    }
    if (kind == "add_workdays") {
        int32_t y = 0, m = 0, d = 0;
        char dash = 0;
        int64_t n = 0, serial = 0, out = 0;
        in >> y >> dash >> m >> dash >> d >> n;
        qel_serial_of_date(y, m, d, &serial);
        return qel_add_workdays(serial, n, nullptr, &out) == QEL_OK ? iso(out) : range(QEL_DOMAIN_HOLIDAYS);
    }
    return "<unknown kind " + kind + ">";
}

TEST(Questions, TheCalendarAnswersEveryQuestion) {
    std::ifstream file(QEL_QUESTIONS);
    ASSERT_TRUE(file.is_open());
    int asked = 0;
    for (std::string line; std::getline(file, line);) {
        if (line.empty() || line[0] == '#') continue;
        const size_t tab1 = line.find('\t'), tab2 = line.find('\t', tab1 + 1);
        ASSERT_NE(tab2, std::string::npos) << line;
        const std::string kind = line.substr(0, tab1), input = line.substr(tab1 + 1, tab2 - tab1 - 1);
        if (std::getenv("QEL_PRINT_ANSWERS")) std::printf("%s\t%s\t%s\n", kind.c_str(), input.c_str(), answer(kind, input).c_str());
        EXPECT_EQ(answer(kind, input), line.substr(tab2 + 1)) << kind << " " << input;
        ++asked;
    }
    EXPECT_GT(asked, 40);
}

}  // namespace

// The three lunisolar calendars, lunar years 1645-2200, month by month against
// engines we did not write: lunar-javascript 1.7.7 and tyme4ts 1.5.2 (the
// Chinese historical record), korean-lunar-calendar 0.4.0 (the KASI table),
// amlich 0.0.2 (Hồ Ngọc Đức's Vietnamese algorithm) and ICU 72's Chinese
// calendar. The fixtures and the classified differences are written by
// tools/gen/lunisolar/regenerate.
//
// Every difference is named in a resolutions file of the generator, with the
// month computation gives and the month the other source gives. The tests
// rebuild pure computation from our months and those lines, then require each
// source to differ from it on exactly the listed months, and our months to be
// the listed winner. A month that starts to differ, or a listed one that stops,
// fails by name.
#include "qel_calendar.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#if QEL_HAVE_ICU
#include <unicode/calendar.h>
#include <unicode/locid.h>
#include <unicode/timezone.h>

#include <memory>
#endif

namespace {

// "1645-06" or "1645-06L", as the resolutions files write a month.
std::string Label(int year, int month, int leap) {
    char s[32];
    std::snprintf(s, sizeof s, "%04d-%02d%s", year, month, leap ? "L" : "");
    return s;
}

int64_t SerialOf(const std::string& ymd) {
    int y = 0, m = 0, d = 0;
    int64_t serial = 0;
    EXPECT_EQ(std::sscanf(ymd.c_str(), "%d-%d-%d", &y, &m, &d), 3) << ymd;
    EXPECT_EQ(qel_serial_of_date(y, m, d, &serial), QEL_OK) << ymd;
    return serial;
}

std::vector<std::vector<std::string>> Rows(const std::string& path) {
    std::ifstream in(path);
    EXPECT_TRUE(in.is_open()) << path;
    std::vector<std::vector<std::string>> rows;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::vector<std::string> cells;
        std::istringstream cols(line);
        for (std::string cell; std::getline(cols, cell, '\t');) cells.push_back(cell);
        rows.push_back(cells);
    }
    return rows;
}

// A calendar's months: label -> first day.
using Months = std::map<std::string, int64_t>;

// Our months, checked to follow each other without gap or overlap.
Months Ours(int calendar) {
    Months months;
    int64_t end = QEL_FIRST_LUNAR_SERIAL;
    for (int y = QEL_FIRST_YEAR; y <= QEL_LAST_YEAR; ++y) {
        qel_lunar_month m[QEL_LUNAR_MONTHS_MAX];
        const int n = qel_lunar_year_months_in(calendar, y, m, QEL_LUNAR_MONTHS_MAX);
        EXPECT_GE(n, 12) << y;
        for (int i = 0; i < n; ++i, end += m[i - 1].days) {
            EXPECT_EQ(m[i].first_serial, end) << Label(y, m[i].month, m[i].leap);
            months[Label(y, m[i].month, m[i].leap)] = m[i].first_serial;
        }
    }
    EXPECT_EQ(end, QEL_LAST_LUNAR_SERIAL + 1);
    return months;
}

// A fixture's months; each must end where the next begins, so that equal first
// days mean every day of the span is the same lunar date.
Months Fixture(const char* name) {
    Months months;
    int64_t end = 0;
    for (const auto& r : Rows(std::string(QEL_FIXTURE_DIR) + "/lunisolar/" + name)) {
        const int64_t first = SerialOf(r.at(3));
        EXPECT_TRUE(months.empty() || first == end) << name << ": gap before " << r[0] << '-' << r[1];
        months[Label(std::stoi(r[0]), std::stoi(r[1]), std::stoi(r[2]))] = first;
        end = first + std::stoi(r.at(4));
    }
    return months;
}

// The months whose first day differs, or that one side lacks.
std::set<std::string> Differ(const Months& a, const Months& b) {
    std::set<std::string> out;
    for (const auto& [label, first] : a)
        if (!b.count(label) || b.at(label) != first) out.insert(label);
    for (const auto& [label, first] : b)
        if (!a.count(label)) out.insert(label);
    return out;
}

// The months of `m` that start within the span of `span`.
Months Within(const Months& m, const Months& span) {
    int64_t from = INT64_MAX, to = INT64_MIN;
    for (const auto& [label, first] : span) from = std::min(from, first), to = std::max(to, first);
    Months out;
    for (const auto& [label, first] : m)
        if (first >= from && first <= to) out[label] = first;
    return out;
}

// One line of a resolutions file: computation's first day and the other
// source's ("-": the source has no such month).
struct Resolution {
    std::string computed, other, fixture_first;  // fixture_first: what the fixture source says
    bool computation_stands;
};

// The lines by month. A Chinese "published-*" line sets the table against
// computation and carries the record's month in its fifth column.
std::map<std::string, Resolution> Resolutions(const char* file) {
    std::map<std::string, Resolution> out;
    for (const auto& r : Rows(std::string(QEL_RESOLUTIONS_DIR) + "/" + file)) {
        const bool published = r.at(1).rfind("published-", 0) == 0;
        const std::string& outcome = r.at(r.size() - 2);
        out[r[0]] = {r.at(2), r.at(3), published ? r.at(4) : r.at(3), outcome == "computation stands"};
    }
    return out;
}

void Set(Months& m, const std::string& label, const std::string& first) {
    if (first == "-") m.erase(label); else m[label] = SerialOf(first);
}

// Whether `m` has the month as a line writes it.
bool Has(const Months& m, const std::string& label, const std::string& first) {
    return first == "-" ? !m.count(label) : m.count(label) && m.at(label) == SerialOf(first);
}

struct Calendar {
    int calendar;
    const char* resolutions;
    std::vector<const char*> fixtures;
    std::set<std::string> differ_from_ours;  // the fixtures' months we do not follow
};

const Calendar kCalendars[] = {
    // The published table keeps 2089-08 and 2097-07 a day after the new
    // moons lunar-javascript and computation put minutes before midnight.
    {QEL_CALENDAR_CHINESE, "resolutions.tsv", {"chinese_lunar_javascript.tsv", "chinese_tyme4ts.tsv"},
     {"2089-08", "2097-07"}},
    {QEL_CALENDAR_KOREAN, "resolutions_korean.tsv", {"korean_kasi.tsv"}, {}},
    {QEL_CALENDAR_VIETNAMESE, "resolutions_vietnamese.tsv", {"vietnamese_amlich.tsv"}, {"2072-11", "2077-10"}},
};

// Computation: our months with every resolved line put back to its computed
// month. Our month must be the line's winner.
Months Computation(const Calendar& c, const Months& ours) {
    Months computed = ours;
    for (const auto& [label, r] : Resolutions(c.resolutions)) {
        EXPECT_TRUE(Has(ours, label, r.computation_stands ? r.computed : r.other))
            << "calendar " << c.calendar << ": " << label << " is not the resolved month";
        Set(computed, label, r.computed);
    }
    return computed;
}

TEST(Lunisolar, EachSourceDiffersOnlyOnItsResolvedMonths) {
    for (const Calendar& c : kCalendars) {
        const Months ours = Ours(c.calendar), computed = Computation(c, ours);
        const auto lines = Resolutions(c.resolutions);
        for (const char* name : c.fixtures) {
            const Months theirs = Fixture(name);
            std::set<std::string> listed;
            for (const auto& [label, r] : lines)
                if (r.computed != r.fixture_first) listed.insert(label);
            EXPECT_EQ(Differ(Within(computed, theirs), theirs), listed) << name << " against computation";
            EXPECT_EQ(Differ(Within(ours, theirs), theirs), c.differ_from_ours) << name << " against ours";
            std::cout << name << ": " << theirs.size() << " months, " << listed.size()
                      << " differ from computation, " << c.differ_from_ours.size() << " from ours\n";
        }
    }
}

TEST(Lunisolar, MonthInfoNamesSourceAndUncertainty) {
    // The Chinese months of the published table that computation flags: the
    // meridian of 1906 and three new moons within their margin of midnight.
    const std::map<std::string, uint32_t> kPublishedFlagged = {
        {"1906-04", QEL_MONTH_COMPUTATION_DIFFERS},
        {"2057-09", QEL_MONTH_START_UNCERTAIN},
        {"2089-08", QEL_MONTH_START_UNCERTAIN | QEL_MONTH_COMPUTATION_DIFFERS},
        {"2097-07", QEL_MONTH_START_UNCERTAIN | QEL_MONTH_COMPUTATION_DIFFERS},
    };
    const int64_t kasi_end = SerialOf("2051-01-01");  // the KASI table gives the months that end by 2050-12-31
    static const char* const kNames[] = {"Chinese", "Korean", "Vietnamese"};
    for (const Calendar& c : kCalendars) {
        const Months ours = Ours(c.calendar), computed = Computation(c, ours);
        std::map<std::string, uint32_t> published_flagged;
        int count[3] = {}, differ = 0, start = 0, label_uncertain = 0;
        for (const auto& [label, first] : ours) {
            const int year = std::stoi(label.substr(0, 4)), month = std::stoi(label.substr(5, 2));
            qel_month_info info{};
            ASSERT_EQ(qel_lunar_month_info(c.calendar, year, month, label.size() == 8, &info), QEL_OK) << label;
            EXPECT_EQ(info.first_serial, first) << label;
            const bool differs = !computed.count(label) || computed.at(label) != first;
            EXPECT_EQ((info.flags & QEL_MONTH_COMPUTATION_DIFFERS) != 0, differs) << kNames[c.calendar] << ' ' << label;
            EXPECT_EQ(info.flags & QEL_MONTH_ENGINES_DIFFER, 0u) << kNames[c.calendar] << ' ' << label;
            const bool table = (c.calendar == QEL_CALENDAR_CHINESE && year >= 1900 && year <= 2100) ||
                               (c.calendar == QEL_CALENDAR_KOREAN && first + info.days <= kasi_end);
            EXPECT_EQ(info.source, table ? QEL_SOURCE_PUBLISHED : differs ? QEL_SOURCE_RECORD : QEL_SOURCE_COMPUTED)
                << kNames[c.calendar] << ' ' << label;
            if (c.calendar == QEL_CALENDAR_CHINESE && table && info.flags) published_flagged[label] = info.flags;
            ++count[info.source];
            differ += differs;
            start += (info.flags & QEL_MONTH_START_UNCERTAIN) != 0;
            label_uncertain += (info.flags & QEL_MONTH_LABEL_UNCERTAIN) != 0;
        }
        if (c.calendar == QEL_CALENDAR_CHINESE) {
            EXPECT_EQ(published_flagged, kPublishedFlagged);
        }
        std::cout << kNames[c.calendar] << ": " << ours.size() << " months: " << count[QEL_SOURCE_PUBLISHED]
                  << " published, " << count[QEL_SOURCE_COMPUTED] << " computed, " << count[QEL_SOURCE_RECORD]
                  << " record; " << differ << " not as computed; " << start << " start uncertain, " << label_uncertain << " label uncertain\n";
    }
}

#if QEL_HAVE_ICU
// ICU's months, walked from lunar 1645-01-01: from each first day, 29 days on
// is the next first day or the 30th. ICU computes every date afresh from its
// own Sun and Moon (a third of a millisecond a day), so this asks it about
// 1.3 days a month rather than every day.
Months IcuMonths() {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Calendar> cal(icu::Calendar::createInstance(
        icu::TimeZone::createTimeZone("UTC"), icu::Locale("en@calendar=chinese"), status));
    EXPECT_TRUE(U_SUCCESS(status)) << u_errorName(status);
    Months months;
    const int64_t kSerial1970_01_01 = 25569;
    auto fields = [&](int64_t serial, int f[4]) {
        cal->setTime(static_cast<UDate>(serial - kSerial1970_01_01) * U_MILLIS_PER_DAY, status);
        // The extended year counts from 2637 BC, the Yellow Emperor's epoch.
        f[0] = cal->get(UCAL_EXTENDED_YEAR, status) - 2637;
        f[1] = cal->get(UCAL_MONTH, status) + 1;
        f[2] = cal->get(UCAL_IS_LEAP_MONTH, status);
        f[3] = cal->get(UCAL_DATE, status);
    };
    int f[4];
    for (int64_t s = QEL_FIRST_LUNAR_SERIAL; s <= QEL_LAST_LUNAR_SERIAL;) {
        fields(s, f);
        EXPECT_EQ(f[3], 1) << "ICU day " << s;
        months[Label(f[0], f[1], f[2])] = s;
        fields(s += 29, f);
        if (f[3] != 1) s += 1;
    }
    EXPECT_TRUE(U_SUCCESS(status)) << u_errorName(status);
    return months;
}
#endif

TEST(Lunisolar, IcuDiffersOnlyOnItsClassifiedMonths) {
#if QEL_HAVE_ICU
    const Months ours = Ours(QEL_CALENDAR_CHINESE), computed = Computation(kCalendars[0], ours);
    const Months icu = IcuMonths();
    Months expected = computed;  // computation, with each classified month as ICU has it
    std::map<std::string, int> classes;
    for (const auto& r : Rows(std::string(QEL_RESOLUTIONS_DIR) + "/icu_differences.tsv")) {
        EXPECT_TRUE(Has(computed, r.at(0), r.at(2))) << r[0] << ": not computation's month";
        EXPECT_NE(r[2], r.at(3)) << r[0] << ": no difference";
        Set(expected, r[0], r.at(3));
        ++classes[r.at(1)];
    }
    EXPECT_EQ(Differ(expected, icu), std::set<std::string>{});
    for (const auto& [name, n] : classes) std::cout << "ICU, " << name << ": " << n << " months\n";
#else
    GTEST_SKIP() << "built without ICU (libicu-dev)";
#endif
}

}  // namespace

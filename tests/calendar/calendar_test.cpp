// qel_calendar swept through the checks of shared/calendar_checks.h: over every day, term instant and,
// in steps, every hour of the covered years, and over the hostile tables;
// against the literal lunar walk; and against calendar facts no check can
// derive. The independent oracle of day pillars, festivals and the four
// pillars is lunar_js_test.cpp.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "reference/lunar_reference.h"
#include "shared/calendar_checks.h"

namespace {

using namespace qel::checks;
namespace hostile = qel::hostile;

constexpr int64_t k1900 = 2, k2101 = 73416;  // 1900-01-01 and 2101-01-01

std::string name(int32_t kind, int32_t index, uint32_t flags = 0) {
    char buf[64];
    return qel_name(kind, index, flags, buf, sizeof buf) >= 0 ? buf : "<error>";
}

// Every day of the lunar calendars, each under one of four options in turn:
// the Chinese calendar with the northern and the southern 小年, the Korean
// and the Vietnamese calendars.
TEST(DayFacts, EveryDayOfTheTablesAndEveryHostileSerial) {
    constexpr uint32_t kRotation[] = {0u, QEL_OPT_XIAONIAN_SOUTH, QEL_OPT_CALENDAR(QEL_CALENDAR_KOREAN),
                                      QEL_OPT_CALENDAR(QEL_CALENDAR_VIETNAMESE)};
    for (int64_t s = QEL_FIRST_LUNAR_SERIAL - 400; s <= QEL_LAST_LUNAR_SERIAL + 400; ++s)
        ASSERT_CHECK(check_day_facts(s, kRotation[u64(s) % 4])) << s;
    for (int64_t s : hostile::kSerials)
        for (uint32_t options : hostile::kOptions) ASSERT_CHECK(check_day_facts(s, options)) << s << " " << options;
}

// The lunar date of every day of the three calendars, against the literal
// months (and in 1900-2100 the literal walk of the year table), and its text.
TEST(LunarDates, EveryDayEqualsTheWalk) {
    for (int64_t s = QEL_FIRST_LUNAR_SERIAL - 40; s <= QEL_LAST_LUNAR_SERIAL + 40; ++s) {
        ASSERT_CHECK(check_lunar_of_serial(s)) << s;
        qel_lunar_date l{}, walk{};
        if (qel_lunar_of_serial(s, &l) != QEL_OK) continue;
        if (l.year >= 1900 && l.year <= 2100) {
            qel::reference::gdate_to_pdate_walk(s, &walk.year, &walk.month, &walk.day, &walk.leap);
            ASSERT_TRUE(same_bytes(l, walk)) << s;
        }
        ASSERT_CHECK(check_lunar_date(l.year, l.month, l.day, l.leap, s % 3 ? QEL_NAME_PLAIN_MONTHS : 0, size_t(s % 9),
                                      s % 11 == 0))
            << s;
    }
    for (int64_t s : hostile::kSerials) ASSERT_CHECK(check_lunar_of_serial(s)) << s;
}

// Every field and flag of the hostile tables, buffers of 0 .. 5 bytes, null.
TEST(LunarDates, HostileDatesTheirLengthsAndTexts) {
    for (const auto& d : hostile::kLunarDates)
        for (uint32_t flags : hostile::kOptions)
            for (size_t size = 0; size < 6; ++size)
                ASSERT_CHECK(check_lunar_date(d.year, d.month, d.day, d.leap, flags, size, size == 1))
                    << d.year << "-" << d.month << "-" << d.day << " " << d.leap << " " << flags;
    for (int32_t y : hostile::kYears)
        for (int32_t m : hostile::kMonths)
            for (int32_t d : hostile::kDays)
                for (int32_t leap : hostile::kLeapFlags)
                    ASSERT_CHECK(check_lunar_date(y, m, d, leap, QEL_NAME_PLAIN_MONTHS, 4, false))
                        << y << "-" << m << "-" << d << " " << leap;
}

// Every month ordinal of every calendar, one step from the first month,
// against the literal months: the lookup's year guess for an ordinal, the
// leap months in order, and the calendar's end.
TEST(LunarDates, EveryMonthOrdinalOfEveryCalendar) {
    for (int32_t c = 0; c < QEL_CALENDAR_COUNT; ++c) {
        const auto& months = literal_months(c);
        for (size_t k = 0; k <= months.size(); ++k) {
            qel_lunar_date to{};
            const int32_t st = qel_lunar_step(1645, 1, 1, 0, int64_t(k), QEL_UNIT_MONTH, QEL_OPT_CALENDAR(c), &to);
            if (k == months.size()) {
                ASSERT_EQ(st, QEL_E_RANGE) << c;
                continue;
            }
            ASSERT_TRUE(st == QEL_OK && to.year == months[k].year && to.month == months[k].month &&
                        to.leap == months[k].leap && to.day == 1)
                << c << " " << k;
        }
    }
}

TEST(Dates, SerialsAndInstantsOfHostileFields) {
    for (int32_t y : hostile::kYears)
        for (int32_t m : hostile::kMonths)
            for (int32_t d : hostile::kDays) ASSERT_CHECK(check_serial_of_date(y, m, d)) << y << "-" << m << "-" << d;
    for (int64_t t : hostile::kInstants)
        for (int64_t step : {-86400, -1, 0, 1, 86399})  // not "near": a macro of windows.h
            ASSERT_CHECK(check_instant(static_cast<int64_t>(u64(t) + u64(step)))) << t << " " << step;
    for (int64_t s : hostile::kSerials)
        for (int32_t sec : hostile::kSecondsOfDay) ASSERT_CHECK(check_instant_of_cst(s, sec)) << s << " " << sec;
}

TEST(Terms, EveryInstantAndHostileArguments) {
    for (int32_t y = QEL_FIRST_YEAR; y <= QEL_LAST_YEAR; ++y)
        for (int32_t k = 0; k < 24; ++k) {
            ASSERT_CHECK(check_term_instant(y, k)) << y << " " << k;
            int64_t t = 0;
            qel_term_instant(y, k, &t);
            for (int64_t u : {t - 1, t, t + 1}) ASSERT_CHECK(check_terms_around(u)) << u;
        }
    for (int32_t y : hostile::kYears)
        for (int32_t k : hostile::kIndexes) ASSERT_CHECK(check_term_instant(y, k)) << y << " " << k;
    for (int64_t u : hostile::kInstants) ASSERT_CHECK(check_terms_around(u)) << u;
}

// At each term instant and a second either side, and every 7 h 13 min (which
// meets every minute of the day), under both conventions and hostile ones.
TEST(Pillars, AroundEveryTermAndInSteps) {
    for (int32_t zi : hostile::kFlags) {
        for (size_t i = 0; i < size_t{qel::calendar::kTermCount}; ++i)
            for (int64_t u : {qel::calendar::term_instant(i) - 1, qel::calendar::term_instant(i), qel::calendar::term_instant(i) + 1}) ASSERT_CHECK(check_pillars(u, zi)) << u << " " << zi;
        for (int64_t t = kFirstPillar - 7200; t < kEndPillar + 7200; t += (zi == 0 || zi == 1 ? 7 * 3600 + 13 * 60 : 86400 * 97))
            ASSERT_CHECK(check_pillars(t, zi)) << t << " " << zi;
        for (int64_t t : hostile::kInstants) ASSERT_CHECK(check_pillars(t, zi)) << t << " " << zi;
    }
    for (int32_t y : {1644, 1645, 1900, 2024, 2200, 2201})
        for (int32_t m : {0, 1, 2, 12, 13})
            for (int32_t d : {0, 1, 4, 31, 32})
                for (int32_t h : {-1, 0, 16, 23, 24})
                    for (int32_t zi : hostile::kFlags)
                        ASSERT_CHECK(check_pillars_of_cst(y, m, d, h, 59, 59, zi) &&
                                     check_pillars_of_cst(y, m, d, h, 60, 0, zi) &&
                                     check_pillars_of_cst(y, m, d, h, 0, -1, zi))
                            << y << "-" << m << "-" << d << " " << h << " " << zi;
}

TEST(Names, EveryKindIndexFlagAndBufferSize) {
    for (int32_t kind = -1; kind <= QEL_NAME_KIND_COUNT; ++kind)
        for (int32_t index : hostile::kIndexes)
            for (uint32_t flags : hostile::kOptions)
                for (size_t size = 0; size < 8; ++size)
                    ASSERT_CHECK(check_name(kind, index, flags, size, size == 2, size * 0x9E3779B9u))
                        << kind << " " << index << " " << flags << " " << size;
    for (int32_t kind = QEL_NAME_TERM; kind <= QEL_NAME_FESTIVAL_KEY; ++kind)
        for (int32_t index = 0; index < QEL_FESTIVAL_COUNT; ++index) {
            const std::string n = name(kind, index);
            for (size_t cut = 0; cut <= n.size(); ++cut) ASSERT_CHECK(check_name_lookup(std::string_view(n).substr(0, cut)));
        }
    for (const char* text : hostile::kTexts) ASSERT_CHECK(check_name_lookup(text));
}

// 小年 in the south (lunar 12-24) is a day after the north's, which
// lunar_js_test checks on every day; no oracle lists the southern one.
TEST(Festivals, SouthernXiaonian) {
    for (const auto& [options, d] : {std::pair{0u, 22u}, std::pair{unsigned{QEL_OPT_XIAONIAN_SOUTH}, 23u}}) {
        int64_t day = 0;
        EXPECT_EQ(qel_festival_date(QEL_FESTIVAL_XIAONIAN, 2024, options, &day), QEL_OK);
        EXPECT_EQ(day, qel::oracle::serial_of(2025, 1, d)) << options;
    }
}

// Windows of 40 days (sorted runs for the month fast path) across the lunar
// table, hostile windows, every epoch and null mask.
TEST(Batch, EqualsTheScalarCalls) {
    int64_t days[40];
    int32_t y[40], m[40], d[40], l[40];
    std::mt19937_64 rng(7);
    const auto fill = [&](int64_t first, int64_t step, int64_t epoch) {
        for (int64_t i = 0; i < 40; ++i) {
            days[i] = static_cast<int64_t>(u64(first) + u64(step) * u64(i) - u64(epoch));
            qel_lunar_date p{int32_t(rng() % 203) + 1899, int32_t(rng() % 14), int32_t(rng() % 32), int32_t(rng() % 3)};
            if (rng() % 2) qel_lunar_of_serial(static_cast<int64_t>(u64(first) + u64(step) * u64(i)), &p);
            y[i] = p.year, m[i] = p.month, d[i] = p.day, l[i] = p.leap;
        }
    };
    const auto all = [&](int64_t epoch, uint8_t nulls) {
        return check_lunar_of_days(days, 40, epoch, nulls) && check_days_of_lunar(y, m, d, l, 40, epoch, nulls, nulls) &&
               check_day_facts_of_days(days, 40, epoch, nulls & 1, nulls) && check_day_facts_of_days(days, 17, epoch, 2, 0);
    };
    for (int64_t first = QEL_FIRST_LUNAR_SERIAL - 40; first <= QEL_LAST_LUNAR_SERIAL + 40; first += 40) {
        fill(first, 1, QEL_EPOCH_UNIX);
        ASSERT_CHECK(all(QEL_EPOCH_UNIX, 0)) << first;
    }
    for (int64_t first : hostile::kSerials)
        for (int64_t epoch : hostile::kEpochs)
            for (uint8_t nulls : {0, 1, 2, 5, 16, 31}) {
                fill(first, nulls % 2 ? 29 : 1, epoch);
                ASSERT_CHECK(all(epoch, nulls)) << first << " " << epoch << " " << int(nulls);
            }
}

// Random starts and counts of every magnitude, and the hostile tables.
TEST(Step, AgreesWithChrono) {
    std::mt19937_64 rng(2024);
    for (int i = 0; i < 200000; ++i) {
        const int64_t s = QEL_FIRST_SERIAL + int64_t(rng() % (QEL_LAST_SERIAL - QEL_FIRST_SERIAL + 1));
        const int64_t count = static_cast<int64_t>(rng()) >> (rng() % 64);
        ASSERT_CHECK(check_step(s, int32_t(rng() % 86400), count, int32_t(rng() % 7), uint32_t(rng() % 2))) << i;
    }
    for (int64_t s : hostile::kSerials)
        for (int32_t sec : hostile::kSecondsOfDay)
            for (int64_t count : hostile::kCounts64)
                for (int32_t unit = -1; unit <= QEL_UNIT_YEAR + 1; ++unit)
                    ASSERT_CHECK(check_step(s, sec, count, unit, uint32_t(unit & 3)))
                        << s << " " << sec << " " << count << " " << unit;
}

}  // namespace

#include "festivals.h"

#include <algorithm>
#include <string>

#include "command.h"
#include "facts.h"
#include "terms.h"

namespace qeldate {
namespace {

std::string days_away(int64_t days) {
    if (days == 0) return "today";
    return "in " + std::to_string(days) + (days == 1 ? " day" : " days");
}

std::string festival_list() {
    std::string names;
    for (const Festival& f : kFestivals) names += std::string(names.empty() ? "" : ", ") + f.key;
    return names;
}

// The next day of term `term` on or after `from`.
std::optional<DateInt> next_term_day(int term, DateInt from) {
    const int year = date_of(from).year;
    for (int y = year; y <= year + 1; ++y)
        if (const auto t = term_time(y, term); t && t->serial >= from) return t->serial;
    return std::nullopt;
}

}  // namespace

std::vector<const Festival*> festivals_on(const Ymd& date) {
    std::vector<const Festival*> found;
    const std::optional<Lunar> lunar = lunar_of(date);
    if (!lunar) return found;
    const std::optional<TermTime> term = term_on(date);
    for (const Festival& f : kFestivals) {
        bool on = false;
        switch (f.rule) {
            case FestivalRule::kLunarDay:
                on = lunar->leap == 0 && lunar->month == f.month && lunar->day == f.day;
                break;
            case FestivalRule::kSolarTerm:
                on = term && term->term == f.term;
                break;
            case FestivalRule::kLunarYearEnd: {
                // The eve is the day before the lunar new year.
                const std::optional<Lunar> next = lunar_of(date_of(serial_of(date) + 1));
                on = next && next->month == 1 && next->day == 1 && next->leap == 0;
                break;
            }
        }
        if (on) found.push_back(&f);
    }
    return found;
}

std::optional<DateInt> festival_day(const Festival& festival, int year) {
    switch (festival.rule) {
        case FestivalRule::kLunarDay:
            return serial_of_lunar({year, festival.month, festival.day, 0});
        case FestivalRule::kSolarTerm:
            if (const auto t = term_time(year, festival.term)) return t->serial;
            return std::nullopt;
        case FestivalRule::kLunarYearEnd:
            if (year < kLastLunarYear) {
                // The day before the next new year: the last day of month 12
                // (or of a leap month 12), whether it has 29 or 30 days.
                const std::optional<DateInt> new_year = serial_of_lunar({year + 1, 1, 1, 0});
                return new_year ? std::optional<DateInt>(*new_year - 1) : std::nullopt;
            }
            if (year == kLastLunarYear) {
                // The table ends with 2100: take its last month's own length.
                const int leap = GetLeapMonthInPYear(year) == 12 ? 1 : 0;
                return serial_of_lunar({year, 12, getPMonthDays(year, 12, leap), leap});
            }
            return std::nullopt;
    }
    return std::nullopt;
}

std::optional<DateInt> next_festival(const Festival& festival, DateInt from) {
    int year = date_of(from).year;
    if (festival.rule != FestivalRule::kSolarTerm) {
        const std::optional<Lunar> lunar = lunar_of(date_of(from));
        if (!lunar) return std::nullopt;
        year = lunar->year;
    }
    for (int y = year; y <= year + 1; ++y)
        if (const auto day = festival_day(festival, y); day && *day >= from) return day;
    return std::nullopt;
}

const Festival* find_festival(std::string_view name) {
    for (const Festival& f : kFestivals) {
        if (name == f.key || name == f.chinese || name == f.short_chinese || name == f.english ||
            name == utf8_to_gbk(f.chinese) || name == utf8_to_gbk(f.short_chinese))
            return &f;
    }
    return nullptr;
}

std::optional<Lunar> lunar_anniversary(int lunar_year, int month, int day, bool leap) {
    if (lunar_year < kFirstLunarYear || lunar_year > kLastLunarYear) return std::nullopt;
    const int in_leap = leap && GetLeapMonthInPYear(lunar_year) == month ? 1 : 0;
    const Lunar l{lunar_year, month, std::min(day, getPMonthDays(lunar_year, month, in_leap)), in_leap};
    if (!serial_of_lunar(l)) return std::nullopt;
    return l;
}

std::optional<DateInt> next_lunar_date(int month, int day, bool leap, DateInt from) {
    const std::optional<Lunar> start = lunar_of(date_of(from));
    if (!start) return std::nullopt;
    if (leap) {
        for (int y = start->year; y <= kLastLunarYear; ++y)
            if (const auto s = serial_of_lunar({y, month, day, 1}); s && *s >= from) return s;
        return std::nullopt;
    }
    // findPDateInMonthDay finds the next year whose ordinary month has the
    // day; each round starts a year later, so the loop ends by 2101.
    for (int y = start->year; y <= kLastLunarYear;) {
        int found_year = y, found_month = month, found_day = day;
        if (findPDateInMonthDay(&found_year, &found_month, &found_day) != 1) return std::nullopt;
        if (const auto s = serial_of_lunar({found_year, found_month, found_day, 0}); s && *s >= from) return s;
        y = found_year + 1;
    }
    return std::nullopt;
}

void run_next(const Context& context, std::string_view what, bool leap) {
    const DateInt today = serial_of(context.now.date);
    if (context.now.date.year < kFirstLunarYear || context.now.date.year > kLastLunarYear)
        throw UsageError("today (" + format_date(context.now.date) + ") is outside 1900-2100, the years of the lunar table");
    FactsRequest request;
    request.query = std::string(what);
    std::optional<DateInt> found;
    std::string name;
    if (const Festival* festival = find_festival(what)) {
        if (leap) throw UsageError("--leap applies to a lunar date (MONTH-DAY), not to a festival");
        found = next_festival(*festival, today);
        name = context.text.own(festival->chinese) + " " + festival->english;
    } else if (const int term = term_of_name(what); term >= 0) {
        if (leap) throw UsageError("--leap applies to a lunar date (MONTH-DAY), not to a solar term");
        found = next_term_day(term, today);
        name = context.text.own(term_name(term).chinese) + " " + term_name(term).english;
    } else {
        if (what.find('-') == std::string_view::npos || what.find_first_not_of("0123456789-") != std::string_view::npos)
            throw UsageError("'" + std::string(what) + "' is not a festival, solar term or lunar MONTH-DAY: festivals are " +
                             festival_list());
        const LunarArg l = parse_lunar(what, false);
        found = next_lunar_date(l.month, l.day, leap, today);
        name = "lunar " + std::to_string(l.month) + "-" + std::to_string(l.day) + (leap ? " (leap month)" : "");
    }
    if (!found) throw UsageError("no " + std::string(what) + " on or after " + format_date(context.now.date) +
                                 " within the lunar table (to 2100)");
    request.when.date = date_of(*found);
    request.days_from_now = *found - today;
    request.heading = name + ": " + format_date(request.when.date) + ", " + days_away(*found - today);
    print_facts(context, request);
}

}  // namespace qeldate

#include "festivals.h"

#include <algorithm>
#include <string>
#include <vector>

#include "context.h"
#include "facts.h"
#include "model.h"

namespace qeldate {
namespace {

std::string days_away(int64_t days) {
    if (days == 0) return "today";
    if (days < 0) return std::to_string(-days) + (days == -1 ? " day ago" : " days ago");
    return "in " + std::to_string(days) + (days == 1 ? " day" : " days");
}

// The day of a festival in a Gregorian year: a lunar festival of lunar year
// `year` - 1 or `year` that falls in it (the first, for the two 腊八 that a
// year can hold).
std::optional<Serial> festival_in_gregorian_year(const Festival& f, int year, uint32_t options) {
    for (int y = f.lunar ? year - 1 : year; y <= year; ++y) {
        int64_t serial = 0;
        if (qel_festival_date(f.index, y, options, &serial) == QEL_OK && date_of(serial).year == year) return serial;
    }
    return std::nullopt;
}

// The first day on or after `from` that is the festival.
std::optional<Serial> next_festival(const Festival& f, Serial from, uint32_t options) {
    const int year = date_of(from).year;
    for (int y = year - 1; y <= year + 1; ++y) {
        int64_t serial = 0;
        if (qel_festival_date(f.index, y, options, &serial) == QEL_OK && serial >= from) return serial;
    }
    return std::nullopt;
}

// The first day on or after `from` that is lunar month-day (of the leap
// month with `leap`), in a year where that day exists.
std::optional<Serial> next_lunar_date(int month, int day, bool leap, Serial from) {
    qel_lunar_date start{};
    if (qel_lunar_of_serial(from, &start) != QEL_OK) return std::nullopt;
    for (int y = start.year; y <= kLastLunarYear; ++y) {
        int64_t serial = 0;
        if (qel_serial_of_lunar(y, month, day, leap ? 1 : 0, &serial) == QEL_OK && serial >= from) return serial;
    }
    return std::nullopt;
}

}  // namespace

void run_festivals(const Context& context, const std::vector<int>& years) {
    std::vector<std::string> texts;
    std::vector<Json> objects;
    for (const int year : years) {
        const Serial first = serial_of({year, 1, 1}), last = serial_of({year, 12, 31});
        std::string out = "Festivals and solar terms of " + std::to_string(year) + "\n";
        Json events = Json::array();
        for (Serial s = first; s <= last; ++s) {
            const Day d = day_of(s, context);
            const std::string prefix = format_date(d.date) + " " + weekday_abbr(d.weekday) + "  ";
            for (const Festival& f : d.festivals) {
                out += prefix + pad_right(f.chinese, 8) + f.english + (f.lunar ? "  (" + d.lunar_text + ")" : "") + "\n";
                events.push_back({{"date", format_date(d.date)}, {"weekday", d.weekday}, {"kind", "festival"},
                                  {"key", f.key}, {"name", f.chinese}, {"english", f.english}});
            }
            if (d.term) {
                out += prefix + pad_right(d.term->chinese, 8) + d.term->english + ", " + clock(*d.term) + " UTC+8\n";
                Json t = term_json(*d.term);
                events.push_back({{"date", format_date(d.date)}, {"weekday", d.weekday}, {"kind", "solar_term"},
                                  {"key", t["key"]}, {"name", t["name"]}, {"english", t["english"]}, {"time", t["time"]}});
            }
        }
        texts.push_back(out);
        objects.push_back(Json{{"year", year}, {"events", events}});
    }
    write_years(context, texts, objects);
}

void run_next(const Context& context, std::string_view what, bool leap, std::optional<int> year) {
    const Serial today = serial_of(context.now.date);
    if (!year && (context.now.date.year < kFirstLunarYear || context.now.date.year > kLastLunarYear))
        throw UsageError("today (" + format_date(context.now.date) + ") is outside 1900-2100, the years of the lunar table");
    FactsRequest request;
    request.query = std::string(what);
    std::optional<Serial> found;
    std::string label;
    const std::string when = year ? "in " + std::to_string(*year) : "on or after " + format_date(context.now.date);
    if (const std::optional<Festival> f = festival_named(what)) {
        if (leap) throw UsageError("--leap applies to a lunar date (MONTH-DAY), not to a festival");
        found = year ? festival_in_gregorian_year(*f, *year, context.festival_options)
                     : next_festival(*f, today, context.festival_options);
        label = f->chinese + " " + f->english;
    } else if (const int term = term_named(what); term >= 0) {
        if (leap) throw UsageError("--leap applies to a lunar date (MONTH-DAY), not to a solar term");
        if (year) {
            if (const auto t = term_of(*year, term)) found = t->serial;
        } else {
            qel_term t{};
            int64_t midnight = 0;
            qel_instant_of_cst(today, 0, &midnight);
            if (qel_term_next(midnight - 1, &t) == QEL_OK) {
                // The first term of that number whose day is today or later.
                for (int y = t.year; y <= t.year + 1 && !found; ++y)
                    if (const auto c = term_of(y, term); c && c->serial >= today) found = c->serial;
            }
        }
        label = name(QEL_NAME_TERM, term) + " " + name(QEL_NAME_TERM_ENGLISH, term);
    } else {
        if (what.find('-') == std::string_view::npos ||
            (!(what[0] >= '0' && what[0] <= '9') && what.substr(0, std::string_view("闰").size()) != "闰")) {
            const std::vector<std::string> near = close_names(what, festival_and_term_names(), 3);
            throw UsageError(quote_input(what) + " is not a festival, solar term or lunar MONTH-DAY" +
                             (near.empty() ? "; qeldate festivals YEAR and qeldate terms YEAR show the names"
                                           : "; did you mean " + or_list(near) + "?"));
        }
        const LunarArg l = parse_lunar(what, false);
        leap = leap || l.leap;
        if (year) {
            int64_t serial = 0;
            if (qel_serial_of_lunar(*year, l.month, l.day, leap ? 1 : 0, &serial) == QEL_OK) found = serial;
        } else {
            found = next_lunar_date(l.month, l.day, leap, today);
        }
        label = "lunar " + std::to_string(l.month) + "-" + std::to_string(l.day) + (leap ? " (leap month)" : "");
        if (!found && leap)
            throw UsageError("no leap month " + std::to_string(l.month) + " with a day " + std::to_string(l.day) + " " +
                             (year ? "in lunar " + std::to_string(*year) : when + " in the lunar table (to 2100)") +
                             ": leap months fall after months 2-11, and only in some years");
    }
    if (!found) {
        if (year && (*year < kFirstLunarYear || *year > kLastLunarYear))
            throw UsageError("--year " + std::to_string(*year) + " is outside 1900-2100, the years of the lunar table");
        if (year) throw UsageError("no " + label + " " + when);
        throw UsageError("the next " + label + " after " + format_date(context.now.date) +
                         " lies past the end of the lunar table (lunar 2100 ends on 2101-01-28)");
    }
    request.when.date = date_of(*found);
    request.days_from_now = *found - today;
    request.heading = label + ": " + format_date(request.when.date) + ", " + days_away(*found - today);
    print_facts(context, request);
}

}  // namespace qeldate

#include "festivals.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "context.h"
#include "facts.h"
#include "model.h"
#include "date_parse.h"

namespace qeldate {
namespace {

std::string days_away(int64_t days) {
    if (days == 0) return "today";
    if (days < 0) return std::to_string(-days) + (days == -1 ? " day ago" : " days ago");
    return "in " + std::to_string(days) + (days == 1 ? " day" : " days");
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

// A day that `next` found, and whether a lunar day 30 fell on 29.
struct Found {
    Serial serial = 0;
    bool moved = false;
};

// The day of lunar month-day (of the leap month with `leap`) in a lunar
// year, by the recurring rule of lunar_anniversary.
std::optional<Found> lunar_date_in(int lunar_year, int month, int day, bool leap, int32_t calendar) {
    const std::optional<Anniversary> a = lunar_anniversary(lunar_year, month, day, leap, calendar);
    if (!a) return std::nullopt;
    return Found{serial_of_lunar(a->date, calendar), a->moved};
}

// The days inside Gregorian `year` that are the festival, term or lunar
// date: a lunar festival or date can fall twice (腊八 on 2022-01-10 and
// 2022-12-30) or not at all.
std::vector<Found> days_in_year(int year, const std::optional<Festival>& f, int term, const LunarArg& l, bool leap,
                                const Context& context) {
    const uint32_t options = context.festival_options;
    std::vector<Found> out;
    if (f) {
        qel_festival_day days[QEL_FESTIVAL_DAYS_MAX];
        const int32_t n = qel_festivals_of_year(year, options, days, QEL_FESTIVAL_DAYS_MAX);
        for (int32_t k = 0; k < n && k < QEL_FESTIVAL_DAYS_MAX; ++k)
            if (days[k].festival == f->index) out.push_back({days[k].serial, false});
    } else if (term >= 0) {
        if (const auto t = term_of(year, term)) out.push_back({t->serial, false});
    } else {
        for (int y = year - 1; y <= year; ++y)
            if (const auto found = lunar_date_in(y, l.month, l.day, leap, context.calendar); found && date_of(found->serial).year == year)
                out.push_back(*found);
    }
    return out;
}

}  // namespace

void run_festivals(const Context& context, const std::vector<int>& years) {
    std::vector<std::string> texts;
    std::vector<Json> objects;
    for (const int year : years) {
        // The festival days qel_festivals_of_year gives (ordered by day), and
        // on each day after them its solar term.
        qel_festival_day days[QEL_FESTIVAL_DAYS_MAX];
        const int32_t n = std::clamp(qel_festivals_of_year(year, context.festival_options, days, QEL_FESTIVAL_DAYS_MAX), 0,
                                     QEL_FESTIVAL_DAYS_MAX);
        std::vector<Term> terms;
        for (int t = 0; t < kTermCount; ++t)
            if (const auto term = term_of(year, t)) terms.push_back(*term);
        std::stable_sort(terms.begin(), terms.end(), [](const Term& a, const Term& b) { return a.serial < b.serial; });
        std::string out = "Festivals and solar terms of " + std::to_string(year) + "\n";
        Json events = Json::array();
        const auto prefix = [](Serial s) { return format_date(date_of(s)) + " " + weekday_abbr(weekday_of(s)) + "  "; };
        size_t next_term = 0;
        const auto terms_before = [&](Serial end) {
            for (; next_term < terms.size() && terms[next_term].serial < end; ++next_term) {
                const Term& term = terms[next_term];
                out += prefix(term.serial) + pad_right(term.chinese, 8) + term.english + ", " + clock(term) + " UTC+8\n";
                Json t = term_json(term);
                events.push_back({{"date", t["date"]}, {"weekday", weekday_of(term.serial)}, {"kind", "solar_term"},
                                  {"key", t["key"]}, {"name", t["name"]}, {"english", t["english"]}, {"time", t["time"]}});
            }
        };
        for (int32_t k = 0; k < n; ++k) {
            terms_before(days[k].serial);
            const Festival f = festival(days[k].festival, context.language);
            qel_lunar_date l{};
            const bool lunar = f.lunar && qel_lunar_of_serial_in(context.calendar, days[k].serial, &l) == QEL_OK;
            out += prefix(days[k].serial) + pad_right(f.chinese, 8) + f.english +
                   (lunar ? "  (" + lunar_text({l.year, l.month, l.day, l.leap}, context) + ")" : "") + "\n";
            events.push_back({{"date", format_date(date_of(days[k].serial))}, {"weekday", weekday_of(days[k].serial)},
                              {"kind", "festival"}, {"key", f.key}, {"name", f.chinese}, {"english", f.english}});
            if (k + 1 == n || days[k + 1].serial != days[k].serial) terms_before(days[k].serial + 1);
        }
        terms_before(INT64_MAX);
        texts.push_back(out);
        objects.push_back(Json{{"year", year}, {"events", events}});
    }
    write_years(context, texts, objects);
}

void run_next(const Context& context, std::string_view what, bool leap, std::optional<int> year, std::optional<int> lunar_year) {
    const Serial today = serial_of(context.now.date);
    std::optional<Festival> f = festival_named(what);
    if (f) {
        // The festival's names in the calendar's language; a festival the
        // calendar does not keep is refused with the calendar named.
        int64_t probe = 0;
        if (qel_festival_date(f->index, domain_range(QEL_DOMAIN_TERMS).first_year, context.festival_options, &probe) == QEL_E_ARGUMENT)
            throw UsageError(f->chinese + " " + f->english + " is not a festival of the " + context.calendar_word + " calendar");
        f = festival(f->index, context.language);
    }
    const int term = f ? -1 : term_named(what);
    LunarArg l;
    std::string label;
    if (f) {
        if (leap) throw UsageError("--leap applies to a lunar date (MONTH-DAY), not to a festival");
        if (lunar_year && !f->lunar)
            throw UsageError(f->chinese + " " + f->english + " falls by the Gregorian year: --lunar-year goes with a lunar festival or date; use --year");
        label = f->chinese + " " + f->english;
    } else if (term >= 0) {
        if (leap) throw UsageError("--leap applies to a lunar date (MONTH-DAY), not to a solar term");
        if (lunar_year) throw UsageError("a solar term falls in a Gregorian year: use --year, not --lunar-year");
        label = name(QEL_NAME_TERM, term) + " " + name(QEL_NAME_TERM_ENGLISH, term);
    } else {
        if (what.find('-') == std::string_view::npos ||
            (!(what[0] >= '0' && what[0] <= '9') && what.substr(0, std::string_view("闰").size()) != "闰")) {
            const std::vector<std::string> near = close_names(what, festival_and_term_names(), 3);
            throw UsageError(quote_input(what) + " is not a festival, solar term or lunar MONTH-DAY" +
                             (near.empty() ? "; qeldate festivals YEAR and qeldate terms YEAR show the names"
                                           : "; did you mean " + or_list(near) + "?"));
        }
        l = parse_lunar(what, false);
        leap = leap || l.leap;
        label = "lunar " + std::to_string(l.month) + "-" + std::to_string(l.day) + (leap ? " (leap month)" : "");
        if (leap && !lunar_date_in(domain_range(QEL_DOMAIN_LUNAR).first_year, l.month, l.day, true, context.calendar))
            throw UsageError("no lunar year of " + years_of_domain(QEL_DOMAIN_LUNAR) + " has a leap month " +
                             std::to_string(l.month) + " with a day " + std::to_string(l.day));
    }
    const auto request_of = [&](const Found& found) {
        FactsRequest request;
        request.query = std::string(what);
        request.when.date = date_of(found.serial);
        request.days_from_now = found.serial - today;
        request.moved = found.moved;
        qel_lunar_date on{};
        qel_lunar_of_serial_in(context.calendar, found.serial, &on);
        const std::string moved =
            found.moved ? " (day 30 moved to 29: " + lunar_message(on.year, on.month, 30, on.leap, context.calendar) + ")" : "";
        request.heading = label + ": " + format_date(request.when.date) + moved + ", " + days_away(found.serial - today);
        return request;
    };
    if (year) {
        // The days inside a Gregorian year: none, one, or two.
        const std::vector<Found> days = days_in_year(*year, f, term, l, leap, context);
        if (context.json) {
            Json list = Json::array();
            for (const Found& d : days) list.push_back(facts_json(context, request_of(d)));
            write_out(Json{{"query", std::string(what)}, {"year", *year}, {"days", list}}.dump(2) + "\n");
            return;
        }
        if (days.empty()) write_text(context, "no " + label + " in " + std::to_string(*year) + "\n");
        for (size_t k = 0; k < days.size(); ++k) {
            if (k) write_text(context, "\n");
            print_facts(context, request_of(days[k]));
        }
        return;
    }
    std::optional<Found> found;
    if (lunar_year) {
        if (f) {
            int64_t serial = 0;
            if (qel_festival_date(f->index, *lunar_year, context.festival_options, &serial) == QEL_OK) found = Found{serial, false};
        } else {
            found = lunar_date_in(*lunar_year, l.month, l.day, leap, context.calendar);
        }
        if (!found) throw UsageError("no " + label + " in lunar " + std::to_string(*lunar_year));
    } else {
        qel_lunar_date now{};
        if (qel_lunar_of_serial_in(context.calendar, today, &now) != QEL_OK)
            throw UsageError("today (" + format_date(context.now.date) + ") is " + range_message(QEL_DOMAIN_LUNAR));
        if (f) {
            if (const auto s = next_festival(*f, today, context.festival_options)) found = Found{*s, false};
        } else if (term >= 0) {
            qel_term t{};
            int64_t midnight = 0;
            qel_instant_of_cst(today, 0, &midnight);
            if (qel_term_next(midnight - 1, &t) == QEL_OK) {
                // The first term of that number whose day is today or later.
                for (int y = t.year; y <= t.year + 1 && !found; ++y)
                    if (const auto c = term_of(y, term); c && c->serial >= today) found = Found{c->serial, false};
            }
        } else {
            for (int y = now.year; !found && in_years(y, QEL_DOMAIN_LUNAR); ++y)
                if (const auto c = lunar_date_in(y, l.month, l.day, leap, context.calendar); c && c->serial >= today) found = c;
        }
        if (!found)
            throw UsageError("the next " + label + " after " + format_date(context.now.date) + " is " +
                             range_message(QEL_DOMAIN_LUNAR));
    }
    print_facts(context, request_of(*found));
}

}  // namespace qeldate

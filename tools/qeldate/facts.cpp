#include "facts.h"

#include "context.h"

namespace qeldate {
namespace {

constexpr int kLabelWidth = 14;

std::string days_away(int64_t days) {
    if (days == 0) return "today";
    return "in " + std::to_string(days) + (days == 1 ? " day" : " days");
}

}  // namespace

std::string source_line(const MonthSource& s) {
    const std::string note = s.note();
    if (s.source == QEL_SOURCE_PUBLISHED && note.empty()) return "";
    const std::string from = s.source == QEL_SOURCE_COMPUTED ? "computed from the ephemerides"
                           : s.source == QEL_SOURCE_RECORD   ? "from the historical record"
                                                             : "from the published table";
    return from + (note.empty() ? "" : "; " + note);
}

Json term_json(const Term& t) {
    return {{"index", t.term},   {"key", t.key},       {"name", t.chinese},       {"english", t.english},
            {"date", format_date(t.date)}, {"time", clock(t)}, {"second_of_day", t.second_of_day},
            {"instant", t.instant}};
}

Json day_json(const Day& d) {
    Json j;
    j["date"] = format_date(d.date);
    j["serial"] = d.serial;
    j["weekday"] = d.weekday;
    j["weekday_name"] = weekday_name(d.weekday);
    j["day_of_year"] = d.day_of_year;
    j["day_cycle"] = d.day_cycle_name;
    j["day_cycle_index"] = d.day_cycle;
    if (d.has_lunar) {
        j["lunar"] = {{"year", d.lunar.year},          {"month", d.lunar.month},
                      {"day", d.lunar.day},            {"leap", d.lunar.leap != 0},
                      {"text", d.lunar_text},          {"year_name", d.year_name},
                      {"animal", d.animal},            {"month_name", d.lunar_month_name},
                      {"day_name", d.lunar_day_name},  {"month_days", d.lunar_month_days},
                      {"leap_month", d.lunar_leap_month}, {"year_cycle_index", d.year_cycle},
                      {"source", d.lunar_source.word()}};
        if (const std::string note = d.lunar_source.note(); !note.empty()) j["lunar"]["note"] = note;
    } else {
        j["lunar"] = nullptr;
    }
    j["solar_term"] = d.term ? term_json(*d.term) : Json(nullptr);
    j["festivals"] = Json::array();
    for (const Festival& f : d.festivals)
        j["festivals"].push_back({{"key", f.key}, {"name", f.chinese}, {"english", f.english}});
    if (d.holiday.status < 0) {
        j["holiday"] = nullptr;  // no table covers the day
    } else {
        const char* status = d.holiday.status == QEL_DAY_OFF ? "off" : d.holiday.status == QEL_DAY_WORK ? "work" : "ordinary";
        j["holiday"] = {{"status", status}, {"workday", d.holiday.workday}};
        if (d.holiday.holiday)
            j["holiday"].update({{"key", d.holiday.key}, {"name", d.holiday.chinese}, {"english", d.holiday.english}});
    }
    return j;
}

void write_years(const Context& context, const std::vector<std::string>& texts, const std::vector<Json>& objects) {
    if (context.json) {
        write_out((objects.size() == 1 ? objects.front() : Json{{"years", objects}}).dump(2) + "\n");
        return;
    }
    std::string out;
    for (const std::string& text : texts) out += (out.empty() ? "" : "\n") + text;
    write_text(context, out);
}

namespace {

struct TermsAround {
    std::optional<Term> current, next;
};

// For "now": the term in force and the next one.
TermsAround terms_around(const FactsRequest& r) {
    TermsAround t;
    if (!r.now) return t;
    qel_term term{};
    const int64_t at = instant_of(r.when);
    if (qel_term_in_force(at, &term) == QEL_OK) t.current = term_of(term);
    if (qel_term_next(at, &term) == QEL_OK) t.next = term_of(term);
    return t;
}

}  // namespace

Json facts_json(const Context& context, const FactsRequest& r) {
    const Day d = day_of(serial_of(r.when.date), context);
    const auto [current, next] = terms_around(r);
    Json j;
    if (!r.query.empty()) j["query"] = r.query;
    if (r.days_from_now) j["days_from_today"] = *r.days_from_now;
    if (r.moved) j["moved"] = true;
    if (r.start) {
        j["start"] = format_moment(*r.start);
        j["steps"] = r.steps;
        j["clamped"] = r.clamped;
    }
    const Json day = day_json(d);
    j["date"] = day["date"];
    j["time"] = r.when.has_time ? Json(format_moment(r.when).substr(11)) : Json(nullptr);
    for (const auto& [key, value] : day.items())
        if (key != "date") j[key] = value;
    if (r.now) {
        j["current_term"] = current ? term_json(*current) : Json(nullptr);
        j["next_term"] = next ? term_json(*next) : Json(nullptr);
        if (next) j["next_term"]["days_left"] = next->serial - d.serial;
    }
    return j;
}

void print_facts(const Context& context, const FactsRequest& r) {
    if (context.json) {
        write_out(facts_json(context, r).dump(2) + "\n");
        return;
    }
    const Day d = day_of(serial_of(r.when.date), context);
    const auto [current, next] = terms_around(r);
    std::string out;
    const auto line = [&](std::string_view label, const std::string& value) {
        out += "  " + pad_right(label, kLabelWidth) + value + "\n";
    };
    if (!r.heading.empty()) out += r.heading + "\n";
    if (r.start) {
        std::string steps;
        for (const std::string& step : r.steps) steps += " " + step;
        out += format_moment(*r.start) + steps + (r.clamped ? " (day clamped to the month's end)" : "") + " =\n";
    }
    out += (r.when.has_time ? format_moment(r.when) : format_date(r.when.date)) + " " + weekday_name(d.weekday) + "\n";
    line("day serial", std::to_string(d.serial));
    line("day of year", std::to_string(d.day_of_year));
    if (d.has_lunar) {
        line("lunar date", d.lunar_text + "  (" + std::to_string(d.lunar.year) + "-" + std::to_string(d.lunar.month) +
                               "-" + std::to_string(d.lunar.day) + (d.lunar.leap ? ", leap month)" : ")"));
        line("lunar year", d.year_name + " " + d.animal);
        if (const std::string shown = source_line(d.lunar_source); !shown.empty()) line("lunar month", shown);
    } else {
        line("lunar date", "none: " + range_message(QEL_DOMAIN_LUNAR));
    }
    line("day cycle", d.day_cycle_name);
    if (d.term) line("solar term", d.term->chinese + " " + d.term->english + " at " + clock(*d.term) + " UTC+8");
    for (const Festival& f : d.festivals) line("festival", f.chinese + " " + f.english);
    if (d.holiday.status == QEL_DAY_OFF) line("holiday", "休 " + d.holiday.chinese + " " + d.holiday.english + ", a day off");
    if (d.holiday.status == QEL_DAY_WORK)
        line("holiday", "班 a working day in exchange for " + d.holiday.chinese + " " + d.holiday.english);
    if (current)
        line("current term", current->chinese + " " + current->english + " since " + format_date(current->date) + " " +
                                 clock(*current));
    if (next)
        line("next term", next->chinese + " " + next->english + " on " + format_date(next->date) + " " + clock(*next) +
                              ", " + days_away(next->serial - d.serial));
    write_text(context, out);
}

void run_lunar(const Context& context, const Ymd& date) {
    const Serial serial = serial_of(date);
    qel_lunar_date l{};
    if (qel_lunar_of_serial_in(context.calendar, serial, &l) != QEL_OK)
        throw UsageError(format_date(date) + " is " + range_message(QEL_DOMAIN_LUNAR));
    const std::string numbers = std::to_string(l.year) + "-" + std::to_string(l.month) + "-" + std::to_string(l.day);
    const std::string text = lunar_text({l.year, l.month, l.day, l.leap}, context);
    const MonthSource source = month_source(context.calendar, {l.year, l.month, l.day, l.leap});
    if (context.json) {
        Json lunar{{"year", l.year}, {"month", l.month}, {"day", l.day}, {"leap", l.leap != 0}, {"text", text},
                   {"source", source.word()}};
        if (const std::string note = source.note(); !note.empty()) lunar["note"] = note;
        write_out(Json{{"date", format_date(date)}, {"lunar", lunar}}.dump(2) + "\n");
        return;
    }
    const std::string shown = source_line(source);
    write_text(context, format_date(date) + "  lunar " + numbers + (l.leap ? " leap" : "") + "  " + text +
                            (shown.empty() ? "" : "  (" + shown + ")") + "\n");
}

}  // namespace qeldate

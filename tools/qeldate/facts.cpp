#include "facts.h"

#include "command.h"
#include "day_info.h"
#include "festivals.h"
#include "json.h"
#include "terms.h"

namespace qeldate {
namespace {

constexpr int kLabelWidth = 14;

std::string clock(const Moment& m) {
    return format_moment(m).substr(11);
}

void term_json(Json& json, const TermTime& t, std::optional<int64_t> days_left = std::nullopt) {
    json.begin_object()
        .key("index").value(t.term)
        .key("name").value(term_name(t.term).chinese)
        .key("english").value(term_name(t.term).english)
        .key("date").value(format_date(t.date))
        .key("time").value(term_clock(t));
    if (days_left) json.key("days_left").value(*days_left);
    json.end_object();
}

std::string facts_json(const FactsRequest& r) {
    const Text utf8(Encoding::kUtf8);  // JSON text is UTF-8 whatever the output encoding
    const DateInt serial = serial_of(r.when.date);
    Json json;
    json.begin_object();
    if (!r.query.empty()) json.key("query").value(r.query);
    if (r.days_from_now) json.key("days_from_today").value(*r.days_from_now);
    if (r.start) {
        json.key("start").value(format_moment(*r.start)).key("steps").begin_array();
        for (const std::string& step : r.steps) json.value(step);
        json.end_array().key("clamped").value(r.clamped);
    }
    json.key("date").value(format_date(r.when.date));
    if (r.when.has_time) json.key("time").value(clock(r.when)); else json.key("time").null();
    json.key("serial").value(serial)
        .key("weekday").value(weekday_of(serial))
        .key("weekday_name").value(weekday_name(weekday_of(serial)))
        .key("day_of_year").value(DayOfGYear(r.when.date.year, r.when.date.month, r.when.date.day))
        .key("day_cycle").value(day_cycle_name(serial, utf8));
    json.key("lunar");
    if (const auto lunar = lunar_of(r.when.date)) {
        json.begin_object()
            .key("year").value(lunar->year)
            .key("month").value(lunar->month)
            .key("day").value(lunar->day)
            .key("leap").value(lunar->leap != 0)
            .key("text").value(lunar_text(*lunar, 3, utf8))
            .key("year_name").value(lunar_year_name(*lunar, utf8))
            .key("animal").value(lunar_animal(*lunar, utf8))
            .end_object();
    } else {
        json.null();
    }
    json.key("solar_term");
    if (const auto term = term_on(r.when.date)) term_json(json, *term); else json.null();
    json.key("festivals").begin_array();
    for (const Festival* f : festivals_on(r.when.date))
        json.begin_object().key("key").value(f->key).key("name").value(f->chinese).key("english").value(f->english).end_object();
    json.end_array();
    if (r.now) {
        json.key("current_term");
        if (const auto t = term_at_or_before(r.when)) term_json(json, *t); else json.null();
        json.key("next_term");
        if (const auto t = term_after(r.when)) term_json(json, *t, t->serial - serial); else json.null();
    }
    json.end_object();
    return json.str();
}

}  // namespace

void print_facts(const Context& context, const FactsRequest& r) {
    if (context.json) {
        write_out(facts_json(r));
        return;
    }
    const Text& text = context.text;
    const Encoding enc = text.encoding();
    const DateInt serial = serial_of(r.when.date);
    std::string out;
    const auto line = [&](std::string_view label, const std::string& value) {
        out += "  " + pad_right(label, kLabelWidth, enc) + value + "\n";
    };
    if (!r.heading.empty()) out += r.heading + "\n";
    if (r.start) {
        std::string steps;
        for (const std::string& step : r.steps) steps += " " + step;
        out += format_moment(*r.start) + steps + (r.clamped ? " (day clamped to the month's end)" : "") + " =\n";
    }
    out += (r.when.has_time ? format_moment(r.when) : format_date(r.when.date)) + " " + weekday_name(weekday_of(serial)) + "\n";
    line("day serial", std::to_string(serial));
    line("day of year", std::to_string(DayOfGYear(r.when.date.year, r.when.date.month, r.when.date.day)));
    if (const auto lunar = lunar_of(r.when.date)) {
        line("lunar date", lunar_text(*lunar, 3, text) + "  (" + std::to_string(lunar->year) + "-" +
                               std::to_string(lunar->month) + "-" + std::to_string(lunar->day) +
                               (lunar->leap ? ", leap month)" : ")"));
        line("lunar year", lunar_year_name(*lunar, text) + " " + lunar_animal(*lunar, text));
    } else {
        line("lunar date", "none: the lunar calendar covers 1900-2100");
    }
    line("day cycle", day_cycle_name(serial, text));
    if (const auto term = term_on(r.when.date))
        line("solar term", text.own(term_name(term->term).chinese) + " " + term_name(term->term).english + " at " +
                               term_clock(*term) + " UTC+8");
    for (const Festival* f : festivals_on(r.when.date)) line("festival", text.own(f->chinese) + " " + f->english);
    if (r.now) {
        if (const auto t = term_at_or_before(r.when))
            line("current term", text.own(term_name(t->term).chinese) + " " + term_name(t->term).english + " since " +
                                     format_date(t->date) + " " + term_clock(*t));
        if (const auto t = term_after(r.when)) {
            const int64_t days = t->serial - serial;
            line("next term", text.own(term_name(t->term).chinese) + " " + term_name(t->term).english + " on " +
                                  format_date(t->date) + " " + term_clock(*t) + ", " +
                                  (days == 0 ? std::string("today") : "in " + std::to_string(days) + (days == 1 ? " day" : " days")));
        }
    }
    write_out(out);
}

}  // namespace qeldate

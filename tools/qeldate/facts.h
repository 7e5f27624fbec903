// The facts of one day, as text or JSON: the Gregorian date with its serial,
// weekday and day of the year; the lunar date, year name and animal; the
// sexagenary day; the solar term and festivals of the day; for "now", the
// current and next term.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "date_parse.h"
#include "model.h"

namespace qeldate {

struct Context;
using Json = nlohmann::ordered_json;

struct FactsRequest {
    Moment when;
    bool now = false;             // also the current and the next solar term
    std::string heading;          // text: a line before the facts
    std::string query;            // JSON: what `next` looked up
    std::optional<int64_t> days_from_now;
    std::optional<Moment> start;  // date-time arithmetic: the start and its steps
    std::vector<std::string> steps;
    bool clamped = false;         // a month or year step moved a missing day to the month's end
    bool moved = false;           // next: a lunar day 30 fell on 29 this year
};

void print_facts(const Context& context, const FactsRequest& request);
// The JSON object print_facts writes.
Json facts_json(const Context& context, const FactsRequest& request);

// `qeldate lunar DATE`: the lunar date of a Gregorian date, and an error
// (qel_calendar's range message) outside the lunar years.
void run_lunar(const Context& context, const Ymd& date);

// The answer of a command that takes several years: the text of each year,
// a blank line apart, or the JSON object of one year alone, or of several as
// {"years": [...]}.
void write_years(const Context& context, const std::vector<std::string>& texts, const std::vector<Json>& objects);

// A lunar month's provenance for a reader, one line: "" for a month of the
// published table that is sure, else where it comes from and any note.
std::string source_line(const MonthSource& source);

// Shared with the other JSON renderers.
Json term_json(const Term& t);
Json day_json(const Day& d);

}  // namespace qeldate

// The 24 solar terms: their names (the tool's own), the day of each from the
// library's getLunarTermDay, and its instant from the generated table of
// seconds after midnight China Standard Time (UTC+8).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "date_parse.h"
#include "qel_datetime.h"

namespace qeldate {

struct Context;

// Term k is the day the sun's apparent longitude reaches 285 + 15k degrees
// (mod 360): term 0 Minor Cold (285), term 5 the March equinox (0), term 23
// the December solstice (270). The names come from qel_calendar.
inline constexpr int kTermCount = 24;
struct TermName {
    std::string chinese;  // UTF-8
    std::string english;
    std::string key;  // for `qeldate next`
};
// Precondition: 0 <= term < kTermCount.
const TermName& term_name(int term);
// A term by key, English or Chinese name (UTF-8 or GBK), else -1.
int term_of_name(std::string_view name);

struct TermTime {
    int year = 0;  // Gregorian
    int term = 0;  // 0..23
    Ymd date;      // China Standard Time
    DateInt serial = 0;
    int second_of_day = 0;  // 0..86399 after 00:00 UTC+8
};

// Term `term` of Gregorian `year` 1900..2100, else nothing.
std::optional<TermTime> term_time(int year, int term);
// The term that falls on this day, if any.
std::optional<TermTime> term_on(const Ymd& date);
// The last term whose instant is at or before `now`, and the first after it
// (nothing where that lies outside 1900..2100).
std::optional<TermTime> term_at_or_before(const Moment& now);
std::optional<TermTime> term_after(const Moment& now);
// HH:MM of the instant, truncated to the minute so that it stays on its day.
std::string term_clock(const TermTime& t);

// `qeldate terms YEAR`.
void run_terms(const Context& context, int year);

}  // namespace qeldate

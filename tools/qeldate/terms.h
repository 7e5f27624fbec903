// The 24 solar terms: their names (the tool's own), the day of each from the
// library's getLunarTermDay, and its instant from the generated table of
// seconds after midnight China Standard Time (UTC+8).
#pragma once

#include <optional>
#include <string>

#include "date_parse.h"
#include "qel_datetime.h"

namespace qeldate {

struct Context;

struct TermName {
    const char* chinese;  // UTF-8
    const char* english;
    const char* key;      // for `qeldate next`
};

// Term k is the day the sun's apparent longitude reaches 285 + 15k degrees
// (mod 360): term 0 Minor Cold (285), term 5 the March equinox (0), term 23
// the December solstice (270).
inline constexpr int kTermCount = 24;
inline constexpr TermName kTermNames[kTermCount] = {
    {"小寒", "Minor Cold", "minor-cold"},
    {"大寒", "Major Cold", "major-cold"},
    {"立春", "Start of Spring", "start-of-spring"},
    {"雨水", "Rain Water", "rain-water"},
    {"惊蛰", "Awakening of Insects", "awakening-of-insects"},
    {"春分", "Spring Equinox", "spring-equinox"},
    {"清明", "Clear and Bright", "clear-and-bright"},
    {"谷雨", "Grain Rain", "grain-rain"},
    {"立夏", "Start of Summer", "start-of-summer"},
    {"小满", "Grain Buds", "grain-buds"},
    {"芒种", "Grain in Ear", "grain-in-ear"},
    {"夏至", "Summer Solstice", "summer-solstice"},
    {"小暑", "Minor Heat", "minor-heat"},
    {"大暑", "Major Heat", "major-heat"},
    {"立秋", "Start of Autumn", "start-of-autumn"},
    {"处暑", "End of Heat", "end-of-heat"},
    {"白露", "White Dew", "white-dew"},
    {"秋分", "Autumn Equinox", "autumn-equinox"},
    {"寒露", "Cold Dew", "cold-dew"},
    {"霜降", "Frost's Descent", "frosts-descent"},
    {"立冬", "Start of Winter", "start-of-winter"},
    {"小雪", "Minor Snow", "minor-snow"},
    {"大雪", "Major Snow", "major-snow"},
    {"冬至", "Winter Solstice", "winter-solstice"},
};

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

// `qeldate ics`: iCalendar (RFC 5545) files, UTF-8 with CRLF line ends and
// lines folded at 75 octets. Festivals and lunar dates are all-day events;
// solar terms are timed events at their instant.
#pragma once

#include <optional>
#include <string>

namespace qeldate {

struct Context;

// The festivals and the 24 solar terms of Gregorian years first..last
// (the years of the solar terms). Term instants in UTC, or with `shanghai_time` in China
// Standard Time (UTC+8 throughout, the zone Etc/GMT-8, whose VTIMEZONE the
// file then carries).
// With `holidays`, also the public holiday periods (one event over each) and
// their make-up working days; a year no holiday table covers is a UsageError.
void run_ics_festivals(const Context& context, int first_year, int last_year, bool shanghai_time, bool holidays);

inline constexpr int kDefaultLunarYears = 10;

// A lunar date once a year for `years` lunar years (default
// kDefaultLunarYears, cut at the end of the table): from `first_lunar_year`,
// or with 0 from this year's occurrence (the first on or after January 1).
// Day 30 falls on day 29 in a month of 29 days; a day of a leap month falls
// in the ordinary month of that number in years without that leap month.
// `years` reaching past lunar 2100 is a UsageError. UIDs stay the same from
// run to run and differ between summaries.
void run_ics_lunar(const Context& context, int month, int day, bool leap, int first_lunar_year, std::optional<int> years,
                   const std::string& summary);

}  // namespace qeldate

// `qeldate ics`: iCalendar (RFC 5545) files, UTF-8 with CRLF line ends and
// lines folded at 75 octets. Festivals and lunar dates are all-day events;
// solar terms are timed events at their instant.
#pragma once

#include <string>

namespace qeldate {

struct Context;

// The festivals and the 24 solar terms of Gregorian years first..last
// (1900..2100). Term instants in UTC, or with `shanghai_time` in the time
// zone Asia/Shanghai, whose VTIMEZONE (UTC+8 without daylight saving since
// 1991) the file then carries.
// With `holidays`, also the public holiday periods (one event over each) and
// their make-up working days.
void run_ics_festivals(const Context& context, int first_year, int last_year, bool shanghai_time, bool holidays);

// A lunar date once a year for `years` lunar years: from `first_lunar_year`,
// or with 0 from the next occurrence on or after today. Day 30 falls on day
// 29 in a month of 29 days; a day of a leap month falls in the ordinary month
// of that number in years without that leap month. Stops after lunar 2100.
void run_ics_lunar(const Context& context, int month, int day, bool leap, int first_lunar_year, int years,
                   const std::string& summary);

}  // namespace qeldate

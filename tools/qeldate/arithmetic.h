// Date-time arithmetic on the command line: `qeldate DATE +1month -3600s
// +5workdays` through qel_calendar's steps, and `qeldate diff A B`. Both work
// on the years 1..9999.
#pragma once

#include <string>
#include <vector>

#include "date_parse.h"

namespace qeldate {

struct Context;

struct StepResult {
    Moment moment;
    bool clamped = false;  // a month or year step moved a missing day to the month's end
};

// The steps applied left to right. Month and year steps clamp a day the new
// month lacks to its last day unless `clamp` is false, when such a day is a
// UsageError; so is a result outside 0001-01-01 .. 9999-12-31. Working-day
// steps follow the holiday table (and the user's file in `context`); they
// keep the time of day.
StepResult apply_steps(const Context& context, const Moment& start, const std::vector<std::string>& steps, bool clamp);

// `qeldate diff FIRST SECOND`: the time from SECOND to FIRST.
void run_diff(const Context& context, const Moment& first, const Moment& second);

}  // namespace qeldate

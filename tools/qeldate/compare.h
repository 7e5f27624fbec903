// `qeldate compare`: one day in the three lunisolar calendars side by side,
// and the years whose new years fall on different days.
#pragma once

#include "date_parse.h"

namespace qeldate {

struct Context;

// The day's lunar date in each calendar, in the calendar's own language,
// with its month's source and flags (qel_lunar_month_info).
void run_compare(const Context& context, const Ymd& date);

// The lunar years first..last whose first day (春节, 설날, Tết) is not the
// same day in all three calendars, as qel_festival_date gives them.
void run_new_years(const Context& context, int first, int last);

// The lunar years of the published Chinese table, the default of
// run_new_years: the years whose first month qel_lunar_month_info gives
// as published.
std::pair<int, int> published_years();

}  // namespace qeldate

// PRC public holidays in the tool: the periods of a year with their make-up
// working days (`qeldate holidays YEAR`), working-day counts (`qeldate
// workdays`), and the user's holiday file, which adds years the built-in
// table does not have yet.
#pragma once

#include <string>
#include <vector>

#include "model.h"

namespace qeldate {

struct Context;

// One holiday period: its days off and the weekend days worked for it.
struct HolidayPeriod {
    int holiday = 0;
    Serial first = 0, last = 0;
    std::vector<Serial> workdays;
    std::string chinese, english, key;
};

// The periods with a day off in [first, last], with all their days (also
// those outside the range) and their make-up days. Days no table covers are
// left out.
std::vector<HolidayPeriod> holiday_periods(const Context& context, Serial first, Serial last);

// Reads a holiday file into the context: lines of `YYYY-MM-DD<TAB>off|work<TAB>HOLIDAY`
// (a key such as national-day, or the Chinese name), `#` comments and blank
// lines. The file covers every year it has a line in, replacing the built-in
// table there. A bad line is a UsageError that names the file and line;
// nothing is loaded then.
void load_holiday_file(Context& context, const std::string& path);

// Each year's periods; a year no table covers is a UsageError.
void run_holidays(const Context& context, const std::vector<int>& years);
// Working days from `first` to `last`, both included.
void run_workdays(const Context& context, const Ymd& first, const Ymd& last);

}  // namespace qeldate

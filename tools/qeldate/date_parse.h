// Reading what the user typed: Gregorian dates and date-times, lunar dates,
// years and months, and arithmetic steps. Every rejection throws UsageError
// with one line that names the text and what is accepted.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace qeldate {

// Bad usage or input: the tool prints the message and exits with status 2.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct Ymd {
    int year = 0, month = 0, day = 0;
    bool operator==(const Ymd&) const = default;
};

struct Moment {
    Ymd date;
    int hour = 0, minute = 0, second = 0;
    bool has_time = false;  // the user (or QELDATE_TODAY, or a step) gave a time of day
};

struct LunarArg {
    int year = 0;  // 0 when the text gave only month and day
    int month = 0, day = 0;
    bool leap = false;  // the text named the leap month (闰 or leap)
};

enum class StepUnit { kSecond, kMinute, kHour, kDay, kWeek, kMonth, kYear, kWorkday, kLunarMonth, kLunarYear };

struct Step {
    int64_t count = 0;
    StepUnit unit = StepUnit::kDay;
};

// YYYY-MM-DD, YYYY/MM/DD (a four-digit year, 1-2 digit month and day) or
// YYYYMMDD; a real date of years 1-9999.
Ymd parse_date(std::string_view text);
// A date, optionally followed by 'T' or a space and HH:MM or HH:MM:SS.
// `forms` ends the message of a bad time of day (what the caller accepts).
Moment parse_moment(std::string_view text,
                    std::string_view forms = "use DATE, DATETHH:MM or DATETHH:MM:SS (00:00:00-23:59:59)");
// The one lunar date grammar of every command: [YEAR-][闰]MONTH-DAY[ leap],
// YEAR-MONTH-DAY when `with_year`, else MONTH-DAY. The leap month is 闰
// before the month (2017-闰6-1) or "leap" (any case) or 闰 after the date and
// a space (2017-6-1 leap). Without a year, the month and day are checked
// (qel_calendar's reason); with one, the whole date is the caller's to check.
LunarArg parse_lunar(std::string_view text, bool with_year);
// A decimal year covered by a qel_calendar domain (QEL_DOMAIN_*), else a
// UsageError with the domain's range message; `what` names the command.
int parse_year(std::string_view text, int32_t domain, std::string_view what);
int parse_month(std::string_view text);
// +N or -N and a unit: s, min, h, d, w, month, y (and their long forms),
// workdays (working days of the holiday table), or lunar-month(s) and
// lunar-year(s) (the day's lunar date stepped, leap months counted).
Step parse_step(std::string_view text);

std::string format_date(const Ymd& date);      // 2017-07-23
std::string format_moment(const Moment& m);   // 2017-07-23 10:20:30

}  // namespace qeldate

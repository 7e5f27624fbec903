#include "arithmetic.h"

#include <cstdint>
#include <cstdio>

#include <nlohmann/json.hpp>

#include "context.h"
#include "model.h"

namespace qeldate {
namespace {

constexpr int64_t kSecondsPerHour = 3600;
constexpr int64_t kMonthsPerYear = 12;
constexpr int64_t kDaysPerElapsedYear = 365;  // the elapsed duration's year
constexpr int64_t kDaysPerElapsedMonth = 30;  // and month

int second_of_day(const Moment& m) { return (m.hour * 60 + m.minute) * 60 + m.second; }

Moment moment_of(Serial serial, int second, bool has_time) {
    return {date_of(serial), second / 3600, second / 60 % 60, second % 60, has_time};
}

int32_t unit_of(StepUnit unit) {
    switch (unit) {
        case StepUnit::kSecond: return QEL_UNIT_SECOND;
        case StepUnit::kMinute: return QEL_UNIT_MINUTE;
        case StepUnit::kHour: return QEL_UNIT_HOUR;
        case StepUnit::kDay: return QEL_UNIT_DAY;
        case StepUnit::kWeek: return QEL_UNIT_WEEK;
        case StepUnit::kMonth: return QEL_UNIT_MONTH;
        default: return QEL_UNIT_YEAR;
    }
}

// A signed duration: every field carries the sign of the whole.
struct Duration {
    int64_t years = 0, months = 0, days = 0, hours = 0, minutes = 0, seconds = 0;
};

// Days, hours, minutes and seconds of a signed count of seconds, after the
// given months.
Duration split(int64_t months, int64_t seconds) {
    const int64_t sign = seconds < 0 ? -1 : 1;
    const int64_t s = seconds * sign;
    return {months / kMonthsPerYear, months % kMonthsPerYear, sign * (s / kSecondsPerDay),
            sign * (s % kSecondsPerDay / kSecondsPerHour), sign * (s % kSecondsPerHour / 60), sign * (s % 60)};
}

int64_t seconds_between(const Moment& first, const Moment& second) {
    return (serial_of(first.date) - serial_of(second.date)) * kSecondsPerDay + second_of_day(first) - second_of_day(second);
}

// The calendar difference first - second as a calendar counts it (and as
// python-dateutil's relativedelta does): the most whole months that, added to
// `second` with the day clamped to the month's end, do not pass `first`, then
// the days and time that remain. 2025-03-01 - 2024-02-29 is 1 year 1 day.
Duration calendar_difference(const Moment& first, const Moment& second) {
    const int64_t total = seconds_between(first, second);
    int64_t months = (int64_t{first.date.year} - second.date.year) * kMonthsPerYear + (first.date.month - second.date.month);
    const auto rest_after = [&](int64_t n) {
        int64_t day = 0;
        int32_t sec = 0;
        qel_step(serial_of(second.date), second_of_day(second), n, QEL_UNIT_MONTH, 0, &day, &sec);
        return seconds_between(first, moment_of(day, sec, true));
    };
    // The month count from the fields is right or one too far; one step back
    // (towards zero) at most.
    int64_t rest = rest_after(months);
    if (total >= 0 && rest < 0) rest = rest_after(--months);
    if (total < 0 && rest > 0) rest = rest_after(++months);
    return split(months, rest);
}

// Years of 365 days and months of 30 days, the rest as days and time.
Duration elapsed_of(int64_t seconds) {
    const int64_t sign = seconds < 0 ? -1 : 1;
    const int64_t days = seconds * sign / kSecondsPerDay;
    Duration d = split(0, seconds);
    d.years = sign * (days / kDaysPerElapsedYear);
    d.months = sign * (days % kDaysPerElapsedYear / kDaysPerElapsedMonth);
    d.days = sign * (days % kDaysPerElapsedYear % kDaysPerElapsedMonth);
    return d;
}

std::string plural(int64_t n, const char* unit) {
    return std::to_string(n) + " " + unit + (n == 1 || n == -1 ? "" : "s");
}

std::string describe(const Duration& d) {
    // The clock carries the sign of the time part: -01:00:00.
    const bool negative = d.hours < 0 || d.minutes < 0 || d.seconds < 0;
    const auto magnitude = [](int64_t v) { return static_cast<long long>(v < 0 ? -v : v); };
    char clock[80];
    std::snprintf(clock, sizeof clock, "%s%02lld:%02lld:%02lld", negative ? "-" : "", magnitude(d.hours),
                  magnitude(d.minutes), magnitude(d.seconds));
    std::string out = plural(d.years, "year");
    out.append(" ").append(plural(d.months, "month")).append(" ").append(plural(d.days, "day")).append(" ").append(clock);
    return out;
}

nlohmann::ordered_json duration_json(const Duration& d) {
    return {{"years", d.years}, {"months", d.months}, {"days", d.days},
            {"hours", d.hours}, {"minutes", d.minutes}, {"seconds", d.seconds}};
}

}  // namespace

StepResult apply_steps(const Context& context, const Moment& start, const std::vector<std::string>& steps, bool clamp) {
    Serial serial = serial_of(start.date);
    int32_t second = second_of_day(start);
    bool has_time = start.has_time;
    bool clamped = false;
    for (const std::string& text : steps) {
        const Step step = parse_step(text);
        int32_t status = QEL_OK;
        if (step.unit == StepUnit::kWorkday) {
            if (qel_add_workdays(serial, step.count, context.holidays(), &serial) != QEL_OK)
                throw UsageError(quote_input(text) + ": " + range_message(QEL_DOMAIN_HOLIDAYS) +
                                 (context.holidays() ? " and the holiday file" : ""));
            continue;
        }
        if (step.unit == StepUnit::kLunarMonth || step.unit == StepUnit::kLunarYear) {
            // The day's lunar date moved by qel_lunar_step, the one rule of
            // every surface: leap months counted, day 30 to 29 where needed.
            qel_lunar_date from{}, to{};
            if (qel_lunar_of_serial_in(context.calendar, serial, &from) != QEL_OK)
                throw UsageError(quote_input(text) + ": " + format_date(date_of(serial)) + " is " + range_message(QEL_DOMAIN_LUNAR));
            const int32_t unit = step.unit == StepUnit::kLunarMonth ? QEL_UNIT_MONTH : QEL_UNIT_YEAR;
            const uint32_t in = QEL_OPT_CALENDAR(context.calendar);
            status = qel_lunar_step(from.year, from.month, from.day, from.leap, step.count, unit, in | (clamp ? 0u : QEL_STEP_NO_CLAMP), &to);
            if (status == QEL_E_RANGE) throw UsageError(quote_input(text) + ": the result is " + range_message(QEL_DOMAIN_LUNAR));
            if (status == QEL_E_DATE) {
                // The month it was headed for: the same step, clamped.
                qel_lunar_step(from.year, from.month, from.day, from.leap, step.count, unit, in, &to);
                throw UsageError(quote_input(text) + ": " + lunar_message(to.year, to.month, from.day, to.leap, context.calendar) +
                                 " (without --no-clamp the day becomes 29)");
            }
            if (status < 0) throw UsageError(quote_input(text) + ": " + lunar_message(from.year, from.month, from.day, from.leap, context.calendar));
            clamped = clamped || status == QEL_CLAMPED;
            serial = serial_of_lunar({to.year, to.month, to.day, to.leap}, context.calendar);
            continue;
        }
        Serial next = 0;
        status = qel_step(serial, second, step.count, unit_of(step.unit), clamp ? 0u : QEL_STEP_NO_CLAMP, &next, &second);
        if (status == QEL_E_RANGE) throw UsageError(quote_input(text) + ": the result is " + range_message(QEL_DOMAIN_GREGORIAN));
        if (status == QEL_E_DATE) {
            // The day the step would need: the same day in the new month.
            int64_t first_of_month = 0;
            int32_t unused = 0;
            const Ymd from = date_of(serial);
            qel_step(serial_of({from.year, from.month, 1}), 0, step.count, unit_of(step.unit), 0, &first_of_month, &unused);
            const Ymd to = date_of(first_of_month);
            throw UsageError(quote_input(text) + ": " + date_message(to.year, to.month, from.day) +
                             " (without --no-clamp the day becomes the month's last)");
        }
        clamped = clamped || status == QEL_CLAMPED;
        has_time = has_time || step.unit == StepUnit::kSecond || step.unit == StepUnit::kMinute || step.unit == StepUnit::kHour;
        serial = next;
    }
    return {moment_of(serial, second, has_time), clamped};
}

void run_diff(const Context& context, const Moment& first, const Moment& second) {
    const int64_t seconds = seconds_between(first, second);
    // Whole minutes between the minutes of the two, the seconds not read.
    const int64_t minutes = (serial_of(first.date) - serial_of(second.date)) * 1440 +
                            (first.hour * 60 + first.minute) - (second.hour * 60 + second.minute);
    const Duration calendar = calendar_difference(first, second);
    const Duration elapsed = elapsed_of(seconds);
    if (context.json) {
        const nlohmann::ordered_json j{{"first", format_moment(first)}, {"second", format_moment(second)},
                                       {"seconds", seconds}, {"minutes", minutes},
                                       {"calendar", duration_json(calendar)}, {"elapsed", duration_json(elapsed)}};
        write_out(j.dump(2) + "\n");
        return;
    }
    std::string out = "from " + format_moment(second) + " to " + format_moment(first) + "\n";
    out += "  seconds     " + std::to_string(seconds) + "\n";
    out += "  minutes     " + std::to_string(minutes) + "\n";
    out += "  calendar    " + describe(calendar) + "  (months as the calendar has them)\n";
    out += "  elapsed     " + describe(elapsed) + "  (years of 365 days, months of 30 days)\n";
    write_out(out);
}

}  // namespace qeldate

#include "arithmetic.h"

#include <cstdint>
#include <cstdio>

#include <nlohmann/json.hpp>

#include "context.h"
#include "model.h"
#include "qel_datetime.h"

namespace qeldate {
namespace {

constexpr int kDaysPerWeek = 7;
constexpr int kMonthsPerYear = 12;
constexpr int kDaysPerDurationYear = 365;  // FormatSecondsDelta's year
constexpr int kMaxDurationYears = 4095;    // its 12-bit year field
constexpr int64_t kSecondsPerHour = 3600;

int64_t floor_div(int64_t a, int64_t b) { return a >= 0 ? a / b : -((b - 1 - a) / b); }

// The day serials TDateTime can hold; steps must land between them.
DateInt first_serial() { return serial_of({1, 1, 1}); }
DateInt last_serial() { return serial_of({kLastDateTimeYear, 12, 31}); }

[[noreturn]] void out_of_range(const std::string& step) {
    throw UsageError("'" + step + "' leaves the years 1-" + std::to_string(kLastDateTimeYear) +
                     " that date-time arithmetic covers");
}

TDateTime to_word(const Moment& m) {
    return TDateTime(m.date.year, m.date.month, m.date.day, m.hour, m.minute, m.second);
}

Moment from_word(const TDateTime& t, bool has_time) {
    Moment m;
    m.date = {t.year(), t.month(), t.day()};
    m.hour = t.hour();
    m.minute = t.minute();
    m.second = t.second();
    m.has_time = has_time;
    return m;
}

void check_year(const Moment& m) {
    if (m.date.year > kLastDateTimeYear)
        throw UsageError(format_date(m.date) + ": date-time arithmetic covers the years 1-" + std::to_string(kLastDateTimeYear));
}


// A signed duration: every field carries the sign of the whole.
struct Duration {
    int64_t years = 0, months = 0, days = 0, hours = 0, minutes = 0, seconds = 0;
};

// Days, hours, minutes and seconds of a signed count of seconds, in months
// and years besides when `months` is given.
Duration split(int64_t months, int64_t seconds) {
    const int64_t sign = seconds < 0 ? -1 : 1;
    const int64_t s = seconds * sign;
    return {months / kMonthsPerYear, months % kMonthsPerYear, sign * (s / kSecondsPerDay),
            sign * (s % kSecondsPerDay / kSecondsPerHour), sign * (s % kSecondsPerHour / 60), sign * (s % 60)};
}

// The calendar difference first - second as a calendar counts it (and as
// python-dateutil's relativedelta does): the most whole months that, added to
// `second` with the day clamped to the month's end, do not pass `first`, then
// the days and time that remain. 2025-03-01 - 2024-02-29 is 1 year 1 day.
Duration calendar_difference(const TDateTime& first, const TDateTime& second) {
    const int64_t total = secondsDelta(first.asUInt64(), second.asUInt64());
    int64_t months = (int64_t{first.year()} - second.year()) * kMonthsPerYear + (first.month() - second.month());
    const auto rest_after = [&](int64_t n) {
        TDateTime anchor = second;
        anchor.incMonth(static_cast<QelLong>(n), 1);
        return secondsDelta(first.asUInt64(), anchor.asUInt64());
    };
    // The month count from the fields is right or one too far; one step back
    // (towards zero) at most.
    int64_t rest = rest_after(months);
    if (total >= 0 && rest < 0) rest = rest_after(--months);
    if (total < 0 && rest > 0) rest = rest_after(++months);
    return split(months, rest);
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
    check_year(start);
    TDateTime t = to_word(start);
    bool has_time = start.has_time;
    bool clamped = false;
    for (const std::string& text : steps) {
        const Step step = parse_step(text);
        if (step.unit == StepUnit::kWorkday) {
            int64_t day = 0;
            if (qel_add_workdays(serial_of({t.year(), t.month(), t.day()}), step.count, context.holidays(), &day) != QEL_OK)
                throw UsageError(quote_input(text) + " leaves the years the holiday table covers (see qeldate holidays)");
            const Ymd d = date_of(day);
            t = TDateTime(d.year, d.month, d.day, t.hour(), t.minute(), t.second());
            continue;
        }
        const DateInt serial = serial_of({t.year(), t.month(), t.day()});
        const int64_t second_of_day = (t.hour() * 60 + t.minute()) * 60 + t.second();
        // A count beyond the span of years 1..4095 leaves it whatever the start:
        // refuse it before multiplying, so that nothing below can overflow.
        const int64_t span_days = last_serial() - first_serial();
        if (step.unit == StepUnit::kMonth || step.unit == StepUnit::kYear) {
            const int64_t per_step = step.unit == StepUnit::kYear ? kMonthsPerYear : 1;
            if (step.count > span_days / per_step || step.count < -span_days / per_step) out_of_range(text);
            const int64_t month_index = int64_t{t.year()} * kMonthsPerYear + (t.month() - 1) + step.count * per_step;
            if (month_index < kMonthsPerYear || month_index >= (kLastDateTimeYear + 1) * kMonthsPerYear) out_of_range(text);
        } else {
            const int64_t unit_seconds = step.unit == StepUnit::kSecond ? 1
                                       : step.unit == StepUnit::kMinute ? 60
                                       : step.unit == StepUnit::kHour   ? 3600
                                       : step.unit == StepUnit::kWeek   ? kDaysPerWeek * kSecondsPerDay
                                                                        : kSecondsPerDay;
            const int64_t limit = span_days * kSecondsPerDay / unit_seconds;
            if (step.count > limit || step.count < -limit) out_of_range(text);
            const DateInt target = serial + floor_div(second_of_day + step.count * unit_seconds, kSecondsPerDay);
            if (target < first_serial() || target > last_serial()) out_of_range(text);
        }
        switch (step.unit) {
            case StepUnit::kSecond: t.incSecond(step.count); has_time = true; break;
            case StepUnit::kMinute: t.incMinute(step.count); has_time = true; break;
            case StepUnit::kHour: t.incMinute(step.count * 60); has_time = true; break;
            case StepUnit::kDay: t.incDay(static_cast<int32_t>(step.count)); break;
            case StepUnit::kWeek: t.incWeek(static_cast<QelLong>(step.count)); break;
            case StepUnit::kWorkday: break;  // stepped above
            case StepUnit::kMonth:
            case StepUnit::kYear: {
                const int day = t.day();
                const bool valid = step.unit == StepUnit::kYear ? t.incYear(static_cast<QelLong>(step.count), clamp)
                                                                : t.incMonth(static_cast<QelLong>(step.count), clamp);
                if (!valid) {
                    char date[32];
                    std::snprintf(date, sizeof date, "%04d-%02d-%02d", t.year(), t.month(), t.day());
                    throw UsageError("'" + text + "' gives " + date + ", which does not exist (without --no-clamp the day becomes the month's last)");
                }
                clamped = clamped || t.day() != day;
                break;
            }
        }
    }
    return {from_word(t, has_time), clamped};
}

void run_diff(const Context& context, const Moment& first, const Moment& second) {
    check_year(first);
    check_year(second);
    const TDateTime a = to_word(first), b = to_word(second);
    const int64_t seconds = secondsDelta(a.asUInt64(), b.asUInt64());
    const int64_t minutes = minutesDelta(a.asUInt64(), b.asUInt64());
    const Duration calendar = calendar_difference(a, b);
    // Years of 365 days and months of 30 days, as FormatSecondsDelta counts.
    const uint64_t magnitude = static_cast<uint64_t>(seconds < 0 ? -seconds : seconds);
    const bool elapsed_fits = magnitude / kSecondsPerDay / kDaysPerDurationYear <= kMaxDurationYears;
    const TDateTime e(FormatSecondsDelta(magnitude));
    const int64_t sign = seconds < 0 ? -1 : 1;
    const Duration elapsed{sign * e.year(), sign * e.month(), sign * e.day(), sign * e.hour(), sign * e.minute(), sign * e.second()};
    if (context.json) {
        nlohmann::ordered_json j{{"first", format_moment(first)}, {"second", format_moment(second)},
                                 {"seconds", seconds}, {"minutes", minutes}, {"calendar", duration_json(calendar)}};
        j["elapsed"] = elapsed_fits ? duration_json(elapsed) : nlohmann::ordered_json(nullptr);
        write_out(j.dump(2) + "\n");
        return;
    }
    std::string out = "from " + format_moment(second) + " to " + format_moment(first) + "\n";
    out += "  seconds     " + std::to_string(seconds) + "\n";
    out += "  minutes     " + std::to_string(minutes) + "\n";
    out += "  calendar    " + describe(calendar) + "  (months as the calendar has them)\n";
    if (elapsed_fits) out += "  elapsed     " + describe(elapsed) + "  (years of 365 days, months of 30 days)\n";
    write_out(out);
}

}  // namespace qeldate

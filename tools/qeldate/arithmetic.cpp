#include "arithmetic.h"

#include <cstdint>
#include <cstdio>

#include "command.h"
#include "day_info.h"
#include "json.h"
#include "qel_datetime.h"

namespace qeldate {
namespace {

constexpr int64_t kSecondsPerDay = 86400;
constexpr int kDaysPerWeek = 7;
constexpr int kMonthsPerYear = 12;
constexpr int kDaysPerDurationYear = 365;  // FormatSecondsDelta's year
constexpr int kMaxDurationYears = 4095;    // its 12-bit year field

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

std::string plural(int64_t n, const char* unit) { return std::to_string(n) + " " + unit + (n == 1 ? "" : "s"); }

struct Duration {
    int years, months, days, hours, minutes, seconds;
};

Duration duration_of(DateTimeInt word) {
    const TDateTime t(word);
    return {t.year(), t.month(), t.day(), t.hour(), t.minute(), t.second()};
}

std::string describe(const Duration& d) {
    char clock[16];
    std::snprintf(clock, sizeof clock, "%02d:%02d:%02d", d.hours, d.minutes, d.seconds);
    return plural(d.years, "year") + " " + plural(d.months, "month") + " " + plural(d.days, "day") + " " + clock;
}

void duration_json(Json& json, const Duration& d) {
    json.begin_object()
        .key("years").value(d.years).key("months").value(d.months).key("days").value(d.days)
        .key("hours").value(d.hours).key("minutes").value(d.minutes).key("seconds").value(d.seconds)
        .end_object();
}

}  // namespace

StepResult apply_steps(const Moment& start, const std::vector<std::string>& steps, bool clamp) {
    check_year(start);
    TDateTime t = to_word(start);
    bool has_time = start.has_time;
    bool clamped = false;
    for (const std::string& text : steps) {
        const Step step = parse_step(text);
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
    const DateTimeInt a = to_word(first).asUInt64();
    const DateTimeInt b = to_word(second).asUInt64();
    const int64_t seconds = secondsDelta(a, b);
    const int64_t minutes = minutesDelta(a, b);
    const Duration calendar = duration_of(FormatTwoTimeDelta(a, b));
    const uint64_t magnitude = static_cast<uint64_t>(seconds < 0 ? -seconds : seconds);
    const bool elapsed_fits = magnitude / kSecondsPerDay / kDaysPerDurationYear <= kMaxDurationYears;
    const Duration elapsed = duration_of(FormatSecondsDelta(magnitude));
    if (context.json) {
        Json json;
        json.begin_object()
            .key("first").value(format_moment(first))
            .key("second").value(format_moment(second))
            .key("seconds").value(seconds)
            .key("minutes").value(minutes);
        json.key("calendar");
        duration_json(json, calendar);
        json.key("elapsed");
        if (elapsed_fits) duration_json(json, elapsed); else json.null();
        write_out(json.end_object().str());
        return;
    }
    std::string out = "from " + format_moment(second) + " to " + format_moment(first) + "\n";
    out += "  seconds     " + std::to_string(seconds) + "\n";
    out += "  minutes     " + std::to_string(minutes) + "\n";
    out += "  calendar    " + describe(calendar) + "  (field by field, months of 30 days)\n";
    if (elapsed_fits) out += "  elapsed     " + describe(elapsed) + "  (years of 365 days, months of 30 days)\n";
    write_out(out);
}

}  // namespace qeldate

#include "date_parse.h"

#include <charconv>
#include <algorithm>
#include <cstdio>
#include <utility>

#include "encoding.h"
#include "qel_calendar.h"

namespace qeldate {
namespace {

constexpr std::string_view kDateForms = "use YYYY-MM-DD, YYYY/MM/DD or YYYYMMDD";

constexpr std::pair<std::string_view, StepUnit> kUnits[] = {
    {"s", StepUnit::kSecond},     {"sec", StepUnit::kSecond},   {"second", StepUnit::kSecond},
    {"seconds", StepUnit::kSecond}, {"min", StepUnit::kMinute}, {"minute", StepUnit::kMinute},
    {"minutes", StepUnit::kMinute}, {"h", StepUnit::kHour},     {"hour", StepUnit::kHour},
    {"hours", StepUnit::kHour},   {"d", StepUnit::kDay},        {"day", StepUnit::kDay},
    {"days", StepUnit::kDay},     {"w", StepUnit::kWeek},       {"week", StepUnit::kWeek},
    {"weeks", StepUnit::kWeek},   {"month", StepUnit::kMonth},  {"months", StepUnit::kMonth},
    {"y", StepUnit::kYear},       {"year", StepUnit::kYear},    {"years", StepUnit::kYear},
    {"workday", StepUnit::kWorkday}, {"workdays", StepUnit::kWorkday},
    {"lunar-month", StepUnit::kLunarMonth}, {"lunar-months", StepUnit::kLunarMonth},
    {"lunar-year", StepUnit::kLunarYear}, {"lunar-years", StepUnit::kLunarYear}};

// All of `text` as a non-negative decimal of 1..max_digits digits, or -1.
int digits(std::string_view text, size_t max_digits) {
    if (text.empty() || text.size() > max_digits) return -1;
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.front() == '-' || text.front() == '+')
        return -1;
    return value;
}

std::string message_of_date(const Ymd& d) {
    char message[128];
    qel_date_message(d.year, d.month, d.day, message, sizeof message);
    return message;
}

}  // namespace

Ymd parse_date(std::string_view text) {
    Ymd d;
    const size_t first_sep = text.find_first_of("-/");
    if (first_sep == std::string_view::npos) {
        if (text.size() != 8 || digits(text, 8) < 0) throw UsageError(quote_input(text) + " is not a date: " + std::string(kDateForms));
        d = {digits(text.substr(0, 4), 4), digits(text.substr(4, 2), 2), digits(text.substr(6, 2), 2)};
    } else {
        const char sep = text[first_sep];
        const size_t second_sep = text.find(sep, first_sep + 1);
        if (second_sep == std::string_view::npos || text.find_first_of("-/", second_sep + 1) != std::string_view::npos)
            throw UsageError(quote_input(text) + " is not a date: " + std::string(kDateForms));
        if (first_sep != 4 && digits(text.substr(0, first_sep), 4) >= 0)
            throw UsageError(quote_input(text) + ": write the year with four digits (" +
                             std::string(4 - std::min<size_t>(first_sep, 4), '0') + std::string(text) + " for the year " +
                             std::string(text.substr(0, first_sep)) + ")");
        d = {digits(text.substr(0, first_sep), 4), digits(text.substr(first_sep + 1, second_sep - first_sep - 1), 2),
             digits(text.substr(second_sep + 1), 2)};
        if (d.year < 0 || d.month < 0 || d.day < 0)
            throw UsageError(quote_input(text) + " is not a date: " + std::string(kDateForms));
    }
    if (qel_check_date(d.year, d.month, d.day, nullptr) != QEL_OK) throw UsageError(quote_input(text) + ": " + message_of_date(d));
    return d;
}

Moment parse_moment(std::string_view text, std::string_view forms) {
    const size_t split = text.find_first_of("T ");
    Moment m;
    m.date = parse_date(text.substr(0, split));
    if (split == std::string_view::npos) return m;
    const std::string_view time = text.substr(split + 1);
    if (time.find_first_of("Z+-") != std::string_view::npos)
        throw UsageError(quote_input(text) + " names a time zone, which qeldate does not read: give the time in China "
                         "Standard Time (UTC+8) without one");
    const size_t c1 = time.find(':');
    const size_t c2 = c1 == std::string_view::npos ? c1 : time.find(':', c1 + 1);
    m.hour = digits(time.substr(0, c1), 2);
    m.minute = c1 == std::string_view::npos ? -1 : digits(time.substr(c1 + 1, c2 - c1 - 1), 2);
    m.second = c2 == std::string_view::npos ? 0 : digits(time.substr(c2 + 1), 2);
    if (m.hour < 0 || m.minute < 0 || m.second < 0)
        throw UsageError(quote_input(text) + " has no valid time of day: " + std::string(forms));
    if (qel_check_time(m.hour, m.minute, m.second, nullptr) != QEL_OK) {
        char message[128];
        qel_time_message(m.hour, m.minute, m.second, message, sizeof message);
        throw UsageError(quote_input(text) + ": " + message);
    }
    m.has_time = true;
    return m;
}

LunarArg parse_lunar(std::string_view text, bool with_year) {
    const std::string forms = with_year ? "use YEAR-MONTH-DAY, e.g. 2017-6-1 (a leap month: 2017-闰6-1 or '2017-6-1 leap')"
                                        : "use MONTH-DAY, e.g. 8-15 (a leap month: 闰6-1 or '6-1 leap')";
    LunarArg l;
    std::string_view rest = text;
    if (const size_t space = rest.find_first_of(" \t"); space != std::string_view::npos) {
        std::string mark(rest.substr(std::min(rest.find_first_not_of(" \t", space), rest.size())));
        std::transform(mark.begin(), mark.end(), mark.begin(), [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; });
        if (mark != "leap" && mark != "闰") throw UsageError(quote_input(text) + ": after the date only 'leap' or 闰 may follow");
        l.leap = true;
        rest = rest.substr(0, space);
    }
    if (with_year) {
        const size_t sep = rest.find('-');
        l.year = sep == std::string_view::npos ? -1 : digits(rest.substr(0, sep), 4);
        if (l.year < 0) throw UsageError(quote_input(text) + " is not a lunar date: " + forms);
        rest = rest.substr(sep + 1);
    }
    if (constexpr std::string_view kLeap = "闰"; rest.substr(0, kLeap.size()) == kLeap) {
        l.leap = true;
        rest.remove_prefix(kLeap.size());
    }
    const size_t sep = rest.find('-');
    l.month = sep == std::string_view::npos ? -1 : digits(rest.substr(0, sep), 2);
    l.day = sep == std::string_view::npos ? -1 : digits(rest.substr(sep + 1), 2);
    if (l.month < 0 || l.day < 0) throw UsageError(quote_input(text) + " is not a lunar date: " + forms);
    // Without a year only the month and the day can be checked: qel_calendar's
    // reason for them, asked of a covered year.
    if (!with_year) {
        qel_range lunar{};
        qel_domain_range(QEL_DOMAIN_LUNAR, &lunar);
        int32_t reason = QEL_REASON_NONE;
        qel_check_lunar(lunar.first_year, l.month, l.day, 0, &reason);
        if (reason == QEL_REASON_MONTH || reason == QEL_REASON_DAY) {
            char message[128];
            qel_lunar_message(lunar.first_year, l.month, l.day, 0, message, sizeof message);
            throw UsageError(quote_input(text) + ": " + message);
        }
    }
    return l;
}

int parse_year(std::string_view text, int32_t domain, std::string_view what) {
    const int year = digits(text, 4);
    if (year < 0) throw UsageError(std::string(what) + ": " + quote_input(text) + " is not a year");
    qel_range r{};
    qel_domain_range(domain, &r);
    if (year < r.first_year || year > r.last_year) {
        char message[160];
        qel_range_message(domain, message, sizeof message);
        throw UsageError(std::string(what) + ": year " + std::to_string(year) + " is " + message);
    }
    return year;
}

int parse_month(std::string_view text) {
    const int month = digits(text, 2);
    if (month < 0) throw UsageError(quote_input(text) + " is not a month");
    // Any year will do: qel_calendar's check of the month alone.
    if (qel_check_date(2000, month, 1, nullptr) != QEL_OK) throw UsageError(quote_input(text) + ": " + message_of_date({2000, month, 1}));
    return month;
}

Step parse_step(std::string_view text) {
    const std::string bad = quote_input(text) + " is not a step: use +N or -N with s, min, h, d, w, month, y, workdays, lunar-month or lunar-year (e.g. +1month, -3600s, +5workdays, +1lunar-year)";
    if (text.size() < 3 || (text[0] != '+' && text[0] != '-')) throw UsageError(bad);
    const size_t unit_at = text.find_first_not_of("0123456789", 1);
    if (unit_at == 1 || unit_at == std::string_view::npos) throw UsageError(bad);
    int64_t count = 0;
    const auto [end, error] = std::from_chars(text.data() + 1, text.data() + unit_at, count);
    if (error != std::errc()) throw UsageError(quote_input(text) + ": the count is too large");
    for (const auto& [name, unit] : kUnits)
        if (text.substr(unit_at) == name) return {text[0] == '-' ? -count : count, unit};
    throw UsageError(bad);
}

std::string format_date(const Ymd& date) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", date.year, date.month, date.day);
    return buffer;
}

std::string format_moment(const Moment& m) {
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%s %02d:%02d:%02d", format_date(m.date).c_str(), m.hour, m.minute, m.second);
    return buffer;
}

}  // namespace qeldate

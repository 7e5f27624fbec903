#include "terms.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <stdexcept>

#include "command.h"
#include "day_info.h"
#include "encoding.h"
#include "json.h"
#include "qel_calendar.h"

namespace qeldate {
namespace {

constexpr int kSecondsPerDay = 86400;


// Seconds since 1899-12-30 00:00 UTC+8: the order of instants.
int64_t instant_key(DateInt serial, int second_of_day) { return serial * kSecondsPerDay + second_of_day; }
int64_t instant_key(const Moment& m) {
    return instant_key(serial_of(m.date), (m.hour * 60 + m.minute) * 60 + m.second);
}

std::string calendar_name(int32_t kind, int term) {
    char buf[64];
    return qel_name(kind, term, 0, buf, sizeof buf) >= 0 ? buf : "";
}

}  // namespace

const TermName& term_name(int term) {
    static const auto names = [] {
        std::array<TermName, kTermCount> n;
        for (int k = 0; k < kTermCount; ++k)
            n[k] = {calendar_name(QEL_NAME_TERM, k), calendar_name(QEL_NAME_TERM_ENGLISH, k), calendar_name(QEL_NAME_TERM_KEY, k)};
        return n;
    }();
    return names[static_cast<size_t>(term)];
}

int term_of_name(std::string_view name) {
    if (const int32_t k = qel_term_of_name(name.data(), name.size()); k >= 0) return k;
    try {  // a name typed on a GBK terminal
        const std::string utf8 = gbk_to_utf8(name);
        return std::max(qel_term_of_name(utf8.data(), utf8.size()), -1);
    } catch (const std::runtime_error&) {
        return -1;  // not GBK either
    }
}

std::optional<TermTime> term_time(int year, int term) {
    int64_t instant = 0, serial = 0;
    int32_t second_of_day = 0;
    if (qel_term_instant(year, term, &instant) != QEL_OK || qel_cst_of_instant(instant, &serial, &second_of_day) != QEL_OK)
        return std::nullopt;
    const TDateTime day(getLunarTermDay(year, term));
    if (day.isNull()) return std::nullopt;
    TermTime t;
    t.year = year;
    t.term = term;
    t.date = {day.year(), day.month(), day.day()};
    t.serial = serial_of(t.date);
    t.second_of_day = second_of_day;
    return t;
}

std::optional<TermTime> term_on(const Ymd& date) {
    // Two terms fall in every Gregorian month: terms 2(m - 1) and 2(m - 1) + 1.
    for (int term = 2 * (date.month - 1); term < 2 * date.month; ++term)
        if (const auto t = term_time(date.year, term); t && t->date == date) return t;
    return std::nullopt;
}

std::optional<TermTime> term_at_or_before(const Moment& now) {
    const int64_t key = instant_key(now);
    for (int year = now.date.year; year >= now.date.year - 1; --year)
        for (int term = kTermCount - 1; term >= 0; --term)
            if (const auto t = term_time(year, term); t && instant_key(t->serial, t->second_of_day) <= key) return t;
    return std::nullopt;
}

std::optional<TermTime> term_after(const Moment& now) {
    const int64_t key = instant_key(now);
    for (int year = now.date.year; year <= now.date.year + 1; ++year)
        for (int term = 0; term < kTermCount; ++term)
            if (const auto t = term_time(year, term); t && instant_key(t->serial, t->second_of_day) > key) return t;
    return std::nullopt;
}

std::string term_clock(const TermTime& t) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02d:%02d", t.second_of_day / 3600, t.second_of_day / 60 % 60);
    return buffer;
}

void run_terms(const Context& context, int year) {
    const Text& text = context.text;
    if (context.json) {
        Json json;
        json.begin_object().key("year").value(year).key("time_zone").value("UTC+8").key("terms").begin_array();
        for (int term = 0; term < kTermCount; ++term) {
            const TermTime t = *term_time(year, term);
            json.begin_object()
                .key("index").value(term)
                .key("date").value(format_date(t.date))
                .key("time").value(term_clock(t))
                .key("second_of_day").value(t.second_of_day)
                .key("weekday").value(weekday_of(t.serial))
                .key("weekday_name").value(weekday_name(weekday_of(t.serial)))
                .key("name").value(term_name(term).chinese)
                .key("english").value(term_name(term).english)
                .end_object();
        }
        json.end_array().end_object();
        write_out(json.str());
        return;
    }
    std::string out = "Solar terms of " + std::to_string(year) + ", China Standard Time (UTC+8)\n";
    for (int term = 0; term < kTermCount; ++term) {
        const TermTime t = *term_time(year, term);
        out += format_date(t.date) + " " + term_clock(t) + "  " + weekday_abbr(weekday_of(t.serial)) + "  " +
               text.own(term_name(term).chinese) + "  " + term_name(term).english + "\n";
    }
    write_out(out);
}

}  // namespace qeldate

#include "ics.h"

#include <algorithm>
#include <optional>
#include <chrono>
#include <cstdio>
#include <vector>

#include "context.h"
#include "holidays.h"
#include "model.h"

namespace qeldate {
namespace {

// The Chinese calendar in Chinese names: its festivals are "Chinese
// festivals" and a lunar date reads 农历闰六月初一. In another calendar or
// language the date's own text stands alone.
bool chinese(const Context& context) { return context.calendar == QEL_CALENDAR_CHINESE && context.language == 0; }
std::string lunar_prefix(const Context& context) { return chinese(context) ? "农历" : ""; }

// Content lines longer than 75 octets are folded: CRLF and one space, never
// inside a UTF-8 sequence.
constexpr size_t kMaxLineOctets = 75;
constexpr int kDegreesPerTerm = 15;
constexpr int kLongitudeOfTerm0 = 285;  // Minor Cold

struct Event {
    Serial serial = 0;
    std::string key;  // unique within the day
    std::string summary, description, category;
    std::optional<int64_t> instant;  // a timed event (a solar term), else all day
    Serial last = 0;                 // the last day of an all-day event over several days
};

// China Standard Time, UTC+8 at every instant, as the term times are given.
// Not Asia/Shanghai: clients replace a VTIMEZONE whose TZID they know with
// their own rules, and Asia/Shanghai had summer time in 1919, 1940-1949 and
// 1986-1991 and local mean time before 1901. Etc/GMT-8 (POSIX's inverted
// sign) is UTC+8 without history in every time zone database, so a client
// that resolves it and one that reads the VTIMEZONE agree.
constexpr const char* kChinaZoneId = "Etc/GMT-8";
constexpr const char* kChinaZone[] = {"BEGIN:VTIMEZONE", "TZID:Etc/GMT-8", "BEGIN:STANDARD",
                                      "DTSTART:19000101T000000", "TZOFFSETFROM:+0800", "TZOFFSETTO:+0800",
                                      "TZNAME:CST", "END:STANDARD", "END:VTIMEZONE"};

// TEXT values escape backslash, semicolon, comma and newline.
std::string escape_text(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c == '\\' || c == ';' || c == ',') out += '\\';
        if (c == '\n') {
            out += "\\n";
            continue;
        }
        out += c;
    }
    return out;
}

std::string fold(std::string_view line) {
    std::string out;
    size_t used = 0;
    for (size_t i = 0; i < line.size();) {
        size_t len = 1;
        while (i + len < line.size() && (static_cast<unsigned char>(line[i + len]) & 0xC0) == 0x80) ++len;
        if (used + len > kMaxLineOctets) {
            out += "\r\n ";
            used = 1;
        }
        out.append(line.substr(i, len));
        used += len;
        i += len;
    }
    return out + "\r\n";
}

std::string ics_date(Serial serial) {
    const Ymd d = date_of(serial);
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%04d%02d%02d", d.year, d.month, d.day);
    return buffer;
}

// DTSTAMP: the moment of writing in UTC, or QELDATE_TODAY taken as UTC so
// that tests get the same file every time.
std::string stamp(const Context& context) {
    Moment m = context.now;
    if (!context.fixed_now) {
        using namespace std::chrono;
        const auto now = floor<seconds>(system_clock::now());
        const auto day = floor<days>(now);
        const year_month_day ymd{day};
        const hh_mm_ss tod{now - day};
        m = {{int(ymd.year()), int(unsigned(ymd.month())), int(unsigned(ymd.day()))},
             int(tod.hours().count()), int(tod.minutes().count()), int(tod.seconds().count()), true};
    }
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d%02d%02dT%02d%02d%02dZ", m.date.year, m.date.month, m.date.day, m.hour,
                  m.minute, m.second);
    return buffer;
}

// DATE-TIME of an instant: in UTC ("Z"), or local to China Standard Time.
std::string ics_time(int64_t instant, bool shanghai_time) {
    int64_t serial = 0;
    int32_t second = 0;
    qel_cst_of_instant(shanghai_time ? instant : instant - 8 * 3600, &serial, &second);
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%sT%02d%02d%02d%s", ics_date(serial).c_str(), second / 3600, second / 60 % 60,
                  second % 60, shanghai_time ? "" : "Z");
    return buffer;
}

void write_calendar(const Context& context, const std::string& name, std::vector<Event> events, bool shanghai_time = false) {
    std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) { return a.serial < b.serial; });
    const std::string dtstamp = stamp(context);
    std::string out;
    for (const char* line : {"BEGIN:VCALENDAR", "VERSION:2.0", "PRODID:-//qel_datetime//qeldate " QELDATE_VERSION "//EN",
                             "CALSCALE:GREGORIAN", "METHOD:PUBLISH"})
        out += fold(line);
    out += fold("X-WR-CALNAME:" + escape_text(name));
    if (shanghai_time)
        for (const char* line : kChinaZone) out += fold(line);
    for (const Event& e : events) {
        out += fold("BEGIN:VEVENT");
        out += fold("UID:" + ics_date(e.serial) + "-" + e.key + "@qeldate");
        out += fold("DTSTAMP:" + dtstamp);
        if (e.instant) {
            const std::string property = shanghai_time ? std::string("DTSTART;TZID=") + kChinaZoneId + ":" : "DTSTART:";
            out += fold(property + ics_time(*e.instant, shanghai_time));
        } else {
            out += fold("DTSTART;VALUE=DATE:" + ics_date(e.serial));
            out += fold("DTEND;VALUE=DATE:" + ics_date(std::max(e.serial, e.last) + 1));
        }
        out += fold("SUMMARY:" + escape_text(e.summary));
        out += fold("DESCRIPTION:" + escape_text(e.description));
        out += fold("CATEGORIES:" + escape_text(e.category));
        out += fold("TRANSP:TRANSPARENT");
        out += fold("END:VEVENT");
    }
    out += fold("END:VCALENDAR");
    write_out(out);
}

// FNV-1a, 64 bits: a short key of a text that is the same on every run and
// machine, for UIDs.
std::string text_key(std::string_view text) {
    uint64_t hash = 0xcbf29ce484222325u;
    for (const char c : text) hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001b3u;
    char buffer[20];
    std::snprintf(buffer, sizeof buffer, "%016llx", static_cast<unsigned long long>(hash));
    return buffer;
}

std::string year_range(int first, int last) {
    return first == last ? std::to_string(first) : std::to_string(first) + "-" + std::to_string(last);
}

std::string lunar_numbers(const LunarDate& l) {
    return std::to_string(l.year) + "-" + std::to_string(l.month) + "-" + std::to_string(l.day) + (l.leap ? " (leap month)" : "");
}

}  // namespace

void run_ics_festivals(const Context& context, int first_year, int last_year, bool shanghai_time, bool holidays) {
    std::vector<Event> events;
    if (holidays) {
        // A year no holiday table covers would silently lack its holidays.
        for (int y = first_year; y <= last_year; ++y) {
            if (qel_holiday_status(serial_of({y, 1, 1}), context.holidays(), nullptr) >= 0 ||
                qel_holiday_status(serial_of({y, 12, 31}), context.holidays(), nullptr) >= 0)
                continue;
            throw UsageError("the public holidays of " + std::to_string(y) + " are unknown: the year is " +
                             range_message(QEL_DOMAIN_HOLIDAYS) + "; add the year with --holidays FILE, or leave out --with-holidays");
        }
        for (const HolidayPeriod& p : holiday_periods(context, serial_of({first_year, 1, 1}), serial_of({last_year, 12, 31}))) {
            Event e{p.first, "holiday-" + p.key, "休 " + p.chinese,
                    p.english + ": public holiday, " + std::to_string(p.last - p.first + 1) + (p.last == p.first ? " day off" : " days off"), "Public holiday",
                    std::nullopt};
            e.last = p.last;
            events.push_back(e);
            for (const Serial w : p.workdays)
                events.push_back({w, "workday-" + p.key, "班 " + p.chinese,
                                  "A weekend day worked in exchange for " + p.english, "Working day", std::nullopt});
        }
    }
    for (Serial s = serial_of({first_year, 1, 1}), last = serial_of({last_year, 12, 31}); s <= last; ++s) {
        const Day d = day_of(s, context);
        for (const Festival& f : d.festivals) {
            std::string description = f.english;
            if (f.lunar) description += ", lunar " + lunar_numbers(d.lunar) + " (" + lunar_prefix(context) + d.lunar_text + ")";
            events.push_back({s, f.key, f.chinese, description, chinese(context) ? "Chinese festival" : "Festival", std::nullopt});
        }
        if (d.term) {
            const int longitude = (kLongitudeOfTerm0 + kDegreesPerTerm * d.term->term) % 360;
            events.push_back({s, "term-" + d.term->key, d.term->chinese,
                              d.term->english + ": the Sun reaches " + std::to_string(longitude) +
                                  "° of apparent longitude (" + clock(*d.term) + " China Standard Time, UTC+8)",
                              "Solar term", d.term->instant});
        }
    }
    write_calendar(context, std::string(chinese(context) ? "Chinese festivals" : "Festivals") + " and solar terms " + year_range(first_year, last_year), std::move(events),
                   shanghai_time);
}

void run_ics_lunar(const Context& context, int month, int day, bool leap, int first_lunar_year, std::optional<int> years,
                   const std::string& summary) {
    const qel_range lunar = domain_range(QEL_DOMAIN_LUNAR);
    int year = first_lunar_year;
    if (year == 0) {
        // This year's occurrence: the first on or after January 1, which
        // may belong to the lunar year before (a day of months 11 and 12).
        const int now_year = context.now.date.year;
        if (!in_years(now_year, QEL_DOMAIN_LUNAR))
            throw UsageError("this year (" + std::to_string(now_year) + ") is " + range_message(QEL_DOMAIN_LUNAR) +
                             "; give --from YEAR");
        const Serial new_year = serial_of({now_year, 1, 1});
        year = std::max(now_year - 1, lunar.first_year);
        for (std::optional<Anniversary> l; year < lunar.last_year && (!(l = lunar_anniversary(year, month, day, leap, context.calendar)) ||
                                                                     serial_of_lunar(l->date, context.calendar) < new_year);)
            ++year;
    }
    // Years past the table are refused rather than left out; without
    // --years the calendar ends where the table does.
    const int available = lunar.last_year - year + 1;
    if (years && *years > available)
        throw UsageError("--years " + std::to_string(*years) + " from lunar " + std::to_string(year) +
                         " runs past lunar " + std::to_string(lunar.last_year) + ", the end of the lunar table: use --years " +
                         std::to_string(available) + " or fewer");
    const int count = std::min(years.value_or(kDefaultLunarYears), available);
    const std::string what = std::to_string(month) + "-" + std::to_string(day) + (leap ? "-leap" : "");
    // Two birthdays on the same lunar date are two events: the title is part
    // of the UID, so importing one calendar never overwrites the other.
    const std::string key = "lunar-" + what + (summary.empty() ? "" : "-" + text_key(summary));
    std::vector<Event> events;
    for (int y = year; y < year + count; ++y) {
        const std::optional<Anniversary> a = lunar_anniversary(y, month, day, leap, context.calendar);
        if (!a) continue;
        const std::string name = lunar_prefix(context) + lunar_text(a->date, context);
        events.push_back({serial_of_lunar(a->date, context.calendar), key, summary.empty() ? name : summary,
                          name + ", lunar " + lunar_numbers(a->date) + (a->moved ? " (day 30 moved to 29: a short month)" : ""),
                          "Lunar date", std::nullopt});
    }
    write_calendar(context, "Lunar " + what, std::move(events));
}

}  // namespace qeldate

#include "ics.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "command.h"
#include "day_info.h"
#include "festivals.h"
#include "terms.h"

namespace qeldate {
namespace {

// Content lines longer than 75 octets are folded: CRLF and one space, never
// inside a UTF-8 sequence.
constexpr size_t kMaxLineOctets = 75;
constexpr int kDegreesPerTerm = 15;
constexpr int kLongitudeOfTerm0 = 285;  // Minor Cold

struct Event {
    DateInt serial = 0;
    std::string key;  // unique within the day
    std::string summary, description, category;
};

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

std::string ics_date(DateInt serial) {
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

void write_calendar(const Context& context, const std::string& name, std::vector<Event> events) {
    std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) { return a.serial < b.serial; });
    const std::string dtstamp = stamp(context);
    std::string out;
    for (const char* line : {"BEGIN:VCALENDAR", "VERSION:2.0", "PRODID:-//qel_datetime//qeldate " QELDATE_VERSION "//EN",
                             "CALSCALE:GREGORIAN", "METHOD:PUBLISH"})
        out += fold(line);
    out += fold("X-WR-CALNAME:" + escape_text(name));
    for (const Event& e : events) {
        out += fold("BEGIN:VEVENT");
        out += fold("UID:" + ics_date(e.serial) + "-" + e.key + "@qeldate");
        out += fold("DTSTAMP:" + dtstamp);
        out += fold("DTSTART;VALUE=DATE:" + ics_date(e.serial));
        out += fold("DTEND;VALUE=DATE:" + ics_date(e.serial + 1));
        out += fold("SUMMARY:" + escape_text(e.summary));
        out += fold("DESCRIPTION:" + escape_text(e.description));
        out += fold("CATEGORIES:" + escape_text(e.category));
        out += fold("TRANSP:TRANSPARENT");
        out += fold("END:VEVENT");
    }
    out += fold("END:VCALENDAR");
    write_out(out);
}

std::string lunar_numbers(const Lunar& l) {
    return std::to_string(l.year) + "-" + std::to_string(l.month) + "-" + std::to_string(l.day) + (l.leap ? " (leap month)" : "");
}

}  // namespace

void run_ics_festivals(const Context& context, int first_year, int last_year) {
    const Text utf8(Encoding::kUtf8);  // iCalendar text is UTF-8
    std::vector<Event> events;
    for (int year = first_year; year <= last_year; ++year) {
        for (const Festival& f : kFestivals) {
            if (f.rule == FestivalRule::kSolarTerm) continue;  // listed with the terms below
            // A lunar year begins in January or February, so the lunar
            // festivals of a Gregorian year come from two lunar years.
            for (int lunar_year = year - 1; lunar_year <= year; ++lunar_year) {
                const auto day = festival_day(f, lunar_year);
                if (!day || date_of(*day).year != year) continue;
                const Lunar l = *lunar_of(date_of(*day));
                events.push_back({*day, f.key, std::string(f.chinese) + " " + f.english,
                                  "农历" + lunar_text(l, 3, utf8) + ", lunar " + lunar_numbers(l), "Chinese festival"});
            }
        }
        for (int term = 0; term < kTermCount; ++term) {
            const TermTime t = *term_time(year, term);
            const int longitude = (kLongitudeOfTerm0 + kDegreesPerTerm * term) % 360;
            std::string summary = std::string(term_name(term).chinese) + " " + term_name(term).english;
            for (const Festival& f : kFestivals)
                if (f.rule == FestivalRule::kSolarTerm && f.term == term) summary += ", " + std::string(f.chinese) + " " + f.english;
            events.push_back({t.serial, term_name(term).key, summary,
                              "The sun reaches " + std::to_string(longitude) + "° of longitude at " + term_clock(t) +
                                  " China Standard Time (UTC+8)",
                              "Solar term"});
        }
    }
    const std::string range = first_year == last_year ? std::to_string(first_year)
                                                      : std::to_string(first_year) + "-" + std::to_string(last_year);
    write_calendar(context, "Chinese festivals and solar terms " + range, std::move(events));
}

void run_ics_lunar(const Context& context, int month, int day, bool leap, int first_lunar_year, int years,
                   const std::string& summary) {
    const Text utf8(Encoding::kUtf8);
    const DateInt today = serial_of(context.now.date);
    int year = first_lunar_year;
    if (year == 0) {
        const std::optional<Lunar> now = lunar_of(context.now.date);
        if (!now) throw UsageError("today (" + format_date(context.now.date) + ") is outside 1900-2100; give --from YEAR");
        year = now->year;
        if (const auto first = lunar_anniversary(year, month, day, leap); first && *serial_of_lunar(*first) < today) ++year;
    }
    const std::string what = std::to_string(month) + "-" + std::to_string(day) + (leap ? "-leap" : "");
    std::vector<Event> events;
    for (int y = year; y < year + years && y <= kLastLunarYear; ++y) {
        const std::optional<Lunar> l = lunar_anniversary(y, month, day, leap);
        if (!l) continue;
        const std::string name = "农历" + lunar_text(*l, 3, utf8);
        events.push_back({*serial_of_lunar(*l), "lunar-" + what, summary.empty() ? name : summary,
                          name + ", lunar " + lunar_numbers(*l), "Lunar date"});
    }
    write_calendar(context, "Lunar " + what, std::move(events));
}

}  // namespace qeldate

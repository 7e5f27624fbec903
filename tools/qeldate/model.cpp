#include "model.h"

#include <algorithm>
#include <cstdio>

#include "context.h"

namespace qeldate {
namespace {

constexpr const char* kWeekdayNames[] = {"", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"};
constexpr const char* kWeekdayAbbr[] = {"", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
constexpr const char* kWeekdayChinese[] = {"", "一", "二", "三", "四", "五", "六", "日"};
constexpr const char* kMonthNames[] = {"",     "January", "February",  "March",   "April",    "May",     "June",
                                       "July", "August",  "September", "October", "November", "December"};

}  // namespace

qel_range domain_range(int32_t domain) {
    qel_range r{};
    qel_domain_range(domain, &r);
    return r;
}

bool in_years(int year, int32_t domain) {
    const qel_range r = domain_range(domain);
    return year >= r.first_year && year <= r.last_year;
}

namespace {

// A qel_calendar text call into a string.
template <typename Call>
std::string text_of(Call call) {
    char buf[256];
    return call(buf, sizeof buf) > 0 ? buf : "";
}

}  // namespace

std::string range_message(int32_t domain) {
    return text_of([&](char* b, size_t n) { return qel_range_message(domain, b, n); });
}
std::string date_message(int year, int month, int day) {
    return text_of([&](char* b, size_t n) { return qel_date_message(year, month, day, b, n); });
}
std::string lunar_message(int year, int month, int day, int leap, int32_t calendar) {
    return text_of([&](char* b, size_t n) { return qel_lunar_message_in(calendar, year, month, day, leap, b, n); });
}
std::string time_message(int hour, int minute, int second) {
    return text_of([&](char* b, size_t n) { return qel_time_message(hour, minute, second, b, n); });
}

std::string years_of_domain(int32_t domain) {
    const qel_range r = domain_range(domain);
    return std::to_string(r.first_year) + "-" + std::to_string(r.last_year);
}

std::string name(int32_t kind, int index, uint32_t flags) {
    char buf[64];
    return qel_name(kind, index, flags, buf, sizeof buf) >= 0 ? buf : "";
}

Serial serial_of(const Ymd& date) {
    int64_t serial = 0;
    qel_serial_of_date(date.year, date.month, date.day, &serial);
    return serial;
}

Ymd date_of(Serial serial) {
    Ymd d;
    qel_date_of_serial(serial, &d.year, &d.month, &d.day);
    return d;
}

int weekday_of(Serial serial) {
    qel_day_facts f{};
    qel_day_facts_of(serial, 0, &f);
    return f.weekday;
}

const char* weekday_name(int weekday) { return weekday >= 1 && weekday <= 7 ? kWeekdayNames[weekday] : "?"; }
const char* weekday_abbr(int weekday) { return weekday >= 1 && weekday <= 7 ? kWeekdayAbbr[weekday] : "?"; }
const char* weekday_chinese(int weekday) { return weekday >= 1 && weekday <= 7 ? kWeekdayChinese[weekday] : "?"; }
const char* month_name(int month) { return month >= 1 && month <= 12 ? kMonthNames[month] : "?"; }

Term term_of(const qel_term& t) {
    Term term;
    term.year = t.year;
    term.term = t.term;
    term.instant = t.instant;
    int32_t second = 0;
    qel_cst_of_instant(t.instant, &term.serial, &second);
    term.second_of_day = second;
    term.date = date_of(term.serial);
    term.chinese = name(QEL_NAME_TERM, t.term);
    term.english = name(QEL_NAME_TERM_ENGLISH, t.term);
    term.key = name(QEL_NAME_TERM_KEY, t.term);
    return term;
}

std::optional<Term> term_of(int year, int term) {
    qel_term t{year, term, 0};
    if (qel_term_instant(year, term, &t.instant) != QEL_OK) return std::nullopt;
    return term_of(t);
}

std::string clock(const Term& t) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02d:%02d", t.second_of_day / 3600, t.second_of_day / 60 % 60);
    return buffer;
}

int term_named(std::string_view text) { return std::max(qel_term_of_name(text.data(), text.size()), -1); }

int64_t instant_of(const Moment& m) {
    int64_t instant = 0;
    qel_instant_of_cst(serial_of(m.date), (m.hour * 60 + m.minute) * 60 + m.second, &instant);
    return instant;
}

Festival festival(int index, uint32_t language) {
    // The language's name where qel_name has one, else the Chinese name.
    const auto local = [&](int32_t kind) {
        const std::string n = language ? name(kind, index, language) : "";
        return n.empty() ? name(kind, index) : n;
    };
    return {index,
            name(QEL_NAME_FESTIVAL_KEY, index),
            local(QEL_NAME_FESTIVAL),
            local(QEL_NAME_FESTIVAL_SHORT),
            name(QEL_NAME_FESTIVAL_ENGLISH, index),
            index <= QEL_FESTIVAL_NEW_YEARS_EVE || index == QEL_FESTIVAL_HUNG_KINGS};
}

std::vector<Festival> festivals_of(uint64_t bits, uint32_t language) {
    std::vector<Festival> out;
    for (int f = 0; f < QEL_FESTIVAL_COUNT; ++f)
        if (bits >> f & 1u) out.push_back(festival(f, language));
    return out;
}

int32_t calendar_named(std::string_view word) {
    const int32_t calendar = qel_calendar_of_name(word.data(), word.size());
    if (calendar >= 0) return calendar;
    std::vector<std::string> words;
    for (const char* w : kCalendarWords) words.push_back(w);
    throw UsageError("--calendar " + quote_input(word) + ": use " + or_list(words));
}

std::string calendar_word(int32_t calendar) {
    for (const char* w : kCalendarWords)
        if (qel_calendar_of_name(w, std::char_traits<char>::length(w)) == calendar) return w;
    return std::to_string(calendar);
}

uint32_t calendar_language(int32_t calendar) {
    return calendar == QEL_CALENDAR_KOREAN ? QEL_NAME_KOREAN : calendar == QEL_CALENDAR_VIETNAMESE ? QEL_NAME_VIETNAMESE : 0u;
}

const char* MonthSource::word() const {
    return source == QEL_SOURCE_COMPUTED ? "computed" : source == QEL_SOURCE_RECORD ? "record" : "published";
}

std::string MonthSource::note() const {
    // A new moon or principal term within its margin of midnight: the month
    // could start a day later or earlier, or take another number.
    if (flags & QEL_MONTH_LABEL_UNCERTAIN) return "its number is uncertain (a new moon or principal term near midnight)";
    if (flags & QEL_MONTH_START_UNCERTAIN) return "its first day is uncertain (a new moon near midnight)";
    return "";
}

MonthSource month_source(int32_t calendar, const LunarDate& l) {
    qel_month_info info{};
    if (qel_lunar_month_info(calendar, l.year, l.month, l.leap, &info) != QEL_OK) return {};
    return {info.source, info.flags};
}

std::optional<Festival> festival_named(std::string_view text) {
    const int32_t f = qel_festival_of_name(text.data(), text.size());
    if (f < 0) return std::nullopt;
    return festival(f);
}

std::vector<Name> festival_and_term_names() {
    std::vector<Name> out;
    for (int f = 0; f < QEL_FESTIVAL_COUNT; ++f) {
        const std::string shown = name(QEL_NAME_FESTIVAL_KEY, f) + " " + name(QEL_NAME_FESTIVAL, f);
        for (const int32_t kind : {QEL_NAME_FESTIVAL_KEY, QEL_NAME_FESTIVAL, QEL_NAME_FESTIVAL_ENGLISH}) out.push_back({name(kind, f), shown});
    }
    for (int t = 0; t < kTermCount; ++t) {
        const std::string shown = name(QEL_NAME_TERM_KEY, t) + " " + name(QEL_NAME_TERM, t);
        for (const int32_t kind : {QEL_NAME_TERM_KEY, QEL_NAME_TERM, QEL_NAME_TERM_ENGLISH}) out.push_back({name(kind, t), shown});
    }
    return out;
}

namespace {

// The code points of valid UTF-8, ASCII letters in lower case.
std::u32string folded(std::string_view text) {
    std::u32string out;
    for (size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const size_t length = byte < 0x80 ? 1 : byte < 0xE0 ? 2 : byte < 0xF0 ? 3 : 4;
        char32_t c = length == 1 ? byte : byte & (0x7Fu >> length);
        for (size_t k = 1; k < length && i + k < text.size(); ++k) c = c << 6 | (static_cast<unsigned char>(text[i + k]) & 0x3Fu);
        out.push_back(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        i += length;
    }
    return out;
}

// Wagner-Fischer, one row at a time.
size_t edit_distance(const std::u32string& a, const std::u32string& b) {
    std::vector<size_t> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            const size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

}  // namespace

std::vector<std::string> close_names(std::string_view word, const std::vector<Name>& names, size_t most) {
    const std::u32string w = folded(word);
    std::vector<std::pair<size_t, std::string>> near;  // distance, shown
    for (const Name& n : names) {
        const std::u32string c = folded(n.name);
        const size_t shorter = std::min(w.size(), c.size());
        const bool prefix = shorter >= 3 && w.compare(0, shorter, c, 0, shorter) == 0;
        const size_t distance = prefix ? 0 : edit_distance(w, c);
        if (prefix || distance <= std::max<size_t>(1, w.size() / 3)) near.emplace_back(distance, n.shown);
    }
    std::stable_sort(near.begin(), near.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> out;
    for (const auto& [distance, shown] : near)
        if (out.size() < most && std::find(out.begin(), out.end(), shown) == out.end()) out.push_back(shown);
    return out;
}

std::string or_list(const std::vector<std::string>& items) {
    std::string out;
    for (size_t i = 0; i < items.size(); ++i) out += (i == 0 ? "" : i + 1 == items.size() ? " or " : ", ") + items[i];
    return out;
}

HolidayStatus holiday_of(Serial serial, const Context& context) {
    HolidayStatus h;
    int32_t holiday = 0;
    h.status = qel_holiday_status(serial, context.holidays(), &holiday);
    if (h.status < 0) return h;
    h.workday = qel_is_workday(serial, context.holidays()) == 1;
    if (h.status != QEL_DAY_ORDINARY && holiday > 0) {
        h.holiday = holiday;
        h.chinese = name(QEL_NAME_HOLIDAY, holiday);
        h.english = name(QEL_NAME_HOLIDAY_ENGLISH, holiday);
        h.key = name(QEL_NAME_HOLIDAY_KEY, holiday);
    }
    return h;
}

Day day_of(Serial serial, const Context& context) {
    const uint32_t name_flags = context.name_flags, language = context.language;
    qel_day_facts f{};
    qel_day_facts_of(serial, context.festival_options, &f);
    Day d;
    d.serial = serial;
    d.date = {f.year, f.month, f.day};
    d.weekday = f.weekday;
    d.day_of_year = f.day_of_year;
    d.day_cycle = f.day_cycle;
    d.day_cycle_name = name(QEL_NAME_CYCLE, f.day_cycle, language);
    d.has_lunar = (f.flags & QEL_DAY_NO_LUNAR) == 0;
    if (d.has_lunar) {
        d.lunar = {f.lunar_year, f.lunar_month, f.lunar_day, f.lunar_leap};
        d.lunar_month_days = f.lunar_month_days;
        d.lunar_leap_month = f.lunar_leap_month;
        d.lunar_month_name = name(QEL_NAME_LUNAR_MONTH, f.lunar_month, name_flags | (f.lunar_leap ? QEL_NAME_LEAP : 0u));
        d.lunar_day_name = name(QEL_NAME_LUNAR_DAY, f.lunar_day, language);
        d.lunar_text = lunar_text(d.lunar, context);
        d.lunar_source = month_source(context.calendar, d.lunar);
        d.year_cycle = f.year_cycle;
        d.year_name = name(QEL_NAME_CYCLE, f.year_cycle, language);
        d.animal = name(QEL_NAME_ANIMAL, f.year_cycle % 12, language);
    }
    if (f.term >= 0) d.term = term_of(qel_term{f.year, f.term, f.term_instant});
    d.festivals = festivals_of(f.festivals, language);
    d.holiday = holiday_of(serial, context);
    return d;
}

Serial serial_of_lunar(const LunarDate& l, int32_t calendar) {
    int64_t serial = 0;
    if (qel_serial_of_lunar_in(calendar, l.year, l.month, l.day, l.leap, &serial) == QEL_OK) return serial;
    throw UsageError(lunar_message(l.year, l.month, l.day, l.leap, calendar));
}

std::string lunar_text(const LunarDate& l, uint32_t flags) {
    char buf[96];
    return qel_lunar_text(l.year, l.month, l.day, l.leap, flags, buf, sizeof buf) >= 0 ? buf : "";
}

std::string lunar_text(const LunarDate& l, const Context& context) {
    return lunar_text(l, context.name_flags | QEL_OPT_CALENDAR(context.calendar));
}

std::optional<Anniversary> lunar_anniversary(int lunar_year, int month, int day, bool leap, int32_t calendar) {
    const qel_range lunar = domain_range(QEL_DOMAIN_LUNAR);
    if (lunar_year < lunar.first_year || lunar_year > lunar.last_year) return std::nullopt;
    // A year that has the date: the year itself when it does, else the first
    // one that does (a leap 6-30 exists only in some years).
    int base = lunar_year;
    if (qel_check_lunar_in(calendar, base, month, day, leap, nullptr) != QEL_OK) {
        base = lunar.first_year;
        while (base <= lunar.last_year && qel_check_lunar_in(calendar, base, month, day, leap, nullptr) != QEL_OK) ++base;
        if (base > lunar.last_year) return std::nullopt;
    }
    qel_lunar_date out{};
    const int32_t status = qel_lunar_step(base, month, day, leap, lunar_year - base, QEL_UNIT_YEAR, QEL_OPT_CALENDAR(calendar), &out);
    if (status < 0) return std::nullopt;
    return Anniversary{{out.year, out.month, out.day, out.leap}, status == QEL_CLAMPED};
}

}  // namespace qeldate

// The tool's model of the calendar, built once per request from qel_calendar:
// a day (its Gregorian, lunar, cycle, term and festival facts with their
// names), the terms and festivals by year, and the look-ups people make.
// Everything here is UTF-8; renderers only read it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "date_parse.h"
#include "qel_calendar.h"

namespace qeldate {

using Serial = int64_t;  // days since 1899-12-30

inline constexpr int kTermCount = 24;
inline constexpr int kSecondsPerDay = 86400;

// The covered range of a qel_calendar domain (QEL_DOMAIN_*), asked at run
// time: the tool follows the library's years without an edit of its own.
qel_range domain_range(int32_t domain);
bool in_years(int year, int32_t domain);
// qel_calendar's English text of a failure: the range of a domain, and why a
// date, lunar date or clock time fails ("" when it does not).
std::string range_message(int32_t domain);
std::string date_message(int year, int month, int day);
std::string lunar_message(int year, int month, int day, int leap, int32_t calendar = QEL_CALENDAR_CHINESE);
std::string time_message(int hour, int minute, int second);
// The years of a domain as "FIRST-LAST", for help text.
std::string years_of_domain(int32_t domain);

// qel_name as a string ("" for an index it refuses).
std::string name(int32_t kind, int index, uint32_t flags = 0);

Serial serial_of(const Ymd& date);  // Precondition: a valid date of 0001..9999
Ymd date_of(Serial serial);
int weekday_of(Serial serial);           // 1 = Monday .. 7 = Sunday
const char* weekday_name(int weekday);  // 1 = Monday .. 7 = Sunday
const char* weekday_abbr(int weekday);  // Mon .. Sun
const char* weekday_chinese(int weekday);  // 一 .. 日
const char* month_name(int month);      // January .. December

struct Term {
    int year = 0, term = 0;  // Gregorian year, 0 = 小寒 .. 23 = 冬至
    int64_t instant = 0;     // seconds since 1970 UTC
    Serial serial = 0;       // its day in UTC+8
    Ymd date;
    int second_of_day = 0;   // in UTC+8
    std::string chinese, english, key;
};
Term term_of(const qel_term& t);
std::optional<Term> term_of(int year, int term);
std::string clock(const Term& t);  // HH:MM in UTC+8, truncated so that it stays on its day
// The term by key, English or Chinese name, else -1.
int term_named(std::string_view name);
// The instant of a civil moment in UTC+8.
int64_t instant_of(const Moment& m);

struct Festival {
    int index = 0;  // qel_festival
    std::string key, chinese, short_name, english;
    bool lunar = false;  // a lunar festival (its year is the lunar year)
};
// Its names; `chinese` and `short_name` in the language of `language`
// (QEL_NAME_KOREAN, QEL_NAME_VIETNAMESE) when qel_name has them there.
Festival festival(int index, uint32_t language = 0);
std::vector<Festival> festivals_of(uint64_t bits, uint32_t language = 0);
// The festival by key, English or Chinese name, else nothing.
std::optional<Festival> festival_named(std::string_view name);
// A name to compare a mistyped word with, and how a message shows it.
struct Name {
    std::string name, shown;
};
// The festivals and solar terms by key, Chinese and English name, each shown
// as "qixi 七夕".
std::vector<Name> festival_and_term_names();
// The shown forms (at most `most`, nearest first) of the names near `word`:
// within a Levenshtein distance of a third of the word's characters (at
// least 1), case aside, or of which the word is a prefix or that a prefix of
// the word (three characters or more: calendar, cal).
std::vector<std::string> close_names(std::string_view word, const std::vector<Name>& names, size_t most);
// "a, b or c".
std::string or_list(const std::vector<std::string>& items);

struct LunarDate {
    int year = 0, month = 0, day = 0, leap = 0;
};

// The words --calendar offers (help, completion, messages), each read with
// qel_calendar_of_name, which also takes any ASCII case and 农历, 음력,
// âm lịch.
inline constexpr const char* kCalendarWords[] = {"chinese", "korean", "vietnamese"};
// The calendar of a word, or a UsageError that lists the words.
int32_t calendar_named(std::string_view word);
// The word of a calendar (qel_calendar_kind).
std::string calendar_word(int32_t calendar);
// The name language of a calendar: 0 (Chinese), QEL_NAME_KOREAN or
// QEL_NAME_VIETNAMESE.
uint32_t calendar_language(int32_t calendar);

// Where a lunar month comes from (qel_lunar_month_info): "published",
// "computed" or "record", and a short note when its start or its number
// could move ("" for a sure month).
struct MonthSource {
    int source = QEL_SOURCE_PUBLISHED;
    uint32_t flags = 0;
    const char* word() const;
    std::string note() const;
};
MonthSource month_source(int32_t calendar, const LunarDate& date);

// The holiday status of a day: QEL_DAY_OFF, QEL_DAY_WORK, QEL_DAY_ORDINARY,
// or QEL_E_RANGE where no table covers it.
struct HolidayStatus {
    int status = QEL_E_RANGE;
    int holiday = 0;  // qel_holiday of an off or work day
    bool workday = false;
    std::string chinese, english, key;  // the holiday's names
};
struct Day {
    Serial serial = 0;
    Ymd date;
    int weekday = 0, day_of_year = 0;
    bool has_lunar = false;
    LunarDate lunar;
    int lunar_month_days = 0, lunar_leap_month = 0;
    std::string lunar_text;        // 闰六月初一 (in the context's language)
    MonthSource lunar_source;
    std::string lunar_month_name;  // 闰六月
    std::string lunar_day_name;    // 初一
    std::string year_name, animal;  // 丁酉 鸡
    int year_cycle = 0, day_cycle = 0;
    std::string day_cycle_name;    // 辛亥
    std::optional<Term> term;
    std::vector<Festival> festivals;
    HolidayStatus holiday;
};
struct Context;
// Precondition: serial within 0001..9999.
Day day_of(Serial serial, const Context& context);

HolidayStatus holiday_of(Serial serial, const Context& context);

// The day of a lunar date, or a UsageError with qel_calendar's reason.
Serial serial_of_lunar(const LunarDate& date, int32_t calendar = QEL_CALENDAR_CHINESE);
// A lunar date's name as calendars print it (闰六月初一).
// `flags`: QEL_NAME_PLAIN_MONTHS, a language and QEL_OPT_CALENDAR(...).
std::string lunar_text(const LunarDate& date, uint32_t flags);
// The same in the context's calendar and language.
std::string lunar_text(const LunarDate& date, const Context& context);

// A lunar date in a given lunar year, for dates that recur (next, iCalendar
// birthdays): qel_lunar_step's year rule from a year that has the date, so
// day 30 in a month of 29 days falls on day 29 (`moved`), and a day of a
// leap month falls in the ordinary month of its number in years without that
// leap month. Nothing when no covered year has the date at all or the year
// is outside the lunar years.
struct Anniversary {
    LunarDate date;
    bool moved = false;  // the day became 29 (QEL_CLAMPED)
};
std::optional<Anniversary> lunar_anniversary(int lunar_year, int month, int day, bool leap,
                                            int32_t calendar = QEL_CALENDAR_CHINESE);

}  // namespace qeldate

#include "day_info.h"

#include <cstdlib>
#include <stdexcept>

namespace qeldate {
namespace {

constexpr const char* kWeekdayNames[] = {"", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"};
constexpr const char* kWeekdayAbbr[] = {"", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
constexpr const char* kMonthNames[] = {"",     "January", "February",  "March",   "April",    "May",     "June",
                                       "July", "August",  "September", "October", "November", "December"};

// 1900-01-01 (serial 2) is a 甲戌 day, number 10 of the cycle counted from
// 甲子 = 0: the day-cycle anchor of the Chinese almanacs for the year 1900
// (its Julian Day Number 2415021 gives (2415021 + 49) mod 60 = 10 as well).
constexpr DateInt kSerial1900_01_01 = 2;
constexpr int kCycleOf1900_01_01 = 10;
constexpr int kCycleDays = 60;

// Lunar year 1924 is a 甲子 year ((1924 - 4) mod 60 = 0), so lunar year
// 1924 + k carries the name of cycle number k, for k = 0..59 (1924..1983,
// all inside the table).
constexpr int kFirstJiaziYear = 1924;

}  // namespace

DateInt serial_of(const Ymd& date) {
    return EncodeDate(static_cast<unsigned short>(date.year), static_cast<unsigned short>(date.month),
                      static_cast<unsigned short>(date.day));
}

Ymd date_of(DateInt serial) {
    unsigned short y = 0, m = 0, d = 0;
    DecodeDate(serial, &y, &m, &d);
    return {y, m, d};
}

int weekday_of(DateInt serial) { return DayOfWeek(serial); }
const char* weekday_name(int weekday) { return weekday >= 1 && weekday <= 7 ? kWeekdayNames[weekday] : "?"; }
const char* weekday_abbr(int weekday) { return weekday >= 1 && weekday <= 7 ? kWeekdayAbbr[weekday] : "?"; }
const char* month_name(int month) { return month >= 1 && month <= 12 ? kMonthNames[month] : "?"; }

std::optional<Lunar> lunar_of(const Ymd& date) {
    Lunar l;
    if (GDateToPDate(date.year, date.month, date.day, &l.year, &l.month, &l.day, &l.leap) != 1) return std::nullopt;
    return l;
}

std::optional<DateInt> serial_of_lunar(const Lunar& lunar) {
    if (PDateIsValid(lunar.year, lunar.month, lunar.day, lunar.leap) != 1) return std::nullopt;
    Ymd g;
    if (PDateToGDate(lunar.year, lunar.month, lunar.day, lunar.leap, &g.year, &g.month, &g.day) != 1)
        return std::nullopt;
    return serial_of(g);
}

std::string lunar_text(const Lunar& lunar, int parts, const Text& text) {
    const tpdate date{lunar.year, lunar.month, lunar.day, lunar.leap};
    TAnsiString out;
    return text.lib(*pdate2text(&date, &out, parts));
}

std::string lunar_year_name(const Lunar& lunar, const Text& text) {
    const tpdate date{lunar.year, lunar.month, lunar.day, lunar.leap};
    TAnsiString out;
    return text.lib(*pdate2TianGanDiZhi(&date, &out));
}

std::string lunar_animal(const Lunar& lunar, const Text& text) {
    const tpdate date{lunar.year, lunar.month, lunar.day, lunar.leap};
    TAnsiString out;
    return text.lib(*pdate2Animal_signs(&date, &out));
}

int day_cycle_index(DateInt serial) {
    // serial is at most a few million in magnitude, so the sum cannot overflow.
    const DateInt k = (serial - kSerial1900_01_01 + kCycleOf1900_01_01) % kCycleDays;
    return static_cast<int>(k < 0 ? k + kCycleDays : k);
}

std::string day_cycle_name(DateInt serial, const Text& text) {
    // The library names years, not days; the day's name is that of the lunar
    // year with the same place in the sixty-cycle.
    return lunar_year_name({kFirstJiaziYear + day_cycle_index(serial), 1, 1, 0}, text);
}

Moment current_moment() {
    if (const char* injected = std::getenv("QELDATE_TODAY"); injected && *injected) {
        try {
            return parse_moment(injected);
        } catch (const UsageError& e) {
            throw UsageError(std::string("QELDATE_TODAY: ") + e.what());
        }
    }
    TDateTime now;
    now.loadcurrentlocal();
    if (now.isNull()) throw std::runtime_error("cannot read the local date and time");
    Moment m;
    m.date = {now.year(), now.month(), now.day()};
    m.hour = now.hour();
    m.minute = now.minute();
    m.second = now.second();
    m.has_time = true;
    return m;
}

}  // namespace qeldate

// The four pillars (四柱) of a moment in China Standard Time.
//
// Year: the sexagenary year, changing at the instant of 立春 (term 2), not at
// the lunar new year. Month: the solar month opened by the last 节 (an even
// term) at or before the moment; its branch runs 寅 from 立春 to 丑 from 小寒,
// its stem follows from the year's by the 五虎遁 rule (甲 and 己 years open with
// 丙寅). Day: the sexagenary day count. Hour: the 时辰 of two hours, 子 from
// 23:00 to 01:00, its stem from the day's by the 五鼠遁 rule (甲 and 己 days
// open with 甲子); the hours form one unbroken sixty-cycle, so 23:00 always
// takes the next day's 子 hour.
#include <cstddef>
#include <cstdint>

#include "calendar/checks.h"
#include "calendar/day.h"
#include "calendar/terms.h"
#include "gregorian/civil.h"
#include "qel_calendar.h"

namespace {

using namespace qel::calendar;

constexpr int32_t kStartOfSpring = 2;  // 立春
constexpr int32_t kBranchYin = 2;      // 寅, the first month of the solar year
constexpr int32_t kHoursPerDay = 24;

constexpr int64_t kFirstInstant = kPillarsFirstInstant;
constexpr int64_t kEndInstant = kPillarsEndInstant;
static_assert(kFirstInstant == term_instant(kStartOfSpring), "the pillars open with the first 立春");

// Precondition: kFirstInstant <= instant < kEndInstant; serial and hour are
// the instant's day and hour in UTC+8.
qel_pillars pillars(int64_t instant, qel::DateInt serial, int32_t year, int32_t month, int32_t hour, int32_t zi) noexcept {
    qel_pillars p{};
    // The 节 of a Gregorian month m is term 2(m - 1): 小寒 in January, 立春 in
    // February, .. 大雪 in December. Before it, the previous month's 节 rules.
    size_t jie = term_index(year, 2 * (month - 1));
    if (term_instant(jie) > instant) jie -= 2;  // January before 小寒: 大雪 of the year before
    p.month_start = term_at(jie);

    const int32_t pillar_year = instant >= term_instant(term_index(year, kStartOfSpring)) ? year : year - 1;
    p.year_start = term_at(term_index(pillar_year, kStartOfSpring));
    p.year = year_cycle(pillar_year);

    const int32_t branch = (p.month_start.term / 2 + 1) % 12;  // 小寒 丑, 立春 寅, .. 大雪 子
    const int32_t months_from_yin = (branch - kBranchYin + 12) % 12;
    const int32_t year_stem = p.year % 10;
    p.month = sexagenary((year_stem % 5 * 2 + 2 + months_from_yin) % 10, branch);

    const bool late_zi = hour == kHoursPerDay - 1;
    p.day = day_cycle(serial + (late_zi && zi == QEL_ZI_EARLY ? 1 : 0));
    const int32_t hour_branch = (hour + 1) / 2 % 12;
    const int32_t hour_day_stem = day_cycle(serial + (late_zi ? 1 : 0)) % 10;
    p.hour = sexagenary((hour_day_stem % 5 * 2 + hour_branch) % 10, hour_branch);
    return p;
}

}  // namespace

extern "C" {

int32_t qel_pillars_of_cst(int32_t year, int32_t month, int32_t day, int32_t hour, int32_t minute,
                           int32_t second, int32_t zi, qel_pillars* out) noexcept {
    if (out == nullptr || (zi != QEL_ZI_LATE && zi != QEL_ZI_EARLY)) return QEL_E_ARGUMENT;
    if (year < QEL_FIRST_YEAR || year > QEL_LAST_YEAR) return QEL_E_RANGE;
    if (date_reason(year, month, day) != QEL_REASON_NONE || time_reason(hour, minute, second) != QEL_REASON_NONE)
        return QEL_E_DATE;
    const qel::DateInt serial = qel::gregorian::serial_from_civil(static_cast<uint32_t>(year),
                                                             static_cast<uint32_t>(month), static_cast<uint32_t>(day));
    const int64_t instant = (serial - kSerialOf1970) * kSecondsPerDay + hour * 3600 + minute * 60 + second - kCstOffset;
    if (instant < kFirstInstant) return QEL_E_RANGE;
    *out = pillars(instant, serial, year, month, hour, zi);
    return QEL_OK;
}

int32_t qel_pillars_of_instant(int64_t instant, int32_t zi, qel_pillars* out) noexcept {
    if (out == nullptr || (zi != QEL_ZI_LATE && zi != QEL_ZI_EARLY)) return QEL_E_ARGUMENT;
    if (instant < kFirstInstant || instant >= kEndInstant) return QEL_E_RANGE;
    const int64_t local = instant + kCstOffset;
    const int32_t second_of_day = floor_mod(local, static_cast<int32_t>(kSecondsPerDay));
    const qel::DateInt serial = (local - second_of_day) / kSecondsPerDay + kSerialOf1970;
    const qel::gregorian::CivilDate c = qel::gregorian::civil_from_serial(serial);
    *out = pillars(instant, serial, c.year, c.month, second_of_day / 3600, zi);
    return QEL_OK;
}

}  // extern "C"

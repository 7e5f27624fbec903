// PRC public holidays and make-up working days, derived at compile time from
// the generated table (holiday_table.h): one byte per day of the covered
// years, and the running count of working days, so that a day's status is one
// read and the working days between two dates one subtraction.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "calendar/holiday_table.h"
#include "gregorian/civil.h"
#include "qel_calendar.h"

namespace qel::calendar {

inline constexpr int64_t kHolidayFirstSerial = gregorian::serial_from_civil(kHolidayFirstYear, 1, 1);
inline constexpr int64_t kHolidayEndSerial = gregorian::serial_from_civil(kHolidayLastYear + 1, 1, 1);
inline constexpr size_t kHolidaySpan = static_cast<size_t>(kHolidayEndSerial - kHolidayFirstSerial);

// Serial 0, 1899-12-30, was a Saturday; ISO weekdays 6 and 7 are the weekend.
constexpr bool is_weekend(int64_t serial) noexcept {
    const int64_t r = serial % 7;
    return r == 0 || r == 1 || r == -6;  // Saturday (0, -7) or Sunday (1, -6)
}

constexpr bool works(int32_t status, int64_t serial) noexcept {
    return status == QEL_DAY_WORK || (status == QEL_DAY_ORDINARY && !is_weekend(serial));
}

// Per covered day: the status in bits 0-1, the holiday in bits 2-5.
inline constexpr auto kHolidayByDay = [] {
    std::array<uint8_t, kHolidaySpan> days{};
    for (const HolidayDay& d : kHolidayDays)
        days[static_cast<size_t>(d.serial - kHolidayFirstSerial)] = static_cast<uint8_t>(d.status | d.holiday << 2);
    return days;
}();

// Working days of the covered range before each day (and before its end).
inline constexpr auto kWorkdaysBefore = [] {
    std::array<uint16_t, kHolidaySpan + 1> before{};
    for (size_t i = 0; i < kHolidaySpan; ++i)
        before[i + 1] = static_cast<uint16_t>(before[i] + works(kHolidayByDay[i] & 3, kHolidayFirstSerial + int64_t(i)));
    return before;
}();

constexpr bool table_sorted() noexcept {
    for (size_t i = 1; i < std::size(kHolidayDays); ++i)
        if (kHolidayDays[i].serial <= kHolidayDays[i - 1].serial) return false;
    for (const HolidayDay& d : kHolidayDays)
        if (d.status < QEL_DAY_OFF || d.status > QEL_DAY_WORK || d.holiday < 1 || d.holiday >= QEL_HOLIDAY_COUNT ||
            (d.status == QEL_DAY_WORK && !is_weekend(d.serial)))
            return false;
    return true;
}
static_assert(table_sorted(), "sorted days; make-up working days are weekend days");
static_assert(kHolidayByDay[static_cast<size_t>(gregorian::serial_from_civil(2025, 10, 1) - kHolidayFirstSerial)] ==
                  (QEL_DAY_OFF | QEL_HOLIDAY_MID_AUTUMN_NATIONAL_DAY << 2),
              "2025: 中秋 and 国庆 in one period from 1 October");
static_assert(!is_weekend(gregorian::serial_from_civil(2024, 2, 9)) && is_weekend(gregorian::serial_from_civil(2024, 2, 4)),
              "2024-02-09 a Friday, 2024-02-04 a Sunday");

struct HolidayName {
    std::string_view chinese, english, key;
};
inline constexpr HolidayName kHolidayNames[QEL_HOLIDAY_COUNT] = {
    {"", "", ""},
    {"元旦", "New Year's Day", "new-year"},
    {"春节", "Spring Festival", "spring-festival"},
    {"清明节", "Qingming Festival", "qingming"},
    {"劳动节", "Labour Day", "labour-day"},
    {"端午节", "Dragon Boat Festival", "dragon-boat"},
    {"中秋节", "Mid-Autumn Festival", "mid-autumn"},
    {"国庆节", "National Day", "national-day"},
    {"中秋节、国庆节", "Mid-Autumn Festival and National Day", "mid-autumn-national-day"},
    {"抗战胜利纪念日", "Victory Day", "victory-day"},
};

// The built-in status of a covered day: QEL_E_RANGE outside.
constexpr int32_t builtin_status(int64_t serial, int32_t* holiday) noexcept {
    if (serial < kHolidayFirstSerial || serial >= kHolidayEndSerial) return QEL_E_RANGE;
    const uint8_t code = kHolidayByDay[static_cast<size_t>(serial - kHolidayFirstSerial)];
    if (holiday) *holiday = code >> 2;
    return code & 3;
}

}  // namespace qel::calendar

// Gregorian days and China Standard Time: the serial of a date, and the day
// and second of an instant in UTC+8.
#include <cstdint>

#include "calendar/checks.h"
#include "calendar/day.h"
#include "calendar/terms.h"
#include "gregorian/civil.h"
#include "qel_calendar.h"

namespace {

using namespace qel::calendar;

// Instants whose UTC+8 day lies in 0001..9999; the bounds keep every sum
// below far from overflow.
constexpr int64_t kFirstInstant = (QEL_FIRST_SERIAL - kSerialOf1970) * kSecondsPerDay - kCstOffset;
constexpr int64_t kLastInstant = (QEL_LAST_SERIAL + 1 - kSerialOf1970) * kSecondsPerDay - kCstOffset - 1;

}  // namespace

extern "C" {

const char* qel_calendar_version(void) noexcept { return QEL_CALENDAR_VERSION_STRING; }

int32_t qel_serial_of_date(int32_t year, int32_t month, int32_t day, int64_t* serial) noexcept {
    if (serial == nullptr) return QEL_E_ARGUMENT;
    const int32_t status = status_of(date_reason(year, month, day));
    if (status != QEL_OK) return status;
    *serial = qel::gregorian::serial_from_civil(static_cast<uint32_t>(year), static_cast<uint32_t>(month),
                                                static_cast<uint32_t>(day));
    return QEL_OK;
}

int32_t qel_date_of_serial(int64_t serial, int32_t* year, int32_t* month, int32_t* day) noexcept {
    if (serial < QEL_FIRST_SERIAL || serial > QEL_LAST_SERIAL) return QEL_E_RANGE;
    const qel::gregorian::CivilDate c = qel::gregorian::civil_from_serial(serial);
    if (year) *year = c.year;
    if (month) *month = c.month;
    if (day) *day = c.day;
    return QEL_OK;
}

int32_t qel_cst_of_instant(int64_t instant, int64_t* serial, int32_t* second_of_day) noexcept {
    if (instant < kFirstInstant || instant > kLastInstant) return QEL_E_RANGE;
    const int64_t local = instant + kCstOffset;
    const int32_t second = floor_mod(local, static_cast<int32_t>(kSecondsPerDay));
    if (serial) *serial = (local - second) / kSecondsPerDay + kSerialOf1970;
    if (second_of_day) *second_of_day = second;
    return QEL_OK;
}

int32_t qel_instant_of_cst(int64_t serial, int32_t second_of_day, int64_t* instant) noexcept {
    if (serial < QEL_FIRST_SERIAL || serial > QEL_LAST_SERIAL) return QEL_E_RANGE;
    if (second_of_day < 0 || second_of_day >= kSecondsPerDay || instant == nullptr) return QEL_E_ARGUMENT;
    *instant = (serial - kSerialOf1970) * kSecondsPerDay + second_of_day - kCstOffset;
    return QEL_OK;
}

}  // extern "C"

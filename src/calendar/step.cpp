// qel_step: a civil date-time moved by seconds, minutes, hours, days, weeks,
// months or years. Time units move an instant counted in seconds from the
// serial epoch; calendar units move the month index year * 12 + month - 1 and
// then judge the day against the new month. Every count is bounded against
// the span of 0001..9999 before it is multiplied, so nothing overflows.
#include <cstdint>

#include "calendar/day.h"
#include "gregorian/civil.h"
#include "qel_calendar.h"

namespace {

using namespace qel::calendar;
namespace greg = qel::gregorian;

constexpr int64_t kSpanDays = QEL_LAST_SERIAL - QEL_FIRST_SERIAL + 1;
constexpr int64_t kMonthsPerYear = 12;
constexpr int64_t kUnitSeconds[] = {1, 60, 3600, kSecondsPerDay, 7 * kSecondsPerDay};

}  // namespace

extern "C" int32_t qel_step(int64_t serial, int32_t second_of_day, int64_t count, int32_t unit, uint32_t flags,
                            int64_t* out_serial, int32_t* out_second) noexcept {
    if (unit < QEL_UNIT_SECOND || unit > QEL_UNIT_YEAR || (flags & ~QEL_STEP_NO_CLAMP) != 0 || out_serial == nullptr ||
        out_second == nullptr || second_of_day < 0 || second_of_day >= kSecondsPerDay)
        return QEL_E_ARGUMENT;
    if (serial < QEL_FIRST_SERIAL || serial > QEL_LAST_SERIAL) return QEL_E_RANGE;
    if (unit <= QEL_UNIT_WEEK) {
        const int64_t per = kUnitSeconds[unit];
        if (count > kSpanDays * kSecondsPerDay / per || count < -kSpanDays * kSecondsPerDay / per) return QEL_E_RANGE;
        const int64_t seconds = (serial - QEL_FIRST_SERIAL) * kSecondsPerDay + second_of_day + count * per;
        const int64_t day = QEL_FIRST_SERIAL + floor_div(seconds, kSecondsPerDay);
        if (day < QEL_FIRST_SERIAL || day > QEL_LAST_SERIAL) return QEL_E_RANGE;
        *out_serial = day;
        *out_second = static_cast<int32_t>(seconds - floor_div(seconds, kSecondsPerDay) * kSecondsPerDay);
        return QEL_OK;
    }
    const int64_t per = unit == QEL_UNIT_YEAR ? kMonthsPerYear : 1;
    if (count > kSpanDays / per || count < -kSpanDays / per) return QEL_E_RANGE;
    const greg::CivilDate c = greg::civil_from_serial(serial);
    const int64_t index = int64_t{c.year} * kMonthsPerYear + (c.month - 1) + count * per;
    const int64_t year = floor_div(index, kMonthsPerYear);
    if (year < 1 || year > 9999) return QEL_E_RANGE;
    const auto month = static_cast<uint32_t>(index - year * kMonthsPerYear + 1);
    const uint32_t length = greg::month_span(static_cast<uint32_t>(year), month).length;
    const bool clamped = c.day > length;
    if (clamped && (flags & QEL_STEP_NO_CLAMP)) return QEL_E_DATE;
    *out_serial = greg::serial_from_civil(static_cast<uint32_t>(year), month, clamped ? length : c.day);
    *out_second = second_of_day;
    return clamped ? QEL_CLAMPED : QEL_OK;
}

// qel_day_facts_of: the facts of one day.
#include <cstdint>

#include "calendar/day.h"
#include "qel_calendar.h"

extern "C" int32_t qel_day_facts_of(int64_t serial, uint32_t options, qel_day_facts* out) noexcept {
    if (out == nullptr || (options & ~QEL_OPT_XIAONIAN_SOUTH) != 0) return QEL_E_ARGUMENT;
    if (serial < QEL_FIRST_SERIAL || serial > QEL_LAST_SERIAL) {
        *out = qel_day_facts{};
        out->serial = serial;
        out->term = -1;
        out->holiday_status = QEL_E_RANGE;
        return QEL_E_RANGE;
    }
    qel::calendar::fill_day(serial, options, *out);
    return QEL_OK;
}

// qel_day_facts_of and qel_day_facts_get: the facts of one day.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "calendar/day.h"
#include "qel_calendar.h"

extern "C" int32_t qel_day_facts_of(int64_t serial, uint32_t options, qel_day_facts* out) noexcept {
    if (out == nullptr || !qel::calendar::festival_options_ok(options)) return QEL_E_ARGUMENT;
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

extern "C" int32_t qel_day_facts_get(int64_t serial, uint32_t options, qel_day_facts* out, size_t size) noexcept {
    if (out == nullptr || size < QEL_DAY_FACTS_SIZE_1_0) return QEL_E_ARGUMENT;
    qel_day_facts facts;
    const int32_t status = qel_day_facts_of(serial, options, &facts);
    if (status == QEL_E_ARGUMENT) return status;
    // The fields this library knows, then zeros for fields of a newer header.
    const size_t known = size < sizeof facts ? size : sizeof facts;
    std::memcpy(out, &facts, known);
    if (size > known) std::memset(reinterpret_cast<unsigned char*>(out) + known, 0, size - known);
    return status;
}
